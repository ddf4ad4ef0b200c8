#include "editor/tools/clearmottlegridtool.h"

#include "editor/tools/curvetool.h"
#include "editor/tools/shapeediting.h"
#include "editor/tools/tooltable.h"

void TClearMottleTool::Activate()
{
    std::unique_ptr<TCustomLine> &slot = m_grid.DrawObjectSlot();
    m_grid.CreateDrawObject(slot, m_id, false);
    if (slot) {
        slot->AddPoint({ 0, 0 });
        slot->AddPoint({ 20, 20 });
        slot->SetMode(TDrawMode::Ready);
    }
}

// The ready shape is kept only for the view drag, which comes back to it.
void TClearMottleTool::Deactivate(TToolId next)
{
    if (next == TToolId::MoveGrid)
        return;
    if (TCustomLine *object = m_grid.DrawObject())
        object->Clear();
    m_grid.Repaint();
}

void TClearMottleTool::Press(const TCellEvent &e)
{
    TCustomLine &object = *m_grid.DrawObjectSlot();
    if (object.Mode() == TDrawMode::Idle) {
        object.SetColors(m_grid.ForeColor(), m_grid.ForeColor());
        object.SetMode(TDrawMode::New);
    }
    if (object.Mode() == TDrawMode::Ready && e.Button == TPatternGrid::TMouseButton::Left) {
        // The back colour is protected while the shape commits.
        const int back = m_grid.BackIndex();
        const bool had = m_grid.ColorSet().test(back);
        m_grid.IncludeColorIndex(back);
        m_grid.FinishDrawObject(object);
        if (!had)
            m_grid.ExcludeColorIndex(back);
    } else if (object.GetPointCount() == 2 && e.Button == TPatternGrid::TMouseButton::Right) {
        object.SetMode(TDrawMode::Selected);
        object.HitVertex(object.Vertex(1).Point(), true);
    }
}

void TClearMottleTool::Move(const TCellEvent &e)
{
    TCustomLine &object = *m_grid.DrawObjectSlot();
    const auto squared = [&] {
        return e.Shift && object.GetPointCount() > 0
            ? ShapeEditing::SquareOnCloth(m_grid, object.Vertex(0).Point(), e.Cell)
            : e.Cell;
    };
    switch (object.Mode()) {
    case TDrawMode::New:
    case TDrawMode::Editing:
        object.AddPoint(squared());
        object.SetMode(TDrawMode::Editing);
        break;
    case TDrawMode::Ready:
        // The ready shape follows the pointer with its second corner.
        if (object.GetPointCount() == 2) {
            const TPoint b = object.Vertex(1).Point();
            object.OffsetPoints(e.Cell.X - b.X, e.Cell.Y - b.Y);
        }
        break;
    case TDrawMode::Selected:
    case TDrawMode::Growing:
        object.MoveToPoint(squared());
        object.SetMode(TDrawMode::Growing);
        break;
    default:
        break;
    }
    m_grid.Repaint();
}

void TClearMottleTool::Release(const TCellEvent &e)
{
    TCustomLine &object = *m_grid.DrawObjectSlot();
    if (object.GetPointCount() == 1 && object.Mode() == TDrawMode::New) {
        object.Clear();
    } else if (object.GetPointCount() == 0 || object.Mode() == TDrawMode::Selected) {
        // A right click without a drag turns the rectangle into the ellipse and back.
        m_grid.SetDrawTool(
            m_id == TToolId::ClearMottleByRect ? TToolId::ClearMottleByCircle : TToolId::ClearMottleByRect);
        TCustomLine *now = m_grid.DrawObject();
        if (now && now->GetPointCount() == 2) {
            const TPoint b = now->Vertex(1).Point();
            now->OffsetPoints(e.Cell.X - b.X, e.Cell.Y - b.Y);
        }
    } else {
        object.SetMode(TDrawMode::Ready);
    }
    m_grid.Repaint();
}

// The shape is never committed by a key: Space takes it away, Delete leaves it and only
// shortens the selection's outline.
bool TClearMottleTool::Key(TToolKey key)
{
    if (key == TToolKey::Space) {
        if (TCustomLine *object = m_grid.DrawObject())
            object->Clear();
        m_grid.ToggleSelectionCurve();
        return true;
    }
    if (key == TToolKey::Delete) {
        if (TCustomLine *region = m_grid.RegionObject())
            region->DeleteLastPoint();
        return true;
    }
    return false;
}
