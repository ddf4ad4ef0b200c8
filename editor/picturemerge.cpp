// One palette for several pictures, and the multi-layer merge.
#include "editor/picturemerge.h"

#include "core/base/error.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <unordered_map>

namespace {

std::uint32_t rgbKey(const TPaletteEntry &e)
{
    return (std::uint32_t(e.Red) << 16) | (std::uint32_t(e.Green) << 8) | e.Blue;
}

TPaletteEntry keyEntry(std::uint32_t key)
{
    return { std::uint8_t(key >> 16), std::uint8_t(key >> 8), std::uint8_t(key), 0 };
}

// One used colour of all the pictures: its red, green and blue and how many cells hold it.
struct TUsedColor {
    std::uint32_t Key = 0;
    std::int64_t Count = 0;
};

bool sharePalette(const QList<QImage> &pictures)
{
    TPalette256 first, other;
    GetBitmapPalette(pictures.front(), first);
    for (qsizetype i = 1; i < pictures.size(); ++i) {
        GetBitmapPalette(pictures[i], other);
        if (other != first)
            return false;
    }
    return true;
}

// The kept colours when more than 256 are used: black and white, and the 254 most used of
// the others (the first met among equals).
std::vector<std::uint32_t> keepMostUsed(std::vector<TUsedColor> used)
{
    constexpr std::uint32_t black = 0, white = 0xFFFFFF;
    std::erase_if(used, [](const TUsedColor &c) { return c.Key == black || c.Key == white; });
    std::stable_sort(
        used.begin(), used.end(), [](const TUsedColor &a, const TUsedColor &b) { return a.Count > b.Count; });
    used.resize(std::min<std::size_t>(used.size(), 254));
    std::vector<std::uint32_t> kept;
    for (const TUsedColor &c : used)
        kept.push_back(c.Key);
    kept.resize(254, black);
    kept.push_back(black);
    kept.push_back(white);
    return kept;
}

} // namespace

void UnitePictureColors(const QList<QImage> &pictures, TUnitedColors &united, bool keepBlack)
{
    united = TUnitedColors();
    if (pictures.isEmpty())
        return;
    if (!keepBlack && sharePalette(pictures)) {
        GetBitmapPalette(pictures.front(), united.Palette);
        TColorCounts counts {};
        int used = 0;
        for (const QImage &p : pictures) {
            TColorCounts own;
            CountColorUse(p, own);
            for (int v = 0; v < 256; ++v)
                counts[std::size_t(v)].Count += own[std::size_t(v)].Count;
        }
        for (const TColorCount &c : counts)
            used += c.Count > 0 ? 1 : 0;
        united.UsedColors = used;
        return;
    }

    // The used colours in the order met, with their cell counts.
    std::vector<TUsedColor> used;
    std::unordered_map<std::uint32_t, std::size_t> where;
    std::vector<TPalette256> palettes(std::size_t(pictures.size()));
    auto meet = [&](std::uint32_t key, std::int64_t count) {
        const auto [it, isNew] = where.try_emplace(key, used.size());
        if (isNew)
            used.push_back({ key, 0 });
        used[it->second].Count += count;
    };
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        GetBitmapPalette(pictures[i], palettes[std::size_t(i)]);
        TColorCounts counts;
        CountColorUse(pictures[i], counts);
        for (int v = 0; v < 256; ++v)
            if (counts[std::size_t(v)].Count > 0)
                meet(rgbKey(palettes[std::size_t(i)][std::size_t(v)]), counts[std::size_t(v)].Count);
    }
    if (keepBlack)
        meet(0, 0);
    united.UsedColors = int(used.size());

    std::vector<std::uint32_t> kept;
    if (used.size() <= 256) {
        for (const TUsedColor &c : used)
            kept.push_back(c.Key);
    } else {
        united.Reduced = true;
        kept = keepMostUsed(used);
    }
    united.Palette.fill(BlackQuad);
    for (std::size_t e = 0; e < kept.size(); ++e)
        united.Palette[e] = keyEntry(kept[e]);

    // Each picture's used indexes go to their colour's entry, or to the nearest kept colour.
    std::unordered_map<std::uint32_t, std::uint8_t> entryOf;
    for (std::size_t e = kept.size(); e-- > 0;)
        entryOf[kept[e]] = std::uint8_t(e); // the first entry wins
    united.Maps.assign(std::size_t(pictures.size()), TIndexMap {});
    for (std::size_t i = 0; i < palettes.size(); ++i)
        for (int v = 0; v < 256; ++v) {
            const TPaletteEntry &c = palettes[i][std::size_t(v)];
            const auto found = entryOf.find(rgbKey(c));
            united.Maps[i][std::size_t(v)] = found != entryOf.end()
                ? found->second
                : std::uint8_t(NearestColorIndex(united.Palette.data(), 256, c.Red, c.Green, c.Blue));
        }
}

bool MergeLayerPictures(const QList<QImage> &layers, QImage &result, QString *error)
{
    const QString refused = GetUiMessage(UiKey::String::SelectedNoPictureOrSizeNoSame);
    if (layers.isEmpty())
        return Fail(error, refused);
    const QSize size = layers.front().size();
    for (const QImage &layer : layers)
        if (layer.isNull() || layer.format() != QImage::Format_Indexed8 || layer.size() != size)
            return Fail(error, refused);
    if (static_cast<long long>(size.width()) * layers.size() > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::MergeTooWide));
    TUnitedColors united;
    UnitePictureColors(layers, united);
    if (!InterleavePictureColumns(result, layers, united.Palette, united.Maps))
        return Fail(error, refused);
    return true;
}
