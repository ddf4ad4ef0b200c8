#pragma once
// TWeaveGrid: the cells of a weave on screen, with warp numbers above and weft numbers
// (from 1 at the bottom) on the left.
// Column 0 and row 0 are the headers; cell (c, r) shows warp c - 1 and weft r - 1, weft 0 at
// the top. A weave point is black, an empty cell white; grid lines are drawn from a cell
// size of 3 and every eighth of them green, counted from the left and from the bottom. Only
// the cells in view are painted, so a large weave scrolls as fast as a small one. A view
// may show other lines than the weave's own, in another order (the layer view): each column
// and row then names the warp or weft it shows, or none (a padding line, painted grey).
// The headers stay in place while the cells scroll.

#include "core/base/document.h"
#include "weave/weavearray.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <optional>
#include <vector>

class TWeaveGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TWeaveGrid(QWidget *parent = nullptr);

    // The cells shown (kept by the caller, who calls Refresh after changing them), and the
    // lines they are shown in: null maps show every warp and weft in order.
    void SetWeave(const TWeaveArray *cells, const std::vector<int> *columns = nullptr,
        const std::vector<int> *rows = nullptr);
    void SetCellSize(int size);
    int CellSize() const { return m_cell; }
    // The red frame of the block and the blue frame of a block being dragged (warps and
    // wefts); none when empty.
    void SetFrames(std::optional<TWeaveRect> block, std::optional<TWeaveRect> dragged);
    // The sizes or cells changed.
    void Refresh();

    // Columns and rows with the headers: warps + 1, wefts + 1.
    int ColCount() const { return m_cols + 1; }
    int RowCount() const { return m_rows + 1; }
    // The grid cell under a point of the viewport; a point beyond the last cell gives a
    // column or row beyond the last, one left of or above the cells gives 0.
    QPoint CellAt(QPoint viewportPoint) const;
    // Where a grid cell lies in the viewport.
    QRect CellRect(int col, int row) const;
    // Paints the view into an image the viewport's size (the benchmark and the tests).
    QImage Render();

Q_SIGNALS:
    void CellPressed(int col, int row, Qt::MouseButton button);
    void CellMoved(int col, int row, Qt::KeyboardModifiers keys);
    void CellReleased(int col, int row, Qt::KeyboardModifiers keys);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void paint(QPainter &p, const QRect &area);
    void paintCells(QPainter &p, const QRect &area);
    void paintHeaders(QPainter &p, const QRect &area);
    void paintFrame(QPainter &p, const TWeaveRect &r, const QColor &colour);
    void updateScrollBars();
    int pitch() const;
    int lineWidth() const;
    int headerWidth() const;
    int headerHeight() const;
    // The weave's warp (weft) a column (row) shows, -1 for none.
    int warpOf(int col) const;
    int weftOf(int row) const;

    const TWeaveArray *m_cells = nullptr;
    const std::vector<int> *m_colMap = nullptr;
    const std::vector<int> *m_rowMap = nullptr;
    int m_cols = 0;
    int m_rows = 0;
    int m_cell = 14;
    std::optional<TWeaveRect> m_block;
    std::optional<TWeaveRect> m_dragged;
    bool m_pressed = false;
};
