#include "core/bmpfile.h"

#include "core/bytereader.h"
#include "core/filewrite.h"
#include "core/picturelimits.h"

#include <QCoreApplication>
#include <QFile>

#include <cstring>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int ColorTableSize = 256 * 4;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

qint64 rowStride(qint64 width) { return (width + 3) & ~qint64(3); }

} // namespace

QByteArray EncodeBmp8(const QImage &picture)
{
    if (picture.format() != QImage::Format_Indexed8 || picture.width() < 1 || picture.height() < 1)
        return {};
    const qint64 width = picture.width(), height = picture.height();
    const qint64 stride = rowStride(width);
    const qint64 imageSize = stride * height;
    const qint64 offset = FileHeaderSize + InfoHeaderSize + ColorTableSize;
    if (offset + imageSize > 0xFFFFFFFFLL)
        return {};

    QByteArray out;
    out.reserve(offset + imageSize);
    // File header.
    out.append("BM", 2);
    PutU32le(out, std::uint32_t(offset + imageSize));
    PutU16le(out, 0);
    PutU16le(out, 0);
    PutU32le(out, std::uint32_t(offset));
    // Info header: positive height (bottom-up rows), one plane, 8 bits, uncompressed.
    PutU32le(out, InfoHeaderSize);
    PutU32le(out, std::uint32_t(width));
    PutU32le(out, std::uint32_t(height));
    PutU16le(out, 1);
    PutU16le(out, 8);
    PutU32le(out, 0);
    PutU32le(out, std::uint32_t(imageSize));
    PutU32le(out, 0);   // horizontal resolution
    PutU32le(out, 0);   // vertical resolution
    PutU32le(out, 256); // colours used
    PutU32le(out, 0);   // important colours: all
    // Colour table in bitmap order.
    const QList<QRgb> table = picture.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append('\0');
    }
    // Rows, bottom row first.
    const QByteArray pad(stride - width, '\0');
    for (qint64 y = height - 1; y >= 0; --y) {
        out.append(reinterpret_cast<const char *>(picture.constScanLine(int(y))), width);
        out.append(pad);
    }
    return out;
}

bool DecodeBmp8(const QByteArray &bytes, QImage &picture, QString *error)
{
    TByteReader in(bytes);
    if (!in.has(FileHeaderSize + InfoHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M')
        return fail(error, QCoreApplication::translate("Bmp", "The file is not a bitmap."));
    in.skip(10);
    const qint64 pixelOffset = in.u32le();
    const qint64 infoSize = in.u32le();
    const qint64 width = in.i32le();
    const qint64 rawHeight = in.i32le();
    const int planes = in.u16le();
    const int bits = in.u16le();
    const std::uint32_t compression = in.u32le();
    in.skip(12);
    const qint64 colorsUsed = in.u32le();
    if (!in.ok() || infoSize < InfoHeaderSize || !TByteReader(bytes, FileHeaderSize).has(infoSize))
        return fail(error, QCoreApplication::translate("Bmp", "The bitmap header is damaged."));
    if (planes != 1 || bits != 8 || compression != 0)
        return fail(error, QCoreApplication::translate("Bmp", "The bitmap is not an uncompressed 8-bit bitmap."));
    const qint64 height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide)
        return fail(error, QCoreApplication::translate("Bmp", "The bitmap size %1 x %2 is not supported.")
                               .arg(width).arg(rawHeight));
    const qint64 colorCount = colorsUsed == 0 ? 256 : colorsUsed;
    if (colorCount > 256)
        return fail(error, QCoreApplication::translate("Bmp", "The bitmap's colour table is damaged."));
    const qint64 tableOffset = FileHeaderSize + infoSize;
    const qint64 stride = rowStride(width);
    if (pixelOffset < tableOffset + colorCount * 4 || pixelOffset > bytes.size()
        || stride * height > bytes.size() - pixelOffset)
        return fail(error, QCoreApplication::translate("Bmp", "The bitmap is truncated or damaged."));

    QImage out(int(width), int(height), QImage::Format_Indexed8);
    if (out.isNull())
        return fail(error, QCoreApplication::translate("Bmp", "Not enough memory for the bitmap."));
    QList<QRgb> table(256, qRgb(0, 0, 0));
    const auto *t = reinterpret_cast<const std::uint8_t *>(bytes.constData()) + tableOffset;
    for (qint64 i = 0; i < colorCount; ++i)
        table[i] = qRgb(t[4 * i + 2], t[4 * i + 1], t[4 * i]);
    out.setColorTable(table);
    const auto *pixels = reinterpret_cast<const std::uint8_t *>(bytes.constData()) + pixelOffset;
    const bool bottomUp = rawHeight > 0;
    for (qint64 row = 0; row < height; ++row) {
        const qint64 y = bottomUp ? height - 1 - row : row;
        std::memcpy(out.scanLine(int(y)), pixels + row * stride, size_t(width));
    }
    picture = out;
    return true;
}

bool SaveBmp8File(const QImage &picture, const QString &fileName, QString *error)
{
    const QByteArray bytes = EncodeBmp8(picture);
    if (bytes.isEmpty())
        return fail(error, QCoreApplication::translate("Bmp", "Only a non-empty 8-bit picture can be saved as an 8-bit bitmap."));
    return WriteFileAtomically(fileName, bytes, error);
}

bool LoadBmp8File(const QString &fileName, QImage &picture, QString *error)
{
    QByteArray bytes;
    if (!ReadWholeFile(fileName, bytes, error))
        return false;
    return DecodeBmp8(bytes, picture, error);
}
