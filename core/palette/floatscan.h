#pragma once
// TFloatScan: float (same-colour run) scans of a pattern (意匠).
// Float scans. A float is a run of consecutive cells of one colour: down a column (a warp
// that stays on one side over many wefts) or along a row (a weft over many warps). Weave
// tiling, the float query and the point-marking tools look for runs that are too long or
// of given lengths. Row 0 is the top row as stored.
//
// Weave tiling compares in three ways, each for a reason. A cell is a candidate when its
// palette colour equals the chosen entry's, so a colour held under two palette indexes is
// tiled under both. The margins ask for the chosen index itself beside the cell. The float
// tests follow the first palette index that holds the chosen colour (the index a picture
// read from a file uses), so cells of a duplicate entry end a float.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"

#include <QImage>

#include <cstdint>

// A run of Length cells from Start to End (inclusive) along Line: a row for the row scans,
// a column for the column scans.
struct TFloatRun {
    std::int32_t Length = 0;
    std::int32_t Start = 0;
    std::int32_t End = 0;
    std::int32_t Line = 0;
    bool operator==(const TFloatRun &) const = default;
};
using TFloatsArray = TDynArray<TFloatRun>;

// --- Tests at one cell: the column through P, continued cyclically (the row after the
// last is row 0) -----------------------------------------------------------------------
// The run of P is P itself (whatever its index) and the cells of F, the first palette index
// with Color's red, green and blue, met going down from P and then going up from P, each
// way stopping at another index or at P itself; a column wholly of F is endless.
// True when the run reaches Limit cells. The count is compared only after a neighbour has
// been added, so a lone cell gives false even with Limit 1. False for P outside the picture
// or a colour the palette does not hold.
bool HasLongFloat(const QImage &bmp, const TPalette256 &palette, TColor color, int limit, TPoint p);
// False when the run of P (as for HasLongFloat) is exactly one of the listed lengths; true
// otherwise, and always with an empty list or an endless run. The list is left as it is,
// in the caller's order.
bool MatchFloatLengths(
    TColor color, const TPalette256 &palette, const QImage &bmp, TPoint p, const TIntegerArray &lengths);

// --- The cell collectors of weave tiling ------------------------------------------------
// Untiled margins: on each side whose flag is set, a cell is left out unless the cells
// beside it on that side, up to the side's length, hold the chosen index. Cells beyond the
// picture edge never count against it.
struct TFloatMargins {
    bool Top = false;
    bool Bottom = false;
    bool Left = false;
    bool Right = false;
    std::int32_t TopLength = 0;
    std::int32_t BottomLength = 0;
    std::int32_t LeftLength = 0;
    std::int32_t RightLength = 0;
};

// What both collectors take besides the float rule: the chosen palette index, the margins,
// the tiling weave ([warp][weft], 1 = weave point) and its origin (ox, oy). Cell (x, y) of a
// picture PH rows high falls on weave cell [(x - ox) mod W][H - 1 - ((PH - 1 - y - oy) mod H)],
// remainders taken in 0 .. W - 1 and 0 .. H - 1; origin (0, 0) anchors the weave at the
// bottom-left cell.
struct TFloatScan {
    int ColorIndex = 0;
    TFloatMargins Margins;
    TWeaveArray Weave;
    TPoint Origin;
};

// Appends to Cells, row by row from the top, every cell of the chosen colour that passes
// the margins, whose column run reaches FloatLength (HasLongFloat; no float test when
// FloatLength is 0 or less) and that falls on a weave point. Nothing with an empty weave or
// an index outside 0 .. 255. One pass over the picture: each run along a row or column is
// walked once, so the time does not grow with the float length or the margins.
void FindLongFloats(const QImage &bmp, const TPalette256 &palette, const TFloatScan &scan, int floatLength,
    TLineArray &cells);
// As FindLongFloats, with the float test of MatchFloatLengths: cells whose column run is
// exactly one of Lengths are left out.
void FindFloatsOfLengths(const QImage &bmp, const TPalette256 &palette, const TFloatScan &scan,
    const TIntegerArray &lengths, TLineArray &cells);

// --- Run finders (one colour index; runs end at the picture's edges) -------------------
// Runs along rows of exactly Length cells of ColorIndex, rows from the top, each from the
// left, appended to Runs as (Length, first column, last column, row). With NeighbourTest a
// run is reported only when no cell directly above or below one of its cells has ColorIndex.
void FindFloatRuns(const QImage &bmp, int colorIndex, int length, bool neighbourTest, TFloatsArray &runs);
// Runs down the columns of exactly Length cells inside Area (clamped to the picture; right
// and bottom exclusive), appended column by column from the left, each column from the top,
// as (Length, first row, last row, column). With NeighbourTest a run is reported only when
// no cell directly left or right of one of its cells has ColorIndex.
void FindFloatRunsNeighbourRule(
    const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest, const TRect &area);
void FindFloatRunsNeighbourRule(
    const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest);
// As FindFloatRunsNeighbourRule, keeping only runs that pass the edge rule: a run of 5 or
// more cells passes; a shorter one fails when it lies wholly in the top four rows, and
// otherwise passes only when its first row is at most the picture height - 4.
void FindFloatRunsEdgeRule(
    const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest, const TRect &area);
void FindFloatRunsEdgeRule(
    const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest);
