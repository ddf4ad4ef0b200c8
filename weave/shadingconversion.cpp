// Converting a picture into a weave picture shaded from one twill.
#include "weave/shadingconversion.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/base/progress.h"
#include "core/palette/palette.h"
#include "core/settings/uitexts.h"
#include "weave/weavefile.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>
#include <system_error>
#include <thread>

void SortColorsByCount(TClrIndex &list)
{
    for (qsizetype i = 0; i + 1 < list.size(); ++i) {
        qsizetype best = i + 1;
        for (qsizetype k = i + 2; k < list.size(); ++k)
            if (list[k].Count > list[best].Count)
                best = k;
        if (list[best].Count > list[i].Count)
            std::swap(list[i], list[best]);
    }
}

TClrIndex CountPictureColors(const QImage &picture)
{
    TClrIndex list;
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return list;
    TPalette256 palette;
    GetBitmapPalette(picture, palette);
    std::array<std::int64_t, 256> counts {};
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t *row = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            ++counts[row[x]];
    }
    list.resize(256);
    for (int i = 0; i < 256; ++i) {
        list[i].Color = PlainColor(palette[std::size_t(i)]);
        // A picture holds at most 65,535 x 65,535 cells: a count past 32 bits is held at
        // its largest, which keeps the order.
        list[i].Count = std::int32_t(std::min<std::int64_t>(counts[std::size_t(i)], INT32_MAX));
    }
    SortColorsByCount(list);
    while (!list.isEmpty() && list.last().Count == 0)
        list.removeLast();
    return list;
}

bool IsShadingWeave(const TWeaveArray &weave)
{
    const int wefts = weave.isEmpty() ? 0 : weave[0].length();
    for (int j = 0; j < wefts; ++j) {
        int points = 0;
        for (int x = 0; x < weave.length(); ++x)
            points += j < weave[x].length() && weave[x][j] == 1;
        if (points != 1)
            return false;
    }
    return true;
}

double ColorBrightness(TColor color)
{
    const int red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
    return (std::max({ red, green, blue }) + 1) / 256.0;
}

int ShadingMemberIndex(TColor color, int count)
{
    if (count <= 1)
        return 0;
    const double step = 1000.0 / count;
    return int(std::min<std::int64_t>(count - 1, Trunc(ColorBrightness(color) * 1000.0 / step)));
}

TShadingSeries::TShadingSeries(const TWeaveArray &base)
{
    m_warps = base.length();
    m_wefts = m_warps > 0 ? base[0].length() : 0;
    if (m_warps == 0 || m_wefts == 0)
        return;
    m_point.assign(std::size_t(m_wefts), 0);
    for (int j = 0; j < m_wefts; ++j)
        for (int x = 0; x < m_warps; ++x)
            if (j < base[x].length() && base[x][j] == 1)
                m_point[std::size_t(j)] = x; // the last point of the weft
    m_count = m_warps >= 3 ? 1 + (m_warps - 2) * m_wefts : 1;
}

std::vector<std::uint8_t> TShadingSeries::MemberPoints(int index) const
{
    return MembersPoints({ index }).front();
}

std::vector<std::vector<std::uint8_t>> TShadingSeries::MembersPoints(const std::vector<int> &indexes) const
{
    const std::size_t w = std::size_t(m_warps);
    std::vector<std::uint8_t> points(w * std::size_t(m_wefts), 1);
    std::vector<std::vector<std::uint8_t>> members(indexes.size());
    if (m_count == 0) {
        std::fill(members.begin(), members.end(), points);
        return members;
    }
    for (int j = 0; j < m_wefts; ++j)
        points[std::size_t(j) * w + std::size_t(m_point[std::size_t(j)])] = 0;
    // Each member is the one before with one more point out, so one walk up to the largest
    // index asked for passes every member asked for; it is copied out on the way.
    std::vector<std::size_t> order(indexes.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    const auto clamped = [&](std::size_t k) { return std::clamp(indexes[k], 0, m_count - 1); };
    std::sort(
        order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return clamped(a) < clamped(b); });
    // Step t takes a point out of weft H - 1 - (t mod H), at the offset of round t div H.
    int t = 0, j = m_wefts - 1, k = 0;
    for (const std::size_t asked : order) {
        for (const int end = clamped(asked); t < end; ++t) {
            const int d = (k % 2 == 0) ? k / 2 + 1 : -(k / 2 + 1);
            const int x = ((m_point[std::size_t(j)] + d) % m_warps + m_warps) % m_warps;
            points[std::size_t(j) * w + std::size_t(x)] = 0;
            if (--j < 0) {
                j = m_wefts - 1;
                ++k;
            }
        }
        members[asked] = points;
    }
    return members;
}

TWeaveArray TShadingSeries::Member(int index) const
{
    const std::vector<std::uint8_t> points = MemberPoints(index);
    TWeaveArray weave = MakeWeaveArray(m_warps, m_wefts);
    for (int x = 0; x < m_warps; ++x)
        for (int j = 0; j < m_wefts; ++j)
            weave[x][j] = points[std::size_t(j) * std::size_t(m_warps) + std::size_t(x)];
    return weave;
}

TShadingSeries MakeShadingSeries(const TWeaveArray &base)
{
    return TShadingSeries(base);
}

namespace {

// A weave flattened weft by weft, as the tiling reads it.
struct TFlatWeave {
    int Warps = 0;
    int Wefts = 0;
    std::vector<std::uint8_t> Points;
};

TFlatWeave flatten(const TWeaveArray &weave)
{
    TFlatWeave flat;
    flat.Warps = weave.length();
    flat.Wefts = flat.Warps > 0 ? weave[0].length() : 0;
    flat.Points.assign(std::size_t(flat.Warps) * std::size_t(flat.Wefts), 0);
    for (int x = 0; x < flat.Warps; ++x)
        for (int j = 0; j < flat.Wefts && j < weave[x].length(); ++j)
            flat.Points[std::size_t(j) * std::size_t(flat.Warps) + std::size_t(x)] = weave[x][j] == 1;
    return flat;
}

// Every cell of it is written by the tiling, so it is not cleared first.
QImage weavePicture(int width, int height)
{
    TPalette256 palette;
    palette.fill(BlackQuad);
    palette[0] = WhiteQuad;
    QImage picture(width, height, QImage::Format_Indexed8);
    if (!picture.isNull())
        SetBitmapPalette(picture, palette);
    return picture;
}

// A weave of at most 64 warps with each weft as a mask, bit k for warp k. Eight cells of
// 0 or 1 are packed at once: the product moves cell k's bit to bit 56 + k, with no two
// partial products meeting.
std::vector<std::uint64_t> weftMasks(const TFlatWeave &weave)
{
    static_assert(std::endian::native == std::endian::little, "cell k is read as byte k of the word");
    const std::size_t w = std::size_t(weave.Warps);
    std::vector<std::uint64_t> masks(std::size_t(weave.Wefts), 0);
    for (std::size_t j = 0; j < masks.size(); ++j) {
        const std::uint8_t *cells = weave.Points.data() + j * w;
        std::size_t k = 0;
        for (; k + 8 <= w; k += 8) {
            std::uint64_t eight;
            std::memcpy(&eight, cells + k, 8);
            masks[j] |= ((eight * 0x0102040810204080ull) >> 56) << k;
        }
        for (; k < w; ++k)
            masks[j] |= std::uint64_t(cells[k]) << k;
    }
    return masks;
}

// Cells k .. k + 7 of a block (k + 8 <= 64): bit k + b of the mask of cell b's entry,
// written as eight bytes of 0 or 1. The eight bits are gathered into one byte, which is
// spread over a word (byte b keeps bit b) and each byte's bit made its lowest.
inline void storeEightCells(const std::uint64_t *table, const std::uint8_t *in, int k, std::uint8_t *out)
{
    const std::uint64_t bit = std::uint64_t(1) << k;
    const std::uint64_t picked = (table[in[0]] & bit) | (table[in[1]] & bit << 1) | (table[in[2]] & bit << 2)
        | (table[in[3]] & bit << 3) | (table[in[4]] & bit << 4) | (table[in[5]] & bit << 5)
        | (table[in[6]] & bit << 6) | (table[in[7]] & bit << 7);
    const std::uint64_t spread = ((picked >> k) & 0xFF) * 0x0101010101010101ull & 0x8040201008040201ull;
    // Each byte is 0 or 2^b <= 128: adding 127 sets its top bit exactly when it is not 0.
    const std::uint64_t cells = ((spread + 0x7F7F7F7F7F7F7F7Full) >> 7) & 0x0101010101010101ull;
    std::memcpy(out, &cells, 8);
}

// The weave size every entry with a weave shares, or 0 x 0 when they differ.
QSize sharedWeaveSize(const std::array<const TFlatWeave *, 256> &weaveOf)
{
    QSize size;
    for (const TFlatWeave *w : weaveOf) {
        if (!w)
            continue;
        if (w->Warps == 0 || w->Wefts == 0)
            return QSize();
        if (size.isEmpty())
            size = QSize(w->Warps, w->Wefts);
        else if (size != QSize(w->Warps, w->Wefts))
            return QSize();
    }
    return size;
}

// The tiling of flattened weaves, one per palette entry (null: a plain weave). False, the
// result as it was, when there is no memory for it.
bool tileFlat(const QImage &picture, const std::array<const TFlatWeave *, 256> &weaveOf, QImage &result)
{
    const int width = picture.width(), height = picture.height();
    QImage out = weavePicture(width, height);
    if (out.isNull())
        return false;
    const QSize shared = sharedWeaveSize(weaveOf);
    ShowProgressGauge();
    TProgressSteps progress(height);
    if (!shared.isEmpty()) {
        // One weave size for all: per row, each entry's weft of that row; the row is then
        // taken in blocks of one repeat, so that no cell needs a division. Entries without a
        // weave read a row of alternating cells, started by the parity of the block. Rows
        // are independent: several threads take them, the calling one reporting progress.
        const int w = shared.width(), h = shared.height();
        std::vector<std::uint8_t> plain(std::size_t(w) + 1);
        for (std::size_t k = 0; k < plain.size(); ++k)
            plain[k] = std::uint8_t(k % 2);
        // Up to 64 warps a weft is one mask, so that a cell takes one table read instead of
        // a row address and a cell of that row.
        std::map<const TFlatWeave *, std::vector<std::uint64_t>> masksOf;
        std::array<const std::uint64_t *, 256> entryMasks {};
        if (w <= 64)
            for (std::size_t i = 0; i < 256; ++i)
                if (const TFlatWeave *f = weaveOf[i]) {
                    auto it = masksOf.find(f);
                    if (it == masksOf.end())
                        it = masksOf.emplace(f, weftMasks(*f)).first;
                    entryMasks[i] = it->second.data();
                }
        // The plain weave by the parity of its first cell: odd warps first, or even.
        constexpr std::array<std::uint64_t, 2> plainMask { 0xAAAAAAAAAAAAAAAAull, 0x5555555555555555ull };
        std::uint8_t *const bits = out.bits();
        const qsizetype stride = out.bytesPerLine();
        // A block's parity changes along the row only when the repeat is odd.
        const int parities = w % 2 ? 2 : 1;
        using TRowMasks = std::array<std::array<std::uint64_t, 256>, 2>; // by the block's parity
        const auto fillRowMasks = [&](std::size_t wy, int yParity, TRowMasks &maskOf) {
            for (int p = 0; p < parities; ++p) {
                const std::uint64_t plainRow = plainMask[std::size_t((yParity + p) % 2)];
                for (std::size_t i = 0; i < 256; ++i)
                    maskOf[std::size_t(p)][i] = entryMasks[i] ? entryMasks[i][wy] : plainRow;
            }
        };
        // The tables of a row depend on its weft and its parity only: when the picture is
        // tall enough for them to pay, each such pair's are made once here, else every row
        // makes its own.
        std::vector<TRowMasks> sharedMasks;
        if (w <= 64 && 8 * qint64(h) <= height && qint64(h) * 2 * qint64(sizeof(TRowMasks)) <= (8 << 20)) {
            sharedMasks.resize(std::size_t(h) * 2);
            for (std::size_t k = 0; k < sharedMasks.size(); ++k)
                fillRowMasks(k / 2, int(k % 2), sharedMasks[k]);
        }
        const auto maskBand = [&](int first, int end) {
            TRowMasks ownMasks;
            for (int y = first; y < end; ++y) {
                const std::uint8_t *row = picture.constScanLine(y);
                std::uint8_t *cells = bits + stride * y;
                const std::size_t wy = std::size_t(h - 1 - (height - 1 - y) % h);
                const TRowMasks *maskOf = &ownMasks;
                if (sharedMasks.empty())
                    fillRowMasks(wy, y % 2, ownMasks);
                else
                    maskOf = &sharedMasks[wy * 2 + std::size_t(y % 2)];
                int p = 0;
                for (int x0 = 0; x0 < width; x0 += w, p ^= parities - 1) {
                    const std::uint64_t *table = (*maskOf)[std::size_t(p)].data();
                    const int n = std::min(w, width - x0);
                    const std::uint8_t *in = row + x0;
                    std::uint8_t *o = cells + x0;
                    int k = 0;
                    for (; k + 8 <= n; k += 8)
                        storeEightCells(table, in + k, k, o + k);
                    for (; k < n; ++k)
                        o[k] = std::uint8_t((table[in[k]] >> k) & 1);
                }
            }
        };
        const auto byteBand = [&](int first, int end) {
            std::array<std::array<const std::uint8_t *, 256>, 2> rowOf {};
            for (int y = first; y < end; ++y) {
                const std::uint8_t *row = picture.constScanLine(y);
                std::uint8_t *cells = bits + stride * y;
                const std::size_t wy = std::size_t(h - 1 - (height - 1 - y) % h);
                for (int i = 0; i < 256; ++i) {
                    const TFlatWeave *f = weaveOf[std::size_t(i)];
                    for (int parity = 0; parity < 2; ++parity)
                        rowOf[std::size_t(parity)][std::size_t(i)]
                            = f ? f->Points.data() + wy * std::size_t(w) : plain.data() + parity;
                }
                for (int x0 = 0; x0 < width; x0 += w) {
                    const auto &table = rowOf[std::size_t((x0 + y) % 2)];
                    const int n = std::min(w, width - x0);
                    const std::uint8_t *in = row + x0;
                    std::uint8_t *o = cells + x0;
                    for (int k = 0; k < n; ++k)
                        o[k] = table[in[k]][k];
                }
            }
        };
        const auto band = [&](int first, int end) {
            if (w <= 64)
                maskBand(first, end);
            else
                byteBand(first, end);
        };
        const qint64 cores = std::max(1u, std::thread::hardware_concurrency());
        const int threads = int(std::clamp<qint64>(
            qint64(width) * height / (1 << 20), 1, std::min({ cores, qint64(8), qint64(height) })));
        // Rows are handed out a few at a time rather than in one band per thread, so that a
        // thread the system runs late (a busy machine) leaves its rows to the others.
        constexpr int chunkRows = 32;
        std::atomic<int> next { 0 }, done { 0 };
        const auto loop = [&](bool reports) {
            for (int first = next.fetch_add(chunkRows); first < height; first = next.fetch_add(chunkRows)) {
                const int end = std::min(height, first + chunkRows);
                band(first, end);
                const int total = done.fetch_add(end - first) + (end - first);
                if (reports)
                    progress.step(total);
            }
        };
        std::vector<std::thread> helpers;
        for (int t = 1; t < threads; ++t) {
            try {
                helpers.emplace_back(loop, false);
            } catch (const std::system_error &) {
                break; // the threads already running and this one take the rows
            }
        }
        loop(true);
        for (std::thread &t : helpers)
            t.join();
    } else {
        for (int y = height - 1; y >= 0; --y) {
            const std::uint8_t *row = picture.constScanLine(y);
            std::uint8_t *cells = out.scanLine(y);
            const int fromBottom = height - 1 - y;
            for (int x = 0; x < width; ++x) {
                const TFlatWeave *w = weaveOf[row[x]];
                if (!w || w->Warps == 0 || w->Wefts == 0) {
                    cells[x] = std::uint8_t((x + y) % 2);
                    continue;
                }
                const int wy = w->Wefts - 1 - fromBottom % w->Wefts;
                cells[x] = w->Points[std::size_t(wy) * std::size_t(w->Warps) + std::size_t(x % w->Warps)];
            }
            progress.step(height - y);
        }
    }
    progress.finish();
    result = out;
    return true;
}

// For every palette entry of the picture, the last listed colour equal to it, or -1.
std::array<int, 256> listedColorOfEntries(const QImage &picture, const TClrIndex &colors)
{
    TPalette256 palette;
    GetBitmapPalette(picture, palette);
    std::array<int, 256> of;
    of.fill(-1);
    for (int i = 0; i < 256; ++i) {
        const TColor entry = PlainColor(palette[std::size_t(i)]) & 0xFFFFFF;
        for (qsizetype c = 0; c < colors.size(); ++c)
            if ((colors[c].Color & 0xFFFFFF) == entry)
                of[std::size_t(i)] = int(c);
    }
    return of;
}

bool usablePicture(const QImage &picture)
{
    return !picture.isNull() && picture.format() == QImage::Format_Indexed8;
}

} // namespace

void TileColorWeaves(
    const QImage &picture, const TClrIndex &colors, const QList<TWeaveArray> &weaves, QImage &result)
{
    if (!usablePicture(picture))
        return;
    std::vector<TFlatWeave> flat;
    for (const TWeaveArray &w : weaves)
        flat.push_back(flatten(w));
    const std::array<int, 256> listed = listedColorOfEntries(picture, colors);
    std::array<const TFlatWeave *, 256> weaveOf {};
    for (int i = 0; i < 256; ++i)
        if (listed[std::size_t(i)] >= 0 && listed[std::size_t(i)] < qsizetype(flat.size()))
            weaveOf[std::size_t(i)] = &flat[std::size_t(listed[std::size_t(i)])];
    tileFlat(picture, weaveOf, result);
}

bool ConvertToWeave(
    const QImage &picture, const TClrIndex &colors, const TWeaveArray &base, QImage &result, QString *error)
{
    if (base.isEmpty() || base[0].isEmpty() || !IsShadingWeave(base))
        return Fail(error, GetUiMessage(UiKey::String::WeaveIsInCorrect));
    if (!usablePicture(picture))
        return false;
    const TShadingSeries series(base);
    const std::array<int, 256> listed = listedColorOfEntries(picture, colors);
    // Only the members the colours use are made, each once, all in one walk.
    std::map<int, TFlatWeave> members;
    std::array<int, 256> memberOf;
    memberOf.fill(-1);
    for (int i = 0; i < 256; ++i) {
        const int c = listed[std::size_t(i)];
        if (c < 0)
            continue;
        memberOf[std::size_t(i)] = ShadingMemberIndex(colors[c].Color, series.Count());
        members.emplace(memberOf[std::size_t(i)], TFlatWeave { series.Warps(), series.Wefts(), {} });
    }
    std::vector<int> used;
    for (const auto &[m, flat] : members)
        used.push_back(m);
    std::vector<std::vector<std::uint8_t>> points = series.MembersPoints(used);
    for (std::size_t k = 0; k < used.size(); ++k)
        members[used[k]].Points = std::move(points[k]);
    std::array<const TFlatWeave *, 256> weaveOf {};
    for (int i = 0; i < 256; ++i)
        if (memberOf[std::size_t(i)] >= 0)
            weaveOf[std::size_t(i)] = &members[memberOf[std::size_t(i)]];
    if (!tileFlat(picture, weaveOf, result))
        return Fail(error, GetUiMessage(UiKey::String::PictureNoMemory));
    return true;
}

void TSpecifyWeave::ReadColors(const QImage &picture)
{
    SetColorCount(0);
    m_colors = CountPictureColors(picture);
    SetColorCount(int(m_colors.size()));
}

void TSpecifyWeave::SetColorCount(int count)
{
    count = std::max(count, 0);
    if (count == 0) {
        m_colors.clear();
        m_selected = 0;
    }
    m_infos.resize(count);
    m_total = 0;
    for (int i = 0; i < count && i < m_colors.size(); ++i)
        m_total += m_colors[i].Count;
}

bool TSpecifyWeave::LoadSelectedWeave(const QString &fileName, QString *error)
{
    if (m_selected < 0 || m_selected >= m_infos.size())
        return false;
    TWeaveArray weave;
    if (!LoadWeaveFile(fileName, weave, error))
        return false;
    TOneGridInfo &info = m_infos[m_selected];
    info.Weave = weave;
    info.FileName = fileName;
    info.Assigned = true;
    return true;
}

bool TSpecifyWeave::IsShadingWeave() const
{
    if (m_selected < 0 || m_selected >= m_infos.size())
        return false;
    return ::IsShadingWeave(m_infos[m_selected].Weave);
}

bool TSpecifyWeave::ShadeColors(const QImage &picture, QImage &result, QString *error) const
{
    if (m_selected < 0 || m_selected >= m_infos.size())
        return Fail(error, GetUiMessage(UiKey::String::WeaveIsInCorrect));
    return ConvertToWeave(picture, m_colors, m_infos[m_selected].Weave, result, error);
}
