#include "weave/ui/weavegrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstring>

namespace {

constexpr QRgb kPoint = qRgb(0, 0, 0);
constexpr QRgb kEmpty = qRgb(255, 255, 255);
constexpr QRgb kGridLine = qRgb(192, 192, 192); // the fixed colour of the grid, silver
constexpr QRgb kEighth = qRgb(0, 128, 0); // every eighth line, green
constexpr QRgb kPadding = qRgb(224, 224, 224);

// What a column or row of pixels shows.
enum : int { kLine = -2, kEighthLine = -3, kOutside = -4, kNone = -1 };

QFont HeaderFont(const QFont &base)
{
    QFont f = base;
    f.setPointSizeF(5);
    return f;
}

} // namespace

TWeaveGrid::TWeaveGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(false);
}

void TWeaveGrid::SetWeave(
    const TWeaveArray *cells, const std::vector<int> *columns, const std::vector<int> *rows)
{
    m_cells = cells;
    m_colMap = columns;
    m_rowMap = rows;
    Refresh();
}

void TWeaveGrid::SetCellSize(int size)
{
    m_cell = std::max(size, 1);
    Refresh();
}

void TWeaveGrid::SetFrames(std::optional<TWeaveRect> block, std::optional<TWeaveRect> dragged)
{
    m_block = block;
    m_dragged = dragged;
    viewport()->update();
}

void TWeaveGrid::Refresh()
{
    const int warps = m_cells ? WeaveWarps(*m_cells) : 0;
    const int wefts = m_cells ? WeaveWefts(*m_cells) : 0;
    m_cols = m_colMap ? int(m_colMap->size()) : warps;
    m_rows = m_rowMap ? int(m_rowMap->size()) : wefts;
    updateScrollBars();
    viewport()->update();
}

int TWeaveGrid::lineWidth() const
{
    return m_cell >= 3 ? 1 : 0;
}

int TWeaveGrid::pitch() const
{
    return m_cell + lineWidth();
}

int TWeaveGrid::headerWidth() const
{
    // Wide enough for five digits, whatever the cell size.
    const QFontMetrics fm(HeaderFont(font()));
    return std::max(m_cell, fm.horizontalAdvance(QStringLiteral("00000")) + 4);
}

int TWeaveGrid::headerHeight() const
{
    const QFontMetrics fm(HeaderFont(font()));
    return std::max(m_cell, fm.height() + 2);
}

int TWeaveGrid::warpOf(int col) const
{
    if (col < 0 || col >= m_cols)
        return kOutside;
    return m_colMap ? (*m_colMap)[std::size_t(col)] : col;
}

int TWeaveGrid::weftOf(int row) const
{
    if (row < 0 || row >= m_rows)
        return kOutside;
    return m_rowMap ? (*m_rowMap)[std::size_t(row)] : row;
}

void TWeaveGrid::updateScrollBars()
{
    const QSize view = viewport()->size();
    const qint64 width = qint64(m_cols) * pitch();
    const qint64 height = qint64(m_rows) * pitch();
    const int cellsWidth = std::max(view.width() - headerWidth(), 0);
    const int cellsHeight = std::max(view.height() - headerHeight(), 0);
    horizontalScrollBar()->setRange(0, int(std::max<qint64>(width - cellsWidth, 0)));
    verticalScrollBar()->setRange(0, int(std::max<qint64>(height - cellsHeight, 0)));
    horizontalScrollBar()->setPageStep(std::max(cellsWidth, 1));
    verticalScrollBar()->setPageStep(std::max(cellsHeight, 1));
    horizontalScrollBar()->setSingleStep(pitch());
    verticalScrollBar()->setSingleStep(pitch());
}

QPoint TWeaveGrid::CellAt(QPoint p) const
{
    const auto line = [this](int pos, int header, int scroll) {
        if (pos < header)
            return 0;
        return int((qint64(pos) - header + scroll) / pitch()) + 1;
    };
    return { line(p.x(), headerWidth(), horizontalScrollBar()->value()),
        line(p.y(), headerHeight(), verticalScrollBar()->value()) };
}

QRect TWeaveGrid::CellRect(int col, int row) const
{
    const int x = col == 0 ? 0 : headerWidth() + (col - 1) * pitch() - horizontalScrollBar()->value();
    const int y = row == 0 ? 0 : headerHeight() + (row - 1) * pitch() - verticalScrollBar()->value();
    return { x, y, col == 0 ? headerWidth() : m_cell, row == 0 ? headerHeight() : m_cell };
}

void TWeaveGrid::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    paint(p, event->rect());
}

QImage TWeaveGrid::Render()
{
    QImage image(viewport()->size(), QImage::Format_RGB32);
    QPainter p(&image);
    paint(p, image.rect());
    return image;
}

void TWeaveGrid::paint(QPainter &p, const QRect &area)
{
    paintCells(p, area);
    paintHeaders(p, area);
    if (m_block)
        paintFrame(p, *m_block, Qt::red);
    if (m_dragged)
        paintFrame(p, *m_dragged, Qt::blue);
}

void TWeaveGrid::paintCells(QPainter &p, const QRect &area)
{
    const int hw = headerWidth(), hh = headerHeight();
    const QRect cellsArea
        = area.intersected(QRect(hw, hh, viewport()->width() - hw, viewport()->height() - hh));
    if (cellsArea.isEmpty())
        return;
    const QRgb background = palette().color(QPalette::Window).rgb();
    const int pt = pitch(), sx = horizontalScrollBar()->value(), sy = verticalScrollBar()->value();
    // What each pixel column of the area shows: a warp, a line or nothing.
    std::vector<int> columns(std::size_t(cellsArea.width()));
    for (int x = 0; x < cellsArea.width(); ++x) {
        const qint64 pos = qint64(cellsArea.left() + x - hw) + sx;
        const int col = int(pos / pt);
        if (col >= m_cols)
            columns[std::size_t(x)] = kOutside;
        else if (pos % pt >= m_cell)
            columns[std::size_t(x)] = (col + 1) % 8 == 0 ? kEighthLine : kLine;
        else
            columns[std::size_t(x)] = warpOf(col);
    }
    QImage image(cellsArea.size(), QImage::Format_RGB32);
    const int width = cellsArea.width();
    int y = 0;
    while (y < cellsArea.height()) {
        const qint64 pos = qint64(cellsArea.top() + y - hh) + sy;
        const int row = int(pos / pt);
        const int within = int(pos % pt);
        // The pixel rows that look alike: the rest of the cell, or the line.
        const int run = row >= m_rows ? cellsArea.height() - y
            : within < m_cell         ? std::min(m_cell - within, cellsArea.height() - y)
                                      : 1;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        if (row >= m_rows) {
            std::fill(line, line + width, background);
        } else if (within >= m_cell) {
            // Every eighth weft counted from the bottom.
            const int below = m_rows - 1 - row;
            const QRgb rowColour = below > 0 && below % 8 == 0 ? kEighth : kGridLine;
            for (int x = 0; x < width; ++x) {
                const int c = columns[std::size_t(x)];
                line[x] = c == kOutside ? background : c == kEighthLine ? kEighth : rowColour;
            }
        } else {
            const int weft = weftOf(row);
            for (int x = 0; x < width; ++x) {
                const int c = columns[std::size_t(x)];
                if (c >= 0)
                    line[x] = weft < 0 ? kPadding : (*m_cells)[c][weft] == 1 ? kPoint : kEmpty;
                else if (c == kNone)
                    line[x] = kPadding;
                else
                    line[x] = c == kOutside ? background : c == kEighthLine ? kEighth : kGridLine;
            }
        }
        for (int k = 1; k < run; ++k)
            std::memcpy(image.scanLine(y + k), line, std::size_t(width) * sizeof(QRgb));
        y += run;
    }
    p.drawImage(cellsArea.topLeft(), image);
}

void TWeaveGrid::paintHeaders(QPainter &p, const QRect &area)
{
    const int hw = headerWidth(), hh = headerHeight(), pt = pitch();
    const QColor face = palette().color(QPalette::Button);
    const QRect top(0, 0, viewport()->width(), hh);
    const QRect left(0, 0, hw, viewport()->height());
    if (!area.intersects(top) && !area.intersects(left))
        return;
    p.save();
    p.fillRect(top.intersected(area), face);
    p.fillRect(left.intersected(area), face);
    p.setPen(QColor(kGridLine));
    p.drawLine(0, hh - 1, viewport()->width(), hh - 1);
    p.drawLine(hw - 1, 0, hw - 1, viewport()->height());
    p.setFont(HeaderFont(font()));
    p.setPen(Qt::black);
    // Numbers on every line when the longest fits a cell, else on every 8th, 16th, ...
    // line, as often as they fit.
    const int warps = m_cells ? WeaveWarps(*m_cells) : 0;
    const int wefts = m_cells ? WeaveWefts(*m_cells) : 0;
    const int digits = p.fontMetrics().horizontalAdvance(QString::number(std::max(warps, 1))) + 2;
    const int textHeight = p.fontMetrics().height();
    const auto stepFor = [pt](int room) {
        if (pt >= room)
            return 1;
        int step = 8;
        while (qint64(step) * pt < room)
            step *= 2;
        return step;
    };
    const int colStep = stepFor(digits);
    const int rowStep = stepFor(textHeight);
    p.setClipRect(QRect(hw, 0, viewport()->width() - hw, hh));
    const int firstCol = horizontalScrollBar()->value() / pt;
    const int lastCol = std::min(m_cols - 1, firstCol + viewport()->width() / std::max(pt, 1) + 1);
    for (int col = firstCol; col <= lastCol; ++col) {
        const int warp = warpOf(col);
        if (warp < 0 || (colStep > 1 && (warp + 1) % colStep != 0))
            continue;
        const QRect r = CellRect(col + 1, 0);
        const QRect text(r.left() + r.width() / 2 - digits / 2, 0, digits, hh);
        p.drawText(text, Qt::AlignCenter, QString::number(warp + 1));
    }
    p.setClipRect(QRect(0, hh, hw, viewport()->height() - hh));
    const int firstRow = verticalScrollBar()->value() / pt;
    const int lastRow = std::min(m_rows - 1, firstRow + viewport()->height() / std::max(pt, 1) + 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int weft = weftOf(row);
        if (weft < 0 || (rowStep > 1 && (wefts - weft) % rowStep != 0))
            continue;
        const QRect r = CellRect(0, row + 1);
        p.drawText(QRect(0, r.top() + r.height() / 2 - textHeight / 2, hw - 2, textHeight),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(wefts - weft));
    }
    p.restore();
}

void TWeaveGrid::paintFrame(QPainter &p, const TWeaveRect &r, const QColor &colour)
{
    // Along the border cells, inside them, 2 pixels wide.
    const QRect first = CellRect(r.LowWarp + 1, r.LowWeft + 1);
    const QRect last = CellRect(r.HighWarp + 1, r.HighWeft + 1);
    QRect frame(first.topLeft(), last.bottomRight());
    p.save();
    p.setClipRect(QRect(headerWidth(), headerHeight(), viewport()->width(), viewport()->height()));
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    p.restore();
}

void TWeaveGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TWeaveGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TWeaveGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint cell = CellAt(event->position().toPoint());
    m_pressed = event->button() == Qt::LeftButton;
    Q_EMIT CellPressed(cell.x(), cell.y(), event->button());
}

void TWeaveGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const QPoint cell = CellAt(event->position().toPoint());
    Q_EMIT CellMoved(cell.x(), cell.y(), event->modifiers());
}

void TWeaveGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const QPoint cell = CellAt(event->position().toPoint());
    Q_EMIT CellReleased(cell.x(), cell.y(), event->modifiers());
}
