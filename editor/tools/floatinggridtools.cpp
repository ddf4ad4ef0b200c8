#include "editor/tools/floatinggridtools.h"

#include "core/base/cursors.h"
#include "editor/floatingpicture.h"

void TMoveTool::Press(const TCellEvent &e)
{
    m_grid.SetMoveStart(e.Cell);
    if (m_grid.GetRegionHandle().contains(QPoint(e.Cell.X, e.Cell.Y))) {
        m_grid.SetDrawTool(TToolId::MoveSelection);
        return;
    }
    m_grid.TakeFloatingAt(e.Cell);
    m_grid.NotifyEditState();
}

void TMoveTool::Move(const TCellEvent &e)
{
    if (m_grid.FloatingTaken()) {
        m_grid.DragFloatingTo(e.Cell, e.Shift, e.Ctrl);
        return;
    }
    if (m_grid.GetRegionHandle().contains(QPoint(e.Cell.X, e.Cell.Y)))
        m_grid.SetToolCursor(crMovingArea);
    else
        m_grid.HoverFloatingCursor(e.Cell);
}

void TMoveTool::Release(const TCellEvent &)
{
    m_grid.EndFloatingDrag();
}

void TMoveSelectionTool::Move(const TCellEvent &e)
{
    const QRect box = m_grid.GetRegionHandle().boundingRect();
    m_grid.SetDrawTool(TToolId::Move);
    if (box.isEmpty() || !m_grid.Cut())
        return;
    if (!m_grid.PasteFromClipboard({ box.x(), box.y() }, true))
        return;
    // The piece lies where the selection was: the drag goes on with it from the press.
    if (m_grid.TakeFloatingInside(m_grid.MoveStart()))
        m_grid.DragFloatingTo(e.Cell, e.Shift, e.Ctrl);
}

void TMoveSelectionTool::Release(const TCellEvent &)
{
    m_grid.SetDrawTool(TToolId::Move);
}

void TPasteAtClickTool::Press(const TCellEvent &e)
{
    m_grid.SetPastePos(e.Cell);
    QString error;
    if (!m_grid.PasteFromClipboard(e.Cell, true, &error) && !error.isEmpty())
        m_grid.ReportPickedTool(nullptr, error);
}
