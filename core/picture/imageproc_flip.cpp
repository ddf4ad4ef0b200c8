// Mirrors, links and rectangle flips: exchanges and copies of cells within one picture.

#include "core/picture/imageproc_internal.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace imageproc;

bool MirrorLeftToRight(QImage &Bmp)
{
    if (!IsPicture8(Bmp))
        return false;
    const int w = Bmp.width();
    for (int y = 0; y < Bmp.height(); ++y) {
        std::uint8_t *row = Row(Bmp, y);
        for (int x = 0; x <= (w - 1) / 2; ++x)
            row[w - 1 - x] = row[x];
    }
    return true;
}

bool MirrorRightToLeft(QImage &Bmp)
{
    if (!IsPicture8(Bmp))
        return false;
    const int w = Bmp.width();
    for (int y = 0; y < Bmp.height(); ++y) {
        std::uint8_t *row = Row(Bmp, y);
        for (int x = 0; x <= (w - 1) / 2; ++x)
            row[x] = row[w - 1 - x];
    }
    return true;
}

bool MirrorTopToBottom(QImage &Bmp)
{
    if (!IsPicture8(Bmp))
        return false;
    const int h = Bmp.height(), w = Bmp.width();
    for (int y = 0; y <= (h - 1) / 2; ++y)
        if (h - 1 - y != y)
            std::memcpy(Row(Bmp, h - 1 - y), Row(Bmp, y), size_t(w));
    return true;
}

bool MirrorBottomToTop(QImage &Bmp)
{
    if (!IsPicture8(Bmp))
        return false;
    const int h = Bmp.height(), w = Bmp.width();
    for (int y = 0; y <= (h - 1) / 2; ++y)
        if (h - 1 - y != y)
            std::memcpy(Row(Bmp, y), Row(Bmp, h - 1 - y), size_t(w));
    return true;
}

bool LinkPictureLeftRight(QImage &Bmp)
{
    if (!IsPicture8(Bmp))
        return false;
    const int w = Bmp.width();
    const int other = (w - 1) / 2 + 1; // first column of the right half
    for (int y = 0; y < Bmp.height(); ++y) {
        std::uint8_t *row = Row(Bmp, y);
        for (int x = 0; x < w / 2; ++x)
            std::swap(row[x], row[other + x]);
    }
    return true;
}

bool LinkPictureTopBottom(QImage &Bmp)
{
    if (!IsPicture8(Bmp))
        return false;
    const int h = Bmp.height(), w = Bmp.width();
    if (h == 1)
        return true;
    std::vector<std::uint8_t> buffer(static_cast<size_t>(w));
    for (int y = 0; y < h / 2; ++y) {
        const int partner = std::min(h - 1, (h - 1) / 2 + 1 + y);
        std::memcpy(buffer.data(), Row(Bmp, y), size_t(w));
        std::memcpy(Row(Bmp, y), Row(Bmp, partner), size_t(w));
        std::memcpy(Row(Bmp, partner), buffer.data(), size_t(w));
    }
    return true;
}

// Clamps an inclusive box to the picture; false when nothing of it remains.
static bool clampBox(const QImage &bmp, int &left, int &right, int &top, int &bottom)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, bmp.width() - 1);
    bottom = std::min(bottom, bmp.height() - 1);
    return left <= right && top <= bottom;
}

void FlipRectLeftRight(int Left, int Right, QImage &Bmp, int Bottom, int Top)
{
    if (!IsPicture8(Bmp) || !clampBox(Bmp, Left, Right, Top, Bottom))
        return;
    for (int y = Top; y <= Bottom; ++y) {
        std::uint8_t *row = Row(Bmp, y);
        std::reverse(row + Left, row + Right + 1);
    }
}

void FlipRectTopBottom(QImage &Bmp, int Top, int Bottom, int Right, int Left)
{
    if (!IsPicture8(Bmp) || !clampBox(Bmp, Left, Right, Top, Bottom))
        return;
    for (int y = Top; y < Top + (Bottom - Top + 1) / 2; ++y) {
        std::uint8_t *a = Row(Bmp, y) + Left;
        std::uint8_t *b = Row(Bmp, Bottom - y + Top) + Left;
        std::swap_ranges(a, a + (Right - Left + 1), b);
    }
}
