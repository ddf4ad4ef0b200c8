// The one memory budget of the picture decoders: its limit, and our own readers refusing
// a hostile header by the size it claims before they allocate anything.
#include "core/decode/psdfile.h"
#include "core/picture/bmpfile.h"
#include "core/picture/pcxfile.h"
#include "core/picture/picturelimits.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <functional>

namespace {

QByteArray le16(quint16 v)
{
    return QByteArray(1, char(v & 0xFF)) + char(v >> 8);
}
QByteArray le32(quint32 v)
{
    return le16(quint16(v & 0xFFFF)) + le16(quint16(v >> 16));
}

QByteArray be(quint32 v, int bytes)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b.right(bytes);
}

// A bitmap header claiming width x height at bits per cell, uncompressed, with a small
// colour table and a few bytes of cells.
QByteArray hostileBmp(quint32 width, quint32 height, int bits)
{
    const quint32 offset = 14 + 40 + 4 * 2;
    QByteArray b = "BM" + le32(offset + 16) + le32(0) + le32(offset);
    b += le32(40) + le32(width) + le32(height) + le16(1) + le16(quint16(bits)) + le32(0) + le32(0) + le32(0)
        + le32(0) + le32(2) + le32(0);
    b += Hex("000000 00 FFFFFF 00");
    return b + QByteArray(16, '\x11');
}

// An 8-bit PCX header claiming width x height, a few runs and the palette.
QByteArray hostilePcx(int width, int height)
{
    QByteArray p(128, '\0');
    p[0] = 10;
    p[1] = 5;
    p[2] = 1;
    p[3] = 8;
    p.replace(8, 4, le16(quint16(width - 1)) + le16(quint16(height - 1)));
    p[65] = 1;
    p.replace(66, 2, le16(quint16(width)));
    p += QByteArray(64, char(0xFF)); // runs of 63 cells
    return p + char(12) + QByteArray(768, '\x20');
}

// A Photoshop header claiming width x height in mode (1 grey, 3 RGB), PackBits rows of
// two bytes each: far too few for the picture.
QByteArray hostilePsd(quint32 width, quint32 height, int mode)
{
    const int channels = mode == 3 ? 3 : 1;
    QByteArray p = "8BPS" + be(1, 2) + QByteArray(6, '\0') + be(quint32(channels), 2) + be(height, 4)
        + be(width, 4) + be(8, 2) + be(quint32(mode), 2);
    p += be(0, 4) + be(0, 4) + be(0, 4) + be(1, 2);
    return p + QByteArray(64, '\x02');
}

} // namespace

TEST(PictureBudget, HoldsTheBytesOfTheDecodedForm)
{
    struct Case {
        qint64 width, height;
        int bytesPerCell;
        bool fits;
    };
    const Case cases[] = {
        { 16384, 16384, 4, true }, // exactly the budget
        { 16384, 16385, 4, false },
        { 32768, 32768, 1, true },
        { 32768, 32769, 1, false },
        { 65535, 65535, 1, false },
        { 20000, 20000, 1, true },
        { 20000, 20000, 4, false },
        { 1, 1, 8, true },
    };
    for (const Case &c : cases) {
        QString error;
        EXPECT_EQ(CheckPictureBudget(c.width, c.height, c.bytesPerCell, &error), c.fits)
            << c.width << "x" << c.height;
        if (!c.fits) {
            // The message names the size.
            EXPECT_TRUE(error.contains(QStringLiteral("%1 x %2").arg(c.width).arg(c.height)))
                << error.toStdString();
        }
    }
}

TEST(PictureBudget, OwnReadersRefuseHostileSizesByTheirSize)
{
    // Tiny files whose headers claim pictures far beyond the budget: each is refused with
    // the message naming the claimed size (not merely as damaged), and nothing is made.
    struct Case {
        const char *what;
        std::function<bool(QString *)> decode;
        const char *size;
    };
    QImage pic = MakePicture({ { 9 } });
    TLowBitPicture low;
    int bits = 0;
    const Case cases[] = {
        { "8-bit bitmap", [&](QString *e) { return DecodeBmp8(hostileBmp(65535, 65535, 8), pic, e); },
            "65535 x 65535" },
        { "top-down 8-bit bitmap",
            [&](QString *e) { return DecodeBmp8(hostileBmp(65535, quint32(-65535), 8), pic, e); },
            "65535 x 65535" },
        { "4-bit bitmap", [&](QString *e) { return DecodeBmpLowBit(hostileBmp(65535, 65535, 4), low, e); },
            "65535 x 65535" },
        { "1-bit bitmap", [&](QString *e) { return DecodeBmpLowBit(hostileBmp(65535, 40000, 1), low, e); },
            "65535 x 40000" },
        { "8-bit PCX", [&](QString *e) { return DecodePcx8(hostilePcx(65535, 65535), pic, e); },
            "65535 x 65535" },
        { "grey PSD", [&](QString *e) { return DecodePsd(hostilePsd(65535, 65535, 1), pic, bits, e); },
            "65535 x 65535" },
        // 4 bytes a cell: within the budget as cells, beyond it as true colour.
        { "RGB PSD", [&](QString *e) { return DecodePsd(hostilePsd(20000, 20000, 3), pic, bits, e); },
            "20000 x 20000" },
    };
    for (const Case &c : cases) {
        QString error;
        EXPECT_FALSE(c.decode(&error)) << c.what;
        EXPECT_TRUE(error.contains(QLatin1String(c.size))) << c.what << ": " << error.toStdString();
    }
    EXPECT_EQ(PictureRows(pic), (std::vector<std::vector<int>> { { 9 } }));
    EXPECT_FALSE(low.isValid());
}
