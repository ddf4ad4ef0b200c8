#pragma once
// TBindingStyle: binding points (间丝) that tie long floats down.
// A float is a run of one colour along a warp (down a column, 经向) or along a weft (along a
// row, 纬向). A binding point goes into its middle, on a cell the binding's parity allows:
// with X = column + 1 and Y = picture height - row (rows counted from 1 at the bottom),
// 合单 allows cells with X + Y even and 合双 cells with X + Y odd. The automatic binding puts
// a point into every run of the fore colour longer than a float limit; the manual tools
// (36 and 37) draw them along a stroke with the flags made here.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"
#include "editor/tools/drawobject.h"

#include <QImage>
#include <QString>

#include <cstdint>

class TPatternGrid;

enum class TBindingStyle : std::uint8_t { Single = 0 /* 合单 */, Double = 1 /* 合双 */ };
enum class TBindingWay : std::uint8_t { Warp = 0 /* 经向 */, Weft = 1 /* 纬向 */ };

// The float limit: a run longer than it is bound. A limit of 0 would bind one-cell runs,
// whose point the parity rule moves off the run onto another colour.
constexpr int MinFloatLimit = 1;
constexpr int DefaultFloatLimit = 16;

// Whether the cell may hold a binding point of the style in a picture of the height.
bool MeetsBindingParity(int column, int row, int height, TBindingStyle style);

// The offset of a run's middle from its start: Round(L / 2 + 0.5) - 1, halves to even
// (4 -> 1, 5 -> 2, 6 -> 3, 18 -> 9, 20 -> 9).
int BindingMiddle(int length);

// The automatic binding: runs of the cells whose palette colour is foreColor, down each
// column (经向) or along each row (纬向). A run touching the first cell of its line joins a
// run open at the line's last cell (the pattern repeats), and a line of the colour alone is
// one run. Each run longer than floatLimit gets a point at its middle, or one cell back
// (cyclic within the line) when the middle breaks the parity rule. Points by column (经向)
// or by row (纬向). False, with the reason, for a limit below 1.
bool AutoBindingPoints(const QImage &picture, const TPalette256 &palette, TColor foreColor,
    TBindingStyle style, TBindingWay way, int floatLimit, TLineArray &points, QString *error = nullptr);

// The automatic binding dialog's OK: the points painted in backIndex as one undo step.
bool RunAutoBinding(TPatternGrid &grid, TColor foreColor, int backIndex, TBindingStyle style, TBindingWay way,
    int floatLimit, QString *error = nullptr);

// The flags of the manual binding-point stroke. The stroke tests the raw parity of
// column + row; X + Y has the parity of column + row + 1 + height, so the height decides
// which raw parity is moved. 经向 keeps one cell per column and moves it down, 纬向 one per
// row and moves it right; gap fill only along rows, when autoFill is set.
TBindingPointFlags BindingPointFlagsFor(TBindingStyle style, TBindingWay way, bool autoFill, int height);
