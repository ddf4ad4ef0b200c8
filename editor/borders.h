#pragma once
// ApplyBordure: borders (包边) of one colour laid around the areas of another colour.

#include "core/settings/settings.h"

#include <QImage>

#include <cstdint>

class TPatternGrid;

// The three colours of a border run: the areas bordered (F), the colour the border may be
// painted on (B) and the border's own colour (C).
struct TBordureColors {
    std::uint8_t Foreground = 0;
    std::uint8_t Background = 0;
    std::uint8_t Border = 0;
};

// For every cell of ref that is not F and lies beside an area of F on a chosen side, a walk
// of up to that side's length goes away from the area: cells of B become C in picture,
// other colours are passed over, and the walk stops at the picture's edge or at a cell of F.
// Every test reads ref (the picture before the run), so that cells painted by this run
// neither start nor stop other borders; only picture is written. A length of 0 or less
// draws nothing on that side. The shared progress gauge steps once per row. Nothing
// happens when the two pictures differ in size or are not 8-bit. Returns the number of
// cells of picture it changed.
int ApplyBordure(
    const QImage &ref, QImage &picture, const TBordureOption &option, const TBordureColors &colors);

// The border window's OK on a grid: ApplyBordure from the grid's RefBitmap into its
// Picture, then one cell step of the changed cells (under the recorder's rules), the
// reduced view and a repaint; a run that changes nothing records nothing.
void ApplyBordureToGrid(TPatternGrid &grid, const TBordureOption &option, const TBordureColors &colors);
