// TWeave: the edits that change the weave's size (inserts, deletes, twills and hills outside
// the repeat, tiled resizing, combining with another weave).
#include "weave/weave.h"

#include "core/picture/picturelimits.h"

#include <algorithm>

namespace {

bool isRectangular(const TWeaveArray &cells)
{
    const int wefts = WeaveWefts(cells);
    return std::all_of(
        cells.begin(), cells.end(), [wefts](const auto &warp) { return warp.length() == wefts; });
}

// Copies all of source into dest with its warp 0, weft 0 at [warp][weft].
void place(const TWeaveArray &source, TWeaveArray &dest, int warp, int weft)
{
    for (int i = 0; i < source.length(); ++i)
        for (int j = 0; j < source[i].length(); ++j)
            dest[warp + i][weft + j] = source[i][j];
}

} // namespace

bool TWeave::sizeAllowed(qint64 warps, qint64 wefts)
{
    return warps <= MaxWeaveSide && wefts <= MaxWeaveSide && CheckPictureBudget(warps, wefts, 1);
}

// New warps (wefts) at the end are empty; fewer drop the last ones.
void TWeave::resizeWarps(int warps)
{
    const qsizetype old = m_cells.length();
    m_cells.setLength(warps);
    for (qsizetype i = old; i < warps; ++i)
        m_cells[i].setLength(m_weftCount);
    m_warpCount = warps;
}

void TWeave::resizeWefts(int wefts)
{
    for (auto &warp : m_cells)
        warp.setLength(wefts);
    m_weftCount = wefts;
}

void TWeave::InsertWarps(int after, int count)
{
    if (after < -1 || after >= m_warpCount || count < 1
        || !sizeAllowed(qint64(m_warpCount) + count, m_weftCount))
        return;
    TWeaveArray cells(m_warpCount + count);
    for (int i = 0; i < cells.length(); ++i) {
        if (i <= after)
            cells[i] = m_cells[i];
        else if (i > after + count)
            cells[i] = m_cells[i - count];
        else
            cells[i].setLength(m_weftCount);
    }
    takeCells(std::move(cells));
    changed();
}

void TWeave::InsertWefts(int at, int count)
{
    if (m_warpCount == 0 || at < 0 || at > m_weftCount || count < 1
        || !sizeAllowed(m_warpCount, qint64(m_weftCount) + count))
        return;
    for (auto &warp : m_cells) {
        TDynamicByteArray longer(m_weftCount + count);
        std::copy(warp.begin(), warp.begin() + at, longer.begin());
        std::copy(warp.begin() + at, warp.end(), longer.begin() + at + count);
        warp = longer;
    }
    m_weftCount += count;
    changed();
}

void TWeave::DeleteWarps(int from, int count)
{
    if (from < 0 || from >= m_warpCount || count < 1 || count >= m_warpCount - 1
        || from + count > m_warpCount)
        return;
    TWeaveArray cells(m_warpCount - count);
    for (int i = 0; i < cells.length(); ++i)
        cells[i] = m_cells[i < from ? i : i + count];
    takeCells(std::move(cells));
    changed();
}

void TWeave::DeleteWefts(int at, int count)
{
    const int first = at - count + 1;
    if (at < 0 || at >= m_weftCount || count < 1 || count >= m_weftCount - 1 || first < 0)
        return;
    for (auto &warp : m_cells) {
        TDynamicByteArray shorter(m_weftCount - count);
        std::copy(warp.begin(), warp.begin() + first, shorter.begin());
        std::copy(warp.begin() + at + 1, warp.end(), shorter.begin() + first);
        warp = shorter;
    }
    m_weftCount -= count;
    changed();
}

void TWeave::DoubleWarpsInverted()
{
    if (m_warpCount == 0 || !sizeAllowed(qint64(m_warpCount) * 2, m_weftCount))
        return;
    resizeWarps(m_warpCount * 2);
    invertMirror(true);
}

void TWeave::DoubleWeftsInverted()
{
    if (m_weftCount == 0 || !sizeAllowed(m_warpCount, qint64(m_weftCount) * 2))
        return;
    resizeWefts(m_weftCount * 2);
    invertMirror(false);
}

// Old size N becomes 2N - 2: line N - k repeats line k for k = 1 .. N - 2. A weave one line
// wide would become empty, so it is left as it is.
void TWeave::hillOut(bool warps)
{
    const int old = warps ? m_warpCount : m_weftCount;
    const qint64 grown = 2 * qint64(old) - 2;
    if (old < 2 || !sizeAllowed(warps ? grown : m_warpCount, warps ? m_weftCount : grown))
        return;
    const int n = int(grown);
    if (warps)
        resizeWarps(n);
    else
        resizeWefts(n);
    for (int k = 1; k <= n / 2 - 1; ++k) {
        if (warps)
            m_cells[n - k] = m_cells[k].copy();
        else
            for (auto &warp : m_cells)
                warp[n - k] = warp[k];
    }
    changed();
}

void TWeave::WarpHillOut()
{
    hillOut(true);
}

void TWeave::WeftHillOut()
{
    hillOut(false);
}

void TWeave::ResizeTiled(int warps, int wefts)
{
    if (warps < 1 || wefts < 1 || !sizeAllowed(warps, wefts))
        return;
    TWeaveArray cells = MakeWeaveArray(warps, wefts);
    TileWeaveArray(m_cells, cells);
    takeCells(std::move(cells));
    changed();
}

void TWeave::Combine(const TWeaveArray &other, TCombineMode mode)
{
    if (WeaveWarps(other) == 0 || WeaveWefts(other) == 0 || !isRectangular(other))
        return;
    switch (mode) {
    case CombineAbove:
    case CombineBelow:
    case CombineLeft:
    case CombineRight:
        combineBeside(other, mode);
        return;
    case CombineTileAll:
        TileWeaveArray(other, m_cells);
        break;
    case CombineAtBlock:
    case CombineTileBlock:
        combineInBlock(other, mode);
        return;
    }
    changed();
}

// Above and below: aligned at warp 0; left and right: aligned at the last weft.
void TWeave::combineBeside(const TWeaveArray &other, TCombineMode mode)
{
    const int w = WeaveWarps(other), h = WeaveWefts(other);
    const bool stacked = mode == CombineAbove || mode == CombineBelow;
    const qint64 warps = stacked ? std::max(m_warpCount, w) : qint64(m_warpCount) + w;
    const qint64 wefts = stacked ? qint64(m_weftCount) + h : std::max(m_weftCount, h);
    if (!sizeAllowed(warps, wefts))
        return;
    TWeaveArray cells = MakeWeaveArray(int(warps), int(wefts));
    if (mode == CombineAbove) {
        place(m_cells, cells, 0, h);
        place(other, cells, 0, 0);
    } else if (mode == CombineBelow) {
        place(m_cells, cells, 0, 0);
        place(other, cells, 0, m_weftCount);
    } else if (mode == CombineLeft) {
        place(other, cells, 0, int(wefts) - h);
        place(m_cells, cells, w, int(wefts) - m_weftCount);
    } else {
        place(m_cells, cells, 0, int(wefts) - m_weftCount);
        place(other, cells, m_warpCount, int(wefts) - h);
    }
    takeCells(std::move(cells));
    changed();
}

// At the block: once, lower-left corner on the block's, clipped to it; tiled: repeated over
// the block.
void TWeave::combineInBlock(const TWeaveArray &other, TCombineMode mode)
{
    TWeaveRect b;
    if (!m_hasBlock || !blockInside(b))
        return;
    const int bw = b.HighWarp - b.LowWarp + 1, bh = b.HighWeft - b.LowWeft + 1;
    const int w = WeaveWarps(other), h = WeaveWefts(other);
    if (mode == CombineAtBlock) {
        for (int x = 0; x < std::min(bw, w); ++x)
            for (int y = 0; y < std::min(bh, h); ++y)
                m_cells[b.LowWarp + x][b.HighWeft - y] = other[x][h - 1 - y];
    } else {
        TWeaveArray tiled = MakeWeaveArray(bw, bh);
        TileWeaveArray(other, tiled);
        place(tiled, m_cells, b.LowWarp, b.LowWeft);
    }
    changed();
}
