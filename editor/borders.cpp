#include "editor/borders.h"

#include "core/base/progress.h"
#include "editor/patterngrid.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {
bool usable(const QImage &ref, const QImage &picture)
{
    return !ref.isNull() && ref.format() == QImage::Format_Indexed8
        && picture.format() == QImage::Format_Indexed8 && ref.size() == picture.size();
}

// A side's length as the scan uses it: 0 when the side is off, at most the picture's extent
// along the walk (no walk can go further).
int reach(bool on, std::int32_t length, int extent)
{
    return on && length > 0 ? std::min<std::int32_t>(length, extent) : 0;
}

// A walk of length n painting cell x means: the nearest F on the side it comes from is at
// most n cells away, which is the same as some F lying within those n cells. The row
// buffers hold 0xff for F, padded with a row's width of zeros on either side, and are
// widened by doubling (an OR with a shifted copy), so every pass is a plain loop the
// compiler turns into vector code.
class TRowWindows {
public:
    explicit TRowWindows(int width)
        : m_width(width)
        , m_a(std::size_t(3 * width), 0)
        , m_b(std::size_t(3 * width), 0)
    {
    }

    // The cells whose nearest F towards -dir (dir = +1: to their left) lies within n
    // cells, as 0xff in the row's own indices; n is 1..width.
    const uchar *within(const uchar *isF, int n, int dir)
    {
        // Widened to include x itself, then read one cell back towards -dir.
        uchar *a = m_a.data() + m_width, *b = m_b.data() + m_width;
        std::copy(isF, isF + m_width, a);
        int p = 1;
        for (; 2 * p <= n; p *= 2) {
            shiftOr(a, b, p * dir);
            std::swap(a, b);
        }
        if (n > p) {
            shiftOr(a, b, (n - p) * dir);
            std::swap(a, b);
        }
        return a - dir;
    }

private:
    // to[x] = from[x] | from[x - shift] over the row; the pads stay zero.
    void shiftOr(const uchar *__restrict from, uchar *__restrict to, int shift) const
    {
        for (int x = 0; x < m_width; ++x)
            to[x] = from[x] | from[x - shift];
    }

    int m_width;
    std::vector<uchar> m_a, m_b;
};
} // namespace

namespace {
struct TReach {
    int Right, Left, Bottom, Top;
};

// Adds one row to per-column counts of the rows since the last F (0 on a row of F; a row
// past the picture's edge, row == nullptr, holds no F). Counts stop at the type's top,
// which stands for "no F near".
template <typename T> void countRow(T *__restrict since, const uchar *__restrict row, uchar f, int w)
{
    constexpr T Far = std::numeric_limits<T>::max();
    if (row)
        for (int x = 0; x < w; ++x)
            since[x] = row[x] == f ? T(0) : T(since[x] + T(since[x] != Far));
    else
        for (int x = 0; x < w; ++x)
            since[x] = T(since[x] + T(since[x] != Far));
}

// The scan itself, with the per-column counts in T, which must hold every length used.
// above: rows since the last F above the current row (its walks go down); ahead: rows
// since the last F as of `top` rows below (an F within them starts a walk up to here).
template <typename T>
int scanRows(const QImage &ref, QImage &picture, const TReach &r, const TBordureColors &colors)
{
    const int w = ref.width(), h = ref.height();
    const uchar f = colors.Foreground, b = colors.Background, c = colors.Border;
    constexpr T Far = std::numeric_limits<T>::max();
    std::vector<T> above(static_cast<std::size_t>(w), Far), ahead(static_cast<std::size_t>(w), Far);
    std::vector<uchar> isF(static_cast<std::size_t>(w)), none(static_cast<std::size_t>(w), 0);
    TRowWindows leftWindows(w), rightWindows(w); // each answer lives in its own buffers
    for (int y = 0; y < std::min(r.Top, h); ++y)
        countRow(ahead.data(), ref.constScanLine(y), f, w);
    const T down = T(r.Bottom), up = T(r.Top);
    int changed = 0;
    ShowProgressGauge();
    TProgressSteps progress(std::max(1, h - 1));
    for (int y = 0; y < h; ++y) {
        if (r.Top > 0)
            countRow(ahead.data(), y + r.Top < h ? ref.constScanLine(y + r.Top) : nullptr, f, w);
        const uchar *__restrict row = ref.constScanLine(y);
        for (int x = 0; x < w; ++x)
            isF[std::size_t(x)] = row[x] == f ? 0xff : 0;
        const uchar *__restrict fromLeft
            = r.Right > 0 ? leftWindows.within(isF.data(), r.Right, 1) : none.data();
        const uchar *__restrict fromRight
            = r.Left > 0 ? rightWindows.within(isF.data(), r.Left, -1) : none.data();
        uchar *__restrict out = picture.scanLine(y);
        T *__restrict since = above.data();
        const T *__restrict sinceAhead = ahead.data();
        // Only B cells that are not F take the border; a cell already C is not a change.
        int rowChanged = 0;
        for (int x = 0; x < w; ++x) {
            // Plain bitwise tests, with no early exit, so the loop runs as vector code.
            const uchar near
                = uchar(fromLeft[x] | fromRight[x] | -uchar(since[x] < down) | -uchar(sinceAhead[x] < up));
            const uchar on = near & -uchar(row[x] == b) & -uchar(row[x] != f);
            rowChanged += on & uchar(out[x] != c);
            out[x] = uchar((on & c) | (~on & out[x]));
        }
        countRow(since, row, f, w);
        changed += rowChanged;
        progress.step(y);
    }
    progress.finish();
    return changed;
}
} // namespace

int ApplyBordure(
    const QImage &ref, QImage &picture, const TBordureOption &option, const TBordureColors &colors)
{
    if (!usable(ref, picture))
        return 0;
    const int w = ref.width(), h = ref.height();
    const TReach r { reach(option.RightBordure, option.RightLength, w),
        reach(option.LeftBordure, option.LeftLength, w), reach(option.BottomBordure, option.BottomLength, h),
        reach(option.TopBordure, option.TopLength, h) };
    // Byte counts, the common case, vectorise best; longer walks downwards or upwards need
    // wider ones (a count at the type's top means "no F near", so it must exceed both lengths).
    if (std::max(r.Bottom, r.Top) < std::numeric_limits<std::uint8_t>::max())
        return scanRows<std::uint8_t>(ref, picture, r, colors);
    return scanRows<std::uint32_t>(ref, picture, r, colors);
}

void ApplyBordureToGrid(TPatternGrid &grid, const TBordureOption &option, const TBordureColors &colors)
{
    QImage &picture = grid.Picture();
    if (picture.isNull())
        return;
    // A grid that never recorded a change has no reference copy yet: the picture as it
    // stands is the one the walks read.
    const QImage ref = grid.RefBitmap().size() == picture.size() ? grid.RefBitmap() : picture.copy();
    if (ApplyBordure(ref, picture, option, colors) == 0)
        return;
    grid.NotifyRefreshView(1);
    grid.RecordPictureRectStep();
    grid.RebuildReducedView();
    grid.Repaint();
}
