#include "core/picture/picturecomplete.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <QBuffer>

#include <cstring>
#include <vector>

namespace {

const std::uint8_t *data(const QByteArray &bytes)
{
    return reinterpret_cast<const std::uint8_t *>(bytes.constData());
}

// Run-length coded bitmap rows (8 or 4 bits a cell): cut short when the data ends before
// the end-of-picture mark and before the end of the last row.
bool bmpRunsCut(const QByteArray &bytes, qint64 pos, qint64 height, int bits)
{
    const std::uint8_t *b = data(bytes);
    const qint64 size = bytes.size();
    qint64 rows = 0;
    for (;;) {
        if (pos + 2 > size)
            return true;
        const int count = b[pos], value = b[pos + 1];
        pos += 2;
        if (count > 0)
            continue;
        if (value == 0) { // end of a row
            if (++rows >= height)
                return false;
        } else if (value == 1) { // end of the picture
            return false;
        } else if (value == 2) { // move right and down
            if (pos + 2 > size)
                return true;
            rows += b[pos + 1];
            pos += 2;
            if (rows >= height)
                return false;
        } else { // cells as stored, padded to an even count of bytes
            const qint64 stored = bits == 8 ? value : (value + 1) / 2;
            pos += (stored + 1) & ~qint64(1);
        }
    }
}

// A bitmap is cut short when its rows end past the end of the file. `bytes` holds at least
// the headers; fileSize is the size of the whole file. Run-length coded rows are followed
// through `bytes`, which must then be the whole file (see bmpNeedsWholeFile).
bool bmpCut(const QByteArray &bytes, qint64 fileSize)
{
    TByteReader in(bytes);
    if (!in.has(30) || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    in.seek(10);
    const qint64 offset = in.u32le();
    const qint64 infoSize = in.u32le();
    qint64 width = 0, height = 0;
    int bits = 0;
    std::uint32_t compression = 0;
    if (infoSize == 12) { // the old OS/2 header
        width = in.u16le();
        height = in.u16le();
        in.skip(2);
        bits = in.u16le();
    } else {
        width = in.i32le();
        height = in.i32le();
        in.skip(2);
        bits = in.u16le();
        compression = in.u32le();
    }
    if (height < 0)
        height = -height;
    if (!in.ok() || width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide || bits < 1
        || bits > 32)
        return false;
    switch (compression) {
    case 0: // uncompressed, or with bit fields
    case 3:
    case 6: {
        // Every row is padded to four bytes, the last one too: Qt reads the last row's
        // padding with it and leaves the whole row unset when it is missing.
        const qint64 stride = ((width * bits + 31) / 32) * 4;
        const qint64 needed = stride * height;
        return offset > fileSize || needed > fileSize - offset;
    }
    case 1:
    case 2:
        return bmpRunsCut(bytes, offset, height, compression == 1 ? 8 : 4);
    default:
        return false;
    }
}

// Whether the bitmap whose headers `header` holds keeps its rows run-length coded.
bool bmpNeedsWholeFile(const QByteArray &header)
{
    TByteReader in(header);
    if (!in.has(34) || header[0] != 'B' || header[1] != 'M')
        return false;
    in.seek(14);
    if (in.u32le() == 12)
        return false; // the old OS/2 header has no compression
    in.seek(30);
    const std::uint32_t compression = in.u32le();
    return in.ok() && (compression == 1 || compression == 2);
}

bool isRestartMarker(std::uint8_t m)
{
    return m >= 0xD0 && m <= 0xD7;
}

// A JPEG ends with its end-of-image marker; libjpeg makes one up (and grey rows) when
// the data runs out first.
bool jpegCut(const QByteArray &bytes)
{
    const std::uint8_t *b = data(bytes);
    const qint64 size = bytes.size();
    if (size < 4 || b[0] != 0xFF || b[1] != 0xD8)
        return false;
    qint64 pos = 2;
    while (pos < size) {
        if (b[pos] != 0xFF)
            return false; // not a marker where one belongs: left to the decoder
        while (pos < size && b[pos] == 0xFF) // fill bytes
            ++pos;
        if (pos >= size)
            return true;
        const std::uint8_t marker = b[pos++];
        if (marker == 0xD9)
            return false;
        if (marker == 0x01 || isRestartMarker(marker))
            continue;
        if (pos + 2 > size)
            return true;
        const qint64 length = (qint64(b[pos]) << 8) | b[pos + 1];
        if (length < 2)
            return false;
        pos += length;
        if (marker != 0xDA)
            continue;
        // Coded data up to the next marker: 0xFF is followed by 0 inside it.
        for (;;) {
            if (pos >= size)
                return true;
            const void *ff = std::memchr(b + pos, 0xFF, size_t(size - pos));
            if (!ff)
                return true;
            pos = static_cast<const std::uint8_t *>(ff) - b;
            if (pos + 1 >= size)
                return true;
            if (b[pos + 1] != 0 && !isRestartMarker(b[pos + 1]))
                break;
            pos += 2;
        }
    }
    return true;
}

// The strips (or tiles) of a TIFF's first picture and its colour map must lie inside the
// file: a decoder that misses the colour map shows every cell in another colour.
bool tiffCut(const QByteArray &bytes)
{
    if (bytes.size() < 8)
        return false;
    const bool little = bytes.startsWith("II");
    if (!little && !bytes.startsWith("MM"))
        return false;
    TByteReader in(bytes);
    auto u16 = [&] { return little ? in.u16le() : in.u16be(); };
    auto u32 = [&] { return little ? in.u32le() : in.u32be(); };
    in.seek(2);
    if (u16() != 42) // BigTIFF and other layouts are left to the decoder
        return false;
    const qint64 directory = u32();
    in.seek(directory);
    const qint64 entries = u16();
    if (!in.ok() || !in.has(entries * 12))
        return false; // no whole directory: the decoder refuses the file itself
    std::vector<qint64> offsets, counts;
    for (qint64 i = 0; i < entries; ++i) {
        in.seek(directory + 2 + i * 12);
        const int tag = u16(), type = u16();
        const qint64 n = u32();
        constexpr int ColorMapTag = 320;
        std::vector<qint64> *values = tag == 273 || tag == 324 ? &offsets
            : tag == 279 || tag == 325                         ? &counts
                                                               : nullptr;
        if (tag == ColorMapTag && type == 3) {
            if (n * 2 > 4)
                in.seek(u32());
            if (n > bytes.size() || !in.has(n * 2))
                return true;
            continue;
        }
        if (!values)
            continue;
        const int width = type == 3 ? 2 : type == 4 ? 4 : 0; // short or long numbers
        if (width == 0 || n < 1 || n > bytes.size() / width)
            return false;
        if (n * width > 4)
            in.seek(u32());
        if (!in.has(n * width))
            return true; // the table itself lies past the end
        values->resize(size_t(n));
        for (qint64 k = 0; k < n; ++k)
            (*values)[size_t(k)] = width == 2 ? u16() : u32();
    }
    if (!in.ok())
        return false;
    for (size_t i = 0; i < offsets.size() && i < counts.size(); ++i)
        if (offsets[i] > bytes.size() || counts[i] > bytes.size() - offsets[i])
            return true;
    return false;
}

// The run-length coded rows of a PCX must give every byte of every plane of every row.
bool pcxCut(const QByteArray &bytes)
{
    const std::uint8_t *b = data(bytes);
    if (bytes.size() < 128 || b[0] != 10)
        return false;
    TByteReader in(bytes, 4);
    const qint64 xmin = in.u16le(), ymin = in.u16le(), xmax = in.u16le(), ymax = in.u16le();
    in.seek(66);
    const qint64 bytesPerLine = in.u16le();
    const qint64 planes = b[65];
    const qint64 height = ymax - ymin + 1;
    if (!in.ok() || xmax < xmin || height < 1 || planes < 1 || bytesPerLine < 1)
        return false;
    const qint64 needed = bytesPerLine * planes * height;
    qint64 end = bytes.size();
    // An 8-bit palette picture keeps its 256 colours after the rows.
    if (b[3] == 8 && planes == 1 && end >= 128 + 769 && b[end - 769] == 12)
        end -= 769;
    if (b[2] == 0) // stored without runs
        return end - 128 < needed;
    qint64 pos = 128, decoded = 0;
    while (decoded < needed) {
        if (pos >= end)
            return true;
        const std::uint8_t v = b[pos++];
        if (v >= 0xC0) {
            if (pos >= end)
                return true;
            ++pos;
            decoded += v & 0x3F;
        } else {
            ++decoded;
        }
    }
    return false;
}

} // namespace

namespace {

bool isBmp(const QByteArray &name)
{
    return name == "BMP" || name == "DIB";
}

} // namespace

bool CheckPictureComplete(const char *format, const QByteArray &bytes, QString *error)
{
    const QByteArray name = QByteArray(format).toUpper();
    bool cut = false;
    if (isBmp(name))
        cut = bmpCut(bytes, bytes.size());
    else if (name == "JPEG" || name == "JPG")
        cut = jpegCut(bytes);
    else if (name == "TIFF" || name == "TIF")
        cut = tiffCut(bytes);
    else if (name == "PCX")
        cut = pcxCut(bytes);
    if (cut)
        return Fail(error, GetUiMessage(UiKey::String::PictureTruncated));
    return true;
}

bool CheckPictureComplete(const char *format, QIODevice &device, QString *error)
{
    const QByteArray name = QByteArray(format).toUpper();
    if (device.isSequential())
        return true; // nothing to look at without taking it from the decoder
    const qint64 start = device.pos();
    const qint64 size = device.size() - start;
    if (auto *buffer = qobject_cast<QBuffer *>(&device); buffer && start == 0)
        return CheckPictureComplete(format, buffer->data(), error); // already in memory
    if (isBmp(name)) {
        // An uncompressed bitmap is judged by its headers and the file's size, so that the
        // rows are not read twice; run-length coded rows are followed through the file.
        const QByteArray header = device.peek(64);
        if (!bmpNeedsWholeFile(header)) {
            if (bmpCut(header, size))
                return Fail(error, GetUiMessage(UiKey::String::PictureTruncated));
            return true;
        }
    } else if (name != "JPEG" && name != "JPG" && name != "TIFF" && name != "TIF" && name != "PCX") {
        return true;
    }
    // Coded formats: the file, which is far smaller than its picture, is read for the check
    // and let go before the picture is decoded.
    QByteArray bytes = device.read(size);
    device.seek(start);
    if (bytes.size() != size)
        return Fail(error, GetUiMessage(UiKey::String::PictureTruncated));
    return CheckPictureComplete(format, bytes, error);
}
