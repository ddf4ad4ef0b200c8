#include "editor/tools/rectangletool.h"

#include <algorithm>

void TRectangleLine::AddPoint(TPoint p)
{
    if (GetPointCount() >= 2)
        m_vertices.pop_back();
    TCustomLine::AddPoint(p);
}

bool TRectangleLine::isComplete() const
{
    return GetPointCount() == 2 && vertexPoint(0) != vertexPoint(1);
}

TCellList TRectangleLine::Cells() const
{
    TCellList cells;
    if (isComplete())
        RasterizeRectangle(vertexPoint(0), vertexPoint(1), m_horzWidth, m_vertWidth, cells);
    return cells;
}

TCellMask TRectangleLine::CreateRegion() const
{
    return isComplete() ? TCellMask::FromRect(vertexPoint(0), vertexPoint(1)) : TCellMask();
}

bool TRectangleLine::containsCell(TPoint cell) const
{
    if (GetPointCount() < 2)
        return false;
    const TPoint a = vertexPoint(0), b = vertexPoint(1);
    return cell.X >= std::min(a.X, b.X) && cell.X <= std::max(a.X, b.X) && cell.Y >= std::min(a.Y, b.Y)
        && cell.Y <= std::max(a.Y, b.Y);
}

void TRectangleLine::Changed()
{
    if (isComplete())
        TDrawObject::Changed();
}

void TRectangleLine::PaintShape(QImage &screen)
{
    if (!isComplete() || m_mode == TDrawMode::Idle)
        return;
    if (m_locked) {
        TCellList outline;
        RectangleOutline(vertexPoint(0), vertexPoint(1), outline, false);
        previewCells(screen, outline);
    } else if (m_brushStyle == TBrushStyle::Solid) {
        InvertCells(screen, CreateRegion(), previewMap());
    } else {
        TCellList cells;
        RasterizeRectangle(vertexPoint(0), vertexPoint(1), m_horzWidth, m_vertWidth, cells, false);
        previewCells(screen, cells);
    }
}

void TRectangleLine::commit(QImage &picture)
{
    if (!isComplete() || m_mode == TDrawMode::Idle)
        return;
    if (m_brushStyle == TBrushStyle::Solid) {
        paintMask(picture, CreateRegion());
        return;
    }
    TCellList cells;
    RasterizeRectangle(vertexPoint(0), vertexPoint(1), m_horzWidth, m_vertWidth, cells, false);
    paintCells(picture, cells);
}
