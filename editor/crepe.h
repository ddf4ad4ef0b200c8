#pragma once
// TCrepeWeaveOption: the crepe ground (泥地) brush: random points of the fore colour
// sprinkled over a box round the pointer, never forming runs longer than the limits.

#include "core/base/geometry.h"
#include "core/base/gridrecords.h"
#include "core/palette/palette.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <random>
#include <vector>

struct TCrepeWeaveOption {
    int Width = 10; // the brush box across, in warps
    int Height = 10; // the brush box down, in picks
    int Horz = 4; // the longest run of the colour along a row
    int Vert = 4; // the longest run of the colour down a column
    int TotalSize = 10; // the points drawn per burst
    bool operator==(const TCrepeWeaveOption &) const = default;
};

// What one burst works with besides the picture.
struct TCrepeBurst {
    TPoint Center;
    std::uint8_t Color = 0; // the index painted (the first index of the fore colour)
    TCrepeWeaveOption Option;
    TColorSet Protected; // cells of these indexes stay
    QRegion Selection; // empty: none
};

// The cells of color that run on from p along its row (dx 1) or down its column (dy 1),
// both ways and wrapping round the picture's edges, counting no cell twice and stopping
// once limit is reached: never more than one full turn, so a line wholly of color ends.
int CountCrepeNeighbours(const QImage &picture, TPoint p, bool alongRow, std::uint8_t color, int limit);

// One burst: TotalSize points drawn at random in the brush box round Center; a point that
// is inside the picture, not of a protected index, inside the selection (when there is one)
// and would not make a run of Color longer than Horz along its row or Vert down its column
// takes Color. The cells changed are appended to cells. Its cost is the points' count times
// the limits: it never reads more of the picture than one row and one column per point.
void CrepeBurst(QImage &picture, const TCrepeBurst &burst, std::mt19937 &random, std::vector<TPoint> &cells);
