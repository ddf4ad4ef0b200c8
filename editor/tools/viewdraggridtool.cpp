#include "editor/tools/viewdraggridtool.h"

#include <algorithm>

namespace {
TPoint viewCell(const TGridTool::TCellEvent &e)
{
    return e.ViewCell.X < 0 ? e.Cell : e.ViewCell;
}
} // namespace

void TViewDragTool::Press(const TCellEvent &e)
{
    m_dragging = true;
    m_start = viewCell(e);
    if (TPatternGridViewport *viewport = m_grid.Viewport())
        viewport->SetAutoScroll(false);
}

bool TViewDragTool::TakeMoveAnywhere(const TCellEvent &e, bool held)
{
    if (!held || !m_dragging)
        return false;
    const TPoint now = viewCell(e);
    const int dx = m_start.X - now.X, dy = m_start.Y - now.Y;
    if (dx == 0 && dy == 0)
        return true;
    const int maxLeft = std::max(0, m_grid.ColCount() - 1), maxTop = std::max(0, m_grid.RowCount() - 1);
    m_grid.SetLeftCol(std::clamp(m_grid.LeftCol() + dx, 0, maxLeft));
    m_grid.SetTopRow(std::clamp(m_grid.TopRow() + dy, 0, maxTop));
    return true;
}

void TViewDragTool::Release(const TCellEvent &)
{
    // The drag ends here: a view still marked as dragging would go on following the
    // pointer after the button is up.
    m_dragging = false;
    if (TPatternGridViewport *viewport = m_grid.Viewport())
        viewport->SetAutoScroll(true);
}
