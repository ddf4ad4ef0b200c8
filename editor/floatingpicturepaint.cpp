// Drawing a floating picture on the grid's view image and stamping it into the pattern.
#include "editor/floatingpicture.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/settings/uitexts.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

// The part of a w x h picture placed at (x, y) that falls on a width x height target:
// columns [x0, x1) and rows [y0, y1) of the target; empty when x0 >= x1 or y0 >= y1.
struct TOverlap {
    int X0 = 0, X1 = 0, Y0 = 0, Y1 = 0;
    bool empty() const { return X0 >= X1 || Y0 >= Y1; }
};

TOverlap overlap(qint64 x, qint64 y, int w, int h, int width, int height)
{
    TOverlap o;
    o.X0 = int(std::clamp<qint64>(x, 0, width));
    o.X1 = int(std::clamp<qint64>(x + w, 0, width));
    o.Y0 = int(std::clamp<qint64>(y, 0, height));
    o.Y1 = int(std::clamp<qint64>(y + h, 0, height));
    return o;
}

// Equal colours in every entry but the key's, whose cells are never stamped.
bool samePalette(const TPalette256 &a, const TPalette256 &b, int keyIndex)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (int(i) != keyIndex
            && (a[i].Red != b[i].Red || a[i].Green != b[i].Green || a[i].Blue != b[i].Blue))
            return false;
    return true;
}

} // namespace

void TBmp::DrawWithFrame()
{
    if (!m_frameCanvas || m_frameCanvas->isNull())
        return;
    QImage &canvas = *m_frameCanvas;
    const qint64 x = Trunc(m_position.X * m_horzScale) + m_viewportOrigin.X;
    const qint64 y = Trunc(m_position.Y * m_vertScale) + m_viewportOrigin.Y;
    const TOverlap o = overlap(x, y, m_image.width(), m_image.height(), canvas.width(), canvas.height());
    if (canvas.depth() == 32 && !m_image.isNull() && !o.empty()) {
        std::array<bool, 256> opaque {};
        opaqueLookup(opaque);
        const QList<QRgb> table = m_image.colorTable();
        // Per entry its colour and a mask of all ones where it is drawn, so that a pixel is
        // chosen without a branch: transparent cells keep what the canvas shows.
        std::array<QRgb, 256> rgb {}, drawn {};
        for (int i = 0; i < 256; ++i) {
            rgb[std::size_t(i)] = i < table.size() ? table[i] | 0xFF000000u : 0xFF000000u;
            drawn[std::size_t(i)] = opaque[std::size_t(i)] ? ~QRgb(0) : QRgb(0);
        }
        uchar *canvasBits = canvas.bits();
        const qsizetype canvasStride = canvas.bytesPerLine();
        for (int cy = o.Y0; cy < o.Y1; ++cy) {
            const std::uint8_t *src = m_image.constScanLine(int(cy - y)) + (o.X0 - x);
            const std::uint8_t *mask
                = m_imageMask.isNull() ? nullptr : m_imageMask.constScanLine(int(cy - y)) + (o.X0 - x);
            auto *dst = reinterpret_cast<QRgb *>(canvasBits + cy * canvasStride) + o.X0;
            const int n = o.X1 - o.X0;
            if (mask) {
                for (int i = 0; i < n; ++i) {
                    const QRgb m = drawn[src[i]] & (mask[i] ? ~QRgb(0) : QRgb(0));
                    dst[i] = (rgb[src[i]] & m) | (dst[i] & ~m);
                }
            } else {
                for (int i = 0; i < n; ++i) {
                    const QRgb m = drawn[src[i]];
                    dst[i] = (rgb[src[i]] & m) | (dst[i] & ~m);
                }
            }
        }
    }
    if (m_active) {
        std::array<TPoint, 9> shown {};
        for (std::size_t i = 0; i < shown.size(); ++i)
            shown[i] = { std::int32_t(Trunc(m_framePoints[i].X * m_horzScale)),
                std::int32_t(Trunc(m_framePoints[i].Y * m_vertScale)) };
        QPainter painter(&canvas);
        painter.translate(m_viewportOrigin.X, m_viewportOrigin.Y);
        if (m_showFrame) {
            DrawDashedOutline(painter, shown.data());
            for (int i = 0; i <= 7; ++i)
                painter.fillRect(shown[std::size_t(i)].X - 1, shown[std::size_t(i)].Y - 1, 3, 3, Qt::black);
        } else {
            DrawClosedSelectionFrame(painter, shown.data());
        }
    }
    m_viewportOrigin = { 0, 0 };
}

bool TBmp::StampOntoPicture(QString *error)
{
    if (!m_pictureCanvas || m_pictureCanvas->format() != QImage::Format_Indexed8 || m_image.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    // The stamp is 1:1 whatever the view shows: a reduced picture is rendered anew.
    QImage image = m_image, mask = m_imageMask;
    if ((m_horzScale != 1.0 || m_vertScale != 1.0) && !renderScaled(1.0, 1.0, image, mask, error))
        return false;
    QImage &picture = *m_pictureCanvas;
    TPalette256 own, target;
    GetBitmapPalette(image, own);
    GetBitmapPalette(picture, target);
    std::array<std::uint8_t, 256> map {};
    const bool same = samePalette(own, target, m_keyIndex);
    for (int i = 0; i < 256; ++i) {
        const TPaletteEntry &e = own[std::size_t(i)];
        map[std::size_t(i)]
            = std::uint8_t(same ? i : NearestColorIndex(target.data(), 256, e.Red, e.Green, e.Blue));
    }
    std::array<bool, 256> opaque {};
    opaqueLookup(opaque);
    const TOverlap o = overlap(
        m_position.X, m_position.Y, image.width(), image.height(), picture.width(), picture.height());
    // Rows are written straight; the common piece, same palette and at most one transparent
    // index (the key), takes a plain compare-and-select loop.
    int single = -1, transparent = 0;
    for (int i = 0; i < 256; ++i)
        if (!opaque[std::size_t(i)]) {
            single = i;
            ++transparent;
        }
    const bool plain = same && transparent <= 1;
    const std::uint8_t key = std::uint8_t(transparent == 1 ? single : 0);
    for (int cy = o.Y0; cy < o.Y1; ++cy) {
        const std::uint8_t *src = image.constScanLine(cy - m_position.Y) + (o.X0 - m_position.X);
        const std::uint8_t *m
            = mask.isNull() ? nullptr : mask.constScanLine(cy - m_position.Y) + (o.X0 - m_position.X);
        std::uint8_t *dst = picture.scanLine(cy) + o.X0;
        const int n = o.X1 - o.X0;
        if (plain && transparent == 0 && !m)
            std::memcpy(dst, src, std::size_t(n));
        else if (plain && !m)
            for (int i = 0; i < n; ++i)
                dst[i] = src[i] == key ? dst[i] : src[i];
        else if (plain && transparent == 1)
            for (int i = 0; i < n; ++i)
                dst[i] = (m[i] != 0 && src[i] != key) ? src[i] : dst[i];
        else
            for (int i = 0; i < n; ++i)
                if ((!m || m[i]) && opaque[src[i]])
                    dst[i] = map[src[i]];
    }
    return true;
}
