// The 8-bit bitmap reader and writer: exact bytes, index-exact round trips and damaged files.
#include "core/picture/bmpfile.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A palette with duplicate entries (3 and 4 equal to 1) and unused ones.
TPalette256 OddPalette()
{
    TPalette256 p = GreyPalette();
    p[1] = { 10, 20, 30, 0 };
    p[3] = p[1];
    p[4] = p[1];
    p[7] = { 255, 0, 128, 0 };
    return p;
}

// The 54 header bytes of a file with the given fields; the rest follows in the test.
QByteArray Header(qint32 width, qint32 height, int bits, quint32 compression, quint32 colorsUsed,
    quint32 pixelOffset, quint32 fileSize)
{
    QByteArray h("BM");
    auto u32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            h.append(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](quint16 v) {
        h.append(char(v & 0xFF));
        h.append(char(v >> 8));
    };
    u32(fileSize);
    u32(0);
    u32(pixelOffset);
    u32(40);
    u32(quint32(width));
    u32(quint32(height));
    u16(1);
    u16(quint16(bits));
    u32(compression);
    u32(0);
    u32(0);
    u32(0);
    u32(colorsUsed);
    u32(0);
    return h;
}

QImage Sentinel()
{
    return MakePicture({ { 9, 9 } });
}

} // namespace

TEST(Bmp8, WritesTheBytesWindowsWrites)
{
    const QImage pic = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }, OddPalette());
    const QByteArray bytes = EncodeBmp8(pic);
    ASSERT_EQ(bytes.size(), 1078 + 2 * 4);
    EXPECT_EQ(bytes.left(54),
        Hex("424D 3E040000 00000000 36040000"
            "28000000 03000000 02000000 0100 0800 00000000 08000000"
            "00000000 00000000 00010000 00000000"));
    // Colour table in blue, green, red, 0 order: entry 1 and its duplicates, entry 7.
    EXPECT_EQ(bytes.mid(54 + 4, 4), Hex("1E140A00"));
    EXPECT_EQ(bytes.mid(54 + 16, 4), Hex("1E140A00"));
    EXPECT_EQ(bytes.mid(54 + 28, 4), Hex("8000FF00"));
    EXPECT_EQ(bytes.mid(54 + 255 * 4, 4), Hex("FFFFFF00"));
    // Bottom row first, each row padded to four bytes.
    EXPECT_EQ(bytes.mid(1078), Hex("04050600 01020300"));
}

TEST(Bmp8, RoundTripKeepsIndexesAndTheWholeColourTable)
{
    for (const QSize size : { QSize(1, 1), QSize(4, 3), QSize(5, 2), QSize(7, 1) }) {
        QImage pic = NewPicture(size.width(), size.height(), OddPalette());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                pic.scanLine(y)[x] = std::uint8_t((x * 3 + y * 5) % 8);
        QImage back = Sentinel();
        QString error;
        ASSERT_TRUE(DecodeBmp8(EncodeBmp8(pic), back, &error)) << error.toStdString();
        EXPECT_EQ(back.format(), QImage::Format_Indexed8);
        EXPECT_EQ(back.colorTable(), pic.colorTable());
        EXPECT_EQ(PictureRows(back), PictureRows(pic));
    }
}

TEST(Bmp8, ReadsTopDownFilesAndShortColourTables)
{
    // Two colours used, rows stored top first (negative height).
    QByteArray file = Header(2, -2, 8, 0, 2, 54 + 8, 54 + 8 + 8);
    file += Hex("0000FF00 00FF0000"); // red, green
    file += Hex("00010000 01000000"); // top row 0 1, bottom row 1 0
    QImage pic = Sentinel();
    ASSERT_TRUE(DecodeBmp8(file, pic));
    EXPECT_EQ(PictureRows(pic), (std::vector<std::vector<int>> { { 0, 1 }, { 1, 0 } }));
    ASSERT_EQ(pic.colorTable().size(), 256);
    EXPECT_EQ(pic.colorTable()[0], qRgb(255, 0, 0));
    EXPECT_EQ(pic.colorTable()[1], qRgb(0, 255, 0));
    EXPECT_EQ(pic.colorTable()[2], qRgb(0, 0, 0));
}

TEST(Bmp8, DamagedFilesFailAndLeaveThePictureAlone)
{
    const QByteArray good = EncodeBmp8(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }));
    // Every truncation of a good file.
    for (int n = 0; n < good.size(); ++n) {
        QImage pic = Sentinel();
        QString error;
        EXPECT_FALSE(DecodeBmp8(good.left(n), pic, &error)) << n;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(PictureRows(pic), PictureRows(Sentinel()));
    }
    const QByteArray table(1024, '\0');
    struct Case {
        const char *what;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "hostile size", Header(65535, 65535, 8, 0, 0, 1078, 1078 + 8) + table + QByteArray(8, 0) },
        { "too wide", Header(70000, 1, 8, 0, 0, 1078, 1078) + table + QByteArray(70000, 0) },
        { "negative width", Header(-4, 1, 8, 0, 0, 1078, 1082) + table + QByteArray(4, 0) },
        { "zero height", Header(4, 0, 8, 0, 0, 1078, 1078) + table },
        { "most negative height", Header(4, INT32_MIN, 8, 0, 0, 1078, 1082) + table + QByteArray(4, 0) },
        { "24 bits", Header(1, 1, 24, 0, 0, 54, 58) + QByteArray(4, 0) },
        { "run-length", Header(4, 1, 8, 1, 0, 1078, 1082) + table + QByteArray(4, 0) },
        { "too many colours", Header(4, 1, 8, 0, 257, 1082, 1086) + table + QByteArray(8, 0) },
        { "pixels inside table", Header(4, 1, 8, 0, 0, 100, 1082) + table + QByteArray(4, 0) },
        { "pixels past end", Header(4, 1, 8, 0, 0, 0xFFFFFFF0u, 1082) + table + QByteArray(4, 0) },
        { "not a bitmap", QByteArray("PK") + QByteArray(2000, 0) },
    };
    for (const Case &c : cases) {
        QImage pic = Sentinel();
        QString error;
        EXPECT_FALSE(DecodeBmp8(c.bytes, pic, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_EQ(PictureRows(pic), PictureRows(Sentinel())) << c.what;
    }
    // An info header larger than the file.
    QByteArray bigInfo = good;
    bigInfo[14] = char(0xFF);
    bigInfo[15] = char(0xFF);
    QImage pic = Sentinel();
    EXPECT_FALSE(DecodeBmp8(bigInfo, pic));
}

TEST(Bmp8, FileSaveAndLoad)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("a.bmp");
    const QImage pic = MakePicture({ { 0, 7, 1 }, { 3, 4, 255 } }, OddPalette());
    QString error;
    ASSERT_TRUE(SaveBmp8File(pic, name, &error)) << error.toStdString();
    EXPECT_EQ(ReadAll(name), EncodeBmp8(pic));
    QImage back;
    ASSERT_TRUE(LoadBmp8File(name, back, &error));
    EXPECT_EQ(PictureRows(back), PictureRows(pic));
    EXPECT_EQ(back.colorTable(), pic.colorTable());

    // A picture that cannot be saved leaves the old file as it was.
    EXPECT_FALSE(SaveBmp8File(QImage(2, 2, QImage::Format_RGB32), name, &error));
    EXPECT_EQ(ReadAll(name), EncodeBmp8(pic));
    // A folder that does not exist: False and no file.
    const QString missing = dir.filePath("none/b.bmp");
    EXPECT_FALSE(SaveBmp8File(pic, missing, &error));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(LoadBmp8File(missing, back, &error));
    EXPECT_FALSE(error.isEmpty());
    // A directory is no picture: nothing changes.
    back = Sentinel();
    EXPECT_FALSE(LoadBmp8File(dir.path(), back, &error));
    EXPECT_EQ(PictureRows(back), PictureRows(Sentinel()));
}

TEST(BmpLowBit, ReadsPackedRowsAsStored)
{
    // 3 x 2 at 4 bits, two colours in the table, rows bottom-up and padded to 4 bytes.
    QByteArray file = Header(3, 2, 4, 0, 2, 54 + 8, 54 + 8 + 8);
    file[28] = 4;
    file += Hex("0000FF00 00FF0000");
    file += Hex("10100000 01010000"); // bottom row, top row
    TLowBitPicture pic;
    QString error;
    ASSERT_TRUE(DecodeBmpLowBit(file, pic, &error)) << error.toStdString();
    EXPECT_EQ(pic.Bits, 4);
    EXPECT_EQ(pic.Width, 3);
    EXPECT_EQ(pic.BytesPerLine, 2);
    EXPECT_EQ(pic.Rows, Hex("0101 1010"));
    EXPECT_EQ(pic.Colors, (QList<QRgb> { qRgb(255, 0, 0), qRgb(0, 255, 0) }));

    for (int n = 0; n < file.size(); ++n) {
        TLowBitPicture kept;
        EXPECT_FALSE(DecodeBmpLowBit(file.left(n), kept)) << n;
        EXPECT_EQ(kept.Width, 0);
    }
    QByteArray tooManyColours = file;
    tooManyColours[46] = 17;
    EXPECT_FALSE(DecodeBmpLowBit(tooManyColours, pic));
    QByteArray eightBit = file;
    eightBit[28] = 8;
    EXPECT_FALSE(DecodeBmpLowBit(eightBit, pic));
    QByteArray hostile = file;
    hostile[22] = char(0xFF); // height 65535 with two rows there
    hostile[23] = char(0xFF);
    EXPECT_FALSE(DecodeBmpLowBit(hostile, pic));
}

// The file is written in pieces of rows: a picture whose rows need padding and whose file
// takes several pieces (the last one short) still gives exactly the encoded bytes.
TEST(Bmp8, FileInSeveralPiecesIsTheEncodedFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("big.bmp");
    QImage pic = NewPicture(1501, 1700, OddPalette());
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            pic.scanLine(y)[x] = std::uint8_t(x * 7 + y * 13);
    QString error;
    ASSERT_TRUE(SaveBmp8File(pic, name, &error)) << error.toStdString();
    EXPECT_EQ(ReadAll(name), EncodeBmp8(pic));
}
