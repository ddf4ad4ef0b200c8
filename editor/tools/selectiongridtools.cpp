#include "editor/tools/selectiongridtools.h"

#include "core/picture/imageproc.h"
#include "editor/tools/customline.h"
#include "editor/tools/shapeediting.h"

void TSelectionShapeTool::Press(const TCellEvent &e)
{
    ShapeEditing::Press(m_grid, m_id, m_grid.RegionObjectSlot(), e, true);
}

void TSelectionShapeTool::Move(const TCellEvent &e)
{
    ShapeEditing::Move(m_grid, m_id, *m_grid.RegionObjectSlot(), e);
}

void TSelectionShapeTool::Release(const TCellEvent &)
{
    TCustomLine &object = *m_grid.RegionObjectSlot();
    // A free-hand outline that was only clicked leaves no selection.
    const bool drawn = std::uint8_t(object.Mode()) >= std::uint8_t(TDrawMode::VertexTaken);
    ShapeEditing::Release(object);
    if (m_id == TToolId::DefineFreePointLine) {
        if (!drawn) {
            object.Clear();
            m_grid.SetToolCursor(Cursor());
        }
        object.SetMode(TDrawMode::Ready);
        m_grid.Repaint();
        return;
    }
    object.SetMode(TDrawMode::Ready);
}

void TBandSelectionTool::Press(const TCellEvent &e)
{
    std::unique_ptr<TCustomLine> &slot = m_grid.RegionObjectSlot();
    if (!ShapeEditing::GrabOrTakeVertex(*slot, e)) {
        m_grid.CreateDrawObject(slot, m_id, true);
        TCustomLine &band = *slot;
        const QImage &picture = m_grid.Picture();
        if (m_id == TToolId::DefineHorizontalLine) {
            band.AddPoint({ 0, e.Cell.Y });
            band.AddPoint({ picture.width() - 1, e.Cell.Y });
        } else {
            band.AddPoint({ e.Cell.X, 0 });
            band.AddPoint({ e.Cell.X, picture.height() - 1 });
        }
        band.SetMode(TDrawMode::VertexTaken);
        band.HitTest(e.Cell, true);
    }
    m_grid.Repaint();
}

namespace {
// The piece band holding cell; false in a gap or beyond the last band.
bool pieceBandAt(const TPatternGrid &grid, TPoint cell, TRect &box)
{
    const auto &values = grid.RepeatDisplayValues();
    const int width = values[1], count = values[2], gap = values[3];
    for (int i = 0; i < count && width > 0; ++i) {
        const int left = (width + gap) * i, right = left + width - 1;
        if (cell.X >= left && cell.X <= right) {
            box = { left, 0, right, grid.Picture().height() - 1 };
            return true;
        }
    }
    return false;
}
} // namespace

void TMagicStickTool::Press(const TCellEvent &e)
{
    std::unique_ptr<TCustomLine> &slot = m_grid.RegionObjectSlot();
    TCustomLine &object = *slot;
    if (e.Button == TPatternGrid::TMouseButton::Right
        || (object.GetPointCount() > 0 && object.Mode() != TDrawMode::Idle
            && object.HitTest(e.Cell, false))) {
        TSelectionShapeTool::Press(e);
        return;
    }
    m_grid.CreateDrawObject(slot, m_id, true);
    const QImage &picture = m_grid.Picture();
    TRect box;
    bool found = false;
    if (!e.Shift) {
        GetColorIndexBounds(picture, picture.constScanLine(e.Cell.Y)[e.Cell.X], box);
        found = true;
    } else {
        found = pieceBandAt(m_grid, e.Cell, box);
    }
    if (found) {
        // The rectangle tool keeps two corners: the third and fourth replace the second.
        slot->AddPoint({ box.Left, box.Top });
        slot->AddPoint({ box.Right, box.Top });
        slot->AddPoint({ box.Left, box.Bottom });
        slot->AddPoint({ box.Right, box.Bottom });
    }
    slot->SetMode(TDrawMode::VertexTaken);
    slot->HitTest(e.Cell, true);
    m_grid.Repaint();
}

void TPolygonSelectionTool::Press(const TCellEvent &e)
{
    ShapeEditing::PolygonPress(m_grid, m_id, e);
}

void TPolygonSelectionTool::Move(const TCellEvent &e)
{
    ShapeEditing::VertexDragMove(m_grid, *m_grid.RegionObjectSlot(), e);
}

void TPolygonSelectionTool::Release(const TCellEvent &)
{
    ShapeEditing::PolygonRelease(*m_grid.RegionObjectSlot());
}
