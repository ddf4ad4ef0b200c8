#include "core/base/curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TPointEx PointEx(double x, double y)
{
    return { x, y };
}

namespace {
// De Boor's evaluation of the clamped uniform B-spline at parameter t.
TPointEx deBoor(const std::vector<TPointEx> &ctrl, const std::vector<double> &knots, int degree, double t)
{
    const int n = int(ctrl.size());
    // The span k with knots[k] <= t < knots[k + 1]; the last span at the end of the curve.
    int k = degree;
    while (k < n - 1 && t >= knots[std::size_t(k + 1)])
        ++k;
    std::vector<TPointEx> d(std::size_t(degree + 1));
    for (int j = 0; j <= degree; ++j)
        d[std::size_t(j)] = ctrl[std::size_t(j + k - degree)];
    for (int r = 1; r <= degree; ++r)
        for (int j = degree; j >= r; --j) {
            const double lo = knots[std::size_t(j + k - degree)];
            const double hi = knots[std::size_t(j + 1 + k - r)];
            const double a = hi > lo ? (t - lo) / (hi - lo) : 0.0;
            d[std::size_t(j)].X = (1 - a) * d[std::size_t(j - 1)].X + a * d[std::size_t(j)].X;
            d[std::size_t(j)].Y = (1 - a) * d[std::size_t(j - 1)].Y + a * d[std::size_t(j)].Y;
        }
    return d[std::size_t(degree)];
}
} // namespace

std::vector<TPointEx> PolyNurbs(const std::vector<TPointEx> &points, int segments)
{
    const int n = int(points.size());
    if (n == 0 || segments < 1)
        return {};
    if (n == 1)
        return { points.front() };
    const int degree = std::min(3, n - 1);
    const int spans = n - degree;
    // Clamped knots: degree + 1 zeros, 1 .. spans - 1, degree + 1 times spans.
    std::vector<double> knots;
    for (int i = 0; i <= degree; ++i)
        knots.push_back(0);
    for (int i = 1; i < spans; ++i)
        knots.push_back(i);
    for (int i = 0; i <= degree; ++i)
        knots.push_back(spans);
    const int steps = spans * segments;
    std::vector<TPointEx> curve;
    curve.reserve(std::size_t(steps + 1));
    for (int s = 0; s < steps; ++s)
        curve.push_back(deBoor(points, knots, degree, double(s) * spans / steps));
    curve.push_back(points.back()); // the clamped curve ends exactly on the last point
    return curve;
}

double AngleFromA2B(TPointEx a1, TPointEx b1, TPointEx a2, TPointEx b2)
{
    const double first = std::atan2(b1.Y - a1.Y, b1.X - a1.X);
    const double second = std::atan2(b2.Y - a2.Y, b2.X - a2.X);
    double angle = second - first;
    while (angle <= -std::numbers::pi)
        angle += 2 * std::numbers::pi;
    while (angle > std::numbers::pi)
        angle -= 2 * std::numbers::pi;
    return angle;
}

TPointEx GetPointUpright(TPointEx p, TPointEx a, TPointEx b)
{
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0)
        return a;
    const double t = ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2;
    return { a.X + t * dx, a.Y + t * dy };
}
