#include "editor/tools/concentricgridtool.h"

#include "editor/tools/customline.h"
#include "editor/tools/shapeediting.h"

void TConcentricTool::Press(const TCellEvent &e)
{
    std::unique_ptr<TCustomLine> &slot = m_grid.DrawObjectSlot();
    TCustomLine &object = *slot;
    if (object.GetPointCount() > 0 && object.HitVertex(e.Cell, true)) {
        object.SetMode(TDrawMode::Growing);
    } else if (object.GetPointCount() == 0 || object.Mode() == TDrawMode::Idle) {
        m_grid.CreateDrawObject(slot, m_id, false);
        slot->SetShowMarker(true);
        slot->AddPoint(e.Cell);
        slot->SetMode(TDrawMode::Selected);
    } else if (e.Button == TPatternGrid::TMouseButton::Left) {
        object.AddPoint(e.Cell);
        object.HitVertex(e.Cell, true);
        object.SetMode(TDrawMode::Growing);
    }
    m_grid.NotifyShapeStarted();
    m_grid.Repaint();
}

void TConcentricTool::Move(const TCellEvent &e)
{
    ShapeEditing::VertexDragMove(m_grid, *m_grid.DrawObjectSlot(), e);
}

void TConcentricTool::Release(const TCellEvent &)
{
    TCustomLine &object = *m_grid.DrawObjectSlot();
    object.SetSelected(false);
    object.SetMode(TDrawMode::Selected);
}
