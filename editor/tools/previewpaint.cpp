#include "editor/tools/previewpaint.h"

#include "core/base/numutils.h"

#include <algorithm>
#include <cmath>

namespace {

bool isScreenImage(const QImage &img)
{
    return img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32
        || img.format() == QImage::Format_ARGB32_Premultiplied;
}

// Applies f to every pixel of r clipped to the image.
template <class F> void forPixels(QImage &img, const TRect &r, F f)
{
    const int l = std::max(0, r.Left), t = std::max(0, r.Top);
    const int right = std::min(img.width(), r.Right), bottom = std::min(img.height(), r.Bottom);
    for (int y = t; y < bottom; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = l; x < right; ++x)
            row[x] = f(row[x]);
    }
}

// Pen colour combined not-xor with the screen: ~(pen ^ screen), alpha kept.
QRgb notXor(QRgb pen, QRgb screen)
{
    return (screen & 0xFF000000u) | (~(pen ^ screen) & 0x00FFFFFFu);
}

} // namespace

TRect TCellToScreen::CellPixels(TPoint cell) const
{
    const int x0 = int(Round(cell.X * ScaleX)) + Origin.X, y0 = int(Round(cell.Y * ScaleY)) + Origin.Y;
    const int x1 = std::max(x0 + 1, int(Round((cell.X + 1) * ScaleX)) + Origin.X);
    const int y1 = std::max(y0 + 1, int(Round((cell.Y + 1) * ScaleY)) + Origin.Y);
    return { x0, y0, x1, y1 };
}

TRect TCellToScreen::CellsOnImage(int width, int height) const
{
    // A cell lands within one pixel of X / Scale (rounding, and the one pixel every cell
    // gets), so one pixel's worth of cells more on each side keeps every cell that can
    // reach the image. Bounds are held inside int for cells far off the image.
    const auto cellAt = [](double pixel, double scale, double extra) {
        const double s = scale > 0 ? scale : 1.0;
        const double c = pixel / s + extra * (1.0 / s + 1.0);
        return int(std::clamp(std::floor(c), -2147483000.0, 2147483000.0));
    };
    return { cellAt(-Origin.X, ScaleX, -1), cellAt(-Origin.Y, ScaleY, -1),
        cellAt(width - Origin.X, ScaleX, 1), cellAt(height - Origin.Y, ScaleY, 1) };
}

namespace {
// The screen pixels of the cells, each once even where small scales put two cells on one
// pixel: the cells' pixels are gathered into a mask of their own first.
template <class F> void forCellPixels(QImage &screen, const TCellMask &cells, const TCellToScreen &map, F f)
{
    std::vector<TCellSpan> pixels;
    for (const TCellSpan &s : cells.Spans()) {
        const TRect a = map.CellPixels({ s.Left, s.Y }), b = map.CellPixels({ s.Right, s.Y });
        for (int y = a.Top; y < a.Bottom; ++y)
            pixels.push_back({ y, a.Left, b.Right - 1 });
    }
    const TCellMask merged = TCellMask::FromSpans(std::move(pixels));
    for (const TCellSpan &s : merged.Spans())
        forPixels(screen, { s.Left, s.Y, s.Right + 1, s.Y + 1 }, f);
}
} // namespace

void InvertCells(QImage &screen, const TCellMask &cells, const TCellToScreen &map)
{
    if (!isScreenImage(screen))
        return;
    forCellPixels(screen, cells, map, [](QRgb p) { return notXor(0, p); });
}

void PaintCells(QImage &screen, const TCellMask &cells, const TCellToScreen &map, QRgb color)
{
    if (!isScreenImage(screen))
        return;
    forCellPixels(screen, cells, map, [color](QRgb p) { return (p & 0xFF000000u) | (color & 0x00FFFFFFu); });
}

void PaintDottedCells(QImage &screen, const TCellMask &cells, const TCellToScreen &map)
{
    if (!isScreenImage(screen))
        return;
    for (const TCellSpan &s : cells.Spans())
        for (int x = s.Left; x <= s.Right; ++x) {
            const bool white = ((x + s.Y) & 1) != 0;
            forPixels(screen, map.CellPixels({ x, s.Y }),
                [white](QRgb p) { return (p & 0xFF000000u) | (white ? 0x00FFFFFFu : 0u); });
        }
}

void PaintVertexMarker(QImage &screen, TPoint centre)
{
    if (!isScreenImage(screen))
        return;
    const QRgb red = qRgb(255, 0, 0);
    const auto flip = [&](int x, int y) {
        forPixels(screen, { x, y, x + 1, y + 1 }, [red](QRgb p) { return notXor(red, p); });
    };
    // Each stroke stops before the centre, so no pixel is touched twice.
    for (int i = 1; i <= 6; ++i) {
        flip(centre.X, centre.Y - i);
        flip(centre.X + i, centre.Y);
        flip(centre.X, centre.Y + i);
        flip(centre.X - i, centre.Y);
    }
}
