#pragma once
// The press, move and release steps that the selection tools and the shape tools share:
// a two-point shape dragged out, grabbed and moved, or reshaped by a vertex; a polygon
// clicked point by point; a taken vertex that follows the pointer.

#include "core/base/toolid.h"
#include "editor/patterngrid.h"

#include <memory>

class TCustomLine;

namespace ShapeEditing {
using TCellEvent = TPatternGrid::TCellEvent;

// A right click takes the vertex under the pointer of a shape in place (and does nothing
// more); a left click on the shape grabs it. False when the press did neither.
bool GrabOrTakeVertex(TCustomLine &object, const TCellEvent &e);
// A right click takes the vertex under the pointer of a shape in place; a left click on
// the shape grabs it; elsewhere a new shape of tool id starts in slot (the selection's
// slot when regionTool, which tells the main window nothing).
void Press(
    TPatternGrid &grid, TToolId id, std::unique_ptr<TCustomLine> &slot, const TCellEvent &e, bool regionTool);
// The grabbed shape or taken vertex follows the pointer; a new shape takes the pointer as
// its second corner (with Shift square on the cloth), a free-hand outline adds the cell.
void Move(TPatternGrid &grid, TToolId id, TCustomLine &object, const TCellEvent &e);
// A shape that got its second point stays pending; a bare click leaves nothing.
void Release(TCustomLine &object);

// Polygons clicked point by point in the selection's slot.
void PolygonPress(TPatternGrid &grid, TToolId id, const TCellEvent &e);
void PolygonRelease(TCustomLine &object);
// The taken vertex (or the grabbed shape) follows the pointer.
void VertexDragMove(TPatternGrid &grid, TCustomLine &object, const TCellEvent &e);
// The cell square on the cloth with start: as many warps across as the densities make the
// rows high.
TPoint SquareOnCloth(const TPatternGrid &grid, TPoint start, TPoint cell);
} // namespace ShapeEditing
