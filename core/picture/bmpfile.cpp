#include "core/picture/bmpfile.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int ColorTableSize = 256 * 4;

qint64 rowStride(qint64 width)
{
    return (width + 3) & ~qint64(3);
}

} // namespace

QByteArray EncodeBmp8(const QImage &picture)
{
    QByteArray out;
    AppendBmp8(out, picture);
    return out;
}

namespace {

// The headers and colour table of an 8-bit BMP of picture; false when the picture is not
// 8-bit or too large for the format.
bool appendBmp8Header(QByteArray &out, const QImage &picture, qint64 extraReserve)
{
    if (picture.format() != QImage::Format_Indexed8 || picture.width() < 1 || picture.height() < 1)
        return false;
    const qint64 width = picture.width(), height = picture.height();
    const qint64 stride = rowStride(width);
    const qint64 imageSize = stride * height;
    const qint64 offset = FileHeaderSize + InfoHeaderSize + ColorTableSize;
    if (offset + imageSize > 0xFFFFFFFFLL)
        return false;

    out.reserve(out.size() + offset + (extraReserve < 0 ? imageSize : extraReserve));
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
    PutU32le(out, 0); // horizontal resolution
    PutU32le(out, 0); // vertical resolution
    PutU32le(out, 256); // colours used
    PutU32le(out, 0); // important colours: all
    // Colour table in bitmap order.
    const QList<QRgb> table = picture.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append('\0');
    }
    return true;
}

} // namespace

bool AppendBmp8(QByteArray &out, const QImage &picture)
{
    if (!appendBmp8Header(out, picture, -1))
        return false;
    const qint64 width = picture.width(), height = picture.height();
    // Rows, bottom row first.
    const QByteArray pad(rowStride(width) - width, '\0');
    for (qint64 y = height - 1; y >= 0; --y) {
        out.append(reinterpret_cast<const char *>(picture.constScanLine(int(y))), width);
        out.append(pad);
    }
    return true;
}

bool WriteBmp8(const QImage &picture, const std::function<bool(const char *, qint64)> &sink)
{
    QByteArray head;
    if (!appendBmp8Header(head, picture, 0) || !sink(head.constData(), head.size()))
        return false;
    const qint64 width = picture.width(), stride = rowStride(width);
    // The rows go out through a staging buffer of about a megabyte that the thread keeps,
    // so that neither a whole-file buffer nor a write per row is needed.
    thread_local std::vector<char> staging;
    const qint64 rowsPerChunk = std::max<qint64>(1, (qint64(1) << 20) / stride);
    staging.resize(std::size_t(rowsPerChunk * stride));
    qint64 used = 0;
    for (qint64 y = picture.height() - 1; y >= 0; --y) {
        char *to = staging.data() + used;
        std::memcpy(to, picture.constScanLine(int(y)), std::size_t(width));
        std::memset(to + width, 0, std::size_t(stride - width));
        used += stride;
        if (used == rowsPerChunk * stride || y == 0) {
            if (!sink(staging.data(), used))
                return false;
            used = 0;
        }
    }
    return true;
}

namespace {

// The fields of an uncompressed palette bitmap, checked against the bytes there.
struct TBmpLayout {
    qint64 Width = 0;
    qint64 Height = 0;
    bool BottomUp = true;
    int Bits = 0;
    qint64 Stride = 0;
    QList<QRgb> Colors; // the file's colour table
    const std::uint8_t *Pixels = nullptr;
};

// available: the bytes of the file from its start, when bytes holds only its headers (the
// pixels are then not pointed at).
bool readLayout(
    const QByteArray &bytes, int wantedBits, TBmpLayout &layout, QString *error, qint64 available = -1)
{
    if (available < 0)
        available = bytes.size();
    TByteReader in(bytes);
    if (!in.has(FileHeaderSize + InfoHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M')
        return Fail(error, GetUiMessage(UiKey::String::BmpNotBitmap));
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
        return Fail(error, GetUiMessage(UiKey::String::BmpHeaderDamaged));
    if (planes != 1 || bits != wantedBits || compression != 0)
        return Fail(error, GetUiMessage(UiKey::String::BmpNotUncompressed).arg(wantedBits));
    const qint64 height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::BmpSizeUnsupported).arg(width).arg(rawHeight));
    // Every palette bitmap becomes an 8-bit picture, one byte a cell.
    if (!CheckPictureBudget(width, height, 1, error))
        return false;
    const qint64 maxColors = qint64(1) << bits;
    const qint64 colorCount = colorsUsed == 0 ? maxColors : colorsUsed;
    if (colorCount > maxColors)
        return Fail(error, GetUiMessage(UiKey::String::BmpColorTableDamaged));
    const qint64 tableOffset = FileHeaderSize + infoSize;
    const qint64 stride = ((width * bits + 31) / 32) * 4;
    if (pixelOffset < tableOffset + colorCount * 4 || tableOffset + colorCount * 4 > bytes.size()
        || pixelOffset > available || stride * height > available - pixelOffset)
        return Fail(error, GetUiMessage(UiKey::String::BmpTruncated));
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    layout.Width = width;
    layout.Height = height;
    layout.BottomUp = rawHeight > 0;
    layout.Bits = bits;
    layout.Stride = stride;
    layout.Colors.resize(colorCount);
    for (qint64 i = 0; i < colorCount; ++i) {
        const std::uint8_t *t = data + tableOffset + 4 * i;
        layout.Colors[i] = qRgb(t[2], t[1], t[0]);
    }
    layout.Pixels = pixelOffset + stride * height <= bytes.size() ? data + pixelOffset : nullptr;
    return true;
}

// The stored row of picture row y.
const std::uint8_t *storedRow(const TBmpLayout &layout, qint64 y)
{
    return layout.Pixels + (layout.BottomUp ? layout.Height - 1 - y : y) * layout.Stride;
}

// The 8-bit picture of the layout's size with its colour table (256 entries, the unused
// ones black); its cells are left for the caller to fill.
bool newPicture(const TBmpLayout &layout, QImage &out, QString *error)
{
    out = QImage(int(layout.Width), int(layout.Height), QImage::Format_Indexed8);
    if (out.isNull())
        return Fail(error, GetUiMessage(UiKey::String::BmpNoMemory));
    QList<QRgb> table = layout.Colors;
    table.resize(256, qRgb(0, 0, 0));
    out.setColorTable(table);
    return true;
}

bool imageLength(const QByteArray &bytes, qint64 available, qint64 &length, QString *error)
{
    TByteReader in(bytes);
    if (!in.has(FileHeaderSize + InfoHeaderSize) || bytes[0] != 'B' || bytes[1] != 'M')
        return Fail(error, GetUiMessage(UiKey::String::BmpNotBitmap));
    in.skip(2);
    const qint64 fileSize = in.u32le();
    in.skip(4);
    const qint64 pixelOffset = in.u32le();
    in.skip(4);
    const qint64 width = in.i32le();
    const qint64 rawHeight = in.i32le();
    in.skip(2);
    const qint64 bits = in.u16le();
    const std::uint32_t compression = in.u32le();
    const qint64 imageSize = in.u32le();
    const qint64 height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (!in.ok() || width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide || bits < 1
        || bits > 32)
        return Fail(error, GetUiMessage(UiKey::String::BmpHeaderDamaged));
    // Run-length coded rows (1, 2) have no fixed length; their image size says it.
    const bool coded = compression == 1 || compression == 2;
    const qint64 pixelEnd = pixelOffset + (coded ? imageSize : ((width * bits + 31) / 32) * 4 * height);
    if (pixelEnd != fileSize || fileSize > available || pixelOffset < FileHeaderSize + InfoHeaderSize)
        return Fail(error, GetUiMessage(UiKey::String::BmpTruncated));
    length = pixelEnd;
    return true;
}

} // namespace

bool BmpImageLength(const QByteArray &bytes, qint64 &length, QString *error)
{
    return imageLength(bytes, bytes.size(), length, error);
}

bool ReadBmp8Image(QIODevice &device, qint64 available, QImage &picture, qint64 &consumed, QString *error)
{
    const auto cutShort = [&] { return Fail(error, GetUiMessage(UiKey::String::BmpTruncated)); };
    QByteArray head = device.read(FileHeaderSize + InfoHeaderSize);
    if (!IsBmp8(head))
        return Fail(error, GetUiMessage(UiKey::String::BmpNotUncompressed).arg(8));
    const qint64 pixelOffset = TByteReader(head, 10).u32le();
    // The headers and colour table of an 8-bit bitmap take a few kilobytes.
    if (pixelOffset < head.size() || pixelOffset > available || pixelOffset > (1 << 20))
        return cutShort();
    head += device.read(pixelOffset - head.size());
    if (head.size() != pixelOffset)
        return cutShort();
    qint64 length = 0;
    TBmpLayout layout;
    if (!imageLength(head, available, length, error) || !readLayout(head, 8, layout, error, available))
        return false;
    QImage out;
    if (!newPicture(layout, out, error))
        return false;
    QByteArray row(qsizetype(layout.Stride), Qt::Uninitialized);
    for (qint64 stored = 0; stored < layout.Height; ++stored) {
        if (device.read(row.data(), row.size()) != row.size())
            return cutShort();
        const qint64 y = layout.BottomUp ? layout.Height - 1 - stored : stored;
        std::memcpy(out.scanLine(int(y)), row.constData(), size_t(layout.Width));
    }
    picture = out;
    consumed = length;
    return true;
}

bool DecodeBmp8Image(const QByteArray &bytes, QImage &picture, qint64 &consumed, QString *error)
{
    qint64 length = 0;
    if (!BmpImageLength(bytes, length, error))
        return false;
    // A view of the image's bytes: the pixels are copied once, into the picture.
    if (!DecodeBmp8(QByteArray::fromRawData(bytes.constData(), qsizetype(length)), picture, error))
        return false;
    consumed = length;
    return true;
}

bool IsBmp8(const QByteArray &bytes)
{
    TByteReader in(bytes);
    if (!in.has(FileHeaderSize + 20) || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    in.seek(14);
    const qint64 infoSize = in.u32le();
    in.seek(28);
    const int bits = in.u16le();
    const std::uint32_t compression = in.u32le();
    return in.ok() && infoSize >= InfoHeaderSize && bits == 8 && compression == 0;
}

bool DecodeBmp8(const QByteArray &bytes, QImage &picture, QString *error)
{
    TBmpLayout layout;
    if (!readLayout(bytes, 8, layout, error))
        return false;
    QImage out;
    if (!newPicture(layout, out, error))
        return false;
    for (qint64 y = 0; y < layout.Height; ++y)
        std::memcpy(out.scanLine(int(y)), storedRow(layout, y), size_t(layout.Width));
    picture = out;
    return true;
}

bool DecodeBmpLowBit(const QByteArray &bytes, TLowBitPicture &picture, QString *error)
{
    TByteReader in(bytes, 28);
    const int bits = in.u16le();
    if (!in.ok() || (bits != 1 && bits != 2 && bits != 4))
        return Fail(error, GetUiMessage(UiKey::String::BmpNotLowBit));
    TBmpLayout layout;
    if (!readLayout(bytes, bits, layout, error))
        return false;
    TLowBitPicture out;
    out.Width = int(layout.Width);
    out.Height = int(layout.Height);
    out.Bits = bits;
    out.BytesPerLine = int((layout.Width * bits + 7) / 8);
    out.Colors = layout.Colors;
    out.Rows.resize(qint64(out.BytesPerLine) * out.Height);
    for (qint64 y = 0; y < layout.Height; ++y)
        std::memcpy(out.Rows.data() + y * out.BytesPerLine, storedRow(layout, y), size_t(out.BytesPerLine));
    picture = out;
    return true;
}

bool SaveBmp8File(const QImage &picture, const QString &fileName, QString *error)
{
    QByteArray head;
    if (!appendBmp8Header(head, picture, 0))
        return Fail(error, GetUiMessage(UiKey::String::BmpSaveNot8Bit));
    return WriteFileStreamed(
        fileName, [&](const TFileSink &sink, QString *) { return WriteBmp8(picture, sink); }, error);
}

bool LoadBmp8File(const QString &fileName, QImage &picture, QString *error)
{
    QByteArray bytes;
    if (!ReadWholeFile(fileName, MaxPictureFileSize, bytes, error))
        return false;
    return DecodeBmp8(bytes, picture, error);
}
