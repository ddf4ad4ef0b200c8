// Float tests at one cell and the cell collectors of weave tiling.
#include "core/palette/floatscan.h"

#include "core/base/progress.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

bool usable(const QImage &bmp)
{
    return !bmp.isNull() && bmp.format() == QImage::Format_Indexed8;
}

bool inside(const QImage &bmp, TPoint p)
{
    return p.X >= 0 && p.Y >= 0 && p.X < bmp.width() && p.Y < bmp.height();
}

// Counts the cells of Index met from row y of column x in direction step (+1 down, -1 up),
// wrapping round, until another index, row y itself or Cap cells.
int countAlongColumn(const QImage &bmp, int index, int x, int y, int step, long long cap)
{
    const int h = bmp.height();
    int n = 0;
    for (int yy = (y + step + h) % h; yy != y && n < cap; yy = (yy + step + h) % h) {
        if (bmp.constScanLine(yy)[x] != index)
            break;
        ++n;
    }
    return n;
}

// The run through P as the float tests count it: P, then the cells of Index below it, then
// those above it, at most Cap + 1 in all. Endless when P and its whole column hold Index.
struct TColumnCount {
    long long count = 1;
    bool neighbour = false;
    bool endless = false;
};

TColumnCount columnCount(const QImage &bmp, int index, TPoint p, long long cap)
{
    TColumnCount c;
    const int h = bmp.height();
    const int down = countAlongColumn(bmp, index, p.X, p.Y, 1, cap);
    if (bmp.constScanLine(p.Y)[p.X] == index && down == h - 1) {
        c.endless = true; // counting would wrap round for ever
        c.neighbour = true; // with one row, the cell itself comes round again
        return c;
    }
    const int up = countAlongColumn(bmp, index, p.X, p.Y, -1, cap - down);
    c.count = 1LL + down + up;
    c.neighbour = down + up > 0;
    return c;
}

// The float rule of one collector, applied to the column run of a candidate cell.
struct TFloatRule {
    bool byLength = false;
    int limit = 0; // HasLongFloat rule; no test when 0 or less
    std::vector<long long> listed; // MatchFloatLengths rule; no test when empty

    bool active() const { return byLength ? !listed.empty() : limit > 0; }
    bool passes(long long run, bool neighbour, bool endless) const
    {
        if (!byLength)
            return endless || (neighbour && run >= limit);
        return endless || std::find(listed.begin(), listed.end(), run) == listed.end();
    }
};

int positiveMod(long long v, int m)
{
    return int(((v % m) + m) % m);
}

// For every column, the first row after the current one that does not hold Index, kept
// while the scan goes down the picture. A column's value is looked for again only once
// the scan reaches it, from the row below, so every cell is read at most once; the columns
// that need it at the same row are walked down together, row by row.
class TNextOther {
public:
    TNextOther(const QImage &bmp, int index)
        : m_bmp(bmp)
        , m_index(index)
        , m_next(std::size_t(bmp.width()), 0)
    {
        m_open.reserve(m_next.size());
    }
    // Brings every column up to date for row y (rows are given in increasing order).
    void advance(int y)
    {
        const int w = m_bmp.width(), h = m_bmp.height();
        m_open.clear();
        for (int x = 0; x < w; ++x)
            if (m_next[std::size_t(x)] <= y)
                m_open.push_back(x);
        for (int yy = y + 1; yy < h && !m_open.empty(); ++yy) {
            const std::uint8_t *row = m_bmp.constScanLine(yy);
            std::size_t k = 0;
            for (int x : m_open)
                if (row[x] == m_index)
                    m_open[k++] = x;
                else
                    m_next[std::size_t(x)] = yy;
            m_open.resize(k);
        }
        for (int x : m_open)
            m_next[std::size_t(x)] = h;
    }
    int operator[](int x) const { return m_next[std::size_t(x)]; }

private:
    const QImage &m_bmp;
    int m_index;
    std::vector<int> m_next;
    std::vector<int> m_open;
};

// The number of cells of Index at the bottom of each column (counted from the last row up),
// the columns walked together row by row.
std::vector<int> bottomRuns(const QImage &bmp, int index, const std::vector<int> &columns)
{
    std::vector<int> runs(std::size_t(bmp.width()), 0);
    std::vector<int> open = columns;
    for (int y = bmp.height() - 1; y >= 0 && !open.empty(); --y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        std::size_t k = 0;
        for (int x : open)
            if (row[x] == index) {
                ++runs[std::size_t(x)];
                open[k++] = x;
            }
        open.resize(k);
    }
    return runs;
}

// One pass over the picture from the top row. Per column it keeps the cells of the chosen
// index and of the float index just above the current row, and the first row below that
// holds another index; per row the cells of the chosen index just left and right of each
// cell. From these the margins and the cyclic column run of every cell follow directly.
void collect(const QImage &bmp, const TPalette256 &palette, const TFloatScan &scan, const TFloatRule &rule,
    TLineArray &cells)
{
    const int ww = scan.Weave.length();
    const int wh = ww > 0 ? scan.Weave[0].length() : 0;
    if (!usable(bmp) || ww == 0 || wh == 0 || scan.ColorIndex < 0 || scan.ColorIndex > 255)
        return;
    const int c = scan.ColorIndex;
    // The float index: the first entry holding the chosen colour (c itself at the latest).
    int f = 0;
    while (!ColorsWithinTolerance(palette[f], palette[c], 0))
        ++f;
    std::array<bool, 256> candidate {};
    for (int i = 0; i < 256; ++i)
        candidate[std::size_t(i)] = ColorsWithinTolerance(palette[i], palette[c], 0);

    const int w = bmp.width(), h = bmp.height();
    const TFloatMargins &m = scan.Margins;
    const bool floatTest = rule.active();

    std::vector<int> weaveCol(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        weaveCol[std::size_t(x)] = positiveMod(static_cast<long long>(x) - scan.Origin.X, ww);

    std::vector<int> aboveC(std::size_t(w), 0), aboveF(std::size_t(w), 0); // runs just above the row
    std::vector<int> rightC(static_cast<std::size_t>(w), 0);
    std::optional<TNextOther> belowC, belowF;
    if (m.Bottom)
        belowC.emplace(bmp, c);
    if (floatTest && !(m.Bottom && f == c))
        belowF.emplace(bmp, f);
    const TNextOther *nextF = floatTest ? (belowF ? &*belowF : &*belowC) : nullptr;
    // A run of F that reaches the bottom (top) row goes on at the top (bottom) of its column.
    std::vector<int> topF(std::size_t(w), 0), bottomF;
    if (floatTest) {
        TNextOther fromTop(bmp, f);
        fromTop.advance(0);
        std::vector<int> partial;
        const std::uint8_t *first = bmp.constScanLine(0);
        for (int x = 0; x < w; ++x) {
            topF[std::size_t(x)] = first[x] == f ? fromTop[x] : 0;
            if (topF[std::size_t(x)] < h)
                partial.push_back(x);
        }
        bottomF = bottomRuns(bmp, f, partial);
        for (int x = 0; x < w; ++x)
            if (topF[std::size_t(x)] == h)
                bottomF[std::size_t(x)] = h;
    }

    // The weave points of a row, one byte per column.
    std::vector<std::uint8_t> points(static_cast<std::size_t>(w));
    auto weaveRow = [&](int y) {
        const int wy = wh - 1 - positiveMod(static_cast<long long>(h) - 1 - y - scan.Origin.Y, wh);
        for (int x = 0; x < w; ++x) {
            const TDynamicByteArray &warp = scan.Weave[weaveCol[std::size_t(x)]];
            points[std::size_t(x)] = wy < warp.length() && warp[wy] == 1;
        }
    };
    // The cells are written straight into the caller's list, sized once for the most that
    // can pass (the candidates on weave points): growing it as cells are found would copy
    // and fault in the list's pages several times over.
    long long most = 0;
    for (int y = 0; y < h; ++y) {
        weaveRow(y);
        const std::uint8_t *row = bmp.constScanLine(y);
        for (int x = 0; x < w; ++x)
            most += candidate[row[x]] & points[std::size_t(x)];
    }
    const qsizetype old = cells.length();
    if (most > 0)
        cells.setLength(old + qsizetype(most));
    TPoint *out = cells.data() + old;

    ShowProgressGauge();
    TProgressSteps progress(h);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        if (belowC)
            belowC->advance(y);
        if (belowF)
            belowF->advance(y);
        if (m.Right) {
            int run = 0;
            for (int x = w - 1; x >= 0; --x) {
                rightC[std::size_t(x)] = run;
                run = row[x] == c ? run + 1 : 0;
            }
        }
        weaveRow(y);
        int leftC = 0;
        for (int x = 0; x < w; ++x) {
            const std::size_t ux = std::size_t(x);
            const int index = row[x];
            const int left = leftC;
            leftC = index == c ? leftC + 1 : 0;
            if (!candidate[std::size_t(index)] || !points[ux])
                continue;
            if (m.Left && left < std::min(m.LeftLength, x))
                continue;
            if (m.Right && rightC[ux] < std::min(m.RightLength, w - 1 - x))
                continue;
            if (m.Top && aboveC[ux] < std::min(m.TopLength, y))
                continue;
            if (m.Bottom && (*belowC)[x] - y - 1 < std::min(m.BottomLength, h - 1 - y))
                continue;
            if (floatTest) {
                const int other = (*nextF)[x];
                const long long down = other < h ? other - y - 1 : (h - 1 - y) + std::min(topF[ux], y);
                const long long up = aboveF[ux] < y ? aboveF[ux] : y + std::min(bottomF[ux], h - 1 - y);
                const bool endless = index == f && topF[ux] == h;
                if (!rule.passes(1 + down + up, down + up > 0, endless))
                    continue;
            }
            *out++ = TPoint { x, y };
        }
        for (int x = 0; x < w; ++x) {
            const std::size_t ux = std::size_t(x);
            aboveC[ux] = row[x] == c ? aboveC[ux] + 1 : 0;
            aboveF[ux] = row[x] == f ? aboveF[ux] + 1 : 0;
        }
        progress.step(y + 1);
    }
    progress.finish();

    cells.truncate(old + qsizetype(out - (cells.data() + old)));
}

// The first palette index holding Color, or -1.
int floatIndex(TColor color, const TPalette256 &palette)
{
    return FindPaletteColorIndex(color, palette);
}

} // namespace

bool HasLongFloat(const QImage &bmp, const TPalette256 &palette, TColor color, int limit, TPoint p)
{
    const int f = floatIndex(color, palette);
    if (!usable(bmp) || !inside(bmp, p) || f < 0)
        return false;
    const long long cap = std::max(limit, 2) - 1LL; // neighbours needed to decide
    const TColumnCount c = columnCount(bmp, f, p, cap);
    return c.neighbour && (c.endless || c.count >= limit);
}

bool MatchFloatLengths(
    TColor color, const TPalette256 &palette, const QImage &bmp, TPoint p, const TIntegerArray &lengths)
{
    const int f = floatIndex(color, palette);
    if (lengths.isEmpty() || !usable(bmp) || !inside(bmp, p) || f < 0)
        return true;
    // Counting stops once past the largest length. The list is only read: it is the
    // caller's (a colour's allowed lengths, shared with whoever holds a copy of it).
    const long long cap = std::max<long long>(*std::max_element(lengths.begin(), lengths.end()), 1);
    const TColumnCount c = columnCount(bmp, f, p, cap);
    if (c.endless)
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
