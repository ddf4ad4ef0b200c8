#pragma once
// TPatternGridView: the window of a pattern (意匠) grid.
// The window of a pattern grid: a cell grid control that shows a TPatternGrid. It hands
// the model its client size and scroll position, puts the model's painted image on screen
// in one draw (no background erasing) and turns pointer positions into cells; everything
// else is the model's.

#include "editor/patterngrid.h"
#include "editor/ui/cellgrid.h"

#include <QImage>

#include <memory>

class TPatternGridView : public TIDrawGrid, public TPatternGridViewport {
    Q_OBJECT
public:
    explicit TPatternGridView(std::unique_ptr<TPatternGrid> model, QWidget *parent = nullptr);
    explicit TPatternGridView(QWidget *parent = nullptr);
    ~TPatternGridView() override;

    TPatternGrid &Model() { return *m_model; }

    // The grid cell under a client point (the picture cell from level 9 up, a cell of the
    // reduced view below); -1 for a coordinate outside the cells.
    TPoint CellAt(const QPoint &pos) const;

    void SetColCount(int value) override;
    void SetRowCount(int value) override;
    void SetGridLineWidth(int value) override;

    // TPatternGridViewport
    void LayoutChanged() override;
    void Repaint() override;

protected:
    void PaintGrid(QPainter &p) override;
    void TopLeftChanged() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    std::unique_ptr<TPatternGrid> m_model;
    QImage m_buffer;
};
