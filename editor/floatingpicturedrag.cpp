// The pointer on a floating picture: hit testing, grabbing and dragging its handles, its
// inside and its rotation handle, and the end of a drag.
#include "editor/floatingpicture.h"

#include "core/base/curves.h"
#include "core/base/numutils.h"
#include "core/picture/imageproc.h"

#include <QPolygon>

#include <cmath>
#include <numbers>

namespace {

TPoint roundPoint(TPointEx p)
{
    return { std::int32_t(Round(p.X)), std::int32_t(Round(p.Y)) };
}

TPointEx toEx(TPoint p)
{
    return PointEx(p.X, p.Y);
}

// The foot of the perpendicular from p onto the line through a and b, on a cell.
TPoint footOn(TPoint p, TPoint a, TPoint b)
{
    return roundPoint(GetPointUpright(toEx(p), toEx(a), toEx(b)));
}

} // namespace

bool TBmp::HitTestHandle(TPoint p, bool setMode)
{
    if (m_dragMode == TFloatDragMode::Resize) {
        fireHandleChange(m_handleIndex);
        return false;
    }
    int hit = -1;
    for (int i = 0; i < 9 && hit < 0; ++i) {
        const double dx = double(m_framePoints[std::size_t(i)].X) - p.X;
        const double dy = double(m_framePoints[std::size_t(i)].Y) - p.Y;
        if (std::sqrt(dx * dx + dy * dy) < 2.0)
            hit = i;
    }
    if (hit < 0) {
        m_handleIndex = -1;
        fireHandleChange(-1);
        return false;
    }
    m_handleIndex = hit;
    if (setMode) {
        m_dragMode = hit == 8 ? TFloatDragMode::Rotate : TFloatDragMode::Resize;
        m_dragOrigin = frameState();
        m_hasDragOrigin = true;
    }
    m_dragStart = m_framePoints[std::size_t(hit)];
    if (hit == 8) {
        fireHandleChange(8);
        return true;
    }
    // Turned by a quarter or more, the handle shows the cursor of the perpendicular
    // direction: the one two places on.
    constexpr double pi = std::numbers::pi;
    const double a = std::fabs(m_angle);
    fireHandleChange(a >= pi / 4 && a <= 3 * pi / 4 ? (hit + 2) % 8 : hit);
    return true;
}

TBmp *TBmp::SelectAt(TPoint p)
{
    bool hit = HitTestHandle(p, true);
    if (!hit) {
        QPolygon outline;
        for (int i = 0; i <= 6; ++i)
            outline << QPoint(m_framePoints[std::size_t(i)].X, m_framePoints[std::size_t(i)].Y);
        if (outline.containsPoint(QPoint(p.X, p.Y), Qt::WindingFill)) {
            m_dragMode = TFloatDragMode::Move;
            m_dragOrigin = frameState();
            m_hasDragOrigin = true;
            hit = true;
        }
    }
    SetActive(hit && p.X >= 0 && p.Y >= 0);
    return m_active ? this : nullptr;
}

void TBmp::GrabInside()
{
    m_dragMode = TFloatDragMode::Move;
    m_dragOrigin = frameState();
    m_hasDragOrigin = true;
    SetActive(true);
}

void TBmp::DragHandleTo(int dx, int dy, TPoint p)
{
    switch (m_dragMode) {
    case TFloatDragMode::Move:
        m_showFrame = false;
        OffsetRectBy(m_selRect, dx, dy);
        OffsetRectBy(m_bounds, dx, dy);
        OffsetPointBy(m_position, dx, dy);
        OffsetPointBy(m_centre, dx, dy);
        for (TPoint &f : m_framePoints)
            OffsetPointBy(f, dx, dy);
        break;
    case TFloatDragMode::Rotate: {
        m_showFrame = false;
        const TPointEx c = toEx(m_centre);
        SetAngle(AngleFromA2B(c, PointEx(c.X + 20, c.Y), c, toEx(p)));
        break;
    }
    case TFloatDragMode::Resize:
        dragResize(dx, dy, p);
        m_showFrame = false;
        break;
    case TFloatDragMode::None:
        break;
    }
}

void TBmp::dragResize(int dx, int dy, TPoint p)
{
    const int k = m_handleIndex;
    if (k < 0 || k > 7)
        return;
    auto &f = m_framePoints;
    const auto at = [](int i) { return std::size_t(i % 8); };
    const int o = (k + 4) % 8;
    if (k % 2 == 0) {
        // A corner: the two corners beside it slide along the sides through the opposite
        // corner, so the frame stays a (turned) rectangle.
        f[at(k + 6)] = footOn(p, f[at(k + 6)], f[at(o)]);
        f[at(k + 2)] = footOn(p, f[at(k + 2)], f[at(o)]);
        f[at(k)] = p;
        return;
    }
    // An edge middle moves perpendicular to its edge, taking the corners beside it along.
    const TPoint r = footOn(p, f[at(k)], f[at(o)]);
    const double sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    const int mx = int(Trunc((r.X - m_dragStart.X) + 0.5 * sx));
    const int my = int(Trunc((r.Y - m_dragStart.Y) + 0.5 * sy));
    SetAngle(m_angle);
    f[at(k)] = r;
    OffsetPointBy(f[at(k + 7)], mx, my);
    OffsetPointBy(f[at(k + 1)], mx, my);
}

bool TBmp::ApplyDrag(QString *error)
{
    const TFrameState before = m_hasDragOrigin ? m_dragOrigin : frameState();
    m_hasDragOrigin = false;
    if (m_dragMode == TFloatDragMode::Resize) {
        m_centre = { (m_framePoints[2].X + m_framePoints[6].X) / 2,
            (m_framePoints[2].Y + m_framePoints[6].Y) / 2 };
        std::array<TPoint, 4> corners {};
        for (int i = 0; i < 4; ++i)
            RotatePoint(m_framePoints[std::size_t(2 * i)], m_centre, corners[std::size_t(i)], -m_angle);
        GetPointsBounds(corners.data(), int(corners.size()), m_selRect);
        SetAngle(m_angle);
    }
    const TRect oldBounds = m_bounds;
    SetBounds(turnedBounds());
    // A move keeps the rendered picture: only where it lies changes.
    const bool moved = m_dragMode == TFloatDragMode::Move && m_bounds.Width() == oldBounds.Width()
        && m_bounds.Height() == oldBounds.Height();
    if (moved)
        return true;
    if (!UpdateTransformedImage(error)) {
        restoreFrame(before);
        return false;
    }
    ApplyTransparentColors();
    return true;
}
