#include "editor/bindingpoints.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/base/progress.h"
#include "core/settings/uitexts.h"
#include "editor/cellcompare.h"
#include "editor/cellstep.h"
#include "editor/patterngrid.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// The run state of one line (a column or a row) as its cells come in order.
struct TLineRuns {
    int Start = 0;
    int TopLength = 0; // the run that touched the line's first cell, once it ended
    bool InRun = false;
};

class TBindingScan {
public:
    TBindingScan(int height, TBindingStyle style, TBindingWay way, int limit, std::vector<TPoint> &points)
        : m_height(height)
        , m_style(style)
        , m_way(way)
        , m_limit(limit)
        , m_points(points)
    {
    }

    // Cell p of line (in order from 0) is of the colour or not.
    void Feed(TLineRuns &s, int line, int p, bool inColor)
    {
        if (inColor) {
            if (!s.InRun) {
                s.InRun = true;
                s.Start = p;
            }
            return;
        }
        if (!s.InRun)
            return;
        s.InRun = false;
        const int length = p - s.Start;
        if (s.Start == 0)
            s.TopLength = length; // kept for a run that wraps round from the end
        else if (length > m_limit)
            bind(line, s.Start, length, p);
    }

    // The line's cells are all in; lineLength cells.
    void End(TLineRuns &s, int line, int lineLength)
    {
        if (s.InRun) {
            const int length = s.Start == 0 ? lineLength : s.TopLength + lineLength - s.Start;
            if (length > m_limit)
                bind(line, s.Start, length, lineLength);
        } else if (s.TopLength > m_limit) {
            // A run from the first cell that no run at the end continues is a float too.
            bind(line, 0, s.TopLength, lineLength);
        }
    }

private:
    TPoint cell(int line, int p) const
    {
        return m_way == TBindingWay::Warp ? TPoint { line, p } : TPoint { p, line };
    }

    void bind(int line, int start, int length, int lineLength)
    {
        int m = int((start + BindingMiddle(length)) % lineLength);
        TPoint c = cell(line, m);
        if (!MeetsBindingParity(c.X, c.Y, m_height, m_style))
            c = cell(line, (m + lineLength - 1) % lineLength);
        m_points.push_back(c);
    }

    int m_height;
    TBindingStyle m_style;
    TBindingWay m_way;
    int m_limit;
    std::vector<TPoint> &m_points;
};

// The points of a warp scan, found row by row, put in column order. Within a column they
// come in row order already, except the last point of a run that wraps round the column's
// end, found at its end: it goes first when it lies above the column's other points. A
// counting pass by column keeps this linear where a sort would cost more than the scan.
std::vector<TPoint> byColumn(const std::vector<TPoint> &found, int width)
{
    std::vector<std::size_t> start(std::size_t(width) + 1, 0);
    for (const TPoint &p : found)
        ++start[std::size_t(p.X) + 1];
    for (std::size_t x = 1; x < start.size(); ++x)
        start[x] += start[x - 1];
    std::vector<TPoint> out(found.size());
    std::vector<std::size_t> next(start.begin(), start.end() - 1);
    for (const TPoint &p : found)
        out[next[std::size_t(p.X)]++] = p;
    for (std::size_t x = 0; x + 1 < start.size(); ++x) {
        const auto first = out.begin() + std::ptrdiff_t(start[x]),
                   last = out.begin() + std::ptrdiff_t(start[x + 1]);
        if (last - first >= 2 && (last - 1)->Y < (last - 2)->Y)
            std::rotate(first, last - 1, last);
    }
    return out;
}

} // namespace

bool MeetsBindingParity(int column, int row, int height, TBindingStyle style)
{
    const bool even = ((column + 1 + height - row) & 1) == 0;
    return even == (style == TBindingStyle::Single);
}

int BindingMiddle(int length)
{
    return int(Round(length / 2.0 + 0.5)) - 1;
}

bool AutoBindingPoints(const QImage &picture, const TPalette256 &palette, TColor foreColor,
    TBindingStyle style, TBindingWay way, int floatLimit, TLineArray &points, QString *error)
{
    if (floatLimit < MinFloatLimit)
        return Fail(error, GetUiMessage(UiKey::String::BindingLimitOutOfRange));
    points = {};
    if (picture.isNull())
        return true;
    std::array<bool, 256> inColor {};
    for (int i = 0; i < 256; ++i)
        inColor[std::size_t(i)] = PlainColor(palette[i]) == foreColor;
    const int w = picture.width(), h = picture.height();
    std::vector<TPoint> found;
    TBindingScan scan(h, style, way, floatLimit, found);
    ShowProgressGauge();
    TProgressSteps progress(h);
    // A cell can only start or end a run where its index differs from the cell before it
    // on the line: only those cells are looked at.
    if (way == TBindingWay::Warp) {
        // Every column at once, row by row, so that the picture is read in its own order.
        std::vector<TLineRuns> columns(static_cast<std::size_t>(w));
        const std::uint8_t *first = picture.constScanLine(0);
        for (int x = 0; x < w; ++x)
            scan.Feed(columns[std::size_t(x)], x, 0, inColor[first[x]]);
        for (int y = 1; y < h; ++y) {
            const std::uint8_t *row = picture.constScanLine(y), *above = picture.constScanLine(y - 1);
            for (int x = FirstDifference(row, above, 0, w); x < w;
                 x = FirstDifference(row, above, x + 1, w)) {
                TLineRuns &runs = columns[std::size_t(x)];
                if (inColor[row[x]] != runs.InRun)
                    scan.Feed(runs, x, y, inColor[row[x]]);
            }
            progress.step(y + 1);
        }
        for (int x = 0; x < w; ++x)
            scan.End(columns[std::size_t(x)], x, h);
        found = byColumn(found, w);
    } else {
        for (int y = 0; y < h; ++y) {
            const std::uint8_t *row = picture.constScanLine(y);
            TLineRuns runs;
            scan.Feed(runs, y, 0, inColor[row[0]]);
            for (int i = FirstDifference(row + 1, row, 0, w - 1); i < w - 1;
                 i = FirstDifference(row + 1, row, i + 1, w - 1))
                if (inColor[row[i + 1]] != runs.InRun)
                    scan.Feed(runs, y, i + 1, inColor[row[i + 1]]);
            scan.End(runs, y, w);
            progress.step(y + 1);
        }
    }
    progress.finish();
    points = TLineArray(qsizetype(found.size()));
    std::copy(found.begin(), found.end(), points.begin());
    return true;
}

bool RunAutoBinding(TPatternGrid &grid, TColor foreColor, int backIndex, TBindingStyle style, TBindingWay way,
    int floatLimit, QString *error)
{
    TLineArray points;
    if (!AutoBindingPoints(grid.Picture(), grid.Palette(), foreColor, style, way, floatLimit, points, error))
        return false;
    PaintCellsAsStep(grid, points, std::uint8_t(std::clamp(backIndex, 0, 255)));
    return true;
}

TBindingPointFlags BindingPointFlagsFor(TBindingStyle style, TBindingWay way, bool autoFill, int height)
{
    // X + Y odd <=> column + row odd exactly when 1 + height is even.
    const bool sameParity = (height & 1) != 0;
    // 合单 moves the cells whose X + Y is odd, 合双 those whose X + Y is even.
    const bool moveRawOdd = (style == TBindingStyle::Single) == sameParity;
    TBindingPointFlags flags;
    flags.OddShift = moveRawOdd;
    flags.EvenShift = !moveRawOdd;
    flags.Horizontal = way == TBindingWay::Weft;
    flags.Vertical = !flags.Horizontal;
    flags.GapFill = flags.Horizontal && autoFill;
    return flags;
}
