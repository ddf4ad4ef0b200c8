#include "card/cardfile.h"
#include "card/cardformats.h"
#include "card/fmt_ovwb.h"
#include "card/fmt_pictures.h"
#include "card/picturetocard.h"
#include "core/picture/bmpfile.h"
#include "weave/weavefile.h"

#include "cardtestutil.h"
#include "shippedlanguage.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>

namespace {

// Two cards of 8 needles on a 1-column sample card, with one positioning hole.
TWenBanIO SmallCard()
{
    TWenBanIO io;
    io.ColCount = 1;
    io.RowCount = 8;
    io.CardCount = 2;
    io.Card = TMultiByteArray { TDynamicByteArray { 0x5B }, TDynamicByteArray { 0xAA } };
    io.YKStyle = 1;
    io.YKHeight = 142;
    io.YKWidth = 103;
    io.Reserved = 7;
    io.Holes = TPosArray { TPoint { 3, 4 } };
    return io;
}

QByteArray Header(const QByteArray &text)
{
    QByteArray b(1, char(128));
    b += text;
    b += QByteArray(127 - text.size(), ' ');
    return b + QByteArray(36, '\0');
}

std::vector<int> Line(const QImage &img, int y)
{
    const int n = (img.width() + 7) / 8;
    return std::vector<int>(img.constScanLine(y), img.constScanLine(y) + n);
}

} // namespace

TEST(OVWB, ExactBytes)
{
    QByteArray bytes;
    ASSERT_TRUE(OVWBCardBytes(SmallCard(), bytes));
    ASSERT_EQ(bytes.size(), 201);
    EXPECT_EQ(quint8(bytes[0]), 128);
    EXPECT_TRUE(bytes.mid(1, 127).startsWith(".OVWB version Beta 1.03;FileFormat Created by KDV&PNH"));
    EXPECT_TRUE(bytes.mid(1, 127).contains("Tirlomax"));
    EXPECT_TRUE(bytes.mid(1, 127).endsWith(' '));
    EXPECT_EQ(bytes.mid(128, 36), QByteArray(36, '\0'));
    EXPECT_EQ(bytes.mid(164),
        Hex("01 00 08 00 02 00 01 8E 00 00 00 67 00 00 00 07 00 01 00"
            "03 00 00 00 04 00 00 00 02 00 00 00 01 00 00 00 5B AA"));
}

TEST(OVWB, RoundTripThroughAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("card.ovwb"));
    ASSERT_TRUE(WriteOVWBCard(SmallCard(), path));
    TWenBanIO io;
    QString why;
    ASSERT_TRUE(io.LoadFromFile(path, &why)) << why.toStdString();
    EXPECT_EQ(io.Extension, QStringLiteral(".OVWB"));
    EXPECT_EQ(io.Content, TWenBanIO::CardContent);
    const TWenBanIO want = SmallCard();
    EXPECT_EQ(CardBytes(io.Card), CardBytes(want.Card));
    EXPECT_EQ(io.CardCount, 2);
    EXPECT_EQ(io.ColCount, 1);
    EXPECT_EQ(io.RowCount, 8);
    EXPECT_EQ(io.YKStyle, 1);
    EXPECT_EQ(io.YKHeight, 142);
    EXPECT_EQ(io.YKWidth, 103);
    EXPECT_EQ(io.Reserved, 7);
    EXPECT_EQ(io.Holes, want.Holes);
    // The last card is on the top line; a raised needle is white.
    ASSERT_EQ(io.Bitmap.size(), QSize(8, 2));
    EXPECT_EQ(Line(io.Bitmap, 0), std::vector<int> { 0xAA });
    EXPECT_EQ(io.Bitmap.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(io.Bitmap.pixel(1, 0), qRgb(0, 0, 0));

    // A card whose rows do not match its counts is not written.
    TWenBanIO bad = SmallCard();
    bad.CardCount = 3;
    QString error;
    EXPECT_FALSE(WriteOVWBCard(bad, dir.filePath(QStringLiteral("bad.ovwb")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("bad.ovwb"))));
}

TEST(OVWB, Beta102PaddedColumns)
{
    // 3 needles per column, 8 columns: each column padded to one byte (pad bits set to
    // show that they are skipped); the 24 real bits pack least significant first.
    QByteArray file = Header(".OVWB version Beta 1.02 by KDV&PNH Tirlomax");
    file += Hex("08 00 03 00 01 00 01 00 00 00 00 00 00 00 00 00 00 00 00");
    file += Hex("01 00 00 00 08 00 00 00");
    file += Hex("BF 5F 00 00 00 00 00 E0");
    TWenBanIO io;
    io.Extension = QStringLiteral(".OVWB");
    QString why;
    ASSERT_TRUE(io.LoadFromBytes(file, &why)) << why.toStdString();
    EXPECT_EQ(CardBytes(io.Card), (std::vector<std::vector<int>> { { 0x15, 0x00, 0xE0 } }));
    EXPECT_EQ(io.RowBytes(), 3);

    // 3 x 3 needles: the ninth needle lands in a second card byte rather than being
    // dropped, so the row keeps the length every card writer expects.
    QByteArray nine = Header(".OVWB version Beta 1.02 by KDV&PNH Tirlomax");
    nine += Hex("03 00 03 00 01 00 01 00 00 00 00 00 00 00 00 00 00 00 00");
    nine += Hex("01 00 00 00 03 00 00 00");
    nine += Hex("FF A0 60"); // real bits 111 101 011
    TWenBanIO small;
    small.Extension = QStringLiteral(".OVWB");
    ASSERT_TRUE(small.LoadFromBytes(nine, &why)) << why.toStdString();
    EXPECT_EQ(CardBytes(small.Card), (std::vector<std::vector<int>> { { 0xAF, 0x01 } }));
    EXPECT_EQ(small.RowBytes(), 2);

    // The row length must be the padded one, and the rows must all be there; bytes after
    // them are ignored.
    QByteArray unpadded = nine;
    unpadded[nine.size() - 7] = 2;
    TWenBanIO padded;
    padded.Extension = QStringLiteral(".OVWB");
    ASSERT_TRUE(padded.LoadFromBytes(nine + '\0'));
    EXPECT_EQ(CardBytes(padded.Card), CardBytes(small.Card));
    for (const QByteArray &bad : { unpadded, nine.chopped(1) }) {
        TWenBanIO keep = small;
        EXPECT_FALSE(keep.LoadFromBytes(bad));
        EXPECT_EQ(CardBytes(keep.Card), CardBytes(small.Card));
    }
}

TEST(OVWB, DamagedFilesAreRefused)
{
    QByteArray good;
    ASSERT_TRUE(OVWBCardBytes(SmallCard(), good));
    auto patched = [&](int at, const char *hex) {
        QByteArray b = good;
        const QByteArray h = Hex(hex);
        b.replace(at, h.size(), h);
        return b;
    };
    QByteArray v101 = good;
    v101.replace(v101.indexOf("Beta 1.03"), 9, "Beta 1.01");
    QByteArray noMaker = good;
    noMaker.replace(noMaker.indexOf("Tirlomax"), 8, "Tirlomix");
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        { "empty", QByteArray() },
        { "header only", good.left(128) },
        { "cut in the holes", good.left(190) },
        { "cut in the cards", good.chopped(1) },
        { "version 1.01", v101 },
        { "no maker", noMaker },
        { "16-bit count differs", patched(168, "03 00") },
        { "32-bit count differs", patched(191, "03 00 00 00") },
        { "row length wrong", patched(195, "02 00 00 00") },
        { "huge counts", patched(168, "FF FF") },
        { "huge row count", patched(191, "FF FF FF 7F") },
        { "many holes", patched(181, "FF FF") },
        { "more columns", patched(164, "09 00") },
        { "65535 x 65535 needles", patched(164, "FF FF FF FF") },
    };
    for (const auto &c : cases) {
        TWenBanIO io = SmallCard();
        io.Extension = QStringLiteral(".OVWB");
        io.Bitmap = QImage(4, 4, QImage::Format_Mono);
        QString why;
        EXPECT_FALSE(io.LoadFromBytes(c.bytes, &why)) << c.name;
        EXPECT_FALSE(why.isEmpty()) << c.name;
        EXPECT_TRUE(io.Bitmap.isNull()) << c.name;
        EXPECT_EQ(io.CardCount, 2) << c.name;
        EXPECT_EQ(CardBytes(io.Card), CardBytes(SmallCard().Card)) << c.name;
    }
}

// Files padded by other tools: bytes after the card rows are ignored.
TEST(OVWB, BytesAfterTheRowsAreIgnored)
{
    QByteArray good;
    ASSERT_TRUE(OVWBCardBytes(SmallCard(), good));
    for (const QByteArray &padding : { QByteArray(1, '\0'), QByteArray(1000, char(0xFF)) }) {
        TWenBanIO io;
        io.Extension = QStringLiteral(".OVWB");
        QString why;
        ASSERT_TRUE(io.LoadFromBytes(good + padding, &why)) << why.toStdString();
        EXPECT_EQ(CardBytes(io.Card), CardBytes(SmallCard().Card));
        EXPECT_EQ(io.CardCount, 2);
        EXPECT_EQ(io.Holes, SmallCard().Holes);
    }
}

TEST(WenBanIO, RenderingOrientationByExtension)
{
    // Two cards of 16 needles: card 1 = C0 01, card 2 = 0F 00.
    using Lines = std::vector<std::vector<int>>;
    const struct {
        const char *ext;
        Lines want;
    } cases[] = {
        { ".EP", { { 0xC0, 0x01 }, { 0x0F, 0x00 } } },
        { ".OVWB", { { 0x0F, 0x00 }, { 0xC0, 0x01 } } },
        { ".WB", { { 0x0F, 0x00 }, { 0xC0, 0x01 } } },
        { ".JC5", { { 0x00, 0xF0 }, { 0x80, 0x03 } } },
        { ".QS", { { 0x00, 0xF0 }, { 0x80, 0x03 } } },
        // UPT rows read back as written, so the picture needs no mirror to show the card.
        { ".UPT", { { 0xC0, 0x01 }, { 0x0F, 0x00 } } },
    };
    for (const auto &c : cases) {
        TWenBanIO io;
        io.RowCount = 8;
        io.ColCount = 2;
        io.CardCount = 2;
        io.Card = TMultiByteArray { TDynamicByteArray { 0xC0, 0x01 }, TDynamicByteArray { 0x0F, 0x00 } };
        io.Extension = QString::fromLatin1(c.ext);
        ASSERT_TRUE(io.RenderCard()) << c.ext;
        ASSERT_EQ(io.Bitmap.size(), QSize(16, 2)) << c.ext;
        EXPECT_EQ((Lines { Line(io.Bitmap, 0), Line(io.Bitmap, 1) }), c.want) << c.ext;
    }
}

TEST(WenBanIO, DispatchByExtension)
{
    QTemporaryDir dir;
    // A controller card goes through the controller readers.
    const QString ep = dir.filePath(QStringLiteral("a.ep"));
    ASSERT_TRUE(WriteEPCard(SmallCard(), ep));
    TWenBanIO io;
    QString why;
    ASSERT_TRUE(io.LoadFromFile(ep, &why)) << why.toStdString();
    EXPECT_EQ(io.Extension, QStringLiteral(".EP"));
    EXPECT_EQ(CardBytes(io.Card), CardBytes(SmallCard().Card));
    EXPECT_EQ(Line(io.Bitmap, 0), std::vector<int> { 0x5B }); // first card on top

    // A weave opens as its matrix and a picture of its points.
    TWeaveArray weave = MakeWeaveArray(3, 2);
    weave[1][0] = 1;
    const QString ovw = dir.filePath(QStringLiteral("w.OVW"));
    ASSERT_TRUE(WriteWeaveFile(ovw, weave));
    ASSERT_TRUE(io.LoadFromFile(ovw));
    EXPECT_EQ(io.Content, TWenBanIO::WeaveContent);
    EXPECT_EQ(io.Card, weave);
    EXPECT_EQ(io.Bitmap.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(io.Bitmap.pixel(0, 0), qRgb(255, 255, 255));

    // An unknown extension is a failure.
    const QString other = dir.filePath(QStringLiteral("x.abc"));
    ASSERT_TRUE(WriteAll(other, QByteArray("data")));
    QString otherWhy;
    EXPECT_FALSE(io.LoadFromFile(other, &otherWhy));
    EXPECT_FALSE(otherWhy.isEmpty());
    EXPECT_TRUE(io.Bitmap.isNull());
    EXPECT_FALSE(io.LoadFromFile(dir.filePath(QStringLiteral("missing.ovwb"))));

    // Streams are read from their start.
    QByteArray bytes;
    ASSERT_TRUE(OVWBCardBytes(SmallCard(), bytes));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(50);
    io.Extension = QStringLiteral(".OVWB");
    EXPECT_TRUE(io.LoadFromStream(buffer));
    EXPECT_EQ(CardExtensionIndex(QStringLiteral(".ovwb")), 5);
    EXPECT_EQ(CardExtensionIndex(QStringLiteral(".GRD")), 12);
    EXPECT_EQ(CardExtensionIndex(QStringLiteral(".UPT")), -1);
}

TEST(PictureCard, PictureToCardAndWeave)
{
    const TShippedLanguageScope chinese(TShippedLanguage::SimplifiedChinese); // the texts read below
    // A 10-column picture, back colour white (index 1): black cells become raised needles.
    QImage pic = MakePicture({ { 0, 1, 1, 1, 1, 1, 1, 1, 1, 0 }, { 1, 0, 1, 1, 1, 1, 1, 1, 1, 1 } },
        PaletteOf({ qRgb(0, 0, 0), qRgb(255, 255, 255) }));
    TWenBanIO io;
    ASSERT_TRUE(PictureToCard(pic, 0xFFFFFF, io));
    EXPECT_EQ(CardBytes(io.Card), (std::vector<std::vector<int>> { { 0x40, 0x00 }, { 0x80, 0x40 } }));
    EXPECT_EQ(io.CardCount, 2);
    EXPECT_EQ(io.ColCount, 2);
    EXPECT_EQ(io.RowCount, 8);
    EXPECT_EQ(io.YKStyle, 1);
    EXPECT_EQ(io.YKWidth, 10);
    EXPECT_EQ(io.YKHeight, 2);

    TWeaveArray weave;
    ASSERT_TRUE(PictureToWeave(pic, 0xFFFFFF, weave));
    ASSERT_EQ(weave.length(), 10);
    EXPECT_EQ(weave[0], (TDynamicByteArray { 1, 0 }));
    EXPECT_EQ(weave[1], (TDynamicByteArray { 0, 1 }));
    EXPECT_EQ(weave[2], (TDynamicByteArray { 0, 0 }));

    QTemporaryDir dir;
    const QString ovwb = dir.filePath(QStringLiteral("p.OVWB"));
    ASSERT_TRUE(SaveCardByExtension(pic, 0xFFFFFF, ovwb, nullptr));
    TWenBanIO back;
    ASSERT_TRUE(back.LoadFromFile(ovwb));
    EXPECT_EQ(CardBytes(back.Card), CardBytes(io.Card));
    const QString ovw = dir.filePath(QStringLiteral("p.ovw"));
    ASSERT_TRUE(SaveCardByExtension(pic, 0xFFFFFF, ovw, nullptr));
    TWeaveArray read;
    ASSERT_TRUE(LoadWeaveFile(ovw, read));
    EXPECT_EQ(read, weave);
    const QString qs = dir.filePath(QStringLiteral("p.QS"));
    // A QS card of 16 needles is written, and the 144-needle warning comes back to show.
    QStringList warnings;
    EXPECT_TRUE(SaveCardByExtension(pic, 0xFFFFFF, qs, &warnings));
    EXPECT_EQ(warnings, QStringList { QString::fromUtf8("纹针数不等于 144 ! ") });
    EXPECT_TRUE(QFile::exists(qs));
    QString error;
    EXPECT_FALSE(SaveCardByExtension(pic, 0xFFFFFF, dir.filePath(QStringLiteral("p.txt")), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("p.txt"))));
    QImage rgb(2, 2, QImage::Format_RGB32);
    EXPECT_FALSE(PictureToCard(rgb, 0, io));
}

TEST(CardPictures, XY)
{
    QByteArray b(802, '\0');
    b[780] = 2; // width 0 x 256 + 2
    b[781] = 1; // height 0 x 256 + 1
    b[8 + 3 * 5] = 63;
    b[8 + 3 * 5 + 2] = 10;
    b[800] = 5;
    QImage pic;
    ASSERT_TRUE(ReadXYPicture(b, pic));
    ASSERT_EQ(pic.size(), QSize(2, 1));
    EXPECT_EQ(pic.format(), QImage::Format_Indexed8);
    EXPECT_EQ(pic.pixelIndex(0, 0), 5);
    EXPECT_EQ(pic.pixel(0, 0), qRgb(252, 0, 40));
    EXPECT_EQ(pic.pixelIndex(1, 0), 0);
    QImage keep(1, 1, QImage::Format_Indexed8);
    EXPECT_FALSE(ReadXYPicture(b.chopped(1), keep));
    EXPECT_EQ(keep.size(), QSize(1, 1));
    b[1] = char(0xFF); // claims 65281 rows
    EXPECT_FALSE(ReadXYPicture(b, keep));
    EXPECT_FALSE(ReadXYPicture(QByteArray(10, '\0'), keep));
}

TEST(CardPictures, WV)
{
    QByteArray b(34, '\0');
    b[0] = 16;
    b[2] = 1;
    b[32] = 0x01;
    b[33] = char(0x80);
    QImage pic;
    ASSERT_TRUE(ReadWVPicture(b, pic));
    ASSERT_EQ(pic.size(), QSize(16, 1));
    EXPECT_EQ(Line(pic, 0), (std::vector<int> { 0x01, 0x80 })); // the row mirrored
    EXPECT_EQ(pic.pixel(7, 0), qRgb(0, 0, 0)); // colour 1 is black
    EXPECT_EQ(pic.pixel(0, 0), qRgb(255, 255, 255));
    QByteArray tall = b;
    tall[3] = 1; // 257 rows
    EXPECT_FALSE(ReadWVPicture(tall, pic));
    EXPECT_FALSE(ReadWVPicture(b.left(3), pic));
}

TEST(CardPictures, ProjectPreview)
{
    const QImage pattern = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } });
    const QByteArray bmp = EncodeBmp8(pattern);
    QByteArray v2 = Hex("D0 07 01 02 00 00 00 00");
    v2 += QByteArray(48, '\x11');
    v2 += Hex("03 00 00 00") + "abc" + bmp + QByteArray(20, '\x22');
    QByteArray legacy(132, '\x33');
    legacy += Hex("02 00 00 00 02 00 01 00") + Hex("01 02 03 04");
    legacy += Hex("01 00 00 00") + Hex("FF FF FF 00") + QByteArray(56, '\x44') + bmp;
    for (const QByteArray &file : { v2, legacy }) {
        QImage pic;
        ASSERT_TRUE(ReadProjectPreview(file, pic));
        EXPECT_EQ(PictureRows(pic), PictureRows(pattern));
    }
    QImage pic;
    EXPECT_FALSE(ReadProjectPreview(v2.left(60), pic));
    QByteArray longName = v2;
    longName[56] = char(0xFF); // the name runs past the end
    EXPECT_FALSE(ReadProjectPreview(longName, pic));
    EXPECT_FALSE(ReadProjectPreview(legacy.left(140), pic));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.Ovy"));
    ASSERT_TRUE(WriteAll(path, v2));
    TWenBanIO io;
    ASSERT_TRUE(io.LoadFromFile(path));
    EXPECT_EQ(io.Content, TWenBanIO::PictureContent);
    EXPECT_EQ(PictureRows(io.Bitmap), PictureRows(pattern));
}

TEST(CardPictures, ProjectPreviewOfOtherDepthsAndCutPictures)
{
    auto project = [](const QByteArray &bmp) {
        return Hex("D0 07 01 02 00 00 00 00") + QByteArray(48, '\x11') + Hex("03 00 00 00") + "abc" + bmp;
    };
    // A 24-bit picture, as older files may hold, is read by the general reader.
    QImage rgb(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            rgb.setPixel(x, y, qRgb(40 * x, 60 * y, 90));
    QByteArray bmp24;
    QBuffer buffer(&bmp24);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&buffer, "bmp").write(rgb));
    QImage pic;
    ASSERT_TRUE(ReadProjectPreview(project(bmp24), pic));
    EXPECT_EQ(pic.pixel(5, 3), rgb.pixel(5, 3));

    // Cut pictures are refused by either reader: the 8-bit one is not handed on to another
    // reader that would make up its missing rows.
    const QByteArray bmp8 = EncodeBmp8(MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 } }));
    for (const QByteArray &bmp : { bmp8, bmp24 }) {
        QImage kept = MakePicture({ { 9 } });
        QString error;
        EXPECT_FALSE(ReadProjectPreview(project(bmp.left(bmp.size() - 3)), kept, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(PictureRows(kept), (std::vector<std::vector<int>> { { 9 } }));
    }
}
