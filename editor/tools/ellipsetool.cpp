#include "editor/tools/ellipsetool.h"

#include "editor/tools/scanconvert.h"

#include <algorithm>

void ConcentricEllipseCells(TPoint a, TPoint b, int horzWidth, int vertWidth, TCellList &Out)
{
    const int l = std::min(a.X, b.X), r = std::max(a.X, b.X);
    const int t = std::min(a.Y, b.Y), bottom = std::max(a.Y, b.Y);
    if (horzWidth <= 1 && vertWidth <= 1) {
        EllipseOutline({ l, t }, { r, bottom }, Out);
        return;
    }
    for (int j = 0; j < std::max(1, vertWidth) && t + j <= bottom - j; ++j)
        for (int i = 0; i < std::max(1, horzWidth) && l + i <= r - i; ++i)
            EllipseOutline({ l + i, t + j }, { r - i, bottom - j }, Out);
}

TCellList TCircleLine::Cells() const
{
    TCellList cells;
    if (!isComplete())
        return cells;
    const TPoint a = vertexPoint(0), b = vertexPoint(1);
    if (m_brushStyle == TBrushStyle::Solid)
        return EllipseMask(a, b).Cells();
    if (m_ring) {
        EllipseOutline(a, b, cells);
        const int l = std::min(a.X, b.X) + m_horzWidth + 1, r = std::max(a.X, b.X) - m_horzWidth - 1;
        const int t = std::min(a.Y, b.Y) + m_vertWidth + 1, bottom = std::max(a.Y, b.Y) - m_vertWidth - 1;
        if (l <= r && t <= bottom)
            EllipseOutline({ l, t }, { r, bottom }, cells);
        return cells;
    }
    ConcentricEllipseCells(a, b, m_horzWidth, m_vertWidth, cells);
    return cells;
}

TCellMask TCircleLine::CreateRegion() const
{
    return isComplete() ? EllipseMask(vertexPoint(0), vertexPoint(1)) : TCellMask();
}

void TCircleLine::PaintShape(QImage &screen)
{
    if (!isComplete() || m_mode == TDrawMode::Idle)
        return;
    if (m_locked) {
        TCellList outline;
        EllipseOutline(vertexPoint(0), vertexPoint(1), outline);
        previewCells(screen, outline);
        return;
    }
    if (m_brushStyle == TBrushStyle::Solid)
        previewMask(screen, CreateRegion(), previewMap());
    else
        previewCells(screen, Cells());
}

void TCircleLine::commit(QImage &picture)
{
    if (!isComplete())
        return;
    if (m_brushStyle == TBrushStyle::Solid)
        paintMask(picture, CreateRegion());
    else
        paintCells(picture, Cells());
}
