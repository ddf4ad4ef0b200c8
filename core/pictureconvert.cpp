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

// Red bits 20-23, green bits 12-15 and blue bits 4-7 of 0xAARRGGBB.
inline int cellKey(QRgb c)
{
    return int(((c >> 12) & 0xF00) | ((c >> 8) & 0xF0) | ((c >> 4) & 0xF));
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

    // Count the pixels of every cell. Four tables, one per column modulo 4, keep runs of
    // one colour from waiting on the same counter; they are summed afterwards.
    std::vector<std::uint32_t> counts(4 * CellCount, 0);
    std::uint32_t *c0 = counts.data(), *c1 = c0 + CellCount, *c2 = c1 + CellCount, *c3 = c2 + CellCount;
    std::vector<TCellCount> items(CellCount + 1);
    for (int k = 0; k <= CellCount; ++k)
        items[k] = {k, 0};
    auto fold = [&] {
        for (int k = 0; k < CellCount; ++k) {
            items[k].Count += qint64(c0[k]) + c1[k] + c2[k] + c3[k];
            c0[k] = c1[k] = c2[k] = c3[k] = 0;
        }
    };
    qint64 sinceFold = 0; // pixels counted since the tables were last folded
    for (int y = 0; y < height; ++y) {
        if (sinceFold + width > qint64(UINT32_MAX)) { // no counter can overflow
            fold();
            sinceFold = 0;
        }
        sinceFold += width;
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        int x = 0;
        for (; x + 4 <= width; x += 4) {
            ++c0[cellKey(row[x])];
            ++c1[cellKey(row[x + 1])];
            ++c2[cellKey(row[x + 2])];
            ++c3[cellKey(row[x + 3])];
        }
        for (; x < width; ++x)
            ++c0[cellKey(row[x])];
    }
    fold();
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
    bool moves = false;
    for (int i = 0; i < 256; ++i) {
        map[i].Index = i;
        if (!sameRgb(old[i], palette[i]))
            map[i].Index = NearestColorIndex(palette.data(), 256, old[i].Red, old[i].Green, old[i].Blue);
        moves = moves || map[i].Index != i;
    }
    SetBitmapPalette(bmp, palette);
    if (moves)
        RemapPixels(bmp, map);
}
