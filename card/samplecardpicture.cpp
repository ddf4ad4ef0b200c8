#include "card/samplecardpicture.h"

#include "core/palette/palette.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace {

// The default palette, read once; empty (nullopt-like flag) when the resource is missing.
struct TDefaultPalette {
    TPalette256 Entries {};
    bool Loaded = false;
};

const TDefaultPalette &DefaultPalette()
{
    static const TDefaultPalette palette = [] {
        TDefaultPalette p;
        p.Loaded = LoadPaletteResource(p.Entries);
        return p;
    }();
    return palette;
}

// A colour value (red in the low byte) as the nearest colour of the default palette.
QColor PaletteColor(TColor value)
{
    const QColor plain = ToQColor(value);
    const TDefaultPalette &pal = DefaultPalette();
    if (!pal.Loaded)
        return plain;
    const TPaletteEntry &e
        = pal.Entries[NearestColorIndex(pal.Entries.data(), 256, plain.red(), plain.green(), plain.blue())];
    return QColor(e.Red, e.Green, e.Blue);
}

QRect ToQRect(const TRect &r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// The grid positions (0-based, left to right or top to bottom as drawn) an axis interval
// of pixels [from, to] meets.
bool AxisRange(int from, int to, int margin, int pitch, int count, int &first, int &last)
{
    const int a = std::max(from - margin, 0);
    const int b = to - margin;
    if (b < 0 || count <= 0 || a >= count * pitch)
        return false;
    first = a / pitch;
    last = std::min(b / pitch, count - 1);
    return first <= last;
}

void DrawCell(QPainter &p, const QRect &r, std::uint8_t code, const TSampleCardColors &c)
{
    const int m = r.width();
    // The circle inside the cell: one pixel in from the outline (an outlined ellipse covers
    // one pixel beyond its rectangle's right and bottom).
    const QRect inner = r.adjusted(1, 1, -2, -2);
    auto fill = [&](const QColor &colour) { p.fillRect(r, colour); };
    auto outline = [&](const QColor &colour) {
        if (m < 3)
            return;
        p.setPen(colour);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    };
    auto cross = [&](const QColor &colour) {
        // From corner to corner inside the outline: pixels 1 to m - 2 of the cell.
        const int a = 1, b = std::max(m - 2, 1);
        p.setPen(colour);
        p.drawLine(r.left() + a, r.top() + a, r.left() + b, r.top() + b);
        p.drawLine(r.left() + a, r.top() + b, r.left() + b, r.top() + a);
    };
    auto circle = [&](const QColor &pen, const QBrush &brush) {
        p.setPen(pen);
        p.setBrush(brush);
        p.drawEllipse(inner);
    };
    switch (code) {
    case Needle::Down:
        fill(c.Needle);
        outline(c.Back);
        p.fillRect(
            QRect(r.left() + m / 2 - m / 6, r.top() + m / 2 - m / 6, std::max(m / 3, 1), std::max(m / 3, 1)),
            c.Dot);
        return;
    case Needle::Up:
    case Needle::Empty:
        fill(c.Needle);
        break;
    case Needle::Jacquard:
        fill(c.Back);
        break;
    case Needle::Jacquard2:
    case Needle::LacingHole:
        fill(c.Hole);
        break;
    case Needle::HealdRod:
        fill(c.Needle);
        cross(c.Hole);
        break;
    case Needle::Selvedge:
        fill(c.Needle);
        circle(c.Hole, c.Hole);
        break;
    case Needle::Shuttle:
        fill(c.Back);
        circle(c.Hole, c.Needle);
        break;
    case Needle::HealdFrame:
        fill(c.Back);
        circle(c.Hole, Qt::NoBrush);
        break;
    case Needle::WasteSelvedge:
        fill(c.Back);
        circle(c.Needle, c.Green);
        break;
    case Needle::WeftDensity:
        fill(c.Green);
        break;
    case 10:
        fill(c.LightGreen);
        break;
    case 11:
        fill(c.Back);
        circle(c.BrightGreen, Qt::NoBrush);
        break;
    case Needle::StopMotion:
        fill(c.Needle);
        cross(c.Green);
        break;
    case 13:
        fill(c.PaleGreen);
        outline(c.Hole);
        return;
    case 14:
        fill(c.PaleBlue);
        outline(c.Hole);
        return;
    default:
        // Marker-column cells, positioning holes (drawn as one circle per block) and codes
        // without a meaning show the background.
        return;
    }
    outline(c.Back);
}

} // namespace

TSampleCardColors SampleCardColors(const TYangkaImage &card)
{
    TSampleCardColors c;
    c.Back = PaletteColor(card.BackColor);
    c.Needle = PaletteColor(card.NeedleColor);
    c.Hole = PaletteColor(card.HoleColor);
    c.Green = PaletteColor(0x008000);
    c.LightGreen = PaletteColor(0x00FF88);
    c.BrightGreen = PaletteColor(0x00FF00);
    c.PaleGreen = PaletteColor(0x88FF88);
    c.PaleBlue = PaletteColor(0xFF8888);
    c.Dot = PaletteColor(0x000000);
    return c;
}

std::vector<TRulerTick> SampleCardRuler(const TYangkaImage &card)
{
    std::vector<TRulerTick> ticks;
    const int step = card.MinRad() >= 6 ? 5 : 10;
    for (int number = 1; number <= card.ColCount(); number = number == 1 ? step : number + step) {
        const TRect r = card.CellRect(number - 1, 0);
        ticks.push_back({ (r.Left + r.Right) / 2, number - 1, QString::number(number) });
    }
    return ticks;
}

QRect PositionHoleRect(const TYangkaImage &card, int col, int row)
{
    if (col < 0 || row < 0 || col + 1 >= card.ColCount() || row + 1 >= card.RowCount())
        return QRect();
    return ToQRect(card.CellRect(col, row)).united(ToQRect(card.CellRect(col + 1, row + 1)));
}

bool CellsInArea(const TYangkaImage &card, const QRect &area, int &col0, int &col1, int &row0, int &row1)
{
    if (area.isEmpty())
        return false;
    const int m = card.MinRad();
    int x0, x1, y0, y1;
    if (!AxisRange(area.left(), area.right(), card.MarginLeft, m, card.ColCount(), x0, x1)
        || !AxisRange(area.top(), area.bottom(), card.MarginTop, m, card.RowCount(), y0, y1))
        return false;
    // Grid positions to cells: a mirrored axis counts from its far end.
    const bool mirrorCols = card.StartFlag() == 1 || card.StartFlag() == 3;
    const bool mirrorRows = card.StartFlag() == 1 || card.StartFlag() == 2;
    col0 = mirrorCols ? card.ColCount() - 1 - x1 : x0;
    col1 = mirrorCols ? card.ColCount() - 1 - x0 : x1;
    row0 = mirrorRows ? card.RowCount() - 1 - y1 : y0;
    row1 = mirrorRows ? card.RowCount() - 1 - y0 : y1;
    return true;
}

QSize SampleCardPictureSize(const TYangkaImage &card)
{
    return QSize(card.MinRad() * card.ColCount() + card.MarginLeft + card.MarginRight,
        card.MinRad() * card.RowCount() + card.MarginTop + card.MarginBottom);
}

QImage DrawSampleCard(const TYangkaImage &card, const QRect &area)
{
    if (area.isEmpty() || qint64(area.width()) * area.height() > MaxSampleCardPixels)
        return QImage();
    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const TSampleCardColors colors = SampleCardColors(card);
    image.fill(colors.Back);
    QPainter p(&image);
    p.translate(-area.topLeft());

    // The cells: the model keeps its columns the size of RowCount, but a writer outside it
    // could break that, so every index is checked before it is read.
    int col0, col1, row0, row1;
    if (CellsInArea(card, area, col0, col1, row0, row1))
        for (int col = col0; col <= col1 && col < card.Cells.length(); ++col) {
            const auto &column = card.Cells[col];
            for (int row = row0; row <= row1 && row < column.length(); ++row)
                DrawCell(p, ToQRect(card.CellRect(col, row)), column[row], colors);
        }

    // One circle per positioning hole, over its 2 x 2 block.
    p.setPen(Qt::NoPen);
    p.setBrush(colors.Hole);
    for (const TPoint &h : card.Holes) {
        const QRect r = PositionHoleRect(card, h.X, h.Y);
        if (r.isEmpty() || !r.intersects(area) || h.X >= card.Cells.length()
            || h.Y >= card.Cells[h.X].length() || card.Cells[h.X][h.Y] != Needle::PositionHole)
            continue;
        p.drawEllipse(r);
    }

    // The column ruler in the top margin.
    if (card.MarginTop > 0 && area.top() < card.MarginTop) {
        QFont font = p.font();
        font.setPixelSize(std::clamp(card.MarginTop - 8, 6, 10));
        p.setFont(font);
        p.setPen(Qt::black);
        const int tickTop = card.MarginTop - 4;
        for (const TRulerTick &t : SampleCardRuler(card)) {
            if (t.X < area.left() - 40 || t.X > area.right() + 40)
                continue;
            p.drawLine(t.X, tickTop, t.X, card.MarginTop - 1);
            const QRect text(t.X - 20, 0, 40, tickTop);
            p.drawText(text, Qt::AlignHCenter | Qt::AlignBottom, t.Label);
        }
    }
    return image;
}

void ClampedCellAtPixel(const TYangkaImage &card, int x, int y, int &col, int &row)
{
    const int m = card.MinRad();
    const int cols = std::max<int>(card.ColCount(), 1), rows = std::max<int>(card.RowCount(), 1);
    const int gx = x < card.MarginLeft ? 0 : std::min((x - card.MarginLeft) / m, cols - 1);
    const int gy = y < card.MarginTop ? 0 : std::min((y - card.MarginTop) / m, rows - 1);
    col = (card.StartFlag() == 1 || card.StartFlag() == 3) ? cols - 1 - gx : gx;
    row = (card.StartFlag() == 1 || card.StartFlag() == 2) ? rows - 1 - gy : gy;
}

QRect CellSpanRect(const TYangkaImage &card, int col0, int row0, int col1, int row1)
{
    return ToQRect(card.CellRect(col0, row0)).united(ToQRect(card.CellRect(col1, row1)));
}
