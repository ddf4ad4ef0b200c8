#pragma once
// TPointEx: the geometry layer (curves, angles, perpendicular feet).
// The program's own geometry layer: the four floating-point functions that the curve
// tool, text insertion, the handles of floating objects and picture linking use.

#include <vector>

struct TPointEx {
    double X = 0;
    double Y = 0;
    bool operator==(const TPointEx &) const = default;
};

TPointEx PointEx(double x, double y);

// Points along a clamped uniform B-spline through the control points: degree 3 (less
// when there are fewer than four points), starting at the first control point and ending
// at the last, with Segments evenly spaced steps per knot span. One control point gives
// that point; none, or Segments below 1, gives no curve.
std::vector<TPointEx> PolyNurbs(const std::vector<TPointEx> &points, int segments);

// The angle in radians from the direction A1->B1 to the direction A2->B2, in (-pi, pi];
// positive turns from the x axis toward the y axis. A zero-length direction counts as
// the x axis.
double AngleFromA2B(TPointEx a1, TPointEx b1, TPointEx a2, TPointEx b2);

// The foot of the perpendicular from P onto the line through A and B; A when A and B
// coincide.
TPointEx GetPointUpright(TPointEx p, TPointEx a, TPointEx b);
