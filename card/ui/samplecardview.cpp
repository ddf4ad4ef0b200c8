#include "card/ui/samplecardview.h"

#include "card/samplecardpicture.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {
// The scroll area whose viewport holds the view, if any.
QAbstractScrollArea *enclosingScrollArea(const QWidget *view)
{
    QWidget *viewport = view->parentWidget();
    auto *area = viewport ? qobject_cast<QAbstractScrollArea *>(viewport->parentWidget()) : nullptr;
    return area && area->viewport() == viewport ? area : nullptr;
}

// The pixel on one axis where a view point lies after the cells grew from oldRad to
// newRad pixels: at the same place of the same cell (the nearest cell for a point in a
// margin).
int zoomedAxis(int pos, int margin, int count, int oldRad, int newRad)
{
    const int cell = std::clamp((pos - margin) / std::max(1, oldRad), 0, std::max(0, count - 1));
    return ZoomedPoint(pos, margin + cell * oldRad, oldRad, margin + cell * newRad, newRad);
}
} // namespace

SampleCardView::SampleCardView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

SampleCardView::~SampleCardView() = default;

void SampleCardView::unhook()
{
    if (!m_card)
        return;
    m_card->OnYKChange = m_oldChange;
    m_card->OnStyleChange = m_oldStyleChange;
    m_oldChange = nullptr;
    m_oldStyleChange = nullptr;
}

void SampleCardView::SetCard(TYangkaImage *card)
{
    if (card == m_card)
        return Refresh();
    unhook();
    m_card = card;
    ClearBand();
    if (m_card) {
        m_oldChange = m_card->OnYKChange;
        m_oldStyleChange = m_card->OnStyleChange;
        QPointer<SampleCardView> self(this);
        auto previousChange = m_oldChange;
        auto previousStyle = m_oldStyleChange;
        m_card->OnYKChange = [self, previousChange](int col, int row) {
            if (previousChange)
                previousChange(col, row);
            if (self)
                self->changed(col, row);
        };
        m_card->OnStyleChange = [self, previousStyle] {
            if (previousStyle)
                previousStyle();
            if (self)
                Q_EMIT self->StyleChanged();
        };
    }
    Refresh();
}

void SampleCardView::changed(int col, int row)
{
    Refresh();
    Q_EMIT CardChanged(col, row);
}

void SampleCardView::Refresh()
{
    if (!m_card) {
        m_picture = QImage();
        setFixedSize(0, 0);
        update();
        return;
    }
    if (!m_card->NeedRedraw) {
        m_stale = true;
        return;
    }
    m_stale = false;
    m_card->Resize();
    m_card->RebuildHoleList();
    const QSize size = SampleCardPictureSize(*m_card);
    setFixedSize(size);
    // A card too large to keep whole is drawn piece by piece in paintEvent.
    m_picture = DrawSampleCard(*m_card, QRect(QPoint(), size));
    ++m_redraws;
    update();
}

bool SampleCardView::CellAt(const QPoint &pos, int &col, int &row, bool *inHole) const
{
    return m_card && m_card->CellAtPixel(pos.x(), pos.y(), col, row, inHole);
}

void SampleCardView::SetBand(int col0, int row0, int col1, int row1)
{
    m_hasBand = true;
    m_band[0] = col0;
    m_band[1] = row0;
    m_band[2] = col1;
    m_band[3] = row1;
    update();
}

void SampleCardView::ClearBand()
{
    if (!m_hasBand)
        return;
    m_hasBand = false;
    update();
}

QSize SampleCardView::sizeHint() const
{
    return m_card ? SampleCardPictureSize(*m_card) : QSize(0, 0);
}

void SampleCardView::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    if (!m_card) {
        p.fillRect(event->rect(), palette().window());
        return;
    }
    if (!m_picture.isNull())
        p.drawImage(event->rect().topLeft(), m_picture, event->rect());
    else
        p.drawImage(event->rect().topLeft(), DrawSampleCard(*m_card, event->rect()));
    if (m_hasBand && m_band[0] < m_card->ColCount() && m_band[2] < m_card->ColCount()
        && m_band[1] < m_card->RowCount() && m_band[3] < m_card->RowCount()) {
        // The band in the background colour, xor-ed so that it shows on every cell.
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QColor(0x80, 0x80, 0x00));
        p.setBrush(Qt::NoBrush);
        p.drawRect(CellSpanRect(*m_card, m_band[0], m_band[1], m_band[2], m_band[3]).adjusted(0, 0, -1, -1));
    }
}

void SampleCardView::mousePressEvent(QMouseEvent *event)
{
    int col, row;
    bool inHole = false;
    if (m_pressed != Qt::NoButton || !CellAt(event->position().toPoint(), col, row, &inHole))
        return QWidget::mousePressEvent(event);
    m_pressed = event->button();
    m_lastCol = col;
    m_lastRow = row;
    Q_EMIT CellPressed(col, row, event->button(), inHole);
}

void SampleCardView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed == Qt::NoButton || !m_card)
        return QWidget::mouseMoveEvent(event);
    int col, row;
    ClampedCellAtPixel(*m_card, event->position().toPoint().x(), event->position().toPoint().y(), col, row);
    if (col == m_lastCol && row == m_lastRow)
        return;
    m_lastCol = col;
    m_lastRow = row;
    Q_EMIT CellDragged(col, row);
}

void SampleCardView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != m_pressed || !m_card)
        return QWidget::mouseReleaseEvent(event);
    m_pressed = Qt::NoButton;
    int col, row;
    ClampedCellAtPixel(*m_card, event->position().toPoint().x(), event->position().toPoint().y(), col, row);
    Q_EMIT CellReleased(col, row, event->button());
}

void SampleCardView::wheelEvent(QWheelEvent *event)
{
    QAbstractScrollArea *area = enclosingScrollArea(this);
    if (!m_card || !area)
        return QWidget::wheelEvent(event);
    event->accept();
    const QPoint turn = event->angleDelta();
    const TWheelStep step
        = m_wheel.Take(turn.x(), turn.y(), event->modifiers(), QApplication::wheelScrollLines());
    // A row and a column of cells are MinRad pixels apart.
    const int pitch = m_card->MinRad();
    if (step.Action == TWheelAction::ScrollRows)
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->value() + step.Steps * pitch);
    else if (step.Action == TWheelAction::ScrollCols)
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->value() + step.Steps * pitch);
    else if (step.Action == TWheelAction::Zoom)
        ZoomAt(step.Steps, event->position().toPoint());
}

void SampleCardView::ZoomAt(int steps, const QPoint &pos)
{
    if (!m_card)
        return;
    // Where the pointer is in the scroll area's viewport, before the view moves.
    const QPoint pointer = pos + this->pos();
    const int oldRad = m_card->MinRad();
    m_card->SetMinRad(oldRad + std::clamp(steps, -100, 100));
    const int newRad = m_card->MinRad();
    if (newRad == oldRad)
        return;
    Refresh();
    QAbstractScrollArea *area = enclosingScrollArea(this);
    if (!area)
        return;
    // Where the point that was under the pointer lies on the zoomed card.
    const int x = zoomedAxis(pos.x(), m_card->MarginLeft, m_card->ColCount(), oldRad, newRad);
    const int y = zoomedAxis(pos.y(), m_card->MarginTop, m_card->RowCount(), oldRad, newRad);
    QScrollBar *h = area->horizontalScrollBar();
    QScrollBar *v = area->verticalScrollBar();
    h->setValue(ScrollKeepingPoint(x, pointer.x(), h->maximum()));
    v->setValue(ScrollKeepingPoint(y, pointer.y(), v->maximum()));
}
