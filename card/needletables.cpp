#include "card/needletables.h"

#include "card/rowtables.h"
#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <vector>

QString NeedleTableSection(TNeedleTableKind kind)
{
    return kind == WeftDensTableKind ? QStringLiteral("WeftDens") : QStringLiteral("Pick");
}

void ResetNeedleTable(TNeedleMaskTable &masks, int count)
{
    for (int i = 0; i < 16; ++i)
        masks[i] = i < count ? (1u << i) : 0u;
}

bool NeedleTableFromWeave(const TWeaveArray &weave, TNeedleMaskTable &masks, int &count)
{
    const int w = std::min(int(weave.length()), 16);
    const int h = std::min(weave.isEmpty() ? 0 : int(weave[0].length()), 16);
    if (w == 0 || h == 0)
        return false;
    for (int i = 0; i < 16; ++i) {
        std::uint32_t mask = 0;
        if (i < h)
            for (int j = 0; j < w; ++j)
                if (weave[j].length() > h - 1 - i && weave[j][h - 1 - i] == 1)
                    mask |= 1u << j;
        masks[i] = mask;
    }
    count = w;
    return true;
}

bool ApplyValueByColour(TMesh &mesh, const QImage &picture, int colourIndex, int entry, int value,
    bool weftDensMode, QString *error)
{
    if (entry < 0 || entry > 15)
        return Fail(error, GetUiMessage(UiKey::String::NeedleTableEntryRange));
    if (value < 0 || value > MaxNeedleTableValue)
        return Fail(error, GetUiMessage(UiKey::String::NeedleTableValueRange).arg(value));
    if (picture.format() != QImage::Format_Indexed8 || colourIndex < 0 || colourIndex > 255)
        return Fail(error, GetUiMessage(UiKey::String::NeedleTableNoColor));

    std::vector<int> rows;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *line = picture.constScanLine(y);
        if (std::find(line, line + picture.width(), uchar(colourIndex)) != line + picture.width())
            rows.push_back(y);
    }
    // The row tables are as long as the pattern; a stale table is never written past its end.
    auto set = [&](TWeaveArray &table, int e, std::uint8_t v) {
        for (int y : rows)
            if (y < table[e].length())
                table[e][y] = v;
    };
    if (weftDensMode) {
        if (mesh.WeftDensRows.length() >= entry + 1)
            set(mesh.WeftDensRows, entry, std::uint8_t(value));
        return true;
    }
    if (mesh.PickRows.length() < entry + 1)
        GrowPickTables(mesh, true, entry + 1 - mesh.PickRows.length());
    if (mesh.PickRows.length() < entry + 1)
        return Fail(error, GetUiMessage(UiKey::String::NeedleTableNoRows));
    set(mesh.PickRows, entry, std::uint8_t(value));
    if (entry != 0 && value != 0 && mesh.RegulatorRows.length() > entry)
        set(mesh.RegulatorRows, entry, 0);
    return true;
}
