// Float tests at one cell and the cell collectors of weave tiling.
#include "core/palette/floatscan.h"

#include "core/base/progress.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using TColourSet = std::array<bool, 256>;

// The entries whose red, green and blue equal those of the first entry holding Color.
TColourSet coloursLike(TColor color, const TPalette256 &palette)
{
    TColourSet set {};
    const int first = FindPaletteColorIndex(color, palette);
    if (first < 0)
        return set;
    for (int i = 0; i < 256; ++i)
        set[i] = ColorsWithinTolerance(palette[i], palette[first], 0);
    return set;
}

bool usable(const QImage &bmp)
{
    return !bmp.isNull() && bmp.format() == QImage::Format_Indexed8;
}

// Counts the cells of the set met from row y of column x in direction step (+1 down,
// -1 up), wrapping round, until another colour, row y itself or Cap cells.
int countAlongColumn(const QImage &bmp, const TColourSet &set, int x, int y, int step, int cap)
{
    const int h = bmp.height();
    int n = 0;
    for (int yy = (y + step + h) % h; yy != y && n < cap; yy = (yy + step + h) % h) {
        if (!set[bmp.constScanLine(yy)[x]])
            break;
        ++n;
    }
    return n;
}

// The run through P along its column, counted down then up, as the float tests count it:
// at most Cap + 1; Whole when the column is wholly of the colour.
struct TColumnCount {
    long long count = 1;
    bool neighbour = false;
    bool whole = false;
};

TColumnCount columnCount(const QImage &bmp, const TColourSet &set, TPoint p, int cap)
{
    TColumnCount c;
    const int h = bmp.height();
    const bool own = set[bmp.constScanLine(p.Y)[p.X]];
    const int down = countAlongColumn(bmp, set, p.X, p.Y, 1, cap);
    if (own && down == h - 1) { // the column is one run: counting would wrap for ever
        c.whole = true;
        c.neighbour = true; // with one row, the cell itself comes round again
        return c;
    }
    const int up = countAlongColumn(bmp, set, p.X, p.Y, -1, cap - down);
    c.count = 1LL + down + up;
    c.neighbour = down + up > 0;
    return c;
}

bool inside(const QImage &bmp, TPoint p)
{
    return p.X >= 0 && p.Y >= 0 && p.X < bmp.width() && p.Y < bmp.height();
}

// The float rule of one collector, applied to the cyclic column run of a cell of the colour.
struct TFloatRule {
    bool byLength = false;
    int limit = 0; // HasLongFloat rule; no test when 0 or less
    std::vector<long long> listed; // MatchFloatLengths rule

    bool passes(long long run, bool whole) const
    {
        if (!byLength)
            return limit <= 0 || whole || (run >= 2 && run >= limit);
        if (whole)
            return true;
        return std::find(listed.begin(), listed.end(), run) == listed.end();
    }
};

int positiveMod(long long v, int m)
{
    return int(((v % m) + m) % m);
}

// One pass over the picture in row order. Every cell of the colour learns the run it lies in
// along its row and along its column (walked once, when the run is entered), from which the
// margins and the cyclic column run follow without rescanning.
void collect(const QImage &bmp, const TPalette256 &palette, const TFloatScan &scan, const TFloatRule &rule,
    TLineArray &cells)
{
    const int ww = scan.Weave.length();
    const int wh = ww > 0 ? scan.Weave[0].length() : 0;
    if (!usable(bmp) || ww == 0 || wh == 0)
        return;
    const TColourSet set = coloursLike(scan.Color, palette);
    const int w = bmp.width(), h = bmp.height();
    const TFloatMargins &m = scan.Margins;

    // Weave column of every picture column; weave rows are computed per row.
    std::vector<int> weaveCol(w);
    for (int x = 0; x < w; ++x)
        weaveCol[x] = positiveMod(static_cast<long long>(x) - scan.Origin.X, ww);

    // The run of the colour at the bottom of each column, which a run from the top row
    // joins by wrapping. Walked row by row for all columns together.
    std::vector<int> bottomRun(w, 0), topRun(w, 0);
    std::vector<int> open(w);
    for (int x = 0; x < w; ++x)
        open[x] = x;
    for (int y = h - 1; y >= 0 && !open.empty(); --y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        std::size_t k = 0;
        for (int x : open)
            if (set[row[x]]) {
                ++bottomRun[x];
                open[k++] = x;
            }
        open.resize(k);
    }

    std::vector<int> runStart(w, 0), runEnd(w, -1); // current column run of each column
    std::vector<int> matches;
    matches.reserve(w);
    std::vector<TPoint> found;
    ShowProgressGauge();
    TProgressSteps progress(h);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        // The cells of the colour in this row, and the columns entering a run here, whose
        // runs are walked down together, row by row.
        matches.clear();
        open.clear();
        for (int x = 0; x < w; ++x) {
            if (!set[row[x]])
                continue;
            matches.push_back(x);
            if (y > runEnd[x]) {
                runStart[x] = runEnd[x] = y;
                open.push_back(x);
            }
        }
        for (int yy = y + 1; yy < h && !open.empty(); ++yy) {
            const std::uint8_t *next = bmp.constScanLine(yy);
            std::size_t k = 0;
            for (int x : open)
                if (set[next[x]]) {
                    runEnd[x] = yy;
                    open[k++] = x;
                }
            open.resize(k);
        }
        if (y == 0)
            for (int x = 0; x < w; ++x)
                topRun[x] = set[row[x]] ? runEnd[x] + 1 : 0;

        const int wy = wh - 1 - positiveMod(static_cast<long long>(h) - 1 - y - scan.Origin.Y, wh);
        int rowStart = 0, rowEnd = -1;
        for (std::size_t i = 0; i < matches.size(); ++i) {
            const int x = matches[i];
            if (x > rowEnd) { // entering a run along the row: consecutive columns of the list
                std::size_t j = i;
                while (j + 1 < matches.size() && matches[j + 1] == matches[j] + 1)
                    ++j;
                rowStart = x;
                rowEnd = matches[j];
            }
            const int s = runStart[x], e = runEnd[x];
            if (m.Left && rowStart > 0 && x - rowStart < m.LeftLength)
                continue;
            if (m.Right && rowEnd < w - 1 && rowEnd - x < m.RightLength)
                continue;
            if (m.Top && s > 0 && y - s < m.TopLength)
                continue;
            if (m.Bottom && e < h - 1 && e - y < m.BottomLength)
                continue;
            const bool whole = bottomRun[x] == h;
            long long run = e - s + 1;
            if (s == 0)
                run += bottomRun[x];
            else if (e == h - 1)
                run += topRun[x];
            if (!rule.passes(run, whole))
                continue;
            const TDynamicByteArray &warp = scan.Weave[weaveCol[x]];
            if (wy >= warp.length() || warp[wy] != 1)
                continue;
            found.push_back({ x, y });
        }
        progress.step(y + 1);
    }
    progress.finish();

    const int old = cells.length();
    cells.setLength(old + qsizetype(found.size()));
    std::copy(found.begin(), found.end(), cells.begin() + old);
}

} // namespace

bool HasLongFloat(const QImage &bmp, const TPalette256 &palette, TColor color, int limit, TPoint p)
{
    if (!usable(bmp) || !inside(bmp, p))
        return false;
    const TColourSet set = coloursLike(color, palette);
    const int cap = std::max(limit, 2) - 1; // neighbours needed to decide
    const TColumnCount c = columnCount(bmp, set, p, cap);
    return c.neighbour && (c.whole || c.count >= limit);
}

bool MatchFloatLengths(
    TColor color, const TPalette256 &palette, const QImage &bmp, TPoint p, const TIntegerArray &lengths)
{
    if (lengths.isEmpty() || !usable(bmp) || !inside(bmp, p))
        return true;
    const TColourSet set = coloursLike(color, palette);
    // Counting stops once past the largest length. The list is only read: it is the
    // caller's (a colour's allowed lengths, shared with whoever holds a copy of it).
    const int cap = std::max(*std::max_element(lengths.begin(), lengths.end()), 1);
    const TColumnCount c = columnCount(bmp, set, p, cap);
    if (c.whole)
        return true;
    return std::find(lengths.begin(), lengths.end(), c.count) == lengths.end();
}

void FindLongFloats(
    const QImage &bmp, const TPalette256 &palette, const TFloatScan &scan, int floatLength, TLineArray &cells)
{
    TFloatRule rule;
    rule.limit = floatLength;
    collect(bmp, palette, scan, rule, cells);
}

void FindFloatsOfLengths(const QImage &bmp, const TPalette256 &palette, const TFloatScan &scan,
    const TIntegerArray &lengths, TLineArray &cells)
{
    TFloatRule rule;
    rule.byLength = true;
    for (const auto l : lengths)
        rule.listed.push_back(l);
    collect(bmp, palette, scan, rule, cells);
}
