#include "editor/tools/cellraster.h"

#include "core/base/numutils.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Pen extents below one cell would give no cells at all; a pen covers at least its cell.
int atLeastOne(int value)
{
    return std::max(1, value);
}

// Room for extra more cells. Reserving exactly what one call adds would reallocate the
// list on every call when many calls append to it (a thick rectangle is hundreds of
// outlines), so the room at least doubles.
void makeRoom(TCellList &out, std::size_t extra)
{
    if (out.size() + extra > out.capacity())
        out.reserve(std::max(out.size() + extra, 2 * out.capacity()));
}

// The lengths of the minor runs of a line with major cells cut into minor runs, in order.
std::vector<int> runLengths(int major, int minor)
{
    const int base = major / minor, r = major % minor;
    std::vector<int> runs;
    runs.reserve(std::size_t(minor));
    if (r == 0) {
        runs.assign(std::size_t(minor), base);
        return runs;
    }
    // r long runs and q short ones: the kind there are fewer of (small) is spread evenly,
    // table[i] being how many of the other kind follow (or precede) the i-th of them.
    const int q = minor - r;
    const int big = std::max(q, r), small = std::min(q, r);
    const int k = big / small, m = big % small;
    std::vector<int> table(std::size_t(small), k);
    if (small / 2 >= m) {
        for (int i = 0; i < m; ++i)
            ++table[std::size_t(Round(double(i) * small / 2 / m))];
    } else {
        std::fill(table.begin(), table.end(), k + 1);
        for (int i = 1; i <= small - m; ++i)
            --table[std::size_t(Round(double(i) * small / 2 / (small - m)))];
    }
    for (int n : table) {
        if (r > q) {
            runs.push_back(base);
            runs.insert(runs.end(), std::size_t(n), base + 1);
        } else {
            runs.insert(runs.end(), std::size_t(n), base);
            runs.push_back(base + 1);
        }
    }
    return runs;
}

} // namespace

void RasterizeLine(TPoint A, TPoint B, int Width, TCellList &Out)
{
    Width = atLeastOne(Width);
    const int dx = std::abs(B.X - A.X) + 1, dy = std::abs(B.Y - A.Y) + 1;
    const int major = std::max(dx, dy), minor = std::min(dx, dy);
    const int sx = A.X <= B.X ? 1 : -1, sy = A.Y <= B.Y ? 1 : -1;
    const bool xMajor = dx > dy;
    const int lo = -(Width - 1) / 2;
    makeRoom(Out, std::size_t(major) * std::size_t(Width));
    int j = 0;
    int i = 0;
    for (int len : runLengths(major, minor)) {
        for (int c = 0; c < len; ++c, ++j)
            for (int k = 0; k < Width; ++k) {
                if (xMajor)
                    Out.push_back({ A.X + sx * j, A.Y + sy * i + lo + k });
                else
                    Out.push_back({ A.X + sx * i + lo + k, A.Y + sy * j });
            }
        ++i;
    }
}

void StampBlock(TPoint C, int W, int H, TCellList &Out)
{
    W = atLeastOne(W);
    H = atLeastOne(H);
    const int left = C.X - W / 2 + (W % 2 == 0 ? 1 : 0), right = C.X + W / 2;
    const int top = C.Y - H / 2 + (H % 2 == 0 ? 1 : 0), bottom = C.Y + H / 2;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            Out.push_back({ x, y });
}

void ThickLine(TPoint A, TPoint B, int W, int H, TCellList &Out, bool Tail)
{
    TCellList line;
    RasterizeLine(A, B, 1, line);
    makeRoom(Out, line.size() * std::size_t(atLeastOne(W)) * std::size_t(atLeastOne(H)) + 1);
    for (const TPoint &c : line)
        StampBlock(c, W, H, Out);
    if (Tail)
        Out.push_back({ Out.back().X, Out.back().Y + 1 });
}

void RectangleOutline(TPoint A, TPoint B, TCellList &Out, bool Tail)
{
    const TPoint lo { std::min(A.X, B.X), std::min(A.Y, B.Y) };
    const TPoint hi { std::max(A.X, B.X), std::max(A.Y, B.Y) };
    if (lo.X == hi.X || lo.Y == hi.Y) {
        ThickLine(lo, hi, 1, 1, Out, Tail);
        return;
    }
    RasterizeLine(lo, { lo.X, hi.Y }, 1, Out);
    RasterizeLine({ lo.X, hi.Y }, hi, 1, Out);
    RasterizeLine(hi, { hi.X, lo.Y }, 1, Out);
    RasterizeLine({ hi.X, lo.Y }, lo, 1, Out);
}

void RasterizeRectangle(TPoint A, TPoint B, int HorzWidth, int VertWidth, TCellList &Out, bool Tail)
{
    const int w = std::abs(B.X - A.X), h = std::abs(B.Y - A.Y);
    const int minX = std::min(A.X, B.X), maxX = std::max(A.X, B.X);
    const int minY = std::min(A.Y, B.Y), maxY = std::max(A.Y, B.Y);
    RectangleOutline(A, B, Out, Tail);
    if (HorzWidth > 1) {
        if (2 * HorzWidth > w) {
            const int half = int(Round(w / 2.0 + 0.5));
            for (int i = 1; i <= half; ++i)
                RectangleOutline({ maxX - i, maxY }, { minX + i, minY }, Out, Tail);
            RectangleOutline({ minX + half, minY }, { minX + half, maxY }, Out, Tail);
        } else {
            for (int i = 1; i < HorzWidth; ++i)
                RectangleOutline({ maxX - i, maxY }, { minX + i, minY }, Out, Tail);
        }
    }
    if (VertWidth > 1) {
        if (2 * VertWidth > h) {
            const int half = int(Round(h / 2.0 + 0.5));
            for (int i = 1; i <= half; ++i)
                RectangleOutline({ maxX, maxY - i }, { minX, minY + i }, Out, Tail);
            RectangleOutline({ minX, minY + half }, { maxX, minY + half }, Out, Tail);
        } else {
            for (int i = 1; i < VertWidth; ++i)
                RectangleOutline({ maxX, maxY - i }, { minX, minY + i }, Out, Tail);
        }
    }
}

void RectangleRings(const TRect &Rect, int Width, bool Filled, TCellList &Out)
{
    int l = std::min(Rect.Left, Rect.Right), r = std::max(Rect.Left, Rect.Right);
    int t = std::min(Rect.Top, Rect.Bottom), b = std::max(Rect.Top, Rect.Bottom);
    const int side = std::min(r - l, b - t);
    const int rings = Filled ? side / 2 + 1 : std::min(atLeastOne(Width) - 1, (side + 1) / 2) + 1;
    for (int ring = 0; ring < rings; ++ring, ++l, ++t, --r, --b) {
        if (l == r && t == b) {
            Out.push_back({ l, t });
            continue;
        }
        for (int x = l; x < r; ++x)
            Out.push_back({ x, t });
        for (int y = t + 1; y <= b; ++y)
            Out.push_back({ l, y });
        for (int x = l + 1; x <= r; ++x)
            Out.push_back({ x, b });
        for (int y = t; y < b; ++y)
            Out.push_back({ r, y });
    }
}
