#include "card/cardbuild.h"
#include "card/cardmessages.h"
#include "core/settings/uitexts.h"

#include "card/carddivide.h"
#include "card/needlebits.h"
#include "card/needlemap.h"
#include "card/rowtables.h"
#include "core/base/rulenotation.h"
#include "core/settings/sharedstate.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <numeric>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Bytes of card a thread of its own must fill to pay for itself.
constexpr qint64 CardBytesPerThread = qint64(256) << 10;

// Entry tables are kept for weft cycles up to this many rows.
constexpr int MaxWeftCycle = 64;

// A weave slot prepared for lookups: cell [x mod GW][j] through one pointer per warp.
struct TWeaveView {
    int GW = 0;
    int GH = 0;
    std::vector<TDynamicByteArray> Hold; // keeps the warps alive while the build runs
    std::vector<const std::uint8_t *> Warps;
    const int *XMod = nullptr; // x mod GW for every design column a card reads
    bool Empty() const { return GW == 0 || GH == 0; }
};

TWeaveView MakeView(const TWeaveArray &w)
{
    TWeaveView v;
    if (w.isEmpty())
        return v;
    int gh = w[0].length();
    for (const auto &warp : w)
        gh = std::min(gh, int(warp.length())); // a ragged weave is read no further than its shortest warp
    if (gh == 0)
        return v;
    v.GW = w.length();
    v.GH = gh;
    v.Hold.assign(w.begin(), w.end());
    v.Warps.reserve(std::size_t(v.GW));
    for (const auto &warp : v.Hold)
        v.Warps.push_back(warp.data());
    return v;
}

TWeaveView MakeView(const TWeaveList &list, qint64 slot)
{
    return slot >= 0 && slot < list.length() ? MakeView(list[slot]) : TWeaveView();
}

// Row j of a weave: 1 when every cell is 1, 0 when none is, -2 when mixed.
std::int8_t RowUniformity(const TWeaveView &v, int j)
{
    const bool first = v.Warps[0][j] == 1;
    for (int i = 1; i < v.GW; ++i)
        if ((v.Warps[i][j] == 1) != first)
            return -2;
    return first ? 1 : 0;
}

bool TableCovers(const TWeaveArray &table, int entries, int rows)
{
    if (table.length() < entries)
        return false;
    for (int e = 0; e < entries; ++e)
        if (table[e].length() < rows)
            return false;
    return true;
}

inline void SetBit(std::uint8_t *row, int pos)
{
    row[pos >> 3] |= std::uint8_t(0x80 >> (pos & 7));
}

// Needles of a row as the bits they set in each byte: the needles of one byte are set
// together.
struct TByteBits {
    std::uint16_t Byte;
    std::uint8_t Mask;
};
using TRaisedBits = std::vector<TByteBits>;
struct TCachedBits {
    bool Ready = false;
    TRaisedBits Bits;
};

// The needles j of a list for which raised(j) holds.
template <class Raised> TRaisedBits CollectBits(const TDynamicWordArray &needles, Raised raised)
{
    TRaisedBits out;
    for (int j = 0; j < needles.length(); ++j) {
        if (!raised(j))
            continue;
        const auto byte = std::uint16_t(needles[j] >> 3);
        const auto mask = std::uint8_t(0x80 >> (needles[j] & 7));
        if (!out.empty() && out.back().Byte == byte)
            out.back().Mask |= mask;
        else
            out.push_back({ byte, mask });
    }
    return out;
}

inline void SetBits(std::uint8_t *row, const TRaisedBits &bits)
{
    for (const TByteBits &b : bits)
        row[b.Byte] |= b.Mask;
}

// A design column's bits depend on its colour and on the column mod Cycle alone (the
// least common multiple of the warp counts of the mixed weave rows): per card, a
// table of the R-bit pattern of the colours at every column of the cycle. Where the
// table covers every colour it depends only on the weft entry and on y mod the
// weaves' weft counts, and is kept for the cards that follow.
struct TPatternTable {
    bool Ready = false;
    int Cycle = 0; // 0: no table pays, columns are computed one by one
    std::vector<std::uint8_t> Bytes; // R = 8: one byte per pattern
    std::vector<std::uint32_t> Words; // other R up to 32: the pattern's bits, last needle lowest
    std::vector<std::uint8_t> Bits; // R above 32: m_patternBytes per pattern, with slack
    // R = 8, in a table kept over rows: the pattern of each palette entry, 256 per column of
    // the cycle, so that a column takes one look-up from its cell.
    std::vector<std::uint8_t> ByPalette;
};

// The state and steps of one build.
class TCardBuilder {
public:
    TCardBuilder(const TMesh &mesh, const TYangkaImage &sampleCard, int scanStart, TCardBuildResult &result,
        const TCardProgress &progress, const TNeedleMaskTable &pick, const TNeedleMaskTable &weftDens)
        : m_mesh(mesh)
        , m_sample(sampleCard)
        , m_result(&result)
        , m_progress(progress)
        , m_pick(pick)
        , m_weftDens(weftDens)
    {
        m_bottomUp = scanStart == ScanBottomLeft || scanStart == ScanBottomRight;
        m_mirror = scanStart == ScanBottomRight || scanStart == ScanTopRight;
    }

    bool Run(TMultiByteArray &out);

private:
    bool Fail(const QString &text, const QString &caption = GetUiMessage(CardBuildMsg::OutputCaption),
        bool information = false)
    {
        m_result->Error = text;
        m_result->Caption = caption;
        m_result->Information = information;
        return false;
    }
    bool CheckInputs();
    void CheckWeaveSlots();
    void PrepareJacquard();
    void PrefetchRow(int r) const;
    void PrepareRow(int r);
    void ReadRowIds();
    bool CheckRowColours();
    bool FillCard(std::uint8_t *row, std::uint8_t *early, int e, int r, int y, int q);
    void SetEarlyBits(std::uint8_t *early, int e, int r);
    int CardsOfRow(int y) const;
    bool FillRange(TMultiByteArray &card, int y0, int y1, int q0, const std::atomic<bool> &stop,
        std::atomic<int> &done, int &failedAt);
    bool FillOnThreads(TMultiByteArray &card, int n, int threads);
    bool ReadWeaveCells(const std::vector<std::uint8_t> &ids, int e, int y, qint64 &cycle);
    bool EntryComplete(int e);
    bool TablePays(qint64 cycle, std::size_t colours) const;
    const TPatternTable *KeptTable(int e, int y);
    bool RowTable(int e, int y);
    std::uint32_t PatternWord(int id, int x) const;
    void PatternBits(int id, int x, std::uint8_t *out) const;
    void FillPatternTable(TPatternTable &table, const std::vector<std::uint8_t> &ids);
    template <class Pattern> void PackColumns(Pattern pattern);
    template <class IdAt> void FillStreamFromTable(IdAt idAt);
    template <class CellAt> void FillStreamByPalette(CellAt cellAt);
    bool FillStreamFromPicture(bool check);
    void FillStreamByColumn();
    const TRaisedBits &TechBits(std::uint8_t code, int kind, int e, int y);
    const TRaisedBits &MaskBits(TCachedBits &bits, std::uint8_t code, std::uint32_t mask);

    const TMesh m_mesh; // a copy: the arrays it shares stay alive while the build runs
    const TYangkaImage &m_sample;
    TCardBuildResult *m_result; // a worker's own while it fills its share of the cards
    const TCardProgress &m_progress;
    const TNeedleMaskTable m_pick; // copies: the shared tables may be edited between cards
    const TNeedleMaskTable m_weftDens;
    bool m_bottomUp = false;
    bool m_mirror = false;

    // What the build reads, held for its whole run: events processed between cards must
    // not pull storage from under it.
    QImage m_picture;
    const QImage *m_pic = nullptr;
    std::vector<TDynamicByteArray> m_pickRows, m_regulatorRows, m_weftDensRows;
    bool m_earlyShuttle = false;
    int m_w = 0, m_h = 0, m_entries = 1, m_repeat = 1, m_colours = 0;
    TNeedleMap m_map;
    std::vector<int> m_divisionOrder;
    int m_rowBytes = 0;

    // The driven jacquard run. Needle k takes value k mod P of the design period
    // (P = W x R needles), so a card's jacquard bits are the period's bits, written once
    // per card as a bit stream, then gathered into the row: one stretch for every part
    // of the run whose positions follow one another within one period.
    NeedleBits::TBitGatherPlan m_runPlan;
    int m_valued = 0; // needles of the period that are computed: Min(run length, period)
    int m_columns = 0; // design columns those needles use
    std::vector<std::uint8_t> m_stream; // the period's bits for the current card, with slack
    std::map<int, std::vector<int>> m_xmod; // x mod g for every warp count g of a colour weave

    // Colours. Every palette entry maps to an id, one per distinct colour of Colors that
    // the palette reaches (at most 256); m_noColour marks entries whose colour is not in
    // Colors. Cards read a row's design columns straight from the picture, or, where
    // they must know which colours the row uses, as ids read once for all its cards.
    std::uint8_t m_paletteId[256];
    std::vector<int> m_idColour; // [id]: index in Colors
    bool m_paletteGaps = false; // some palette entry has no colour
    int m_noColour = 0;
    std::vector<std::uint8_t> m_allIds; // every id, ascending
    int m_row = 0; // the current picture row
    const uchar *m_rowLine = nullptr;
    bool m_rowIdsReady = false;
    bool m_rowChecked = false; // no design column of the row lacks a colour
    std::vector<std::uint8_t> m_rowIds; // [design column]
    std::vector<std::uint8_t> m_usedIds; // the ids the current row uses, ascending
    std::vector<int> m_idSeen; // [id]: row stamp of its last use
    int m_rowStamp = 0;

    // The colour weaves of the current card: for each used id and needle n of the
    // column, the weave and its weft row, and the row's value when it is one value
    // across (-2 when mixed).
    struct TWeaveCell {
        const TWeaveView *View = nullptr;
        int Weft = 0;
        std::int8_t Value = 0;
    };
    std::vector<TWeaveView> m_colourViews;
    std::vector<std::vector<std::int8_t>> m_uniform; // [slot][weft]: -1 unknown, -2 mixed, 0, 1
    std::vector<TWeaveCell> m_cells; // [id x R + n]
    std::vector<int> m_missing; // [id]: first needle whose weave is missing, or -1
    std::vector<std::int8_t> m_entryComplete; // [entry]: -1 unknown, 0, 1 (see EntryComplete)
    TPatternTable m_rowTable; // for the colours of the current row
    std::vector<std::vector<TPatternTable>> m_entryTables; // [entry][y mod weft cycle]: every colour
    std::vector<int> m_weftCycle; // [entry]: LCM of its weaves' weft counts, 0 above MaxWeftCycle
    const TPatternTable *m_table = nullptr; // the current card's
    int m_patternBytes = 0;
    std::vector<TWeaveView> m_techViews;
    // The raised needles of the other kinds, byte by byte, for every state a card can
    // ask for, made on first use.
    std::vector<std::vector<TCachedBits>> m_techBits; // [entry x 3 + kind][weft of the weave]
    TCachedBits m_shuttleBits[MaxNeedleTableValue]; // [shuttle number - 1]
    TCachedBits m_densBits[MaxNeedleTableValue]; // [weft-density step - 1]
    TRaisedBits m_stopBits, m_lacingBits;
    TRaisedBits m_wasteBits[2]; // [card number mod 2]
};

bool TCardBuilder::CheckInputs()
{
    if (!m_mesh.Picture || m_mesh.Picture->isNull() || m_mesh.Picture->format() != QImage::Format_Indexed8)
        return Fail(GetUiMessage(UiKey::String::CardBuildNoPicture));
    m_picture = *m_mesh.Picture;
    m_pic = &m_picture;
    m_earlyShuttle = m_sample.TiQianSuo;
    m_w = m_pic->width();
    m_h = m_pic->height();
    if (qint64(m_sample.RowCount()) * m_sample.ColCount() < m_w)
        return Fail(GetUiMessage(CardBuildMsg::BadSampleCard), GetUiMessage(CardBuildMsg::ErrorCaption));
    QString error;
    if (!BuildNeedleMap(m_sample, m_map, &error))
        return Fail(error, GetUiMessage(CardBuildMsg::ErrorCaption));
    if (m_map.JacquardRuns.isEmpty())
        return Fail(GetUiMessage(CardMsg::NoJacquardNeedles), QString(), true);
    if (m_mesh.WeftRepeat < 1 || m_mesh.WarpRepeat < 1)
        return Fail(GetUiMessage(UiKey::String::CardBuildCountsBelowOne));
    if (m_mesh.WarpRepeat > MaxCardNeedles)
        return Fail(GetUiMessage(UiKey::String::CardBuildNeedlesPerColumnOver).arg(m_mesh.WarpRepeat));
    m_entries = m_mesh.WeftRepeat;
    m_repeat = m_mesh.WarpRepeat;
    m_colours = m_mesh.Colors.length();
    if (!TableCovers(m_mesh.PickRows, m_entries, m_h) || !TableCovers(m_mesh.RegulatorRows, m_entries, m_h)
        || !TableCovers(m_mesh.WeftDensRows, m_entries, m_h))
        return Fail(GetUiMessage(UiKey::String::CardBuildTablesShort).arg(m_entries).arg(m_h));
    if (!CheckRowTableValues(m_mesh, &error))
        return Fail(error);
    // Copies of their own: the card count is made from these values.
    for (int e = 0; e < m_entries; ++e) {
        m_pickRows.push_back(m_mesh.PickRows[e].copy());
        m_regulatorRows.push_back(m_mesh.RegulatorRows[e].copy());
        m_weftDensRows.push_back(m_mesh.WeftDensRows[e].copy());
    }
    m_result->DivisionCount = CountDistinctLetters(m_sample.Rules);
    if (m_result->DivisionCount > 1
        && !PlanCardDivision(m_sample.Rules, m_map.JacquardRuns[0].length(), m_divisionOrder, &error))
        return Fail(error);
    return true;
}

void TCardBuilder::CheckWeaveSlots()
{
    const qint64 colourSlots = qint64(m_entries) * m_colours * m_repeat;
    bool colourMissing = m_mesh.ColorWeaves.length() < colourSlots;
    for (const auto &w : m_mesh.ColorWeaves)
        colourMissing = colourMissing || MakeView(w).Empty();
    bool techMissing = m_mesh.TechWeaves.length() < qint64(m_entries) * 3;
    for (const auto &w : m_mesh.TechWeaves)
        techMissing = techMissing || MakeView(w).Empty();
    if (colourMissing)
        m_result->Warnings << GetUiMessage(CardBuildMsg::WeaveMissing);
    if (techMissing)
        m_result->Warnings << GetUiMessage(CardBuildMsg::WeaveMissing);
}

void TCardBuilder::PrepareJacquard()
{
    // The stretches of the run: from the period's stream into the row.
    const TDynamicWordArray &run = m_map.JacquardRuns[0];
    const qint64 period = qint64(m_w) * m_repeat;
    m_valued = int(std::min<qint64>(run.length(), period));
    m_columns = (m_valued + m_repeat - 1) / m_repeat;
    m_runPlan.Clear();
    int start = 0; // the stretch's first needle
    int kk = 0; // k mod period
    for (int k = 1; k <= run.length(); ++k) {
        if (++kk == period)
            kk = 0;
        if (k < run.length() && kk != 0 && run[k] == run[k - 1] + 1)
            continue;
        m_runPlan.Add(std::size_t(start % period), run[start], std::size_t(k - start));
        start = k;
    }
    const std::size_t streamBits = std::size_t(m_columns) * m_repeat;
    m_stream.assign((streamBits + 31) / 32 * 4 + NeedleBits::SourceSlack, 0);

    // Palette entries to colour ids.
    const QList<QRgb> palette = m_pic->colorTable();
    std::vector<int> idOfColour(std::size_t(m_colours), -1);
    int paletteColour[256];
    for (int i = 0; i < 256; ++i) {
        paletteColour[i] = -1;
        if (i >= palette.size())
            continue;
        const TColor colour = qRed(palette[i]) | (qGreen(palette[i]) << 8) | (qBlue(palette[i]) << 16);
        for (int c = 0; c < m_colours; ++c)
            if (m_mesh.Colors[c] == colour) {
                paletteColour[i] = c;
                break;
            }
    }
    m_idColour.clear();
    for (int i = 0; i < 256; ++i) {
        const int c = paletteColour[i];
        if (c < 0)
            continue;
        if (idOfColour[std::size_t(c)] < 0) {
            idOfColour[std::size_t(c)] = int(m_idColour.size());
            m_idColour.push_back(c);
        }
    }
    // With a gap the ids are fewer than 256, so the mark fits a byte.
    m_noColour = int(m_idColour.size());
    m_paletteGaps = false;
    for (int i = 0; i < 256; ++i) {
        m_paletteGaps = m_paletteGaps || paletteColour[i] < 0;
        m_paletteId[i]
            = std::uint8_t(paletteColour[i] < 0 ? m_noColour : idOfColour[std::size_t(paletteColour[i])]);
    }
    const std::size_t ids = m_idColour.size() + 1;
    m_rowIds.assign(std::size_t(m_columns), 0);
    m_idSeen.assign(ids, 0);
    m_missing.assign(ids, -1);
    m_entryComplete.assign(std::size_t(m_entries), -1);
    m_weftCycle.assign(std::size_t(m_entries), 0);
    m_entryTables.assign(std::size_t(m_entries), {});
    m_allIds.resize(m_idColour.size());
    std::iota(m_allIds.begin(), m_allIds.end(), 0);
    m_cells.assign(ids * std::size_t(m_repeat), TWeaveCell());
    m_patternBytes = (m_repeat + 7) / 8;

    // Only slots that exist get a view; reading a missing one ends the build.
    const qint64 colourSlots
        = std::min<qint64>(qint64(m_entries) * m_colours * m_repeat, m_mesh.ColorWeaves.length());
    m_colourViews.resize(std::size_t(colourSlots));
    m_uniform.resize(std::size_t(colourSlots));
    for (qint64 s = 0; s < colourSlots; ++s) {
        m_colourViews[std::size_t(s)] = MakeView(m_mesh.ColorWeaves, s);
        TWeaveView &view = m_colourViews[std::size_t(s)];
        m_uniform[std::size_t(s)].assign(std::size_t(view.GH), -1);
        if (view.Empty())
            continue;
        auto [it, fresh] = m_xmod.try_emplace(view.GW);
        if (fresh) {
            it->second.resize(std::size_t(m_columns));
            for (int x = 0; x < m_columns; ++x)
                it->second[std::size_t(x)] = x % view.GW;
        }
        view.XMod = it->second.data();
    }
}

// Asks for the design columns of picture row r ahead of their use: rows are read one
// after another but far apart, which the processor does not foresee.
void TCardBuilder::PrefetchRow(int r) const
{
    const uchar *line = m_pic->constScanLine(r);
    const uchar *first = m_mirror ? line + m_w - m_columns : line;
    for (int x = 0; x < m_columns; x += 64)
        __builtin_prefetch(first + x);
    __builtin_prefetch(first + m_columns - 1);
}

// Takes picture row r for the cards of its weft row.
void TCardBuilder::PrepareRow(int r)
{
    m_row = r;
    m_rowLine = m_pic->constScanLine(r);
    m_rowIdsReady = false;
    m_rowChecked = !m_paletteGaps;
}

// Fails naming the first design column whose colour is not in Colors, if any: a row
// with one is refused before any of its cards is filled.
bool TCardBuilder::CheckRowColours()
{
    if (m_rowChecked)
        return true;
    ReadRowIds();
    if (m_idSeen[std::size_t(m_noColour)] == m_rowStamp)
        for (int x = 0; x < m_columns; ++x)
            if (m_rowIds[std::size_t(x)] == m_noColour) {
                const int pc = m_mirror ? m_w - 1 - x : x;
                return Fail(
                    GetUiMessage(UiKey::String::CardBuildCellColorUnknown).arg(pc + 1).arg(m_row + 1));
            }
    m_rowChecked = true;
    return true;
}

// The colour ids of the row's design columns, and the ids the row uses.
void TCardBuilder::ReadRowIds()
{
    if (m_rowIdsReady)
        return;
    m_rowIdsReady = true;
    const std::uint8_t *paletteId = m_paletteId;
    std::uint8_t *ids = m_rowIds.data();
    int *seen = m_idSeen.data();
    const int stamp = ++m_rowStamp;
    const int columns = m_columns;
    const int step = m_mirror ? -1 : 1;
    const uchar *cell = m_mirror ? m_rowLine + m_w - 1 : m_rowLine;
    if (m_idColour.size() < 64) {
        // The ids in use as bits of a register: no store per cell besides the id.
        std::uint64_t used = 0;
        for (int x = 0; x < columns; ++x, cell += step) {
            const std::uint8_t id = paletteId[*cell];
            ids[x] = id;
            used |= std::uint64_t(1) << id;
        }
        for (; used != 0; used &= used - 1)
            seen[std::countr_zero(used)] = stamp;
    } else {
        for (int x = 0; x < columns; ++x, cell += step) {
            const std::uint8_t id = paletteId[*cell];
            ids[x] = id;
            seen[id] = stamp;
        }
    }
    m_usedIds.clear();
    for (int id = 0; id < int(m_idColour.size()); ++id)
        if (seen[id] == stamp)
            m_usedIds.push_back(std::uint8_t(id));
}

// Reads the weave rows of the card for the colours `ids`, and the cycle of columns after
// which their values repeat. False when a colour's weave is missing (m_missing says
// which); the needles of a missing weave are lowered, so that a column that never reaches
// them is still built from the weaves it does reach.
bool TCardBuilder::ReadWeaveCells(const std::vector<std::uint8_t> &ids, int e, int y, qint64 &cycle)
{
    const int R = m_repeat;
    const qint64 entryBase = qint64(e) * m_colours * R;
    const qint64 slots = qint64(m_colourViews.size());
    bool complete = true;
    cycle = 1;
    // The weaves of a document mostly share their size: y mod GH and the cycle are
    // worked out again only when it changes.
    int lastHeight = 0, lastWeft = 0, lastWidth = 1;
    for (const std::uint8_t id : ids) {
        const int c = m_idColour[id];
        TWeaveCell *cells = &m_cells[std::size_t(id) * R];
        m_missing[id] = -1;
        for (int n = 0; n < R; ++n) {
            const qint64 slot = entryBase + qint64(c) * R + n;
            if (slot >= slots || m_colourViews[std::size_t(slot)].Empty()) {
                // Lowered for good: a needle the run never reaches may lack its weave.
                if (m_missing[id] < 0)
                    m_missing[id] = n;
                complete = false;
                cells[n] = { nullptr, 0, 0 };
                continue;
            }
            const TWeaveView &v = m_colourViews[std::size_t(slot)];
            if (v.GH != lastHeight) {
                lastHeight = v.GH;
                lastWeft = v.GH - 1 - y % v.GH;
            }
            const int j = lastWeft;
            std::int8_t &u = m_uniform[std::size_t(slot)][std::size_t(j)];
            if (u == -1)
                u = RowUniformity(v, j);
            cells[n] = { &v, j, u };
            if (u < 0 && v.GW != lastWidth && cycle <= m_columns) {
                lastWidth = v.GW;
                cycle = std::lcm(cycle, qint64(v.GW));
            }
        }
    }
    return complete;
}

// Whether every colour the palette reaches has all its weaves in weft entry e; the
// entry's weft cycle is worked out on the way.
bool TCardBuilder::EntryComplete(int e)
{
    std::int8_t &known = m_entryComplete[std::size_t(e)];
    if (known < 0) {
        const qint64 entryBase = qint64(e) * m_colours * m_repeat;
        qint64 weftCycle = 1;
        known = 1;
        for (const int c : m_idColour)
            for (int n = 0; n < m_repeat && known; ++n) {
                const qint64 slot = entryBase + qint64(c) * m_repeat + n;
                known = slot < qint64(m_colourViews.size()) && !m_colourViews[std::size_t(slot)].Empty();
                if (known && weftCycle <= MaxWeftCycle)
                    weftCycle = std::lcm(weftCycle, qint64(m_colourViews[std::size_t(slot)].GH));
            }
        m_weftCycle[std::size_t(e)] = known && weftCycle <= MaxWeftCycle ? int(weftCycle) : 0;
        m_entryTables[std::size_t(e)].resize(std::size_t(m_weftCycle[std::size_t(e)]));
    }
    return known == 1;
}

// A table covers colours: it pays when it holds fewer patterns than the row has columns.
bool TCardBuilder::TablePays(qint64 cycle, std::size_t colours) const
{
    const qint64 ids = qint64(m_idColour.size()) + 1;
    return cycle <= m_columns && cycle * qint64(colours) <= m_columns && cycle * ids <= (1 << 16);
}

// Where no colour the palette reaches lacks a weave in weft entry e, the patterns of
// every colour go into a table kept for the entry and y mod its weft cycle, and the
// card's columns are read straight from the picture. Null when that does not pay.
const TPatternTable *TCardBuilder::KeptTable(int e, int y)
{
    if (m_allIds.size() > 32 || !EntryComplete(e))
        return nullptr;
    const int weftCycle = m_weftCycle[std::size_t(e)];
    TPatternTable &kept
        = weftCycle > 0 ? m_entryTables[std::size_t(e)][std::size_t(y % weftCycle)] : m_rowTable;
    if (weftCycle == 0 || !kept.Ready) {
        qint64 cycle = 1;
        ReadWeaveCells(m_allIds, e, y, cycle);
        kept.Cycle = TablePays(cycle, m_allIds.size()) ? int(cycle) : 0;
        if (kept.Cycle > 0)
            FillPatternTable(kept, m_allIds);
        kept.Ready = weftCycle > 0;
        kept.ByPalette.clear();
        // Only a table kept for later rows repays its 256 entries per column.
        if (kept.Cycle > 0 && kept.Ready && m_repeat == 8) {
            const std::size_t stride = m_idColour.size() + 1;
            kept.ByPalette.resize(std::size_t(kept.Cycle) * 256);
            for (int m = 0; m < kept.Cycle; ++m)
                for (int p = 0; p < 256; ++p)
                    kept.ByPalette[std::size_t(m) * 256 + std::size_t(p)]
                        = kept.Bytes[std::size_t(m) * stride + m_paletteId[p]];
        }
    }
    return kept.Cycle > 0 ? &kept : nullptr;
}

// Otherwise only the colours the row uses are looked at, so that the first column in
// reading order whose colour lacks a weave names it.
bool TCardBuilder::RowTable(int e, int y)
{
    ReadRowIds();
    qint64 cycle = 1;
    if (!ReadWeaveCells(m_usedIds, e, y, cycle)) {
        // Only the needles a column reaches need their weaves: the run may end within
        // the last column.
        for (int x = 0; x < m_columns; ++x) {
            const int id = m_rowIds[std::size_t(x)];
            const int reach = std::min(m_repeat, m_valued - x * m_repeat);
            if (m_missing[std::size_t(id)] >= 0 && m_missing[std::size_t(id)] < reach)
                return Fail(GetUiMessage(UiKey::String::CardBuildColorWeaveMissing)
                                .arg(m_idColour[std::size_t(id)] + 1)
                                .arg(m_missing[std::size_t(id)] + 1)
                                .arg(e + 1));
        }
    }
    m_rowTable.Cycle = TablePays(cycle, m_usedIds.size()) ? int(cycle) : 0;
    if (m_rowTable.Cycle > 0)
        FillPatternTable(m_rowTable, m_usedIds);
    m_table = &m_rowTable;
    return true;
}

// The bits of a design column of colour id (R up to 32), needle 0 highest.
std::uint32_t TCardBuilder::PatternWord(int id, int x) const
{
    const TWeaveCell *cell = &m_cells[std::size_t(id) * m_repeat];
    std::uint32_t bits = 0;
    for (int n = 0; n < m_repeat; ++n, ++cell) {
        const std::uint32_t bit = cell->Value >= 0
            ? std::uint32_t(cell->Value)
            : cell->View->Warps[std::size_t(cell->View->XMod[x])][cell->Weft] == 1;
        bits = (bits << 1) | bit;
    }
    return bits;
}

// The same for any R, ORed into bytes in needle-bit order from bit 0 of out.
void TCardBuilder::PatternBits(int id, int x, std::uint8_t *out) const
{
    const TWeaveCell *cell = &m_cells[std::size_t(id) * m_repeat];
    for (int n = 0; n < m_repeat; ++n, ++cell) {
        const bool bit = cell->Value >= 0
            ? cell->Value != 0
            : cell->View->Warps[std::size_t(cell->View->XMod[x])][cell->Weft] == 1;
        if (bit)
            SetBit(out, n);
    }
}

// The patterns of the colours `ids` at every column of the table's cycle, from the
// weave cells just read.
void TCardBuilder::FillPatternTable(TPatternTable &table, const std::vector<std::uint8_t> &ids)
{
    const std::size_t stride = m_idColour.size() + 1;
    const std::size_t size = std::size_t(table.Cycle) * stride;
    if (m_repeat == 8)
        table.Bytes.resize(size);
    else if (m_repeat <= 32)
        table.Words.resize(size);
    else
        table.Bits.assign(size * std::size_t(m_patternBytes) + NeedleBits::SourceSlack, 0);
    for (int m = 0; m < table.Cycle; ++m)
        for (const std::uint8_t id : ids) {
            const std::size_t at = std::size_t(m) * stride + id;
            if (m_repeat == 8)
                table.Bytes[at] = std::uint8_t(PatternWord(id, m));
            else if (m_repeat <= 32)
                table.Words[at] = PatternWord(id, m);
            else
                PatternBits(id, m, &table.Bits[at * std::size_t(m_patternBytes)]);
        }
}

// Writes the columns' patterns (R up to 32, R bits each) one after another into the
// stream, a 32-bit word at a time.
template <class Pattern> void TCardBuilder::PackColumns(Pattern pattern)
{
    const int R = m_repeat, columns = m_columns;
    std::uint8_t *out = m_stream.data();
    std::uint64_t held = 0;
    int count = 0;
    for (int x = 0; x < columns; ++x) {
        held = (held << R) | pattern(x);
        count += R;
        if (count >= 32) {
            count -= 32;
            qToBigEndian(std::uint32_t(held >> count), out);
            out += 4;
        }
    }
    if (count > 0)
        qToBigEndian(std::uint32_t(held << (32 - count)), out);
}

// The period's bits from the pattern table, with idAt(x) the colour id of column x.
template <class IdAt> void TCardBuilder::FillStreamFromTable(IdAt idAt)
{
    const int columns = m_columns, cycle = m_table->Cycle;
    const std::size_t stride = m_idColour.size() + 1;
    if (m_repeat == 8) {
        std::uint8_t *stream = m_stream.data();
        const std::uint8_t *table = m_table->Bytes.data();
        if (cycle == 1) {
            for (int x = 0; x < columns; ++x)
                stream[x] = table[idAt(x)];
            return;
        }
        for (int x0 = 0; x0 < columns; x0 += cycle) {
            const int end = std::min(columns, x0 + cycle);
            const std::uint8_t *t = table;
            for (int x = x0; x < end; ++x, t += stride)
                stream[x] = t[idAt(x)];
        }
    } else if (m_repeat <= 32) {
        const std::uint32_t *table = m_table->Words.data();
        if (cycle == 1) {
            PackColumns([table, idAt](int x) { return table[idAt(x)]; });
            return;
        }
        PackColumns([table, idAt, cycle, stride, m = 0](int x) mutable {
            const std::uint32_t bits = table[std::size_t(m) * stride + idAt(x)];
            if (++m == cycle)
                m = 0;
            return bits;
        });
    } else {
        std::fill(m_stream.begin(), m_stream.end(), 0);
        for (int x = 0; x < columns; ++x)
            NeedleBits::OrBits(m_stream.data(), m_stream.size(), std::size_t(x) * m_repeat,
                &m_table->Bits[(std::size_t(x % cycle) * stride + idAt(x)) * std::size_t(m_patternBytes)], 0,
                std::size_t(m_repeat));
    }
}

// R = 8 from a table's patterns by palette entry, with cellAt(x) the palette entry of column x.
template <class CellAt> void TCardBuilder::FillStreamByPalette(CellAt cellAt)
{
    const int columns = m_columns, cycle = m_table->Cycle;
    std::uint8_t *__restrict stream = m_stream.data();
    const std::uint8_t *table = m_table->ByPalette.data();
    if (cycle == 1) {
        for (int x = 0; x < columns; ++x)
            stream[x] = table[cellAt(x)];
        return;
    }
    for (int x0 = 0; x0 < columns; x0 += cycle) {
        const int end = std::min(columns, x0 + cycle);
        const std::uint8_t *t = table;
        for (int x = x0; x < end; ++x, t += 256)
            stream[x] = t[cellAt(x)];
    }
}

// The period's bits, column by column, for a cycle too long for a table.
void TCardBuilder::FillStreamByColumn()
{
    const int R = m_repeat, columns = m_columns;
    const std::uint8_t *ids = m_rowIds.data();
    if (R == 8) {
        for (int x = 0; x < columns; ++x)
            m_stream[std::size_t(x)] = std::uint8_t(PatternWord(ids[x], x));
    } else if (R <= 32) {
        PackColumns([&](int x) { return PatternWord(ids[x], x); });
    } else {
        std::fill(m_stream.begin(), m_stream.end(), 0);
        std::vector<std::uint8_t> one(std::size_t(m_patternBytes) + NeedleBits::SourceSlack);
        for (int x = 0; x < columns; ++x) {
            std::fill(one.begin(), one.end(), 0);
            PatternBits(ids[x], x, one.data());
            NeedleBits::OrBits(
                m_stream.data(), m_stream.size(), std::size_t(x) * R, one.data(), 0, std::size_t(R));
        }
    }
}

// The period's bits from the current table with the columns read from the picture.
// With `check`, false when a column's colour is not in Colors.
bool TCardBuilder::FillStreamFromPicture(bool check)
{
    const std::uint8_t *paletteId = m_paletteId;
    const uchar *line = m_rowLine, *last = m_rowLine + m_w - 1;
    if (!check && !m_table->ByPalette.empty()) {
        if (m_mirror)
            FillStreamByPalette([last](int x) { return last[-x]; });
        else
            FillStreamByPalette([line](int x) { return line[x]; });
        return true;
    }
    if (!check) {
        if (m_mirror)
            FillStreamFromTable([paletteId, last](int x) { return paletteId[last[-x]]; });
        else
            FillStreamFromTable([paletteId, line](int x) { return paletteId[line[x]]; });
        return true;
    }
    const auto noColour = std::uint8_t(m_noColour);
    bool gap = false;
    if (m_mirror)
        FillStreamFromTable([paletteId, last, noColour, &gap](int x) {
            const std::uint8_t id = paletteId[last[-x]];
            gap |= id == noColour;
            return id;
        });
    else
        FillStreamFromTable([paletteId, line, noColour, &gap](int x) {
            const std::uint8_t id = paletteId[line[x]];
            gap |= id == noColour;
            return id;
        });
    return !gap;
}

// The raised needles of a technical kind for weft entry e and row counter y.
const TRaisedBits &TCardBuilder::TechBits(std::uint8_t code, int kind, int e, int y)
{
    const TWeaveView &v = m_techViews[std::size_t(e) * 3 + kind];
    std::vector<TCachedBits> &rows = m_techBits[std::size_t(e) * 3 + kind];
    if (rows.empty())
        rows.resize(std::size_t(v.GH));
    const int j = v.GH - 1 - y % v.GH;
    TCachedBits &bits = rows[std::size_t(j)];
    if (!bits.Ready) {
        bits.Bits = CollectBits(
            m_map.Kind(code), [&v, j](int i) { return v.Warps[std::size_t(i % v.GW)][j] == 1; });
        bits.Ready = true;
    }
    return bits.Bits;
}

// The bits of a needle kind chosen by a 16-bit mask of the pick or weft-density table:
// the j-th needle of the kind is raised when bit j mod 16 of the mask is set.
const TRaisedBits &TCardBuilder::MaskBits(TCachedBits &bits, std::uint8_t code, std::uint32_t mask)
{
    if (!bits.Ready) {
        bits.Bits = CollectBits(m_map.Kind(code), [mask](int j) { return ((mask >> (j & 15)) & 1) != 0; });
        bits.Ready = true;
    }
    return bits.Bits;
}

bool TCardBuilder::FillCard(std::uint8_t *row, std::uint8_t *early, int e, int r, int y, int q)
{
    // The checks come in this order: a colour missing from Colors, a missing technical
    // weave, a missing colour weave.
    const TPatternTable *kept = KeptTable(e, y);
    if (kept) {
        m_table = kept;
        if (!FillStreamFromPicture(!m_rowChecked)) {
            CheckRowColours();
            return false;
        }
        m_rowChecked = true;
    } else if (!CheckRowColours()) {
        return false;
    }
    const std::uint8_t techCodes[] = { Needle::HealdRod, Needle::Selvedge, Needle::HealdFrame };
    const int techKinds[] = { TechHealdRod, TechSelvedge, TechHealdFrame };
    for (int i = 0; i < 3; ++i)
        if (!m_map.Kind(techCodes[i]).isEmpty() && m_techViews[std::size_t(e) * 3 + techKinds[i]].Empty())
            return Fail(
                GetUiMessage(UiKey::String::CardBuildTechWeaveMissing).arg(techKinds[i] + 1).arg(e + 1));
    if (!kept) {
        if (!RowTable(e, y))
            return false;
        if (m_rowTable.Cycle == 0) {
            FillStreamByColumn();
        } else {
            const std::uint8_t *ids = m_rowIds.data();
            FillStreamFromTable([ids](int x) { return ids[x]; });
        }
    }
    // h. jacquard needles. They go first, a word at a time, into the row as allocated:
    // bytes just stored one by one would have to be read back from the store queue.
    m_runPlan.Run(m_stream.data(), row, std::size_t(m_rowBytes));
    // a, c. shuttle and stop-motion needles (without early, set afterwards)
    if (early)
        SetEarlyBits(early, e, r);
    // b. weft-density needles; step 0 raises none
    const int step = m_weftDensRows[std::size_t(e)][std::size_t(r)];
    if (step > 0)
        SetBits(row,
            MaskBits(
                m_densBits[std::size_t(step - 1)], Needle::WeftDensity, m_weftDens[std::size_t(step - 1)]));
    // d, e. heald-rod, selvedge and heald-frame needles
    for (int i = 0; i < 3; ++i)
        if (!m_map.Kind(techCodes[i]).isEmpty())
            SetBits(row, TechBits(techCodes[i], techKinds[i], e, y));
    // f. waste selvedge: plain weave alternating from card to card
    SetBits(row, m_wasteBits[q % 2]);
    // g. lacing holes
    SetBits(row, m_lacingBits);
    return true;
}

// The shuttle needles from the pick table and the stop-motion needles: the card's own row,
// or the row before with an early shuttle.
void TCardBuilder::SetEarlyBits(std::uint8_t *early, int e, int r)
{
    const int shuttle = m_pickRows[std::size_t(e)][std::size_t(r)];
    SetBits(early,
        MaskBits(m_shuttleBits[std::size_t(shuttle - 1)], Needle::Shuttle, m_pick[std::size_t(shuttle - 1)]));
    if (m_regulatorRows[std::size_t(e)][std::size_t(r)] == 0)
        SetBits(early, m_stopBits);
}

// The cards of the y-th row in scanning order: one per weft entry it picks.
int TCardBuilder::CardsOfRow(int y) const
{
    const int r = m_bottomUp ? m_h - 1 - y : y;
    int cards = 0;
    for (int e = 0; e < m_entries; ++e)
        cards += m_pickRows[std::size_t(e)][std::size_t(r)] != 0;
    return cards;
}

// The cards of rows y0 .. y1 - 1 in scanning order, the first of them card q0, on this
// builder's own state. Early shuttle bits are left to the caller. Stops at stop, and at a
// card it cannot fill: false then, with failedAt its number and the reason in m_result.
bool TCardBuilder::FillRange(TMultiByteArray &card, int y0, int y1, int q0, const std::atomic<bool> &stop,
    std::atomic<int> &done, int &failedAt)
{
    int q = q0;
    for (int y = y0; y < y1; ++y) {
        const int r = m_bottomUp ? m_h - 1 - y : y;
        bool rowReady = false;
        for (int e = 0; e < m_entries; ++e) {
            if (m_pickRows[e][r] == 0)
                continue;
            if (stop.load(std::memory_order_relaxed))
                return false;
            if (!rowReady) {
                PrepareRow(r);
                rowReady = true;
                if (y + 1 < y1)
                    PrefetchRow(m_bottomUp ? r - 1 : r + 1);
            }
            TDynamicByteArray &row = card[std::size_t(q)];
            row.setLength(std::size_t(m_rowBytes));
            if (!FillCard(row.data(), m_earlyShuttle ? nullptr : row.data(), e, r, y, q)) {
                failedAt = q;
                return false;
            }
            ++q;
            done.fetch_add(1, std::memory_order_relaxed);
        }
    }
    return true;
}

// The cards filled by several workers, each a copy of this builder taking a band of rows;
// this thread reports the progress meanwhile and passes a cancel on. The outcome is the
// one filling the cards in order would give: a failure is the first card's that failed.
bool TCardBuilder::FillOnThreads(TMultiByteArray &card, int n, int threads)
{
    // Bands of rows with about the same number of cards, and the number of each band's
    // first card.
    std::vector<int> bandRow { 0 }, bandCard { 0 };
    int counted = 0;
    for (int y = 0; y < m_h; ++y) {
        counted += CardsOfRow(y);
        if (counted >= qint64(n) * int(bandRow.size()) / threads && int(bandRow.size()) < threads
            && y + 1 < m_h) {
            bandRow.push_back(y + 1);
            bandCard.push_back(counted);
        }
    }
    bandRow.push_back(m_h);
    const int bands = int(bandCard.size());

    std::vector<TCardBuildResult> results(std::size_t(bands), *m_result);
    std::vector<int> failedAt(std::size_t(bands), -1);
    std::atomic<bool> stop { false };
    std::atomic<int> done { 0 };
    int running = bands;
    std::mutex finishing;
    std::condition_variable finished;
    std::vector<std::thread> workers;
    for (int b = 0; b < bands; ++b) {
        auto work = [&, b] {
            TCardBuilder worker(*this);
            worker.m_result = &results[std::size_t(b)];
            // A failure does not stop the others: a band before it may fail at an earlier
            // card, and the first card's failure is the one reported.
            worker.FillRange(card, bandRow[std::size_t(b)], bandRow[std::size_t(b) + 1],
                bandCard[std::size_t(b)], stop, done, failedAt[std::size_t(b)]);
            const std::lock_guard lock(finishing);
            --running;
            finished.notify_one();
        };
        try {
            workers.emplace_back(work);
        } catch (const std::system_error &) {
            work(); // no thread to be had: the band is filled here
        }
    }
    for (;;) {
        m_progress.Report(WM_CARDPROGRESS, n, done.load());
        if (m_progress.IsCancelled())
            stop = true;
        std::unique_lock lock(finishing);
        if (finished.wait_for(lock, std::chrono::milliseconds(20), [&running] { return running == 0; }))
            break;
    }
    for (std::thread &t : workers)
        t.join();

    int first = -1;
    for (int b = 0; b < bands; ++b)
        if (failedAt[std::size_t(b)] >= 0
            && (first < 0 || failedAt[std::size_t(b)] < failedAt[std::size_t(first)]))
            first = b;
    if (first >= 0) {
        *m_result = results[std::size_t(first)];
        return false;
    }
    if (stop) {
        m_result->Cancelled = true;
        return false;
    }
    m_progress.Report(WM_CARDPROGRESS, n, n);
    // The early shuttle and stop-motion bits, into the row before each card.
    if (m_earlyShuttle) {
        int q = 0;
        for (int y = 0; y < m_h; ++y) {
            const int r = m_bottomUp ? m_h - 1 - y : y;
            for (int e = 0; e < m_entries; ++e)
                if (m_pickRows[e][r] != 0)
                    SetEarlyBits(card[std::size_t((n + q++ - 1) % n)].data(), e, r);
        }
    }
    return true;
}

bool TCardBuilder::Run(TMultiByteArray &out)
{
    if (!CheckInputs())
        return false;

    qint64 cards = 0;
    for (const auto &entry : m_pickRows)
        for (int r = 0; r < m_h; ++r)
            cards += entry[r] != 0;
    if (cards > MaxCardRows)
        return Fail(GetUiMessage(UiKey::String::CardBuildCardsOver).arg(cards).arg(MaxCardRows));
    const int n = int(cards);
    m_progress.Report(WM_CARDCOUNT, n, 0);
    if (m_progress.IsCancelled()) {
        m_result->Cancelled = true;
        return false;
    }
    const int rowBytes = (m_map.NeedleCount + 7) / 8;
    // Rows are allocated as the cards are filled, so that each is still in the cache when
    // its bits are set; every card row gets one.
    TMultiByteArray card(static_cast<std::size_t>(n));
    auto rowAt = [&card, rowBytes](int q) {
        TDynamicByteArray &row = card[std::size_t(q)];
        if (row.isEmpty())
            row.setLength(std::size_t(rowBytes));
        return row.data();
    };

    CheckWeaveSlots();

    m_rowBytes = rowBytes;
    PrepareJacquard();
    m_techViews.resize(std::size_t(m_entries) * 3);
    for (int s = 0; s < m_entries * 3; ++s)
        m_techViews[std::size_t(s)] = MakeView(m_mesh.TechWeaves, s);
    m_techBits.assign(std::size_t(m_entries) * 3, {});
    m_stopBits = CollectBits(m_map.Kind(Needle::StopMotion), [](int) { return true; });
    m_lacingBits = CollectBits(m_map.LacingHoles, [](int) { return true; });
    for (int parity = 0; parity < 2; ++parity)
        m_wasteBits[parity] = CollectBits(
            m_map.Kind(Needle::WasteSelvedge), [parity](int j) { return (j + parity) % 2 == 0; });

    // A large card is filled on several threads, a band of rows each.
    const int threads = int(std::clamp<qint64>(qint64(n) * rowBytes / CardBytesPerThread, 1,
        std::min<qint64>(8, std::max(1u, std::thread::hardware_concurrency()))));
    if (threads > 1) {
        if (!FillOnThreads(card, n, threads))
            return false;
        if (m_result->DivisionCount > 1)
            ApplyCardDivision(card, m_map.JacquardRuns[0], m_divisionOrder);
        out = card;
        return true;
    }

    int counter = 0;
    for (int y = 0; y < m_h; ++y) {
        const int r = m_bottomUp ? m_h - 1 - y : y;
        bool rowReady = false;
        for (int e = 0; e < m_entries; ++e) {
            if (m_pickRows[e][r] == 0)
                continue;
            ++counter;
            m_progress.Report(WM_CARDPROGRESS, n, counter);
            if (m_progress.IsCancelled()) {
                m_result->Cancelled = true;
                return false;
            }
            if (!rowReady) {
                PrepareRow(r);
                rowReady = true;
                if (y + 1 < m_h)
                    PrefetchRow(m_bottomUp ? r - 1 : r + 1);
            }
            const int q = counter - 1;
            std::uint8_t *row = rowAt(q);
            std::uint8_t *early = m_earlyShuttle ? rowAt((n + q - 1) % n) : row;
            if (!FillCard(row, early, e, r, y, q))
                return false;
        }
    }

    if (m_result->DivisionCount > 1)
        ApplyCardDivision(card, m_map.JacquardRuns[0], m_divisionOrder);
    out = card;
    return true;
}

} // namespace

bool PrepareCardDocument(TMesh &mesh, QString *error)
{
    TMesh sized = mesh;
    if (mesh.Picture) {
        sized.Warps = mesh.Picture->width();
        sized.Wefts = mesh.Picture->height();
    }
    if (!CheckMeshRepeats(sized, error))
        return false;
    mesh.Warps = sized.Warps;
    mesh.Wefts = sized.Wefts;
    EnsureRowTables(mesh);
    InitTechWeaveSlots(mesh);
    return SetDefaultColourWeaves(mesh);
}

qint64 CountCardRows(const TMesh &mesh)
{
    const int rows = mesh.Picture ? mesh.Picture->height() : mesh.Wefts;
    const int entries = std::min(int(mesh.PickRows.length()), std::max(mesh.WeftRepeat, 1));
    qint64 n = 0;
    for (int e = 0; e < entries; ++e) {
        const auto &table = mesh.PickRows[e];
        const int limit = std::min(rows, int(table.length()));
        for (int r = 0; r < limit; ++r)
            n += table[r] != 0;
    }
    return n;
}

bool BuildCardData(const TMesh &mesh, const TYangkaImage &sampleCard, int scanStart, TMultiByteArray &card,
    TCardBuildResult &result, const TCardProgress &progress, const TNeedleMaskTable &pickTable,
    const TNeedleMaskTable &weftDensTable)
{
    result = TCardBuildResult();
    TCardBuilder builder(mesh, sampleCard, scanStart, result, progress, pickTable, weftDensTable);
    return builder.Run(card);
}

bool BuildCardData(const TMesh &mesh, const TYangkaImage &sampleCard, int scanStart, TMultiByteArray &card,
    TCardBuildResult &result, const TCardProgress &progress)
{
    return BuildCardData(mesh, sampleCard, scanStart, card, result, progress, CardTables().PickTable,
        CardTables().WeftDensTable);
}
