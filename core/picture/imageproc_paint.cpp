// Small painting helpers. On 8-bit pictures they write colour indexes directly (QPainter
// cannot draw into them); on other images they paint the colour.

#include "core/picture/imageproc_internal.h"

#include <algorithm>
#include <cstring>

using namespace imageproc;

namespace {

QRgb toRgb(TColor color)
{
    const TPaletteEntry e = ColorToEntry(color);
    return qRgb(e.Red, e.Green, e.Blue);
}

// Fills the cells of r (clipped to the canvas) with color.
void fillCells(QImage &canvas, QRect r, TColor color)
{
    r = r.intersected(canvas.rect());
    if (r.isEmpty())
        return;
    if (canvas.format() == QImage::Format_Indexed8) {
        TPalette256 pal;
        GetBitmapPalette(canvas, pal);
        const std::uint8_t index = std::uint8_t(IndexOfColor(pal, color));
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memset(Row(canvas, y) + r.left(), index, size_t(r.width()));
        return;
    }
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(r, QColor(toRgb(color)));
}

} // namespace

TColor GetPixelColor(const QImage &Bmp, const TPalette256 &Palette, int X, int Y)
{
    if (!IsPicture8(Bmp) || X < 0 || Y < 0 || X >= Bmp.width() || Y >= Bmp.height())
        return -1;
    return PaletteIndexToColor(Palette, Row(Bmp, Y)[X]);
}

void FillRegionWithColor(QImage &Canvas, const QRegion &Rgn, TColor Color)
{
    if (Canvas.isNull())
        return;
    for (const QRect &r : Rgn)
        fillCells(Canvas, r, Color);
}

void CopyListedPixels(QImage &Dest, const QImage &Src, const TILineArray &Points)
{
    if (!IsPicture8(Dest) || !IsPicture8(Src))
        return;
    const int w = std::min(Dest.width(), Src.width()), h = std::min(Dest.height(), Src.height());
    for (const TWordPoint &p : Points)
        if (p.X < w && p.Y < h)
            Row(Dest, p.Y)[p.X] = Row(Src, p.Y)[p.X];
}

namespace {

// The inclusive cell bounds of the frame DrawRectFrame draws for R, brought into the canvas
// or just outside it; false when R is too small to leave a frame.
bool frameBounds(const QImage &canvas, const TRect &R, QRect &frame)
{
    // The rectangle one cell inside R, as inclusive cell bounds.
    long long left = (long long)R.Left + 1, top = (long long)R.Top + 1;
    long long right = (long long)R.Right - 2, bottom = (long long)R.Bottom - 2;
    if (left > right || top > bottom)
        return false;
    // Sides beyond the canvas are brought to just outside it: they are not drawn, and the
    // cells they enclose stay the inside.
    const auto nearCanvas = [](long long v, int size) { return int(std::clamp<long long>(v, -1, size)); };
    const int l = nearCanvas(left, canvas.width()), r = nearCanvas(right, canvas.width());
    const int t = nearCanvas(top, canvas.height()), b = nearCanvas(bottom, canvas.height());
    frame = QRect(QPoint(l, t), QPoint(r, b));
    return true;
}

// Fills the cells of r (clipped to the picture) with index.
void fillIndex(QImage &canvas, QRect r, std::uint8_t index)
{
    r = r.intersected(canvas.rect());
    if (r.isEmpty())
        return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memset(Row(canvas, y) + r.left(), index, size_t(r.width()));
}

} // namespace

void DrawRectFrame(QImage &Canvas, const TRect &R, TColor Color)
{
    QRect f;
    if (Canvas.isNull() || !frameBounds(Canvas, R, f))
        return;
    fillCells(Canvas, f, Color);
    if (f.width() >= 3 && f.height() >= 3)
        fillCells(Canvas, f.adjusted(1, 1, -1, -1), 0x00FFFFFF);
}

void DrawRectFrameWithIndex(QImage &Canvas, const TRect &R, std::uint8_t FrameIndex, std::uint8_t InsideIndex)
{
    QRect f;
    if (!IsPicture8(Canvas) || !frameBounds(Canvas, R, f))
        return;
    fillIndex(Canvas, f, FrameIndex);
    if (f.width() >= 3 && f.height() >= 3)
        fillIndex(Canvas, f.adjusted(1, 1, -1, -1), InsideIndex);
}

void FillRegionWithIndex(QImage &Canvas, const QRegion &Rgn, std::uint8_t Index)
{
    if (!IsPicture8(Canvas))
        return;
    for (const QRect &r : Rgn)
        fillIndex(Canvas, r, Index);
}

void SetListedPixels(QImage &Canvas, std::span<const TPoint> Points, std::uint8_t Index)
{
    if (!IsPicture8(Canvas))
        return;
    const int w = Canvas.width(), h = Canvas.height();
    for (const TPoint &p : Points)
        if (p.X >= 0 && p.Y >= 0 && p.X < w && p.Y < h)
            Row(Canvas, p.Y)[p.X] = Index;
}

void DrawBitmapTransparent(QPainter &DC, int X, int Y, TColor TransparentColor, const QImage &Bmp)
{
    if (Bmp.isNull())
        return;
    QImage shown = Bmp.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = toRgb(TransparentColor) & 0x00FFFFFF;
    if (TransparentColor >= 0)
        for (int y = 0; y < shown.height(); ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(shown.scanLine(y));
            for (int x = 0; x < shown.width(); ++x)
                if ((row[x] & 0x00FFFFFF) == key)
                    row[x] = 0;
        }
    DC.save();
    DC.setCompositionMode(QPainter::CompositionMode_SourceOver);
    DC.drawImage(QPoint(X, Y), shown);
    DC.restore();
}
