// TWeave: the edits that keep the weave's size (cells, block, mirrors, diagonals, rotation,
// swaps, shifts, twills inside the repeat, symmetry axes, the reverse side).
#include "weave/weave.h"

#include <utility>

namespace {

std::uint8_t inverted(std::uint8_t cell)
{
    return cell ? 0 : 1;
}

// Mode 0 exchanges the two cells, 1 copies the first onto the second, 2 the second onto the
// first; any other mode leaves both.
void mirrorPair(std::uint8_t &first, std::uint8_t &second, int mode)
{
    if (mode == 0)
        std::swap(first, second);
    else if (mode == 1)
        second = first;
    else if (mode == 2)
        first = second;
}

} // namespace

void TWeave::ToggleCell(int warp, int weft)
{
    if (warp < 0 || warp >= m_warpCount || weft < 0 || weft >= m_weftCount)
        return;
    m_cells[warp][weft] = inverted(m_cells[warp][weft]);
    changed();
}

void TWeave::FillAll(int value)
{
    FillWeaveArray(m_cells, value);
    changed();
}

void TWeave::FillBlock(int value)
{
    TWeaveRect b;
    if (!m_hasBlock || !blockInside(b))
        return;
    FillWeaveRect(m_cells, b, value);
    changed();
}

void TWeave::InvertBlock()
{
    TWeaveRect b;
    if (!blockInside(b))
        return;
    for (int i = b.LowWarp; i <= b.HighWarp; ++i)
        for (int j = b.LowWeft; j <= b.HighWeft; ++j)
            m_cells[i][j] = inverted(m_cells[i][j]);
    changed();
}

void TWeave::MirrorWefts(TMirrorWeftMode mode)
{
    TWeaveRect b;
    if (!blockInside(b) || b.LowWeft == b.HighWeft)
        return;
    for (int i = b.LowWarp; i <= b.HighWarp; ++i)
        for (int j = b.LowWeft; j <= (b.LowWeft + b.HighWeft) / 2; ++j)
            mirrorPair(m_cells[i][j], m_cells[i][b.LowWeft + b.HighWeft - j], mode);
    changed();
}

void TWeave::MirrorWarps(TMirrorWarpMode mode)
{
    TWeaveRect b;
    if (!blockInside(b) || b.LowWarp == b.HighWarp)
        return;
    for (int i = b.LowWarp; i <= (b.LowWarp + b.HighWarp) / 2; ++i)
        for (int j = b.LowWeft; j <= b.HighWeft; ++j)
            mirrorPair(m_cells[i][j], m_cells[b.LowWarp + b.HighWarp - i][j], mode);
    changed();
}

// The upper-left triangle as displayed, against its partners across the diagonal from the
// upper right to the lower left.
void TWeave::ReflectAntiDiagonal(TAntiDiagonalMode mode)
{
    TWeaveRect b;
    if (!squareBlock(b))
        return;
    const int s = b.LowWarp + b.HighWeft;
    for (int i = b.LowWarp; i < b.HighWarp; ++i)
        for (int j = b.LowWeft; j <= s - i - 1; ++j)
            mirrorPair(m_cells[i][j], m_cells[s - j][s - i], mode);
    changed();
}

// The upper-right triangle as displayed, against its partners across the diagonal from the
// upper left to the lower right.
void TWeave::ReflectMainDiagonal(TMainDiagonalMode mode)
{
    TWeaveRect b;
    if (!squareBlock(b))
        return;
    const int d = b.LowWarp - b.LowWeft;
    for (int i = b.LowWarp + 1; i <= b.HighWarp; ++i)
        for (int j = b.LowWeft; j <= i - d - 1; ++j)
            mirrorPair(m_cells[i][j], m_cells[j + d][i - d], mode);
    changed();
}

void TWeave::RotateBlock(TRotateMode mode)
{
    TWeaveRect b;
    if (!squareBlock(b))
        return;
    const int n = b.HighWarp - b.LowWarp;
    TWeaveArray old = MakeWeaveArray(n + 1, n + 1);
    for (int x = 0; x <= n; ++x)
        for (int y = 0; y <= n; ++y)
            old[x][y] = m_cells[b.LowWarp + x][b.LowWeft + y];
    if (mode == Rotate90 || mode == Rotate180 || mode == Rotate270) {
        for (int x = 0; x <= n; ++x)
            for (int y = 0; y <= n; ++y) {
                const std::uint8_t v = mode == Rotate90 ? old[y][n - x]
                    : mode == Rotate180                 ? old[n - x][n - y]
                                                        : old[n - y][x];
                m_cells[b.LowWarp + x][b.LowWeft + y] = v;
            }
    }
    changed();
}

void TWeave::SwapWarps(int a, int b)
{
    TWeaveRect r;
    if (!blockInside(r) || a < r.LowWarp || a > r.HighWarp || b < r.LowWarp || b > r.HighWarp)
        return;
    for (int j = r.LowWeft; j <= r.HighWeft; ++j)
        std::swap(m_cells[a][j], m_cells[b][j]);
    changed();
}

void TWeave::SwapWefts(int a, int b)
{
    TWeaveRect r;
    if (!blockInside(r) || a < r.LowWeft || a > r.HighWeft || b < r.LowWeft || b > r.HighWeft)
        return;
    for (int i = r.LowWarp; i <= r.HighWarp; ++i)
        std::swap(m_cells[i][a], m_cells[i][b]);
    changed();
}

void TWeave::ShiftBlock(TShiftDirection direction, int steps)
{
    TWeaveRect b;
    if (steps <= 0 || !blockInside(b))
        return;
    const int w = b.HighWarp - b.LowWarp + 1;
    const int h = b.HighWeft - b.LowWeft + 1;
    const bool alongWefts = direction == ShiftUp || direction == ShiftDown;
    const bool alongWarps = direction == ShiftLeft || direction == ShiftRight;
    if ((alongWefts && h == 1) || (alongWarps && w == 1))
        return;
    if (alongWefts || alongWarps) {
        const int extent = alongWefts ? h : w;
        const int k = std::min(steps, extent - 1);
        // The cell at local position p takes the one `offset` further along, cyclically.
        const int offset = (direction == ShiftUp || direction == ShiftLeft) ? k : extent - k;
        TWeaveArray old = MakeWeaveArray(w, h);
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
                old[x][y] = m_cells[b.LowWarp + x][b.LowWeft + y];
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
                m_cells[b.LowWarp + x][b.LowWeft + y]
                    = alongWefts ? old[x][(y + offset) % h] : old[(x + offset) % w][y];
    }
    changed();
}

void TWeave::invertMirror(bool warps)
{
    const int n = warps ? m_warpCount : m_weftCount;
    if (n % 2 != 0)
        return;
    for (int i = 0; i < m_warpCount; ++i)
        for (int j = 0; j < m_weftCount; ++j) {
            if (warps && i < n / 2)
                m_cells[n - 1 - i][j] = inverted(m_cells[i][j]);
            else if (!warps && j < n / 2)
                m_cells[i][n - 1 - j] = inverted(m_cells[i][j]);
        }
    changed();
}

void TWeave::InvertMirrorWarps()
{
    invertMirror(true);
}

void TWeave::InvertMirrorWefts()
{
    invertMirror(false);
}

void TWeave::hillIn(bool warps)
{
    const int n = warps ? m_warpCount : m_weftCount;
    for (int k = 1; k <= n / 2; ++k) {
        if (warps)
            m_cells[n - k] = m_cells[k].copy();
        else
            for (int i = 0; i < m_warpCount; ++i)
                m_cells[i][n - k] = m_cells[i][k];
    }
    changed();
}

void TWeave::WarpHillIn()
{
    hillIn(true);
}

void TWeave::WeftHillIn()
{
    hillIn(false);
}

void TWeave::Symmetrize(const TIntegerArray &positions, const TIntegerArray &amounts, bool alongWarps)
{
    if (positions.length() != amounts.length())
        return;
    const qint64 lines = alongWarps ? m_warpCount : m_weftCount;
    for (qsizetype k = 0; k < positions.length(); ++k) {
        const qint64 c = alongWarps ? qint64(positions[k]) - 1 : m_weftCount - qint64(positions[k]);
        for (qint64 m = 1; m <= amounts[k]; ++m) {
            const qint64 from = c - m, to = c + m;
            if (from < 0 || from >= lines || to < 0 || to >= lines) {
                changed();
                return;
            }
            if (alongWarps)
                m_cells[to] = m_cells[from].copy();
            else
                for (int i = 0; i < m_warpCount; ++i)
                    m_cells[i][to] = m_cells[i][from];
        }
    }
    changed();
}

void TWeave::BackSide()
{
    const TWeaveArray old = [this] {
        TWeaveArray copy;
        GetCells(copy);
        return copy;
    }();
    for (int i = 0; i < m_warpCount; ++i)
        for (int j = 0; j < m_weftCount; ++j)
            m_cells[i][j] = inverted(old[m_warpCount - 1 - i][j]);
    changed();
}
