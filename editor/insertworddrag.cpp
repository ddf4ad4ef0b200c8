// The pointer on a floating text: hit testing its handles and inside, moving it, turning
// it by its rotation handle and stretching it by its side handles.
#include "editor/insertword.h"

#include "core/base/curves.h"
#include "core/base/numutils.h"
#include "core/picture/imageproc.h"

#include <QPolygon>

#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

TPointEx toEx(TPoint p)
{
    return PointEx(p.X, p.Y);
}

TPoint roundPoint(TPointEx p)
{
    return { std::int32_t(Round(p.X)), std::int32_t(Round(p.Y)) };
}

} // namespace

void TInsertWord::fireHandleHit(int index)
{
    if (m_onHandleHit)
        m_onHandleHit(*this, index);
}

int TInsertWord::handleIndexAt(TPoint p) const
{
    for (int i = 0; i < 9; ++i) {
        const double dx = double(m_rotated[std::size_t(i)].X) - p.X;
        const double dy = double(m_rotated[std::size_t(i)].Y) - p.Y;
        if (std::sqrt(dx * dx + dy * dy) < 2.0)
            return i;
    }
    return -1;
}

// Turned by about a quarter, a frame handle shows the cursor of the side two places on.
int TInsertWord::reportedHandle(int index) const
{
    if (index < 0 || index == 8)
        return index;
    const double off = std::fabs(m_angle - Pi);
    return off < Pi / 4 || off > 3 * Pi / 4 ? index : (index + 2) % 8;
}

int TInsertWord::HandleAt(TPoint p) const
{
    return reportedHandle(handleIndexAt(p));
}

bool TInsertWord::Contains(TPoint p) const
{
    QPolygon outline;
    for (int i = 0; i <= 6; ++i)
        outline << QPoint(m_rotated[std::size_t(i)].X, m_rotated[std::size_t(i)].Y);
    return outline.containsPoint(QPoint(p.X, p.Y), Qt::WindingFill);
}

TInsertWord *TInsertWord::HitTest(TPoint p)
{
    bool hit = false;
    if (m_dragMode == TWordDragMode::Resize) {
        // A side is being dragged: it stays the handle under the pointer.
        fireHandleHit(m_handleIndex);
        hit = true;
    } else {
        const int index = handleIndexAt(p);
        m_handleIndex = index;
        if (index >= 0) {
            m_dragMode = index == 8 ? TWordDragMode::Rotate : TWordDragMode::Resize;
            m_grabbed = m_rotated[std::size_t(index)];
            hit = true;
        }
        fireHandleHit(reportedHandle(index));
    }
    if (!hit && Contains(p)) {
        m_dragMode = TWordDragMode::Move;
        hit = true;
    }
    SetActive(hit && p.X >= 0 && p.Y >= 0);
    return m_active ? this : nullptr;
}

void TInsertWord::Drag(int dx, int dy, TPoint &pointer)
{
    const TPoint p = pointer;
    switch (m_dragMode) {
    case TWordDragMode::Resize: {
        m_showHandles = 0;
        int outX = dx, outY = dy;
        dragResize(dx, dy, p, outX, outY);
        pointer = { p.X + outX, p.Y + outY };
        break;
    }
    case TWordDragMode::Rotate: {
        // The angle follows the pointer one move behind: towards the point it came from.
        m_showHandles = 0;
        const TPointEx c = toEx(m_centre);
        SetAngle(AngleFromA2B(c, PointEx(c.X + 20, c.Y), c, toEx(p)));
        pointer = { p.X + dx, p.Y + dy };
        break;
    }
    case TWordDragMode::Move:
        m_showHandles = 0;
        OffsetRectBy(m_frame, dx, dy);
        OffsetRectBy(m_textBox, dx, dy);
        OffsetPointBy(m_centre, dx, dy);
        OffsetPointBy(m_position, dx, dy);
        for (TPoint &h : m_handles)
            OffsetPointBy(h, dx, dy);
        for (TPoint &h : m_rotated)
            OffsetPointBy(h, dx, dy);
        pointer = { p.X + dx, p.Y + dy };
        break;
    case TWordDragMode::None:
        break;
    }
    Rebuild();
}

// Handle i at r; the corners beside it moved by (dx, dy) from where the frame put them.
void TInsertWord::placeSideHandle(int i, TPoint r, int dx, int dy)
{
    SetAngle(m_angle);
    m_rotated[std::size_t(i)] = r;
    OffsetPointBy(m_rotated[std::size_t((i + 7) % 8)], dx, dy);
    OffsetPointBy(m_rotated[std::size_t((i + 1) % 8)], dx, dy);
}

void TInsertWord::dragResize(int dx, int dy, TPoint p, int &dxOut, int &dyOut)
{
    const int i = m_handleIndex;
    // Corners resize nothing.
    if (i < 0 || i > 7 || i % 2 == 0)
        return;
    // The side moves square to itself, along the line to the opposite side's middle; the
    // displacement counts from where the handle was grabbed.
    const TPoint a = m_rotated[std::size_t((i + 4) % 8)];
    const TPoint b = m_rotated[std::size_t(i)];
    const TPointEx exact = GetPointUpright(PointEx(p.X + dx, p.Y + dy), toEx(a), toEx(b));
    const TPoint r = roundPoint(exact);
    const double s = dx >= 0 ? 1 : -1, t = dy >= 0 ? 1 : -1;
    int mx = int(Trunc(exact.X - m_grabbed.X + 0.5 * s));
    int my = int(Trunc(exact.Y - m_grabbed.Y + 0.5 * t));
    placeSideHandle(i, r, mx, my);
    // A side dragged onto the opposite one keeps the frame's size instead.
    TRect box = cornersTurnedBack(m_centre);
    if (box.Right - box.Left <= 1 || box.Bottom - box.Top <= 1) {
        if (box.Right - box.Left <= 1)
            mx = dxOut = m_frame.Right - m_frame.Left + 1;
        if (box.Bottom - box.Top <= 1)
            my = dyOut = m_frame.Bottom - m_frame.Top + 1;
        placeSideHandle(i, r, mx, my);
    }
    if (i != 3 && i != 7)
        return;
    // The left and right sides set the character width: a whole cell a character.
    const int chars = int(m_text.toUcs4().size());
    if (chars == 0)
        return;
    box = cornersTurnedBack(m_centre);
    const int n = std::max(1, (box.Right - box.Left + 1) / chars);
    if (n == m_averageCharWidth) {
        dxOut = 0;
    } else {
        m_charWidth = n;
        dxOut = chars * (n - m_averageCharWidth);
    }
}
