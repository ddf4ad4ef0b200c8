#pragma once
// PaintCellsAsStep: the end every area operation of the technique menu shares.
// The listed cells take one index in the grid's picture and become one undo step (the
// recorder puts back protected colours, cells outside the selection and cells a start-point
// filter rejects, and skips cells outside the picture); the reduced view, the screen and the
// main window follow.

#include "core/base/gridrecords.h"

#include <cstdint>

class TPatternGrid;

// Every listed cell inside the picture := index; one undo step; reduced view rebuilt,
// repainted, the main window told that the picture changed.
void PaintCellsAsStep(TPatternGrid &grid, const TLineArray &cells, std::uint8_t index);
// As PaintCellsAsStep, each point with its own index (multi-needle blocks).
void PaintPointsAsStep(TPatternGrid &grid, const TMultiSketchArray &points);
