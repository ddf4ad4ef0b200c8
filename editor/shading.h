#pragma once
// TShadowParam: shading (影光) of a selection with a growing satin.
// The selection is filled with satin points whose count per repeat grows band by band from
// one edge of the selection's box to the other, so that the weave passes from weft face to
// warp face (or back) across it. 横丝 grows the points along the satin's rows and advances
// across the columns; 直丝 grows them along its columns and advances down the rows.

#include "core/base/gridrecords.h"

#include <QImage>
#include <QRegion>
#include <QString>

#include <cstdint>
#include <vector>

class TPatternGrid;

enum class TShadowMethod : std::uint8_t { Weft = 0 /* 横丝影光 */, Warp = 1 /* 直丝影光 */ };
enum class TShadowDirection : std::uint8_t {
    WeftToWarp = 0 /* 纬面到经面 */,
    WarpToWeft = 1 /* 经面到纬面 */
};

// The satin size N: 2 to 99 (one end per repeat would be no satin, and would divide by zero).
constexpr int MinSatinSize = 2;
constexpr int MaxSatinSize = 99;

struct TShadowParam {
    TShadowMethod Method = TShadowMethod::Weft;
    int SatinSize = 5; // N
    int Step = 3; // the satin's move d: 3 or 5
    TShadowDirection Direction = TShadowDirection::WeftToWarp;
};

// The extra points k (0 .. N - 2) at position p (from the box's top or left edge) of a span
// of the given length: bands of G = span div (N - 1) when span > (N - 1) x N, else of N.
int ShadowExtraPoints(const TShadowParam &param, int position, int span);

// The satin S(k) as N x N flags, [row][column].
std::vector<std::vector<bool>> ShadowSatin(const TShadowParam &param, int extraPoints);

// The cells of the selection (inside the picture) that get a satin point: a cell (x, y)
// when S(k) has a point at row (Bottom - y) mod N, column (x - Left) mod N of the
// selection's box. False, with the reason, for a satin size outside 2 to 99 or a step
// other than 3 and 5.
bool ShadowCells(const QImage &picture, const QRegion &selection, const TShadowParam &param,
    TLineArray &cells, QString *error = nullptr);

// The shading window's OK: nothing without a selection (false with the shading's
// message); else the points painted in the grid's fore index as one undo step.
bool RunShadow(TPatternGrid &grid, const TShadowParam &param, QString *error = nullptr);
