#include "core/decode/psdfile.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <cstring>
#include <vector>

namespace {

enum TPsdMode { BitmapMode = 0, GreyMode = 1, IndexedMode = 2, RgbMode = 3 };

// Unpacks one PackBits row of exactly rowBytes bytes from src[0..size); false when the
// packed bytes run out early or give too many bytes.
bool unpackBits(const std::uint8_t *src, qint64 size, std::uint8_t *dest, qint64 rowBytes)
{
    qint64 in = 0, out = 0;
    while (out < rowBytes) {
        if (in >= size)
            return false;
        const int n = std::int8_t(src[in++]);
        if (n >= 0) {
            const qint64 count = n + 1;
            if (in + count > size || out + count > rowBytes)
                return false;
            if (dest)
                std::memcpy(dest + out, src + in, size_t(count));
            in += count;
            out += count;
        } else if (n != -128) {
            const qint64 count = 1 - n;
            if (in >= size || out + count > rowBytes)
                return false;
            if (dest)
                std::memset(dest + out, src[in], size_t(count));
            ++in;
            out += count;
        }
    }
    return true;
}

struct TPsdHeader {
    qint64 Channels = 0;
    qint64 Height = 0;
    qint64 Width = 0;
    int Depth = 0;
    int Mode = BitmapMode;
};

// Where each row of each plane starts in the file and how many bytes it holds there.
struct TPsdRows {
    int Compression = 0;
    qint64 RowBytes = 0;
    qint64 Height = 0;
    std::vector<const std::uint8_t *> Start;
    std::vector<qint64> Size;

    // The row's unpacked bytes into dest (RowBytes of them); the rows were checked.
    void read(qint64 plane, qint64 y, std::uint8_t *dest) const
    {
        const size_t i = size_t(plane * Height + y);
        if (Compression == 0)
            std::memcpy(dest, Start[i], size_t(RowBytes));
        else
            unpackBits(Start[i], Size[i], dest, RowBytes);
    }
};

// The file header: signature, version, size, channels and the colour mode, checked for
// the kinds this reader takes and against the picture budget.
bool readHeader(TByteReader &in, TPsdHeader &h, QString *error)
{
    const std::uint8_t *sig = in.take(4);
    if (!sig || std::memcmp(sig, "8BPS", 4) != 0)
        return Fail(error, GetUiMessage(UiKey::String::PsdNotPsd));
    const int version = in.u16be();
    in.skip(6);
    h.Channels = in.u16be();
    h.Height = in.u32be();
    h.Width = in.u32be();
    h.Depth = in.u16be();
    h.Mode = in.u16be();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::PsdHeaderTruncated));
    if (version != 1)
        return Fail(error, GetUiMessage(UiKey::String::PsdVersion));
    if (h.Width < 1 || h.Height < 1 || h.Width > MaxPictureSide || h.Height > MaxPictureSide || h.Channels < 1
        || h.Channels > 56)
        return Fail(error, GetUiMessage(UiKey::String::PsdHeaderDamaged));
    const bool supported = (h.Mode == BitmapMode && h.Depth == 1) || (h.Mode == GreyMode && h.Depth == 8)
        || (h.Mode == IndexedMode && h.Depth == 8) || (h.Mode == RgbMode && h.Depth == 8 && h.Channels >= 3);
    if (!supported)
        return Fail(error, GetUiMessage(UiKey::String::PsdKindUnreadable));
    // RGB pictures decode to 4 bytes a cell; the others become 8-bit pictures.
    return CheckPictureBudget(h.Width, h.Height, h.Mode == RgbMode ? 4 : 1, error);
}

// The sections before the pixels: the colour mode data (the 256-colour table of indexed
// pictures, all reds, greens, blues), then the image resources and the layer and mask
// information, which are skipped; then the compression of the pixel data.
bool readSections(
    TByteReader &in, const TPsdHeader &h, const std::uint8_t *&colorData, int &compression, QString *error)
{
    const qint64 colorDataSize = in.u32be();
    colorData = in.take(colorDataSize);
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::PsdTruncated));
    if (h.Mode == IndexedMode && colorDataSize < 768)
        return Fail(error, GetUiMessage(UiKey::String::PsdColorTableDamaged));
    in.skip(in.u32be());
    in.skip(in.u32be());
    compression = in.u16be();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::PsdTruncated));
    if (compression != 0 && compression != 1)
        return Fail(error, GetUiMessage(UiKey::String::PsdCompression));
    return true;
}

// Finds every row of every plane, checked against the bytes there before anything is
// allocated for the picture.
bool locateRows(TByteReader &in, const TPsdHeader &h, TPsdRows &rows, QString *error)
{
    rows.RowBytes = h.Depth == 1 ? (h.Width + 7) / 8 : h.Width;
    rows.Height = h.Height;
    const qint64 planes = h.Mode == RgbMode ? 3 : 1;
    rows.Start.assign(size_t(planes * h.Height), nullptr);
    rows.Size.assign(size_t(planes * h.Height), rows.RowBytes);
    if (rows.Compression == 0) {
        if (!in.has(planes * h.Height * rows.RowBytes))
            return Fail(error, GetUiMessage(UiKey::String::PsdDataTruncated));
        const std::uint8_t *data = in.take(planes * h.Height * rows.RowBytes);
        for (qint64 i = 0; i < planes * h.Height; ++i)
            rows.Start[size_t(i)] = data + i * rows.RowBytes;
        return true;
    }
    // PackBits: a table of every channel's packed row sizes, then the rows.
    const qint64 count = h.Channels * h.Height;
    if (!in.has(count * 2))
        return Fail(error, GetUiMessage(UiKey::String::PsdDataTruncated));
    std::vector<qint64> counts(static_cast<size_t>(count));
    for (qint64 i = 0; i < count; ++i)
        counts[size_t(i)] = in.u16be();
    for (qint64 i = 0; i < planes * h.Height; ++i) {
        rows.Size[size_t(i)] = counts[size_t(i)];
        rows.Start[size_t(i)] = in.take(counts[size_t(i)]);
        if (!in.ok())
            return Fail(error, GetUiMessage(UiKey::String::PsdDataTruncated));
        if (!unpackBits(rows.Start[size_t(i)], rows.Size[size_t(i)], nullptr, rows.RowBytes))
            return Fail(error, GetUiMessage(UiKey::String::PsdDataDamaged));
    }
    return true;
}

// The pixels in the picture format of the mode; bits gets the mode's bits per cell.
bool decodePixels(const TPsdHeader &h, const std::uint8_t *colorData, const TPsdRows &rows, QImage &out,
    int &bits, QString *error)
{
    const QImage::Format format = h.Mode == BitmapMode ? QImage::Format_Mono
        : h.Mode == RgbMode                            ? QImage::Format_RGB32
                                                       : QImage::Format_Indexed8;
    out = QImage(int(h.Width), int(h.Height), format);
    if (out.isNull())
        return Fail(error, GetUiMessage(UiKey::String::PsdNoMemory));
    if (h.Mode == BitmapMode) {
        out.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
        for (qint64 y = 0; y < h.Height; ++y)
            rows.read(0, y, out.scanLine(int(y)));
        bits = 1;
    } else if (h.Mode == GreyMode || h.Mode == IndexedMode) {
        QList<QRgb> table(256);
        for (int i = 0; i < 256; ++i)
            table[i] = h.Mode == GreyMode ? qRgb(i, i, i)
                                          : qRgb(colorData[i], colorData[256 + i], colorData[512 + i]);
        out.setColorTable(table);
        for (qint64 y = 0; y < h.Height; ++y)
            rows.read(0, y, out.scanLine(int(y)));
        bits = 8;
    } else {
        const auto n = static_cast<size_t>(h.Width);
        std::vector<std::uint8_t> r(n), g(n), b(n);
        for (qint64 y = 0; y < h.Height; ++y) {
            rows.read(0, y, r.data());
            rows.read(1, y, g.data());
            rows.read(2, y, b.data());
            auto *d = reinterpret_cast<QRgb *>(out.scanLine(int(y)));
            for (qint64 x = 0; x < h.Width; ++x)
                d[x] = qRgb(r[size_t(x)], g[size_t(x)], b[size_t(x)]);
        }
        bits = 24;
    }
    return true;
}

} // namespace

bool DecodePsd(const QByteArray &bytes, QImage &picture, int &bits, QString *error)
{
    TByteReader in(bytes);
    TPsdHeader header;
    const std::uint8_t *colorData = nullptr;
    TPsdRows rows;
    if (!readHeader(in, header, error) || !readSections(in, header, colorData, rows.Compression, error)
        || !locateRows(in, header, rows, error))
        return false;
    QImage out;
    int outBits = 0;
    if (!decodePixels(header, colorData, rows, out, outBits, error))
        return false;
    picture = out;
    bits = outBits;
    return true;
}
