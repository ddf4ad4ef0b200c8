#include "editor/ui/patterngridview.h"

#include <QPainter>
#include <QResizeEvent>

TPatternGridView::TPatternGridView(std::unique_ptr<TPatternGrid> model, QWidget *parent)
    : TIDrawGrid(parent, &model->Grid())
    , m_model(std::move(model))
{
    setObjectName(QStringLiteral("PatternGrid"));
    // The pattern follows the thumb while it is dragged, however long the pattern.
    Layout().Options.ThumbTracking = true;
    m_model->SetViewport(this);
    m_model->SetClientSize(viewport()->width(), viewport()->height());
}

TPatternGridView::TPatternGridView(QWidget *parent)
    : TPatternGridView(std::make_unique<TPatternGrid>(), parent)
{
}

TPatternGridView::~TPatternGridView()
{
    m_model->SetViewport(nullptr);
}

TPoint TPatternGridView::CellAt(const QPoint &pos) const
{
    TPoint cell;
    MouseToCell(pos.x(), pos.y(), cell.X, cell.Y);
    return cell;
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
}

void TPatternGridView::Repaint()
{
    viewport()->update();
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
}

void TPatternGridView::resizeEvent(QResizeEvent *event)
{
    TIDrawGrid::resizeEvent(event);
    m_model->SetClientSize(viewport()->width(), viewport()->height());
    UpdateScrollRange();
}
