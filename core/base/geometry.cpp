#include "core/base/geometry.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Half away from zero, as the rotation of points requires (unlike the program's Round);
// held to the int range so that a far-off point cannot overflow.
int RoundAway(double v)
{
    const double r = v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
    return int(
        std::clamp(r, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

TRect MakeRect(int l, int t, int r, int b)
{
    return TRect { l, t, r, b };
}

void TwoPasses(QPainter &painter, const QPolygon &line)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    painter.drawPolyline(line);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawPolyline(line);
    painter.restore();
}

} // namespace

void RotatePointSinCos(TPoint p, TPoint centre, TPoint &r, double cosA, double sinA)
{
    // The whole coordinate is rounded, not the offset from the centre: rounding the offset
    // would send a half away from the centre instead of away from zero.
    const double dx = double(p.X) - centre.X;
    const double dy = double(p.Y) - centre.Y;
    r.X = RoundAway(centre.X + dx * cosA - dy * sinA);
    r.Y = RoundAway(centre.Y + dx * sinA + dy * cosA);
}

void RotatePoint(TPoint p, TPoint centre, TPoint &r, double angle)
{
    RotatePointSinCos(p, centre, r, std::cos(angle), std::sin(angle));
}

TPictureLayout LayoutLeftRight(QSize a, QSize b)
{
    return { MakeRect(0, 0, a.width() + b.width(), std::max(a.height(), b.height())),
        MakeRect(0, 0, a.width(), a.height()), MakeRect(a.width(), 0, a.width() + b.width(), b.height()) };
}

TPictureLayout LayoutTopBottom(QSize a, QSize b)
{
    return { MakeRect(0, 0, std::max(a.width(), b.width()), a.height() + b.height()),
        MakeRect(0, 0, a.width(), a.height()), MakeRect(0, a.height(), b.width(), a.height() + b.height()) };
}

TPictureLayout LayoutLeftRightOffset(QSize a, int topA, int cutA, QSize b, int topB, int cutB)
{
    const int top = std::min(topA, topB);
    const int wa = a.width() - cutA;
    const int wb = b.width() - cutB;
    return { MakeRect(0, 0, wa + wb, std::max(a.height() + topA, b.height() + topB) - top),
        MakeRect(0, topA - top, wa, topA - top + a.height()),
        MakeRect(wa, topB - top, wa + wb, topB - top + b.height()) };
}

TPictureLayout LayoutTopBottomOffset(QSize a, int leftA, int cutA, QSize b, int leftB, int cutB)
{
    const int left = std::min(leftA, leftB);
    const int ha = a.height() - cutA;
    const int hb = b.height() - cutB;
    return { MakeRect(0, 0, std::max(a.width() + leftA, b.width() + leftB) - left, ha + hb),
        MakeRect(leftA - left, 0, leftA - left + a.width(), ha),
        MakeRect(leftB - left, ha, leftB - left + b.width(), ha + hb) };
}

TPictureLayout LayoutControlsLeftRight(const QRect &a, const QRect &b, int offset)
{
    const int top = std::min(a.top(), b.top());
    const int w1 = a.width() - offset;
    const int w2 = b.width() + b.left();
    return { MakeRect(0, 0, w1 + w2, std::max(a.top() + a.height(), b.top() + b.height()) - top),
        MakeRect(0, a.top() - top, w1, a.top() - top + a.height()),
        MakeRect(w1, b.top() - top, w1 + w2, b.top() - top + b.height()) };
}

TPictureLayout LayoutControlsTopBottom(const QRect &a, const QRect &b, int offset)
{
    const int left = std::min(a.left(), b.left());
    const int h1 = a.height() - offset;
    const int h2 = b.height() + b.top();
    return { MakeRect(0, 0, std::max(a.left() + a.width(), b.left() + b.width()) - left, h1 + h2),
        MakeRect(a.left() - left, 0, a.left() - left + a.width(), h1),
        MakeRect(b.left() - left, h1, b.left() - left + b.width(), h1 + h2) };
}

void CopyRotateArray(const TRotateArray &src, TRotateArray &dest)
{
    TRotateArray out(src.size());
    const qsizetype width = src.isEmpty() ? 0 : src[0].size();
    for (qsizetype r = 0; r < src.size(); ++r) {
        out[r].setLength(width);
        std::copy_n(src[r].begin(), std::min(width, src[r].size()), out[r].begin());
    }
    dest = out;
}

void DrawDashedOutline(QPainter &painter, const TPoint points[9])
{
    QPolygon line;
    for (int i = 0; i <= 7; ++i)
        line << QPoint(points[i].X, points[i].Y);
    TwoPasses(painter, line);
}

void DrawClosedSelectionFrame(QPainter &painter, const TPoint points[9])
{
    QPolygon line;
    for (int i = 0; i <= 6; i += 2)
        line << QPoint(points[i].X, points[i].Y);
    TwoPasses(painter, line);
}

void PointDelta(TPoint a, TPoint b, int &dx, int &dy)
{
    dx = b.X - a.X;
    dy = b.Y - a.Y;
}

void OffsetRectBy(TRect &r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

void OffsetPointBy(TPoint &p, int dx, int dy)
{
    p.X += dx;
    p.Y += dy;
}

void NurbsCurvePoints(const TPointEx *points, int pointCount, int &curveCount, std::vector<TPointEx> &curve)
{
    curve.clear();
    if (points && pointCount > 0)
        curve = PolyNurbs(std::vector<TPointEx>(points, points + pointCount), 30);
    curveCount = int(curve.size());
}
