#include "shell/ui/rulerwidget.h"

#include "editor/patterngrid.h"

#include <QPainter>

#include <algorithm>

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

// The numbers a ruler labels: columns from the left from 1, wefts from the bottom from 1
// (from the top when the grid numbers its rows so), as the status bar and the compartment
// lines count them; a label stands at every compartment step (thinned so that labels never
// overlap), its mark on the compartment line that closes the step: right of the column,
// above a weft counted from the bottom. A compartment longer than the pattern steps by the pattern,
// so every pattern has a label.
QList<TRuler::TLabel> TRuler::labels() const
{
    QList<TLabel> out;
    const bool across = m_orientation == Qt::Horizontal;
    const TIDrawGridLayout &layout = m_grid.Grid();
    const int pitch = std::max(
        1, (across ? m_grid.DefaultColWidth() : m_grid.DefaultRowHeight()) + m_grid.GridLineWidth());
    const int first = across ? m_grid.LeftCol() : m_grid.TopRow();
    const int count = across ? m_grid.ColCount() : m_grid.RowCount();
    const int numbered = std::max(1, across ? m_grid.Picture().width() : m_grid.Picture().height());
    const int compart = std::clamp(across ? layout.DefaultColCompart : layout.DefaultRowCompart, 1, numbered);
    const bool reduced = m_grid.ZoomLevel() < TPatternGrid::BaseZoomLevel;
    // Rows count from the bottom unless the grid numbers them from the top.
    const bool ascending = across || layout.StartPos == TStartPos::spLeftTop;
    // Room for a five-digit number: thin the steps to a multiple of the compartment.
    const int room = fontMetrics().horizontalAdvance(QStringLiteral("65535")) + 4;
    const int spacing = across ? room : fontMetrics().height() + 2;
    int step = compart;
    while (qint64(step) * pitch < spacing && step + compart <= numbered)
        step += compart;
    const int length = across ? width() : height();
    int lastNumber = -1;
    for (int cell = first; cell < count && (cell - first) * qint64(pitch) < length; ++cell) {
        const int source
            = reduced ? (across ? m_grid.ReducedSourceCol(cell) : m_grid.ReducedSourceRow(cell)) : cell;
        const int number = ascending ? source + 1 : numbered - source;
        if (number % step != 0 || number == lastNumber)
            continue;
        lastNumber = number;
        const int mark = int((cell - first + (ascending ? 1 : 0)) * pitch) - 1;
        out.append({ number, mark });
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

QList<int> TRuler::VisibleMarks() const
{
    QList<int> marks;
    for (const TLabel &l : labels())
        marks.append(l.Position);
    return marks;
}

void TRuler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::ButtonText));
    const QFontMetrics fm = fontMetrics();
    for (const TLabel &l : labels()) {
        const QString text = QString::number(l.Number);
        // The number stands beside its mark on the side of the cells it counts: left of
        // it across, below it down for wefts counted from the bottom.
        if (m_orientation == Qt::Horizontal) {
            p.drawLine(l.Position, height() - 4, l.Position, height());
            p.drawText(l.Position - fm.horizontalAdvance(text) - 1, fm.ascent() + 1, text);
        } else {
            p.drawLine(width() - 4, l.Position, width(), l.Position);
            const bool below = m_grid.Grid().StartPos != TStartPos::spLeftTop;
            const int y = below ? l.Position + fm.ascent() + 1 : l.Position - fm.descent();
            p.drawText(width() - fm.horizontalAdvance(text) - 5, y, text);
        }
    }
}
