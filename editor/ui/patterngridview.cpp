#include "editor/ui/patterngridview.h"

#include "core/base/cursors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cstdlib>

TPatternGridView::TPatternGridView(std::unique_ptr<TPatternGrid> model, QWidget *parent)
    : TIDrawGrid(parent, &model->Grid())
    , m_model(std::move(model))
{
    setObjectName(QStringLiteral("PatternGrid"));
    // The pattern follows the thumb while it is dragged, however long the pattern.
    Layout().Options.ThumbTracking = true;
    WheelScrollsView = true;
    m_model->SetViewport(this);
    m_model->SetInsertWordAsker(&m_insertWordAsker);
    m_model->SetClientSize(viewport()->width(), viewport()->height());
    viewport()->setMouseTracking(true);
    m_toolTimer.setInterval(250);
    connect(&m_toolTimer, &QTimer::timeout, this, [this] { m_model->ToolTimerTick(); });
    ToolCursorChanged();
}

TPatternGridView::TPatternGridView(QWidget *parent)
    : TPatternGridView(std::make_unique<TPatternGrid>(), parent)
{
}

TPatternGridView::~TPatternGridView()
{
    m_model->SetViewport(nullptr);
    m_model->SetInsertWordAsker(nullptr);
}

TPoint TPatternGridView::CellAt(const QPoint &pos) const
{
    TPoint cell;
    MouseToCell(pos.x(), pos.y(), cell.X, cell.Y);
    return cell;
}

TPoint TPatternGridView::PictureCellAt(const QPoint &pos) const
{
    TPoint cell = CellAt(pos);
    if (cell.X < 0 || cell.Y < 0)
        return { -1, -1 };
    if (m_model->ZoomLevel() < TPatternGrid::BaseZoomLevel) {
        cell.X = m_model->ReducedSourceCol(cell.X);
        cell.Y = m_model->ReducedSourceRow(cell.Y);
    }
    const QImage &picture = m_model->Picture();
    if (cell.X < 0 || cell.Y < 0 || cell.X >= picture.width() || cell.Y >= picture.height())
        return { -1, -1 };
    return cell;
}

TPatternGrid::TCellEvent TPatternGridView::cellEvent(const QMouseEvent &event) const
{
    const QPoint pos = event.position().toPoint();
    TPatternGrid::TCellEvent e;
    e.Cell = PictureCellAt(pos);
    e.ViewCell = CellAt(pos);
    const Qt::MouseButtons buttons = event.buttons() | event.button();
    e.Button
        = buttons & Qt::LeftButton ? TPatternGrid::TMouseButton::Left : TPatternGrid::TMouseButton::Right;
    e.Shift = event.modifiers() & Qt::ShiftModifier;
    e.Ctrl = event.modifiers() & Qt::ControlModifier;
    return e;
}

// The grid overrides the cell control's mouse handling: the press keeps only its
// auto-scroll, and every event goes to the tool as picture cells.
void TPatternGridView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    setFocus(Qt::MouseFocusReason);
    m_pressed = true;
    m_model->MouseDown(cellEvent(*event));
    if (m_model->TakePressEnded()) {
        // A dialog the press opened took the release.
        m_pressed = false;
        return;
    }
    // The control's own press only for its auto-scroll, which the view drag switches off.
    if (event->button() == Qt::LeftButton && CanAutoScroll)
        TIDrawGrid::mousePressEvent(event);
}

void TPatternGridView::mouseMoveEvent(QMouseEvent *event)
{
    TIDrawGrid::mouseMoveEvent(event);
    const bool held = m_pressed && (event->buttons() & (Qt::LeftButton | Qt::RightButton));
    m_model->MouseMove(cellEvent(*event), held);
}

void TPatternGridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    if (event->button() == Qt::LeftButton)
        TIDrawGrid::mouseReleaseEvent(event);
    if (!m_pressed)
        return;
    m_pressed = false;
    m_model->MouseUp(cellEvent(*event));
}

// A double-click press is no new press for the tools.
void TPatternGridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

// The arrow keys scroll the pattern (the model's steps); other keys are the control's.
void TPatternGridView::keyPressEvent(QKeyEvent *event)
{
    // The tool keys and the zoom keys are the main window's: they go on to it.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_B:
    case Qt::Key_Space:
    case Qt::Key_Delete:
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
        event->ignore();
        return;
    default:
        break;
    }
    if (m_model->HandleArrowKey(event->key(), event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        return;
    }
    TIDrawGrid::keyPressEvent(event);
}

void TPatternGridView::SetToolTimer(bool on)
{
    if (on)
        m_toolTimer.start();
    else
        m_toolTimer.stop();
}

void TPatternGridView::ToolCursorChanged()
{
    const int id = m_model->ToolCursor();
    // A negative id is a standard shape (the size cursors of a floating picture's handles).
    viewport()->setCursor(id < 0 ? QCursor(Qt::CursorShape(-id))
            : id                 ? AppCursor(id)
                                 : QCursor(Qt::ArrowCursor));
}

void TPatternGridView::SetColCount(int value)
{
    m_model->SetColCount(value);
}

void TPatternGridView::SetRowCount(int value)
{
    m_model->SetRowCount(value);
}

void TPatternGridView::SetGridLineWidth(int value)
{
    m_model->SetGridLineWidth(value);
}

void TPatternGridView::LayoutChanged()
{
    UpdateScrollRange();
    viewport()->update();
    Q_EMIT ViewUpdated();
}

void TPatternGridView::Repaint()
{
    viewport()->update();
    Q_EMIT ViewUpdated();
}

void TPatternGridView::PaintGrid(QPainter &p)
{
    m_model->Paint(m_buffer);
    p.drawImage(0, 0, m_buffer);
    // Whatever was drawn on screen for the last pointer cell is gone with this paint.
    m_model->SetLastCell({ -1, -1 });
    if (OnEndPaint)
        OnEndPaint(this);
}

void TPatternGridView::TopLeftChanged()
{
    m_model->TopLeftChanged();
    TIDrawGrid::TopLeftChanged();
    Q_EMIT ViewUpdated();
}

void TPatternGridView::resizeEvent(QResizeEvent *event)
{
    TIDrawGrid::resizeEvent(event);
    m_model->SetClientSize(viewport()->width(), viewport()->height());
    UpdateScrollRange();
}

// The grid cell that shows a picture cell (-1 stays -1): the cell itself from level 9
// up, below it the first reduced cell taken from that picture cell or a later one.
TPoint TPatternGridView::viewCellOf(TPoint pictureCell) const
{
    if (m_model->ZoomLevel() >= TPatternGrid::BaseZoomLevel)
        return pictureCell;
    auto first = [](int wanted, int count, auto source) {
        if (wanted < 0)
            return -1;
        int lo = 0, hi = count;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (source(mid) < wanted)
                lo = mid + 1;
            else
                hi = mid;
        }
        return std::min(lo, count - 1);
    };
    return { first(pictureCell.X, ColCount(), [this](int x) { return m_model->ReducedSourceCol(x); }),
        first(pictureCell.Y, RowCount(), [this](int y) { return m_model->ReducedSourceRow(y); }) };
}

// Ctrl+wheel zooms in the zoom commands' steps, never out of one pixel per cell, and the
// picture cell under the pointer stays under it (on each axis where the pointer is over
// a cell).
void TPatternGridView::WheelZoom(int steps, const QPoint &pos)
{
    if (steps < 0 && m_model->ZoomLevel() <= TPatternGrid::BaseZoomLevel)
        return; // zooming out stops at one pixel per cell
    TPoint cell = CellAt(pos);
    if (m_model->ZoomLevel() < TPatternGrid::BaseZoomLevel) {
        cell.X = cell.X < 0 ? -1 : m_model->ReducedSourceCol(cell.X);
        cell.Y = cell.Y < 0 ? -1 : m_model->ReducedSourceRow(cell.Y);
    }
    const int startLevel = m_model->ZoomLevel();
    for (int i = 0; i < std::abs(steps); ++i) {
        const int before = m_model->ZoomLevel();
        if (steps > 0)
            m_model->ZoomIn();
        else
            m_model->ZoomOut();
        if (m_model->ZoomLevel() == before)
            break;
    }
    if (m_model->ZoomLevel() == startLevel)
        return;
    const TPoint first = Layout().FirstCellsShowingAt(viewCellOf(cell), pos.x(), pos.y());
    if (first.X >= 0)
        SetLeftCol(first.X);
    if (first.Y >= 0)
        SetTopRow(first.Y);
}
