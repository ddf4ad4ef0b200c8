#include "core/palette/palettejoin.h"

#include "core/base/geometry.h"
#include "core/palette/colorreduce.h"

#include <algorithm>

namespace {

constexpr int JoinColours = 254; // entries left for picture colours beside black and white

// The used colours of one picture, most used first.
struct TUsedColours {
    std::vector<TPaletteItem> items;
    std::vector<std::int64_t> counts;
    int size() const { return int(items.size()); }
};

TUsedColours usedColours(const QImage &bmp)
{
    TUsedColours out;
    if (bmp.isNull() || bmp.format() != QImage::Format_Indexed8)
        return out;
    TPalettePairs pairs;
    TColorCounts counts;
    const int n = CountSortedColorPairs(bmp, pairs, counts);
    for (int i = 0; i < n; ++i) {
        out.items.push_back(pairs[i]);
        out.counts.push_back(counts[i].Count);
    }
    return out;
}

// Colours of Fewer that Other also has are dropped from Fewer; their counts go to Other.
void mergeDuplicates(TUsedColours &fewer, TUsedColours &other)
{
    if (other.size() == 0)
        return;
    TPalettePairs otherPairs {};
    for (int i = 0; i < other.size(); ++i)
        otherPairs[i] = other.items[i];
    const TLogPalette hpal = CreatePaletteHandle(otherPairs, other.size());
    TUsedColours kept;
    for (int i = 0; i < fewer.size(); ++i) {
        const TPaletteEntry &c = fewer.items[i].Color;
        const int e = NearestColorIndex(hpal, c) % other.size();
        if (ColorsWithinTolerance(other.items[e].Color, c, 0)) {
            other.counts[e] += fewer.counts[i];
        } else {
            kept.items.push_back(fewer.items[i]);
            kept.counts.push_back(fewer.counts[i]);
        }
    }
    fewer = std::move(kept);
}

// Sorted again, largest first, by the same selection sort as the first ordering
// (SortColorCountsDesc): each position takes the first of the remaining colours with the
// largest count, exchanged with the colour standing there. Equal counts therefore need not
// keep their order, and which colours survive a cut at 254 follows from that.
void sortByCount(TUsedColours &list)
{
    const int n = list.size();
    for (int i = 0; i + 1 < n; ++i) {
        int best = i;
        for (int j = i + 1; j < n; ++j)
            if (list.counts[j] > list.counts[best])
                best = j;
        std::swap(list.items[i], list.items[best]);
        std::swap(list.counts[i], list.counts[best]);
    }
}

void copyInto(QImage &dest, const QImage &src, const TRect &rect)
{
    if (src.isNull() || src.format() != QImage::Format_Indexed8)
        return;
    const int w = std::min({ rect.Width(), src.width(), dest.width() - rect.Left });
    const int h = std::min({ rect.Height(), src.height(), dest.height() - rect.Top });
    const int sx = std::max(0, -rect.Left), sy = std::max(0, -rect.Top);
    for (int y = sy; y < h; ++y) {
        const std::uint8_t *from = src.constScanLine(y);
        std::uint8_t *to = dest.scanLine(rect.Top + y);
        for (int x = sx; x < w; ++x)
            to[rect.Left + x] = from[x];
    }
}

} // namespace

void ChooseJoinColours(const std::vector<std::int64_t> &countsA, const std::vector<std::int64_t> &countsB,
    int &keepA, int &keepB)
{
    const int nA = int(countsA.size()), nB = int(countsB.size());
    keepA = 0;
    keepB = 0;
    // With one list empty the other keeps what fits (the merge below would keep nothing).
    if (nA == 0 || nB == 0) {
        keepA = std::min(nA, JoinColours);
        keepB = std::min(nB, JoinColours);
        return;
    }
    // Walks B's colours in order; j counts the colours of A at least as frequent as B's
    // colour i, so i + j + 1 is the rank of B's colour among both lists.
    for (int i = 0; i < nB; ++i) {
        for (int j = 0; j < nA; ++j) {
            if (countsB[i] > countsA[j]) {
                if (i + j + 1 <= JoinColours) {
                    keepB = i + 1;
                    break;
                }
                keepA = std::min(JoinColours - keepB, nA);
                return;
            }
            if (j == nA - 1 && nA <= JoinColours) {
                keepA = nA;
                keepB = std::min(JoinColours - nA, nB);
                return;
            }
            if (i + j + 1 >= JoinColours) {
                keepA = std::min(JoinColours - keepB, nA);
                return;
            }
        }
    }
    keepA = std::min(JoinColours - keepB, nA);
}

void JointPalette(const QImage &a, const QImage &b, TPalettePairs &pairs, int &count, TPalette256 &palette)
{
    TUsedColours listA = usedColours(a), listB = usedColours(b);
    if (listA.size() <= listB.size())
        mergeDuplicates(listA, listB);
    else
        mergeDuplicates(listB, listA);

    int keepA = listA.size(), keepB = listB.size();
    if (keepA + keepB > JoinColours) {
        sortByCount(listA);
        sortByCount(listB);
        ChooseJoinColours(listA.counts, listB.counts, keepA, keepB);
    }

    TPalettePairs joined {};
    int k = 0;
    for (int i = 0; i < keepA; ++i)
        joined[k++] = listA.items[i];
    for (int i = 0; i < keepB; ++i)
        joined[k++] = listB.items[i];
    BuildReducedPalette(joined, k, palette);
    PaletteToPairs(palette, pairs);
    count = k + 2;
}

void MergeTwoPicturePalettes(QImage &a, QImage &b)
{
    if (a.format() != QImage::Format_Indexed8 || b.format() != QImage::Format_Indexed8)
        return;
    TPalettePairs pairs, map;
    TPalette256 palette;
    int count = 0;
    JointPalette(a, b, pairs, count, palette);
    const TLogPalette hpal = PaletteToHPalette(palette);
    PaletteToPairs(palette, map);
    RemapToHPalette(hpal, a, palette, map);
    RemapToHPalette(hpal, b, palette, map);
}

bool ComposeJoin(QImage &dest, const TPalette256 &palette, const TRect &sizeRect, const QImage &b,
    const QImage &a, const TRect &rectA, const TRect &rectB)
{
    const int w = sizeRect.Width(), h = sizeRect.Height();
    if (w < 1 || h < 1 || w > 65535 || h > 65535)
        return false;
    QImage out = NewPicture(w, h, palette);
    if (out.isNull())
        return false;
    copyInto(out, a, rectA);
    copyInto(out, b, rectB);
    dest = out;
    return true;
}

bool MergePalettesForLink(QImage &a, QImage &b, int direction, QImage &dest, TRect &rectA, TRect &rectB)
{
    if (a.isNull() || b.isNull() || a.format() != QImage::Format_Indexed8
        || b.format() != QImage::Format_Indexed8)
        return false;
    const TPictureLayout layout
        = direction == 1 ? LayoutLeftRight(a.size(), b.size()) : LayoutTopBottom(a.size(), b.size());
    if (layout.Bounds.Width() > 65535 || layout.Bounds.Height() > 65535)
        return false;
    QImage joinedA = a, joinedB = b; // the callers' pictures change only on success
    MergeTwoPicturePalettes(joinedA, joinedB);
    TPalette256 palette;
    GetBitmapPalette(joinedA, palette);
    if (!ComposeJoin(dest, palette, layout.Bounds, joinedB, joinedA, layout.RectA, layout.RectB))
        return false;
    a = joinedA;
    b = joinedB;
    rectA = layout.RectA;
    rectB = layout.RectB;
    return true;
}
