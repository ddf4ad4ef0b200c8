#include "editor/ui/cellgrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
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
    m_layout->SetColor(FromQColor(pal.color(QPalette::Base)));
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
    viewportChanged();
}

void TIDrawGrid::SetRowCount(int value)
{
    m_layout->SetRowCount(value);
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

void TIDrawGrid::SetColor(TColor c)
{
    m_layout->SetColor(c);
    viewport()->update();
}

void TIDrawGrid::SetLineColor(TColor c)
{
    m_layout->SetLineColor(c);
    viewport()->update();
}

void TIDrawGrid::SetCompartLineColor(TColor c)
{
    m_layout->SetCompartLineColor(c);
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

void TIDrawGrid::scrolledByLayout(bool moved)
{
    if (moved) {
        syncBarsFromLayout();
        TopLeftChanged();
    }
    viewport()->update();
}

void TIDrawGrid::SetCurrentCell(int col, int row, bool extend)
{
    m_layout->SetCurrentCell(col, row, extend);
    scrolledByLayout(m_layout->ScrollIntoView(col, row));
}

void TIDrawGrid::MoveAnchor(TPoint anchor)
{
    m_layout->SetAnchor(anchor);
    const TPoint a = m_layout->Anchor();
    scrolledByLayout(m_layout->ScrollIntoView(a.X, a.Y));
}

void TIDrawGrid::DrawSelectionFrame(QPainter &p)
{
    const TRect sel = GetSelection();
    const TRect first = CellRect(sel.Left, sel.Top);
    const TRect last = CellRect(sel.Right, sel.Bottom);
    if (first == TRect {} && last == TRect {})
        return;
    if (first != TRect {}) {
        QPainter *saved = m_canvas;
        m_canvas = &p;
        DrawCell(sel.Left, sel.Top, QRect(first.Left, first.Top, first.Width(), first.Height()), gdFocused);
        m_canvas = saved;
    }
    QPen pen(Qt::red, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const int l = first == TRect {} ? 0 : first.Left - 1;
    const int t = first == TRect {} ? 0 : first.Top - 1;
    const int r = last == TRect {} ? m_layout->ClientWidth : last.Right + 2;
    const int b = last == TRect {} ? m_layout->ClientHeight : last.Bottom + 2;
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
    p.fillRect(QRect(0, 0, l.ClientWidth, l.ClientHeight), ToQColor(l.Color()));
    if (lwH > 0 || lwV > 0) {
        const QColor line = ToQColor(l.LineColor());
        // A line of width w after a cell covers the w pixels that follow the cell.
        if (lwH > 0)
            for (const auto &c : cols)
                p.fillRect(QRect(c.Pos, 0, lwH, info.Vert.GridBoundary), line);
        if (lwV > 0)
            for (const auto &r : rows)
                p.fillRect(QRect(0, r.Pos, info.Horz.GridBoundary, lwV), line);
        if (l.DefaultCompartLine) {
            // A 2-pixel pen centred on the grid line.
            const QColor compart = ToQColor(l.CompartLineColor());
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
            if (c == l.Col() && r == l.Row() && hasFocus())
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
        MoveAnchor({ col, row });
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
    const TPoint next = m_layout->AutoScrollStep(x, y, Anchor());
    if (!(next == Anchor()))
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

namespace {
bool gridKey(int qtKey, TGridKey &key)
{
    switch (qtKey) {
    case Qt::Key_Up:
        key = TGridKey::Up;
        return true;
    case Qt::Key_Down:
        key = TGridKey::Down;
        return true;
    case Qt::Key_Left:
        key = TGridKey::Left;
        return true;
    case Qt::Key_Right:
        key = TGridKey::Right;
        return true;
    case Qt::Key_PageUp:
        key = TGridKey::PageUp;
        return true;
    case Qt::Key_PageDown:
        key = TGridKey::PageDown;
        return true;
    case Qt::Key_Home:
        key = TGridKey::Home;
        return true;
    case Qt::Key_End:
        key = TGridKey::End;
        return true;
    case Qt::Key_Tab:
        key = TGridKey::Tab;
        return true;
    case Qt::Key_Backtab:
        key = TGridKey::BackTab;
        return true;
    default:
        return false;
    }
}
} // namespace

void TIDrawGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return; // swallowed: there is no cell editor
    TGridKey key;
    if (!gridKey(event->key(), key)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const bool tab = key == TGridKey::Tab || key == TGridKey::BackTab;
    if (tab && (!m_layout->Options.Tabs || m_layout->Options.RowSelect)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const TGridKeyStep step = m_layout->KeyStep(
        key, event->modifiers() & Qt::ControlModifier, event->modifiers() & Qt::ShiftModifier);
    if (step.LeftCol >= 0)
        SetLeftCol(step.LeftCol);
    if (step.TopRow >= 0)
        SetTopRow(step.TopRow);
    if (step.MovesCell && SelectCell(step.Cell.X, step.Cell.Y))
        SetCurrentCell(step.Cell.X, step.Cell.Y, step.Extend);
}

void TIDrawGrid::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (WheelScrollsView) {
        const QPoint turn = event->angleDelta();
        const TWheelStep step
            = m_wheel.Take(turn.x(), turn.y(), event->modifiers(), QApplication::wheelScrollLines());
        if (step.Action == TWheelAction::ScrollRows)
            SetTopRow(TopRow() + step.Steps);
        else if (step.Action == TWheelAction::ScrollCols)
            SetLeftCol(LeftCol() + step.Steps);
        else if (step.Action == TWheelAction::Zoom)
            WheelZoom(step.Steps, event->position().toPoint());
        return;
    }
    const TPoint cell = m_layout->WheelTarget(event->angleDelta().y());
    if (cell.X != Col() || cell.Y != Row())
        SetCurrentCell(cell.X, cell.Y);
}

void TIDrawGrid::WheelZoom(int, const QPoint &) { }
