#include "editor/ui/colorcellgrid.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TColorCellGrid::TColorCellGrid(QWidget *parent)
    : TIDrawGrid(parent)
{
    CanAutoScroll = false;
    Layout().Options.RangeSelect = false;
}

void TColorCellGrid::SetCells(int cols, int rows)
{
    SetColCount(std::max(cols, 1));
    SetRowCount(std::max(rows, 1));
}

bool TColorCellGrid::cellAt(const QPoint &pos, int &col, int &row) const
{
    col = row = -1;
    MouseToCell(pos.x(), pos.y(), col, row);
    return col >= 0 && row >= 0;
}

void TColorCellGrid::mousePressEvent(QMouseEvent *event)
{
    int col = 0, row = 0;
    if (event->button() == Qt::RightButton && cellAt(event->position().toPoint(), col, row)) {
        if (OnRightClickCell)
            OnRightClickCell(col, row);
        return;
    }
    TIDrawGrid::mousePressEvent(event);
}

void TColorCellGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    int col = 0, row = 0;
    if (event->button() == Qt::LeftButton && cellAt(event->position().toPoint(), col, row)
        && OnDoubleClickCell)
        OnDoubleClickCell(col, row);
}

void TColorCellGrid::PaintNumberedCell(
    QPainter &p, const QRect &rect, const QColor *color, int number, bool current)
{
    p.fillRect(rect, Qt::white);
    if (!color)
        return;
    p.fillRect(rect.adjusted(2, 2, -2, -2), *color);
    if (number > 0) {
        p.setPen(Qt::red);
        p.drawText(rect, Qt::AlignCenter, QString::number(number));
    }
    if (current) {
        p.setBrush(Qt::NoBrush);
        p.setPen(Qt::white);
        p.drawRect(rect.adjusted(3, 3, -4, -4));
        p.setPen(Qt::red);
        p.drawRect(rect.adjusted(4, 4, -5, -5));
    }
}
