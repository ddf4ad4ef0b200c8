// Quarter, half and free-angle rotation of a picture, and the corner helpers of the
// floating objects.

#include "core/base/geometry.h"
#include "core/base/numutils.h"
#include "core/picture/imageproc_internal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

using namespace imageproc;

namespace {
bool near(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance;
}
} // namespace

bool RotatePictureQuarter(QImage &Dest, const QImage &Src, double Angle)
{
    if (near(Angle, 180.0, 1e-9)) {
        // The half turn works on Dest alone: the caller passes a copy of the picture in it.
        if (!IsPicture8(Dest))
            return false;
        const TRect whole { 0, 0, Dest.width(), Dest.height() };
        FlipRectTopBottom(Dest, whole);
        FlipRectLeftRight(Dest, whole);
        return true;
    }
    const bool ccw = near(Angle, 90.0, 1e-9);
    if ((!ccw && !near(Angle, -90.0, 1e-9)) || !IsPicture8(Src))
        return false;
    const int w = Src.width(), h = Src.height();
    QImage out = NewPictureLike(h, w, Src);
    if (out.isNull())
        return false;
    // Every source row becomes one destination column. Work in square tiles so that the
    // destination rows written stay in cache while the source rows are read.
    constexpr int tile = 64;
    const qsizetype stride = out.bytesPerLine();
    std::uint8_t *base = out.bits();
    for (int y0 = 0; y0 < h; y0 += tile)
        for (int x0 = 0; x0 < w; x0 += tile)
            for (int y = y0; y < std::min(h, y0 + tile); ++y) {
                const std::uint8_t *row = Row(Src, y);
                const int x1 = std::min(w, x0 + tile);
                if (ccw) {
                    // Dest (y, W - 1 - x) := Src (x, y)
                    std::uint8_t *cell = base + qsizetype(w - 1 - x0) * stride + y;
                    for (int x = x0; x < x1; ++x, cell -= stride)
                        *cell = row[x];
                } else {
                    // Dest (H - 1 - y, x) := Src (x, y)
                    std::uint8_t *cell = base + qsizetype(x0) * stride + (h - 1 - y);
                    for (int x = x0; x < x1; ++x, cell += stride)
                        *cell = row[x];
                }
            }
    Dest = out;
    return true;
}

bool RotatePictureByAngle(QImage &Dest, const QImage &Src, TColor BackColor, double Angle)
{
    return RotateAboutCentre(Dest, Src, BackColor, -Angle);
}

bool RotateAboutCentre(QImage &Dest, const QImage &Src, TColor BackColor, double Angle)
{
    if (!IsPicture8(Src) || !std::isfinite(Angle))
        return false;
    constexpr double pi = std::numbers::pi;
    constexpr double tolerance = 0.0001;
    double a = std::fmod(Angle, 2 * pi);
    if (a < 0)
        a += 2 * pi;
    if (near(a, pi / 2, tolerance))
        return RotatePictureQuarter(Dest, Src, 90);
    if (near(a, 3 * pi / 2, tolerance))
        return RotatePictureQuarter(Dest, Src, -90);
    if (near(a, pi, tolerance) || near(a, 0, tolerance) || near(a, 2 * pi, tolerance)) {
        // No turn (or a half turn) keeps every cell: an exact copy, turned in place.
        QImage copy = Src.copy();
        if (copy.isNull())
            return false;
        if (near(a, pi, tolerance))
            RotatePictureQuarter(copy, copy, 180);
        Dest = copy;
        return true;
    }

    // Free angle. A cell (i, j) covers [i, i + 1) x [j, j + 1) and the picture turns about
    // the middle of its outline. Dest is as large as the span of the turned outline corners
    // (rounded), so it holds the whole turned picture. Each Dest cell takes the Src cell
    // under its centre turned back (the nearest cell); cells that land outside Src show
    // BackColor. Turning counter-clockwise as stored (rows grow downwards) matches the
    // quarter turns above, so the result does not jump at the special angles.
    const int w = Src.width(), h = Src.height();
    const double c = std::cos(a), s = std::sin(a);
    const std::int64_t dw = std::max<std::int64_t>(1, Round(w * std::fabs(c) + h * std::fabs(s)));
    const std::int64_t dh = std::max<std::int64_t>(1, Round(w * std::fabs(s) + h * std::fabs(c)));
    if (!ValidSide(dw) || !ValidSide(dh))
        return false;
    QImage out = NewPictureLike(int(dw), int(dh), Src);
    if (out.isNull())
        return false;
    TPalette256 pal;
    GetBitmapPalette(Src, pal);
    const std::uint8_t back = std::uint8_t(IndexOfColor(pal, BackColor));
    const std::uint8_t *srcBase = Src.constBits();
    const qsizetype srcStride = Src.bytesPerLine();

    // Back-mapping a Dest cell centre (p + 0.5 - dw/2, q + 0.5 - dh/2) turns it clockwise by a:
    //   sx = dx c - dy s + w/2,  sy = dx s + dy c + h/2;  source cell = floor of each.
    for (int q = 0; q < int(dh); ++q) {
        std::uint8_t *row = Row(out, q);
        const double dy = q + 0.5 - double(dh) / 2;
        const double sx0 = (0.5 - double(dw) / 2) * c - dy * s + w / 2.0;
        const double sy0 = (0.5 - double(dw) / 2) * s + dy * c + h / 2.0;
        for (int p = 0; p < int(dw); ++p) {
            const double sx = sx0 + p * c, sy = sy0 + p * s;
            const double fx = std::floor(sx), fy = std::floor(sy);
            if (fx >= 0 && fx < w && fy >= 0 && fy < h)
                row[p] = srcBase[qsizetype(fy) * srcStride + qsizetype(fx)];
            else
                row[p] = back;
        }
    }
    Dest = out;
    return true;
}

void RotateRectCorners(const TRect &R, const TPoint &Centre, std::array<TPoint, 4> &Corners, double Angle)
{
    const TPoint corners[4]
        = { { R.Left, R.Top }, { R.Right, R.Top }, { R.Right, R.Bottom }, { R.Left, R.Bottom } };
    const double c = std::cos(Angle), s = std::sin(Angle);
    for (int i = 0; i < 4; ++i)
        RotatePointSinCos(corners[i], Centre, Corners[i], c, s);
}

void GetPointsBounds(const TPoint *Points, int Count, TRect &R)
{
    if (!Points || Count <= 0) {
        R = {};
        return;
    }
    R = { Points[0].X, Points[0].Y, Points[0].X, Points[0].Y };
    for (int i = 1; i < Count; ++i) {
        R.Left = std::min(R.Left, Points[i].X);
        R.Top = std::min(R.Top, Points[i].Y);
        R.Right = std::max(R.Right, Points[i].X);
        R.Bottom = std::max(R.Bottom, Points[i].Y);
    }
}
