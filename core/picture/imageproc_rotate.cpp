// Quarter, half and free-angle rotation of a picture, and the corner helpers of the
// floating objects.

#include "core/base/geometry.h"
#include "core/base/numutils.h"
#include "core/base/rowchunks.h"
#include "core/picture/imageproc_internal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace imageproc;

namespace {
bool near(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance;
}

#if defined(__SSE2__)
// Turns 16 x 16 cells about their diagonal: source row i (16 cells from src + i * srcStep)
// becomes destination row k's 16 cells at dst + k * dstStep, byte i from row i. Four
// rounds of interleaving bytes, pairs, quads and halves of the 16 rows.
constexpr int TurnBlock = 16;
void turnBlock(const std::uint8_t *src, qsizetype srcStep, std::uint8_t *dst, qsizetype dstStep)
{
    __m128i r[16], t[16];
    for (int i = 0; i < 16; ++i)
        r[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i * srcStep));
    // t[2i], t[2i + 1]: rows 2i and 2i + 1 interleaved, columns 0-7 and 8-15.
    for (int i = 0; i < 8; ++i) {
        t[2 * i] = _mm_unpacklo_epi8(r[2 * i], r[2 * i + 1]);
        t[2 * i + 1] = _mm_unpackhi_epi8(r[2 * i], r[2 * i + 1]);
    }
    // r[4i + c]: rows 4i .. 4i + 3, columns 4c .. 4c + 3.
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j) {
            r[4 * i + 2 * j] = _mm_unpacklo_epi16(t[4 * i + j], t[4 * i + 2 + j]);
            r[4 * i + 2 * j + 1] = _mm_unpackhi_epi16(t[4 * i + j], t[4 * i + 2 + j]);
        }
    // t[8i + m]: rows 8i .. 8i + 7, columns 2m and 2m + 1.
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 4; ++j) {
            t[8 * i + 2 * j] = _mm_unpacklo_epi32(r[8 * i + j], r[8 * i + 4 + j]);
            t[8 * i + 2 * j + 1] = _mm_unpackhi_epi32(r[8 * i + j], r[8 * i + 4 + j]);
        }
    for (int m = 0; m < 8; ++m) {
        _mm_storeu_si128(
            reinterpret_cast<__m128i *>(dst + (2 * m) * dstStep), _mm_unpacklo_epi64(t[m], t[8 + m]));
        _mm_storeu_si128(
            reinterpret_cast<__m128i *>(dst + (2 * m + 1) * dstStep), _mm_unpackhi_epi64(t[m], t[8 + m]));
    }
}
#else
static_assert(std::endian::native == std::endian::little, "cells are moved eight at a time as words");

std::uint64_t load8(const std::uint8_t *p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void store8(std::uint8_t *p, std::uint64_t v)
{
    std::memcpy(p, &v, sizeof v);
}

// Turns 8 x 8 cells about their diagonal: source row i becomes byte i of destination row
// k (k = the column). Blocks of 1, 2 and 4 cells change places between word pairs.
constexpr int TurnBlock = 8;
void turnBlock(const std::uint8_t *src, qsizetype srcStep, std::uint8_t *dst, qsizetype dstStep)
{
    std::uint64_t r[8];
    for (int i = 0; i < 8; ++i)
        r[i] = load8(src + i * srcStep);
    const auto exchange = [&r](int i, int j, int shift, std::uint64_t mask) {
        const std::uint64_t t = ((r[i] >> shift) ^ r[j]) & mask;
        r[j] ^= t;
        r[i] ^= t << shift;
    };
    for (int i = 0; i < 8; i += 2)
        exchange(i, i + 1, 8, 0x00FF00FF00FF00FFull);
    for (int i : { 0, 1, 4, 5 })
        exchange(i, i + 2, 16, 0x0000FFFF0000FFFFull);
    for (int i = 0; i < 4; ++i)
        exchange(i, i + 4, 32, 0x00000000FFFFFFFFull);
    for (int k = 0; k < 8; ++k)
        store8(dst + k * dstStep, r[k]);
}
#endif
} // namespace

bool RotatePictureQuarter(QImage &Dest, const QImage &Src, double Angle, QImage *reuse)
{
    if (near(Angle, 180.0, 1e-9)) {
        // The half turn works on Dest alone: the caller passes a copy of the picture in it.
        if (!IsPicture8(Dest))
            return false;
        const TRect whole { 0, 0, Dest.width(), Dest.height() };
        FlipRectTopBottom(Dest, whole);
        FlipRectLeftRight(Dest, whole);
        return true;
    }
    const bool ccw = near(Angle, 90.0, 1e-9);
    if ((!ccw && !near(Angle, -90.0, 1e-9)) || !IsPicture8(Src))
        return false;
    const int w = Src.width(), h = Src.height();
    // Every cell is written below, so the new picture is not filled first: filling would
    // touch all of its memory once more. Only the row padding is cleared.
    QImage out;
    if (reuse && reuse->size() == QSize(h, w) && reuse->format() == QImage::Format_Indexed8
        && reuse->isDetached())
        out = std::exchange(*reuse, QImage());
    else
        out = QImage(h, w, QImage::Format_Indexed8);
    if (out.isNull())
        return false;
    TPalette256 palette;
    GetBitmapPalette(Src, palette);
    SetBitmapPalette(out, palette);
    const qsizetype stride = out.bytesPerLine(), srcStride = Src.bytesPerLine();
    std::uint8_t *base = out.bits();
    const std::uint8_t *src = Src.constBits();
    if (stride > h)
        for (int y = 0; y < w; ++y)
            std::memset(base + qsizetype(y) * stride + h, 0, std::size_t(stride - h));
    // Blocks of B x B cells turned in registers, in tiles of 256 source columns by the
    // source rows of one chunk: a tile's source rows stay in cache while each destination
    // row it writes receives whole cache lines, and the pages a tile touches stay few enough
    // for the address cache. Chunks of source rows write apart and go to several threads;
    // their rows start at multiples of the block's side.
    const int wb = w / TurnBlock * TurnBlock, hb = h / TurnBlock * TurnBlock;
    constexpr int tileCols = 256;
    static_assert(RowChunkRows % TurnBlock == 0);
    RunRowChunks(hb, RowChunkThreads(w, hb), [&](int y0, int y1) {
        for (int xt = 0; xt < wb; xt += tileCols) {
            const int xe = std::min(wb, xt + tileCols);
            for (int x0 = xt; x0 < xe; x0 += TurnBlock)
                for (int y = y0; y < y1; y += TurnBlock) {
                    if (ccw) // Dest (y, W - 1 - x) := Src (x, y)
                        turnBlock(src + qsizetype(y) * srcStride + x0, srcStride,
                            base + qsizetype(w - 1 - x0) * stride + y, -stride);
                    else // Dest (H - 1 - y, x) := Src (x, y): the block's rows taken bottom up
                        turnBlock(src + qsizetype(y + TurnBlock - 1) * srcStride + x0, -srcStride,
                            base + qsizetype(x0) * stride + (h - TurnBlock - y), stride);
                }
        }
    });
    // The cells no whole block covers: the last columns and rows short of a block's side.
    const auto put = [&](int x, int y) {
        if (ccw)
            base[qsizetype(w - 1 - x) * stride + y] = src[qsizetype(y) * srcStride + x];
        else
            base[qsizetype(x) * stride + (h - 1 - y)] = src[qsizetype(y) * srcStride + x];
    };
    for (int y = 0; y < h; ++y)
        for (int x = y < hb ? wb : 0; x < w; ++x)
            put(x, y);
    Dest = out;
    return true;
}

bool RotatePictureByAngle(QImage &Dest, const QImage &Src, TColor BackColor, double Angle)
{
    return RotateAboutCentre(Dest, Src, BackColor, -Angle);
}

bool RotateAboutCentre(QImage &Dest, const QImage &Src, TColor BackColor, double Angle)
{
    if (!IsPicture8(Src) || !std::isfinite(Angle))
        return false;
    constexpr double pi = std::numbers::pi;
    constexpr double tolerance = 0.0001;
    double a = std::fmod(Angle, 2 * pi);
    if (a < 0)
        a += 2 * pi;
    if (near(a, pi / 2, tolerance))
        return RotatePictureQuarter(Dest, Src, 90);
    if (near(a, 3 * pi / 2, tolerance))
        return RotatePictureQuarter(Dest, Src, -90);
    if (near(a, pi, tolerance) || near(a, 0, tolerance) || near(a, 2 * pi, tolerance)) {
        // No turn (or a half turn) keeps every cell: an exact copy, turned in place.
        QImage copy = Src.copy();
        if (copy.isNull())
            return false;
        if (near(a, pi, tolerance))
            RotatePictureQuarter(copy, copy, 180);
        Dest = copy;
        return true;
    }

    // Free angle. A cell (i, j) covers [i, i + 1) x [j, j + 1) and the picture turns about
    // the middle of its outline. Dest is as large as the span of the turned outline corners
    // (rounded), so it holds the whole turned picture. Each Dest cell takes the Src cell
    // under its centre turned back (the nearest cell); cells that land outside Src show
    // BackColor. Turning counter-clockwise as stored (rows grow downwards) matches the
    // quarter turns above, so the result does not jump at the special angles.
    const int w = Src.width(), h = Src.height();
    const double c = std::cos(a), s = std::sin(a);
    const std::int64_t dw = std::max<std::int64_t>(1, Round(w * std::fabs(c) + h * std::fabs(s)));
    const std::int64_t dh = std::max<std::int64_t>(1, Round(w * std::fabs(s) + h * std::fabs(c)));
    if (!ValidSide(dw) || !ValidSide(dh))
        return false;
    QImage out = NewPictureLike(int(dw), int(dh), Src);
    if (out.isNull())
        return false;
    TPalette256 pal;
    GetBitmapPalette(Src, pal);
    const std::uint8_t back = std::uint8_t(IndexOfColor(pal, BackColor));
    const std::uint8_t *srcBase = Src.constBits();
    const qsizetype srcStride = Src.bytesPerLine();

    // Back-mapping a Dest cell centre (p + 0.5 - dw/2, q + 0.5 - dh/2) turns it clockwise by a:
    //   sx = dx c - dy s + w/2,  sy = dx s + dy c + h/2;  source cell = floor of each.
    for (int q = 0; q < int(dh); ++q) {
        std::uint8_t *row = Row(out, q);
        const double dy = q + 0.5 - double(dh) / 2;
        const double sx0 = (0.5 - double(dw) / 2) * c - dy * s + w / 2.0;
        const double sy0 = (0.5 - double(dw) / 2) * s + dy * c + h / 2.0;
        for (int p = 0; p < int(dw); ++p) {
            const double sx = sx0 + p * c, sy = sy0 + p * s;
            const double fx = std::floor(sx), fy = std::floor(sy);
            if (fx >= 0 && fx < w && fy >= 0 && fy < h)
                row[p] = srcBase[qsizetype(fy) * srcStride + qsizetype(fx)];
            else
                row[p] = back;
        }
    }
    Dest = out;
    return true;
}

void RotateRectCorners(const TRect &R, const TPoint &Centre, std::array<TPoint, 4> &Corners, double Angle)
{
    const TPoint corners[4]
        = { { R.Left, R.Top }, { R.Right, R.Top }, { R.Right, R.Bottom }, { R.Left, R.Bottom } };
    const double c = std::cos(Angle), s = std::sin(Angle);
    for (int i = 0; i < 4; ++i)
        RotatePointSinCos(corners[i], Centre, Corners[i], c, s);
}

void GetPointsBounds(const TPoint *Points, int Count, TRect &R)
{
    if (!Points || Count <= 0) {
        R = {};
        return;
    }
    R = { Points[0].X, Points[0].Y, Points[0].X, Points[0].Y };
    for (int i = 1; i < Count; ++i) {
        R.Left = std::min(R.Left, Points[i].X);
        R.Top = std::min(R.Top, Points[i].Y);
        R.Right = std::max(R.Right, Points[i].X);
        R.Bottom = std::max(R.Bottom, Points[i].Y);
    }
}
