#pragma once
// The scan conversion of ellipses and polygons into cells.
// Ellipses and polygon areas as cells. The cells are chosen by these rules, which the
// tests hold them to:
// - an ellipse lies inside its box, is symmetric about the box's middle row and middle
//   column, covers one run of cells per row and reaches all four sides of the box;
// - a polygon area holds every cell on its outline (the one-cell lines between
//   consecutive vertices and from the last back to the first) and every cell whose centre
//   the outline encloses by the even-odd rule.
// Cells are integer points (a cell's centre); the cost is linear in the rows and cells.

#include "editor/tools/cellmask.h"
#include "editor/tools/cellraster.h"

// The filled ellipse in the box of two corner cells (both included).
TCellMask EllipseMask(TPoint a, TPoint b);

// The outline of that ellipse: the cells of the filled ellipse with a side neighbour
// outside it, row by row, left to right. Appended to Out.
void EllipseOutline(TPoint a, TPoint b, TCellList &Out);

// The area of the closed polygon through the vertices; empty for no vertices.
TCellMask PolygonMask(const std::vector<TPoint> &vertices);
