// Loading pictures through the format list: one file of every decoded format, made here,
// and every kind of failure leaving the caller's picture alone.
#include "card/fmt_ovwb.h"
#include "core/decode/epsdecode.h"
#include "core/decode/magickdecode.h"
#include "core/decode/pictureconvert.h"
#include "core/decode/pictureload.h"
#include "core/picture/bmpfile.h"
#include "core/picture/pcxfile.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/pictureformats.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <Magick++.h>

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

using Rows = std::vector<std::vector<int>>;

class PictureLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitMagick();
        RegisterPictureFormats();
    }
    void TearDown() override { UnregisterPictureFormats(); }
    QString put(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(WriteAll(path, bytes));
        return path;
    }
    // Loads as 8 bits and checks the result is a proper 8-bit picture.
    QImage load8(const QString &path)
    {
        QImage pic;
        QString error;
        EXPECT_TRUE(LoadPictureAs8Bit(path, pic, &error))
            << path.toStdString() << ": " << error.toStdString();
        EXPECT_EQ(pic.format(), QImage::Format_Indexed8);
        EXPECT_EQ(pic.colorCount(), 256);
        return pic;
    }
    QTemporaryDir dir;
};

QByteArray be32(quint32 v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

QByteArray be16(quint16 v)
{
    QByteArray b(2, '\0');
    qToBigEndian(v, b.data());
    return b;
}

QByteArray le16(quint16 v)
{
    return QByteArray(1, char(v & 0xFF)) + char(v >> 8);
}
QByteArray le32(quint32 v)
{
    return le16(quint16(v & 0xFFFF)) + le16(quint16(v >> 16));
}

// A PNG of the given header with the raw (filter byte first) rows.
QByteArray makePng(
    int width, int height, int depth, int colorType, const QList<QRgb> &palette, const QByteArray &raw)
{
    auto chunk = [](const char *type, const QByteArray &data) {
        QByteArray body = QByteArray(type) + data;
        quint32 crc = 0xFFFFFFFFu;
        for (char ch : body) {
            crc ^= std::uint8_t(ch);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return be32(quint32(data.size())) + body + be32(~crc);
    };
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += chunk("IHDR",
        be32(quint32(width)) + be32(quint32(height)) + char(depth) + char(colorType) + QByteArray(3, '\0'));
    if (!palette.isEmpty()) {
        QByteArray plte;
        for (QRgb c : palette)
            plte += char(qRed(c)) + QByteArray(1, char(qGreen(c))) + char(qBlue(c));
        png += chunk("PLTE", plte);
    }
    png += chunk("IDAT", qCompress(raw).mid(4)); // qCompress puts a length before the zlib stream
    png += chunk("IEND", {});
    return png;
}

// An uncompressed bitmap of 1 or 4 bits per pixel from packed rows (top row first).
QByteArray makeLowBitBmp(
    int width, int height, int bits, const QList<QRgb> &colors, const QList<QByteArray> &rows)
{
    const int stride = ((width * bits + 31) / 32) * 4;
    const int offset = 14 + 40 + 4 * int(colors.size());
    QByteArray out = "BM" + le32(quint32(offset + stride * height)) + le32(0) + le32(quint32(offset));
    out += le32(40) + le32(quint32(width)) + le32(quint32(height)) + le16(1) + le16(quint16(bits)) + le32(0)
        + le32(quint32(stride * height)) + le32(0) + le32(0) + le32(quint32(colors.size())) + le32(0);
    for (QRgb c : colors)
        out += char(qBlue(c)) + QByteArray(1, char(qGreen(c))) + char(qRed(c)) + '\0';
    for (int y = height - 1; y >= 0; --y)
        out += rows[y] + QByteArray(stride - rows[y].size(), '\0');
    return out;
}

// A Photoshop file: mode, depth, channel planes (each height x row bytes), raw or PackBits.
QByteArray makePsd(int mode, int depth, int width, int height, const QList<QByteArray> &planes, bool packBits,
    const QByteArray &colorData = {})
{
    QByteArray out = "8BPS" + be16(1) + QByteArray(6, '\0') + be16(quint16(planes.size()))
        + be32(quint32(height)) + be32(quint32(width)) + be16(quint16(depth)) + be16(quint16(mode));
    out += be32(quint32(colorData.size())) + colorData + be32(4) + "abcd" + be32(0);
    const int rowBytes = depth == 1 ? (width + 7) / 8 : width;
    out += be16(packBits ? 1 : 0);
    if (!packBits) {
        for (const QByteArray &p : planes)
            out += p;
        return out;
    }
    QByteArray counts, data;
    for (const QByteArray &p : planes)
        for (int y = 0; y < height; ++y) {
            // Literal runs of at most 128 bytes.
            const QByteArray row = p.mid(y * rowBytes, rowBytes);
            QByteArray packed;
            for (int x = 0; x < rowBytes; x += 128) {
                const QByteArray part = row.mid(x, 128);
                packed += char(part.size() - 1) + part;
            }
            counts += be16(quint16(packed.size()));
            data += packed;
        }
    return out + counts + data;
}

QByteArray viaQt(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    EXPECT_TRUE(writer.write(image)) << format << writer.errorString().toStdString();
    return bytes;
}

QByteArray viaMagick(Magick::Image image, const char *format)
{
    image.magick(format);
    Magick::Blob blob;
    image.write(&blob);
    return QByteArray(static_cast<const char *>(blob.data()), qsizetype(blob.length()));
}

// A palette with duplicate entries, unused ones, black and white.
TPalette256 oddPalette()
{
    TPalette256 p = GreyPalette();
    p[1] = { 200, 10, 20, 0 };
    p[2] = p[1];
    p[3] = p[1];
    p[250] = { 1, 2, 3, 0 };
    return p;
}

QRgb cellColour(const QImage &pic, int x, int y)
{
    return pic.colorTable()[pic.pixelIndex(x, y)];
}

// A true-colour picture with every cell set: smooth ramps and a few blocks, so that the
// files made of it have rows that differ.
QImage filledPicture(int width, int height)
{
    QImage pic(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pic.setPixel(x, y, qRgb((x * 255) / width, (y * 255) / height, ((x / 8 + y / 8) % 2) * 200 + 20));
    return pic;
}

// An uncompressed RGB TIFF, little-endian, with its directory before the cells (as many
// writers place it, so that a cut file keeps its directory) and rowsPerStrip rows a strip.
QByteArray makeTiff(const QImage &pic, int rowsPerStrip)
{
    const int width = pic.width(), height = pic.height();
    const int strips = (height + rowsPerStrip - 1) / rowsPerStrip;
    const int entries = 10;
    const quint32 extra = 8 + 2 + entries * 12 + 4; // bits per sample, then the strip tables
    const quint32 offsetsAt = extra + 6, countsAt = offsetsAt + 4 * strips, cellsAt = countsAt + 4 * strips;
    QByteArray t = "II" + le16(42) + le32(8) + le16(entries);
    auto entry = [&](quint16 tag, quint16 type, quint32 count, const QByteArray &value) {
        t += le16(tag) + le16(type) + le32(count) + value.leftJustified(4, '\0');
    };
    entry(256, 4, 1, le32(quint32(width)));
    entry(257, 4, 1, le32(quint32(height)));
    entry(258, 3, 3, le32(extra));
    entry(259, 3, 1, le16(1)); // no compression
    entry(262, 3, 1, le16(2)); // RGB
    // One strip's offset and byte count stand in the entries themselves.
    entry(273, 4, quint32(strips), le32(strips == 1 ? cellsAt : offsetsAt));
    entry(277, 3, 1, le16(3));
    entry(278, 4, 1, le32(quint32(rowsPerStrip)));
    entry(279, 4, quint32(strips), le32(strips == 1 ? quint32(height * width * 3) : countsAt));
    entry(284, 3, 1, le16(1)); // samples together
    t += le32(0) + le16(8) + le16(8) + le16(8);
    for (int s = 0; s < strips; ++s)
        t += le32(cellsAt + quint32(s * rowsPerStrip * width * 3));
    for (int s = 0; s < strips; ++s)
        t += le32(quint32(std::min(rowsPerStrip, height - s * rowsPerStrip) * width * 3));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb c = pic.pixel(x, y);
            t += char(qRed(c)) + QByteArray(1, char(qGreen(c))) + char(qBlue(c));
        }
    return t;
}

// An 8-bit run-length coded bitmap (bottom row first, runs of equal cells, an end-of-row
// mark after each row and the end-of-picture mark).
QByteArray makeRle8Bmp(const QImage &pic)
{
    QByteArray runs;
    for (int y = pic.height() - 1; y >= 0; --y) {
        const std::uint8_t *row = pic.constScanLine(y);
        for (int x = 0; x < pic.width();) {
            int n = 1;
            while (x + n < pic.width() && n < 255 && row[x + n] == row[x])
                ++n;
            runs += char(n) + QByteArray(1, char(row[x]));
            x += n;
        }
        runs += QByteArray(2, '\0');
    }
    runs += Hex("00 01");
    const quint32 offset = 14 + 40 + 256 * 4;
    QByteArray b = "BM" + le32(offset + quint32(runs.size())) + le32(0) + le32(offset);
    b += le32(40) + le32(quint32(pic.width())) + le32(quint32(pic.height())) + le16(1) + le16(8) + le32(1)
        + le32(quint32(runs.size())) + le32(0) + le32(0) + le32(256) + le32(0);
    for (QRgb c : pic.colorTable())
        b += char(qBlue(c)) + QByteArray(1, char(qGreen(c))) + char(qRed(c)) + '\0';
    return b + runs;
}

// A pattern project file (current layout) whose picture is pic.
QByteArray makeProject(const QImage &pic)
{
    return Hex("D0 07 01 02 00 00 00 00") + QByteArray(48, '\x11') + le32(3) + "abc" + EncodeBmp8(pic);
}

// An 8-bit picture with every cell set.
QImage filledIndexed(int width, int height)
{
    QImage pic = NewPicture(width, height, GreyPalette());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pic.scanLine(y)[x] = std::uint8_t((x / 4 + y * 3) % 7 + 10);
    return pic;
}

} // namespace

TEST_F(PictureLoad, EightBitPicturesKeepIndexesAndPalette)
{
    const QImage pic = MakePicture({ { 3, 2, 1, 0 }, { 250, 255, 2, 3 } }, oddPalette());
    for (const QString &name : { QString("a.bmp"), QString("B.BMP"), QString("c.dib"), QString("d.png"),
             QString("e.pcx"), QString("f.tif") }) {
        QByteArray bytes;
        if (name.endsWith("png"))
            bytes = viaQt(pic, "png");
        else if (name.endsWith("pcx"))
            bytes = EncodePcx(pic);
        else if (name.endsWith("tif"))
            bytes = viaQt(pic, "tiff");
        else
            bytes = EncodeBmp8(pic);
        const QImage back = load8(put(name, bytes));
        EXPECT_EQ(PictureRows(back), PictureRows(pic)) << name.toStdString();
        EXPECT_EQ(back.colorTable(), pic.colorTable()) << name.toStdString();
    }
}

TEST_F(PictureLoad, BitmapsWithTheOldOs2Header)
{
    // A 12-byte info header and 3-byte colour entries (blue, green, red): 8 bits with a
    // duplicate entry, and 4 bits.
    auto os2 = [](int width, int height, int bits, const QList<QRgb> &colors, const QList<QByteArray> &rows) {
        const int stride = ((width * bits + 31) / 32) * 4;
        const int offset = 14 + 12 + 3 * int(colors.size());
        QByteArray out = "BM" + le32(quint32(offset + stride * height)) + le32(0) + le32(quint32(offset));
        out += le32(12) + le16(quint16(width)) + le16(quint16(height)) + le16(1) + le16(quint16(bits));
        for (QRgb c : colors)
            out += char(qBlue(c)) + QByteArray(1, char(qGreen(c))) + char(qRed(c));
        for (int y = height - 1; y >= 0; --y)
            out += rows[y] + QByteArray(stride - rows[y].size(), '\0');
        return out;
    };
    QList<QRgb> colors;
    for (int i = 0; i < 256; ++i)
        colors << qRgb(i, 255 - i, 7);
    colors[5] = colors[9];
    colors[0] = qRgb(0, 0, 0); // black and white present: the table stays as it is
    colors[1] = qRgb(255, 255, 255);
    QImage pic = load8(put("old8.bmp", os2(3, 2, 8, colors, { Hex("05 09 FF"), Hex("00 05 80") })));
    EXPECT_EQ(PictureRows(pic), (Rows { { 5, 9, 255 }, { 0, 5, 128 } }));
    EXPECT_EQ(pic.colorTable(), colors);

    QList<QRgb> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen << qRgb(10 + i, 20, 30);
    pic = load8(put("old4.bmp", os2(3, 1, 4, sixteen, { Hex("F1 20") })));
    EXPECT_EQ(PictureRows(pic), (Rows { { 15, 1, 2 } }));
    EXPECT_EQ(pic.colorTable()[15], qRgb(25, 20, 30));
    EXPECT_EQ(pic.colorTable()[16], qRgb(0, 0, 0));
}

TEST_F(PictureLoad, LowBitPicturesFollowTheirOwnConversion)
{
    // A 4-bit bitmap without white: entries 0..15 from the file, black beyond, no white added.
    QList<QRgb> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen << qRgb(10 + i, 20, 30);
    QImage pic = load8(put("four.bmp", makeLowBitBmp(3, 2, 4, sixteen, { Hex("F1 20"), Hex("0E 50") })));
    EXPECT_EQ(PictureRows(pic), (Rows { { 15, 1, 2 }, { 0, 14, 5 } }));
    EXPECT_EQ(pic.colorTable()[15], qRgb(25, 20, 30));
    EXPECT_EQ(pic.colorTable()[16], qRgb(0, 0, 0));
    EXPECT_EQ(pic.colorTable()[255], qRgb(0, 0, 0));

    // A 1-bit bitmap.
    pic = load8(
        put("one.bmp", makeLowBitBmp(10, 1, 1, { qRgb(9, 9, 9), qRgb(250, 0, 0) }, { Hex("81 40") })));
    EXPECT_EQ(PictureRows(pic), (Rows { { 1, 0, 0, 0, 0, 0, 0, 1, 0, 1 } }));
    EXPECT_EQ(pic.colorTable()[1], qRgb(250, 0, 0));
    EXPECT_EQ(pic.colorTable()[2], qRgb(0, 0, 0));

    // 2- and 4-bit palette PNGs.
    const QList<QRgb> four = { qRgb(1, 1, 1), qRgb(2, 2, 2), qRgb(3, 3, 3), qRgb(4, 4, 4) };
    pic = load8(put("two.png", makePng(5, 1, 2, 3, four, Hex("00 1B 80"))));
    EXPECT_EQ(PictureRows(pic), (Rows { { 0, 1, 2, 3, 2 } }));
    EXPECT_EQ(pic.colorTable()[3], qRgb(4, 4, 4));
    EXPECT_EQ(pic.colorTable()[255], qRgb(0, 0, 0));
    pic = load8(put("four.png", makePng(3, 1, 4, 3, sixteen, Hex("00 F3 A0"))));
    EXPECT_EQ(PictureRows(pic), (Rows { { 15, 3, 10 } }));
    pic = load8(put("one.png", makePng(10, 1, 1, 3, { qRgb(250, 0, 0), qRgb(9, 9, 9) }, Hex("00 81 40"))));
    EXPECT_EQ(PictureRows(pic), (Rows { { 1, 0, 0, 0, 0, 0, 0, 1, 0, 1 } }));
    EXPECT_EQ(pic.colorTable()[0], qRgb(250, 0, 0));
    EXPECT_EQ(pic.colorTable()[2], qRgb(0, 0, 0));

    // A 4-bit PCX (one plane of 4 bits, the colours in the header), read by the library:
    // its own conversion too, so no white is added.
    QByteArray pcx(128, '\0');
    pcx[0] = 10;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 4;
    pcx.replace(8, 8, le16(2) + le16(0) + le16(3) + le16(1));
    for (int i = 0; i < 16; ++i)
        pcx.replace(16 + 3 * i, 3, QByteArray(1, char(10 + i)) + char(20) + char(30));
    pcx[65] = 1;
    pcx.replace(66, 4, le16(2) + le16(1));
    pic = load8(put("four.pcx", pcx + Hex("C1F1 20")));
    EXPECT_EQ(PictureRows(pic), (Rows { { 15, 1, 2 } }));
    EXPECT_EQ(pic.colorTable()[15], qRgb(25, 20, 30));
    EXPECT_EQ(pic.colorTable()[16], qRgb(0, 0, 0));
    EXPECT_EQ(pic.colorTable()[255], qRgb(0, 0, 0));

    // A portable bitmap (1 bit).
    QImage mono(9, 1, QImage::Format_Mono);
    mono.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
    mono.fill(0);
    mono.setPixel(8, 0, 1);
    pic = load8(put("m.pbm", viaQt(mono, "pbm")));
    ASSERT_EQ(pic.width(), 9);
    EXPECT_EQ(cellColour(pic, 8, 0), qRgb(0, 0, 0));
    EXPECT_EQ(cellColour(pic, 0, 0), qRgb(255, 255, 255));
}

TEST_F(PictureLoad, GreyPicturesLoadWithAGreyPalette)
{
    QImage grey(3, 1, QImage::Format_Grayscale8);
    grey.scanLine(0)[0] = 0;
    grey.scanLine(0)[1] = 77;
    grey.scanLine(0)[2] = 255;
    for (const char *format : { "pgm", "png" }) {
        const QImage pic = load8(put(QString("g.") + format, viaQt(grey, format)));
        EXPECT_EQ(PictureRows(pic), (Rows { { 0, 77, 255 } })) << format;
        EXPECT_EQ(pic.colorTable(), MakePicture({ { 0 } }).colorTable()) << format;
    }
}

TEST_F(PictureLoad, TrueColourFormats)
{
    // Two flat colours, none white or black, in blocks that survive JPEG compression:
    // the conversion gives them entries by frequency and adds black at 254 and white at 255.
    QImage rgb(16, 16, QImage::Format_RGB32);
    rgb.fill(qRgb(40, 120, 200));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            rgb.setPixel(x, y, qRgb(200, 40, 72));
    const QImage packed = rgb.convertToFormat(QImage::Format_RGB888);
    QByteArray raw;
    for (int y = 0; y < 16; ++y)
        raw.append(reinterpret_cast<const char *>(packed.constScanLine(y)), 48);
    const Magick::Image magick(16, 16, "RGB", Magick::CharPixel, raw.constData());
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "a.jpg", viaQt(rgb, "jpeg") },
        { "a.jpeg", viaQt(rgb, "jpeg") },
        { "a.png", viaQt(rgb, "png") },
        { "a.tif", viaQt(rgb, "tiff") },
        { "a.ppm", viaQt(rgb, "ppm") },
        { "a.ico", viaQt(rgb, "ico") },
        { "a.bmp", viaQt(rgb, "bmp") },
        { "a.tga", viaMagick(magick, "TGA") },
        { "a.win", viaMagick(magick, "TGA") },
        { "a.sgi", viaMagick(magick, "SGI") },
        { "a.rgb", viaMagick(magick, "SGI") },
        { "a.pcx", viaMagick(magick, "PCX") },
        { "a.eps", viaMagick(magick, "EPS") },
    };
    for (const Case &c : cases) {
        const QImage pic = load8(put(c.name, c.bytes));
        ASSERT_EQ(pic.size(), QSize(16, 16)) << c.name;
        // The cells of one colour share one entry, the source colour's cell.
        EXPECT_EQ(cellColour(pic, 3, 3), qRgb(199, 39, 71)) << c.name;
        EXPECT_EQ(cellColour(pic, 12, 12), qRgb(39, 119, 199)) << c.name;
        EXPECT_EQ(pic.pixelIndex(1, 1), pic.pixelIndex(5, 6)) << c.name;
        EXPECT_EQ(pic.pixelIndex(9, 1), pic.pixelIndex(14, 14)) << c.name;
        EXPECT_EQ(pic.colorTable()[254], qRgb(0, 0, 0)) << c.name;
        EXPECT_EQ(pic.colorTable()[255], qRgb(255, 255, 255)) << c.name;
    }
}

TEST_F(PictureLoad, LargeTrueColourPicturesLoadAsTheirConversion)
{
    // Large enough to be converted in bands of rows on several threads, of an odd width
    // (8-bit rows with padding): the loader decodes from the file itself and converts
    // where it decoded, with the result of decoding and converting apart.
    QImage rgb(1501, 1450, QImage::Format_RGB32);
    std::uint32_t seed = 99;
    for (int y = 0; y < rgb.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(rgb.scanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = qRgb(
                x * 255 / rgb.width(), (y * 255 / rgb.height() + int(seed >> 29)) & 0xFF, int(seed >> 27));
        }
    }
    for (const char *format : { "bmp", "png", "jpeg" }) {
        const QByteArray bytes = viaQt(rgb, format);
        if (qstrcmp(format, "bmp") == 0) {
            ASSERT_EQ(bytes[28], 24) << "a 24-bit bitmap, read by Qt";
        }
        const QString path = put(QString("large.") + format, bytes);
        QImage decoded;
        ASSERT_TRUE(QImageReader(path, format).read(&decoded)) << format;
        QImage expected;
        ConvertPictureTo8BitWithBlackAndWhite(decoded, expected);
        const QImage pic = load8(path);
        EXPECT_EQ(pic.colorTable(), expected.colorTable()) << format;
        EXPECT_TRUE(pic == expected) << format;
    }
}

TEST_F(PictureLoad, FormatsReadThroughGraphicsMagick)
{
    // Photo-CD pictures have fixed sizes; the library writes the smallest.
    Magick::Image magick(Magick::Geometry(16, 16), Magick::Color(0, 65535, 0));
    QImage pic = load8(put("a.pcd", viaMagick(magick, "PCD")));
    EXPECT_GT(pic.width(), 0);

    // Dr. Halo: width, height, reserved, then lines of run-length bytes (grey without a
    // palette file).
    QByteArray cut = le16(4) + le16(2) + le16(0);
    for (int v : { 50, 100 })
        cut += le16(3) + char(0x84) + char(v) + '\0';
    pic = load8(put("a.cut", cut));
    ASSERT_EQ(pic.size(), QSize(4, 2));
    EXPECT_EQ(cellColour(pic, 0, 0), qRgb(50, 50, 50));
    EXPECT_EQ(cellColour(pic, 3, 1), qRgb(100, 100, 100));

    // Alias/Wavefront: a 740-byte header, scanline offsets (bottom row first), and per
    // scanline and channel a run of two equal bytes.
    QByteArray rla(740, '\0');
    const QByteArray window = be16(0) + be16(1) + be16(0) + be16(1);
    rla.replace(0, 8, window);
    rla.replace(8, 8, window);
    rla.replace(20, 2, be16(3));
    rla.replace(26, 2, be16(0xFFFE));
    rla.replace(580, 3, "rgb");
    rla.replace(658, 2, be16(8));
    const int colours[2][3] = { { 5, 6, 7 }, { 200, 10, 20 } }; // bottom row, top row
    QByteArray lines;
    for (int i = 0; i < 2; ++i) {
        rla += be32(quint32(740 + 8 + lines.size()));
        for (int c = 0; c < 3; ++c)
            lines += be16(2) + char(1) + char(colours[i][c]);
    }
    rla += lines;
    pic = load8(put("a.rla", rla));
    ASSERT_EQ(pic.size(), QSize(2, 2));
    EXPECT_EQ(cellColour(pic, 1, 0), qRgb(199, 7, 23));
    EXPECT_EQ(cellColour(pic, 0, 1), qRgb(7, 7, 7));

    // A placeable Windows metafile drawing a rectangle.
    auto record = [](quint16 function, std::initializer_list<qint16> params) {
        QByteArray r = le32(quint32(3 + params.size())) + le16(function);
        for (qint16 p : params)
            r += le16(quint16(p));
        return r;
    };
    const QByteArray body = record(0x020B, { 0, 0 }) + record(0x020C, { 100, 100 })
        + record(0x041B, { 50, 50, 10, 10 }) + record(0, {});
    QByteArray placeable
        = le32(0x9AC6CDD7u) + le16(0) + le16(0) + le16(0) + le16(100) + le16(100) + le16(1440) + le32(0);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= quint16(std::uint8_t(placeable[i]) | (std::uint8_t(placeable[i + 1]) << 8));
    placeable += le16(sum);
    const QByteArray header = le16(1) + le16(9) + le16(0x300) + le32(quint32((18 + body.size()) / 2))
        + le16(0) + le32(6) + le16(0);
    pic = load8(put("a.wmf", placeable + header + body));
    EXPECT_GT(pic.width(), 0);
}

TEST_F(PictureLoad, GifKeepsItsIndexes)
{
    // A 1 x 1 GIF with a black and white table and its one pixel white.
    const QByteArray gif = Hex("474946383961 0100 0100 80 00 00 000000 FFFFFF"
                               "2C 0000 0000 0100 0100 00 02 02 4C01 00 3B");
    QImage pic = load8(put("a.gif", gif));
    ASSERT_EQ(pic.size(), QSize(1, 1));
    EXPECT_EQ(pic.pixelIndex(0, 0), 1);
    EXPECT_EQ(pic.colorTable()[1], qRgb(255, 255, 255));
    EXPECT_EQ(pic.colorTable()[0], qRgb(0, 0, 0));
}

TEST_F(PictureLoad, PhotoshopPictures)
{
    QByteArray colours(768, '\0');
    for (int i = 0; i < 256; ++i) {
        colours[i] = char(i);
        colours[256 + i] = char(255 - i);
        colours[512 + i] = char(i / 2);
    }
    colours[7] = 0; // entry 7 duplicates entry 0
    colours[256 + 7] = char(255);
    colours[512 + 7] = 0;
    colours[100] = colours[256 + 100] = colours[512 + 100] = 0; // black
    colours[101] = colours[256 + 101] = colours[512 + 101] = char(255); // white
    for (bool packBits : { false, true }) {
        // Indexed: indexes and the file's colour table as stored.
        QImage pic
            = load8(put("i.psd", makePsd(2, 8, 3, 2, { Hex("07 00 FF  01 02 03") }, packBits, colours)));
        EXPECT_EQ(PictureRows(pic), (Rows { { 7, 0, 255 }, { 1, 2, 3 } })) << packBits;
        EXPECT_EQ(pic.colorTable()[7], pic.colorTable()[0]);
        EXPECT_EQ(pic.colorTable()[255], qRgb(255, 0, 127));

        // Grey.
        pic = load8(put("g.pdd", makePsd(1, 8, 2, 1, { Hex("00 FF") }, packBits)));
        EXPECT_EQ(PictureRows(pic), (Rows { { 0, 255 } }));
        EXPECT_EQ(pic.colorTable()[128], qRgb(128, 128, 128));

        // Bitmap: 1 is black, 0 white.
        pic = load8(put("b.psd", makePsd(0, 1, 9, 1, { Hex("80 80") }, packBits)));
        EXPECT_EQ(PictureRows(pic), (Rows { { 1, 0, 0, 0, 0, 0, 0, 0, 1 } }));
        EXPECT_EQ(pic.colorTable()[1], qRgb(0, 0, 0));
        EXPECT_EQ(pic.colorTable()[0], qRgb(255, 255, 255));

        // RGB with an extra alpha channel, which is skipped.
        pic = load8(put("c.psd",
            makePsd(3, 8, 2, 1, { Hex("C8 C8"), Hex("28 28"), Hex("48 48"), Hex("00 FF") }, packBits)));
        EXPECT_EQ(cellColour(pic, 1, 0), qRgb(199, 39, 71));
    }
    // A row longer than 128 bytes needs two PackBits runs.
    QByteArray wide(300, '\x05');
    wide[299] = 9;
    const QImage pic = load8(put("w.psd", makePsd(1, 8, 300, 1, { wide }, true)));
    EXPECT_EQ(pic.pixelIndex(298, 0), 5);
    EXPECT_EQ(pic.pixelIndex(299, 0), 9);
}

TEST_F(PictureLoad, OwnFormatsGoThroughTheCardCodec)
{
    const QString name = put("a.Jc5", "card bytes");
    QImage pic = MakePicture({ { 9 } });
    QString error;
    EXPECT_FALSE(LoadPictureAs8Bit(name, pic, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(PictureRows(pic), (Rows { { 9 } }));

    SetWenBanIOReader([](const QString &, const QByteArray &bytes, TLoadedPicture &out, QString *) {
        QImage mono(int(bytes.size()), 1, QImage::Format_Mono);
        mono.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
        mono.fill(1);
        out.Image = mono;
        out.Bits = 1;
        return true;
    });
    ASSERT_TRUE(LoadPictureAs8Bit(name, pic, &error)) << error.toStdString();
    EXPECT_EQ(pic.width(), 10);
    EXPECT_EQ(pic.pixelIndex(3, 0), 1);
    EXPECT_EQ(pic.colorTable()[1], qRgb(0, 0, 0));
}

TEST_F(PictureLoad, CardFileOpensAsAPictureOfItsNeedles)
{
    TWenBanIO io;
    io.RowCount = 8;
    io.ColCount = 1;
    io.CardCount = 2;
    io.Card.setLength(2);
    io.Card[0] = TDynamicByteArray { 0x80 }; // first needle raised
    io.Card[1] = TDynamicByteArray { 0x01 }; // last needle raised
    const QString path = dir.filePath("card.ovwb");
    QString error;
    ASSERT_TRUE(WriteOVWBCard(io, path, &error)) << error.toStdString();

    QImage pic;
    ASSERT_TRUE(LoadPictureAs8Bit(path, pic, &error)) << error.toStdString();
    ASSERT_EQ(pic.size(), QSize(8, 2)) << "one pixel per needle, one line per card";
    // The last card is drawn on top; a raised needle is white.
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(pic.pixel(x, 0), x == 7 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << x;
        EXPECT_EQ(pic.pixel(x, 1), x == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) << x;
    }

    // A card file with no cards opens as nothing, with a message.
    io.CardCount = 0;
    io.Card.setLength(0);
    ASSERT_TRUE(WriteOVWBCard(io, path, &error)) << error.toStdString();
    QImage keep0 = MakePicture({ { 9 } });
    EXPECT_FALSE(LoadPictureAs8Bit(path, keep0, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(PictureRows(keep0), (Rows { { 9 } }));

    // A damaged card file fails with the codec's message and changes nothing.
    io.CardCount = 2;
    io.Card.setLength(2);
    io.Card[0] = TDynamicByteArray { 0x80 };
    io.Card[1] = TDynamicByteArray { 0x01 };
    ASSERT_TRUE(WriteOVWBCard(io, path, &error));
    ASSERT_TRUE(WriteAll(path, ReadAll(path).left(20)));
    QImage keep = MakePicture({ { 9 } });
    EXPECT_FALSE(LoadPictureAs8Bit(path, keep, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(PictureRows(keep), (Rows { { 9 } }));
}

TEST_F(PictureLoad, FailuresLeaveThePictureAlone)
{
    RunState().EpsTimeoutMs = 1500;
    const QByteArray png = viaQt(MakePicture({ { 1, 2 }, { 3, 4 } }), "png");
    const QByteArray jpeg = viaQt(filledPicture(40, 40), "jpeg");
    const QByteArray pcx = EncodePcx(MakePicture({ { 1, 2 }, { 3, 4 } }));
    const QByteArray tiff = viaQt(filledPicture(40, 40), "tiff");
    QByteArray hugePng = png;
    hugePng.replace(16, 8, be32(100000) + be32(100000));
    QByteArray tga(18, '\0');
    tga[2] = 2; // true colour
    tga.replace(12, 4, le16(65535) + le16(65535));
    tga[16] = 24;
    const QByteArray hugePsd = makePsd(1, 8, 30000, 30000, { Hex("00") }, true);
    QByteArray sgi = viaMagick(Magick::Image(Magick::Geometry(4, 4), Magick::Color("red")), "SGI");
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "unknown.xyz", png },
        { "noextension", png },
        { "zero.png", {} },
        { "zero.bmp", {} },
        { "zero.pcx", {} },
        { "zero.psd", {} },
        { "corrupt.png", QByteArray(300, '\x42') },
        { "corrupt.jpg", QByteArray("\xFF\xD8\xFF garbage", 12) },
        { "corrupt.tga", QByteArray(5, '\x01') },
        { "corrupt.sgi", QByteArray(600, '\x01') },
        { "corrupt.bmp", QByteArray("BM") + QByteArray(100, '\x07') },
        { "truncated.png", png.left(png.size() / 2) },
        { "truncated.jpg", jpeg.left(jpeg.size() / 3) },
        { "truncated.pcx", pcx.left(140) },
        { "truncated.sgi", sgi.left(sgi.size() - 10) },
        { "truncated.tif", tiff.left(tiff.size() / 2) },
        { "corrupt.tif", QByteArray("II*\0\x08\0\0\0\xff\xff", 10) },
        { "huge.png", hugePng },
        { "huge.tga", tga },
        { "huge.psd", hugePsd },
        { "a.psp", png },
        { "a.cel", png },
        { "a.pic", png },
        { "a.emf", png },
        { "a.EP", png },
        // The decoder is the one the extension names, whatever the content says.
        { "png-as.pcx", png },
        { "png-as.tga", png },
        { "postscript-as.sgi", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\nshowpage\n" },
        // PostScript that never ends, draws a vast page, has no box, or is no PostScript.
        { "forever.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{} loop\n" },
        { "vast.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 900000 900000\nshowpage\n" },
        { "nobox.eps", "%!PS-Adobe-3.0 EPSF-3.0\nshowpage\n" },
        { "broken.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n1 0 div\n" },
        { "notps.eps", png },
        { "dosheader.eps", Hex("C5D0D3C6 FFFFFF7F 10000000") + "%!PS" },
    };
    for (const Case &c : cases) {
        const QString path = put(c.name, c.bytes);
        QImage pic = MakePicture({ { 9 } });
        QString error;
        EXPECT_FALSE(LoadPictureAs8Bit(path, pic, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(PictureRows(pic), (Rows { { 9 } })) << c.name;
        TLoadedPicture loaded;
        loaded.Bits = 77;
        EXPECT_FALSE(LoadPictureFromFile(path, loaded)) << c.name;
        EXPECT_EQ(loaded.Bits, 77) << c.name;
    }
    // A missing file and a folder.
    QImage pic = MakePicture({ { 9 } });
    EXPECT_FALSE(LoadPictureAs8Bit(dir.filePath("missing.png"), pic));
    EXPECT_TRUE(QDir(dir.path()).mkdir("folder.png"));
    EXPECT_FALSE(LoadPictureAs8Bit(dir.filePath("folder.png"), pic));
    EXPECT_EQ(PictureRows(pic), (Rows { { 9 } }));
    // Without the format list only bitmaps are known.
    UnregisterPictureFormats();
    EXPECT_FALSE(LoadPictureAs8Bit(put("late.png", png), pic));
    EXPECT_TRUE(LoadPictureAs8Bit(put("late.bmp", EncodeBmp8(MakePicture({ { 1 } }))), pic));
}

TEST_F(PictureLoad, OversizedPicturesAreRefusedWithTheirSize)
{
    // Small files whose headers claim vast pictures: every decoder refuses them by the one
    // memory budget, naming the size, before it decodes anything. (Qt reads no bitmap of
    // more than 16,384 cells a side, which is within the budget.)
    QByteArray hugeJpeg = viaQt(filledPicture(16, 16), "jpeg");
    const qsizetype frame = hugeJpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    hugeJpeg.replace(frame + 5, 4, be16(65000) + be16(65000)); // libjpeg's largest is 65,500
    QByteArray hugeBmp8 = EncodeBmp8(filledIndexed(4, 4));
    hugeBmp8.replace(18, 8, le32(65535) + le32(65535));
    QByteArray hugePcx8 = EncodePcx(filledIndexed(4, 4));
    hugePcx8.replace(8, 4, le16(65534) + le16(65534));
    hugePcx8.replace(66, 2, le16(65535));
    QByteArray hugePcx1(128, '\0');
    hugePcx1[0] = 10;
    hugePcx1[1] = 5;
    hugePcx1[2] = 1;
    hugePcx1[3] = 1;
    hugePcx1.replace(8, 4, le16(65534) + le16(65534));
    hugePcx1[65] = 1;
    hugePcx1.replace(66, 2, le16(8192));
    hugePcx1 += QByteArray(100, char(0xC1)) + QByteArray(1, '\0');
    QByteArray tga(18, '\0');
    tga[2] = 2; // true colour
    tga.replace(12, 4, le16(65535) + le16(65535));
    tga[16] = 24;
    tga += QByteArray(30, '\x05');
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *size;
    };
    const Case cases[] = {
        { "huge.png", makePng(65535, 65535, 8, 2, {}, Hex("00 010203")), "65535 x 65535" }, // Qt
        { "huge.jpg", hugeJpeg, "65000 x 65000" }, // Qt
        { "huge8.bmp", hugeBmp8, "65535 x 65535" }, // our own
        { "huge8.pcx", hugePcx8, "65535 x 65535" }, // our own
        { "huge.psd", makePsd(1, 8, 65535, 65535, { Hex("00") }, false), "65535 x 65535" }, // our own
        { "huge1.pcx", hugePcx1, "65535 x 65535" }, // GraphicsMagick
        { "huge.tga", tga, "65535 x 65535" }, // GraphicsMagick
    };
    for (const Case &c : cases) {
        QImage pic = MakePicture({ { 9 } });
        QString error;
        EXPECT_FALSE(LoadPictureAs8Bit(put(c.name, c.bytes), pic, &error)) << c.name;
        EXPECT_TRUE(error.contains(QLatin1String(c.size))) << c.name << ": " << error.toStdString();
        EXPECT_EQ(PictureRows(pic), (Rows { { 9 } })) << c.name;
    }
}

TEST_F(PictureLoad, CutFilesAreRefused)
{
    // Each file is written whole (and loads), then cut: a cut file is refused with a
    // message and the picture is left as it was; no decoder may make up the missing rows.
    const QImage rgb = filledPicture(64, 48);
    const QImage indexed = filledIndexed(64, 48);
    Magick::Image mono(Magick::Geometry(64, 48), Magick::Color("white"));
    mono.fillColor(Magick::Color("black"));
    mono.draw(Magick::DrawableRectangle(5, 5, 40, 30));
    mono.type(Magick::BilevelType);
    QByteArray raw;
    const QImage packed = rgb.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < packed.height(); ++y)
        raw.append(reinterpret_cast<const char *>(packed.constScanLine(y)), packed.width() * 3);
    const Magick::Image magickRgb(64, 48, "RGB", Magick::CharPixel, raw.constData());
    struct Case {
        const char *name;
        QByteArray whole;
        int tail; // bytes after the rows (the PCX palette, the end-of-picture mark)
    };
    const Case cases[] = {
        { "a24.bmp", viaQt(rgb, "bmp"), 0 }, // Qt
        { "rle8.bmp", makeRle8Bmp(indexed), 2 }, // Qt
        { "a.jpg", viaQt(rgb, "jpeg"), 0 }, // Qt
        { "a.tif", makeTiff(rgb, 8), 0 }, // Qt
        { "onestrip.tif", makeTiff(rgb, 48), 0 }, // Qt
        { "a1.pcx", viaMagick(mono, "PCX"), 769 }, // GraphicsMagick
        { "a24.pcx", viaMagick(magickRgb, "PCX"), 769 }, // GraphicsMagick
        { "a8.bmp", EncodeBmp8(indexed), 0 }, // our own reader
        { "a8.pcx", EncodePcx(indexed), 769 }, // our own reader
        { "a.ovy", makeProject(indexed), 0 }, // our own reader inside the project file
    };
    for (const Case &c : cases) {
        const QImage whole = load8(put(c.name, c.whole));
        ASSERT_EQ(whole.size(), QSize(64, 48)) << c.name;
        const qsizetype rowsEnd = c.whole.size() - c.tail;
        for (const qsizetype keep : { rowsEnd / 2, rowsEnd * 4 / 5, rowsEnd * 19 / 20, rowsEnd - 1 }) {
            QImage pic = MakePicture({ { 9 } });
            QString error;
            EXPECT_FALSE(LoadPictureAs8Bit(put(c.name, c.whole.left(keep)), pic, &error))
                << c.name << " " << keep;
            EXPECT_FALSE(error.isEmpty()) << c.name << " " << keep;
            EXPECT_EQ(pic.size(), QSize(1, 1)) << c.name << " " << keep;
            EXPECT_EQ(pic.pixelIndex(0, 0), 9) << c.name << " " << keep;
        }
    }
}

// A 3 x 2 24-bit bitmap: rows of 9 bytes padded to 12, the last row too.
QByteArray smallBmp24()
{
    QByteArray out = "BM" + le32(54 + 24) + le32(0) + le32(54);
    out += le32(40) + le32(3) + le32(2) + le16(1) + le16(24) + le32(0) + le32(24) + le32(0) + le32(0)
        + le32(0) + le32(0);
    const QByteArray bottom = Hex("0000FF 00FF00 FF0000 000000"), top = Hex("FFFFFF 808080 00FFFF 000000");
    return out + bottom + top;
}

// A 2 x 2 palette TIFF whose colour map follows the cells at the end of the file.
QByteArray smallPaletteTiff()
{
    const int entries = 10;
    const quint32 cellsAt = 8 + 2 + entries * 12 + 4, mapAt = cellsAt + 4;
    QByteArray t = "II" + le16(42) + le32(8) + le16(entries);
    auto entry = [&](quint16 tag, quint16 type, quint32 count, const QByteArray &value) {
        t += le16(tag) + le16(type) + le32(count) + value.leftJustified(4, '\0');
    };
    entry(256, 3, 1, le16(2));
    entry(257, 3, 1, le16(2));
    entry(258, 3, 1, le16(8));
    entry(259, 3, 1, le16(1)); // no compression
    entry(262, 3, 1, le16(3)); // palette
    entry(273, 4, 1, le32(cellsAt));
    entry(277, 3, 1, le16(1));
    entry(278, 3, 1, le16(2));
    entry(279, 4, 1, le32(4));
    entry(320, 3, 768, le32(mapAt));
    t += le32(0) + Hex("00 01 02 03");
    // Red, then green, then blue of all 256 entries, 16 bits each; entries 4 and up stay black.
    const quint16 red[4] = { 0xFFFF, 0, 0, 0x8080 }, green[4] = { 0, 0xFFFF, 0, 0x8080 },
                  blue[4] = { 0, 0, 0xFFFF, 0x8080 };
    for (const quint16 *channel : { red, green, blue })
        for (int i = 0; i < 256; ++i)
            t += le16(i < 4 ? channel[i] : 0);
    return t;
}

TEST_F(PictureLoad, APictureShortByItsLastPaddingOrColourMapIsRefused)
{
    struct Case {
        const char *name;
        QByteArray whole;
    } cases[] = {
        { "padded.bmp", smallBmp24() },
        { "palette.tif", smallPaletteTiff() },
    };
    const QRgb bmpColours[2][3] = { { qRgb(255, 255, 255), qRgb(128, 128, 128), qRgb(255, 255, 0) },
        { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255) } };
    const QRgb tiffColours[2][2]
        = { { qRgb(255, 0, 0), qRgb(0, 255, 0) }, { qRgb(0, 0, 255), qRgb(128, 128, 128) } };
    for (const Case &c : cases) {
        const bool bmp = QByteArray(c.name).endsWith("bmp");
        // The fixture is sound: its decoder gives every cell its colour, and it loads whole.
        const QImage decoded = QImage::fromData(c.whole, bmp ? "BMP" : "TIFF");
        ASSERT_EQ(decoded.size(), bmp ? QSize(3, 2) : QSize(2, 2)) << c.name;
        for (int y = 0; y < decoded.height(); ++y)
            for (int x = 0; x < decoded.width(); ++x)
                EXPECT_EQ(decoded.pixel(x, y), bmp ? bmpColours[y][x] : tiffColours[y][x])
                    << c.name << x << y;
        EXPECT_EQ(load8(put(c.name, c.whole)).size(), decoded.size()) << c.name;
        // One byte short (the last row's padding, the colour map's last byte), and the
        // colour map cut in the middle.
        for (const qsizetype keep : { c.whole.size() - 1, c.whole.size() - (bmp ? 3 : 700) }) {
            QImage pic = MakePicture({ { 9 } });
            QString error;
            EXPECT_FALSE(LoadPictureAs8Bit(put(c.name, c.whole.left(keep)), pic, &error)) << c.name << keep;
            EXPECT_TRUE(error.contains(GetUiMessage(UiKey::String::PictureTruncated)))
                << c.name << error.toStdString();
            EXPECT_EQ(PictureRows(pic), (Rows { { 9 } })) << c.name;
        }
    }
}

TEST_F(PictureLoad, WholeFilesOfOtherLayoutsAreNotTakenForCut)
{
    // The checks for cut files follow each format's structure; whole files laid out in
    // other ways must still load.
    const QImage rgb = filledPicture(64, 48);
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        ASSERT_TRUE(writer.write(rgb));
    }
    QByteArray raw;
    const QImage packed = rgb.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < packed.height(); ++y)
        raw.append(reinterpret_cast<const char *>(packed.constScanLine(y)), packed.width() * 3);
    Magick::Image bigEndian(64, 48, "RGB", Magick::CharPixel, raw.constData());
    bigEndian.endian(Magick::MSBEndian);
    bigEndian.compressType(Magick::LZWCompression);
    const QByteArray motorola = viaMagick(bigEndian, "TIFF");
    ASSERT_TRUE(motorola.startsWith("MM"));
    Magick::Image mono(Magick::Geometry(64, 48), Magick::Color("white"));
    mono.fillColor(Magick::Color("black"));
    mono.draw(Magick::DrawableRectangle(5, 5, 40, 30));
    mono.type(Magick::BilevelType);
    const QByteArray monoPcx = viaMagick(mono, "PCX");
    // A top-down 24-bit bitmap: the height stored negative, the rows top first.
    QByteArray topDown = viaQt(rgb, "bmp");
    topDown.replace(22, 4, le32(quint32(-48)));
    QByteArray rows = topDown.mid(54);
    for (int y = 0; y < 48; ++y)
        topDown.replace(54 + y * 64 * 3, 64 * 3, rows.mid((47 - y) * 64 * 3, 64 * 3));
    struct Case {
        const char *name;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "progressive.jpg", progressive }, { "trailing.jpg", viaQt(rgb, "jpeg") + "trailing bytes" },
        { "lzw.tif", viaQt(rgb, "tiff") }, { "motorola.tif", motorola }, { "topdown.bmp", topDown },
        { "nopalette.pcx", monoPcx.left(monoPcx.size() - 769) }, // a 1-bit PCX without the 256-colour block
    };
    for (const Case &c : cases)
        EXPECT_EQ(load8(put(c.name, c.bytes)).size(), QSize(64, 48)) << c.name;
}
