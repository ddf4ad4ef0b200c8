// The card builder as it was before its jacquard fill was rewritten for speed: kept here,
// unchanged, as the reference that the builder's cards must equal byte for byte.
#include "cardbuildreference.h"

#include "card/carddivide.h"
#include "card/cardmessages.h"
#include "card/needlemap.h"
#include "card/rowtables.h"
#include "core/base/rulenotation.h"
#include "core/settings/uitexts.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace {

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
    qsizetype gh = w[0].length();
    for (const auto &warp : w)
        gh = std::min(gh, warp.length()); // a ragged weave is read no further than its shortest warp
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
    return slot >= 0 && slot < list.length() ? MakeView(list[std::size_t(slot)]) : TWeaveView();
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

// The state and steps of one build.
class TReferenceCardBuilder {
public:
    TReferenceCardBuilder(const TMesh &mesh, const TYangkaImage &sampleCard, int scanStart,
        TCardBuildResult &result, const TCardProgress &progress, const TNeedleMaskTable &pick,
        const TNeedleMaskTable &weftDens)
        : m_mesh(mesh)
        , m_sample(sampleCard)
        , m_result(result)
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
        m_result.Error = text;
        m_result.Caption = caption;
        m_result.Information = information;
        return false;
    }
    bool CheckInputs();
    void CheckWeaveSlots();
    bool PrepareRow(int r);
    bool FillCard(std::uint8_t *row, std::uint8_t *early, int e, int r, int y, int q);
    bool CacheColour(int c, int e, int y);
    bool FillJacquard(std::uint8_t *row, int e, int y);
    bool FillTechKind(std::uint8_t *row, std::uint8_t code, int kind, int e, int y);

    const TMesh m_mesh; // a copy: the arrays it shares stay alive while the build runs
    const TYangkaImage &m_sample;
    TCardBuildResult &m_result;
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
    // Jacquard run: byte index and bit mask of each needle, the design period W x R and
    // the needle values of one period for the current card.
    std::vector<std::uint16_t> m_runByte;
    std::vector<std::uint8_t> m_runMask;
    int m_period = 0;
    int m_valued = 0; // needles of the period that are computed: Min(run length, period)
    int m_columns = 0; // design columns those needles use
    bool m_runContiguous = false; // the run's positions follow one another: packed a byte at a time
    std::vector<std::uint8_t> m_values; // needle values of the period, or of the whole contiguous run
    std::map<int, std::vector<int>> m_xmod; // x mod g for every warp count g of a colour weave
    // Colour index of each palette entry in Colors (-1: none), and of each design column
    // of the current row.
    int m_paletteColour[256];
    std::vector<int> m_rowColour;
    // Colour weaves and the per-card cache of their weft rows.
    std::vector<TWeaveView> m_colourViews;
    std::vector<std::vector<std::int8_t>> m_uniform; // [slot][weft]: -1 unknown, -2 mixed, 0, 1
    std::vector<int> m_cacheStamp; // [colour]: card the cache was made for
    std::vector<std::int8_t> m_cacheValue; // [colour x R + n]: 0/1, or -2 mixed
    std::vector<int> m_cacheWeft; // [colour x R + n]: the weave's weft row
    std::vector<std::uint8_t> m_cacheAllUniform; // [colour]
    int m_cardStamp = 0;
    std::vector<TWeaveView> m_techViews;
};

bool TReferenceCardBuilder::CheckInputs()
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
    m_result.DivisionCount = CountDistinctLetters(m_sample.Rules);
    if (m_result.DivisionCount > 1
        && !PlanCardDivision(m_sample.Rules, m_map.JacquardRuns[0].length(), m_divisionOrder, &error))
        return Fail(error);
    return true;
}

void TReferenceCardBuilder::CheckWeaveSlots()
{
    const qint64 colourSlots = qint64(m_entries) * m_colours * m_repeat;
    bool colourMissing = m_mesh.ColorWeaves.length() < colourSlots;
    for (const auto &w : m_mesh.ColorWeaves)
        colourMissing = colourMissing || MakeView(w).Empty();
    bool techMissing = m_mesh.TechWeaves.length() < qint64(m_entries) * 3;
    for (const auto &w : m_mesh.TechWeaves)
        techMissing = techMissing || MakeView(w).Empty();
    if (colourMissing)
        m_result.Warnings << GetUiMessage(CardBuildMsg::WeaveMissing);
    if (techMissing)
        m_result.Warnings << GetUiMessage(CardBuildMsg::WeaveMissing);
}

bool TReferenceCardBuilder::PrepareRow(int r)
{
    const uchar *line = m_pic->constScanLine(r);
    for (int x = 0; x < m_columns; ++x) {
        const int pc = m_mirror ? m_w - 1 - x : x;
        const int c = m_paletteColour[line[pc]];
        if (c < 0)
            return Fail(GetUiMessage(UiKey::String::CardBuildCellColorUnknown).arg(pc + 1).arg(r + 1));
        m_rowColour[std::size_t(x)] = c;
    }
    return true;
}

bool TReferenceCardBuilder::CacheColour(int c, int e, int y)
{
    const int R = m_repeat;
    const std::size_t cacheBase = std::size_t(c) * R;
    const qint64 entryBase = qint64(e) * m_colours * R;
    m_cacheStamp[std::size_t(c)] = m_cardStamp;
    bool all = true;
    for (int n = 0; n < R; ++n) {
        const qint64 slot = entryBase + qint64(cacheBase) + n;
        if (slot >= qint64(m_colourViews.size()) || m_colourViews[std::size_t(slot)].Empty())
            return Fail(
                GetUiMessage(UiKey::String::CardBuildColorWeaveMissing).arg(c + 1).arg(n + 1).arg(e + 1));
        const TWeaveView &v = m_colourViews[std::size_t(slot)];
        const int j = v.GH - 1 - y % v.GH;
        std::int8_t &u = m_uniform[std::size_t(slot)][std::size_t(j)];
        if (u == -1)
            u = RowUniformity(v, j);
        m_cacheValue[cacheBase + n] = u;
        m_cacheWeft[cacheBase + n] = j;
        all = all && u >= 0;
    }
    m_cacheAllUniform[std::size_t(c)] = all;
    return true;
}

bool TReferenceCardBuilder::FillJacquard(std::uint8_t *row, int e, int y)
{
    ++m_cardStamp;
    const int R = m_repeat;
    const qint64 entryBase = qint64(e) * m_colours * R;
    // Local copies: the byte stores below could alias the members for the compiler.
    const int stamp = m_cardStamp;
    const int *rowColour = m_rowColour.data();
    const int *cacheStamp = m_cacheStamp.data();
    const std::uint8_t *allUniform = m_cacheAllUniform.data();
    const std::uint8_t *cacheValue = reinterpret_cast<const std::uint8_t *>(m_cacheValue.data());
    std::uint8_t *out = m_values.data();
    const int columns = m_columns, valued = m_valued;
    for (int x = 0; x < columns; ++x) {
        const int c = rowColour[x];
        const std::size_t cacheBase = std::size_t(c) * R;
        if (cacheStamp[c] != stamp && !CacheColour(c, e, y))
            return false;
        const int first = x * R;
        const int count = std::min(R, valued - first);
        if (allUniform[c]) {
            if (count == 8)
                std::memcpy(out + first, cacheValue + cacheBase, 8);
            else
                for (int n = 0; n < count; ++n)
                    out[first + n] = cacheValue[cacheBase + n];
            continue;
        }
        for (int n = 0; n < count; ++n) {
            const std::int8_t u = m_cacheValue[cacheBase + n];
            if (u >= 0) {
                out[first + n] = std::uint8_t(u);
            } else {
                const TWeaveView &v = m_colourViews[std::size_t(entryBase + qint64(cacheBase) + n)];
                out[first + n] = v.Warps[std::size_t(v.XMod[x])][m_cacheWeft[cacheBase + n]] == 1;
            }
        }
    }
    const std::size_t runLength = m_runByte.size();
    std::uint8_t *values = m_values.data();
    if (m_runContiguous) {
        // Repeat the period over the run, then pack eight needles into each whole byte.
        for (std::size_t k = std::size_t(m_valued); k < runLength; k += std::size_t(m_period))
            std::memcpy(values + k, values, std::min(std::size_t(m_period), runLength - k));
        std::size_t k = 0;
        for (; k < runLength && (m_runMask[k] != 0x80); ++k)
            row[m_runByte[k]] |= std::uint8_t(m_runMask[k] & -values[k]);
        for (; k + 8 <= runLength; k += 8) {
            const quint64 eight = qFromLittleEndian<quint64>(values + k);
            row[m_runByte[k]] |= std::uint8_t((eight * 0x8040201008040201ULL) >> 56);
        }
        for (; k < runLength; ++k)
            row[m_runByte[k]] |= std::uint8_t(m_runMask[k] & -values[k]);
        return true;
    }
    // Scatter the period's values over the run.
    int kk = 0;
    for (std::size_t k = 0; k < runLength; ++k) {
        row[m_runByte[k]] |= std::uint8_t(m_runMask[k] & -values[kk]);
        if (++kk == m_period)
            kk = 0;
    }
    return true;
}

bool TReferenceCardBuilder::FillTechKind(std::uint8_t *row, std::uint8_t code, int kind, int e, int y)
{
    const TDynamicWordArray &needles = m_map.Kind(code);
    if (needles.isEmpty())
        return true;
    const TWeaveView &v = m_techViews[std::size_t(e) * 3 + kind];
    if (v.Empty())
        return Fail(GetUiMessage(UiKey::String::CardBuildTechWeaveMissing).arg(kind + 1).arg(e + 1));
    const int j = v.GH - 1 - y % v.GH;
    for (int i = 0; i < needles.length(); ++i)
        if (v.Warps[std::size_t(i % v.GW)][j] == 1)
            SetBit(row, needles[i]);
    return true;
}

bool TReferenceCardBuilder::FillCard(std::uint8_t *row, std::uint8_t *early, int e, int r, int y, int q)
{
    // a. shuttle needles, from the pick table
    const int shuttle = m_pickRows[std::size_t(e)][std::size_t(r)];
    const std::uint32_t pickMask = m_pick[std::size_t(shuttle - 1)];
    const TDynamicWordArray &shuttles = m_map.Kind(Needle::Shuttle);
    for (int j = 0; j < shuttles.length(); ++j)
        if ((pickMask >> (j & 15)) & 1)
            SetBit(early, shuttles[j]);
    // b. weft-density needles; step 0 raises none
    const int step = m_weftDensRows[std::size_t(e)][std::size_t(r)];
    if (step > 0) {
        const std::uint32_t densMask = m_weftDens[std::size_t(step - 1)];
        const TDynamicWordArray &dens = m_map.Kind(Needle::WeftDensity);
        for (int j = 0; j < dens.length(); ++j)
            if ((densMask >> (j & 15)) & 1)
                SetBit(row, dens[j]);
    }
    // c. stop-motion needles
    if (m_regulatorRows[std::size_t(e)][std::size_t(r)] == 0)
        for (std::uint16_t p : m_map.Kind(Needle::StopMotion))
            SetBit(early, p);
    // d, e. heald-rod, selvedge and heald-frame needles
    if (!FillTechKind(row, Needle::HealdRod, TechHealdRod, e, y)
        || !FillTechKind(row, Needle::Selvedge, TechSelvedge, e, y)
        || !FillTechKind(row, Needle::HealdFrame, TechHealdFrame, e, y))
        return false;
    // f. waste selvedge: plain weave alternating from card to card
    const TDynamicWordArray &waste = m_map.Kind(Needle::WasteSelvedge);
    for (int j = 0; j < waste.length(); ++j)
        if ((j + q) % 2 == 0)
            SetBit(row, waste[j]);
    // g. lacing holes
    for (std::uint16_t p : m_map.LacingHoles)
        SetBit(row, p);
    // h. jacquard needles
    return FillJacquard(row, e, y);
}

bool TReferenceCardBuilder::Run(TMultiByteArray &out)
{
    if (!CheckInputs())
        return false;

    qint64 cards = 0;
    for (const auto &entry : m_pickRows)
        for (int r = 0; r < m_h; ++r)
            cards += entry[std::size_t(r)] != 0;
    if (cards > MaxCardRows)
        return Fail(GetUiMessage(UiKey::String::CardBuildCardsOver).arg(cards).arg(MaxCardRows));
    const int n = int(cards);
    m_progress.Report(WM_CARDCOUNT, n, 0);
    if (m_progress.IsCancelled()) {
        m_result.Cancelled = true;
        return false;
    }
    const int rowBytes = (m_map.NeedleCount + 7) / 8;
    TMultiByteArray card(static_cast<std::size_t>(n));
    for (auto &row : card)
        row.setLength(std::size_t(rowBytes));

    CheckWeaveSlots();

    // The driven run and the design it repeats.
    const TDynamicWordArray &run = m_map.JacquardRuns[0];
    m_runByte.resize(run.size());
    m_runMask.resize(run.size());
    for (qsizetype k = 0; k < run.size(); ++k) {
        m_runByte[k] = std::uint16_t(run[k] >> 3);
        m_runMask[k] = std::uint8_t(0x80 >> (run[k] & 7));
    }
    const qint64 period = qint64(m_w) * m_repeat;
    m_valued = int(std::min<qint64>(run.length(), period));
    // A period longer than the run never wraps within it.
    m_period = int(std::min<qint64>(period, qint64(run.length()) + 1));
    m_columns = (m_valued + m_repeat - 1) / m_repeat;
    m_runContiguous = true;
    for (qsizetype k = 1; k < run.size() && m_runContiguous; ++k)
        m_runContiguous = run[k] == run[k - 1] + 1;
    m_values.assign(m_runContiguous ? run.size() : std::size_t(m_valued), 0);
    m_rowColour.assign(std::size_t(m_columns), 0);

    const QList<QRgb> palette = m_pic->colorTable();
    for (int i = 0; i < 256; ++i) {
        m_paletteColour[i] = -1;
        if (i >= palette.size())
            continue;
        const TColor colour = qRed(palette[i]) | (qGreen(palette[i]) << 8) | (qBlue(palette[i]) << 16);
        for (int c = 0; c < m_colours; ++c)
            if (m_mesh.Colors[c] == colour) {
                m_paletteColour[i] = c;
                break;
            }
    }
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
    m_cacheStamp.assign(std::size_t(m_colours), 0);
    m_cacheAllUniform.assign(std::size_t(m_colours), 0);
    m_cacheValue.assign(std::size_t(m_colours) * m_repeat, 0);
    m_cacheWeft.assign(std::size_t(m_colours) * m_repeat, 0);
    m_techViews.resize(std::size_t(m_entries) * 3);
    for (int s = 0; s < m_entries * 3; ++s)
        m_techViews[std::size_t(s)] = MakeView(m_mesh.TechWeaves, s);

    int counter = 0;
    for (int y = 0; y < m_h; ++y) {
        const int r = m_bottomUp ? m_h - 1 - y : y;
        bool rowReady = false;
        for (int e = 0; e < m_entries; ++e) {
            if (m_pickRows[std::size_t(e)][std::size_t(r)] == 0)
                continue;
            ++counter;
            m_progress.Report(WM_CARDPROGRESS, n, counter);
            if (m_progress.IsCancelled()) {
                m_result.Cancelled = true;
                return false;
            }
            if (!rowReady) {
                if (!PrepareRow(r))
                    return false;
                rowReady = true;
            }
            const int q = counter - 1;
            std::uint8_t *row = card[std::size_t(q)].data();
            std::uint8_t *early = m_earlyShuttle ? card[std::size_t((n + q - 1) % n)].data() : row;
            if (!FillCard(row, early, e, r, y, q))
                return false;
        }
    }

    if (m_result.DivisionCount > 1)
        ApplyCardDivision(card, run, m_divisionOrder);
    out = card;
    return true;
}

} // namespace

bool ReferenceBuildCardData(const TMesh &mesh, const TYangkaImage &sampleCard, int scanStart,
    TMultiByteArray &card, TCardBuildResult &result, const TCardProgress &progress,
    const TNeedleMaskTable &pickTable, const TNeedleMaskTable &weftDensTable)
{
    result = TCardBuildResult();
    TReferenceCardBuilder builder(mesh, sampleCard, scanStart, result, progress, pickTable, weftDensTable);
    return builder.Run(card);
}
