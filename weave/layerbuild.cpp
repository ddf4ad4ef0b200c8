// The layer documents' tiling: several colours' scans shared in one pass over the picture.
#include "weave/layerbuild.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace {

bool sameRgb(const TPaletteEntry &a, const TPaletteEntry &b)
{
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

// For every column, the first row at or after Start (the row below the current one) whose
// index differs from the cell at Start, kept while the scan goes down the picture. A
// column's run is looked for again only once the scan leaves it, and the columns that need
// it at the same row are walked down together, so every cell is read about once.
class TRunBelow {
public:
    explicit TRunBelow(const QImage &bmp)
        : m_bmp(bmp)
        , m_next(std::size_t(bmp.width()), 0)
        , m_index(std::size_t(bmp.width()), 0)
    {
        m_open.reserve(m_next.size());
    }
    void advance(int y)
    {
        const int w = m_bmp.width(), h = m_bmp.height();
        const int start = y + 1;
        if (start >= h) {
            std::fill(m_next.begin(), m_next.end(), h);
            return;
        }
        const std::uint8_t *first = m_bmp.constScanLine(start);
        m_open.clear();
        for (int x = 0; x < w; ++x)
            if (m_next[std::size_t(x)] <= start) {
                m_index[std::size_t(x)] = first[x];
                m_open.push_back(x);
            }
        for (int yy = start + 1; yy < h && !m_open.empty(); ++yy) {
            const std::uint8_t *row = m_bmp.constScanLine(yy);
            std::size_t k = 0;
            for (int x : m_open)
                if (row[x] == m_index[std::size_t(x)])
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
    std::vector<int> m_next;
    std::vector<std::uint8_t> m_index;
    std::vector<int> m_open;
};

// The length of the run of equal cells at the top (fromTop) or bottom of each column; the
// picture's height for a column of one index.
std::vector<int> edgeRuns(const QImage &bmp, bool fromTop)
{
    const int w = bmp.width(), h = bmp.height();
    std::vector<int> runs(std::size_t(w), 1);
    const std::uint8_t *edge = bmp.constScanLine(fromTop ? 0 : h - 1);
    std::vector<int> open(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        open[std::size_t(x)] = x;
    for (int i = 1; i < h && !open.empty(); ++i) {
        const std::uint8_t *row = bmp.constScanLine(fromTop ? i : h - 1 - i);
        std::size_t k = 0;
        for (int x : open)
            if (row[x] == edge[x]) {
                ++runs[std::size_t(x)];
                open[k++] = x;
            }
        open.resize(k);
    }
    return runs;
}

int positiveMod(long long v, int m)
{
    return int(((v % m) + m) % m);
}

// One colour of a pass: its index, the index its floats follow, its weave flattened weft
// by weft, and the weave column of every picture column.
struct TPassScan {
    int Index = 0;
    int FloatIndex = 0;
    int Warps = 0;
    int Wefts = 0;
    std::vector<std::uint8_t> Points; // [weft * Warps + warp], 1 for a weave point
    const std::vector<int> *Columns = nullptr;
};

class TPass {
public:
    TPass(QImage &bmp, const TPalette256 &palette, const TFloatMargins &margins, int floatLength, int black)
        : m_bmp(bmp)
        , m_palette(palette)
        , m_margins(margins)
        , m_floatLength(floatLength)
        , m_black(std::uint8_t(black))
        , m_w(bmp.width())
        , m_h(bmp.height())
    {
        m_of.fill(-1);
    }

    void add(const TTileJob &job);
    void run();

private:
    bool passesMargins(const TPassScan &s, int x, int y, const std::uint8_t *row, int left) const;
    bool passesFloat(const TPassScan &s, int x, int y, int index) const;

    QImage &m_bmp;
    const TPalette256 &m_palette;
    const TFloatMargins &m_margins;
    const int m_floatLength;
    const std::uint8_t m_black;
    const int m_w, m_h;
    std::vector<TPassScan> m_scans;
    std::array<int, 256> m_of {}; // the scan each palette index is a candidate of, or -1
    std::map<int, std::vector<int>> m_columns; // weave column of each picture column, by weave width
    // What the scan keeps per column and row.
    std::vector<std::uint8_t> m_above; // the row above, as it was before painting
    std::vector<int> m_aboveRun; // its run of equal cells ending there
    std::vector<int> m_rightRun; // the run of equal cells starting right of each cell
    std::vector<int> m_top, m_bottom;
    std::vector<std::uint8_t> m_firstRow, m_lastRow; // rows 0 and h - 1 as the pass began
    const std::uint8_t *m_first = nullptr;
    const std::uint8_t *m_last = nullptr;
    const std::uint8_t *m_below = nullptr;
    std::optional<TRunBelow> m_runBelow;
};

void TPass::add(const TTileJob &job)
{
    TPassScan s;
    s.Index = job.Index;
    while (!sameRgb(m_palette[std::size_t(s.FloatIndex)], m_palette[std::size_t(s.Index)]))
        ++s.FloatIndex;
    s.Warps = job.Weave.length();
    s.Wefts = job.Weave[0].length();
    s.Points.assign(std::size_t(s.Warps) * std::size_t(s.Wefts), 0);
    for (int wx = 0; wx < s.Warps; ++wx) {
        const TDynamicByteArray &warp = job.Weave[wx];
        for (int wy = 0; wy < s.Wefts && wy < warp.length(); ++wy)
            s.Points[std::size_t(wy) * std::size_t(s.Warps) + std::size_t(wx)] = warp[wy] == 1;
    }
    auto &columns = m_columns[s.Warps];
    if (columns.empty()) {
        columns.resize(std::size_t(m_w));
        for (int x = 0; x < m_w; ++x)
            columns[std::size_t(x)] = x % s.Warps;
    }
    s.Columns = &columns;
    const int id = int(m_scans.size());
    for (int i = 0; i < 256; ++i)
        if (sameRgb(m_palette[std::size_t(i)], m_palette[std::size_t(s.Index)]))
            m_of[std::size_t(i)] = id;
    m_scans.push_back(std::move(s));
}

bool TPass::passesMargins(const TPassScan &s, int x, int y, const std::uint8_t *row, int left) const
{
    const TFloatMargins &m = m_margins;
    const std::size_t ux = std::size_t(x);
    const int n = s.Index;
    if (m.Left && (x > 0 && row[x - 1] == n ? left : 0) < std::min(m.LeftLength, x))
        return false;
    if (m.Right
        && (x + 1 < m_w && row[x + 1] == n ? m_rightRun[ux] : 0) < std::min(m.RightLength, m_w - 1 - x))
        return false;
    if (m.Top && (y > 0 && m_above[ux] == n ? m_aboveRun[ux] : 0) < std::min(m.TopLength, y))
        return false;
    if (!m.Bottom)
        return true;
    const int below = y + 1 < m_h && m_below[x] == n ? (*m_runBelow)[x] - y - 1 : 0;
    return below >= std::min(m.BottomLength, m_h - 1 - y);
}

// The column run through (x, y) as the float test counts it, continued cyclically.
bool TPass::passesFloat(const TPassScan &s, int x, int y, int index) const
{
    const std::size_t ux = std::size_t(x);
    const int f = s.FloatIndex;
    const long long top = m_first[x] == f ? std::min(m_top[ux], y) : 0;
    long long down = 0;
    if (y == m_h - 1)
        down = top;
    else if (m_below[x] == f) {
        const int end = (*m_runBelow)[x];
        down = end < m_h ? end - y - 1 : (m_h - 1 - y) + top;
    }
    const int above = y > 0 && m_above[ux] == f ? m_aboveRun[ux] : 0;
    const long long up = above < y ? above : y + (m_last[x] == f ? std::min(m_bottom[ux], m_h - 1 - y) : 0);
    const bool endless = index == f && m_first[x] == f && m_top[ux] == m_h;
    return endless || (down + up > 0 && 1 + down + up >= m_floatLength);
}

void TPass::run()
{
    if (m_scans.empty())
        return;
    const bool floatTest = m_floatLength > 0;
    const std::size_t w = std::size_t(m_w);
    if (floatTest) {
        m_top = edgeRuns(m_bmp, true);
        m_bottom = edgeRuns(m_bmp, false);
    }
    if (floatTest || m_margins.Bottom)
        m_runBelow.emplace(m_bmp);
    m_firstRow.assign(m_bmp.constScanLine(0), m_bmp.constScanLine(0) + w);
    m_lastRow.assign(m_bmp.constScanLine(m_h - 1), m_bmp.constScanLine(m_h - 1) + w);
    m_first = m_firstRow.data();
    m_last = m_lastRow.data();
    m_above.assign(w, 0);
    m_aboveRun.assign(w, 0);
    m_rightRun.assign(w, 0);
    std::vector<const std::uint8_t *> weaveRows(m_scans.size());
    std::vector<int> painted;
    painted.reserve(w);
    // Rows are painted once passed: what is read below them, and the row above as kept,
    // are the cells as they stood when the pass began.
    for (int y = 0; y < m_h; ++y) {
        std::uint8_t *row = m_bmp.scanLine(y);
        m_below = y + 1 < m_h ? m_bmp.constScanLine(y + 1) : nullptr;
        if (m_runBelow)
            m_runBelow->advance(y);
        if (m_margins.Right) {
            int run = 0;
            for (int x = m_w - 1; x >= 0; --x) {
                m_rightRun[std::size_t(x)] = run;
                run = x + 1 < m_w && row[x] == row[x + 1] ? run + 1 : 1;
            }
        }
        for (std::size_t i = 0; i < m_scans.size(); ++i) {
            const TPassScan &s = m_scans[i];
            const int wy = s.Wefts - 1 - positiveMod(static_cast<long long>(m_h) - 1 - y, s.Wefts);
            weaveRows[i] = s.Points.data() + std::size_t(wy) * std::size_t(s.Warps);
        }
        painted.clear();
        int leftRun = 0; // the run of equal cells ending left of x
        for (int x = 0; x < m_w; ++x) {
            const int index = row[x];
            const int left = leftRun;
            leftRun = x > 0 && row[x - 1] == index ? leftRun + 1 : 1;
            const int id = m_of[std::size_t(index)];
            if (id < 0)
                continue;
            const TPassScan &s = m_scans[std::size_t(id)];
            if (!weaveRows[std::size_t(id)][(*s.Columns)[std::size_t(x)]])
                continue;
            if (!passesMargins(s, x, y, row, left))
                continue;
            if (floatTest && !passesFloat(s, x, y, index))
                continue;
            painted.push_back(x);
        }
        for (std::size_t x = 0; x < w; ++x) {
            m_aboveRun[x] = y > 0 && row[x] == m_above[x] ? m_aboveRun[x] + 1 : 1;
            m_above[x] = row[x];
        }
        for (int x : painted)
            row[x] = m_black;
    }
}

} // namespace

int LayerColorSlot(const TMesh &mesh, int layer, int color)
{
    const int perRow = mesh.Colors.length() * std::max(mesh.WarpRepeat, 1);
    return layer * perRow + color * std::max(mesh.WarpRepeat, 1);
}

void TileJobsInOrder(QImage &picture, const TPalette256 &palette, const QList<TTileJob> &jobs,
    const TFloatMargins &margins, int floatLength, int black)
{
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8 || black < 0 || black > 255)
        return;
    picture.bits(); // one picture of its own, before any row is read
    const TPaletteEntry blackColor = palette[std::size_t(black)];
    // A scan of black's own colour paints cells of that colour black: it changes only cells
    // held under another entry of that colour, so without such cells it changes nothing.
    bool blackTwin = false;
    {
        std::array<bool, 256> twin {};
        for (int i = 0; i < 256; ++i)
            twin[std::size_t(i)] = i != black && sameRgb(palette[std::size_t(i)], blackColor);
        for (int y = 0; y < picture.height() && !blackTwin; ++y) {
            const std::uint8_t *row = picture.constScanLine(y);
            for (int x = 0; x < picture.width(); ++x)
                if (twin[row[x]]) {
                    blackTwin = true;
                    break;
                }
        }
    }
    // A scan waits for a later pass when one before it changes what it reads: a scan of the
    // same colour paints its cells black; black's colour reads every painted cell. Other
    // scans never meet: painting takes cells out of their own colour only.
    std::vector<int> passOf(std::size_t(jobs.size()), -1);
    std::map<std::uint32_t, int> lastOfColor;
    int floor = 0, last = -1;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const TTileJob &job = jobs[i];
        if (job.Index < 0 || job.Index > 255 || job.Weave.isEmpty() || job.Weave[0].isEmpty())
            continue;
        const TPaletteEntry c = palette[std::size_t(job.Index)];
        const std::uint32_t key = c.Red | (c.Green << 8) | (c.Blue << 16);
        int pass;
        if (sameRgb(c, blackColor)) {
            if (!blackTwin)
                continue;
            pass = last + 1;
            floor = pass;
        } else {
            const auto it = lastOfColor.find(key);
            pass = std::max(floor, it == lastOfColor.end() ? 0 : it->second + 1);
        }
        lastOfColor[key] = pass;
        last = std::max(last, pass);
        passOf[std::size_t(i)] = pass;
    }
    for (int p = 0; p <= last; ++p) {
        TPass pass(picture, palette, margins, floatLength, black);
        for (qsizetype i = 0; i < jobs.size(); ++i)
            if (passOf[std::size_t(i)] == p)
                pass.add(jobs[i]);
        pass.run();
    }
}

int LayerPalette(const QImage &picture, TPalette256 &palette)
{
    if (PaletteHasColor(palette, BlackQuad))
        return NearestColorIndex(palette.data(), 256, 0, 0, 0);
    TColorCounts counts;
    CountColorUse(picture, counts);
    const int index = FindFirstUnusedEntry(counts);
    if (index >= 0)
        palette[std::size_t(index)] = BlackQuad;
    return index;
}

bool BuildLayerPictures(const TMesh &mesh, const QImage &picture, const TPalette256 &palette,
    const TFloatMargins &margins, int floatLength, QList<QImage> &layers, QString *error)
{
    TPalette256 layerPalette = palette;
    const int black = LayerPalette(picture, layerPalette);
    if (black < 0)
        return Fail(error, GetUiMessage(UiKey::String::TileNoEntryForBlack));
    QList<QImage> built;
    const int layerCount = std::max(mesh.LayerCount, 1);
    for (int r = 0; r < layerCount; ++r) {
        QList<TTileJob> jobs;
        for (int c = 0; c < mesh.Colors.length(); ++c) {
            const int slot = LayerColorSlot(mesh, r, c);
            if (slot >= mesh.ColorWeaves.length())
                continue; // no weave given: nothing to tile
            const TPaletteEntry colour = ColorToEntry(mesh.Colors[c]);
            TTileJob job;
            job.Index = NearestColorIndex(layerPalette.data(), 256, colour.Red, colour.Green, colour.Blue);
            job.Weave = mesh.ColorWeaves[slot];
            jobs.append(job);
        }
        QImage layer = picture.copy();
        if (layer.isNull())
            return Fail(error, GetUiMessage(UiKey::String::PictureNoMemory));
        SetBitmapPalette(layer, layerPalette);
        TileJobsInOrder(layer, layerPalette, jobs, margins, floatLength, black);
        built.append(layer);
    }
    layers = built;
    return true;
}
