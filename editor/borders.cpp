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
    void shiftOr(const uchar *from, uchar *to, int shift) const
    {
        for (int x = 0; x < m_width; ++x)
            to[x] = from[x] | from[x - shift];
    }

    int m_width;
    std::vector<uchar> m_a, m_b;
};
} // namespace

int ApplyBordure(
    const QImage &ref, QImage &picture, const TBordureOption &option, const TBordureColors &colors)
{
    if (!usable(ref, picture))
        return 0;
    const int w = ref.width(), h = ref.height();
    const uchar f = colors.Foreground, b = colors.Background, c = colors.Border;
    const int right = reach(option.RightBordure, option.RightLength, w);
    const int left = reach(option.LeftBordure, option.LeftLength, w);
    const int bottom = reach(option.BottomBordure, option.BottomLength, h);
    const int top = reach(option.TopBordure, option.TopLength, h);
    // Per column, the last row holding F among the rows above the current one (for the
    // walks downwards) and among the rows up to `top` below it (for the walks upwards: read
    // ahead, so a single pass from the top serves both).
    constexpr int None = std::numeric_limits<int>::min() / 2;
    std::vector<int> lastAbove(std::size_t(w), None), lastAhead(std::size_t(w), None);
    std::vector<uchar> isF(static_cast<std::size_t>(w)), paint(static_cast<std::size_t>(w));
    TRowWindows windows(w);
    const auto takeAhead = [&](int y) {
        const uchar *row = ref.constScanLine(y);
        for (int x = 0; x < w; ++x)
            lastAhead[std::size_t(x)] = row[x] == f ? y : lastAhead[std::size_t(x)];
    };
    for (int y = 0; y < std::min(top, h); ++y)
        takeAhead(y);
    int changed = 0;
    ShowProgressGauge();
    TProgressSteps progress(std::max(1, h - 1));
    for (int y = 0; y < h; ++y) {
        if (top > 0 && y + top < h)
            takeAhead(y + top);
        const uchar *row = ref.constScanLine(y);
        uchar *out = picture.scanLine(y);
        for (int x = 0; x < w; ++x) {
            isF[std::size_t(x)] = row[x] == f ? 0xff : 0;
            const bool down = y - lastAbove[std::size_t(x)] <= bottom;
            const bool up = lastAhead[std::size_t(x)] > y && top > 0;
            paint[std::size_t(x)] = uchar(down | up);
        }
        const uchar *fromLeft = right > 0 ? windows.within(isF.data(), right, 1) : nullptr;
        if (fromLeft)
            for (int x = 0; x < w; ++x)
                paint[std::size_t(x)] |= fromLeft[x] & 1;
        const uchar *fromRight = left > 0 ? windows.within(isF.data(), left, -1) : nullptr;
        if (fromRight)
            for (int x = 0; x < w; ++x)
                paint[std::size_t(x)] |= fromRight[x] & 1;
        // Only B cells that are not F take the border; a cell already C is not a change.
        int rowChanged = 0;
        for (int x = 0; x < w; ++x) {
            const bool on = paint[std::size_t(x)] & (row[x] == b) & (row[x] != f);
            rowChanged += on & (out[x] != c);
            out[x] = on ? c : out[x];
            lastAbove[std::size_t(x)] = row[x] == f ? y : lastAbove[std::size_t(x)];
        }
        changed += rowChanged;
        progress.step(y);
    }
    progress.finish();
    return changed;
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
