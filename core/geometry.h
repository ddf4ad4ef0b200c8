#pragma once
// Point and rectangle helpers: rotation about a centre, the placement rectangles of two
// pictures (or two placed controls) joined side by side or one above the other, and the
// dashed outline that marks a floating object.

#include "core/mathlib.h"
#include "core/typedefine.h"

#include <QRect>
#include <QSize>

class QPainter;

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

// Picture A left of picture B: Bounds spans both, RectA and RectB place them.
void LayoutLeftRight(QSize a, QSize b, TRect &bounds, TRect &rectA, TRect &rectB);
// Picture A above picture B.
void LayoutTopBottom(QSize a, QSize b, TRect &rectA, TRect &bounds, TRect &rectB);
// Side by side with vertical positions topA, topB and widths cut from the right of each.
void LayoutLeftRightOffset(QSize a, QSize b, int cutA, TRect &bounds, TRect &rectB, TRect &rectA,
                           int topB, int cutB, int topA);
// One above the other with horizontal positions leftA, leftB and heights cut from each.
void LayoutTopBottomOffset(QSize a, QSize b, int leftA, TRect &bounds, TRect &rectB, TRect &rectA,
                           int cutB, int leftB, int cutA);
// As LayoutLeftRightOffset with two placed controls (their geometry: left, top, size).
void LayoutControlsLeftRight(const QRect &a, const QRect &b, int offset, TRect &bounds, TRect &rectB,
                             TRect &rectA);
// The vertical twin of LayoutControlsLeftRight.
void LayoutControlsTopBottom(const QRect &a, const QRect &b, int offset, TRect &bounds, TRect &rectB,
                             TRect &rectA);

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
