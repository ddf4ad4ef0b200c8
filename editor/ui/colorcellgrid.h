#pragma once
// TColorCellGrid: a cell grid control that shows palette colours, one a cell.
// The colour windows' grids: the cell grid control, with double clicks and right clicks
// reported by cell, and the painting of one colour cell that those windows share.

#include "editor/ui/cellgrid.h"

#include <functional>

class TColorCellGrid : public TIDrawGrid {
    Q_OBJECT
public:
    explicit TColorCellGrid(QWidget *parent = nullptr);

    // Sets the counts, never below one cell (the control needs a current cell).
    void SetCells(int cols, int rows);

    std::function<void(int col, int row)> OnDoubleClickCell;
    std::function<void(int col, int row)> OnRightClickCell;

    // A colour cell: filled inside a 2-pixel margin, its number (when > 0) in red in the
    // middle; a current cell is framed white 3 pixels in and red 4 pixels in. Empty cells
    // (no colour) are white.
    static void PaintNumberedCell(
        QPainter &p, const QRect &rect, const QColor *color, int number, bool current);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool cellAt(const QPoint &pos, int &col, int &row) const;
};
