// Drawing on the pattern grid: the current tool, the drawing objects, and the dispatch of
// the mouse and the keys to the tool. The window hands in picture cells, so every tool works
// headless and sees the same cell at every zoom level.
//
// The checks every tool shares live here (a press outside the picture reaches no tool, the
// Ctrl colour pick, the selection that follows its outline); what each tool does is its own
// class in editor/tools/, made from its row of the tool table. Every change to the picture
// is recorded through the grid's undo wrappers.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "editor/insertword.h"
#include "editor/tools/bandtool.h"
#include "editor/tools/colorpickgridtool.h"
#include "editor/tools/concentrictool.h"
#include "editor/tools/curvetool.h"
#include "editor/tools/drawtoolregistry.h"
#include "editor/tools/freehandtool.h"
#include "editor/tools/polylinetool.h"
#include "editor/tools/rectangletool.h"
#include "editor/tools/spraygridtool.h"
#include "editor/tools/toolbox.h"
#include "editor/tools/tooltable.h"
#include "editor/tools/viewdraggridtool.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using T = TToolId;

// The selection's object holds a selection's outline (not the quadrilateral's corners).
bool outlinesSelection(TToolId current)
{
    const TToolRow &row = ToolRow(current);
    return !row.UsesSelectionObject || row.MakesSelection;
}

} // namespace

// ---- Set-up ------------------------------------------------------------------------------

void TPatternGrid::initTools()
{
    m_tools = std::make_unique<TGridToolBox>(*this);
    CreateDrawObject(m_drawObject, T::Rectangle, true);
    CreateDrawObject(m_regionObject, T::DefineRectangle, true);
    m_toolCursor = ToolRow(m_toolId).Cursor;
}

TGridTool *TPatternGrid::currentTool()
{
    return m_tools->Tool(m_toolId);
}

bool TPatternGrid::InsidePicture(TPoint cell) const
{
    return !m_picture.isNull() && cell.X >= 0 && cell.Y >= 0 && cell.X < m_picture.width()
        && cell.Y < m_picture.height();
}

void TPatternGrid::NotifyShapeStarted()
{
    if (m_ownsPicture)
        SendUndoState(0, 0);
}

void TPatternGrid::SetToolCursor(int id)
{
    m_toolCursor = id;
    if (m_viewport)
        m_viewport->ToolCursorChanged();
}

void TPatternGrid::SetToolTimer(bool on)
{
    m_toolTimerOn = on;
    if (m_viewport)
        m_viewport->SetToolTimer(on);
}

void TPatternGrid::ClearSelectionRegion()
{
    m_selectionRegion = QRegion();
    if (m_regionObject)
        m_regionObject->Clear();
}

// A new object in the selection's slot: an outline it replaces takes its selection along,
// so that no selection is left that the user cannot see.
void TPatternGrid::ReplaceSelectionObject(TToolId id)
{
    const bool outlined = m_regionObject && m_regionObject->GetPointCount() > 0;
    CreateDrawObject(m_regionObject, id, true);
    if (outlined)
        m_selectionRegion = QRegion();
}

void TPatternGrid::syncSelection()
{
    if (!m_regionObject || !ToolRow(m_toolId).MakesSelection)
        return;
    const bool had = !m_selectionRegion.isEmpty();
    m_selectionRegion = m_regionObject->CreateRegion().ToRegion();
    // Copy and cut follow whether there is a selection.
    if (had != !m_selectionRegion.isEmpty())
        NotifyEditState();
}

void TPatternGrid::SetCrossHair(const TCursorStyleOption &style)
{
    m_crossHair = style;
    Repaint();
}

void TPatternGrid::SetHorzPenWidth(int width)
{
    RunState().HorzWidth = std::max(1, width);
    for (TCustomLine *o : { m_drawObject.get(), m_regionObject.get() })
        if (o)
            o->SetHorzWidth(RunState().HorzWidth);
}

void TPatternGrid::SetVertPenWidth(int width)
{
    RunState().VertWidth = std::max(1, width);
    for (TCustomLine *o : { m_drawObject.get(), m_regionObject.get() })
        if (o)
            o->SetVertWidth(RunState().VertWidth);
}

bool TPatternGrid::ToolKeepsShapeCopy() const
{
    return ToolRow(m_toolId).KeepsShapeCopy;
}

// ---- Choosing a tool ---------------------------------------------------------------------

// The previous tool is kept for Enter and Space to return to. A pending shape is committed
// when another tool is chosen, except that the view drag keeps it, so that the user can
// scroll and go on.
void TPatternGrid::SetDrawTool(TToolId id)
{
    RunState().CurrentToolId = id;
    if (id != m_toolId) {
        TGridTool *old = currentTool();
        TGridTool *next = m_tools->Tool(id);
        const TToolRow &row = ToolRow(id);
        if (row.RecreatedOnChoice && !(old && old->KeepsPendingShape())) {
            CreateDrawObject(m_drawObject, id, false);
            Repaint();
        } else if (!IsClearMottleTool(m_drawObjectTool) && !(next && next->KeepsPendingShape())
            && m_drawObject && !m_drawObject->Cells().empty()) {
            FinishDrawObject(*m_drawObject);
        }
        if (old)
            old->Deactivate(id);
        if (m_toolId != T::NoTool)
            m_prevToolId = m_toolId;
        m_toolId = id;
        // The selection tools draw into the selection's object; it becomes the new tool's.
        if (row.UsesSelectionObject && m_regionObject
            && m_regionObject->ClassName() != QString(row.DrawObjectClass))
            ReplaceSelectionObject(id);
        if (next)
            next->Activate();
    }
    TGridTool *now = currentTool();
    SetToolCursor(now ? now->Cursor() : ToolRow(id).Cursor);
    if (m_ownsPicture)
        SendToolChanged();
}

// The drawing objects preview in the fore colour and commit the fore index: a new fore or
// back colour reaches the shape being drawn at once, so that its preview never shows the
// colour it would no longer write. The pen values are the ones the objects are made with.
void TPatternGrid::ApplyColorsToTools()
{
    for (TCustomLine *o : { m_drawObject.get(), m_regionObject.get() })
        if (o) {
            o->SetPictureCanvas(&m_picture);
            o->SetPreviewCanvas(&m_viewBitmap);
            o->SetPenIndex(m_foreIndex);
        }
    if (m_regionObject)
        m_regionObject->SetColors(m_foreColor, m_backColor);
    if (!m_drawObject)
        return;
    TCustomLine &o = *m_drawObject;
    const TToolRow &row = ToolRow(m_drawObjectTool);
    const TColor fore = GetForeColor();
    if (row.Pen == TToolPen::Solid) {
        o.SetPenStyle(
            fore, fore, o.VertWidth(), o.HorzWidth(), 1, TBrushStyle::Solid, o.PenStyle(), TPenMode::Copy);
        o.SetFilled(row.FillsArea);
    } else if (row.Pen == TToolPen::Outline) {
        o.SetPenStyle(fore, fore, o.VertWidth(), o.HorzWidth(), 1, TBrushStyle::Clear, TPenStyle::Solid,
            TPenMode::Copy);
        o.SetFilled(false);
    } else {
        o.SetColors(m_foreColor, m_backColor);
    }
}

// The floating text takes the chosen colour as its font colour, and the index it is
// stamped in: the text index when the colour is the text colour just chosen, else the
// first entry of that colour.
void TPatternGrid::ColorChosen(TColor color)
{
    checkFloatingObjects();
    if (m_floatingText) {
        const int index = GetPaletteColor(m_palette, m_textIndex) == color
            ? m_textIndex
            : FindPaletteColorIndex(color, m_palette);
        m_floatingText->SetFontColor(color, index);
    }
    Repaint();
}

void TPatternGrid::CreateDrawObject(std::unique_ptr<TCustomLine> &field, TToolId id, bool keepPending)
{
    const TToolRow &row = ToolRow(id);
    const QString className = QString::fromLatin1(row.DrawObjectClass);
    if (className.isEmpty())
        return;
    if (field) {
        if (!IsClearMottleTool(m_drawObjectTool) && !keepPending && !field->Locked()
            && !field->Cells().empty() && field.get() == m_drawObject.get())
            FinishDrawObject(*field);
        field.reset();
    }
    if (&field == &m_drawObject)
        m_drawObjectTool = id;
    std::unique_ptr<TDrawObject> made = CreateDrawObjectOfClass(className);
    auto *line = dynamic_cast<TCustomLine *>(made.get());
    if (!line)
        return;
    made.release();
    field.reset(line);
    TCustomLine &o = *field;
    // Cells go in as picture cells: the window converted the pointer already, so the
    // object works at the scale 1 and only painting maps its cells onto the view.
    o.SetScaleX(1.0);
    o.SetScaleY(1.0);
    o.SetShowMarker(row.ShowsMarker);
    o.SetPreviewCanvas(&m_viewBitmap);
    o.SetPictureCanvas(&m_picture);
    o.SetGrid(&m_grid);
    o.SetPenIndex(m_foreIndex);
    o.SetOnChange([this](TDrawObject &) { Repaint(); });
    o.SetOnRefresh([this](TDrawObject &) { Repaint(); });
    o.SetFilled(row.FillsArea);
    // The clear-mottle shape stays after each click: it cleans wherever it is put next.
    o.SetAutoClear(!IsClearMottleTool(id));
    o.SetLocked(row.MakesSelection);

    const TColor fore = m_foreColor;
    const int hw = RunState().HorzWidth, vw = RunState().VertWidth;
    switch (row.Pen) {
    case TToolPen::Outline:
        o.SetPenStyle(fore, fore, vw, hw, 1, TBrushStyle::Clear, TPenStyle::Solid, TPenMode::Copy);
        break;
    case TToolPen::Solid:
        o.SetPenStyle(fore, fore, vw, hw, 1, TBrushStyle::Solid, TPenStyle::Solid, TPenMode::Copy);
        break;
    case TToolPen::Cells:
        o.SetPenStyle(fore, fore, 1, 1, 1, TBrushStyle::Clear, TPenStyle::Solid, TPenMode::Copy);
        break;
    case TToolPen::Default:
        break;
    }
    if (auto *poly = dynamic_cast<TBreakLine *>(&o))
        poly->SetQuadrilateral(id == T::BuildRectBmp);
    if (auto *band = dynamic_cast<TFullLine *>(&o))
        band->SetVertical(id == T::DefineVerticalLine);
    if (auto *rings = dynamic_cast<TConcentricCircle *>(&o))
        rings->SetDensities(m_warpDensity, m_weftDensity);
}

// A free-hand stroke is recorded as the list of its cells (so that a stroke costs what the
// stroke costs), every other shape as the cells that changed inside its box.
void TPatternGrid::FinishDrawObject(TCustomLine &object)
{
    if (object.Locked()) {
        object.Finish();
        return;
    }
    TRect box;
    bool any = object.GetUpdateRect(box);
    if (object.Filled()) {
        const TCellMask area = object.CreateRegion();
        if (!area.IsEmpty()) {
            const TRect a = area.Bounds();
            box = any ? TRect { std::min(box.Left, a.Left), std::min(box.Top, a.Top),
                std::max(box.Right, a.Right), std::max(box.Bottom, a.Bottom) }
                      : a;
            any = true;
        }
    }
    const bool listed = !object.Filled() && dynamic_cast<TFreeLine *>(&object) != nullptr;
    TCellList cells;
    if (listed) {
        // The binding points' gap fill adds cells as the stroke is committed: they are
        // recorded with the rest.
        static_cast<TFreeLine &>(object).ApplyGapFill();
        cells = object.Cells();
    }
    object.SetPictureCanvas(&m_picture);
    object.SetPenIndex(m_foreIndex);
    object.Finish();
    if (m_picture.isNull() || !any)
        return;
    if (listed) {
        TLineArray points(qsizetype(cells.size()));
        std::copy(cells.begin(), cells.end(), points.begin());
        RecordUndoStep(points);
    } else {
        box.Left = std::max(0, box.Left);
        box.Top = std::max(0, box.Top);
        box.Right = std::min(m_picture.width() - 1, box.Right);
        box.Bottom = std::min(m_picture.height() - 1, box.Bottom);
        if (box.Left <= box.Right && box.Top <= box.Bottom)
            RecordRectUndoStep(box, false, false);
    }
    RebuildReducedView();
    Repaint();
    NotifyMainWindow();
}

// ---- Mouse ----------------------------------------------------------------------------

// Ctrl with a click picks a colour (the right button picks with the tools that have no use
// for it); the tool itself does not start, and the release only ends the pick.
bool TPatternGrid::startColorPick(TGridTool *tool, const TCellEvent &e)
{
    const bool left = e.Button == TMouseButton::Left;
    const bool ctrlPicks = !tool || tool->CtrlPicksColor();
    const bool rightPicks = tool && tool->RightClickPicksColor();
    if (!ctrlPicks || !((left && e.Ctrl) || (!left && (e.Ctrl || rightPicks))))
        return false;
    m_colorPicking = true;
    SetToolCursor(crAbsorbColor);
    PickColorAt(*this, e.Cell, left || !e.Ctrl ? TColorPickKind::Fore : TColorPickKind::Back);
    return true;
}

void TPatternGrid::MouseDown(const TCellEvent &e)
{
    m_toolPressed = false;
    if (!InsidePicture(e.Cell))
        return;
    if (m_ownsPicture)
        SendGrossPos(e.Cell.X, e.Cell.Y);
    m_tools->DownCell = e.Cell;
    m_lastCell = e.Cell;
    TGridTool *tool = currentTool();
    if (startColorPick(tool, e) || !tool)
        return;
    if (!tool->KeepsFloatingObjects())
        DropFloatingObjects();
    m_toolPressed = true;
    tool->Press(e);
    syncSelection();
}

void TPatternGrid::MouseMove(const TCellEvent &e, bool held)
{
    TGridTool *tool = currentTool();
    if (tool && tool->TakeMoveAnywhere(e, held))
        return;
    if (!InsidePicture(e.Cell))
        return;
    m_tools->DownCell = e.Cell;
    if (m_lastCell != e.Cell) {
        m_lastCell = e.Cell;
        if (m_crossHair.LargeCursor || m_crossHair.SmallCursor)
            Repaint();
    }
    if (m_colorPicking)
        return;
    if (m_ownsPicture) {
        SendColorIndex(m_picture.constScanLine(e.Cell.Y)[e.Cell.X]);
        // Rows are numbered as the grid shows them: from the bottom when it shows them so.
        const bool fromTop = m_grid.StartPos == TStartPos::spLeftTop;
        SendCursorPos(e.Cell.X + 1, fromTop ? e.Cell.Y + 1 : m_picture.height() - e.Cell.Y);
    }
    if (!tool || (!held && !tool->FollowsHover()))
        return;
    tool->Move(e);
    syncSelection();
}

// A release reaches the tool only after a press that reached it: a click outside the cells
// leaves a pending shape as it is.
void TPatternGrid::MouseUp(const TCellEvent &e)
{
    if (m_colorPicking) {
        m_colorPicking = false;
        TGridTool *tool = currentTool();
        SetToolCursor(tool ? tool->Cursor() : ToolRow(m_toolId).Cursor);
        return;
    }
    TGridTool *tool = currentTool();
    if (tool && m_toolPressed)
        tool->Release(e);
    m_toolPressed = false;
    syncSelection();
    Repaint();
}

// ---- Keys ---------------------------------------------------------------------------------

// Enter commits the pending shape (never the clear-mottle shape, which only a click
// commits) and ends the selection's outline; Space shows or hides a pending curve, or
// commits the pending shape; Delete takes the last vertex off both objects. A tool may take
// a key first.
void TPatternGrid::HandleToolKey(TToolKey k)
{
    // The selection follows its outline when Delete shortens it, whatever the tool.
    const bool outlined = k == TToolKey::Delete && outlinesSelection(m_toolId) && m_regionObject
        && m_regionObject->GetPointCount() > 0;
    // Delete takes the newest floating object away before it shortens the outlines.
    if (k == TToolKey::Delete)
        RemoveFloatingObject();
    TGridTool *tool = currentTool();
    if (!tool || !tool->Key(k)) {
        if (k == TToolKey::Enter) {
            if (m_drawObject && !m_drawObject->Cells().empty() && !IsClearMottleTool(m_drawObjectTool))
                FinishDrawObject(*m_drawObject);
            if (m_regionObject && m_regionObject->GetPointCount() > 0)
                m_regionObject->SetMode(TDrawMode::Ready);
        } else if (k == TToolKey::Space) {
            handleSpace();
        } else {
            if (m_regionObject)
                m_regionObject->DeleteLastPoint();
            if (m_drawObject)
                m_drawObject->DeleteLastPoint();
        }
    }
    if (k == TToolKey::Delete) {
        if (outlined)
            m_selectionRegion = m_regionObject->CreateRegion().ToRegion();
        syncSelection();
    }
    Repaint();
}

void TPatternGrid::handleSpace()
{
    if (auto *curve = dynamic_cast<TCurveLine *>(m_drawObject.get()); curve && curve->GetPointCount() > 0) {
        curve->SetVisible(!curve->GetVisible());
    } else if (m_drawObject && !m_drawObject->Cells().empty()) {
        FinishDrawObject(*m_drawObject);
    }
    ToggleSelectionCurve();
}

void TPatternGrid::ToggleSelectionCurve()
{
    if (auto *curve = dynamic_cast<TCurveLine *>(m_regionObject.get()); curve && curve->GetPointCount() > 0)
        curve->SetVisible(!curve->GetVisible());
}

// Left and Up step one cell back (with Ctrl one screenful, not below 0); Right and Down
// one cell on (with Ctrl one screenful) unless the last column (row) is already fully
// shown, and never past the last useful column (row), with Ctrl as without it.
bool TPatternGrid::HandleArrowKey(int key, bool ctrl)
{
    // With the needle move on the arrows shift the selection's content; with a floating
    // object they move it by one cell; else they scroll.
    const std::array<std::pair<int, TPoint>, 4> arrows { {
        { Qt::Key_Left, { -1, 0 } },
        { Qt::Key_Up, { 0, -1 } },
        { Qt::Key_Right, { 1, 0 } },
        { Qt::Key_Down, { 0, 1 } },
    } };
    const auto arrow
        = std::find_if(arrows.begin(), arrows.end(), [key](const auto &a) { return a.first == key; });
    if (arrow != arrows.end() && m_moveWarp) {
        const TPoint d = arrow->second;
        MoveRegionContent(d.X != 0 ? -2 * d.X : d.Y);
        return true;
    }
    if (arrow != arrows.end() && MoveFloatingObject(arrow->second.X, arrow->second.Y))
        return true;
    if (!m_arrowScroll || ColCount() == 0 || RowCount() == 0)
        return false;
    const TGridDrawInfo info = m_grid.CalcDrawInfo();
    const int vc = std::max(1, std::min(ColCount(), info.Horz.LastFullVisibleCell + 2) - LeftCol());
    const int vr = std::max(1, std::min(RowCount(), info.Vert.LastFullVisibleCell + 2) - TopRow());
    const bool lastColShown = info.Horz.LastFullVisibleCell >= ColCount() - 1;
    const bool lastRowShown = info.Vert.LastFullVisibleCell >= RowCount() - 1;
    int left = LeftCol(), top = TopRow();
    switch (key) {
    case Qt::Key_Left:
        left = std::max(0, left - (ctrl ? vc : 1));
        break;
    case Qt::Key_Up:
        top = std::max(0, top - (ctrl ? vr : 1));
        break;
    case Qt::Key_Right:
        if (!lastColShown)
            left = std::min(ColCount() - vc + 1, left + (ctrl ? vc : 1));
        break;
    case Qt::Key_Down:
        if (!lastRowShown)
            top = std::min(RowCount() - vr + 1, top + (ctrl ? vr : 1));
        break;
    default:
        return false;
    }
    SetLeftCol(std::max(0, left));
    SetTopRow(std::max(0, top));
    return true;
}

// ---- What the tools keep, as the grid's callers read it ------------------------------------

TPoint TPatternGrid::DownCell() const
{
    return m_tools->DownCell;
}

bool TPatternGrid::GridDragging() const
{
    return m_tools->As<TViewDragTool>(T::MoveGrid).Dragging();
}

void TPatternGrid::ToolTimerTick()
{
    if (m_toolId == T::Sprayer && m_toolTimerOn)
        SprayBurst();
}

void TPatternGrid::SprayBurst()
{
    m_tools->As<TSprayTool>(T::Sprayer).Burst();
}

TPoint TPatternGrid::SprayCenter() const
{
    return m_tools->As<TSprayTool>(T::Sprayer).Center();
}

void TPatternGrid::SetRandomSeed(std::uint32_t seed)
{
    m_tools->As<TSprayTool>(T::Sprayer).Seed(seed);
}

// Like every whole-picture command: floating objects and the repeat view go first.
bool TPatternGrid::WarpPictureToCorners(const std::array<TPoint, 4> &corners)
{
    return transformPicture([&](QImage &picture) {
        const QImage source = m_refBitmap.isNull() ? picture.copy() : m_refBitmap.copy();
        return ::WarpPictureToCorners(source, picture, corners);
    });
}

// ---- Fill and colour change ------------------------------------------------------------

// The 4-connected cells holding the pressed cell's index take the fore index (the picture
// is a matrix of indexes: another index that only looks the same stays); each fill is one
// undo step, under the recorder's rules.
void TPatternGrid::FloodFillAt(TPoint cell)
{
    fillAreaAt(cell);
}

// Inside the selection's box (the whole picture without one) every cell of the pressed
// index takes the fore index, protected or not: one recolouring of the box.
void TPatternGrid::ChangeColorAt(TPoint cell)
{
    changeColorAt(cell);
}
