// Counting the colours of a picture, ordering them by use, and finding free entries.
#include "core/palette/palette.h"

#include <algorithm>

int CountColorUse(const QImage &bmp, TColorCounts &counts)
{
    // Four partial histograms break the store-to-load chain on runs of one colour.
    std::array<std::array<std::int64_t, 256>, 4> part {};
    const int w = bmp.width();
    for (int y = 0, h = bmp.height(); y < h; ++y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        int x = 0;
        for (; x + 4 <= w; x += 4) {
            ++part[0][row[x]];
            ++part[1][row[x + 1]];
            ++part[2][row[x + 2]];
            ++part[3][row[x + 3]];
        }
        for (; x < w; ++x)
            ++part[0][row[x]];
    }
    int used = 0;
    for (int i = 0; i < 256; ++i) {
        const std::int64_t n = part[0][i] + part[1][i] + part[2][i] + part[3][i];
        counts[i] = { i, static_cast<std::int32_t>(std::min<std::int64_t>(n, INT32_MAX)) };
        if (n != 0)
            ++used;
    }
    return used;
}

void SortColorCountsDesc(TColorCounts &counts)
{
    for (int i = 0; i < 255; ++i) {
        int best = i;
        for (int j = i + 1; j < 256; ++j)
            if (counts[j].Count > counts[best].Count)
                best = j;
        std::swap(counts[i], counts[best]);
    }
}

int UsedColorPairs(TPalettePairs &pairs, const TPalette256 &palette, const TColorCounts &sortedCounts)
{
    int used = 0;
    for (int i = 0; i < 256; ++i) {
        const int index = sortedCounts[i].Index & 0xFF;
        pairs[i].Index = sortedCounts[i].Index;
        if (sortedCounts[i].Count != 0) {
            pairs[i].Color = palette[index];
            ++used;
        } else {
            pairs[i].Color = { 0, 0, 0, 0 };
        }
    }
    return used;
}

int CountSortedColorPairs(const QImage &bmp, TPalettePairs &pairs, TColorCounts &counts)
{
    CountColorUse(bmp, counts);
    SortColorCountsDesc(counts);
    TPalette256 own;
    GetBitmapPalette(bmp, own);
    return UsedColorPairs(pairs, own, counts);
}

int SortPictureColors(const QImage &bmp, TPalettePairs &pairs, TPalette256 &palette)
{
    TColorCounts counts;
    const int used = CountSortedColorPairs(bmp, pairs, counts);
    GetBitmapPalette(bmp, palette);
    PairsToPalette(palette, pairs);
    return used;
}

void GetUsedColorsByFrequency(const QImage &bmp, const TPalette256 &palette, TColorArray &colors)
{
    TColorCounts counts;
    const int used = CountColorUse(bmp, counts);
    SortColorCountsDesc(counts);
    colors.setLength(used);
    for (int i = 0; i < used; ++i)
        colors[i] = PlainColor(palette[counts[i].Index]);
}

void GetColorIndexBounds(const QImage &bmp, int index, TRect &r)
{
    const int w = bmp.width(), h = bmp.height();
    r = { w, h, 0, 0 };
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (row[x] != index)
                continue;
            r.Left = std::min(r.Left, x);
            r.Top = std::min(r.Top, y);
            r.Right = std::max(r.Right, x);
            r.Bottom = std::max(r.Bottom, y);
        }
    }
    if (r.Right < r.Left)
        r.Left = r.Right;
    if (r.Bottom < r.Top)
        r.Top = r.Bottom;
}

bool IsColumnUniform(const QImage &bmp, int col)
{
    if (col < 0 || col >= bmp.width() || bmp.height() == 0)
        return true;
    const QList<QRgb> table = bmp.colorTable();
    auto colourOf = [&](int index) { return index < table.size() ? (table[index] & 0xFFFFFF) : 0u; };
    const QRgb first = colourOf(bmp.constScanLine(0)[col]);
    for (int y = 1, h = bmp.height(); y < h; ++y)
        if (colourOf(bmp.constScanLine(y)[col]) != first)
            return false;
    return true;
}

int FindFirstUnusedEntry(const TColorCounts &counts)
{
    for (int i = 0; i < 256; ++i)
        if (counts[i].Count == 0)
            return i;
    return -1;
}

TColor PickUnusedColor(int index, TPalette256 &palette, const TColorCounts &counts)
{
    if (index < 0 || index > 255)
        return 0;
    bool mark[3][256] = {};
    for (int i = 0; i < 256; ++i) {
        if (counts[i].Count == 0)
            continue;
        const int v = counts[i].Index & 0xFF;
        mark[0][palette[v].Red] = true;
        mark[1][palette[v].Green] = true;
        mark[2][palette[v].Blue] = true;
    }
    std::uint8_t channel[3] = { 0, 0, 0 };
    for (int c = 0; c < 3; ++c) {
        int found = -1;
        for (int v = 126; v <= 255 && found < 0; ++v)
            if (!mark[c][v])
                found = v;
        for (int v = 125; v >= 0 && found < 0; --v)
            if (!mark[c][v])
                found = v;
        channel[c] = std::uint8_t(std::max(found, 0));
    }
    palette[index] = { channel[0], channel[1], channel[2], 0 };
    return PaletteIndexToColor(palette, index);
}

int AllocFreePaletteColor(const QImage &bmp, TColor &newColor, TPalette256 &palette)
{
    GetBitmapPalette(bmp, palette);
    TColorCounts counts;
    CountColorUse(bmp, counts);
    const int index = FindFirstUnusedEntry(counts);
    newColor = PickUnusedColor(index, palette, counts);
    return index;
}
