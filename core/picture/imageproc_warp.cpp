// Mapping a whole picture onto a quadrilateral by inverse bilinear interpolation.

#include "core/base/progress.h"
#include "core/picture/imageproc_internal.h"

#include <algorithm>
#include <cmath>
#include <optional>

using namespace imageproc;

namespace {

struct Vec {
    double x, y;
};
double cross(Vec a, Vec b)
{
    return a.x * b.y - a.y * b.x;
}

// The bilinear quadrilateral P(u, v) = A + u e + v f + u v g with corners A (0, 0),
// B (1, 0), C (1, 1) and D (0, 1).
struct Bilinear {
    Vec a, e, f, g;

    Bilinear(const std::array<TPoint, 4> &c)
        : a { double(c[0].X), double(c[0].Y) }
        , e { double(c[1].X - c[0].X), double(c[1].Y - c[0].Y) }
        , f { double(c[3].X - c[0].X), double(c[3].Y - c[0].Y) }
        , g { double(c[0].X - c[1].X + c[2].X - c[3].X), double(c[0].Y - c[1].Y + c[2].Y - c[3].Y) }
    {
    }

    static bool inRange(double t) { return t >= -1e-9 && t <= 1 + 1e-9; }

    // u for a known v: h - v f = u (e + v g), solved along e + v g.
    std::optional<Vec> withV(Vec h, double v) const
    {
        const Vec d { e.x + v * g.x, e.y + v * g.y };
        const double len2 = d.x * d.x + d.y * d.y;
        if (len2 == 0)
            return std::nullopt;
        const double u = ((h.x - v * f.x) * d.x + (h.y - v * f.y) * d.y) / len2;
        if (!inRange(u) || !inRange(v))
            return std::nullopt;
        return Vec { u, v };
    }

    // (u, v) of point P, or nothing when P lies outside the quadrilateral. With integer
    // corners and points, k2, k1 and k0 are exact. The root with the minus sign is tried
    // first; the other serves a quadrilateral of the opposite orientation.
    std::optional<Vec> inverse(Vec p) const
    {
        const Vec h { p.x - a.x, p.y - a.y };
        const double k2 = cross(g, f);
        const double k1 = cross(e, f) + cross(h, g);
        const double k0 = cross(h, e);
        if (k2 == 0) {
            if (k1 == 0)
                return std::nullopt;
            return withV(h, -k0 / k1);
        }
        const double disc = k1 * k1 - 4 * k0 * k2;
        if (disc < 0)
            return std::nullopt;
        const double root = std::sqrt(disc);
        // Both roots without cancellation: one as a quotient by 2 k2, the other as 2 k0 / q.
        const double qm = -k1 - root, qp = -k1 + root;
        const double vMinus = std::fabs(qm) >= std::fabs(qp) ? qm / (2 * k2) : (qp != 0 ? 2 * k0 / qp : 0);
        const double vPlus = std::fabs(qp) > std::fabs(qm) ? qp / (2 * k2) : (qm != 0 ? 2 * k0 / qm : 0);
        if (auto uv = withV(h, vMinus))
            return uv;
        return withV(h, vPlus);
    }
};

} // namespace

bool WarpPictureToCorners(const QImage &Src, QImage &Dest, const std::array<TPoint, 4> &Corners)
{
    if (!IsPicture8(Src))
        return false;
    int minX = Corners[0].X, maxX = minX, minY = Corners[0].Y, maxY = minY;
    for (const TPoint &p : Corners) {
        minX = std::min(minX, p.X);
        maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y);
        maxY = std::max(maxY, p.Y);
    }
    const long long dw = (long long)maxX - minX + 1, dh = (long long)maxY - minY + 1;
    if (!ValidSide(dw) || !ValidSide(dh))
        return false;
    // Twice the signed area (shoelace, about the box's corner so that the products stay
    // small); a quadrilateral without area maps nothing.
    long long area2 = 0;
    for (int i = 0; i < 4; ++i) {
        const TPoint &p = Corners[i], &q = Corners[(i + 1) % 4];
        const long long px = p.X - minX, py = p.Y - minY, qx = q.X - minX, qy = q.Y - minY;
        area2 += px * qy - qx * py;
    }
    if (area2 == 0)
        return false;
    QImage out = NewPictureLike(int(dw), int(dh), Src);
    if (out.isNull())
        return false;

    const Bilinear quad(Corners);
    const int w = Src.width(), h = Src.height();
    ShowProgressGauge();
    TProgressSteps progress(dh);
    for (int q = 0; q < int(dh); ++q) {
        std::uint8_t *row = Row(out, q);
        for (int p = 0; p < int(dw); ++p) {
            const auto uv = quad.inverse({ double(minX) + p, double(minY) + q });
            if (!uv)
                continue; // outside the quadrilateral: index 0
            const int sx = std::clamp(int(std::floor(uv->x * w)), 0, w - 1);
            const int sy = std::clamp(int(std::floor(uv->y * h)), 0, h - 1);
            row[p] = Row(Src, sy)[sx];
        }
        progress.step(q + 1);
    }
    progress.finish();
    Dest = out;
    return true;
}
