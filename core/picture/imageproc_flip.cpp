// Mirrors, links and rectangle flips: exchanges and copies of cells within one picture.

#include "core/picture/imageproc_internal.h"

#include "core/base/rowchunks.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace imageproc;

namespace {
// to[n - 1 - i] = from[i] for i below n, eight cells at a time; the two do not overlap.
void copyReversed(const std::uint8_t *__restrict from, std::uint8_t *__restrict to, int n)
{
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t cells;
        std::memcpy(&cells, from + i, sizeof cells);
        cells = __builtin_bswap64(cells);
        std::memcpy(to + n - 8 - i, &cells, sizeof cells);
    }
    for (; i < n; ++i)
        to[n - 1 - i] = from[i];
}

// Reverses [first, last) in place, eight cells from either end at a time.
void reverseCells(std::uint8_t *first, std::uint8_t *last)
{
    while (last - first >= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, first, sizeof head);
        std::memcpy(&tail, last - 8, sizeof tail);
        head = __builtin_bswap64(head);
        tail = __builtin_bswap64(tail);
        std::memcpy(first, &tail, sizeof tail);
        std::memcpy(last - 8, &head, sizeof head);
        first += 8;
        last -= 8;
    }
    std::reverse(first, last);
}
} // namespace

bool MirrorLeftToRight(QImage &Bmp)
{
    if (!IsPicture8(Bmp))
        return false;
    const int w = Bmp.width(), half = w / 2; // an odd width's middle cell stays
    for (int y = 0; y < Bmp.height(); ++y) {
        std::uint8_t *row = Row(Bmp, y);
        copyReversed(row, row + w - half, half);
    }
    return true;
}

bool MirrorRightToLeft(QImage &Bmp)
{
    if (!IsPicture8(Bmp))
        return false;
    const int w = Bmp.width(), half = w / 2; // an odd width's middle cell stays
    for (int y = 0; y < Bmp.height(); ++y) {
        std::uint8_t *row = Row(Bmp, y);
        copyReversed(row + w - half, row, half);
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

void FlipRectLeftRight(QImage &Bmp, const TRect &Box)
{
    TRect b;
    if (!IsPicture8(Bmp) || !ClampBox(Bmp, Box, b))
        return;
    // Rows are independent: a large box goes to several threads, its row addresses taken
    // from one detached picture first.
    std::uint8_t *bits = Bmp.bits();
    const qsizetype stride = Bmp.bytesPerLine();
    RunRowChunks(b.Height(), RowChunkThreads(b.Width(), b.Height()), [&](int first, int end) {
        for (int y = b.Top + first; y < b.Top + end; ++y) {
            std::uint8_t *row = bits + y * stride;
            reverseCells(row + b.Left, row + b.Right);
        }
    });
}

void FlipRectTopBottom(QImage &Bmp, const TRect &Box)
{
    TRect b;
    if (!IsPicture8(Bmp) || !ClampBox(Bmp, Box, b))
        return;
    for (int y = b.Top; y < b.Top + b.Height() / 2; ++y) {
        std::uint8_t *upper = Row(Bmp, y) + b.Left;
        std::uint8_t *lower = Row(Bmp, b.Bottom - 1 - (y - b.Top)) + b.Left;
        std::swap_ranges(upper, upper + b.Width(), lower);
    }
}
