// Inserting and deleting whole rows or columns.

#include "core/picture/imageproc_internal.h"

#include <cstring>

using namespace imageproc;

bool InsertPictureLines(QImage &Bmp, QImage &Work, int Pos, TColor Value, bool Rows, int Count)
{
    if (!IsPicture8(Bmp) || Count < 1)
        return false;
    const int w = Bmp.width(), h = Bmp.height();
    const int lines = Rows ? h : w;
    if (Pos < 0 || Pos > lines || !ValidSide((long long)lines + Count))
        return false;
    const int nw = Rows ? w : w + Count, nh = Rows ? h + Count : h;
    QImage out = NewPictureLike(nw, nh, Bmp);
    if (out.isNull())
        return false;
    TPalette256 pal;
    GetBitmapPalette(Bmp, pal);
    // Every cell is written once: the old lines copied, the new ones filled.
    const std::uint8_t fill = std::uint8_t(IndexOfColor(pal, Value));
    if (Rows)
        for (int y = Pos; y < Pos + Count; ++y)
            std::memset(Row(out, y), fill, size_t(w));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *src = Row(Bmp, y);
        if (Rows) {
            std::memcpy(Row(out, y < Pos ? y : y + Count), src, size_t(w));
        } else {
            std::uint8_t *dst = Row(out, y);
            std::memcpy(dst, src, size_t(Pos));
            std::memset(dst + Pos, fill, size_t(Count));
            std::memcpy(dst + Pos + Count, src + Pos, size_t(w - Pos));
        }
    }
    Bmp = out;
    // Scratch of the new size; the caller rebuilds its content. It shares the cells until
    // one of the two is written, so no second picture is made here.
    Work = out;
    return true;
}

namespace {
// `img` without lines first..first+count-1.
QImage withoutLines(const QImage &img, int first, bool rows, int count)
{
    const int w = img.width(), h = img.height();
    QImage out = NewPictureLike(rows ? w : w - count, rows ? h - count : h, img);
    if (out.isNull())
        return out;
    for (int y = 0, ty = 0; y < h; ++y) {
        if (rows && y >= first && y < first + count)
            continue;
        const std::uint8_t *src = Row(img, y);
        std::uint8_t *dst = Row(out, ty++);
        if (rows) {
            std::memcpy(dst, src, size_t(w));
        } else {
            std::memcpy(dst, src, size_t(first));
            std::memcpy(dst + first, src + first + count, size_t(w - first - count));
        }
    }
    return out;
}
} // namespace

bool DeletePictureLines(QImage &Bmp, QImage &Work, int Pos, TColor /*Value*/, bool Rows, int Count)
{
    if (!IsPicture8(Bmp) || Count < 1)
        return false;
    const int lines = Rows ? Bmp.height() : Bmp.width();
    // Every removed line must exist, and at least one line must stay. Pos counts from 1;
    // it is checked before the step down to an index so that no Pos can overflow.
    if (Pos < 1 || (long long)Pos - 1 + Count > lines || Count >= lines)
        return false;
    const int first = Pos - 1;
    QImage out = withoutLines(Bmp, first, Rows, Count);
    if (out.isNull())
        return false;
    QImage work
        = IsPicture8(Work) && Work.size() == Bmp.size() ? withoutLines(Work, first, Rows, Count) : out;
    if (work.isNull())
        return false;
    Bmp = out;
    Work = work;
    return true;
}
