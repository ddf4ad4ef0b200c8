#pragma once
// Numeric shapes: a straight line, rectangle, circle, copy area or paste position typed as
// numbers instead of drawn with the mouse.
// Typed coordinates are 1-based. The line, rectangle and circle count weft rows from the
// bottom of the picture, as the rulers of a grid shown from the bottom do: (X, Y) is the
// cell (X - 1, H - Y) for a picture H rows high. The copy area and the paste position count
// from the top: (X, Y) is the cell (X - 1, Y - 1).
//
// A shape is placed in the grid's tool as if drawn: the tool is first set to the one
// without an object (so that the shape's tool then makes a fresh object), then to the
// shape's tool, whose two vertices take the corner cells; the shape waits in the mode
// "placed by a dialog" for the user to confirm it (Enter) or move it. A shape reaching
// past the picture is clipped by the tool's cell collector when it is committed.

#include "core/base/geometry.h"
#include "core/base/toolid.h"
#include "core/settings/settings.h"

#include <QRect>
#include <QString>

class TPatternGrid;

// The largest number a numeric-shape field takes (a picture side at most).
constexpr int MaxNumericShapeValue = 65535;

// Two cells: the line's ends, or a rectangle's top-left and bottom-right corners.
struct TCellPair {
    TPoint First;
    TPoint Second;
    bool operator==(const TCellPair &) const = default;
};

// The line's start and end cells on a picture height rows high.
TCellPair BeeLineCells(const TBeeLineInfo &info, int height);
// The rectangle's top-left and bottom-right cells. In corners mode the two corners may be
// typed either way round: both give the same rectangle. In width-and-height mode
// (IsSetWidthAndHeight) the rectangle grows Width warps right and Height wefts up from
// the bottom-left corner.
TCellPair RectangleCells(std::int32_t leftX, std::int32_t leftY, std::int32_t rightX, std::int32_t rightY,
    bool widthAndHeight, std::int32_t width, std::int32_t height, int pictureHeight);
TCellPair RectangleCells(const TRectangleInfo &info, int pictureHeight);
// The circle's bounding rectangle: from the rectangle fields (IsSetOutRectangle), else the
// square of side 2 x Radius + 1 around the centre.
TCellPair CircleCells(const TCircleInfo &info, int pictureHeight);
// The tools the shapes are placed in: the selection tools with IsDefineArea, else the
// outline or the filled tool.
TToolId RectangleToolOf(const TRectangleInfo &info);
TToolId CircleToolOf(const TCircleInfo &info);

// The copy area in cells (LeftBottomX/Y hold the top-left corner, counted from the top),
// clipped to a picture of width x height cells. False (with a message) when nothing of it
// lies in the picture.
bool CopyAreaCells(const TCopyAreaInfo &info, int width, int height, QRect &area, QString *error = nullptr);
// The cell the pasted piece's top-left goes to. False (with a message) when it lies outside
// a picture of width x height cells.
bool PasteToCell(const TPasteInfo &info, int width, int height, TPoint &cell, QString *error = nullptr);

// Places the shape of tool (a two-corner tool: line, rectangle, ellipse or a selection of
// one) through the cells in grid, as described above; a selection tool also makes the
// selection. Repaints.
void PlaceNumericShape(TPatternGrid &grid, TToolId tool, const TCellPair &cells);
void PlaceBeeLine(TPatternGrid &grid, const TBeeLineInfo &info);
void PlaceRectangle(TPatternGrid &grid, const TRectangleInfo &info);
void PlaceCircle(TPatternGrid &grid, const TCircleInfo &info);
// The area (cells, within the picture) becomes the selection, as the rectangle selection
// tool would make it, and is copied by the grid. False (with a message) when it cannot be.
bool CopyNumericArea(TPatternGrid &grid, const QRect &area, QString *error = nullptr);
// The clipboard's piece floats over the picture with its top-left at cell; false (with the
// grid's reason) when nothing can be pasted.
bool PasteNumericAt(TPatternGrid &grid, TPoint cell, QString *error = nullptr);
