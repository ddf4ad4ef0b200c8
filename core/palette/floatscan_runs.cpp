// Finders of runs of exactly a given length, along rows and down columns.
#include "core/palette/floatscan.h"

#include "core/base/progress.h"

#include <algorithm>
#include <vector>

namespace {

bool usable(const QImage &bmp)
{
    return !bmp.isNull() && bmp.format() == QImage::Format_Indexed8;
}

void append(TFloatsArray &runs, const std::vector<TFloatRun> &found)
{
    const int old = runs.length();
    runs.setLength(old + qsizetype(found.size()));
    std::copy(found.begin(), found.end(), runs.begin() + old);
}

// A short run passes only away from the top four rows and from the bottom three.
bool passesEdgeRule(const TFloatRun &run, int height)
{
    if (run.Length >= 5)
        return true;
    if (run.Start < 4 && run.End < 4)
        return false;
    return run.Start <= height - 4;
}

void findColumnRuns(const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest,
    const TRect &area, bool edgeRule)
{
    if (!usable(bmp) || length < 1)
        return;
    const int w = bmp.width(), h = bmp.height();
    const int left = std::max(area.Left, 0), right = std::min(area.Right, w);
    const int top = std::max(area.Top, 0), bottom = std::min(area.Bottom, h);
    if (left >= right || top >= bottom)
        return;

    // Row by row, each column keeps its open run and whether a cell beside it has the index.
    std::vector<int> start(w, -1);
    std::vector<bool> besideSame(w, false);
    std::vector<TFloatRun> found;
    auto close = [&](int x, int end) {
        const TFloatRun run { end - start[x] + 1, start[x], end, x };
        if (run.Length == length && !(neighbourTest && besideSame[x])
            && (!edgeRule || passesEdgeRule(run, h)))
            found.push_back(run);
        start[x] = -1;
    };
    ShowProgressGauge();
    TProgressSteps progress(bottom - top);
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        for (int x = left; x < right; ++x) {
            if (row[x] != colorIndex) {
                if (start[x] >= 0)
                    close(x, y - 1);
                continue;
            }
            if (start[x] < 0) {
                start[x] = y;
                besideSame[x] = false;
            }
            if ((x > 0 && row[x - 1] == colorIndex) || (x + 1 < w && row[x + 1] == colorIndex))
                besideSame[x] = true;
        }
        progress.step(y - top + 1);
    }
    for (int x = left; x < right; ++x)
        if (start[x] >= 0)
            close(x, bottom - 1);
    progress.finish();

    // Found in row order; reported column by column, each column from the top.
    std::stable_sort(
        found.begin(), found.end(), [](const TFloatRun &a, const TFloatRun &b) { return a.Line < b.Line; });
    append(runs, found);
}

TRect wholePicture(const QImage &bmp)
{
    return { 0, 0, bmp.width(), bmp.height() };
}

} // namespace

void FindFloatRuns(const QImage &bmp, int colorIndex, int length, bool neighbourTest, TFloatsArray &runs)
{
    if (!usable(bmp) || length < 1)
        return;
    const int w = bmp.width(), h = bmp.height();
    std::vector<TFloatRun> found;
    ShowProgressGauge();
    TProgressSteps progress(h);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        const std::uint8_t *above = y > 0 ? bmp.constScanLine(y - 1) : nullptr;
        const std::uint8_t *below = y + 1 < h ? bmp.constScanLine(y + 1) : nullptr;
        int x = 0;
        while (x < w) {
            if (row[x] != colorIndex) {
                ++x;
                continue;
            }
            const int first = x;
            bool besideSame = false;
            for (; x < w && row[x] == colorIndex; ++x)
                besideSame
                    = besideSame || (above && above[x] == colorIndex) || (below && below[x] == colorIndex);
            if (x - first == length && !(neighbourTest && besideSame))
                found.push_back({ length, first, x - 1, y });
        }
        progress.step(y + 1);
    }
    progress.finish();
    append(runs, found);
}

void FindFloatRunsNeighbourRule(
    const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest, const TRect &area)
{
    findColumnRuns(bmp, colorIndex, length, runs, neighbourTest, area, false);
}

void FindFloatRunsNeighbourRule(
    const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest)
{
    findColumnRuns(bmp, colorIndex, length, runs, neighbourTest, wholePicture(bmp), false);
}

void FindFloatRunsEdgeRule(
    const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest, const TRect &area)
{
    findColumnRuns(bmp, colorIndex, length, runs, neighbourTest, area, true);
}

void FindFloatRunsEdgeRule(
    const QImage &bmp, int colorIndex, int length, TFloatsArray &runs, bool neighbourTest)
{
    findColumnRuns(bmp, colorIndex, length, runs, neighbourTest, wholePicture(bmp), true);
}
