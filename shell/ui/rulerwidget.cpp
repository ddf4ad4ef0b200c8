#include "shell/ui/rulerwidget.h"

#include "editor/patterngrid.h"

#include <QPainter>

namespace {
QFont rulerFont()
{
    QFont font;
    // fontconfig picks the first family it has; each of these also draws Chinese.
    font.setFamilies({ QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("AR PL UMing CN"), QStringLiteral("Sans Serif") });
    font.setPointSize(9);
    return font;
}
} // namespace

TRuler::TRuler(Qt::Orientation orientation, TPatternGrid &grid, QWidget *parent)
    : QWidget(parent)
    , m_orientation(orientation)
    , m_grid(grid)
{
    setFont(rulerFont());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    const int thickness = fontMetrics().height() + 4;
    if (orientation == Qt::Horizontal)
        setFixedHeight(thickness);
    else
        setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("65535")) + 6);
}

QList<TRuler::TLabel> TRuler::labels() const
{
    QList<TLabel> out;
    const bool across = m_orientation == Qt::Horizontal;
    const TIDrawGridLayout &layout = m_grid.Grid();
    const int pitch = std::max(
        1, (across ? m_grid.DefaultColWidth() : m_grid.DefaultRowHeight()) + m_grid.GridLineWidth());
    const int first = across ? m_grid.LeftCol() : m_grid.TopRow();
    const int count = across ? m_grid.ColCount() : m_grid.RowCount();
    const int compart = std::max(1, across ? layout.DefaultColCompart : layout.DefaultRowCompart);
    const bool reduced = m_grid.ZoomLevel() < TPatternGrid::BaseZoomLevel;
    // Room for a five-digit number: thin the steps to a multiple of the compartment.
    const int room = fontMetrics().horizontalAdvance(QStringLiteral("65535")) + 4;
    const int spacing = across ? room : fontMetrics().height() + 2;
    int step = compart;
    while (qint64(step) * pitch < spacing && step < 65536)
        step += compart;
    const int length = across ? width() : height();
    int lastNumber = -1;
    for (int cell = first; cell < count && (cell - first) * qint64(pitch) < length; ++cell) {
        const int source
            = reduced ? (across ? m_grid.ReducedSourceCol(cell) : m_grid.ReducedSourceRow(cell)) : cell;
        const int number = source + 1;
        if (number % step != 0 || number == lastNumber)
            continue;
        lastNumber = number;
        // The mark stands at the end of the numbered cell, where its compartment line is.
        out.append({ number, int((cell - first + 1) * pitch) - 1 });
    }
    return out;
}

QList<int> TRuler::VisibleLabels() const
{
    QList<int> numbers;
    for (const TLabel &l : labels())
        numbers.append(l.Number);
    return numbers;
}

void TRuler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::ButtonText));
    const QFontMetrics fm = fontMetrics();
    for (const TLabel &l : labels()) {
        const QString text = QString::number(l.Number);
        // The number ends at its mark (left of it across, above it down).
        if (m_orientation == Qt::Horizontal) {
            p.drawLine(l.Position, height() - 4, l.Position, height());
            p.drawText(l.Position - fm.horizontalAdvance(text) - 1, fm.ascent() + 1, text);
        } else {
            p.drawLine(width() - 4, l.Position, width(), l.Position);
            p.drawText(width() - fm.horizontalAdvance(text) - 5, l.Position - fm.descent(), text);
        }
    }
}
