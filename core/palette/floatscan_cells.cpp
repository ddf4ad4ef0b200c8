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
class TCollector {
public:
    TCollector(const QImage &bmp, const TPalette256 &palette, const TFloatScan &scan, const TFloatRule &rule)
        : m_bmp(bmp)
        , m_scan(scan)
        , m_rule(rule)
        , m_w(bmp.width())
        , m_h(bmp.height())
        , m_ww(scan.Weave.length())
        , m_wh(m_ww > 0 ? scan.Weave[0].length() : 0)
        , m_c(scan.ColorIndex)
        , m_floatTest(rule.active())
    {
        // The float index: the first entry holding the chosen colour (c itself at the latest).
        while (!ColorsWithinTolerance(palette[m_f], palette[m_c], 0))
            ++m_f;
        for (int i = 0; i < 256; ++i)
            m_candidate[std::size_t(i)] = ColorsWithinTolerance(palette[i], palette[m_c], 0);
    }

    void run(TLineArray &cells);

private:
    void prepareColumns();
    void findWrappingRuns();
    void weaveRow(int y);
    long long mostCells();
    TPoint *scanRow(int y, TPoint *out);
    bool passesMargins(int x, int y, int left) const;
    bool passesFloat(int x, int y, int index) const;

    const QImage &m_bmp;
    const TFloatScan &m_scan;
    const TFloatRule &m_rule;
    const int m_w, m_h; // picture
    const int m_ww, m_wh; // weave
    const int m_c; // the chosen index
    int m_f = 0; // the float index
    const bool m_floatTest;
    std::array<bool, 256> m_candidate {};
    std::vector<int> m_weaveCol; // weave column of each picture column
    std::vector<std::uint8_t> m_points; // the weave points of the current row
    std::vector<int> m_aboveC, m_aboveF; // runs just above the row
    std::vector<int> m_rightC; // runs just right of each cell of the row
    std::optional<TNextOther> m_belowC, m_belowF;
    const TNextOther *m_nextF = nullptr;
    std::vector<int> m_topF, m_bottomF; // runs of F at the top and bottom of each column
};

void TCollector::prepareColumns()
{
    const auto w = std::size_t(m_w);
    m_weaveCol.resize(w);
    for (int x = 0; x < m_w; ++x)
        m_weaveCol[std::size_t(x)] = positiveMod(static_cast<long long>(x) - m_scan.Origin.X, m_ww);
    m_points.resize(w);
    m_aboveC.assign(w, 0);
    m_aboveF.assign(w, 0);
    m_rightC.assign(w, 0);
    if (m_scan.Margins.Bottom)
        m_belowC.emplace(m_bmp, m_c);
    if (m_floatTest && !(m_scan.Margins.Bottom && m_f == m_c))
        m_belowF.emplace(m_bmp, m_f);
    m_nextF = m_floatTest ? (m_belowF ? &*m_belowF : &*m_belowC) : nullptr;
}

// A run of F that reaches the bottom (top) row goes on at the top (bottom) of its column.
void TCollector::findWrappingRuns()
{
    m_topF.assign(std::size_t(m_w), 0);
    if (!m_floatTest)
        return;
    TNextOther fromTop(m_bmp, m_f);
    fromTop.advance(0);
    std::vector<int> partial;
    const std::uint8_t *first = m_bmp.constScanLine(0);
    for (int x = 0; x < m_w; ++x) {
        m_topF[std::size_t(x)] = first[x] == m_f ? fromTop[x] : 0;
        if (m_topF[std::size_t(x)] < m_h)
            partial.push_back(x);
    }
    m_bottomF = bottomRuns(m_bmp, m_f, partial);
    for (int x = 0; x < m_w; ++x)
        if (m_topF[std::size_t(x)] == m_h)
            m_bottomF[std::size_t(x)] = m_h;
}

// The weave points of a row, one byte per column.
void TCollector::weaveRow(int y)
{
    const int wy = m_wh - 1 - positiveMod(static_cast<long long>(m_h) - 1 - y - m_scan.Origin.Y, m_wh);
    for (int x = 0; x < m_w; ++x) {
        const TDynamicByteArray &warp = m_scan.Weave[m_weaveCol[std::size_t(x)]];
        m_points[std::size_t(x)] = wy < warp.length() && warp[wy] == 1;
    }
}

// The most cells that can pass: the candidates on weave points.
long long TCollector::mostCells()
{
    long long most = 0;
    for (int y = 0; y < m_h; ++y) {
        weaveRow(y);
        const std::uint8_t *row = m_bmp.constScanLine(y);
        for (int x = 0; x < m_w; ++x)
            most += m_candidate[row[x]] & m_points[std::size_t(x)];
    }
    return most;
}

// The margins of cell (x, y), whose row holds left cells of the chosen index just left of it.
bool TCollector::passesMargins(int x, int y, int left) const
{
    const TFloatMargins &m = m_scan.Margins;
    const std::size_t ux = std::size_t(x);
    if (m.Left && left < std::min(m.LeftLength, x))
        return false;
    if (m.Right && m_rightC[ux] < std::min(m.RightLength, m_w - 1 - x))
        return false;
    if (m.Top && m_aboveC[ux] < std::min(m.TopLength, y))
        return false;
    return !m.Bottom || (*m_belowC)[x] - y - 1 >= std::min(m.BottomLength, m_h - 1 - y);
}

// The float rule on the cyclic column run of cell (x, y), which holds index.
bool TCollector::passesFloat(int x, int y, int index) const
{
    const std::size_t ux = std::size_t(x);
    const int other = (*m_nextF)[x];
    const long long down = other < m_h ? other - y - 1 : (m_h - 1 - y) + std::min(m_topF[ux], y);
    const long long up = m_aboveF[ux] < y ? m_aboveF[ux] : y + std::min(m_bottomF[ux], m_h - 1 - y);
    const bool endless = index == m_f && m_topF[ux] == m_h;
    return m_rule.passes(1 + down + up, down + up > 0, endless);
}

// Writes the cells of row y that pass to out; returns the end of what was written.
TPoint *TCollector::scanRow(int y, TPoint *out)
{
    const std::uint8_t *row = m_bmp.constScanLine(y);
    if (m_belowC)
        m_belowC->advance(y);
    if (m_belowF)
        m_belowF->advance(y);
    if (m_scan.Margins.Right) {
        int run = 0;
        for (int x = m_w - 1; x >= 0; --x) {
            m_rightC[std::size_t(x)] = run;
            run = row[x] == m_c ? run + 1 : 0;
        }
    }
    weaveRow(y);
    int leftC = 0;
    for (int x = 0; x < m_w; ++x) {
        const int index = row[x];
        const int left = leftC;
        leftC = index == m_c ? leftC + 1 : 0;
        if (!m_candidate[std::size_t(index)] || !m_points[std::size_t(x)] || !passesMargins(x, y, left))
            continue;
        if (m_floatTest && !passesFloat(x, y, index))
            continue;
        *out++ = TPoint { x, y };
    }
    for (int x = 0; x < m_w; ++x) {
        const std::size_t ux = std::size_t(x);
        m_aboveC[ux] = row[x] == m_c ? m_aboveC[ux] + 1 : 0;
        m_aboveF[ux] = row[x] == m_f ? m_aboveF[ux] + 1 : 0;
    }
    return out;
}

void TCollector::run(TLineArray &cells)
{
    prepareColumns();
    findWrappingRuns();
    // The cells are written straight into the caller's list, sized once for the most that
    // can pass: growing it as cells are found would copy and fault in the list's pages
    // several times over.
    const long long most = mostCells();
    const qsizetype old = cells.length();
    if (most > 0)
        cells.setLength(old + qsizetype(most));
    TPoint *const first = cells.data() + old;
    TPoint *out = first;

    ShowProgressGauge();
    TProgressSteps progress(m_h);
    for (int y = 0; y < m_h; ++y) {
        out = scanRow(y, out);
        progress.step(y + 1);
    }
    progress.finish();
    cells.truncate(old + qsizetype(out - first));
}

void collect(const QImage &bmp, const TPalette256 &palette, const TFloatScan &scan, const TFloatRule &rule,
    TLineArray &cells)
{
    const int ww = scan.Weave.length();
    const int wh = ww > 0 ? scan.Weave[0].length() : 0;
    if (!usable(bmp) || ww == 0 || wh == 0 || scan.ColorIndex < 0 || scan.ColorIndex > 255)
        return;
    TCollector(bmp, palette, scan, rule).run(cells);
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
