#pragma once
// The rubber-band painting of the drawing tools on the grid's screen image.
// What a drawing tool paints on screen while the user works: its shape inverted (painting
// it twice gives the screen back, so the preview is removed by painting it again) or in its
// pen colour, a selection's black-and-white dotted outline, and the red plus signs that
// mark vertices.
// Only 32-bit screen images are painted; anything else is left alone.

#include "core/base/geometry.h"
#include "editor/tools/cellmask.h"

#include <QImage>

// Where cells land on screen: Scale screen pixels per cell, and Origin the screen pixel of
// cell (0, 0).
struct TCellToScreen {
    double ScaleX = 1.0;
    double ScaleY = 1.0;
    TPoint Origin;
    // The screen pixels of a cell (Right and Bottom exclusive), at least one pixel.
    TRect CellPixels(TPoint cell) const;
    // The cells (inclusive) outside which no cell has a pixel on a width x height image;
    // a scale of 0 or less counts as 1.
    TRect CellsOnImage(int width, int height) const;
};

// Inverts the screen pixels of every cell of the mask (each once).
void InvertCells(QImage &screen, const TCellMask &cells, const TCellToScreen &map);
// Paints the screen pixels of every cell of the mask in color (alpha kept).
void PaintCells(QImage &screen, const TCellMask &cells, const TCellToScreen &map, QRgb color);
// A selection's outline: every cell black, then every other cell white.
void PaintDottedCells(QImage &screen, const TCellMask &cells, const TCellToScreen &map);
// The plus sign of a vertex: four 6-pixel strokes ending next to the centre, from above,
// right, below and left, in red combined not-xor with the screen (twice restores it).
void PaintVertexMarker(QImage &screen, TPoint centre);
