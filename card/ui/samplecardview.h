#pragma once
// SampleCardView: the widget that shows a sample card (样卡).
// A thin widget over the sample-card model: it shows the card's picture (drawn by
// DrawSampleCard), keeps its size at the card's control size, and turns mouse input into
// cells through the model's hit tests. It redraws only when told the card changed: the
// card's own change events (taken over while the card is shown) and Refresh() after a
// change the model does not announce (MinRad, StartFlag, margins, writes into Cells).
// While the card's NeedRedraw is false (a bulk edit) nothing is drawn; the picture is
// brought up to date by the first Refresh() or change event after NeedRedraw is true
// again.

#include "card/samplecard.h"
#include "core/base/wheelturn.h"

#include <QImage>
#include <QWidget>

#include <functional>

class SampleCardView : public QWidget {
    Q_OBJECT
public:
    explicit SampleCardView(QWidget *parent = nullptr);
    ~SampleCardView() override;

    // The card shown, not owned (null shows nothing). The view hooks the card's OnYKChange
    // and OnStyleChange (calling the hooks it replaced first) and hands them back when it
    // is given another card. Its destructor leaves the card alone, since the card may
    // already be gone; a hook left behind by a destroyed view does nothing more than the
    // hooks it replaced.
    void SetCard(TYangkaImage *card);
    TYangkaImage *Card() const { return m_card; }

    // The card changed in a way it does not announce: sizes itself and redraws (when the
    // card's NeedRedraw allows; otherwise at the next call once it does).
    void Refresh();

    // The picture last drawn: the whole card, or null when the card is too large to keep
    // whole (such a card is drawn piece by piece as it is exposed).
    const QImage &Picture() const { return m_picture; }
    // How many times the whole picture was drawn.
    int RedrawCount() const { return m_redraws; }

    // The cell under a widget point; false outside the grid. inHole: the cell belongs to a
    // positioning hole.
    bool CellAt(const QPoint &pos, int &col, int &row, bool *inHole = nullptr) const;

    // A rubber band over the cells between two corner cells, drawn over the picture;
    // ClearBand hides it.
    void SetBand(int col0, int row0, int col1, int row1);
    void ClearBand();
    bool HasBand() const { return m_hasBand; }

    // Zooms the card by steps cell sizes (MinRad; in for steps > 0) and scrolls the scroll
    // area the view lies in so that the point at pos (view pixels) stays under the pointer.
    // The wheel calls it with Ctrl held; a plain turn scrolls rows, Shift+wheel columns.
    void ZoomAt(int steps, const QPoint &pos);

    QSize sizeHint() const override;

Q_SIGNALS:
    // The card's codes changed: (col, row), or (-1, -1) after a bulk change.
    void CardChanged(int col, int row);
    void StyleChanged();
    // A mouse button went down on a cell.
    void CellPressed(int col, int row, Qt::MouseButton button, bool inHole);
    // While a button is held, the pointer reached another cell (clamped to the grid).
    void CellDragged(int col, int row);
    // The button went up; the cell is clamped to the grid.
    void CellReleased(int col, int row, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void unhook();
    void changed(int col, int row);

    TYangkaImage *m_card = nullptr;
    std::function<void(int, int)> m_oldChange;
    std::function<void()> m_oldStyleChange;
    QImage m_picture;
    bool m_stale = false; // a change waits for NeedRedraw
    int m_redraws = 0;
    bool m_hasBand = false;
    int m_band[4] = { 0, 0, 0, 0 };
    Qt::MouseButton m_pressed = Qt::NoButton;
    int m_lastCol = -1, m_lastRow = -1;
    TWheelTurn m_wheel;
};
