#include "editor/tools/freehandgridtool.h"

#include "editor/tools/customline.h"

void TFreeHandTool::Press(const TCellEvent &e)
{
    std::unique_ptr<TCustomLine> &slot = m_grid.DrawObjectSlot();
    m_grid.CreateDrawObject(slot, m_id, false);
    slot->SetMode(TDrawMode::New);
    slot->AddPoint(e.Cell);
    m_grid.NotifyShapeStarted();
}

void TFreeHandTool::Move(const TCellEvent &e)
{
    m_grid.DrawObjectSlot()->AddPoint(e.Cell);
}

void TFreeHandTool::Release(const TCellEvent &)
{
    TCustomLine &object = *m_grid.DrawObjectSlot();
    if (object.Mode() != TDrawMode::New)
        return;
    // A stroke gets its cells from the second point on: a click alone paints the cell it
    // pressed.
    if (object.GetPointCount() == 0)
        object.AddPoint(m_grid.DownCell());
    m_grid.FinishDrawObject(object);
}
