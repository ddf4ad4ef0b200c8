#include "editor/wayglyph.h"

#include "core/base/numutils.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

TWayStyle::TWayStyle(int width, int height)
    : m_width(std::max(1, width))
    , m_height(std::max(1, height))
    , m_rect { 0, 0, m_width, m_height }
{
}

void TWayStyle::SetStyle(int style)
{
    m_style = ((style % 4) + 4) % 4;
}

std::array<TPoint, 5> TWayStyle::Points() const
{
    const int w = m_width - 10;
    const int h = std::max(0, m_height - 20);
    const int a = int(Round(w * Slant)) + 5;
    const int b = int(Round(w * (1 - Slant))) + 5;
    const int top = h / 2;
    const int bottom = m_height - h / 2;
    const int right = m_width - 5;
    switch (m_style) {
    case 1:
        return { { { 5, top }, { a, bottom }, { a, bottom - 10 }, { right, bottom - 10 }, { right, top } } };
    case 2:
        return { { { right, bottom }, { b, top }, { b, top + 10 }, { 5, top + 10 }, { 5, bottom } } };
    case 3:
        return { { { right, top }, { b, bottom }, { b, bottom - 10 }, { 5, bottom - 10 }, { 5, top } } };
    default:
        return { { { 5, bottom }, { a, top }, { a, top + 10 }, { right, top + 10 }, { right, bottom } } };
    }
}

void TWayStyle::Draw(QPainter &painter, QPoint origin) const
{
    painter.save();
    painter.translate(origin);
    // The ground with its one-pixel border, then the figure.
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(0, 0, m_width - 1, m_height - 1);
    QPolygon figure;
    for (const TPoint &p : Points())
        figure << QPoint(p.X, p.Y);
    painter.setBrush(Qt::black);
    painter.drawPolygon(figure);
    painter.restore();
}

bool TWayStyle::Click(TPoint p)
{
    if (p.X < m_rect.Left || p.X >= m_rect.Right || p.Y < m_rect.Top || p.Y >= m_rect.Bottom)
        return false;
    SetStyle(m_style + 1);
    return true;
}
