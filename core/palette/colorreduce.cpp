#include "core/palette/colorreduce.h"

#include <algorithm>
#include <cmath>
#include <vector>

// --- Group lists ------------------------------------------------------------------------

int AddColorEntry(TOnePaletteArray &list, const TPaletteItem &item)
{
    const int i = list.length();
    list.setLength(i + 1);
    list[i] = item;
    return i;
}

void AddColorEntries(TOnePaletteArray &list, const TOnePaletteArray &other)
{
    const TOnePaletteArray source = other; // keeps the items when other is list itself
    const int start = list.length();
    list.setLength(start + source.length());
    std::copy(source.begin(), source.end(), list.begin() + start);
}

void DeleteColorEntry(TOnePaletteArray &list, int i)
{
    if (i < 0 || i >= list.length())
        return;
    TOnePaletteArray out(list.size() - 1);
    std::copy(list.begin(), list.begin() + i, out.begin());
    std::copy(list.begin() + i + 1, list.end(), out.begin() + i);
    list = out;
}

bool FindColorEntry(TOnePaletteArray &list, int index, bool del)
{
    for (int i = 0; i < list.length(); ++i) {
        if (list[i].Index == index) {
            if (del)
                DeleteColorEntry(list, i);
            return true;
        }
    }
    return false;
}

bool FindColorInGroups(TTwoPaletteArray &groups, int index)
{
    for (int g = 0; g < groups.length(); ++g)
        if (FindColorEntry(groups[g], index, true))
            return true;
    return false;
}

void AddColorGroup(TTwoPaletteArray &groups)
{
    groups.setLength(groups.size() + 1);
}

void DeleteColorGroup(TTwoPaletteArray &groups, int i)
{
    if (i < 0 || i >= groups.length())
        return;
    TTwoPaletteArray out(groups.size() - 1);
    std::copy(groups.begin(), groups.begin() + i, out.begin());
    std::copy(groups.begin() + i + 1, groups.end(), out.begin() + i);
    groups = out;
}

void MaxGroupLength(const TTwoPaletteArray &groups, int &maxLen)
{
    maxLen = 0;
    for (const auto &g : groups)
        maxLen = std::max(maxLen, int(g.length()));
}

// --- Reduction --------------------------------------------------------------------------

static double colourDistance(const TPaletteEntry &a, const TPaletteEntry &b)
{
    const double dr = a.Red - b.Red, dg = a.Green - b.Green, db = a.Blue - b.Blue;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

void BuildColorGroups(
    TPalettePairs &pairs, int &count, int n, TTwoPaletteArray &groups, int &maxLen, int difference)
{
    n = std::clamp(n, 0, 256);
    groups = TTwoPaletteArray();
    maxLen = 0;
    if (count <= 0 || n == 0) {
        count = 0;
        return;
    }

    // Heads: the most used colour, then each colour far enough from the latest head.
    std::vector<int> heads { 0 };
    if (count >= 2) {
        for (int i = 1; i < n && int(heads.size()) < count; ++i)
            if (colourDistance(pairs[i].Color, pairs[heads.back()].Color) > difference)
                heads.push_back(i);
    }
    count = int(heads.size());

    TPalettePairs headPairs {};
    for (int g = 0; g < count; ++g)
        headPairs[g] = pairs[heads[g]];
    const TLogPalette hpal = CreatePaletteHandle(headPairs, count);
    groups.setLength(count);
    for (int i = 0; i < n; ++i)
        AddColorEntry(groups[NearestColorIndex(hpal, pairs[i].Color) % count], pairs[i]);
    MaxGroupLength(groups, maxLen);

    // Heads first, then every other pair in its earlier order.
    std::vector<bool> isHead(256, false);
    for (int h : heads)
        isHead[h] = true;
    TPalettePairs out = headPairs;
    int k = count;
    for (int i = 0; i < 256; ++i) {
        if (isHead[i])
            continue;
        bool sameIndexAsHead = false;
        for (int g = 0; g < count && !sameIndexAsHead; ++g)
            sameIndexAsHead = headPairs[g].Index == pairs[i].Index;
        if (!sameIndexAsHead && k < 256)
            out[k++] = pairs[i];
    }
    for (; k < 256; ++k) // only reached when a pair list repeats a head's index
        out[k] = { k, BlackQuad };
    pairs = out;
}

void RemapToPaletteCount(
    const TPalettePairs &pairs, int count, TTwoPaletteArray &groups, TOnePaletteArray &list)
{
    if (count <= 0)
        return;
    count = std::min(count, 256);
    if (groups.length() < count)
        groups.setLength(count);
    const TLogPalette hpal = CreatePaletteHandle(pairs, count);
    for (const auto &item : list)
        AddColorEntry(groups[NearestColorIndex(hpal, item.Color) % count], item);
    list = TOnePaletteArray();
}

bool ReduceColorGroups(TPalettePairs &pairs, const TPalette256 &palette, int index, int count, int n)
{
    if (index < 0 || index > 255 || count < 0 || count > 255)
        return false;
    n = std::clamp(n, 0, 256);
    const TPaletteEntry &colour = palette[index];
    for (int i = 0; i < count; ++i) {
        const TPaletteEntry &c = pairs[i].Color;
        if (c.Red == colour.Red && c.Green == colour.Green && c.Blue == colour.Blue)
            return false;
    }
    for (int pos = std::max(count - 1, 0); pos < n; ++pos) {
        if (pairs[pos].Index != index)
            continue;
        const TPaletteItem moved = pairs[pos];
        if (pos > count)
            std::copy_backward(pairs.begin() + count, pairs.begin() + pos, pairs.begin() + pos + 1);
        else if (pos < count)
            pairs[pos] = pairs[count];
        pairs[count] = moved;
        return true;
    }
    return false;
}

void BuildColorMapFromGroups(TPalettePairs &map, const TTwoPaletteArray &groups, const TPalettePairs &heads)
{
    const int n = int(std::min<qsizetype>(groups.length(), 256));
    for (int g = 0; g < n; ++g) {
        if (heads[g].Index >= 0 && heads[g].Index < 256)
            map[heads[g].Index].Index = g;
        for (const auto &c : groups[g])
            if (c.Index >= 0 && c.Index < 256)
                map[c.Index].Index = g;
    }
}

void BuildReducedPalette(const TPalettePairs &pairs, int count, TPalette256 &palette)
{
    count = std::clamp(count, 0, 256);
    for (int i = 0; i < 256; ++i)
        palette[i] = i < count ? pairs[i].Color : BlackQuad;
    palette[254] = BlackQuad;
    palette[255] = WhiteQuad;
}

void ApplyColorReduction(
    QImage &bmp, const TPalettePairs &map, TPalette256 &palette, int count, TPalettePairs &pairs)
{
    RemapPixels(bmp, map);
    BuildReducedPalette(pairs, count, palette);
    SetBitmapPalette(bmp, palette);
    PaletteToPairs(palette, pairs);
}
