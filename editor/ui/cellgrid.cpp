#include "editor/ui/cellgrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>

QColor ToQColor(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TColor FromQColor(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

TIDrawGrid::TIDrawGrid(QWidget *parent, TIDrawGridLayout *layout)
    : QAbstractScrollArea(parent)
    , m_layout(layout ? layout : &m_own)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    const QPalette pal = palette();
    Color = FromQColor(pal.color(QPalette::Base));
    // A new control is sized to its cells.
    const int w = m_layout->ColCount() * m_layout->DefaultColWidth;
    const int h = m_layout->RowCount() * m_layout->DefaultRowHeight;
    resize(w + 2 * frameWidth(), h + 2 * frameWidth());
}

TIDrawGrid::~TIDrawGrid() = default;

void TIDrawGrid::viewportChanged()
{
    UpdateScrollRange();
    viewport()->update();
}

void TIDrawGrid::SetColCount(int value)
{
    m_layout->SetColCount(value);
    m_col = std::min(m_col, ColCount() - 1);
    m_anchor.X = m_layout->Options.RowSelect ? ColCount() - 1 : std::min(m_anchor.X, ColCount() - 1);
    viewportChanged();
}

void TIDrawGrid::SetRowCount(int value)
{
    m_layout->SetRowCount(value);
    m_row = std::min(m_row, RowCount() - 1);
    m_anchor.Y = std::min(m_anchor.Y, RowCount() - 1);
    viewportChanged();
}

void TIDrawGrid::SetDefaultColWidth(int value)
{
    m_layout->ClearColWidths();
    m_layout->DefaultColWidth = value;
    viewportChanged();
}

void TIDrawGrid::SetDefaultRowHeight(int value)
{
    m_layout->ClearRowHeights();
    m_layout->DefaultRowHeight = value;
    viewportChanged();
}

void TIDrawGrid::SetGridLineWidth(int value)
{
    if (m_layout->GridLineWidth == value)
        return;
    m_layout->GridLineWidth = value;
    viewportChanged();
}

void TIDrawGrid::SetLineColor(TColor c)
{
    LineColor = c;
    viewport()->update();
}

void TIDrawGrid::SetCompartLineColor(TColor c)
{
    CompartLineColor = c;
    viewport()->update();
}

void TIDrawGrid::SetLeftCol(int value)
{
    if (m_layout->SetLeftCol(value)) {
        syncBarsFromLayout();
        TopLeftChanged();
        viewport()->update();
    }
}

void TIDrawGrid::SetTopRow(int value)
{
    if (m_layout->SetTopRow(value)) {
        syncBarsFromLayout();
        TopLeftChanged();
        viewport()->update();
    }
}

void TIDrawGrid::SetCurrentCell(int col, int row, bool extend)
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        throw EGridError("Grid index out of range");
    m_col = col;
    m_row = row;
    if (!extend || !m_layout->Options.RangeSelect)
        m_anchor = {col, row};
    if (m_layout->ScrollIntoView(col, row)) {
        syncBarsFromLayout();
        TopLeftChanged();
    }
    viewport()->update();
}

void TIDrawGrid::MoveAnchor(TPoint anchor)
{
    anchor.X = std::clamp(anchor.X, 0, ColCount() - 1);
    anchor.Y = std::clamp(anchor.Y, 0, RowCount() - 1);
    m_anchor = anchor;
    if (m_layout->ScrollIntoView(anchor.X, anchor.Y)) {
        syncBarsFromLayout();
        TopLeftChanged();
    }
    viewport()->update();
}

TRect TIDrawGrid::GetSelection() const
{
    return {std::min(m_col, m_anchor.X), std::min(m_row, m_anchor.Y), std::max(m_col, m_anchor.X),
            std::max(m_row, m_anchor.Y)};
}

void TIDrawGrid::DrawSelectionFrame(QPainter &p)
{
    const TRect sel = GetSelection();
    const TRect first = CellRect(sel.Left, sel.Top);
    const TRect last = CellRect(sel.Right, sel.Bottom);
    if (first == TRect{} && last == TRect{})
        return;
    if (first != TRect{}) {
        QPainter *saved = m_canvas;
        m_canvas = &p;
        DrawCell(sel.Left, sel.Top, QRect(first.Left, first.Top, first.Width(), first.Height()), gdFocused);
        m_canvas = saved;
    }
    QPen pen(Qt::red, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const int l = first == TRect{} ? 0 : first.Left - 1;
    const int t = first == TRect{} ? 0 : first.Top - 1;
    const int r = last == TRect{} ? m_layout->ClientWidth : last.Right + 2;
    const int b = last == TRect{} ? m_layout->ClientHeight : last.Bottom + 2;
    p.drawRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)));
}

void TIDrawGrid::DrawCell(int col, int row, const QRect &rect, unsigned state)
{
    if (OnDrawCell)
        OnDrawCell(this, col, row, rect, state);
}

bool TIDrawGrid::SelectCell(int col, int row)
{
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, col, row, can);
    return can;
}

void TIDrawGrid::TopLeftChanged()
{
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TIDrawGrid::FixLineColor()
{
    if (LineColor == clSilver)
        LineColor = clGray;
}

void TIDrawGrid::PaintGrid(QPainter &p)
{
    const TIDrawGridLayout &l = *m_layout;
    const TGridDrawInfo info = l.CalcDrawInfo();
    const int lwH = info.Horz.EffectiveLineWidth;
    const int lwV = info.Vert.EffectiveLineWidth;
    const auto cols = l.ColLines(info);
    const auto rows = l.RowLines(info, l.StartTop);
    // The background is erased first, as a window's is before it paints: the area right of
    // and below the last cell, and any cell its owner leaves undrawn, show Color.
    p.fillRect(QRect(0, 0, l.ClientWidth, l.ClientHeight), ToQColor(Color));
    if (lwH > 0 || lwV > 0) {
        FixLineColor();
        const QColor line = ToQColor(LineColor);
        // A line of width w after a cell covers the w pixels that follow the cell.
        if (lwH > 0)
            for (const auto &c : cols)
                p.fillRect(QRect(c.Pos, 0, lwH, info.Vert.GridBoundary), line);
        if (lwV > 0)
            for (const auto &r : rows)
                p.fillRect(QRect(0, r.Pos, info.Horz.GridBoundary, lwV), line);
        if (l.DefaultCompartLine) {
            // A 2-pixel pen centred on the grid line.
            const QColor compart = ToQColor(CompartLineColor);
            if (lwH > 0)
                for (const auto &c : cols)
                    if (c.Compart)
                        p.fillRect(QRect(c.Pos + lwH / 2 - 1, 0, 2, info.Vert.GridBoundary), compart);
            if (lwV > 0)
                for (const auto &r : rows)
                    if (r.Compart)
                        p.fillRect(QRect(-1, r.Pos + lwV / 2 - 1, info.Horz.GridBoundary, 2), compart);
        }
    }
    const QRect clip = p.clipBoundingRect().toAlignedRect();
    const bool shrink = l.CompartShrinkOn();
    int y = 0;
    for (int r = info.Vert.FirstGridCell; r <= info.Vert.LastVisibleCell; ++r) {
        const int h = l.RowHeight(r);
        int x = 0;
        for (int c = info.Horz.FirstGridCell; c <= info.Horz.LastVisibleCell; ++c) {
            const int w = l.ColWidth(c);
            QRect rect(x, y, w, h);
            x += w + lwH;
            if (rect.isEmpty() || (!clip.isEmpty() && !clip.intersects(rect)))
                continue;
            const TRect sel = GetSelection();
            unsigned state = 0;
            if (c == m_col && r == m_row && hasFocus())
                state |= gdFocused;
            if (c >= sel.Left && c <= sel.Right && r >= sel.Top && r <= sel.Bottom)
                state |= gdSelected;
            const QRect full = rect;
            // The cell gives up the pixel that the compartment line's pen covers; the rule
            // is the one the lines above were drawn with.
            if (shrink) {
                if (l.IsColCompartLine(c))
                    rect.setRight(rect.right() - 1);
                if (l.IsRowCompartLine(r, l.StartTop))
                    rect.setBottom(rect.bottom() - 1);
            }
            DrawCell(c, r, rect, state);
            if (DefaultDrawing && (state & gdFocused) && !l.Options.RowSelect)
                p.drawRect(full.adjusted(0, 0, -1, -1));
        }
        y += h + lwV;
    }
    if (OnEndPaint)
        OnEndPaint(this);
}

void TIDrawGrid::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    p.setClipRegion(event->region());
    m_canvas = &p;
    PaintGrid(p);
    m_canvas = nullptr;
}

void TIDrawGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool moved = [&] {
        const int left = LeftCol(), top = TopRow();
        m_layout->SetClientSize(viewport()->width(), viewport()->height());
        return left != LeftCol() || top != TopRow();
    }();
    UpdateScrollRange();
    if (moved)
        TopLeftChanged();
}

void TIDrawGrid::UpdateScrollRange()
{
    m_layout->SetClientSize(viewport()->width(), viewport()->height());
    m_syncing = true;
    horizontalScrollBar()->setRange(0, m_layout->MaxLeftCol());
    horizontalScrollBar()->setPageStep(std::max(1, m_layout->VisibleColCount()));
    verticalScrollBar()->setRange(0, m_layout->MaxTopRow());
    verticalScrollBar()->setPageStep(std::max(1, m_layout->VisibleRowCount()));
    // Dragging a thumb scrolls as it moves only with the thumb-tracking option.
    horizontalScrollBar()->setTracking(m_layout->Options.ThumbTracking);
    verticalScrollBar()->setTracking(m_layout->Options.ThumbTracking);
    m_syncing = false;
    syncBarsFromLayout();
}

void TIDrawGrid::syncBarsFromLayout()
{
    m_syncing = true;
    horizontalScrollBar()->setValue(LeftCol());
    verticalScrollBar()->setValue(TopRow());
    m_syncing = false;
}

void TIDrawGrid::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    const bool a = m_layout->SetLeftCol(horizontalScrollBar()->value());
    const bool b = m_layout->SetTopRow(verticalScrollBar()->value());
    if (a || b) {
        TopLeftChanged();
        viewport()->update();
    }
}

void TIDrawGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    int col = -1, row = -1;
    MouseToCell(pt.x(), pt.y(), col, row);
    if (col < 0 || row < 0)
        return;
    m_selecting = true;
    if ((event->modifiers() & Qt::ShiftModifier) && m_layout->Options.RangeSelect)
        MoveAnchor({col, row});
    else if (SelectCell(col, row))
        SetCurrentCell(col, row);
    if (CanAutoScroll)
        m_timer.start(AutoScrollInterval, this);
}

void TIDrawGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pt = event->position().toPoint();
    if (m_selecting && !viewport()->rect().contains(pt))
        return;
    if (OnMouseMove)
        OnMouseMove(this, event->modifiers(), pt.x(), pt.y());
}

void TIDrawGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_timer.stop();
    const bool was = m_selecting;
    m_selecting = false;
    if (was && OnClick)
        OnClick(this);
}

void TIDrawGrid::AutoScrollTick(int x, int y)
{
    if (!m_selecting)
        return;
    const TPoint next = m_layout->AutoScrollStep(x, y, m_anchor);
    if (!(next == m_anchor))
        MoveAnchor(next);
}

void TIDrawGrid::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    const QPoint pt = viewport()->mapFromGlobal(QCursor::pos());
    AutoScrollTick(pt.x(), pt.y());
}

bool TIDrawGrid::focusNextPrevChild(bool next)
{
    if (m_layout->Options.Tabs && !m_layout->Options.RowSelect)
        return false; // Tab walks the cells
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TIDrawGrid::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool rowSel = m_layout->Options.RowSelect;
    const int cols = ColCount(), rows = RowCount();
    const int visRows = std::max(1, m_layout->VisibleRowCount());
    const int visCols = std::max(1, m_layout->VisibleColCount());
    int c = m_col, r = m_row;
    switch (event->key()) {
    case Qt::Key_Up:
        if (ctrl) {
            SetTopRow(TopRow() - 1);
            return;
        }
        --r;
        break;
    case Qt::Key_Down:
        if (ctrl) {
            SetTopRow(TopRow() + 1);
            return;
        }
        ++r;
        break;
    case Qt::Key_Left:
        if (rowSel)
            --r;
        else if (ctrl) {
            c -= visCols;
            SetLeftCol(LeftCol() - visCols);
        } else
            --c;
        break;
    case Qt::Key_Right:
        if (rowSel)
            ++r;
        else if (ctrl) {
            c += visCols;
            SetLeftCol(LeftCol() + visCols);
        } else
            ++c;
        break;
    case Qt::Key_PageUp:
        r = ctrl ? TopRow() : r - visRows;
        break;
    case Qt::Key_PageDown:
        r = ctrl ? TopRow() + visRows - 1 : r + visRows;
        break;
    case Qt::Key_Home:
        if (ctrl) {
            c = 0;
            r = 0;
        } else if (rowSel)
            r = 0;
        else
            c = 0;
        break;
    case Qt::Key_End:
        if (ctrl) {
            c = cols - 1;
            r = rows - 1;
        } else if (rowSel)
            r = rows - 1;
        else
            c = cols - 1;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!m_layout->Options.Tabs || rowSel) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        if (event->key() == Qt::Key_Backtab || shift) {
            if (--c < 0) {
                c = cols - 1;
                r = r > 0 ? r - 1 : rows - 1;
            }
        } else if (++c >= cols) {
            c = 0;
            r = r + 1 < rows ? r + 1 : 0;
        }
        SetCurrentCell(c, r);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return; // swallowed: there is no cell editor
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    c = std::clamp(c, 0, cols - 1);
    r = std::clamp(r, 0, rows - 1);
    // With Shift the current cell moves and the anchor stays: the selection grows.
    if (SelectCell(c, r))
        SetCurrentCell(c, r, shift);
}

void TIDrawGrid::wheelEvent(QWheelEvent *event)
{
    const int dy = event->angleDelta().y();
    if (dy < 0 && m_row < RowCount() - 1)
        SetCurrentCell(m_col, m_row + 1);
    else if (dy > 0 && m_row > 0)
        SetCurrentCell(m_col, m_row - 1);
    event->accept();
}
