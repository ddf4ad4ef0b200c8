#include "shell/thumbnails.h"

#include "card/fmt_pictures.h"
#include "card/projectfile.h"
#include "core/base/filewrite.h"
#include "core/picture/bmpfile.h"
#include "core/picture/pcxfile.h"
#include "core/settings/sharedstate.h"
#include "readercases.h"
#include "shell/pictureformats.h"
#include "testutil.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// A 2-warp, 3-weft weave with points at [0][0] and [1][2].
TWeaveArray smallWeave()
{
    TWeaveArray cells = MakeWeaveArray(2, 3, 0);
    cells[0][0] = 1;
    cells[1][2] = 1;
    return cells;
}

void useChineseTexts()
{
    ASSERT_TRUE(InitSharedState());
    Folders().LanguageIni = std::make_unique<TIniFile>(
        QDir(Folders().LanguageDir).filePath("Zhongwen-Jianti.ini"), TIniFile::MaxLanguageFileSize);
}

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return bytes;
}

// The bytes of a project holding a width x height picture whose index at (x, y) is
// (x + 3 y) mod 251.
QByteArray projectBytes(int width, int height)
{
    QImage picture = NewPicture(width, height, GreyPalette());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.scanLine(y)[x] = std::uint8_t((x + 3 * y) % 251);
    TMesh mesh;
    InitNewDocument(mesh, &picture, 1.0, 1.0, 1, TColorArray(1));
    QByteArray bytes;
    EXPECT_TRUE(EncodeProjectFile(mesh, picture, { 1, 4, 0, 0 }, bytes));
    return bytes;
}

// A weave file's bytes with other sizes written into its header.
QByteArray withSizes(QByteArray bytes, qint32 warps, qint32 wefts)
{
    std::memcpy(bytes.data() + WeaveFileHeaderSize, &warps, 4);
    std::memcpy(bytes.data() + WeaveFileHeaderSize + 4, &wefts, 4);
    return bytes;
}
} // namespace

// Drawing column x and row y from the bottom show cell [x mod warps][wefts - 1 - (y mod
// wefts)], 10 pixels a cell, blue on yellow, black lines between the cells.
TEST(Thumbnails, WeaveDrawnCellByCellFromTheBottom)
{
    const QImage image = DrawWeaveThumbnail(smallWeave(), QSize(40, 30));
    ASSERT_EQ(image.size(), QSize(40, 30));
    const QRgb blue = qRgb(0, 0, 255), yellow = qRgb(255, 255, 0);
    const bool expected[3][4] = {
        // y = 0 (bottom) shows weft 2: warp 1 has a point there.
        { false, true, false, true },
        // y = 1 shows weft 1: no point.
        { false, false, false, false },
        // y = 2 (top) shows weft 0: warp 0.
        { true, false, true, false },
    };
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.pixel(x * 10 + 5, 30 - y * 10 - 5), expected[y][x] ? blue : yellow)
                << x << "," << y;
    EXPECT_EQ(image.pixel(10, 15), qRgb(0, 0, 0)) << "a line between the columns";
    EXPECT_EQ(image.pixel(15, 29 - 10), qRgb(0, 0, 0)) << "a line between the rows";
    EXPECT_TRUE(DrawWeaveThumbnail(TWeaveArray(), QSize(40, 30)).isNull());
}

TEST(Thumbnails, HintAndCaptionTexts)
{
    useChineseTexts();
    EXPECT_EQ(WeaveThumbnailHint("a.ovw", 2, 3), QString::fromUtf8("文件名: a.ovw\n组织大小: (2*3)"));
    EXPECT_EQ(PictureSizeCaption(QSize(100, 50)), QString::fromUtf8(" (100针×50纬)"));

    QTemporaryDir dir;
    ASSERT_TRUE(WriteAll(dir.filePath("p.png"), pngBytes(100, 50)));
    TThumbnail thumbnail;
    QString error;
    ASSERT_TRUE(ReadThumbnail(dir.filePath("p.png"), QSize(114, 114), thumbnail, &error))
        << error.toStdString();
    EXPECT_EQ(thumbnail.Text, QString::fromUtf8("p.png (100针×50纬)"));
    EXPECT_EQ(thumbnail.Picture.size(), QSize(100, 50)) << "a small picture is read as it is";
}

// A weave is drawn to fill the room it gets; its hint gives its size.
TEST(Thumbnails, WeaveFileThumbnail)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("w.OVW");
    ASSERT_TRUE(WriteWeaveFile(file, smallWeave()));
    TThumbnail thumbnail;
    QString error;
    ASSERT_TRUE(ReadThumbnail(file, QSize(94, 94), thumbnail, &error)) << error.toStdString();
    EXPECT_TRUE(thumbnail.IsWeave);
    EXPECT_EQ(thumbnail.Picture.size(), QSize(94, 94));
    EXPECT_EQ(thumbnail.FileSize, QSize(2, 3));
    EXPECT_TRUE(thumbnail.Hint.endsWith("(2*3)")) << thumbnail.Hint.toStdString();
}

// A weave of no warps or no wefts has nothing to draw (its thumbnail would divide by 0);
// a cut or damaged file is unreadable. Neither makes a thumbnail.
TEST(Thumbnails, EmptyOrDamagedWeaveRefused)
{
    const QByteArray good = WeaveFileBytes(smallWeave());
    struct Case {
        const char *what;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "no warps", withSizes(good.left(WeaveFileDataOffset), 0, 0) },
        { "no wefts", withSizes(good, 2, 0) },
        { "no warps, some wefts", withSizes(good, 0, 3) },
        { "empty file", QByteArray() },
        { "header only", good.left(WeaveFileHeaderSize) },
        { "cells cut short", good.left(good.size() - 1) },
        { "negative size", withSizes(good, -1, 3) },
        { "sizes beyond the bytes", withSizes(good, 65535, 65535) },
    };
    for (const Case &c : cases) {
        TThumbnail thumbnail;
        thumbnail.Text = "kept";
        QString error;
        EXPECT_FALSE(ThumbnailFromBytes("x.ovw", c.bytes, QSize(94, 94), thumbnail, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_EQ(thumbnail.Text, "kept") << c.what << ": a failure leaves the thumbnail as it was";
    }
    TThumbnail thumbnail;
    EXPECT_TRUE(ThumbnailFromBytes("x.ovw", good, QSize(94, 94), thumbnail));
}

// A picture larger than the room is decoded scaled down; the caption keeps its own size.
TEST(Thumbnails, LargePictureDecodedScaledDown)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteAll(dir.filePath("big.png"), pngBytes(2000, 1000)));
    TThumbnail thumbnail;
    QString error;
    ASSERT_TRUE(ReadThumbnail(dir.filePath("big.png"), QSize(188, 188), thumbnail, &error))
        << error.toStdString();
    EXPECT_EQ(thumbnail.FileSize, QSize(2000, 1000));
    EXPECT_EQ(thumbnail.Picture.size(), QSize(188, 94));
    EXPECT_TRUE(thumbnail.Text.endsWith(PictureSizeCaption(QSize(2000, 1000))));

    // A reader that cannot scale while decoding (PCX): the picture kept is scaled down.
    QImage pcx = NewPicture(400, 200, GreyPalette());
    pcx.fill(3);
    const QString pcxFile = dir.filePath("big.pcx");
    ASSERT_TRUE(SavePictureAsPcx(pcx, pcxFile));
    RegisterPictureFormats();
    const bool read = ReadThumbnail(pcxFile, QSize(100, 100), thumbnail, &error);
    UnregisterPictureFormats();
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(thumbnail.FileSize, QSize(400, 200));
    EXPECT_EQ(thumbnail.Picture.size(), QSize(100, 50));

    for (const QByteArray &bytes : { pngBytes(2000, 1000).left(100), QByteArray("not a picture") }) {
        EXPECT_FALSE(ThumbnailFromBytes("x.png", bytes, QSize(188, 188), thumbnail, &error));
        EXPECT_FALSE(ThumbnailFromBytes("x.ovy", bytes, QSize(188, 188), thumbnail, &error));
    }
}

// A project's thumbnail takes only the rows and columns it shows (rows stored bottom-up);
// a small one is read whole, as the preview reader reads it; a cut one is refused.
TEST(Thumbnails, ProjectPictureSampledRowByRow)
{
    const QByteArray bytes = projectBytes(300, 100);
    QImage full;
    ASSERT_TRUE(ReadProjectPreview(bytes, full));
    TThumbnail thumbnail;
    QString error;
    ASSERT_TRUE(ThumbnailFromBytes("p.OVY", bytes, QSize(30, 30), thumbnail, &error)) << error.toStdString();
    EXPECT_EQ(thumbnail.FileSize, QSize(300, 100));
    ASSERT_EQ(thumbnail.Picture.size(), QSize(30, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(thumbnail.Picture.pixelIndex(x, y), full.pixelIndex(x * 10, y * 10)) << x << "," << y;
    EXPECT_EQ(thumbnail.Picture.color(7), full.color(7));
    EXPECT_TRUE(thumbnail.Text.endsWith(PictureSizeCaption(QSize(300, 100))));

    ASSERT_TRUE(ThumbnailFromBytes("p.ovy", bytes, QSize(400, 400), thumbnail, &error));
    EXPECT_EQ(
        thumbnail.Picture.convertToFormat(QImage::Format_RGB32), full.convertToFormat(QImage::Format_RGB32));

    // Cut in the header, the colour table, the rows.
    qint64 offset = 0;
    ASSERT_TRUE(ProjectPictureOffset(bytes, offset));
    qint64 bitmapSize = 0;
    std::memcpy(&bitmapSize, bytes.constData() + offset + 2, 4);
    for (const qint64 length : { qint64(10), offset + 30, offset + 54 + 500, offset + bitmapSize - 1 }) {
        thumbnail = TThumbnail {};
        EXPECT_FALSE(ThumbnailFromBytes("p.ovy", bytes.left(length), QSize(30, 30), thumbnail, &error))
            << length;
        EXPECT_TRUE(thumbnail.Picture.isNull()) << length;
    }
}

// Every kind of file the thumbnails read refuses FIFOs, devices, folders and files larger
// than it can hold.
TEST(Thumbnails, ReadersRefuseSpecialAndOversizedFiles)
{
    auto as = [](const char *suffix) {
        return [suffix](const QString &path, QString *error) {
            // The checks name their files ".bmp": a link gives the reader its extension.
            const QString named = path + suffix;
            QFile::remove(named);
            QFile::link(path, named);
            TThumbnail thumbnail;
            const bool ok = ReadThumbnail(named, QSize(100, 100), thumbnail, error);
            QFile::remove(named);
            return ok;
        };
    };
    const std::vector<ReaderCase> readers = {
        { "weave", as(".ovw"), MaxWeaveFileSize },
        { "project", as(".ovy"), MaxPictureFileSize },
        { "png", as(".png"), MaxPictureFileSize },
    };
    ExpectSpecialFilesRefused(readers);
    ExpectOversizedFilesRefused(readers);
}
