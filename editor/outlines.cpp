#include "editor/outlines.h"

#include "core/base/error.h"
#include "core/base/progress.h"
#include "core/palette/regions.h"
#include "core/settings/uitexts.h"
#include "editor/cellcompare.h"
#include "editor/cellstep.h"
#include "editor/patterngrid.h"

#include <cstring>
#include <vector>

namespace {

template <class T> TDynArray<T> toArray(const std::vector<T> &items)
{
    TDynArray<T> out(qsizetype(items.size()));
    std::copy(items.begin(), items.end(), out.begin());
    return out;
}

// Whether a neighbour of (x, y) among its four, cyclic across the edges, has index back.
bool touchesBack(const QImage &picture, int x, int y, std::uint8_t back)
{
    const int w = picture.width(), h = picture.height();
    const std::uint8_t *row = picture.constScanLine(y);
    return row[(x + w - 1) % w] == back || row[(x + 1) % w] == back
        || picture.constScanLine((y + h - 1) % h)[x] == back || picture.constScanLine((y + 1) % h)[x] == back;
}

// Marks the blocks of a band (count rows of width w, blocks needles wide) that hold more
// than one index: the first row changes inside the block, or another row differs from the
// first somewhere in it.
void markMixedBlocks(
    const std::vector<const std::uint8_t *> &rows, int count, int w, int needles, std::vector<char> &mixed)
{
    std::fill(mixed.begin(), mixed.end(), 0);
    const std::uint8_t *first = rows[0];
    for (int i = FirstDifference(first + 1, first, 0, w - 1); i < w - 1;
         i = FirstDifference(first + 1, first, i + 1, w - 1))
        if ((i + 1) % needles != 0)
            mixed[std::size_t((i + 1) / needles)] = 1;
    for (int k = 1; k < count; ++k) {
        const std::uint8_t *row = rows[std::size_t(k)];
        for (int x = FirstDifference(row, first, 0, w); x < w; x = FirstDifference(row, first, x + 1, w))
            mixed[std::size_t(x / needles)] = 1;
    }
}

// The first block from on that is marked mixed, or the end of the marks; eight marks are
// looked at together since most are clear.
int nextMixed(const std::vector<char> &mixed, int from)
{
    const int n = int(mixed.size());
    int i = from;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, mixed.data() + i, 8);
        if (word != 0)
            break;
    }
    while (i < n && !mixed[std::size_t(i)])
        ++i;
    return i;
}

} // namespace

TLineArray TabbySketchCells(
    const QImage &picture, int fore, int back, const QRegion &selection, TSketchStart start)
{
    if (picture.isNull() || fore < 0 || fore > 255 || back < 0 || back > 255)
        return {};
    const int w = picture.width(), h = picture.height();
    const TRect box = selection.isEmpty() ? TRect { 0, 0, w, h } : ClampedRegionBox(selection, w, h);
    if (box.Width() <= 0 || box.Height() <= 0)
        return {};
    const int parity = start == TSketchStart::Single ? 1 : 0;
    const bool clip = !selection.isEmpty() && selection.rectCount() > 1;
    std::vector<TPoint> found;
    ShowProgressGauge();
    TProgressSteps progress(box.Height());
    for (int y = box.Top; y < box.Bottom; ++y) {
        const std::uint8_t *row = picture.constScanLine(y);
        for (int x = box.Left + ((box.Left + y + parity) & 1); x < box.Right; x += 2) {
            if (row[x] != fore || !touchesBack(picture, x, y, std::uint8_t(back)))
                continue;
            if (clip && !selection.contains(QPoint(x, y)))
                continue;
            found.push_back({ x, y });
        }
        progress.step(y - box.Top + 1);
    }
    progress.finish();
    return toArray(found);
}

bool MultiSketchPoints(
    const QImage &picture, int fore, int needles, int shuttles, TMultiSketchArray &points, QString *error)
{
    if (needles < MinSketchBlock || needles > MaxSketchBlock || shuttles < MinSketchBlock
        || shuttles > MaxSketchBlock)
        return Fail(error, GetUiMessage(UiKey::String::SketchBlockOutOfRange));
    std::vector<TMultiSketchPoint> toFore, toOther;
    const int w = picture.isNull() ? 0 : picture.width(), h = picture.isNull() ? 0 : picture.height();
    ShowProgressGauge();
    TProgressSteps progress(h);
    std::vector<const std::uint8_t *> rows(std::size_t(shuttles), nullptr);
    std::vector<char> mixed(std::size_t(w / needles + 1), 0);
    for (int top = 0; top < h; top += shuttles) {
        const int bottom = std::min(h, top + shuttles);
        for (int y = top; y < bottom; ++y)
            rows[std::size_t(y - top)] = picture.constScanLine(y);
        // Most blocks hold one index only: nothing to count there.
        markMixedBlocks(rows, bottom - top, w, needles, mixed);
        for (int left = nextMixed(mixed, 0) * needles; left < w;
             left = nextMixed(mixed, left / needles + 1) * needles) {
            const int right = std::min(w, left + needles);
            int foreCount = 0, otherCount = 0;
            std::uint8_t lastOther = 0;
            for (int y = top; y < bottom; ++y) {
                const std::uint8_t *row = rows[std::size_t(y - top)];
                for (int x = left; x < right; ++x) {
                    if (row[x] == fore) {
                        ++foreCount;
                    } else {
                        ++otherCount;
                        lastOther = row[x];
                    }
                }
            }
            if (foreCount == 0 || otherCount == 0)
                continue;
            const bool toForeIndex = foreCount > otherCount;
            const std::uint8_t value = toForeIndex ? std::uint8_t(fore) : lastOther;
            std::vector<TMultiSketchPoint> &list = toForeIndex ? toFore : toOther;
            for (int y = top; y < bottom; ++y) {
                const std::uint8_t *row = rows[std::size_t(y - top)];
                for (int x = left; x < right; ++x)
                    if (row[x] != value)
                        list.push_back({ x, y, value });
            }
        }
        progress.step(bottom);
    }
    progress.finish();
    points = TMultiSketchArray(qsizetype(toFore.size() + toOther.size()));
    std::copy(toOther.begin(), toOther.end(), std::copy(toFore.begin(), toFore.end(), points.begin()));
    return true;
}

void RunTabbySketch(TPatternGrid &grid, TSketchStart start)
{
    const TLineArray cells
        = TabbySketchCells(grid.Picture(), grid.ForeIndex(), grid.BackIndex(), grid.SelectionRegion(), start);
    PaintCellsAsStep(grid, cells, std::uint8_t(grid.BackIndex()));
}

bool RunMultiSketch(TPatternGrid &grid, int needles, int shuttles, QString *error)
{
    TMultiSketchArray points;
    if (!MultiSketchPoints(grid.Picture(), grid.ForeIndex(), needles, shuttles, points, error))
        return false;
    PaintPointsAsStep(grid, points);
    return true;
}
