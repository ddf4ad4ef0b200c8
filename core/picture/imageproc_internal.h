#pragma once
// Helpers shared by the picture procedures' sources; not part of their interface.

#include "core/picture/imageproc.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace imageproc {

inline bool IsPicture8(const QImage &img)
{
    return !img.isNull() && img.format() == QImage::Format_Indexed8;
}

inline bool ValidSide(long long n)
{
    return n >= 1 && n <= MaxPictureSide;
}

// A new W x H 8-bit picture, all cells 0, with the colour table of `like` (256 entries).
inline QImage NewPictureLike(int w, int h, const QImage &like)
{
    TPalette256 pal;
    GetBitmapPalette(like, pal);
    return NewPicture(w, h, pal);
}

// The part of Box (right and bottom exclusive) inside the picture; false when nothing of
// it is.
inline bool ClampBox(const QImage &img, const TRect &box, TRect &inside)
{
    inside = { std::max(box.Left, 0), std::max(box.Top, 0), std::min(box.Right, img.width()),
        std::min(box.Bottom, img.height()) };
    return inside.Left < inside.Right && inside.Top < inside.Bottom;
}

inline std::uint8_t *Row(QImage &img, int y)
{
    return img.scanLine(y);
}
inline const std::uint8_t *Row(const QImage &img, int y)
{
    return img.constScanLine(y);
}

// The palette entry that shows a colour: the first entry with equal red, green and blue,
// otherwise the nearest one.
inline int IndexOfColor(const TPalette256 &pal, TColor color)
{
    const TPaletteEntry c = ColorToEntry(color);
    return NearestColorIndex(pal.data(), 256, c.Red, c.Green, c.Blue);
}

// For each index, whether its palette colour equals `color` (red, green and blue).
inline std::array<bool, 256> IndexesShowing(const TPalette256 &pal, TColor color)
{
    const TPaletteEntry c = ColorToEntry(color);
    std::array<bool, 256> out {};
    for (int i = 0; i < 256; ++i)
        out[i] = color >= 0 && pal[i].Red == c.Red && pal[i].Green == c.Green && pal[i].Blue == c.Blue;
    return out;
}

// The eight directions in the repairs' visiting order: right, up-right, up, up-left, left,
// down-left, down, down-right (rows grow downwards).
inline constexpr int DirX[8] = { 1, 1, 0, -1, -1, -1, 0, 1 };
inline constexpr int DirY[8] = { 0, -1, -1, -1, 0, 1, 1, 1 };

// Appends the collected cells to a point list in one resize.
template <class List> void AppendPoints(TLineArray &points, const List &cells)
{
    if (cells.empty())
        return;
    const qsizetype old = points.size();
    points.setLength(old + qsizetype(cells.size()));
    std::copy(cells.begin(), cells.end(), points.begin() + old);
}

} // namespace imageproc
