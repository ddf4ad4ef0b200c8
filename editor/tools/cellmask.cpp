#include "editor/tools/cellmask.h"

#include <algorithm>

TCellMask TCellMask::FromSpans(std::vector<TCellSpan> spans)
{
    std::erase_if(spans, [](const TCellSpan &s) { return s.Right < s.Left; });
    std::sort(spans.begin(), spans.end(),
        [](const TCellSpan &a, const TCellSpan &b) { return a.Y != b.Y ? a.Y < b.Y : a.Left < b.Left; });
    TCellMask mask;
    for (const TCellSpan &s : spans) {
        // Joined with the previous span of its row when they overlap or touch.
        if (!mask.m_spans.empty() && mask.m_spans.back().Y == s.Y
            && (long long)s.Left <= (long long)mask.m_spans.back().Right + 1)
            mask.m_spans.back().Right = std::max(mask.m_spans.back().Right, s.Right);
        else
            mask.m_spans.push_back(s);
    }
    return mask;
}

TCellMask TCellMask::FromRect(TPoint a, TPoint b)
{
    TCellMask mask;
    const int l = std::min(a.X, b.X), r = std::max(a.X, b.X);
    for (int y = std::min(a.Y, b.Y), bottom = std::max(a.Y, b.Y); y <= bottom; ++y)
        mask.m_spans.push_back({ y, l, r });
    return mask;
}

TCellMask TCellMask::FromCells(const std::vector<TPoint> &cells)
{
    std::vector<TCellSpan> spans;
    spans.reserve(cells.size());
    for (const TPoint &c : cells)
        spans.push_back({ c.Y, c.X, c.X });
    return FromSpans(std::move(spans));
}

bool TCellMask::Contains(TPoint cell) const
{
    // The last span that starts at or before the cell in row order.
    auto it = std::upper_bound(m_spans.begin(), m_spans.end(), cell,
        [](const TPoint &p, const TCellSpan &s) { return p.Y != s.Y ? p.Y < s.Y : p.X < s.Left; });
    if (it == m_spans.begin())
        return false;
    --it;
    return it->Y == cell.Y && cell.X >= it->Left && cell.X <= it->Right;
}

long long TCellMask::CellCount() const
{
    long long n = 0;
    for (const TCellSpan &s : m_spans)
        n += (long long)s.Right - s.Left + 1;
    return n;
}

TRect TCellMask::Bounds() const
{
    if (m_spans.empty())
        return {};
    TRect r { m_spans.front().Left, m_spans.front().Y, m_spans.front().Right, m_spans.back().Y };
    for (const TCellSpan &s : m_spans) {
        r.Left = std::min(r.Left, s.Left);
        r.Right = std::max(r.Right, s.Right);
    }
    return r;
}

std::vector<TPoint> TCellMask::Cells() const
{
    std::vector<TPoint> cells;
    cells.reserve(std::size_t(CellCount()));
    for (const TCellSpan &s : m_spans)
        for (int x = s.Left; x <= s.Right; ++x)
            cells.push_back({ x, s.Y });
    return cells;
}

QRegion TCellMask::ToRegion() const
{
    // Spans sorted by row and column, one row high and apart: the banded order that
    // QRegion::setRects takes as it is.
    std::vector<QRect> rects;
    rects.reserve(m_spans.size());
    for (const TCellSpan &s : m_spans)
        rects.push_back(QRect(QPoint(s.Left, s.Y), QPoint(s.Right, s.Y)));
    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    return region;
}

TCellMask TCellMask::United(const TCellMask &other) const
{
    std::vector<TCellSpan> spans = m_spans;
    spans.insert(spans.end(), other.m_spans.begin(), other.m_spans.end());
    return FromSpans(std::move(spans));
}
