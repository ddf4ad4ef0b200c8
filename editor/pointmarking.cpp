// Finding, marking, deleting and lengthening short runs of the fore colour.
#include "editor/pointmarking.h"

#include "core/base/error.h"
#include "core/palette/floatscan.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using TCells = std::vector<TPoint>;

// The state of one side of a run for automatic adding.
enum class TSide : std::uint8_t { Blocked, Edge, Free, Plain };

// The runs the mode works on. DelSinglePoint and SearchIsolatedPoint want runs down the
// warps with no cell of the colour beside them; SearchFloat along the wefts scans the rows.
TFloatsArray findRuns(const QImage &picture, int fore, int length, const TMarkPointOptions &options)
{
    TFloatsArray runs;
    if (options.Mode == TMarkPointMode::SearchFloat && options.FloatWay == TFloatWay::Wefts) {
        FindFloatRuns(picture, fore, length, false, runs);
        return runs;
    }
    const bool isolated = options.Mode == TMarkPointMode::DelSinglePoint
        || options.Mode == TMarkPointMode::SearchIsolatedPoint;
    FindFloatRunsNeighbourRule(picture, fore, length, runs, isolated);
    return runs;
}

// Writes index into cell (x, y) and lists the cell when its index changes.
void setCell(QImage &picture, int x, int y, int index, TCells &cells)
{
    std::uint8_t &cell = picture.scanLine(y)[x];
    if (cell == std::uint8_t(index))
        return;
    cell = std::uint8_t(index);
    cells.push_back(TPoint { x, y });
}

void deleteSinglePoints(QImage &picture, const TFloatsArray &runs, TCells &cells)
{
    // From the top of each run down, so that a cell may take the index just written above it.
    for (const TFloatRun &r : runs)
        for (int y = r.Start; y <= r.End; ++y)
            setCell(picture, r.Line, y, NeighbourColor(picture, r.Line, y), cells);
}

void paintRuns(QImage &picture, const TFloatsArray &runs, bool alongRows, int marker, TCells &cells)
{
    for (const TFloatRun &r : runs)
        for (int i = r.Start; i <= r.End; ++i) {
            if (alongRows)
                setCell(picture, i, r.Line, marker, cells);
            else
                setCell(picture, r.Line, i, marker, cells);
        }
}

bool passesWarpFilter(TAddPointWarps warps, int column)
{
    switch (warps) {
    case TAddPointWarps::OddWarps:
        return column % 2 == 0;
    case TAddPointWarps::EvenWarps:
        return column % 2 == 1;
    case TAddPointWarps::AllWarps:
        break;
    }
    return true;
}

// far: the row just past the M cells that would be added; next: the first of them.
TSide sideState(const QImage &picture, int column, int far, int next, int fore, int back)
{
    const int h = picture.height();
    if (far < -1 || far > h)
        return TSide::Blocked;
    if (far == -1 || far == h)
        return TSide::Edge;
    // The added cells would join the next run of the colour.
    if (picture.constScanLine(far)[column] == fore)
        return TSide::Blocked;
    return picture.constScanLine(next)[column] == back ? TSide::Free : TSide::Plain;
}

// Whether automatic adding puts the cells below the run (true), above it (false) or nowhere.
std::optional<bool> automaticBelow(TSide below, TSide above, bool priorityUp)
{
    const bool belowFree = below == TSide::Free, aboveFree = above == TSide::Free;
    if (belowFree || aboveFree) {
        if (priorityUp)
            return !aboveFree;
        return belowFree;
    }
    if (below == TSide::Edge || below == TSide::Plain)
        return true;
    if (above == TSide::Edge || above == TSide::Plain)
        return false;
    return std::nullopt;
}

void addCells(QImage &picture, const TFloatRun &r, bool below, int count, int fore, TCells &cells)
{
    const int h = picture.height();
    for (int s = 0; s < count; ++s) {
        const int y = below ? r.End + s + 1 : r.Start - s - 1;
        if (y >= 0 && y < h)
            setCell(picture, r.Line, y, fore, cells);
    }
}

void addPoints(QImage &picture, const TFloatsArray &runs, const TMarkPointOptions &options, int fore,
    int back, TCells &cells)
{
    const int m = options.FillPointCount;
    for (const TFloatRun &r : runs) {
        if (!passesWarpFilter(options.AddWarps, r.Line))
            continue;
        switch (options.AddWay) {
        case TAddPointWay::Down:
            addCells(picture, r, true, m, fore, cells);
            break;
        case TAddPointWay::Up:
            addCells(picture, r, false, m, fore, cells);
            break;
        case TAddPointWay::Automatic: {
            const TSide below = sideState(picture, r.Line, r.End + m + 1, r.End + 1, fore, back);
            const TSide above = sideState(picture, r.Line, r.Start - m - 1, r.Start - 1, fore, back);
            if (const std::optional<bool> where = automaticBelow(below, above, options.PriorityUp))
                addCells(picture, r, *where, m, fore, cells);
            break;
        }
        }
    }
}

} // namespace

int NeighbourColor(const QImage &picture, int column, int row)
{
    const int w = picture.width(), h = picture.height();
    const std::uint8_t *line = picture.constScanLine(row);
    if (column > 0 && column + 1 < w && line[column - 1] == line[column + 1])
        return line[column - 1];
    if (row + 1 < h)
        return picture.constScanLine(row + 1)[column];
    if (row > 0)
        return picture.constScanLine(row - 1)[column];
    return line[column];
}

bool MarkPoints(
    TPatternGrid &grid, const TMarkPointOptions &options, TMarkPointReport *report, QString *error)
{
    TMarkPointReport done;
    if (report)
        *report = done;
    QImage &picture = grid.Picture();
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return true;
    const int fore = grid.ForeIndex();
    const int length = options.Mode == TMarkPointMode::DelSinglePoint
        ? 1
        : std::clamp(options.PointCount, TMarkPointOptions::MinCount, TMarkPointOptions::MaxCount);
    const TFloatsArray runs = findRuns(picture, fore, length, options);
    done.Runs = int(runs.size());
    if (runs.isEmpty()) {
        if (report)
            *report = done;
        return true;
    }

    TCells cells;
    switch (options.Mode) {
    case TMarkPointMode::DelSinglePoint:
        deleteSinglePoints(picture, runs, cells);
        break;
    case TMarkPointMode::SearchIsolatedPoint:
    case TMarkPointMode::SearchFloat: {
        // The marker is a palette step of its own before the cells are painted in it.
        const int marker = grid.AddMarkerColorToPalette();
        if (marker < 0)
            return Fail(error, GetUiMessage(UiKey::String::MarkPointPaletteFull));
        done.MarkerIndex = marker;
        const bool alongRows
            = options.Mode == TMarkPointMode::SearchFloat && options.FloatWay == TFloatWay::Wefts;
        paintRuns(picture, runs, alongRows, marker, cells);
        break;
    }
    case TMarkPointMode::AddPoint: {
        TMarkPointOptions held = options;
        held.FillPointCount
            = std::clamp(options.FillPointCount, TMarkPointOptions::MinCount, TMarkPointOptions::MaxCount);
        addPoints(picture, runs, held, fore, grid.BackIndex(), cells);
        break;
    }
    }
    done.ChangedCells = int(cells.size());
    TLineArray step(qsizetype(cells.size()));
    std::copy(cells.begin(), cells.end(), step.begin());
    grid.RecordUndoStep(step);
    if (options.Mode == TMarkPointMode::AddPoint)
        grid.NotifyPatternSize(grid.RepeatInfo().UnitWidth, grid.RepeatInfo().UnitHeight);
    grid.RebuildReducedView();
    grid.Repaint();
    if (report)
        *report = done;
    return true;
}
