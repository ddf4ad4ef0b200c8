// Drawing a floating text on the grid's view image and stamping it into the pattern. Both
// go through one mask of the text's cells, so the pattern takes exactly the cells shown.
#include "editor/insertword.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/palette/palette.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// A turn as the font takes it: whole tenths of a degree, clockwise on screen.
double turnDegrees(double angle)
{
    return double(Trunc(angle / Pi * 180.0 * 10.0)) / 10.0;
}

// Calls set(x, y) for every text cell of mask (top-left at (mx, my)) that falls inside
// [left, right) x [top, bottom).
template <class F>
void visitCells(
    const QImage &mask, qint64 mx, qint64 my, qint64 left, qint64 top, qint64 right, qint64 bottom, F set)
{
    const qint64 x0 = std::max(left, mx), x1 = std::min(right, mx + mask.width());
    const qint64 y0 = std::max(top, my), y1 = std::min(bottom, my + mask.height());
    for (qint64 y = y0; y < y1; ++y) {
        const std::uint8_t *row = mask.constScanLine(int(y - my));
        for (qint64 x = x0; x < x1; ++x)
            if (row[x - mx])
                set(int(x), int(y));
    }
}

} // namespace

bool TInsertWord::textMask(double scaleX, double scaleY, QImage &mask, TPoint &offset, QString *error) const
{
    TMaskCache &c = m_cache;
    if (c.Valid && c.Text == m_text && c.Font == m_font && c.TextHeight == m_textHeight
        && c.CharWidth == m_charWidth && c.Spacing == m_charSpacing && c.Angle == m_angle
        && c.ScaleX == scaleX && c.ScaleY == scaleY) {
        mask = c.Mask;
        offset = c.Offset;
        return true;
    }
    const QFont font
        = WordDrawFont(m_font, m_textHeight * scaleY, m_charWidth * scaleX, m_charSpacing * scaleX);
    const QFontMetricsF fm(font);
    const double width = std::max(1.0, fm.horizontalAdvance(m_text));
    const double height = std::max(1.0, fm.height());
    // Room for what a glyph draws outside its advance (slanted and overhanging letters).
    const double pad = std::max(2.0, height / 2);
    const double degrees = turnDegrees(m_angle);
    QTransform turn;
    turn.rotate(degrees);
    const QRect box = turn.mapRect(QRectF(-pad, -pad, width + 2 * pad, height + 2 * pad)).toAlignedRect();
    if (box.width() > 2 * MaxPictureSide || box.height() > 2 * MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::FloatTurnTooLarge).arg(box.width()).arg(box.height()));
    if (!CheckPictureBudget(box.width(), box.height(), 1, error))
        return false;
    QImage image(box.size(), QImage::Format_Grayscale8);
    if (image.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatTurnTooLarge).arg(box.width()).arg(box.height()));
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.translate(-box.x(), -box.y());
        painter.rotate(degrees);
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(QPointF(0, fm.ascent()), m_text);
    }
    // Whatever the rasteriser left between the two extremes counts by its nearer one.
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t *row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            row[x] = row[x] >= 128 ? 1 : 0;
    }
    c.Text = m_text;
    c.Font = m_font;
    c.TextHeight = m_textHeight;
    c.CharWidth = m_charWidth;
    c.Spacing = m_charSpacing;
    c.Angle = m_angle;
    c.ScaleX = scaleX;
    c.ScaleY = scaleY;
    c.Mask = image;
    c.Offset = { box.x(), box.y() };
    c.Valid = true;
    mask = image;
    offset = c.Offset;
    return true;
}

bool TInsertWord::RenderMask(double scaleX, double scaleY, QImage &mask, TPoint &origin, QString *error) const
{
    QImage raw;
    TPoint offset;
    if (!textMask(scaleX, scaleY, raw, offset, error))
        return false;
    const qint64 mx = Trunc(m_position.X * scaleX) + offset.X;
    const qint64 my = Trunc(m_position.Y * scaleY) + offset.Y;
    const TRect clip = rotatedCornerBounds();
    QImage out(raw.size(), QImage::Format_Grayscale8);
    if (out.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatTurnTooLarge).arg(raw.width()).arg(raw.height()));
    out.fill(0);
    visitCells(raw, mx, my, Trunc(clip.Left * scaleX), Trunc(clip.Top * scaleY),
        Trunc(clip.Right * scaleX) + 1, Trunc(clip.Bottom * scaleY) + 1,
        [&](int x, int y) { out.scanLine(int(y - my))[x - mx] = 1; });
    mask = out;
    origin = { std::int32_t(mx), std::int32_t(my) };
    return true;
}

void TInsertWord::Paint()
{
    if (!m_workCanvas || m_workCanvas->isNull() || m_workCanvas->depth() != 32)
        return;
    QImage &canvas = *m_workCanvas;
    QImage mask;
    TPoint offset;
    if (!m_text.isEmpty() && textMask(m_scaleX, m_scaleY, mask, offset, nullptr)) {
        // The text stays inside its frame, on the canvas.
        const qint64 ox = m_previewOrigin.X, oy = m_previewOrigin.Y;
        const TRect clip = rotatedCornerBounds();
        const qint64 left = std::max<qint64>(0, Trunc(clip.Left * m_scaleX) + ox);
        const qint64 top = std::max<qint64>(0, Trunc(clip.Top * m_scaleY) + oy);
        const qint64 right = std::min<qint64>(canvas.width(), Trunc(clip.Right * m_scaleX) + ox + 1);
        const qint64 bottom = std::min<qint64>(canvas.height(), Trunc(clip.Bottom * m_scaleY) + oy + 1);
        const QRgb rgb = ToQColor(m_fontColor).rgb();
        visitCells(mask, Trunc(m_position.X * m_scaleX) + offset.X + ox,
            Trunc(m_position.Y * m_scaleY) + offset.Y + oy, left, top, right, bottom,
            [&](int x, int y) { reinterpret_cast<QRgb *>(canvas.scanLine(y))[x] = rgb; });
    }
    if (!m_active)
        return;
    std::array<TPoint, 9> shown {};
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown[i] = { std::int32_t(Trunc(m_rotated[i].X * m_scaleX)),
            std::int32_t(Trunc(m_rotated[i].Y * m_scaleY)) };
    QPainter painter(&canvas);
    painter.translate(m_previewOrigin.X, m_previewOrigin.Y);
    if (m_showHandles == 1)
        DrawDashedOutline(painter, shown.data());
    else
        DrawClosedSelectionFrame(painter, shown.data());
    if (m_showHandles != 0)
        for (const TPoint &h : shown)
            painter.fillRect(h.X - 1, h.Y - 1, 3, 3, Qt::black);
}

bool TInsertWord::Stamp(QString *error)
{
    if (!m_pictureCanvas || m_pictureCanvas->isNull() || m_pictureCanvas->format() != QImage::Format_Indexed8)
        return Fail(error, GetUiMessage(UiKey::String::WordNoPicture));
    QImage &picture = *m_pictureCanvas;
    int index = m_colorIndex;
    if (index < 0) {
        TPalette256 palette;
        GetBitmapPalette(picture, palette);
        const QColor c = ToQColor(m_fontColor);
        index = NearestColorIndex(palette.data(), 256, c.red(), c.green(), c.blue());
    }
    QImage mask;
    TPoint offset;
    if (m_text.isEmpty())
        return true;
    if (!textMask(1.0, 1.0, mask, offset, error))
        return false;
    const TRect clip = rotatedCornerBounds();
    const qint64 left = std::max<qint64>(0, clip.Left), top = std::max<qint64>(0, clip.Top);
    const qint64 right = std::min<qint64>(picture.width(), qint64(clip.Right) + 1);
    const qint64 bottom = std::min<qint64>(picture.height(), qint64(clip.Bottom) + 1);
    const auto value = std::uint8_t(index);
    visitCells(mask, qint64(m_position.X) + offset.X, qint64(m_position.Y) + offset.Y, left, top, right,
        bottom, [&](int x, int y) { picture.scanLine(y)[x] = value; });
    return true;
}
