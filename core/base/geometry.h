#pragma once
// TPoint and TRect: points, rectangles and their helpers.
// Point and rectangle helpers: rotation about a centre, the placement rectangles of two
// pictures (or two placed controls) joined side by side or one above the other, and the
// dashed outline that marks a floating object.

#include "core/base/curves.h"
#include "core/base/dynarray.h"

#include <QRect>
#include <QSize>

#include <cstdint>

class QPainter;

// A cell or pixel position.
struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPoint &) const = default;
};

// A rectangle with the platform's convention: Right and Bottom are exclusive unless a
// routine says otherwise.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    bool operator==(const TRect &) const = default;
};

// A cell position as the undo records store it.
struct TWordPoint {
    std::uint16_t X = 0;
    std::uint16_t Y = 0;
    bool operator==(const TWordPoint &) const = default;
};

// R = Centre + rotation of (P - Centre) by the angle given as cosine and sine; each
// coordinate of R (the final coordinate, not its offset from the centre) is rounded half
// away from zero, so an exact position lands on the same cell whatever the centre. About
// (0, 0), rotating by +a and by -a lands on mirror-image cells, as the rotation tools expect.
void RotatePointSinCos(TPoint p, TPoint centre, TPoint &r, double cosA, double sinA);
// The same with the angle in radians.
void RotatePoint(TPoint p, TPoint centre, TPoint &r, double angle);

// The curve through the first pointCount control points, as the geometry layer's
// PolyNurbs gives it with 30 segments per span; empty when there is no curve.
void NurbsCurvePoints(const TPointEx *points, int pointCount, int &curveCount, std::vector<TPointEx> &curve);

// Where two joined pictures (or placed controls) go: Bounds spans both, RectA and RectB
// place A and B inside it.
struct TPictureLayout {
    TRect Bounds;
    TRect RectA;
    TRect RectB;
    bool operator==(const TPictureLayout &) const = default;
};

// Picture A left of picture B.
TPictureLayout LayoutLeftRight(QSize a, QSize b);
// Picture A above picture B.
TPictureLayout LayoutTopBottom(QSize a, QSize b);
// Side by side, each picture at its vertical position (topA, topB) with a width cut from
// its right (cutA, cutB).
TPictureLayout LayoutLeftRightOffset(QSize a, int topA, int cutA, QSize b, int topB, int cutB);
// One above the other, each picture at its horizontal position (leftA, leftB) with a height
// cut from it (cutA, cutB).
TPictureLayout LayoutTopBottomOffset(QSize a, int leftA, int cutA, QSize b, int leftB, int cutB);
// As LayoutLeftRightOffset with two placed controls (their geometry: left, top, size).
TPictureLayout LayoutControlsLeftRight(const QRect &a, const QRect &b, int offset);
// The vertical twin of LayoutControlsLeftRight.
TPictureLayout LayoutControlsTopBottom(const QRect &a, const QRect &b, int offset);

// The flip and rotation code of every repeat of a layout, [row][column].
using TRotateArray = TDynArray<TDynArray<std::int8_t>>;

// Dest becomes a copy of Src with Src's row count, every row as long as Src's first row
// (shorter rows are padded with 0).
void CopyRotateArray(const TRotateArray &src, TRotateArray &dest);

// The outline of a floating object: the open polyline through points 0 to 7, solid black
// under a dotted white pen, one pixel wide.
void DrawDashedOutline(QPainter &painter, const TPoint points[9]);
// The same two passes over the polyline through points 0, 2, 4 and 6.
void DrawClosedSelectionFrame(QPainter &painter, const TPoint points[9]);

void PointDelta(TPoint a, TPoint b, int &dx, int &dy);
void OffsetRectBy(TRect &r, int dx, int dy);
void OffsetPointBy(TPoint &p, int dx, int dy);
