// The Photoshop reader on exact small files, and on damaged and hostile ones.
#include "core/decode/psdfile.h"

#include "testutil.h"

#include <gtest/gtest.h>

namespace {

// Header of a version-1 file: channels, height, width, depth, mode; then empty colour
// data, resources and layers unless colour data is given.
QByteArray head(int channels, int height, int width, int depth, int mode, const QByteArray &colorData = {})
{
    QByteArray h = "8BPS" + Hex("0001 000000000000");
    h += char(0) + QByteArray(1, char(channels));
    for (int v : { height, width }) {
        h += char((v >> 24) & 0xFF);
        h += char((v >> 16) & 0xFF);
        h += char((v >> 8) & 0xFF);
        h += char(v & 0xFF);
    }
    h += char(0) + QByteArray(1, char(depth)) + char(0) + QByteArray(1, char(mode));
    const int n = int(colorData.size());
    h += char(0) + QByteArray(1, char(0)) + char(n >> 8) + QByteArray(1, char(n & 0xFF)) + colorData;
    return h + Hex("00000000 00000000");
}

} // namespace

TEST(Psd, GreyRawAndPackBits)
{
    // Grey 3 x 2, raw.
    const QByteArray raw = head(1, 2, 3, 8, 1) + Hex("0000 0A0B0C 0D0E0F");
    QImage pic;
    int bits = 0;
    QString error;
    ASSERT_TRUE(DecodePsd(raw, pic, bits, &error)) << error.toStdString();
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(PictureRows(pic), (std::vector<std::vector<int>> { { 10, 11, 12 }, { 13, 14, 15 } }));
    // The same with PackBits: a repeat run, then a literal run and a no-op byte.
    const QByteArray packed = head(1, 2, 3, 8, 1) + Hex("0001 0002 0005 FE07 80 020D0E0F");
    ASSERT_TRUE(DecodePsd(packed, pic, bits, &error)) << error.toStdString();
    EXPECT_EQ(PictureRows(pic), (std::vector<std::vector<int>> { { 7, 7, 7 }, { 13, 14, 15 } }));

    // Every truncation fails without touching the picture.
    for (const QByteArray &file : { raw, packed })
        for (int n = 0; n < file.size(); ++n) {
            QImage kept;
            QString why;
            EXPECT_FALSE(DecodePsd(file.left(n), kept, bits, &why)) << n;
            EXPECT_TRUE(kept.isNull());
            EXPECT_FALSE(why.isEmpty());
        }
}

TEST(Psd, DamagedAndHostileFiles)
{
    struct Case {
        const char *what;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "run past the row", head(1, 1, 3, 8, 1) + Hex("0001 0002 FC07") },
        { "literal past the row", head(1, 1, 2, 8, 1) + Hex("0001 0004 03010203") },
        { "row short of bytes", head(1, 1, 3, 8, 1) + Hex("0001 0002 0107") },
        { "counts past the end", head(1, 1, 3, 8, 1) + Hex("0001 0FFF FE07") },
        { "hostile size", head(1, 30000, 30000, 8, 1) + Hex("0001 0002 FE07") },
        { "hostile raw size", head(1, 30000, 30000, 8, 1) + Hex("0000 00") },
        { "too wide", head(1, 1, 70000, 8, 1) + Hex("0000") + QByteArray(70000, 0) },
        { "zero size", head(1, 0, 3, 8, 1) + Hex("0000") },
        { "no channels", head(0, 1, 1, 8, 1) + Hex("0000 00") },
        { "16 bits", head(1, 1, 1, 16, 1) + Hex("0000 0000") },
        { "CMYK", head(4, 1, 1, 8, 4) + Hex("0000 00000000") },
        { "RGB with two channels", head(2, 1, 1, 8, 3) + Hex("0000 0000") },
        { "ZIP", head(1, 1, 1, 8, 1) + Hex("0002 00") },
        { "indexed without table", head(1, 1, 1, 8, 2) + Hex("0000 00") },
        { "version 2", QByteArray(head(1, 1, 1, 8, 1)).replace(5, 1, "\x02") + Hex("0000 00") },
        { "not a PSD", QByteArray("8BPX") + QByteArray(60, 0) },
        { "colour data past the end", head(1, 1, 1, 8, 1).left(26) + Hex("7FFFFFFF") },
    };
    for (const Case &c : cases) {
        QImage pic;
        int bits = 0;
        QString error;
        EXPECT_FALSE(DecodePsd(c.bytes, pic, bits, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_TRUE(pic.isNull()) << c.what;
    }
}

TEST(Psd, IndexedKeepsTheTableAndRgbMergesPlanes)
{
    QByteArray table(768, '\0');
    table[5] = char(200); // entry 5 red
    table[256 + 6] = char(100); // entry 6 green
    QImage pic;
    int bits = 0;
    ASSERT_TRUE(DecodePsd(head(1, 1, 2, 8, 2, table) + Hex("0000 0506"), pic, bits));
    EXPECT_EQ(PictureRows(pic), (std::vector<std::vector<int>> { { 5, 6 } }));
    EXPECT_EQ(pic.colorTable()[5], qRgb(200, 0, 0));
    EXPECT_EQ(pic.colorTable()[6], qRgb(0, 100, 0));

    ASSERT_TRUE(DecodePsd(head(3, 1, 2, 8, 3) + Hex("0000 0102 0304 0506"), pic, bits));
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(pic.pixel(0, 0), qRgb(1, 3, 5));
    EXPECT_EQ(pic.pixel(1, 0), qRgb(2, 4, 6));

    ASSERT_TRUE(DecodePsd(head(1, 1, 9, 1, 0) + Hex("0000 8080"), pic, bits));
    EXPECT_EQ(bits, 1);
    EXPECT_EQ(pic.format(), QImage::Format_Mono);
    EXPECT_EQ(pic.pixelIndex(0, 0), 1);
    EXPECT_EQ(pic.pixelIndex(8, 0), 1);
    EXPECT_EQ(pic.pixelIndex(4, 0), 0);
}
