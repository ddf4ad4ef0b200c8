#pragma once
// The fill and colour-change routines of the pattern grid: a flood fill of the 4-connected
// cells of one index and the change of one index to another inside a box. Both work on
// the cells of an 8-bit picture a machine word at a time and touch no other memory.

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>

struct TFillResult {
    QRect Box; // the cells that changed lie inside; empty when none did
    long long Changed = 0;
};

// The 4-connected cells holding the index of start take index to (nothing when it is the
// same index or start lies outside the picture). Runs of a row are filled at once and the
// rows above and below are searched for the runs that continue them.
TFillResult FloodFillIndex(QImage &picture, QPoint start, std::uint8_t to);

// Every cell of index from inside box (clamped to the picture) takes index to.
TFillResult ReplaceIndexInBox(QImage &picture, const QRect &box, std::uint8_t from, std::uint8_t to);
