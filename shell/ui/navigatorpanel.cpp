#include "shell/ui/navigatorpanel.h"

#include "shell/ui/documentwindow.h"

#include <QMouseEvent>

#include <algorithm>

namespace {
constexpr int kViewMinimumSize = 160; // the navigator's picture area at its least

// A document shown below one pixel per cell counts its cells in the reduced view: the
// navigator works in picture cells.
int pictureCol(const TPatternGrid &grid, int col)
{
    return grid.ZoomLevel() < TPatternGrid::BaseZoomLevel ? grid.ReducedSourceCol(col) : col;
}
int pictureRow(const TPatternGrid &grid, int row)
{
    return grid.ZoomLevel() < TPatternGrid::BaseZoomLevel ? grid.ReducedSourceRow(row) : row;
}
// The grid cell that shows picture cell index of a side of size pictureSide.
int gridCell(int index, int pictureSide, int gridSide)
{
    if (pictureSide <= 0 || gridSide == pictureSide)
        return index;
    return int(std::int64_t(index) * gridSide / pictureSide);
}
} // namespace

TNavigatorView::TNavigatorView(QWidget *parent)
    : TPatternGridView(parent)
{
    setObjectName(QStringLiteral("PrdNavigator"));
    Model().ShowPictureOf(nullptr);
    viewport()->setCursor(Qt::ArrowCursor);
}

TPatternGrid *TNavigatorView::Source() const
{
    return m_child ? &m_child->PatternGrid() : nullptr;
}

void TNavigatorView::SetSource(TMDIChild *child)
{
    disconnect(m_childGone);
    m_child = child;
    m_dragging = false;
    // The reference must never outlive the document.
    if (child)
        m_childGone = connect(child, &QObject::destroyed, this, [this] {
            m_child = nullptr;
            m_dragging = false;
            Model().ShowPictureOf(nullptr);
            LayoutChanged();
        });
    Model().ShowPictureOf(Source());
    LayoutChanged();
    FollowView();
}

void TNavigatorView::FollowView()
{
    TPatternGrid *source = Source();
    if (!source || source->Picture().isNull()) {
        Model().SetNavigatorFrame(TRect {});
        return;
    }
    const TRect cells = source->GetVisibleCellRect();
    const int w = source->Picture().width(), h = source->Picture().height();
    TRect frame { pictureCol(*source, cells.Left), pictureRow(*source, cells.Top),
        pictureCol(*source, std::max(cells.Left, cells.Right)) + 1,
        pictureRow(*source, std::max(cells.Top, cells.Bottom)) + 1 };
    frame.Right = std::min(frame.Right, w);
    frame.Bottom = std::min(frame.Bottom, h);
    Model().SetNavigatorFrame(frame);
    // The frame stays in sight.
    if (Model().Grid().ScrollIntoView(frame.Left, frame.Top))
        LayoutChanged();
}

TPoint TNavigatorView::pictureCellAt(const QPoint &pos) const
{
    // One pixel per cell: the cell is the point shifted by the scroll position.
    const TPatternGrid &grid = const_cast<TNavigatorView *>(this)->Model();
    return TPoint { grid.LeftCol() + pos.x(), grid.TopRow() + pos.y() };
}

bool TNavigatorView::overFrame(const QPoint &pos) const
{
    const TRect &f = const_cast<TNavigatorView *>(this)->Model().NavigatorFrame();
    const TPoint c = pictureCellAt(pos);
    return c.X >= f.Left && c.X < f.Right && c.Y >= f.Top && c.Y < f.Bottom;
}

void TNavigatorView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton || !Source() || Model().NavigatorFrame().Width() <= 0)
        return;
    m_dragging = true;
    m_dragStart = pictureCellAt(event->position().toPoint());
    m_frameAtStart = Model().NavigatorFrame();
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void TNavigatorView::mouseMoveEvent(QMouseEvent *event)
{
    TPatternGrid *source = Source();
    const QPoint pos = event->position().toPoint();
    if (!m_dragging || !source) {
        viewport()->setCursor(source && overFrame(pos) ? Qt::OpenHandCursor : Qt::ArrowCursor);
        return;
    }
    const TPoint cell = pictureCellAt(pos);
    const TRect &start = m_frameAtStart;
    // The frame moves with the pointer but never leaves the picture.
    const int w = source->Picture().width(), h = source->Picture().height();
    const int left = std::clamp(start.Left + cell.X - m_dragStart.X, 0, std::max(0, w - start.Width()));
    const int top = std::clamp(start.Top + cell.Y - m_dragStart.Y, 0, std::max(0, h - start.Height()));
    Model().SetNavigatorFrame(TRect { left, top, left + start.Width(), top + start.Height() });
}

void TNavigatorView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    viewport()->setCursor(overFrame(event->position().toPoint()) ? Qt::OpenHandCursor : Qt::ArrowCursor);
    TPatternGrid *source = Source();
    if (!source)
        return;
    // The framed picture cells become the document's visible cells.
    const TRect f = Model().NavigatorFrame();
    const int w = source->Picture().width(), h = source->Picture().height();
    const int cols = source->ColCount(), rows = source->RowCount();
    const TRect cells { gridCell(f.Left, w, cols), gridCell(f.Top, h, rows),
        f.Right >= w ? cols : gridCell(f.Right, w, cols),
        f.Bottom >= h ? rows : gridCell(f.Bottom, h, rows) };
    source->SetVisibleCellRect(cells);
    if (m_child) {
        m_child->GridView()->LayoutChanged();
        m_child->UpdateRulers();
    }
    FollowView();
}

TNavigatorPanel::TNavigatorPanel(QWidget *parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("FramNavigator"));
    // The Window menu's check mark is the one switch: the panel has no close button of
    // its own that could leave the mark wrong.
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_view = new TNavigatorView(this);
    m_view->setMinimumSize(kViewMinimumSize, kViewMinimumSize);
    setWidget(m_view);
}

void TNavigatorPanel::ShowDocument(TMDIChild *child)
{
    m_view->SetSource(child);
}

void TNavigatorPanel::SetCollapsed(bool collapsed)
{
    if (collapsed == m_collapsed)
        return;
    m_collapsed = collapsed;
    if (collapsed) {
        m_heightBefore = m_view->height();
        m_view->setMinimumHeight(CollapsedHeight);
        m_view->setMaximumHeight(CollapsedHeight);
    } else {
        m_view->setMaximumHeight(QWIDGETSIZE_MAX);
        m_view->setMinimumHeight(kViewMinimumSize);
        m_view->resize(m_view->width(), std::max(m_heightBefore, kViewMinimumSize));
    }
}

// The title is the strip above the body: a double click there folds or unfolds the panel
// instead of undocking it.
bool TNavigatorPanel::event(QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->position().y() < m_view->geometry().top()) {
            SetCollapsed(!m_collapsed);
            return true;
        }
    }
    return QDockWidget::event(event);
}
