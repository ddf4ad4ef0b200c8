// Resampling, cyclic shifts of the whole picture and of a box.

#include "core/picture/imageproc_internal.h"

#include "core/base/rowchunks.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace imageproc;

namespace {

// Source line of every destination line when n source lines are stretched onto m: the
// line under the destination line's centre, (2i + 1) n / 2m, where a centre exactly on a
// boundary goes to the line before it. Equal sizes map every line to itself, whole-number
// enlargements repeat every line equally often, and whole-number reductions keep the
// middle line of each group (the first of each pair when halving).
std::vector<int> stretchMap(int n, int m)
{
    std::vector<int> map(static_cast<size_t>(m));
    for (int i = 0; i < m; ++i)
        map[size_t(i)] = ResampleSourceLine(i, n, m);
    return map;
}

} // namespace

int ResampleSourceLine(int Index, int SrcCount, int DstCount)
{
    return int(((2LL * Index + 1) * SrcCount - 1) / (2LL * DstCount));
}

bool ResamplePicture(
    QImage &Dest, const QImage &Src, int NewWidth, int NewHeight, const TPalette256 &Palette, bool Stretch)
{
    if (!IsPicture8(Src) || !ValidSide(NewWidth) || !ValidSide(NewHeight))
        return false;
    // A stretch writes every cell, so its picture is not filled first: the threads touch its
    // memory once, and only the row padding is cleared.
    QImage out = Stretch ? QImage(NewWidth, NewHeight, QImage::Format_Indexed8)
                         : NewPicture(NewWidth, NewHeight, Palette);
    if (out.isNull())
        return false;
    if (Stretch)
        SetBitmapPalette(out, Palette);
    const int w = Src.width(), h = Src.height();
    if (!Stretch) {
        const int cw = std::min(w, NewWidth);
        for (int y = 0; y < std::min(h, NewHeight); ++y)
            std::memcpy(Row(out, y), Row(Src, y), size_t(cw));
    } else {
        const std::vector<int> cols = stretchMap(w, NewWidth);
        const std::vector<int> rows = stretchMap(h, NewHeight);
        // Row addresses are taken before the threads start, so that none touches the
        // pictures' sharing. A row that repeats the one above is copied from it, within a
        // chunk (the first row of a chunk is always made).
        std::uint8_t *outBits = out.bits();
        const qsizetype outStride = out.bytesPerLine();
        const std::uint8_t *srcBits = Src.constBits();
        const qsizetype srcStride = Src.bytesPerLine();
        RunRowChunks(NewHeight, RowChunkThreads(NewWidth, NewHeight), [&](int first, int end) {
            for (int y = first; y < end; ++y) {
                std::uint8_t *dst = outBits + y * outStride;
                std::memset(dst + NewWidth, 0, size_t(outStride - NewWidth));
                if (y > first && rows[size_t(y)] == rows[size_t(y) - 1]) {
                    std::memcpy(dst, dst - outStride, size_t(NewWidth));
                    continue;
                }
                const std::uint8_t *src = srcBits + rows[size_t(y)] * srcStride;
                for (int x = 0; x < NewWidth; ++x)
                    dst[x] = src[cols[size_t(x)]];
            }
        });
    }
    Dest = out;
    return true;
}

bool CopyBitmapIfSameSize(QImage &Dest, const QImage &Src)
{
    if (!IsPicture8(Dest) || !IsPicture8(Src) || Dest.size() != Src.size())
        return false;
    if (&Dest == &Src)
        return true;
    for (int y = 0; y < Src.height(); ++y)
        std::memcpy(Row(Dest, y), Row(Src, y), size_t(Src.width()));
    return true;
}

bool ShiftPictureRows(QImage &Dest, const QImage &Src, int N)
{
    if (!IsPicture8(Src) || N <= 0 || N > Src.height() - 1)
        return false;
    const int h = Src.height(), w = Src.width();
    QImage out = NewPictureLike(w, h, Src);
    if (out.isNull())
        return false;
    for (int y = 0; y < h; ++y)
        std::memcpy(Row(out, y), Row(Src, (y + N) % h), size_t(w));
    Dest = out;
    return true;
}

bool ShiftPictureColumns(QImage &Dest, const QImage &Src, int N)
{
    if (!IsPicture8(Src) || N <= 0 || N > Src.width() - 1)
        return false;
    const int h = Src.height(), w = Src.width();
    QImage out = NewPictureLike(w, h, Src);
    if (out.isNull())
        return false;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *src = Row(Src, y);
        std::uint8_t *dst = Row(out, y);
        std::memcpy(dst, src + N, size_t(w - N));
        std::memcpy(dst + (w - N), src, size_t(N));
    }
    Dest = out;
    return true;
}

void MoveRegionPixels(QImage &Bmp, const TRect &Box, int Code)
{
    TRect b;
    if (!IsPicture8(Bmp) || !ClampBox(Bmp, Box, b))
        return;
    const int top = b.Top, bottom = b.Bottom - 1; // the box's first and last row
    const size_t span = size_t(b.Width());
    if (Code == 1 || Code == -1) {
        // Rows of the box move one row down (1) or up (-1), cyclically.
        std::vector<std::uint8_t> kept(span);
        if (Code == 1) {
            std::memcpy(kept.data(), Row(Bmp, bottom) + b.Left, span);
            for (int y = bottom; y > top; --y)
                std::memcpy(Row(Bmp, y) + b.Left, Row(Bmp, y - 1) + b.Left, span);
            std::memcpy(Row(Bmp, top) + b.Left, kept.data(), span);
        } else {
            std::memcpy(kept.data(), Row(Bmp, top) + b.Left, span);
            for (int y = top; y < bottom; ++y)
                std::memcpy(Row(Bmp, y) + b.Left, Row(Bmp, y + 1) + b.Left, span);
            std::memcpy(Row(Bmp, bottom) + b.Left, kept.data(), span);
        }
        return;
    }
    // Columns: every row of the box but its first, which stays (the caller passes the box one
    // row higher).
    for (int y = top + 1; y <= bottom; ++y) {
        std::uint8_t *row = Row(Bmp, y) + b.Left;
        if (Code == 2)
            std::rotate(row, row + 1, row + span); // one left, the left cell comes back at the right
        else
            std::rotate(row, row + span - 1, row + span); // one right
    }
}
