#include "editor/tools/polygongridtools.h"

#include "core/picture/imageproc.h"
#include "editor/tools/customline.h"
#include "editor/tools/shapeediting.h"

#include <array>
#include <vector>

void TPointwiseShapeTool::Move(const TCellEvent &e)
{
    ShapeEditing::VertexDragMove(m_grid, *m_grid.DrawObjectSlot(), e);
}

void TPointwiseShapeTool::Release(const TCellEvent &)
{
    m_grid.DrawObjectSlot()->SetSelected(false);
}

void TArcTool::Press(const TCellEvent &e)
{
    TCustomLine &object = *m_grid.DrawObjectSlot();
    if (object.Mode() == TDrawMode::Idle)
        object.SetColors(m_grid.GetForeColor(), m_grid.GetForeColor());
    object.SetMode(TDrawMode::New);
    if (e.Button == TPatternGrid::TMouseButton::Right) {
        object.HitVertex(e.Cell, true);
    } else {
        if (object.GetPointCount() == 3)
            m_grid.FinishDrawObject(object);
        object.SetMode(TDrawMode::New);
        if (object.GetPointCount() <= 1) {
            object.AddPoint(e.Cell);
        } else if (object.GetPointCount() == 2) {
            // The middle vertex starts between the ends; it is taken and goes to the
            // pointer, so that the press places it and a drag bends the arc on.
            object.InsertPoint(1, e.Cell);
            if (object.GetPointCount() == 3 && object.HitVertex(object.Vertex(1).Point(), true))
                object.MoveToPoint(e.Cell);
        }
    }
    m_grid.NotifyShapeStarted();
    m_grid.Repaint();
}

void TPolylineTool::Press(const TCellEvent &e)
{
    std::unique_ptr<TCustomLine> &slot = m_grid.DrawObjectSlot();
    if (e.Button == TPatternGrid::TMouseButton::Right) {
        slot->SetMode(TDrawMode::Selected);
        slot->HitVertex(e.Cell, true);
    } else {
        if (slot->Mode() == TDrawMode::Idle) {
            m_grid.CreateDrawObject(slot, m_id, false);
            slot->SetMode(TDrawMode::New);
        }
        slot->AddPoint(e.Cell);
    }
    m_grid.Repaint();
    m_grid.NotifyShapeStarted();
}

void TPolylineTool::Release(const TCellEvent &e)
{
    m_grid.DrawObjectSlot()->SetMode(TDrawMode::New);
    TPointwiseShapeTool::Release(e);
}

void TCurveTool::Press(const TCellEvent &e)
{
    TCustomLine &object = *m_grid.DrawObjectSlot();
    object.SetShowMarker(true);
    if (object.Mode() == TDrawMode::Idle)
        object.SetColors(m_grid.GetForeColor(), m_grid.GetForeColor());
    object.SetMode(TDrawMode::New);
    if (e.Button == TPatternGrid::TMouseButton::Left)
        object.AddPoint(e.Cell);
    else
        object.HitVertex(e.Cell, true);
    m_grid.Repaint();
    m_grid.NotifyShapeStarted();
}

void TQuadrilateralTool::Press(const TCellEvent &e)
{
    ShapeEditing::PolygonPress(m_grid, m_id, e);
}

void TQuadrilateralTool::Move(const TCellEvent &e)
{
    ShapeEditing::VertexDragMove(m_grid, *m_grid.RegionObjectSlot(), e);
}

void TQuadrilateralTool::Release(const TCellEvent &)
{
    ShapeEditing::PolygonRelease(*m_grid.RegionObjectSlot());
}

bool TQuadrilateralTool::Key(TToolKey key)
{
    if (key == TToolKey::Delete)
        return false;
    TCustomLine &object = *m_grid.RegionObjectSlot();
    const TToolId back = m_grid.PrevToolId();
    if (object.GetPointCount() == 4) {
        std::vector<TPoint> corners;
        object.GetPoints(corners);
        const std::array<TPoint, 4> c { corners[0], corners[1], corners[2], corners[3] };
        if (m_grid.WarpPictureToCorners(c)) {
            object.Clear();
            if (back != TToolId::NoTool)
                m_grid.SetDrawTool(back);
        }
    } else if (key == TToolKey::Space) {
        object.Clear();
        if (back != TToolId::NoTool)
            m_grid.SetDrawTool(back);
    }
    return true;
}

void TQuadrilateralTool::Activate()
{
    // The corners are clicked into a fresh object, never into a selection's outline.
    m_grid.ReplaceSelectionObject(m_id);
}

void TQuadrilateralTool::Deactivate(TToolId)
{
    if (TCustomLine *corners = m_grid.RegionObject())
        corners->Clear();
    m_grid.Repaint();
}
