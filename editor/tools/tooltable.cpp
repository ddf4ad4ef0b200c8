// The tool table. Columns: id; the action that chooses the tool, with its caption's section
// and key; the cursor; the drawing object's class; whether choosing the tool makes a new
// drawing object; whether it draws into the selection's object, and whether its shape is
// the selection; whether undo steps keep its pending shape; the pen; whether the shape
// commits its area; whether vertex markers show; and the factory (null: not built).
#include "editor/tools/tooltable.h"

#include "core/base/cursors.h"
#include "editor/tools/bindingpointgridtool.h"
#include "editor/tools/clearmottlegridtool.h"
#include "editor/tools/colorpickgridtool.h"
#include "editor/tools/concentricgridtool.h"
#include "editor/tools/crepegridtool.h"
#include "editor/tools/cutgridtools.h"
#include "editor/tools/fillgridtools.h"
#include "editor/tools/floatinggridtools.h"
#include "editor/tools/freehandgridtool.h"
#include "editor/tools/insertwordgridtool.h"
#include "editor/tools/pickedgridtools.h"
#include "editor/tools/polygongridtools.h"
#include "editor/tools/selectiongridtools.h"
#include "editor/tools/shapegridtools.h"
#include "editor/tools/spraygridtool.h"
#include "editor/tools/toolinfo.h"
#include "editor/tools/viewdraggridtool.h"

#include <array>

namespace {

template <class T> std::unique_ptr<TGridTool> make(TPatternGrid &grid, TToolId id)
{
    return std::make_unique<T>(grid, id);
}

using T = TToolId;
using P = TToolPen;
constexpr bool y = true, n = false;
constexpr const char *Tools = "Tools";
constexpr const char *Menu = "MainMenu";
constexpr const char *None = "";

// clang-format off
const std::array<TToolRow, MaxToolId + 1> kRows { {
    // id, action, section, caption key, cursor, class, recreated, selection object, makes selection,
    // shape copy, pen, fills area, markers, factory
    { T::DefineRectangle, "ActDefineRectangle", Tools, "Define_Rectangle_Area", crDefineArea, "TRectangleLine", n, y, y, n, P::Default, n, y, make<TSelectionShapeTool> },
    { T::DefineCircle, "ActDefineCircle", Tools, "Define_Circle_Area", crDefineArea, "TCircleLine", n, y, y, n, P::Default, n, y, make<TSelectionShapeTool> },
    { T::DefineHorizontalLine, "ActDefineHorizontalLine", Tools, "Define_Horizontally_Area", crDefineArea, "TFullLine", n, y, y, n, P::Default, n, y, make<TBandSelectionTool> },
    { T::DefineVerticalLine, "ActDefineVerticalLine", Tools, "Define_Vertically_Area", crDefineArea, "TFullLine", n, y, y, n, P::Default, n, y, make<TBandSelectionTool> },
    { T::DefineFreePointLine, "ActDefineFreePointLine", Tools, "Define_WantOnly_Area", crLasso, "TFreeLine", n, y, y, n, P::Default, n, n, make<TSelectionShapeTool> },
    { T::DefineBreakPointLine, "ActDefineBreakPointLine", Tools, "Define_Line_Segment_Area", crPolygon, "TBreakLine", n, y, y, n, P::Default, n, y, make<TPolygonSelectionTool> },
    { T::DefineCurveLine, "ActDefineCurveLine", Tools, "Define_Curve_Area", crDefineArea, "TCurveLine", n, y, y, n, P::Default, n, y, make<TPolygonSelectionTool> },
    { T::MagicStick, "ActMagicStick", Tools, "Magic_Stick", crMagicStick, "TRectangleLine", y, y, y, n, P::Default, n, y, make<TMagicStickTool> },
    { T::Move, "ActMove", Tools, "Move_Word_Or_Area", crMovingArea, None, n, n, n, n, P::Default, n, y, make<TMoveTool> },
    { T::Arc, "ActArc", Tools, "Draw_A_Curve", crDefineArea, "TCurveLine", y, n, n, y, P::Outline, n, y, make<TArcTool> },
    { T::BeeLine, "ActBeeLine", Tools, "Draw_A_Line", crDefineArea, "TBeeLine", y, n, n, y, P::Outline, n, y, make<TTwoPointShapeTool> },
    { T::FreeLine, "ActFreeLine", Tools, "Draw_A_WantOnly_Line", crBeeLine, "TFreeLine", y, n, n, n, P::Outline, n, n, make<TFreeHandTool> },
    { T::FillColor, "ActFillColor", Tools, "Fill_Color", crFillColor, None, n, n, n, n, P::Default, n, y, make<TFillColorTool> },
    { T::Sprayer, "ActSprayer", Tools, "Sprayer", crSpray, None, n, n, n, n, P::Default, n, y, make<TSprayTool> },
    { T::AbsorbColor, "ActAbsorbColor", Tools, "Absorb_Color", crAbsorbColor, None, n, n, n, n, P::Default, n, y, make<TColorPickTool> },
    { T::Ruber, "ActRuber", Tools, "Ruber", crDefineArea, None, n, n, n, n, P::Default, n, y, nullptr },
    { T::InsertWord, "ActInsertWord", Tools, "Insert_Word", crInsertWord, None, n, n, n, n, P::Default, n, y, make<TInsertWordTool> },
    { T::Rectangle, "ActRectangle", Tools, "Draw_A_Void_Rectangle", crDefineArea, "TRectangleLine", y, n, n, y, P::Outline, n, y, make<TTwoPointShapeTool> },
    { T::FilledRectangle, "ActFilledRectangle", Tools, "Draw_A_Filled_Rectangle", crDefineArea, "TRectangleLine", y, n, n, y, P::Solid, n, y, make<TTwoPointShapeTool> },
    { T::Circle, "ActCircle", Tools, "Draw_A_Void_Circle", crDefineArea, "TCircleLine", y, n, n, y, P::Outline, n, y, make<TTwoPointShapeTool> },
    { T::FilledCircle, "ActFilledCircle", Tools, "Draw_A_Filled_Circle", crDefineArea, "TCircleLine", y, n, n, y, P::Solid, n, y, make<TTwoPointShapeTool> },
    { T::BreakLine, "ActBreakLine", Tools, "Draw_A_Break_Line", crDefineArea, "TBreakLine", y, n, n, y, P::Outline, n, y, make<TPolylineTool> },
    { T::CurveLine, "ActCurveLine", Tools, "Draw_A_Continuous_Curve_Line", crDefineArea, "TCurveLine", y, n, n, y, P::Outline, n, y, make<TCurveTool> },
    { T::HorzLine, "ActHorzLine", Tools, "Draw_A_Horizontally_Line", 0, None, n, n, n, n, P::Default, n, y, nullptr },
    { T::VertLine, "ActVertLine", Tools, "Draw_A_Vertically_Line", 0, None, n, n, n, n, P::Default, n, y, nullptr },
    { T::FilledFreeLine, "ActFilledFreeLine", Tools, "Draw_A_Wantonly_Filled_Graph", crBeeLine, "TFreeLine", y, n, n, n, P::Solid, y, n, make<TFreeHandTool> },
    { T::FilledArc, "ActFilledArc", Tools, "Draw_A_Filled_Curve", crDefineArea, "TCurveLine", y, n, n, y, P::Solid, y, y, make<TArcTool> },
    { T::FilledCurveLine, "ActFilledCurveLine", Tools, "Draw_A_Filled_Curve", crDefineArea, "TCurveLine", y, n, n, y, P::Solid, y, y, make<TCurveTool> },
    { T::FilledBreakLine, "ActFilledBreakLine", Tools, "Draw_A_Filled_Break_Line", crDefineArea, "TBreakLine", y, n, n, y, P::Solid, y, y, make<TPolylineTool> },
    { T::MoveSelection, nullptr, None, None, crCutArea, None, n, n, n, n, P::Default, n, y, make<TMoveSelectionTool> },
    { T::NoTool, nullptr, None, None, 0, None, n, n, n, n, P::Default, n, y, nullptr },
    { T::HorzCut, "ActHorzCut", Tools, "Horizontally_Cut", crHorzCut, None, n, n, n, n, P::Default, n, y, make<TCutTool> },
    { T::VertCut, "ActVertCut", Tools, "Vertically_Cut", crVertCut, None, n, n, n, n, P::Default, n, y, make<TCutTool> },
    { T::BuildRectBmp, "ActBuildRectBmp", Menu, "Revise_Picture", crDefineArea, "TBreakLine", n, y, n, n, P::Solid, n, y, make<TQuadrilateralTool> },
    { T::ClearMottleByRect, "ActClearMottleByRect", Tools, "Remove_Mix_Point_In_Rectangle_Area", crDefineArea, "TRectangleLine", n, n, n, y, P::Solid, y, n, make<TClearMottleTool> },
    { T::ClearMottleByCircle, "ActClearMottleByCircle", Tools, "Remove_Mix_Point_In_Circle_Area", crDefineArea, "TCircleLine", n, n, n, y, P::Solid, y, n, make<TClearMottleTool> },
    { T::BindingPointsSingle, nullptr, None, None, crBeeLine, "TFreeLine", y, n, n, n, P::Cells, n, n, make<TBindingPointTool> },
    { T::BindingPointsDouble, nullptr, None, None, crBeeLine, "TFreeLine", y, n, n, n, P::Cells, n, n, make<TBindingPointTool> },
    { T::ConcentricCircle, "ActConcentricCircle", Tools, "Draw_A_Concentric_Circle", crDefineArea, "TConcentricCircle", y, n, n, y, P::Outline, n, y, make<TConcentricTool> },
    { T::PickedWeave, nullptr, None, None, 0, None, n, n, n, n, P::Default, n, y, make<TPickedWeaveTool> },
    { T::PickedPattern, nullptr, None, None, 0, None, n, n, n, n, P::Default, n, y, make<TPickedPatternTool> },
    { T::CrepeWeave, nullptr, None, None, crSpray, None, n, n, n, n, P::Default, n, y, make<TCrepeTool> },
    { T::MoveGrid, "ActMoveGrid", Tools, "Move_Pattern", crHandOpen2, None, n, n, n, n, P::Default, n, y, make<TViewDragTool> },
    { T::ConcentricRectangle, "ActConcentricRectangle", Tools, "Draw_A_Concentric_Rectangle", 0, None, n, n, n, n, P::Default, n, y, nullptr },
    { T::ChangeColor, "ActChangeColor", Tools, "Change_Color", crFillColor, None, n, n, n, n, P::Default, n, y, make<TChangeColorTool> },
    { T::MouseSelect, "ActMouseSelect", Tools, "Paste_To_Click_Point", 0, None, n, n, n, n, P::Default, n, y, make<TPasteAtClickTool> },
} };
// clang-format on

} // namespace

const TToolRow &ToolRow(TToolId id)
{
    const std::size_t i = ToolIdValue(id);
    return i < kRows.size() ? kRows[i] : kRows[ToolIdValue(TToolId::NoTool)];
}

std::unique_ptr<TGridTool> MakeGridTool(TPatternGrid &grid, TToolId id)
{
    const TToolRow &row = ToolRow(id);
    return row.Factory ? row.Factory(grid, row.Id) : nullptr;
}

TToolInfo ToolInfo(TToolId id)
{
    const TToolRow &row = ToolRow(id);
    return { row.Id, row.ActionName, row.CaptionSection, row.CaptionKey, row.Factory != nullptr };
}
