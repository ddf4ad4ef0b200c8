#pragma once
// RasterizeLine, StampBlock, ThickLine and the rectangle rasterisers of the drawing tools.
// The exact cells of the drawing tools' lines and rectangles. A designer places single
// cells and expects the same clicks to give the same cells, so every routine here fixes
// both the cells and the order they are listed in (the order matters to the tools that
// join consecutive cells). Every routine appends to Out and never clears it.
//
// Rectangles are given by two corner cells and are inclusive; "Round" is halves to even.

#include "core/base/geometry.h"

#include <vector>

using TCellList = std::vector<TPoint>;

// The cells of a straight line from A to B (both included), Width cells thick. With
// dx = |B.X - A.X| + 1 and dy = |B.Y - A.Y| + 1, the longer count is the major axis (Y when
// they are equal) and the line is cut into min(dx, dy) runs along it: runs of
// major div minor cells, and major mod minor of them one longer, the kind in the minority
// spread evenly between the others. Each cell of the line brings Width cells across the
// major axis at offsets -(Width - 1) div 2 .. Width div 2, so an even width reaches one
// cell further right or down. Exactly max(dx, dy) x Width cells, starting at A.
void RasterizeLine(TPoint A, TPoint B, int Width, TCellList &Out);

// The pen block W cells wide and H high around C, row by row, left to right; an even
// extent reaches one cell further right or down.
void StampBlock(TPoint C, int W, int H, TCellList &Out);

// The one-cell line A..B with every cell stamped by a W x H block, then one more cell
// directly below the last one listed. That extra cell only marks the end of the path for
// a caller that joins the cells as a polyline (which leaves out its last point); without
// Tail it is left out.
void ThickLine(TPoint A, TPoint B, int W, int H, TCellList &Out, bool Tail = true);

// The one-cell outline through two corner cells: left side down, bottom left to right,
// right side up, top right to left (corners listed twice). A rectangle one cell wide or
// high is the ThickLine from its smaller to its larger corner.
void RectangleOutline(TPoint A, TPoint B, TCellList &Out, bool Tail = true);

// The outline of the rectangle of A and B with pen extents: the horizontal extent thickens
// the left and right sides inwards, the vertical one the top and bottom sides. An extent
// wider than half the rectangle fills it, middle line included.
void RasterizeRectangle(TPoint A, TPoint B, int HorzWidth, int VertWidth, TCellList &Out, bool Tail = true);

// Rings of the rectangle (L, T, R, B inclusive), outermost first: each ring lists its top
// row L .. R-1, left column T+1 .. B, bottom row L+1 .. R and right column T .. B-1, and
// the next ring is the rectangle inset by one. Filled gives every ring down to the middle,
// otherwise Width rings (at most as many as fit). A single-cell rectangle is that cell.
void RectangleRings(const TRect &Rect, int Width, bool Filled, TCellList &Out);
