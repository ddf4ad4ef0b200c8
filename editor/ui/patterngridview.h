#pragma once
// TPatternGridView: the window of a pattern (意匠) grid.
// The window of a pattern grid: a cell grid control that shows a TPatternGrid. It hands
// the model its client size and scroll position, puts the model's painted image on screen
// in one draw (no background erasing) and turns pointer positions into cells; everything
// else is the model's.

#include "editor/patterngrid.h"
#include "editor/ui/cellgrid.h"
#include "editor/ui/insertworddialog.h"

#include <QImage>
#include <QTimer>

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
    // The picture cell under a client point: below level 9 the reduced cell is turned into
    // the picture cell it shows, once, before any tool sees it; (-1, -1) outside the cells.
    TPoint PictureCellAt(const QPoint &pos) const;
    // The 250 ms tool timer (the spray while its button is held).
    const QTimer &ToolTimer() const { return m_toolTimer; }

    void SetColCount(int value) override;
    void SetRowCount(int value) override;
    void SetGridLineWidth(int value) override;

    // TPatternGridViewport
    void LayoutChanged() override;
    void Repaint() override;
    void SetToolTimer(bool on) override;
    void ToolCursorChanged() override;
    void SetAutoScroll(bool on) override { CanAutoScroll = on; }

Q_SIGNALS:
    // The view is to be painted anew (its layout, scroll position or cells changed). What
    // shows beside it (the rulers) updates now, so that it is painted together with the view
    // rather than in a second paint after it.
    void ViewUpdated();

protected:
    void PaintGrid(QPainter &p) override;
    void TopLeftChanged() override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void WheelZoom(int steps, const QPoint &pos) override;

private:
    TPatternGrid::TCellEvent cellEvent(const QMouseEvent &event) const;
    TPoint viewCellOf(TPoint pictureCell) const;

    std::unique_ptr<TPatternGrid> m_model;
    TInsertWordDialogAsker m_insertWordAsker { this };
    QImage m_buffer;
    QTimer m_toolTimer;
    bool m_pressed = false;
};
