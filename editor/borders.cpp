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
// The short walks of the common case run in one pass per row. The sideways test reads the
// row at each offset up to the longest sideways walk (a side shorter than that, or off,
// repeats its last offset, or reads the cell itself, which F cells never need), and the
// per-column counts of the rows above and below are brought up to date in the same loop.
// Those counts run the other way than the general scan's: the rows a walk from an F above
// (or below) still reaches, set to the walk's length on a row of F and counted down to 0,
// so that a cell is reached when either count is not 0. The caller has made sure that B
// is not F.
constexpr int MaxFusedReach = 8;

struct TFusedRow {
    const uchar *Padded; // the first cell, with MaxFusedReach cells readable on either side
    const uchar *AheadRow; // the row `Top` rows below (or a row of non-F past the edge)
    uchar *Out;
    std::uint8_t *Since;
    std::uint8_t *Ahead;
    int Width;
    int Right, Left;
    std::uint8_t Down, Up;
    TBordureColors Colors;
};

// A row's per-column count of the rows a walk down (or up) still reaches one row on.
[[gnu::always_inline]] inline std::uint8_t countDown(std::uint8_t rows)
{
    return std::uint8_t(std::max<std::uint8_t>(rows, 1) - 1);
}

// Every pointer a parameter of its own, so that the compiler may take them as not
// overlapping and run the loop as vector code without run-time checks. Returns the number
// of cells changed, summed in Sum.
template <int N, typename Sum>
[[gnu::always_inline]] inline Sum fusedCells(const uchar *__restrict row, const uchar *__restrict aheadRow,
    uchar *__restrict out, std::uint8_t *__restrict since, std::uint8_t *__restrict ahead, const int n,
    const int (&back)[N], const int (&forth)[N], const std::uint8_t down, const std::uint8_t up,
    const TBordureColors k)
{
    const uchar f = k.Foreground, b = k.Background, c = k.Border;
    Sum changed = 0;
    for (int x = 0; x < n; ++x) {
        const uchar cell = row[x];
        uchar near = 0;
        for (int i = 0; i < N; ++i)
            near |= uchar(-uchar(row[x - back[i]] == f) | -uchar(row[x + forth[i]] == f));
        const std::uint8_t s = since[x];
        const std::uint8_t now = std::max(countDown(ahead[x]), std::uint8_t(-uchar(aheadRow[x] == f) & up));
        ahead[x] = now;
        near |= uchar(-uchar((s | now) != 0));
        // Plain bitwise tests, with no early exit, so the loop runs as vector code.
        const uchar on = uchar(near & -uchar(cell == b));
        const uchar old = out[x];
        changed = Sum(changed + (on & uchar(old != c)));
        out[x] = uchar((on & c) | (~on & old));
        since[x] = std::max(countDown(s), std::uint8_t(-uchar(cell == f) & down));
    }
    return changed;
}

// A row in blocks short enough for a byte-wide count of changes (a wider sum in the loop
// costs a third of the time), and a multiple of the widest vector.
template <int N> [[gnu::always_inline]] inline int fusedRow(const TFusedRow &a)
{
    constexpr int Block = 224;
    int back[N], forth[N];
    for (int i = 0; i < N; ++i) {
        back[i] = std::min(i + 1, a.Right);
        forth[i] = std::min(i + 1, a.Left);
    }
    const int w = a.Width;
    int changed = 0, x = 0;
    for (; x + Block <= w; x += Block) {
        for (int l = 0; l < Block; l += 64) {
            __builtin_prefetch(a.AheadRow + x + 2048 + l);
            __builtin_prefetch(a.Out + x + 2048 + l, 1);
        }
        changed += fusedCells<N, std::uint8_t>(a.Padded + x, a.AheadRow + x, a.Out + x, a.Since + x,
            a.Ahead + x, Block, back, forth, a.Down, a.Up, a.Colors);
    }
    changed += fusedCells<N, int>(a.Padded + x, a.AheadRow + x, a.Out + x, a.Since + x, a.Ahead + x, w - x,
        back, forth, a.Down, a.Up, a.Colors);
    return changed;
}

// One instance per sideways reach, so that the offsets unroll; built twice on x86-64, the
// wider vectors taken where the processor has them.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("avx2", "default")]]
#endif
int fusedRowAny(const TFusedRow &a)
{
    switch (std::max(a.Right, a.Left)) {
    case 0:
    case 1:
        return fusedRow<1>(a);
    case 2:
        return fusedRow<2>(a);
    case 3:
        return fusedRow<3>(a);
    case 4:
        return fusedRow<4>(a);
    case 5:
        return fusedRow<5>(a);
    case 6:
        return fusedRow<6>(a);
    case 7:
        return fusedRow<7>(a);
    default:
        return fusedRow<MaxFusedReach>(a);
    }
}

int scanRowsFused(const QImage &ref, QImage &picture, const TReach &r, const TBordureColors &colors)
{
    constexpr int M = MaxFusedReach;
    const int w = ref.width(), h = ref.height();
    const uchar notF = uchar(colors.Foreground + 1);
    // A row is read in place but for its first and last M cells, whose sideways reads would
    // leave it: those come from short copies padded with non-F (a narrow row is copied whole).
    const bool inPlace = w > 4 * M;
    std::vector<uchar> padded(std::size_t(inPlace ? 4 * M : w + 2 * M), notF), tail(std::size_t(3 * M), notF),
        past(std::size_t(w), notF);
    std::vector<std::uint8_t> above(std::size_t(w), 0), ahead(std::size_t(w), 0);
    for (int y = 0; y < std::min(r.Top, h); ++y) {
        const uchar *row = ref.constScanLine(y);
        for (int x = 0; x < w; ++x)
            ahead[std::size_t(x)] = std::max(countDown(ahead[std::size_t(x)]),
                std::uint8_t(-uchar(row[x] == colors.Foreground) & std::uint8_t(r.Top)));
    }
    TFusedRow a { nullptr, nullptr, nullptr, nullptr, nullptr, 0, r.Right, r.Left, std::uint8_t(r.Bottom),
        std::uint8_t(r.Top), colors };
    int changed = 0;
    ShowProgressGauge();
    TProgressSteps progress(std::max(1, h - 1));
    for (int y = 0; y < h; ++y) {
        const uchar *row = ref.constScanLine(y);
        const uchar *aheadRow = y + r.Top < h ? ref.constScanLine(y + r.Top) : past.data();
        uchar *out = picture.scanLine(y);
        // Cells x0 .. x1 - 1, with `at` standing for the row's cell x0.
        const auto run = [&](const uchar *at, int x0, int x1) {
            a.Padded = at;
            a.AheadRow = aheadRow + x0;
            a.Out = out + x0;
            a.Since = above.data() + x0;
            a.Ahead = ahead.data() + x0;
            a.Width = x1 - x0;
            changed += fusedRowAny(a);
        };
        if (inPlace) {
            std::copy_n(row, 2 * M, padded.data() + M);
            run(padded.data() + M, 0, M);
            run(row + M, M, w - M);
            std::copy_n(row + w - 2 * M, 2 * M, tail.data());
            run(tail.data() + M, w - M, w);
        } else {
            std::copy_n(row, w, padded.data() + M);
            run(padded.data() + M, 0, w);
        }
        progress.step(y);
    }
    progress.finish();
    return changed;
}
} // namespace

int ApplyBordure(
    const QImage &ref, QImage &picture, const TBordureOption &option, const TBordureColors &colors)
{
    // With B the same as F no cell can take the border.
    if (!usable(ref, picture) || colors.Background == colors.Foreground)
        return 0;
    const int w = ref.width(), h = ref.height();
    const TReach r { reach(option.RightBordure, option.RightLength, w),
        reach(option.LeftBordure, option.LeftLength, w), reach(option.BottomBordure, option.BottomLength, h),
        reach(option.TopBordure, option.TopLength, h) };
    // Byte counts, the common case, vectorise best; longer walks downwards or upwards need
    // wider ones (a count at the type's top means "no F near", so it must exceed both lengths).
    const bool byteCounts = std::max(r.Bottom, r.Top) < std::numeric_limits<std::uint8_t>::max();
    if (byteCounts && std::max(r.Right, r.Left) <= MaxFusedReach)
        return scanRowsFused(ref, picture, r, colors);
    if (byteCounts)
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
