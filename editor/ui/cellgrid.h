#pragma once
// TIDrawGrid: the cell grid control.
// The owner-drawn cell grid control: lays out ColCount x RowCount cells separated by grid
// lines and compartment lines, scrolls them over the whole grid, turns pointer positions
// into cells, keeps a current cell and a rectangular selection, moves the selection anchor
// on a 60 ms timer while the pointer is held outside the cells, and asks its owner to
// draw every visible cell. The arithmetic lives in TIDrawGridLayout; this class only
// paints and handles input.

#include "core/base/document.h"
#include "core/base/wheelturn.h"
#include "editor/cellgridlayout.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include <functional>

class QPainter;

// TColor (red in the low byte) to QColor and back.
QColor ToQColor(TColor c);
TColor FromQColor(const QColor &c);

// State flags handed to DrawCell.
enum TGridDrawState : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };

class TIDrawGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr TColor clSilver = TIDrawGridLayout::clSilver;
    static constexpr TColor clGray = TIDrawGridLayout::clGray;
    static constexpr int AutoScrollInterval = 60;

    // layout: the arithmetic to work on (not owned); null = a layout of the control's own.
    explicit TIDrawGrid(QWidget *parent = nullptr, TIDrawGridLayout *layout = nullptr);
    ~TIDrawGrid() override;

    TIDrawGridLayout &Layout() { return *m_layout; }
    const TIDrawGridLayout &Layout() const { return *m_layout; }

    int ColCount() const { return m_layout->ColCount(); }
    int RowCount() const { return m_layout->RowCount(); }
    virtual void SetColCount(int value);
    virtual void SetRowCount(int value);
    virtual void SetDefaultColWidth(int value);
    virtual void SetDefaultRowHeight(int value);
    virtual void SetGridLineWidth(int value);
    int GridLineWidth() const { return m_layout->GridLineWidth; }

    // The colours live in the layout, where an owner that paints the grid itself reads
    // them too; the setters repaint.
    TColor Color() const { return m_layout->Color(); }
    TColor LineColor() const { return m_layout->LineColor(); }
    TColor CompartLineColor() const { return m_layout->CompartLineColor(); }
    void SetColor(TColor c);
    void SetLineColor(TColor c);
    void SetCompartLineColor(TColor c);
    bool CanAutoScroll = true;
    bool DefaultDrawing = false;
    // The wheel scrolls the view: rows, with Shift columns, and with Ctrl it zooms about
    // the pointer (WheelZoom). Off, the wheel moves the current cell one row, as in a
    // plain cell grid such as the palette bar.
    bool WheelScrollsView = false;

    int LeftCol() const { return m_layout->LeftCol(); }
    int TopRow() const { return m_layout->TopRow(); }
    void SetLeftCol(int value);
    void SetTopRow(int value);

    int Col() const { return m_layout->Col(); }
    int Row() const { return m_layout->Row(); }
    TPoint Anchor() const { return m_layout->Anchor(); }
    // Moves the current cell, and the anchor with it unless extend (range select keeps
    // the anchor and the selection grows); scrolls the cell into view. Raises EGridError
    // for an index outside the grid.
    void SetCurrentCell(int col, int row, bool extend = false);
    // Moves the anchor and scrolls it into view.
    void MoveAnchor(TPoint anchor);
    // The rectangle spanned by the current cell and the anchor, smaller corner first
    // (inclusive cells).
    TRect GetSelection() const { return m_layout->Selection(); }

    TGridDrawInfo CalcDrawInfo() const { return m_layout->CalcDrawInfo(); }
    TRect CellRect(int col, int row) const { return m_layout->CellRect(col, row); }
    void MouseToCell(int x, int y, int &col, int &row) const { m_layout->MouseToCell(x, y, col, row); }

    // Draws the red selection frame around the selection.
    void DrawSelectionFrame(QPainter &p);

    // Events.
    std::function<void(TIDrawGrid *, int col, int row, const QRect &rect, unsigned state)> OnDrawCell;
    std::function<void(TIDrawGrid *, int col, int row, bool &canSelect)> OnSelectCell;
    std::function<void(TIDrawGrid *)> OnTopLeftChanged;
    std::function<void(TIDrawGrid *)> OnEndPaint;
    std::function<void(TIDrawGrid *)> OnClick;
    std::function<void(TIDrawGrid *, Qt::KeyboardModifiers, int x, int y)> OnMouseMove;

    // The painter DrawCell paints with (valid only during a paint).
    QPainter *Canvas() const { return m_canvas; }

    bool AutoScrollActive() const { return m_timer.isActive(); }
    // One auto-scroll tick with the pointer at a client point (the timer calls it).
    void AutoScrollTick(int x, int y);

    // Scroll bar ranges and positions follow the layout.
    void UpdateScrollRange();

protected:
    virtual void DrawCell(int col, int row, const QRect &rect, unsigned state);
    virtual bool SelectCell(int col, int row);
    virtual void TopLeftChanged();
    // Paints the whole control on p (grid lines, compartment lines, cells, end event).
    virtual void PaintGrid(QPainter &p);

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    // Ctrl+wheel with WheelScrollsView: zoom in (steps > 0) or out about a viewport
    // point. The plain control has no zoom.
    virtual void WheelZoom(int steps, const QPoint &pos);
    void timerEvent(QTimerEvent *event) override;
    bool focusNextPrevChild(bool next) override;

    void viewportChanged(); // repaint and keep the scroll bars in step

private:
    void syncBarsFromLayout();
    void scrolledByLayout(bool moved);

    TIDrawGridLayout m_own;
    TIDrawGridLayout *m_layout;
    bool m_selecting = false;
    bool m_syncing = false;
    QBasicTimer m_timer;
    QPainter *m_canvas = nullptr;
    TWheelTurn m_wheel;
};
