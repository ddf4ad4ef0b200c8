// Drawing on the pattern grid: the current tool, its drawing object, and what a press, a
// move and a release of the mouse do for each tool. The window hands in picture cells, so
// every tool here works headless and sees the same cell at every zoom level.
//
// The dispatch is one switch per mouse event on the tool id (MouseDown, MouseMove,
// MouseUp); a tool that lives with its own feature gets one case that calls its routine.
// Every change to the picture is recorded through the grid's undo wrappers.
#include "editor/patterngrid.h"

#include "core/base/cursors.h"
#include "core/base/messages.h"
#include "core/base/numutils.h"
#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "editor/tools/bandtool.h"
#include "editor/tools/concentrictool.h"
#include "editor/tools/curvetool.h"
#include "editor/tools/drawtoolregistry.h"
#include "editor/tools/freehandtool.h"
#include "editor/tools/polylinetool.h"
#include "editor/tools/rectangletool.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using T = TToolId;

bool isOneOf(TToolId id, std::initializer_list<TToolId> ids)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// The tools whose drawing object is made anew when the tool is chosen.
bool recreatesOnChoice(TToolId id)
{
    return isOneOf(id,
        { T::MagicStick, T::Arc, T::BeeLine, T::FreeLine, T::Rectangle, T::FilledRectangle, T::Circle,
            T::FilledCircle, T::BreakLine, T::CurveLine, T::FilledFreeLine, T::FilledArc, T::FilledCurveLine,
            T::FilledBreakLine, T::BindingPointsSingle, T::BindingPointsDouble, T::ConcentricCircle });
}

// The selection tools draw the selection's object; the quadrilateral of tool 33 is kept
// there too, since Enter maps the picture onto it.
bool usesRegionObject(TToolId id)
{
    return ToolIdValue(id) <= ToolIdValue(T::MagicStick) || id == T::BuildRectBmp;
}

bool isSelectionTool(TToolId id)
{
    return ToolIdValue(id) <= ToolIdValue(T::MagicStick);
}

TCursorId cursorOf(TToolId id)
{
    switch (id) {
    case T::DefineFreePointLine:
        return crLasso;
    case T::DefineBreakPointLine:
        return crPolygon;
    case T::MagicStick:
        return crMagicStick;
    case T::Move:
        return crMovingArea;
    case T::FreeLine:
    case T::FilledFreeLine:
    case T::BindingPointsSingle:
    case T::BindingPointsDouble:
        return crBeeLine;
    case T::FillColor:
    case T::ChangeColor:
        return crFillColor;
    case T::Sprayer:
    case T::CrepeWeave:
        return crSpray;
    case T::AbsorbColor:
        return crAbsorbColor;
    case T::InsertWord:
        return crInsertWord;
    case T::MoveSelection:
        return crCutArea;
    case T::HorzCut:
        return crHorzCut;
    case T::VertCut:
        return crVertCut;
    case T::MoveGrid:
        return crHandOpen2;
    case T::NoTool:
    case T::PickedWeave:
    case T::PickedPattern:
    case T::HorzLine:
    case T::VertLine:
    case T::ConcentricRectangle:
    case T::MouseSelect:
        return TCursorId(0);
    default:
        return crDefineArea;
    }
}

} // namespace

// ---- Set-up ------------------------------------------------------------------------------

void TPatternGrid::initTools()
{
    CreateDrawObject(m_drawObject, T::Rectangle, true);
    CreateDrawObject(m_regionObject, T::DefineRectangle, true);
    m_toolCursor = cursorOf(m_toolId);
}

bool TPatternGrid::insidePicture(TPoint cell) const
{
    return !m_picture.isNull() && cell.X >= 0 && cell.Y >= 0 && cell.X < m_picture.width()
        && cell.Y < m_picture.height();
}

// A shape tool started a shape: nothing to undo or redo until it is committed.
void TPatternGrid::notifyShapeStarted()
{
    if (m_ownsPicture)
        SendUndoState(0, 0);
}

int TPatternGrid::randomBelow(int n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_random);
}

void TPatternGrid::setToolCursor(int id)
{
    m_toolCursor = id;
    if (m_viewport)
        m_viewport->ToolCursorChanged();
}

void TPatternGrid::setToolTimer(bool on)
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

// The selection is the area of the selection tool's shape (none while it has no area).
void TPatternGrid::syncSelection()
{
    if (!m_regionObject || !isSelectionTool(m_toolId))
        return;
    m_selectionRegion = m_regionObject->CreateRegion().ToRegion();
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

// ---- Choosing a tool ---------------------------------------------------------------------

// The previous tool is kept for Enter and Space to return to. A pending shape is committed
// when another tool is chosen, except that the view drag (42) keeps it, so that the user
// can scroll and go on; the ready 20 x 20 shape of the clear-mottle tools is kept only by
// the view drag as well.
void TPatternGrid::SetDrawTool(TToolId id)
{
    RunState().CurrentToolId = id;
    if (id != m_toolId) {
        if (recreatesOnChoice(id) && m_toolId != T::MoveGrid) {
            CreateDrawObject(m_drawObject, id, false);
            Repaint();
        } else if (!IsClearMottleTool(m_drawObjectTool) && id != T::MoveGrid && m_drawObject
            && !m_drawObject->Cells().empty()) {
            finishDrawObject(*m_drawObject);
        }
        if (IsClearMottleTool(m_toolId) && id != T::MoveGrid) {
            if (m_drawObject)
                m_drawObject->Clear();
            Repaint();
        }
        if (IsClearMottleTool(id)) {
            CreateDrawObject(m_drawObject, id, false);
            if (m_drawObject) {
                m_drawObject->AddPoint({ 0, 0 });
                m_drawObject->AddPoint({ 20, 20 });
                m_drawObject->SetMode(TDrawMode::Ready);
            }
        }
        if (m_toolId == T::BuildRectBmp) {
            if (m_regionObject)
                m_regionObject->Clear();
            Repaint();
        }
        if (m_toolId != T::NoTool)
            m_prevToolId = m_toolId;
        m_toolId = id;
        // The selection tools draw into the selection's object; it becomes the new tool's.
        if (usesRegionObject(id) && m_regionObject
            && m_regionObject->ClassName() != DrawObjectClassForTool(id).toLatin1()) {
            const QRegion keep = m_selectionRegion;
            CreateDrawObject(m_regionObject, id, true);
            m_selectionRegion = keep;
        }
    }
    setToolCursor(cursorOf(id));
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
    const TToolId id = m_drawObjectTool;
    const TColor fore = GetForeColor();
    if (isOneOf(id,
            { T::FilledRectangle, T::FilledCircle, T::FilledFreeLine, T::FilledArc, T::FilledCurveLine,
                T::FilledBreakLine, T::ClearMottleByRect, T::ClearMottleByCircle })) {
        o.SetPenStyle(
            fore, fore, o.VertWidth(), o.HorzWidth(), 1, TBrushStyle::Solid, o.PenStyle(), TPenMode::Copy);
        o.SetFilled(!isOneOf(id, { T::FilledRectangle, T::FilledCircle }));
    } else if (isOneOf(id,
                   { T::Arc, T::BeeLine, T::FreeLine, T::Rectangle, T::Circle, T::BreakLine, T::CurveLine,
                       T::ConcentricCircle })) {
        o.SetPenStyle(fore, fore, o.VertWidth(), o.HorzWidth(), 1, TBrushStyle::Clear, TPenStyle::Solid,
            TPenMode::Copy);
        o.SetFilled(false);
    } else {
        o.SetColors(m_foreColor, m_backColor);
    }
}

// The floating text takes the chosen colour as its font colour when there is one; the grid
// keeps no floating text yet, so the repaint is all that is left of it.
void TPatternGrid::ColorChosen(TColor)
{
    Repaint();
}

void TPatternGrid::CreateDrawObject(std::unique_ptr<TCustomLine> &field, TToolId id, bool keepPending)
{
    const QString className = DrawObjectClassForTool(id);
    if (className.isEmpty())
        return;
    if (field) {
        if (!IsClearMottleTool(m_drawObjectTool) && !keepPending && !field->Locked()
            && !field->Cells().empty() && field.get() == m_drawObject.get())
            finishDrawObject(*field);
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
    o.SetShowMarker(!isOneOf(id,
        { T::DefineFreePointLine, T::FreeLine, T::FilledFreeLine, T::ClearMottleByRect,
            T::ClearMottleByCircle, T::BindingPointsSingle, T::BindingPointsDouble }));
    o.SetPreviewCanvas(&m_viewBitmap);
    o.SetPictureCanvas(&m_picture);
    o.SetGrid(&m_grid);
    o.SetPenIndex(m_foreIndex);
    o.SetOnChange([this](TDrawObject &) { Repaint(); });
    o.SetOnRefresh([this](TDrawObject &) { Repaint(); });
    o.SetFilled(isOneOf(id,
        { T::FilledFreeLine, T::FilledArc, T::FilledCurveLine, T::FilledBreakLine, T::ClearMottleByRect,
            T::ClearMottleByCircle }));
    // The clear-mottle shape stays after each click: it cleans wherever it is put next.
    o.SetAutoClear(!IsClearMottleTool(id));
    o.SetLocked(isSelectionTool(id));

    const TColor fore = m_foreColor;
    const int hw = RunState().HorzWidth, vw = RunState().VertWidth;
    if (isOneOf(id,
            { T::Arc, T::BeeLine, T::FreeLine, T::Rectangle, T::Circle, T::BreakLine, T::CurveLine,
                T::ConcentricCircle }))
        o.SetPenStyle(fore, fore, vw, hw, 1, TBrushStyle::Clear, TPenStyle::Solid, TPenMode::Copy);
    else if (isOneOf(id,
                 { T::FilledRectangle, T::FilledCircle, T::FilledFreeLine, T::FilledArc, T::FilledCurveLine,
                     T::FilledBreakLine, T::BuildRectBmp, T::ClearMottleByRect, T::ClearMottleByCircle }))
        o.SetPenStyle(fore, fore, vw, hw, 1, TBrushStyle::Solid, TPenStyle::Solid, TPenMode::Copy);
    else if (isOneOf(id, { T::BindingPointsSingle, T::BindingPointsDouble }))
        o.SetPenStyle(fore, fore, 1, 1, 1, TBrushStyle::Clear, TPenStyle::Solid, TPenMode::Copy);

    if (auto *poly = dynamic_cast<TBreakLine *>(&o))
        poly->SetQuadrilateral(id == T::BuildRectBmp);
    if (auto *band = dynamic_cast<TFullLine *>(&o))
        band->SetVertical(id == T::DefineVerticalLine);
    if (auto *rings = dynamic_cast<TConcentricCircle *>(&o))
        rings->SetDensities(m_warpDensity, m_weftDensity);
}

// Commits the pending shape into the picture in the fore index and records it: a free-hand
// stroke as the list of its cells (so that a stroke costs what the stroke costs), every
// other shape as the cells that changed inside its box.
void TPatternGrid::finishDrawObject(TCustomLine &object)
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
    if (listed)
        cells = object.Cells();
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

TCustomLine *TPatternGrid::objectForTool()
{
    return usesRegionObject(m_toolId) ? m_regionObject.get() : m_drawObject.get();
}

// ---- Mouse ----------------------------------------------------------------------------

void TPatternGrid::MouseDown(const TCellEvent &e)
{
    if (!insidePicture(e.Cell))
        return;
    if (m_ownsPicture)
        SendGrossPos(e.Cell.X, e.Cell.Y);
    m_downCell = e.Cell;
    m_lastCell = e.Cell;

    // Ctrl colour pick (a right click picks with the free-hand tools too); the tool itself
    // does not start, and the release only ends the pick.
    const bool left = e.Button == TMouseButton::Left;
    if (m_toolId != T::MoveGrid
        && ((left && e.Ctrl)
            || (!left && (e.Ctrl || m_toolId == T::FreeLine || m_toolId == T::FilledFreeLine)))) {
        m_colorPicking = true;
        setToolCursor(crAbsorbColor);
        pickColor(e.Cell, left || !e.Ctrl ? 3 : 4);
        return;
    }
    if (!isOneOf(m_toolId, { T::Move, T::AbsorbColor, T::InsertWord }))
        DropFloatingObjects();

    switch (m_toolId) {
    case T::DefineRectangle:
    case T::DefineCircle:
    case T::DefineFreePointLine:
        shapePress(*m_regionObject, e, true);
        break;
    case T::DefineHorizontalLine:
    case T::DefineVerticalLine:
        fullLinePress(e);
        break;
    case T::DefineBreakPointLine:
    case T::DefineCurveLine:
    case T::BuildRectBmp:
        polygonPress(*m_regionObject, e);
        break;
    case T::MagicStick:
        magicStickPress(e);
        break;
    case T::Move:
        m_moveStart = e.Cell;
        break;
    case T::Arc:
    case T::FilledArc:
        arcPress(e);
        break;
    case T::BeeLine:
    case T::Rectangle:
    case T::FilledRectangle:
    case T::Circle:
    case T::FilledCircle:
        shapePress(*m_drawObject, e, false);
        break;
    case T::FreeLine:
    case T::FilledFreeLine:
        freeLinePress(e);
        break;
    case T::FillColor:
        floodFill(e.Cell);
        break;
    case T::Sprayer:
        sprayPress(e.Cell);
        break;
    case T::AbsorbColor:
        pickColor(e.Cell, left ? 3 : 4);
        break;
    case T::BreakLine:
    case T::FilledBreakLine:
        polylinePress(e);
        break;
    case T::CurveLine:
    case T::FilledCurveLine:
        curvePress(e);
        break;
    case T::HorzCut:
        cutPress(e.Cell, true);
        break;
    case T::VertCut:
        cutPress(e.Cell, false);
        break;
    case T::ClearMottleByRect:
    case T::ClearMottleByCircle:
        clearMottlePress(e);
        break;
    case T::ConcentricCircle:
        concentricPress(e);
        break;
    case T::MoveGrid:
        moveGridPress(e);
        break;
    case T::ChangeColor:
        changeColor(e.Cell);
        break;
    case T::PickedWeave:
    case T::PickedPattern:
        PickedToolPress(e.Cell, e.Button == TMouseButton::Right);
        break;
    // Each of these gets a case of its own, calling its routine, when its feature is built.
    case T::InsertWord:
    case T::BindingPointsSingle:
    case T::BindingPointsDouble:
    case T::CrepeWeave:
    case T::MouseSelect:
        laterToolPress(e);
        break;
    default: // 15, 23, 24, 29, 30, 43: nothing
        break;
    }
    syncSelection();
}

void TPatternGrid::MouseMove(const TCellEvent &e, bool held)
{
    // The view drag reads the window's cells, which may lie beyond the picture's.
    if (m_toolId == T::MoveGrid && held && m_buttonDown) {
        moveGridMove(e);
        return;
    }
    if (!insidePicture(e.Cell))
        return;
    m_downCell = e.Cell;
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
    if (!held && !IsClearMottleTool(m_toolId))
        return;

    switch (m_toolId) {
    case T::DefineRectangle:
    case T::DefineCircle:
    case T::DefineFreePointLine:
    case T::DefineHorizontalLine:
    case T::DefineVerticalLine:
    case T::MagicStick:
        shapeMove(*m_regionObject, e);
        break;
    case T::DefineBreakPointLine:
    case T::DefineCurveLine:
    case T::BuildRectBmp:
        vertexDragMove(*m_regionObject, e);
        break;
    case T::BeeLine:
    case T::Rectangle:
    case T::FilledRectangle:
    case T::Circle:
    case T::FilledCircle:
        shapeMove(*m_drawObject, e);
        break;
    case T::Arc:
    case T::FilledArc:
    case T::BreakLine:
    case T::FilledBreakLine:
    case T::CurveLine:
    case T::FilledCurveLine:
    case T::ConcentricCircle:
        vertexDragMove(*m_drawObject, e);
        break;
    case T::FreeLine:
    case T::FilledFreeLine:
        m_drawObject->AddPoint(e.Cell);
        break;
    case T::Sprayer:
        m_sprayCenter = e.Cell;
        break;
    case T::ClearMottleByRect:
    case T::ClearMottleByCircle:
        clearMottleMove(e);
        break;
    case T::InsertWord:
    case T::BindingPointsSingle:
    case T::BindingPointsDouble:
    case T::PickedWeave:
    case T::PickedPattern:
    case T::CrepeWeave:
    case T::MouseSelect:
        laterToolMove(e);
        break;
    default:
        break;
    }
    syncSelection();
}

void TPatternGrid::MouseUp(const TCellEvent &e)
{
    if (m_colorPicking) {
        m_colorPicking = false;
        setToolCursor(cursorOf(m_toolId));
        return;
    }
    switch (m_toolId) {
    case T::DefineRectangle:
    case T::DefineCircle:
    case T::DefineHorizontalLine:
    case T::DefineVerticalLine:
    case T::MagicStick:
        shapeRelease(*m_regionObject);
        m_regionObject->SetMode(TDrawMode::Ready);
        break;
    case T::DefineFreePointLine: {
        const bool drawn = std::uint8_t(m_regionObject->Mode()) >= std::uint8_t(TDrawMode::VertexTaken);
        shapeRelease(*m_regionObject);
        if (!drawn) {
            m_regionObject->Clear();
            setToolCursor(cursorOf(m_toolId));
        }
        m_regionObject->SetMode(TDrawMode::Ready);
        Repaint();
        break;
    }
    case T::DefineBreakPointLine:
    case T::DefineCurveLine:
    case T::BuildRectBmp:
        polygonRelease(*m_regionObject);
        break;
    case T::BeeLine:
    case T::Rectangle:
    case T::FilledRectangle:
    case T::Circle:
    case T::FilledCircle:
        shapeRelease(*m_drawObject);
        break;
    case T::Arc:
    case T::FilledArc:
    case T::CurveLine:
    case T::FilledCurveLine:
        m_drawObject->SetSelected(false);
        break;
    case T::BreakLine:
    case T::FilledBreakLine:
        m_drawObject->SetMode(TDrawMode::New);
        m_drawObject->SetSelected(false);
        break;
    case T::ConcentricCircle:
        m_drawObject->SetSelected(false);
        m_drawObject->SetMode(TDrawMode::Selected);
        break;
    case T::FreeLine:
    case T::FilledFreeLine:
        if (m_drawObject->Mode() == TDrawMode::New)
            finishDrawObject(*m_drawObject);
        break;
    case T::Sprayer:
        setToolTimer(false);
        break;
    case T::MoveGrid:
        // The drag ends here: a view still marked as dragging would go on following the
        // pointer after the button is up.
        m_buttonDown = false;
        m_gridDragging = false;
        if (m_viewport)
            m_viewport->SetAutoScroll(true);
        break;
    case T::ClearMottleByRect:
    case T::ClearMottleByCircle:
        clearMottleRelease(e);
        break;
    case T::InsertWord:
    case T::BindingPointsSingle:
    case T::BindingPointsDouble:
    case T::PickedWeave:
    case T::PickedPattern:
    case T::CrepeWeave:
    case T::MouseSelect:
        laterToolRelease(e);
        break;
    default:
        break;
    }
    syncSelection();
    Repaint();
}

// ---- Two-point shapes: selections 0, 1, 4, 7 and the shapes 10, 17 to 20 ----------------

void TPatternGrid::shapePress(TCustomLine &object, const TCellEvent &e, bool regionTool)
{
    if (e.Button == TMouseButton::Right) {
        if (object.Mode() == TDrawMode::Selected) {
            object.SetMode(TDrawMode::VertexTaken);
            object.HitVertex(e.Cell, true);
        }
    } else if (object.GetPointCount() > 0 && object.HitTest(e.Cell, true)) {
        object.SetMode(TDrawMode::Selected);
    } else {
        std::unique_ptr<TCustomLine> &field = regionTool ? m_regionObject : m_drawObject;
        CreateDrawObject(field, m_toolId, false);
        field->SetMode(TDrawMode::New);
        field->AddPoint(e.Cell);
        if (!regionTool)
            notifyShapeStarted();
    }
    Repaint();
}

void TPatternGrid::shapeMove(TCustomLine &object, const TCellEvent &e)
{
    const TDrawMode mode = object.Mode();
    if (mode == TDrawMode::Selected || mode == TDrawMode::VertexTaken || mode == TDrawMode::Growing) {
        if (object.Selected()) {
            object.MoveToPoint(e.Cell);
            object.SetMode(TDrawMode::VertexTaken);
            Repaint();
        } else {
            object.HitVertex(e.Cell, false);
        }
        return;
    }
    if (mode != TDrawMode::New && mode != TDrawMode::Editing)
        return;
    TPoint cell = e.Cell;
    if (m_toolId == T::DefineFreePointLine) {
        object.AddPoint(cell);
    } else if (object.GetPointCount() > 0) {
        // Square on the cloth: as many warps across as the densities make the rows high.
        if (e.Shift && m_weftDensity > 0) {
            const TPoint start = object.Vertex(0).Point();
            cell.X = int(Round((cell.Y - start.Y) * m_warpDensity / m_weftDensity + start.X));
        }
        object.AddPoint(cell);
    }
    object.SetMode(TDrawMode::Editing);
    Repaint();
}

void TPatternGrid::shapeRelease(TCustomLine &object)
{
    if (std::uint8_t(object.Mode()) >= std::uint8_t(TDrawMode::VertexTaken)) {
        object.SetSelected(false);
        object.SetMode(TDrawMode::Selected);
    } else {
        object.Clear();
    }
}

// ---- Whole rows and columns: 2 and 3 --------------------------------------------------

void TPatternGrid::fullLinePress(const TCellEvent &e)
{
    TCustomLine &object = *m_regionObject;
    if (e.Button == TMouseButton::Right) {
        if (object.Mode() == TDrawMode::Selected) {
            object.SetMode(TDrawMode::VertexTaken);
            object.HitVertex(e.Cell, true);
        }
    } else if (object.GetPointCount() > 0 && object.HitTest(e.Cell, true)) {
        object.SetMode(TDrawMode::Selected);
    } else {
        CreateDrawObject(m_regionObject, m_toolId, true);
        TCustomLine &band = *m_regionObject;
        if (m_toolId == T::DefineHorizontalLine) {
            band.AddPoint({ 0, e.Cell.Y });
            band.AddPoint({ m_picture.width() - 1, e.Cell.Y });
        } else {
            band.AddPoint({ e.Cell.X, 0 });
            band.AddPoint({ e.Cell.X, m_picture.height() - 1 });
        }
        band.SetMode(TDrawMode::VertexTaken);
        band.HitTest(e.Cell, true);
    }
    Repaint();
}

// ---- Polygons and curves clicked point by point: 5, 6, 33 --------------------------------

void TPatternGrid::polygonPress(TCustomLine &object, const TCellEvent &e)
{
    if (e.Button == TMouseButton::Right) {
        if (object.Mode() == TDrawMode::Selected) {
            object.SetMode(TDrawMode::Growing);
            object.HitVertex(e.Cell, true);
        }
        Repaint();
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
        CreateDrawObject(m_regionObject, m_toolId, true);
        m_regionObject->AddPoint(e.Cell);
        m_regionObject->SetMode(TDrawMode::Selected);
    }
    Repaint();
}

void TPatternGrid::polygonRelease(TCustomLine &object)
{
    object.SetSelected(false);
    object.SetMode(TDrawMode::Selected);
}

// The taken vertex (or the grabbed shape) follows the pointer.
void TPatternGrid::vertexDragMove(TCustomLine &object, const TCellEvent &e)
{
    if (object.Selected()) {
        object.MoveToPoint(e.Cell);
        Repaint();
    }
}

// ---- Magic stick: 7 -------------------------------------------------------------------

void TPatternGrid::magicStickPress(const TCellEvent &e)
{
    TCustomLine &object = *m_regionObject;
    if (e.Button == TMouseButton::Right
        || (object.GetPointCount() > 0 && object.Mode() != TDrawMode::Idle
            && object.HitTest(e.Cell, false))) {
        shapePress(object, e, true);
        return;
    }
    CreateDrawObject(m_regionObject, m_toolId, true);
    TRect box;
    bool found = false;
    if (!e.Shift) {
        // The box of every cell of the pressed cell's index.
        GetColorIndexBounds(m_picture, m_picture.constScanLine(e.Cell.Y)[e.Cell.X], box);
        found = true;
    } else {
        // The piece band holding the pressed cell; a gap or beyond the last band selects
        // nothing.
        const int width = m_repeatDisplayValues[1], count = m_repeatDisplayValues[2],
                  gap = m_repeatDisplayValues[3];
        for (int i = 0; i < count && width > 0; ++i) {
            const int left = (width + gap) * i, right = left + width - 1;
            if (e.Cell.X >= left && e.Cell.X <= right) {
                box = { left, 0, right, m_picture.height() - 1 };
                found = true;
                break;
            }
        }
    }
    if (found) {
        // The rectangle tool keeps two corners: the third and fourth replace the second.
        m_regionObject->AddPoint({ box.Left, box.Top });
        m_regionObject->AddPoint({ box.Right, box.Top });
        m_regionObject->AddPoint({ box.Left, box.Bottom });
        m_regionObject->AddPoint({ box.Right, box.Bottom });
    }
    m_regionObject->SetMode(TDrawMode::VertexTaken);
    m_regionObject->HitTest(e.Cell, true);
    Repaint();
}

// ---- Arcs, polylines, curves: 9, 21, 22, 26, 27, 28 --------------------------------------

void TPatternGrid::arcPress(const TCellEvent &e)
{
    TCustomLine &object = *m_drawObject;
    if (object.Mode() == TDrawMode::Idle)
        object.SetColors(GetForeColor(), GetForeColor());
    object.SetMode(TDrawMode::New);
    if (e.Button == TMouseButton::Right) {
        object.HitVertex(e.Cell, true);
    } else {
        // Three points make the arc; a fourth press commits it and starts the next.
        if (object.GetPointCount() == 3)
            finishDrawObject(object);
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
    notifyShapeStarted();
    Repaint();
}

void TPatternGrid::polylinePress(const TCellEvent &e)
{
    if (e.Button == TMouseButton::Right) {
        m_drawObject->SetMode(TDrawMode::Selected);
        m_drawObject->HitVertex(e.Cell, true);
    } else {
        if (m_drawObject->Mode() == TDrawMode::Idle) {
            CreateDrawObject(m_drawObject, m_toolId, false);
            m_drawObject->SetMode(TDrawMode::New);
        }
        m_drawObject->AddPoint(e.Cell);
    }
    Repaint();
    notifyShapeStarted();
}

void TPatternGrid::curvePress(const TCellEvent &e)
{
    TCustomLine &object = *m_drawObject;
    object.SetShowMarker(true);
    if (object.Mode() == TDrawMode::Idle)
        object.SetColors(GetForeColor(), GetForeColor());
    object.SetMode(TDrawMode::New);
    if (e.Button == TMouseButton::Left)
        object.AddPoint(e.Cell);
    else
        object.HitVertex(e.Cell, true);
    Repaint();
    notifyShapeStarted();
}

// ---- Free-hand strokes: 11, 25 -----------------------------------------------------------

void TPatternGrid::freeLinePress(const TCellEvent &e)
{
    CreateDrawObject(m_drawObject, m_toolId, false);
    m_drawObject->SetMode(TDrawMode::New);
    m_drawObject->AddPoint(e.Cell);
    notifyShapeStarted();
}

// ---- Concentric circles: 38 --------------------------------------------------------------

// The first press sets the centre; each further press adds a ring (or takes the ring's
// vertex under the pointer), and the drag moves it.
void TPatternGrid::concentricPress(const TCellEvent &e)
{
    TCustomLine &object = *m_drawObject;
    if (object.GetPointCount() > 0 && object.HitVertex(e.Cell, true)) {
        object.SetMode(TDrawMode::Growing);
    } else if (object.GetPointCount() == 0 || object.Mode() == TDrawMode::Idle) {
        CreateDrawObject(m_drawObject, m_toolId, false);
        m_drawObject->SetShowMarker(true);
        m_drawObject->AddPoint(e.Cell);
        m_drawObject->SetMode(TDrawMode::Selected);
    } else if (e.Button == TMouseButton::Left) {
        object.AddPoint(e.Cell);
        object.HitVertex(e.Cell, true);
        object.SetMode(TDrawMode::Growing);
    }
    notifyShapeStarted();
    Repaint();
}

// ---- Clear mottle: 34, 35 ----------------------------------------------------------------

// The ready shape cleans under it with each left click: every cell in it takes the fore
// index except the cells of the back colour, which are protected while it commits.
void TPatternGrid::clearMottlePress(const TCellEvent &e)
{
    TCustomLine &object = *m_drawObject;
    if (object.Mode() == TDrawMode::Idle) {
        object.SetColors(m_foreColor, m_foreColor);
        object.SetMode(TDrawMode::New);
    }
    if (object.Mode() == TDrawMode::Ready && e.Button == TMouseButton::Left) {
        const bool had = m_colorSet.test(m_backIndex);
        m_colorSet.set(m_backIndex);
        finishDrawObject(object);
        if (!had)
            m_colorSet.reset(m_backIndex);
    } else if (object.GetPointCount() == 2 && e.Button == TMouseButton::Right) {
        object.SetMode(TDrawMode::Selected);
        object.HitVertex(object.Vertex(1).Point(), true);
    }
}

void TPatternGrid::clearMottleMove(const TCellEvent &e)
{
    TCustomLine &object = *m_drawObject;
    TPoint cell = e.Cell;
    const auto square = [&] {
        if (e.Shift && object.GetPointCount() > 0 && m_weftDensity > 0) {
            const TPoint start = object.Vertex(0).Point();
            cell.X = int(Round((cell.Y - start.Y) * m_warpDensity / m_weftDensity + start.X));
        }
    };
    switch (object.Mode()) {
    case TDrawMode::New:
    case TDrawMode::Editing:
        square();
        object.AddPoint(cell);
        object.SetMode(TDrawMode::Editing);
        break;
    case TDrawMode::Ready:
        // The ready shape follows the pointer with its second corner.
        if (object.GetPointCount() == 2) {
            const TPoint b = object.Vertex(1).Point();
            object.OffsetPoints(cell.X - b.X, cell.Y - b.Y);
        }
        break;
    case TDrawMode::Selected:
    case TDrawMode::Growing:
        square();
        object.MoveToPoint(cell);
        object.SetMode(TDrawMode::Growing);
        break;
    default:
        break;
    }
    Repaint();
}

void TPatternGrid::clearMottleRelease(const TCellEvent &e)
{
    TCustomLine &object = *m_drawObject;
    if (object.GetPointCount() == 1 && object.Mode() == TDrawMode::New) {
        object.Clear();
    } else if (object.GetPointCount() == 0 || object.Mode() == TDrawMode::Selected) {
        // A right click without a drag turns the rectangle into the ellipse and back.
        SetDrawTool(m_toolId == T::ClearMottleByRect ? T::ClearMottleByCircle : T::ClearMottleByRect);
        if (m_drawObject && m_drawObject->GetPointCount() == 2) {
            const TPoint b = m_drawObject->Vertex(1).Point();
            m_drawObject->OffsetPoints(e.Cell.X - b.X, e.Cell.Y - b.Y);
        }
    } else {
        object.SetMode(TDrawMode::Ready);
    }
    Repaint();
}

// ---- Immediate tools: 12, 13, 14, 31, 32, 44 -----------------------------------------------

// The 4-connected cells holding the pressed cell's index take the fore index (the picture
// is a matrix of indexes: another index that only looks the same stays). The cells that
// changed inside the fill's box form one undo step, under the recorder's rules.
void TPatternGrid::floodFill(TPoint cell)
{
    fillAreaAt(cell);
}

// A change of many cells is kept as a whole picture (two files of the picture's size on
// disk) once its cell list (6 bytes a cell, in memory) would be larger than those files,
// as long as the recorder's rules could not put a cell back (no selection, no start-point
// filter; the caller has left protected colours alone). Otherwise the cells that changed
// in box form the step.
void TPatternGrid::recordChangedArea(const TRect &box, long long changed, bool rules)
{
    const long long pictureBytes = static_cast<long long>(m_picture.width()) * m_picture.height();
    const bool rulesCannotReject
        = !rules || (m_selectionRegion.isEmpty() && !m_pointStyle[0] && !m_pointStyle[1]);
    if (changed * 6 > 2 * pictureBytes && rulesCannotReject) {
        SaveImageUndoStep();
        RebuildDisplayBitmap(); // RefBitmap := Picture
    } else {
        RecordRectUndoStep(box, !rules, !rules);
    }
    RebuildReducedView();
    Repaint();
    NotifyMainWindow();
}

void TPatternGrid::sprayPress(TPoint cell)
{
    m_sprayCenter = cell;
    SprayBurst();
    setToolTimer(true);
}

void TPatternGrid::ToolTimerTick()
{
    if (m_toolId == T::Sprayer && m_toolTimerOn)
        SprayBurst();
}

// SprayCount points at random angles and distances up to SprayRadius around the centre;
// a point inside the picture whose index is not protected and that lies inside the
// selection (when there is one) takes the fore index. The burst's own cells make its step.
void TPatternGrid::SprayBurst()
{
    if (m_picture.isNull())
        return;
    m_sprayCells = TLineArray();
    std::vector<TPoint> cells;
    const int radius = std::max(1, m_sprayOption.Radius);
    const bool selection = !m_selectionRegion.isEmpty();
    for (int i = 0; i < m_sprayOption.PointCount; ++i) {
        const double a = randomBelow(65535) / (65535.0 / 360.0);
        const double r = randomBelow(65535) / (65535.0 / radius);
        const double rad = M_PI * a / 180.0;
        const TPoint p { int(Round(std::cos(rad) * r)) + m_sprayCenter.X,
            int(Round(std::sin(rad) * r)) + m_sprayCenter.Y };
        if (!insidePicture(p))
            continue;
        uchar &cell = m_picture.scanLine(p.Y)[p.X];
        if (m_colorSet.test(cell) || (selection && !m_selectionRegion.contains(QPoint(p.X, p.Y))))
            continue;
        cell = m_foreIndex;
        cells.push_back(p);
    }
    m_sprayCells = TLineArray(qsizetype(cells.size()));
    std::copy(cells.begin(), cells.end(), m_sprayCells.begin());
    Repaint();
    RecordUndoStep(m_sprayCells);
    RebuildReducedView();
    NotifyMainWindow();
}

void TPatternGrid::pickColor(TPoint cell, int kind)
{
    const int index = m_picture.constScanLine(cell.Y)[cell.X];
    TColorPickInfo info;
    info.Value = std::int32_t(PlainColor(m_palette[index]));
    info.Index = index;
    info.Kind = kind;
    SendColorPicked(TColor(info.Value), info);
}

// A click on row (column) r of the first repeat shifts the picture cyclically so that r
// comes first; row 0 and rows past the repeat do nothing.
void TPatternGrid::cutPress(TPoint cell, bool rows)
{
    if (rows) {
        if (cell.Y > 0 && cell.Y <= m_repeatInfo.UnitHeight - 1)
            ShiftPictureVert(cell.Y);
    } else if (cell.X > 0 && cell.X <= m_repeatInfo.UnitWidth - 1) {
        ShiftPictureHorz(cell.X);
    }
    NotifyMainWindow();
}

// Inside the selection's box (the whole picture without one) every cell of the pressed
// index takes the fore index, protected or not: one recolouring of the box.
void TPatternGrid::changeColor(TPoint cell)
{
    changeColorAt(cell);
}

// ---- View drag: 42 ----------------------------------------------------------------------

void TPatternGrid::moveGridPress(const TCellEvent &e)
{
    m_buttonDown = true;
    m_gridDragging = true;
    m_moveStart = e.ViewCell.X < 0 ? e.Cell : e.ViewCell;
    if (m_viewport)
        m_viewport->SetAutoScroll(false);
}

// The cell grabbed at the press stays under the pointer.
void TPatternGrid::moveGridMove(const TCellEvent &e)
{
    const TPoint now = e.ViewCell.X < 0 ? e.Cell : e.ViewCell;
    const int dx = m_moveStart.X - now.X, dy = m_moveStart.Y - now.Y;
    if (dx == 0 && dy == 0)
        return;
    const int maxLeft = std::max(0, ColCount() - 1), maxTop = std::max(0, RowCount() - 1);
    SetLeftCol(std::clamp(LeftCol() + dx, 0, maxLeft));
    SetTopRow(std::clamp(TopRow() + dy, 0, maxTop));
}

// ---- Tools built with their own features -------------------------------------------------
// Text (16), manual binding points (36, 37), the picked weave and pattern (39, 40), crepe
// (41) and the paste at the click (45) hook in here.

void TPatternGrid::laterToolPress(const TCellEvent &) { }

void TPatternGrid::laterToolMove(const TCellEvent &) { }

void TPatternGrid::laterToolRelease(const TCellEvent &) { }

// ---- Keys ---------------------------------------------------------------------------------

void TPatternGrid::HandleToolKey(int key)
{
    constexpr int Enter = 13, Space = 32, Delete = 46;
    const bool quad = m_toolId == T::BuildRectBmp;
    if (key == Enter || (key == Space && quad)) {
        if (quad && m_regionObject && m_regionObject->GetPointCount() == 4) {
            std::vector<TPoint> corners;
            m_regionObject->GetPoints(corners);
            const std::array<TPoint, 4> c { corners[0], corners[1], corners[2], corners[3] };
            // Like every whole-picture command: floating objects and the repeat view go first.
            if (transformPicture([&](QImage &picture) {
                    const QImage source = m_refBitmap.isNull() ? picture.copy() : m_refBitmap.copy();
                    return WarpPictureToCorners(source, picture, c);
                })) {
                m_regionObject->Clear();
                if (m_prevToolId != T::NoTool)
                    SetDrawTool(m_prevToolId);
            }
        } else if (quad && key == Space) {
            m_regionObject->Clear();
            if (m_prevToolId != T::NoTool)
                SetDrawTool(m_prevToolId);
        } else if (!quad) {
            if (m_drawObject && !m_drawObject->Cells().empty() && !IsClearMottleTool(m_drawObjectTool))
                finishDrawObject(*m_drawObject);
            if (m_regionObject && m_regionObject->GetPointCount() > 0)
                m_regionObject->SetMode(TDrawMode::Ready);
        }
        Repaint();
        return;
    }
    if (key == Space) {
        if (auto *curve = dynamic_cast<TCurveLine *>(m_drawObject.get());
            curve && curve->GetPointCount() > 0 && !IsClearMottleTool(m_toolId)) {
            curve->SetVisible(!curve->GetVisible());
        } else if (m_drawObject && IsClearMottleTool(m_toolId)) {
            m_drawObject->Clear();
        } else if (m_drawObject && !m_drawObject->Cells().empty()) {
            finishDrawObject(*m_drawObject);
        }
        if (auto *curve = dynamic_cast<TCurveLine *>(m_regionObject.get());
            curve && curve->GetPointCount() > 0)
            curve->SetVisible(!curve->GetVisible());
        Repaint();
        return;
    }
    if (key == Delete) {
        if (m_regionObject)
            m_regionObject->DeleteLastPoint();
        if (m_drawObject && !IsClearMottleTool(m_toolId))
            m_drawObject->DeleteLastPoint();
        syncSelection();
        Repaint();
    }
}

// Left and Up step one cell back (with Ctrl one screenful, not below 0); Right and Down
// one cell on (with Ctrl one screenful) unless the last column (row) is already fully
// shown, and never past the last useful column (row), with Ctrl as without it.
bool TPatternGrid::HandleArrowKey(int key, bool ctrl)
{
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
