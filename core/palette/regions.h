#pragma once
// Picture work inside a selection region: copying or stretching the region's bounding box
// into a new picture, removing blank columns and removing every other column. The box is
// the region's bounding rectangle (right and bottom exclusive) clamped to the picture; an
// empty region stands for no region, and nothing outside the picture is ever read.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"

#include <QImage>
#include <QRegion>

// The region's bounding box clamped to 0 .. Width and 0 .. Height; empty (all 0) when the
// region is empty or lies wholly outside.
TRect ClampedRegionBox(const QRegion &rgn, int width, int height);

// Dest becomes an 8-bit copy of the box of Src with Src's palette. False, and Dest
// unchanged, when the region is empty or misses the picture.
bool CopyRegionBoxToBitmap(const QImage &src, QImage &dest, const QRegion &rgn);
// As CopyRegionBoxToBitmap, but Dest is Width x Height and the box is stretched onto it:
// rows and columns are dropped or repeated, never blended, each destination line showing
// the box line under its centre (ResampleSourceLine, as ResamplePicture stretches). False
// also for a size outside 1 .. 65535.
bool StretchRegionBoxToBitmap(const QImage &src, const QRegion &rgn, QImage &dest, int width, int height);

// Removes from Bmp and from TestBmp alike every column of the box that shows one colour in
// every row of TestBmp (equal colours under different indexes count as one), in one pass.
// The picture always keeps at least one column: when every column would go, the last of
// them stays. Returns the number of columns removed.
int RemoveBlankColumnsInRegion(QImage &testBmp, QImage &bmp, const QRegion &rgn);

// Dest becomes Src without the columns of the box whose number counted from 1 (column + 1)
// has the given parity (1 odd, 0 even); the columns to their right close the gap, and Dest
// takes Palette. False, and Dest unchanged, when the region is empty or misses the picture,
// or when no column would be left.
bool RemoveAlternateColumns(
    const QImage &src, QImage &dest, const TPalette256 &palette, const QRegion &rgn, int parity);
