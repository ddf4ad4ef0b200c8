#include "editor/tools/bindingpointgridtool.h"

#include "editor/bindingpoints.h"
#include "editor/tools/freehandtool.h"

void TBindingPointTool::Press(const TCellEvent &e)
{
    std::unique_ptr<TCustomLine> &slot = m_grid.DrawObjectSlot();
    m_grid.CreateDrawObject(slot, m_id, false);
    if (!slot)
        return;
    const TBindingStyle style = m_grid.JianSiStyle()[0] ? TBindingStyle::Single : TBindingStyle::Double;
    const TBindingWay way = m_grid.JianSiWay()[0] ? TBindingWay::Weft : TBindingWay::Warp;
    slot->SetBindingPoints(
        BindingPointFlagsFor(style, way, m_grid.AutoFillPoint() != 0, m_grid.Picture().height()));
    slot->SetMode(TDrawMode::New);
    slot->AddPoint(e.Cell);
    m_grid.NotifyShapeStarted();
}
