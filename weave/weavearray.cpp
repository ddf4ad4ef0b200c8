#include "weave/weavearray.h"

#include <algorithm>
#include <utility>

int WeaveWarps(const TWeaveArray &cells)
{
    return cells.length();
}
int WeaveWefts(const TWeaveArray &cells)
{
    return cells.isEmpty() ? 0 : cells[0].length();
}

void InitSolidWeave(TWeaveArray &cells, bool filled)
{
    cells = MakeWeaveArray(2, 2, filled ? 1 : 0);
}

void CopyWeaveArray(const TWeaveArray &source, TWeaveArray &dest)
{
    if (source.isEmpty())
        return;
    TWeaveArray out(source.size());
    for (qsizetype i = 0; i < source.size(); ++i)
        out[i] = source[i].copy();
    dest = out;
}

void FillWeaveArray(TWeaveArray &cells, int value)
{
    for (auto &warp : cells)
        warp.fill(value ? 1 : 0);
}

void FillWeaveRect(TWeaveArray &cells, const TWeaveRect &rect, int value)
{
    const int hiWarp = std::min(rect.HighWarp, int(cells.length()) - 1);
    for (int i = std::max(rect.LowWarp, 0); i <= hiWarp; ++i) {
        const int hiWeft = std::min(rect.HighWeft, int(cells[i].length()) - 1);
        for (int j = std::max(rect.LowWeft, 0); j <= hiWeft; ++j)
            cells[i][j] = value ? 1 : 0;
    }
}

void TileWeaveArray(const TWeaveArray &source, TWeaveArray &dest)
{
    const int w = WeaveWarps(source);
    const int h = WeaveWefts(source);
    if (w == 0 || h == 0)
        return;
    for (int i = 0; i < dest.length(); ++i) {
        const auto &src = source[i % w];
        const int h2 = dest[i].length();
        for (int j = 0; j < h2; ++j) {
            const int sj = h - 1 - ((h2 - 1 - j) % h);
            dest[i][j] = sj < src.length() ? src[sj] : 0;
        }
    }
}

void TransferWeaveRect(
    TWeaveArray &source, const TWeaveRect &rect, TWeaveArray &dest, int mode, int destWeft, int destWarp)
{
    const int w = rect.HighWarp - rect.LowWarp + 1;
    const int h = rect.HighWeft - rect.LowWeft + 1;
    if (w <= 0 || h <= 0)
        return;
    auto inside = [](const TWeaveArray &m, int i, int j) {
        return i >= 0 && i < m.length() && j >= 0 && j < m[i].length();
    };
    // Cells of the rectangle that lie outside Source are taken as 0.
    TWeaveArray temp = MakeWeaveArray(w, h);
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j)
            if (inside(source, rect.LowWarp + i, rect.LowWeft + j))
                temp[i][j] = source[rect.LowWarp + i][rect.LowWeft + j];
    if (mode == WeaveMove)
        for (int i = 0; i < w; ++i)
            for (int j = 0; j < h; ++j)
                if (inside(source, rect.LowWarp + i, rect.LowWeft + j))
                    source[rect.LowWarp + i][rect.LowWeft + j] = 0;
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j) {
            const int di = destWarp + i, dj = destWeft + j;
            if (!inside(dest, di, dj))
                continue;
            if (mode == WeaveMerge)
                dest[di][dj] = (dest[di][dj] != 0 || temp[i][j] != 0) ? 1 : 0;
            else
                dest[di][dj] = temp[i][j];
        }
}

void MoveWeaveRect(TWeaveArray &source, const TWeaveRect &rect, TWeaveArray &dest, int destWeft, int destWarp)
{
    TransferWeaveRect(source, rect, dest, WeaveMove, destWeft, destWarp);
}

void CopyWeaveRect(
    const TWeaveArray &source, const TWeaveRect &rect, TWeaveArray &dest, int destWeft, int destWarp)
{
    TWeaveArray src = source; // copy and merge never write to the source
    TransferWeaveRect(src, rect, dest, WeaveCopy, destWeft, destWarp);
}

void MergeWeaveRect(
    const TWeaveArray &source, const TWeaveRect &rect, TWeaveArray &dest, int destWeft, int destWarp)
{
    TWeaveArray src = source;
    TransferWeaveRect(src, rect, dest, WeaveMerge, destWeft, destWarp);
}

void SwapBytes(std::uint8_t &a, std::uint8_t &b)
{
    std::swap(a, b);
}
void SwapIntegers(std::int32_t &a, std::int32_t &b)
{
    std::swap(a, b);
}

void CopyIntegerArray(const TIntegerArray &source, TIntegerArray &dest)
{
    dest = source.copy();
}
