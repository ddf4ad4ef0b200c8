#pragma once
// TSketchStart: the plain-weave outline (平纹勾边) and the multi-needle outline (多针梭勾边).
// The plain-weave outline turns the edge of the fore-colour area into a plain-weave checker:
// every other edge cell (an edge cell has a back-colour cell among its four neighbours,
// taken cyclically across the picture's edges, as the pattern repeats) takes the back index.
// The multi-needle outline makes every block of needles x shuttles one colour, so that the
// loom weaves each block as a whole. The scanners only read the picture; the Run routines
// paint the result into a grid as one undo step.

#include "core/base/gridrecords.h"

#include <QImage>
#include <QRegion>
#include <QString>

#include <cstdint>

class TPatternGrid;

// Which cells of the checker are turned: single start those with column + row odd, double
// start those with column + row even.
enum class TSketchStart : std::uint8_t { Single = 0, Double = 1 };

// The plain-weave outline: the cells of index fore with a neighbour of index back, of the
// start's parity, inside the selection's box clamped to the picture and inside the selection
// (the whole picture without one); rows from the top, cells from the left. A selection
// wholly outside the picture gives none.
TLineArray TabbySketchCells(
    const QImage &picture, int fore, int back, const QRegion &selection, TSketchStart start);

// The counts of the multi-needle outline: needles across, shuttles down, each 1 to 99.
constexpr int MinSketchBlock = 1;
constexpr int MaxSketchBlock = 99;

// The multi-needle outline: the picture cut into blocks of needles x shuttles from the top
// left (cut at the edges). A block holding both fore cells (F) and other cells (O) becomes
// one colour: the fore index when F > O, else the last other index met (rows from the top,
// cells from the left). The cells that change, each with its new index, the cells of blocks
// turned to the fore index first. False, with the reason, for a count outside 1 to 99.
bool MultiSketchPoints(const QImage &picture, int fore, int needles, int shuttles, TMultiSketchArray &points,
    QString *error = nullptr);

// The sketch windows' OK on a grid: the grid's fore and back index as they are now, the
// result painted and recorded as one undo step.
void RunTabbySketch(TPatternGrid &grid, TSketchStart start);
bool RunMultiSketch(TPatternGrid &grid, int needles, int shuttles, QString *error = nullptr);
