#include "editor/borders.h"

#include "core/base/progress.h"
#include "editor/patterngrid.h"

#include <algorithm>
#include <vector>

namespace {
// One side's walk from (x, y) in steps of (dx, dy), over the raw cells of both pictures (the
// output detached once, before the scan).
struct TWalk {
    const uchar *Ref;
    qsizetype RefStride;
    uchar *Out;
    qsizetype OutStride;
    int Width, Height;
    TBordureColors Colors;

    // Returns the number of cells it changed.
    int run(int x, int y, int dx, int dy, int length) const
    {
        int changed = 0;
        for (int s = 0; s < length; ++s) {
            const int cx = x + s * dx, cy = y + s * dy;
            if (cx < 0 || cy < 0 || cx >= Width || cy >= Height)
                break;
            const uchar cell = Ref[cy * RefStride + cx];
            if (cell == Colors.Foreground)
                break;
            if (cell == Colors.Background) {
                uchar &out = Out[cy * OutStride + cx];
                changed += out != Colors.Border ? 1 : 0;
                out = Colors.Border;
            }
        }
        return changed;
    }
};

bool usable(const QImage &ref, const QImage &picture)
{
    return !ref.isNull() && ref.format() == QImage::Format_Indexed8
        && picture.format() == QImage::Format_Indexed8 && ref.size() == picture.size();
}
} // namespace

int ApplyBordure(
    const QImage &ref, QImage &picture, const TBordureOption &option, const TBordureColors &colors)
{
    if (!usable(ref, picture))
        return 0;
    int changed = 0;
    const int w = ref.width(), h = ref.height();
    const uchar f = colors.Foreground;
    const TWalk walk { ref.constBits(), ref.bytesPerLine(), picture.bits(), picture.bytesPerLine(), w, h,
        colors };
    // The walks read ref only and only turn cells into C, so the order of the cells does
    // not change the result: bands of columns are scanned row by row, which reads the
    // picture in the order it is stored, and the gauge steps at each band's last column.
    constexpr int Band = 256;
    const bool rightOn = option.RightBordure && option.RightLength > 0;
    const bool leftOn = option.LeftBordure && option.LeftLength > 0;
    const bool bottomOn = option.BottomBordure && option.BottomLength > 0;
    const bool topOn = option.TopBordure && option.TopLength > 0;
    // Beyond the picture's edges: a line that holds no F. The tests of a cell are worked out
    // without branches and joined, so that one branch decides whether any walk starts.
    const uchar notF = uchar(f ^ 1);
    const std::vector<uchar> outside(std::size_t(w), notF);
    ShowProgressGauge();
    TProgressSteps progress(std::max(1, w - 1));
    for (int x0 = 0; x0 < w; x0 += Band) {
        const int x1 = std::min(w, x0 + Band);
        for (int y = 0; y < h; ++y) {
            const uchar *row = ref.constScanLine(y);
            const uchar *above = y > 0 ? ref.constScanLine(y - 1) : outside.data();
            const uchar *below = y < h - 1 ? ref.constScanLine(y + 1) : outside.data();
            for (int x = x0; x < x1; ++x) {
                const uchar before = x > 0 ? row[x - 1] : notF;
                const uchar after = x < w - 1 ? row[x + 1] : notF;
                const unsigned sides = unsigned(rightOn & (before == f))
                    | unsigned(leftOn & (after == f)) << 1 | unsigned(bottomOn & (above[x] == f)) << 2
                    | unsigned(topOn & (below[x] == f)) << 3;
                if (((row[x] != f) & (sides != 0)) == 0)
                    continue;
                if (sides & 1)
                    changed += walk.run(x, y, 1, 0, option.RightLength);
                if (sides & 2)
                    changed += walk.run(x, y, -1, 0, option.LeftLength);
                if (sides & 4)
                    changed += walk.run(x, y, 0, 1, option.BottomLength);
                if (sides & 8)
                    changed += walk.run(x, y, 0, -1, option.TopLength);
            }
        }
        progress.step(x1 - 1);
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
