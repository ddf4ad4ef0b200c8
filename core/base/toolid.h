#pragma once
// The drawing tools of the pattern grid by number. The number is what every drawing
// action carries, what the main window keeps as the current tool and what an undo step
// remembers of the tool in use, so each tool keeps its number for good; names follow the
// actions that choose them.

#include <cstdint>

enum class TToolId : std::uint8_t {
    DefineRectangle = 0, // selection region: rectangle
    DefineCircle = 1, // selection region: ellipse
    DefineHorizontalLine = 2, // selection region: one whole row
    DefineVerticalLine = 3, // selection region: one whole column
    DefineFreePointLine = 4, // selection region: free-hand outline
    DefineBreakPointLine = 5, // selection region: polygon
    DefineCurveLine = 6, // selection region: curve
    MagicStick = 7, // selection region: cells of one colour
    Move = 8, // move the selection or a floating object (the start tool)
    Arc = 9,
    BeeLine = 10, // straight line
    FreeLine = 11,
    FillColor = 12, // flood fill
    Sprayer = 13,
    AbsorbColor = 14, // colour pick
    Ruber = 15, // eraser (does nothing on the grid)
    InsertWord = 16, // text
    Rectangle = 17,
    FilledRectangle = 18,
    Circle = 19,
    FilledCircle = 20,
    BreakLine = 21, // polyline
    CurveLine = 22,
    HorzLine = 23, // no tool behind it
    VertLine = 24, // no tool behind it
    FilledFreeLine = 25,
    FilledArc = 26,
    FilledCurveLine = 27,
    FilledBreakLine = 28,
    MoveSelection = 29, // between a press inside the selection and the first move
    NoTool = 30, // no tool object; also marks a colour pick in progress
    HorzCut = 31, // cyclic shift of the rows
    VertCut = 32, // cyclic shift of the columns
    BuildRectBmp = 33, // map the picture onto a quadrilateral
    ClearMottleByRect = 34,
    ClearMottleByCircle = 35,
    BindingPointsSingle = 36, // manual binding points of single parity
    BindingPointsDouble = 37, // manual binding points of double parity
    ConcentricCircle = 38,
    PickedWeave = 39, // tile the weave picked in the library browser
    PickedPattern = 40, // tile the pattern picked in the library browser
    CrepeWeave = 41,
    MoveGrid = 42, // drag the view
    ConcentricRectangle = 43, // no tool behind it
    ChangeColor = 44, // replace one colour by the fore colour
    MouseSelect = 45, // paste at the remembered place
};

// The highest tool number.
constexpr std::uint8_t MaxToolId = 45;

// The number as stored and sent.
constexpr std::uint8_t ToolIdValue(TToolId id)
{
    return static_cast<std::uint8_t>(id);
}

// The clear-mottle tools come as a pair that switch to one another.
constexpr bool IsClearMottleTool(TToolId id)
{
    return id == TToolId::ClearMottleByRect || id == TToolId::ClearMottleByCircle;
}
