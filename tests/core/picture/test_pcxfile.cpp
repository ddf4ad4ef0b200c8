// The PCX writer's exact bytes, the 8-bit PCX reader and damaged files.
#include "core/base/filename.h"
#include "core/picture/pcxfile.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray rowBytes(const QByteArray &pcx)
{
    return pcx.mid(128, pcx.size() - 128 - 769);
}

QImage row(std::vector<int> cells)
{
    QImage pic = NewPicture(int(cells.size()), 1, GreyPalette());
    for (size_t x = 0; x < cells.size(); ++x)
        pic.scanLine(0)[x] = std::uint8_t(cells[x]);
    return pic;
}

} // namespace

TEST(Pcx, HeaderAndPalette)
{
    TPalette256 pal = GreyPalette();
    pal[1] = { 10, 20, 30, 0 };
    const QByteArray pcx = EncodePcx(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }, pal));
    ASSERT_EQ(pcx.size(), 128 + 6 + 769);
    EXPECT_EQ(pcx.left(16), Hex("0A 05 01 08 0000 0000 0200 0100 0300 0200"));
    EXPECT_EQ(pcx.mid(16, 48), QByteArray(48, '\0'));
    EXPECT_EQ(pcx.mid(64, 10), Hex("00 01 0300 0100 0000 0000"));
    EXPECT_EQ(pcx.mid(74, 54), QByteArray(54, '\0'));
    EXPECT_EQ(rowBytes(pcx), Hex("010203 040506"));
    EXPECT_EQ(pcx.at(pcx.size() - 769), 12);
    EXPECT_EQ(pcx.mid(pcx.size() - 768, 9), Hex("000000 0A141E 020202"));
    EXPECT_EQ(pcx.right(3), Hex("FFFFFF"));
}

TEST(Pcx, RowEncoding)
{
    struct Case {
        std::vector<int> cells;
        const char *bytes;
    };
    const Case cases[] = {
        { std::vector<int>(70, 5), "FF05 C705" }, // runs of 63 and 7
        { std::vector<int>(64, 5), "FF05 05" }, // runs of 63 and 1
        { std::vector<int>(126, 9), "FF09 FF09" },
        { { 200 }, "C1C8" }, // a single high byte
        { { 20 }, "14" }, // width 1
        { { 192, 191, 255, 255 }, "C1C0 BF C2FF" },
        { { 1, 1, 2, 3, 3, 3 }, "C201 02 C303" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(rowBytes(EncodePcx(row(c.cells))), Hex(c.bytes)) << c.bytes;
    // Rows are never joined in one run.
    EXPECT_EQ(rowBytes(EncodePcx(MakePicture({ { 7, 7 }, { 7, 7 } }))), Hex("C207 C207"));
    // Only non-empty 8-bit pictures are written.
    EXPECT_TRUE(EncodePcx(QImage(2, 2, QImage::Format_RGB32)).isEmpty());
    EXPECT_TRUE(EncodePcx(QImage()).isEmpty());
}

TEST(Pcx, RoundTripAndOtherEncoders)
{
    TPalette256 pal = GreyPalette();
    pal[9] = pal[3]; // duplicates survive
    QImage pic = NewPicture(131, 3, pal);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 131; ++x)
            pic.scanLine(y)[x] = std::uint8_t(x < 70 ? 9 : (x * 7 + y) % 256);
    QImage back;
    QString error;
    ASSERT_TRUE(DecodePcx8(EncodePcx(pic), back, &error)) << error.toStdString();
    EXPECT_EQ(PictureRows(back), PictureRows(pic));
    EXPECT_EQ(back.colorTable(), pic.colorTable());

    // Lines padded to an even count, and a run that crosses the end of a line.
    QByteArray other = EncodePcx(MakePicture({ { 4, 4, 4 }, { 4, 4, 4 } })).left(128);
    other[66] = 4; // bytes per line
    other += Hex("C404 C404"); // run of 4 over line 1 and its pad byte, then line 2
    other += char(12) + QByteArray(768, '\x11');
    ASSERT_TRUE(DecodePcx8(other, back, &error)) << error.toStdString();
    EXPECT_EQ(PictureRows(back), (std::vector<std::vector<int>> { { 4, 4, 4 }, { 4, 4, 4 } }));
    EXPECT_EQ(back.colorTable()[0], qRgb(0x11, 0x11, 0x11));
}

TEST(Pcx, DamagedFilesFail)
{
    const QByteArray good = EncodePcx(MakePicture({ { 1, 200, 3 }, { 4, 5, 6 } }));
    const QImage sentinel = MakePicture({ { 9 } });
    auto fails = [&](const QByteArray &bytes) {
        QImage pic = sentinel;
        QString error;
        const bool ok = DecodePcx8(bytes, pic, &error);
        EXPECT_EQ(PictureRows(pic), PictureRows(sentinel));
        return !ok && !error.isEmpty();
    };
    for (int n = 0; n < good.size(); ++n)
        EXPECT_TRUE(fails(good.left(n))) << n;
    QByteArray hostile = good;
    hostile[8] = char(0xFF); // Xmax 65535 with a handful of bytes
    hostile[9] = char(0xFF);
    hostile[10] = char(0xFF);
    hostile[11] = char(0xFF);
    hostile[66] = char(0xFF);
    hostile[67] = char(0xFF);
    EXPECT_TRUE(fails(hostile));
    QByteArray inverted = good;
    inverted[4] = 5; // Xmin beyond Xmax
    EXPECT_TRUE(fails(inverted));
    QByteArray shortLines = good;
    shortLines[66] = 1; // fewer bytes per line than the width
    EXPECT_TRUE(fails(shortLines));
    QByteArray noMarker = good;
    noMarker[noMarker.size() - 769] = 0;
    EXPECT_TRUE(fails(noMarker));
    QByteArray missingRows = good.left(128 + 3) + good.right(769);
    EXPECT_TRUE(fails(missingRows));
}

TEST(Pcx, SaveIsAtomic)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("p.pcx");
    const QImage pic = MakePicture({ { 1, 2 } });
    QString error;
    ASSERT_TRUE(SavePictureAsPcx(pic, name, &error));
    EXPECT_EQ(ReadAll(name), EncodePcx(pic));
    EXPECT_FALSE(SavePictureAsPcx(QImage(1, 1, QImage::Format_RGB32), name, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(name), EncodePcx(pic));
    EXPECT_FALSE(SavePictureAsPcx(pic, dir.filePath("no/p.pcx"), &error));
    EXPECT_FALSE(QFile::exists(dir.filePath("no/p.pcx")));
}

TEST(StripFileExt, NamePartWithoutExtension)
{
    EXPECT_EQ(StripFileExt("C:\\pics\\x.bmp"), "x");
    EXPECT_EQ(StripFileExt("/home/u/a.bmpx.bmp"), "a.bmpx");
    EXPECT_EQ(StripFileExt("d:noext"), "noext");
    EXPECT_EQ(StripFileExt("/a.b/c"), "c");
    EXPECT_EQ(StripFileExt("plain.pcx"), "plain");
    EXPECT_EQ(StripFileExt(""), "");
}
