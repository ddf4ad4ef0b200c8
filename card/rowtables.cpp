#include "card/rowtables.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <utility>

void GrowPickTables(TMesh &mesh, bool noPick, int count)
{
    if (mesh.PickRows.isEmpty() || count == 0)
        return;
    if (count < 0) {
        for (const TWeaveArray *t : { &mesh.PickRows, &mesh.RegulatorRows, &mesh.WeftDensRows })
            if (t->length() <= -count)
                return;
    }
    const qsizetype rowLength = mesh.PickRows[0].size();
    for (TWeaveArray *t : { &mesh.PickRows, &mesh.RegulatorRows, &mesh.WeftDensRows }) {
        const int old = t->length();
        t->setLength(std::max(old + count, 0));
        for (int e = old; e < t->length(); ++e) {
            (*t)[e].setLength(rowLength);
            // Shuttle numbers and weft-density steps choose one of the 16 entries of the
            // pick and weft-density tables, so the defaults cycle 1..16: entry e gets
            // e mod 16 + 1.
            const auto value = std::uint8_t(e % MaxNeedleTableValue + 1);
            const std::uint8_t shuttle = noPick ? 0 : value;
            if (t == &mesh.PickRows)
                (*t)[e].fill(shuttle);
            else if (t == &mesh.RegulatorRows)
                (*t)[e].fill(shuttle == 0 ? 1 : 0);
            else
                (*t)[e].fill(value);
        }
    }
    mesh.WeftRepeat = std::max(mesh.WeftRepeat + count, 1);
    InitTechWeaveSlots(mesh);
}

bool RowTableFits(const TMesh &mesh, const TWeaveArray &table)
{
    if (table.length() != std::max(mesh.WeftRepeat, 1))
        return false;
    return std::all_of(table.begin(), table.end(),
        [&](const TDynamicByteArray &rows) { return rows.length() == std::max(mesh.Wefts, 0); });
}

namespace {
// The table fitted to fresh's shape: where the entry counts agree, each entry keeps the
// values of old row firstOldRow + r in new row r while that row exists; every other cell
// keeps fresh's default. Returns the number of entered rows that no longer have a place.
int keepRows(TWeaveArray &table, const TWeaveArray &fresh, int firstOldRow)
{
    if (table.length() != fresh.length()) {
        table = fresh;
        return 0;
    }
    int dropped = 0;
    for (int e = 0; e < table.length(); ++e) {
        const TDynamicByteArray &old = table[e];
        TDynamicByteArray rows = fresh[e];
        int kept = 0;
        for (int r = 0; r < rows.length(); ++r) {
            const int from = firstOldRow + r;
            if (from >= 0 && from < old.length()) {
                rows[r] = old[from];
                ++kept;
            }
        }
        dropped = std::max(dropped, int(old.length()) - kept);
        table[e] = rows;
    }
    return dropped;
}
} // namespace

int FitRowTablesToHeight(TMesh &mesh, int firstOldRow)
{
    if (RowTableFits(mesh, mesh.PickRows) && RowTableFits(mesh, mesh.RegulatorRows)
        && RowTableFits(mesh, mesh.WeftDensRows))
        return 0;
    TMesh fresh = mesh;
    InitRowTables(fresh);
    int dropped = 0;
    const std::pair<TWeaveArray *, const TWeaveArray *> tables[] = {
        { &mesh.PickRows, &fresh.PickRows },
        { &mesh.RegulatorRows, &fresh.RegulatorRows },
        { &mesh.WeftDensRows, &fresh.WeftDensRows },
    };
    for (const auto &[table, defaults] : tables)
        if (!RowTableFits(mesh, *table))
            dropped = std::max(dropped, keepRows(*table, *defaults, firstOldRow));
    return dropped;
}

void EnsureRowTables(TMesh &mesh)
{
    if (RowTableFits(mesh, mesh.PickRows) && RowTableFits(mesh, mesh.RegulatorRows)
        && RowTableFits(mesh, mesh.WeftDensRows))
        return;
    TMesh fresh = mesh;
    InitRowTables(fresh);
    if (!RowTableFits(mesh, mesh.PickRows))
        mesh.PickRows = fresh.PickRows;
    if (!RowTableFits(mesh, mesh.RegulatorRows))
        mesh.RegulatorRows = fresh.RegulatorRows;
    if (!RowTableFits(mesh, mesh.WeftDensRows))
        mesh.WeftDensRows = fresh.WeftDensRows;
}

bool CheckRowTableValues(const TMesh &mesh, QString *error)
{
    const struct {
        const TWeaveArray *table;
        TUiMessageKey what;
    } tables[] = {
        { &mesh.PickRows, UiKey::String::RowTableShuttleName },
        { &mesh.WeftDensRows, UiKey::String::RowTableWeftDensityName },
    };
    for (const auto &t : tables) {
        const int entries = std::min(int(t.table->length()), std::max(mesh.WeftRepeat, 1));
        for (int e = 0; e < entries; ++e)
            for (int r = 0; r < (*t.table)[e].length(); ++r)
                if ((*t.table)[e][r] > MaxNeedleTableValue)
                    return Fail(error,
                        GetUiMessage(UiKey::String::RowTableValueRange)
                            .arg(GetUiMessage(t.what))
                            .arg((*t.table)[e][r])
                            .arg(e + 1)
                            .arg(r + 1));
    }
    return true;
}
