#include "editor/tools/scanconvert.h"

#include <algorithm>
#include <cmath>

namespace {

// The ellipse's rows as half-widths about the box's middle. Coordinates are doubled so
// that the middle and every cell centre are whole numbers: a cell at doubled offset u
// across and v down lies inside when u^2 b^2 + v^2 a^2 <= a^2 b^2, a and b being the box's
// width and height in cells (its doubled semi-axes). All in exact integers, so both halves
// of the ellipse come out as mirror images.
struct TEllipseRows {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    // For each row, the cells on each side of the middle column that belong to it, counted
    // as doubled offsets: the row covers the cells whose doubled offset is at most Reach.
    std::vector<long long> Reach;

    TEllipseRows(TPoint p, TPoint q)
    {
        Left = std::min(p.X, q.X);
        Right = std::max(p.X, q.X);
        Top = std::min(p.Y, q.Y);
        Bottom = std::max(p.Y, q.Y);
        const long long a = (long long)Right - Left + 1, b = (long long)Bottom - Top + 1;
        // The offsets of the cells nearest the middle: 0 for an odd count, 1 for even.
        const long long nearX = a % 2 == 0 ? 1 : 0, nearY = b % 2 == 0 ? 1 : 0;
        using Wide = __int128;
        const Wide aa = Wide(a) * a, bb = Wide(b) * b, aabb = aa * bb;
        Reach.resize(std::size_t(b));
        for (long long row = 0; row < b; ++row) {
            const long long v = 2 * row - (b - 1); // doubled offset of the row's centre
            const Wide rest = aabb - Wide(v) * v * aa;
            long long u = -1;
            if (rest >= 0) {
                // Largest u of the row's parity with u^2 b^2 <= rest.
                u = (long long)std::sqrt(double(rest) / double(bb));
                while (u > 0 && Wide(u) * u * bb > rest)
                    --u;
                while (Wide(u + 1) * (u + 1) * bb <= rest)
                    ++u;
            }
            // Cells sit at offsets of the parity of nearX; keep the reach on that parity.
            if (u >= 0 && (u - nearX) % 2 != 0)
                --u;
            // Every row keeps at least its middle cells, so the ellipse reaches the top and
            // bottom of its box, and the middle rows reach the left and right sides.
            if (u < nearX)
                u = nearX;
            if (std::llabs(v) == nearY)
                u = a - 1;
            Reach[std::size_t(row)] = u;
        }
    }

    // The cells of row index i (from the top).
    TCellSpan Span(long long i) const
    {
        const long long u = Reach[std::size_t(i)];
        // Doubled offset u from the middle (Left + Right) / 2: x = (Left + Right +- u) / 2.
        return { int(Top + i), int((Left + Right - u) / 2), int((Left + Right + u) / 2) };
    }
};

} // namespace

TCellMask EllipseMask(TPoint a, TPoint b)
{
    const TEllipseRows rows(a, b);
    std::vector<TCellSpan> spans;
    spans.reserve(rows.Reach.size());
    for (std::size_t i = 0; i < rows.Reach.size(); ++i)
        spans.push_back(rows.Span((long long)i));
    return TCellMask::FromSpans(std::move(spans));
}

void EllipseOutline(TPoint a, TPoint b, TCellList &Out)
{
    const TEllipseRows rows(a, b);
    const long long n = (long long)rows.Reach.size();
    for (long long i = 0; i < n; ++i) {
        const TCellSpan s = rows.Span(i);
        if (i == 0 || i == n - 1) {
            for (int x = s.Left; x <= s.Right; ++x)
                Out.push_back({ x, s.Y });
            continue;
        }
        // A cell is inside when its row neighbours above and below are both in the
        // ellipse, that is inside the narrower of the two neighbouring rows, and it is not
        // at an end of its own row. Every span is centred on the same middle column.
        const TCellSpan up = rows.Span(i - 1), down = rows.Span(i + 1);
        const int innerL = std::max(up.Left, down.Left), innerR = std::min(up.Right, down.Right);
        // The border of the row is its ends and what lies beyond the inner run: two runs of
        // cells, listed without walking the inside, so an outline costs its own cells only.
        const int leftEnd = std::max(s.Left, std::min(s.Right, innerL - 1));
        const int rightStart = std::min(s.Right, std::max(s.Left, innerR + 1));
        if (leftEnd + 1 >= rightStart) {
            for (int x = s.Left; x <= s.Right; ++x)
                Out.push_back({ x, s.Y });
            continue;
        }
        for (int x = s.Left; x <= leftEnd; ++x)
            Out.push_back({ x, s.Y });
        for (int x = rightStart; x <= s.Right; ++x)
            Out.push_back({ x, s.Y });
    }
}

TCellMask PolygonMask(const std::vector<TPoint> &vertices)
{
    if (vertices.empty())
        return {};
    std::vector<TCellSpan> spans;
    // The outline, closing segment included.
    TCellList outline;
    for (std::size_t i = 0; i < vertices.size(); ++i)
        RasterizeLine(vertices[i], vertices[(i + 1) % vertices.size()], 1, outline);
    spans.reserve(outline.size());
    for (const TPoint &c : outline)
        spans.push_back({ c.Y, c.X, c.X });

    // The inside, row by row with an active edge list: an edge counts for the rows from
    // its upper end up to but not including its lower end (horizontal edges never count),
    // so a vertex shared by two edges is crossed once or twice as the even-odd rule needs.
    struct TEdge {
        int Top, Bottom; // rows Top .. Bottom - 1
        double X0, Slope; // crossing column at row Top, and its change per row
    };
    std::vector<TEdge> edges;
    int minY = vertices[0].Y, maxY = vertices[0].Y;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        TPoint p = vertices[i], q = vertices[(i + 1) % vertices.size()];
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
        if (p.Y == q.Y)
            continue;
        if (p.Y > q.Y)
            std::swap(p, q);
        edges.push_back({ p.Y, q.Y, double(p.X), double(q.X - p.X) / double(q.Y - p.Y) });
    }
    std::sort(edges.begin(), edges.end(), [](const TEdge &a, const TEdge &b) { return a.Top < b.Top; });
    std::vector<const TEdge *> active;
    std::vector<double> xs;
    std::size_t next = 0;
    for (long long y = minY; y < maxY; ++y) {
        std::erase_if(active, [y](const TEdge *e) { return e->Bottom <= y; });
        while (next < edges.size() && edges[next].Top <= y)
            active.push_back(&edges[next++]);
        xs.clear();
        for (const TEdge *e : active)
            xs.push_back(e->X0 + e->Slope * double(y - e->Top));
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            const double l = std::ceil(xs[k]), r = std::floor(xs[k + 1]);
            if (l <= r)
                spans.push_back({ int(y), int(l), int(r) });
        }
    }
    return TCellMask::FromSpans(std::move(spans));
}
