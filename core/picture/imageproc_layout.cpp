// The jump-start layout, splitting a picture into interleaved pieces and weaving pieces
// back together.

#include "core/picture/imageproc_internal.h"

#include "core/base/rowchunks.h"

#include <cstring>

using namespace imageproc;

bool JumpStartPicture(QImage &Dest, const QImage &Src)
{
    if (!IsPicture8(Src))
        return false;
    const int w = Src.width(), h = Src.height();
    const int hw = w / 2, hw2 = w - hw, hh = h / 2, hh2 = h - hh;
    QImage out = NewPictureLike(w, h, IsPicture8(Dest) ? Dest : Src);
    if (out.isNull())
        return false;
    // The lower half of Src goes on top, whole.
    for (int y = 0; y < hh2; ++y)
        std::memcpy(Row(out, y), Row(Src, hh + y), size_t(w));
    // The upper half goes below it with its left and right halves exchanged.
    for (int y = 0; y < hh; ++y) {
        const std::uint8_t *src = Row(Src, y);
        std::uint8_t *dst = Row(out, hh2 + y);
        std::memcpy(dst, src + hw, size_t(hw2));
        std::memcpy(dst + hw2, src, size_t(hw));
    }
    Dest = out;
    return true;
}

bool SplitPicture(TBmpArray &Pieces, int Count, const QImage &Src)
{
    if (!IsPicture8(Src) || Count < 1)
        return false;
    const int w = Src.width(), h = Src.height();
    const int pieceWidth = (w - 1) / Count + 1;
    TBmpArray pieces(static_cast<size_t>(Count));
    for (QImage &piece : pieces) {
        piece = NewPictureLike(pieceWidth, h, Src);
        if (piece.isNull())
            return false;
    }
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *src = Row(Src, y);
        for (int i = 0; i < Count && i < w; ++i) {
            std::uint8_t *dst = Row(pieces[size_t(i)], y);
            for (int x = i, c = 0; x < w; x += Count, ++c)
                dst[c] = src[x];
        }
    }
    Pieces = std::move(pieces);
    return true;
}

bool CopyPicturePart(QImage &Dest, const QImage &Src, const TPalette256 &Palette, int Count, int Gap,
    int PieceWidth, int Height)
{
    if (!IsPicture8(Src) || Count < 1 || PieceWidth < 1 || !ValidSide((long long)Count * PieceWidth)
        || !ValidSide(Height))
        return false;
    const int dw = Count * PieceWidth;
    QImage out = NewPicture(dw, Height, Palette);
    if (out.isNull())
        return false;
    for (int y = 0; y < Height && y < Src.height(); ++y) {
        const std::uint8_t *src = Row(Src, y);
        std::uint8_t *dst = Row(out, y);
        for (int x = 0; x < dw; ++x) {
            const long long sx = (long long)(x % Count) * ((long long)PieceWidth + Gap) + x / Count;
            if (sx >= 0 && sx < Src.width())
                dst[x] = src[sx];
        }
    }
    Dest = out;
    return true;
}

bool InterleavePictureColumns(
    QImage &Dest, const QList<QImage> &Pictures, const TPalette256 &Palette, std::span<const TIndexMap> Maps)
{
    const qsizetype count = Pictures.size();
    if (count < 1 || (!Maps.empty() && qsizetype(Maps.size()) != count))
        return false;
    const int w = Pictures.front().width(), h = Pictures.front().height();
    for (const QImage &p : Pictures)
        if (!IsPicture8(p) || p.width() != w || p.height() != h)
            return false;
    if (!ValidSide((long long)count * w) || !ValidSide(h))
        return false;
    QImage out = NewPicture(int(count * w), h, Palette);
    if (out.isNull())
        return false;
    const int n = int(count);
    // Rows are independent and go to several threads, their addresses taken from the
    // result's cells first.
    std::uint8_t *bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    RunRowChunks(h, RowChunkThreads(qint64(count) * w, h), [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            std::uint8_t *dst = bits + y * stride;
            for (int i = 0; i < n; ++i) {
                const std::uint8_t *src = Pictures[i].constScanLine(y);
                std::uint8_t *to = dst + i;
                if (Maps.empty()) {
                    for (int c = 0; c < w; ++c)
                        to[std::size_t(c) * n] = src[c];
                } else {
                    const TIndexMap map = Maps[std::size_t(i)];
                    for (int c = 0; c < w; ++c)
                        to[std::size_t(c) * n] = map[src[c]];
                }
            }
        }
    });
    Dest = out;
    return true;
}
