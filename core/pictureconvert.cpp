#include "core/pictureconvert.h"

#include "core/palette.h"
#include "core/progress.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

struct TCellCount {
    int Key = 0;
    qint64 Count = 0;
};

constexpr int CellCount = 4096;

// The colour a cell key stands for: each nibble times 16 plus 7.
TPaletteEntry cellColor(int key)
{
    return {std::uint8_t(((key >> 8) & 0xF) * 16 + 7), std::uint8_t(((key >> 4) & 0xF) * 16 + 7),
            std::uint8_t((key & 0xF) * 16 + 7), 0};
}

inline int cellKey(QRgb c)
{
    return ((qRed(c) >> 4) << 8) | ((qGreen(c) >> 4) << 4) | (qBlue(c) >> 4);
}

bool sameRgb(const TPaletteEntry &a, const TPaletteEntry &b)
{
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

} // namespace

void ConvertPictureTo8Bit(const QImage &src, QImage &dest)
{
    if (src.isNull() || src.width() < 1 || src.height() < 1 || src.format() == QImage::Format_Indexed8)
        return;
    const QImage rgb = src.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width(), height = rgb.height();

    // Count the pixels of every cell; item k starts as (k, 0).
    std::vector<TCellCount> items(CellCount + 1);
    for (int k = 0; k <= CellCount; ++k)
        items[k] = {k, 0};
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            ++items[cellKey(row[x])].Count;
    }
    // Move the used cells, in key order, to the front; clear the rest.
    int n = 0;
    for (int k = 0; k < CellCount; ++k)
        if (items[k].Count > 0)
            items[n++] = items[k];
    for (int k = n; k <= CellCount; ++k)
        items[k] = {0, 0};
    // Most frequent first; equal counts keep key order.
    std::stable_sort(items.begin(), items.begin() + n,
                     [](const TCellCount &a, const TCellCount &b) { return a.Count > b.Count; });

    TPalette256 palette;
    for (int i = 0; i < 256; ++i)
        palette[i] = cellColor(items[i].Key);
    std::array<std::uint8_t, CellCount> indexOf{};
    for (int i = 0; i < n && i < 256; ++i)
        indexOf[items[i].Key] = std::uint8_t(i);
    for (int i = 256; i < n; ++i) {
        const TPaletteEntry c = cellColor(items[i].Key);
        indexOf[items[i].Key] = std::uint8_t(NearestColorIndex(palette.data(), 256, c.Red, c.Green, c.Blue));
    }

    QImage out(width, height, QImage::Format_Indexed8);
    if (out.isNull())
        return;
    SetBitmapPalette(out, palette);
    ShowProgressGauge();
    TProgressSteps progress(height);
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        std::uint8_t *d = out.scanLine(y);
        for (int x = 0; x < width; ++x)
            d[x] = indexOf[cellKey(row[x])];
        progress.step(y + 1);
    }
    progress.finish();
    dest = out;
}

void EnsureBlackAndWhite(QImage &bmp)
{
    if (bmp.format() != QImage::Format_Indexed8)
        return;
    TPalette256 old;
    GetBitmapPalette(bmp, old);
    const bool hasWhite = PaletteHasColor(old, WhiteQuad);
    const bool hasBlack = PaletteHasColor(old, BlackQuad);
    if (hasWhite && hasBlack) {
        if (bmp.colorCount() != 256)
            SetBitmapPalette(bmp, old); // a short table is filled up with black
        return;
    }
    TPalette256 palette = old;
    if (!hasWhite)
        palette[255] = WhiteQuad;
    if (!hasBlack) {
        if (sameRgb(palette[255], WhiteQuad))
            palette[254] = BlackQuad;
        else
            palette[255] = BlackQuad;
    }
    // Only the cells of overwritten entries move; the others keep their index, so
    // duplicate entries survive.
    TPalettePairs map;
    for (int i = 0; i < 256; ++i) {
        map[i].Index = i;
        if (!sameRgb(old[i], palette[i]))
            map[i].Index = NearestColorIndex(palette.data(), 256, old[i].Red, old[i].Green, old[i].Blue);
    }
    SetBitmapPalette(bmp, palette);
    RemapPixels(bmp, map);
}
