#include "editor/tools/shapeediting.h"

#include "core/base/numutils.h"
#include "editor/tools/curvetool.h"
#include "editor/tools/polylinetool.h"

namespace ShapeEditing {

bool GrabOrTakeVertex(TCustomLine &object, const TCellEvent &e)
{
    if (e.Button == TPatternGrid::TMouseButton::Right) {
        if (object.Mode() == TDrawMode::Selected) {
            object.SetMode(TDrawMode::VertexTaken);
            object.HitVertex(e.Cell, true);
        }
        return true;
    }
    if (object.GetPointCount() > 0 && object.HitTest(e.Cell, true)) {
        object.SetMode(TDrawMode::Selected);
        return true;
    }
    return false;
}

void Press(
    TPatternGrid &grid, TToolId id, std::unique_ptr<TCustomLine> &slot, const TCellEvent &e, bool regionTool)
{
    if (!GrabOrTakeVertex(*slot, e)) {
        grid.CreateDrawObject(slot, id, false);
        slot->SetMode(TDrawMode::New);
        slot->AddPoint(e.Cell);
        if (!regionTool)
            grid.NotifyShapeStarted();
    }
    grid.Repaint();
}

TPoint SquareOnCloth(const TPatternGrid &grid, TPoint start, TPoint cell)
{
    if (grid.WeftDensity() > 0)
        cell.X = int(Round((cell.Y - start.Y) * grid.WarpDensity() / grid.WeftDensity() + start.X));
    return cell;
}

void Move(TPatternGrid &grid, TToolId id, TCustomLine &object, const TCellEvent &e)
{
    const TDrawMode mode = object.Mode();
    if (mode == TDrawMode::Selected || mode == TDrawMode::VertexTaken || mode == TDrawMode::Growing) {
        if (object.Selected()) {
            object.MoveToPoint(e.Cell);
            object.SetMode(TDrawMode::VertexTaken);
            grid.Repaint();
        } else {
            object.HitVertex(e.Cell, false);
        }
        return;
    }
    if (mode != TDrawMode::New && mode != TDrawMode::Editing)
        return;
    if (id == TToolId::DefineFreePointLine) {
        object.AddPoint(e.Cell);
    } else if (object.GetPointCount() > 0) {
        object.AddPoint(e.Shift ? SquareOnCloth(grid, object.Vertex(0).Point(), e.Cell) : e.Cell);
    }
    object.SetMode(TDrawMode::Editing);
    grid.Repaint();
}

void Release(TCustomLine &object)
{
    if (std::uint8_t(object.Mode()) >= std::uint8_t(TDrawMode::VertexTaken)) {
        object.SetSelected(false);
        object.SetMode(TDrawMode::Selected);
    } else {
        object.Clear();
    }
}

void PolygonPress(TPatternGrid &grid, TToolId id, const TCellEvent &e)
{
    TCustomLine &object = *grid.RegionObjectSlot();
    if (e.Button == TPatternGrid::TMouseButton::Right) {
        if (object.Mode() == TDrawMode::Selected) {
            object.SetMode(TDrawMode::Growing);
            object.HitVertex(e.Cell, true);
        }
        grid.Repaint();
        return;
    }
    const bool pointwise = dynamic_cast<TBreakLine *>(&object) || dynamic_cast<TCurveLine *>(&object);
    if (pointwise && object.Mode() == TDrawMode::Selected && object.GetPointCount() > 0
        && !object.HitVertex(e.Cell, false)) {
        object.AddPoint(e.Cell);
    } else if (object.GetPointCount() > 0
        && (object.HitVertex(e.Cell, true) || object.HitTest(e.Cell, true))) {
        object.SetMode(TDrawMode::Editing);
    } else {
        grid.CreateDrawObject(grid.RegionObjectSlot(), id, true);
        grid.RegionObjectSlot()->AddPoint(e.Cell);
        grid.RegionObjectSlot()->SetMode(TDrawMode::Selected);
    }
    grid.Repaint();
}

void PolygonRelease(TCustomLine &object)
{
    object.SetSelected(false);
    object.SetMode(TDrawMode::Selected);
}

void VertexDragMove(TPatternGrid &grid, TCustomLine &object, const TCellEvent &e)
{
    if (object.Selected()) {
        object.MoveToPoint(e.Cell);
        grid.Repaint();
    }
}

} // namespace ShapeEditing
