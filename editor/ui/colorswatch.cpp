#include "editor/ui/colorswatch.h"

#include <QMouseEvent>
#include <QPainter>

TColorSwatch::TColorSwatch(const QString &name, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(name);
    setMinimumSize(36, 24);
    setCursor(Qt::PointingHandCursor);
}

void TColorSwatch::SetColor(const QColor &color)
{
    m_color = color;
    update();
}

void TColorSwatch::SetTarget(bool target)
{
    m_target = target;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_target) {
        painter.fillRect(rect(), m_color);
        return;
    }
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(3, 3, -3, -3), m_color);
    painter.setPen(Qt::white);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void TColorSwatch::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
    QFrame::mousePressEvent(event);
}
