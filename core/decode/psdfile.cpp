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

} // namespace

bool DecodePsd(const QByteArray &bytes, QImage &picture, int &bits, QString *error)
{
    TByteReader in(bytes);
    const std::uint8_t *sig = in.take(4);
    if (!sig || std::memcmp(sig, "8BPS", 4) != 0)
        return Fail(error, GetUiMessage(UiKey::String::PsdNotPsd));
    const int version = in.u16be();
    in.skip(6);
    const qint64 channels = in.u16be();
    const qint64 height = in.u32be();
    const qint64 width = in.u32be();
    const int depth = in.u16be();
    const int mode = in.u16be();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::PsdHeaderTruncated));
    if (version != 1)
        return Fail(error, GetUiMessage(UiKey::String::PsdVersion));
    if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide || channels < 1
        || channels > 56)
        return Fail(error, GetUiMessage(UiKey::String::PsdHeaderDamaged));
    const bool supported = (mode == BitmapMode && depth == 1) || (mode == GreyMode && depth == 8)
        || (mode == IndexedMode && depth == 8) || (mode == RgbMode && depth == 8 && channels >= 3);
    if (!supported)
        return Fail(error, GetUiMessage(UiKey::String::PsdKindUnreadable));
    // RGB pictures decode to 4 bytes a cell; the others become 8-bit pictures.
    if (!CheckPictureBudget(width, height, mode == RgbMode ? 4 : 1, error))
        return false;

    // Colour mode data: the 256-colour table of indexed pictures (all reds, greens, blues).
    const qint64 colorDataSize = in.u32be();
    const std::uint8_t *colorData = in.take(colorDataSize);
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::PsdTruncated));
    if (mode == IndexedMode && colorDataSize < 768)
        return Fail(error, GetUiMessage(UiKey::String::PsdColorTableDamaged));
    // Image resources, then layer and mask information: skipped.
    in.skip(in.u32be());
    in.skip(in.u32be());
    const int compression = in.u16be();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::PsdTruncated));
    if (compression != 0 && compression != 1)
        return Fail(error, GetUiMessage(UiKey::String::PsdCompression));

    const qint64 rowBytes = depth == 1 ? (width + 7) / 8 : width;
    const qint64 planes = mode == RgbMode ? 3 : 1;
    // Where each row of each plane starts and how many bytes it has, checked against
    // the bytes there before anything is allocated.
    std::vector<const std::uint8_t *> rowStart(size_t(planes * height));
    std::vector<qint64> rowSize(size_t(planes * height), rowBytes);
    if (compression == 0) {
        if (!in.has(planes * height * rowBytes))
            return Fail(error, GetUiMessage(UiKey::String::PsdDataTruncated));
        const std::uint8_t *data = in.take(planes * height * rowBytes);
        for (qint64 i = 0; i < planes * height; ++i)
            rowStart[size_t(i)] = data + i * rowBytes;
    } else {
        const qint64 rows = channels * height;
        if (!in.has(rows * 2))
            return Fail(error, GetUiMessage(UiKey::String::PsdDataTruncated));
        std::vector<qint64> counts(static_cast<size_t>(rows));
        for (qint64 i = 0; i < rows; ++i)
            counts[size_t(i)] = in.u16be();
        for (qint64 i = 0; i < planes * height; ++i) {
            rowSize[size_t(i)] = counts[size_t(i)];
            rowStart[size_t(i)] = in.take(counts[size_t(i)]);
            if (!in.ok())
                return Fail(error, GetUiMessage(UiKey::String::PsdDataTruncated));
            if (!unpackBits(rowStart[size_t(i)], rowSize[size_t(i)], nullptr, rowBytes))
                return Fail(error, GetUiMessage(UiKey::String::PsdDataDamaged));
        }
    }

    auto readRow = [&](qint64 plane, qint64 y, std::uint8_t *dest) {
        const size_t i = size_t(plane * height + y);
        if (compression == 0)
            std::memcpy(dest, rowStart[i], size_t(rowBytes));
        else
            unpackBits(rowStart[i], rowSize[i], dest, rowBytes);
    };

    QImage out;
    if (mode == BitmapMode) {
        out = QImage(int(width), int(height), QImage::Format_Mono);
        if (out.isNull())
            return Fail(error, GetUiMessage(UiKey::String::PsdNoMemory));
        out.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
        for (qint64 y = 0; y < height; ++y)
            readRow(0, y, out.scanLine(int(y)));
        bits = 1;
    } else if (mode == GreyMode || mode == IndexedMode) {
        out = QImage(int(width), int(height), QImage::Format_Indexed8);
        if (out.isNull())
            return Fail(error, GetUiMessage(UiKey::String::PsdNoMemory));
        QList<QRgb> table(256);
        for (int i = 0; i < 256; ++i)
            table[i] = mode == GreyMode ? qRgb(i, i, i)
                                        : qRgb(colorData[i], colorData[256 + i], colorData[512 + i]);
        out.setColorTable(table);
        for (qint64 y = 0; y < height; ++y)
            readRow(0, y, out.scanLine(int(y)));
        bits = 8;
    } else {
        out = QImage(int(width), int(height), QImage::Format_RGB32);
        if (out.isNull())
            return Fail(error, GetUiMessage(UiKey::String::PsdNoMemory));
        const auto n = static_cast<size_t>(width);
        std::vector<std::uint8_t> r(n), g(n), b(n);
        for (qint64 y = 0; y < height; ++y) {
            readRow(0, y, r.data());
            readRow(1, y, g.data());
            readRow(2, y, b.data());
            auto *d = reinterpret_cast<QRgb *>(out.scanLine(int(y)));
            for (qint64 x = 0; x < width; ++x)
                d[x] = qRgb(r[size_t(x)], g[size_t(x)], b[size_t(x)]);
        }
        bits = 24;
    }
    picture = out;
    return true;
}
