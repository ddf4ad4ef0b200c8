#include "editor/tools/rectangletool.h"

#include <algorithm>
#include <vector>

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
        // A selection or a repeat unit's outline may be as large as the whole pattern and
        // is painted at every repaint: only its part on the screen is worked out.
        PaintDottedCells(screen, outlineOnScreen(screen), previewMap());
    } else if (m_brushStyle == TBrushStyle::Solid) {
        previewMask(screen, CreateRegion(), previewMap());
    } else {
        TCellList cells;
        RasterizeRectangle(vertexPoint(0), vertexPoint(1), m_horzWidth, m_vertWidth, cells, false);
        previewCells(screen, cells);
    }
}

TCellMask TRectangleLine::outlineOnScreen(const QImage &screen) const
{
    const TPoint a = vertexPoint(0), b = vertexPoint(1);
    const int l = std::min(a.X, b.X), r = std::max(a.X, b.X), t = std::min(a.Y, b.Y),
              btm = std::max(a.Y, b.Y);
    const TRect on = previewMap().CellsOnImage(screen.width(), screen.height());
    const int x0 = std::max(l, on.Left), x1 = std::min(r, on.Right);
    const int y0 = std::max(t, on.Top), y1 = std::min(btm, on.Bottom);
    std::vector<TCellSpan> spans;
    if (x0 > x1 || y0 > y1)
        return {};
    for (const int y : { t, btm })
        if (y >= y0 && y <= y1)
            spans.push_back({ y, x0, x1 });
    for (const int x : { l, r })
        if (x >= x0 && x <= x1)
            for (int y = y0; y <= y1; ++y)
                spans.push_back({ y, x, x });
    return TCellMask::FromSpans(std::move(spans));
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
