#include "editor/tools/polylinetool.h"

#include "editor/tools/scanconvert.h"

#include <algorithm>

void TBreakLine::AddPoint(TPoint p)
{
    if (m_quadrilateral && GetPointCount() >= 4)
        return;
    TCustomLine::AddPoint(p);
}

void TBreakLine::GetPoints(std::vector<TPoint> &points) const
{
    TCustomLine::GetPoints(points);
    if (!isQuadrilateral())
        return;
    std::stable_sort(points.begin(), points.end(), [](TPoint a, TPoint b) { return a.X < b.X; });
    const auto byY = [](TPoint a, TPoint b) { return a.Y < b.Y; };
    std::stable_sort(points.begin(), points.begin() + 2, byY);
    std::stable_sort(points.begin() + 2, points.end(), byY);
    points = { points[0], points[2], points[3], points[1] };
}

TCellList TBreakLine::Cells() const
{
    TCellList cells;
    for (int i = 0; i + 1 < GetPointCount(); ++i)
        RasterizeLine(vertexPoint(i), vertexPoint(i + 1), 1, cells);
    return cells;
}

void TBreakLine::Changed()
{
    if (GetPointCount() >= 2)
        TDrawObject::Changed();
}

void TBreakLine::PaintShape(QImage &screen)
{
    if ((m_locked && m_started == 1) || isQuadrilateral()) {
        std::vector<TPoint> points;
        GetPoints(points);
        if (points.size() < 2)
            return;
        TCellList outline;
        for (std::size_t i = 0; i < points.size(); ++i)
            RasterizeLine(points[i], points[(i + 1) % points.size()], 1, outline);
        previewCells(screen, outline);
        return;
    }
    previewCells(screen, Cells());
}

void TBreakLine::commit(QImage &picture)
{
    if (isQuadrilateral()) {
        std::vector<TPoint> points;
        GetPoints(points);
        paintMask(picture, PolygonMask(points));
        return;
    }
    TCellList stamped;
    for (const TPoint &c : Cells())
        StampBlock(c, m_horzWidth, m_vertWidth, stamped);
    paintCells(picture, stamped);
}

void TBreakLine::assignShape(const TCustomLine &source)
{
    if (const auto *line = dynamic_cast<const TBreakLine *>(&source)) {
        m_stored = line->m_stored;
        m_quadrilateral = line->m_quadrilateral;
    }
}
