#include "editor/tools/bandtool.h"

TCellList TFullLine::Cells() const
{
    TCellList cells;
    if (GetPointCount() >= 2) {
        const TPoint a = vertexPoint(0), b = vertexPoint(1);
        RectangleRings({ a.X, a.Y, b.X, b.Y }, 1, true, cells);
    }
    return cells;
}

TCellMask TFullLine::CreateRegion() const
{
    return GetPointCount() >= 2 ? TCellMask::FromRect(vertexPoint(0), vertexPoint(1)) : TCellMask();
}

bool TFullLine::containsCell(TPoint cell) const
{
    if (GetPointCount() < 1)
        return false;
    return m_vertical ? cell.X == vertexPoint(0).X : cell.Y == vertexPoint(0).Y;
}

void TFullLine::moveVertex(TCustomPoint &v, TPoint cell)
{
    if (m_vertical)
        v.SetPoint({ cell.X, v.Point().Y });
    else
        v.SetPoint({ v.Point().X, cell.Y });
}

void TFullLine::OffsetPoints(int dx, int dy)
{
    if (m_vertical)
        TCustomLine::OffsetPoints(dx, 0);
    else
        TCustomLine::OffsetPoints(0, dy);
}

void TFullLine::PaintShape(QImage &screen)
{
    if (GetPointCount() < 2)
        return;
    TCellList cells;
    RasterizeLine(vertexPoint(0), vertexPoint(1), 1, cells);
    // A band always shows as a selection.
    PaintDottedCells(screen, TCellMask::FromCells(cells), previewMap());
}

void TFullLine::commit(QImage &picture)
{
    paintCells(picture, Cells());
}

void TFullLine::assignShape(const TCustomLine &source)
{
    if (const auto *band = dynamic_cast<const TFullLine *>(&source))
        m_vertical = band->m_vertical;
}
