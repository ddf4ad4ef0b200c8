#pragma once
// TClothSide: the woven selvedges (布边) added on the left and right of a pattern.
// Each side is a strip of warps of one colour with a weave tiled black into it; the pattern
// is widened by the strips. The strips share the document's palette and are joined to the
// pattern cell for cell, so every index of the pattern (duplicate colours, protected
// colours, the colours weaves are assigned to) stays exactly as it was.

#include "core/base/document.h"
#include "core/palette/palette.h"

#include <QImage>
#include <QString>

class TPatternGrid;

struct TClothSide {
    int ColorIndex = -1; // -1: no colour chosen yet
    int Warps = 0; // 0: no strip on this side
    TWeaveArray Weave; // [warp][weft], 1 = a point painted black; empty: a plain strip
};

// A strip of side.Warps x height cells of side.ColorIndex with the side's weave tiled over
// it in blackIndex, anchored at the strip's bottom-left cell. Null for a side without warps.
QImage BuildClothSideStrip(const TClothSide &side, int height, const TPalette256 &palette, int blackIndex);

// Checks both sides against a pattern width before anything is changed: a side with warps
// but no colour, a warp count below 0 and a result wider than 65,535 are refused.
bool CheckClothSides(
    const TClothSide &left, const TClothSide &right, int patternWidth, QString *error = nullptr);

// left strip | picture | right strip at the picture's height, with the picture's palette.
// False (out unchanged) when the sides are refused or the picture is null.
bool JoinClothSides(const QImage &picture, const TPalette256 &palette, const TClothSide &left,
    const TClothSide &right, int blackIndex, QImage &out, QString *error = nullptr);

// The selvedge window's OK on a grid: the sides checked, black found (or added, as a palette
// step; a full palette without black refuses with nothing changed), then the widened
// picture as one whole-picture step; the main window is told the new size. False with the
// reason when refused. Sides without warps leave the picture as it is (true, no step).
bool AddClothSides(
    TPatternGrid &grid, const TClothSide &left, const TClothSide &right, QString *error = nullptr);
