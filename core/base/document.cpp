#include "core/base/document.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

TWeaveArray MakeWeaveArray(int outer, int inner, std::uint8_t value)
{
    TWeaveArray a(std::max(outer, 0));
    for (auto &row : a) {
        row.setLength(std::max(inner, 0));
        row.fill(value);
    }
    return a;
}

// Shuttle numbers and weft-density steps choose one of the 16 entries of the pick and
// weft-density tables, so the defaults cycle 1..16: entry e gets e mod 16 + 1.
static std::uint8_t defaultTableValue(int entry)
{
    return static_cast<std::uint8_t>(entry % 16 + 1);
}

void InitPickRowTables(TMesh &mesh)
{
    const int entries = std::max(mesh.WeftRepeat, 1);
    const int rows = std::max(mesh.Wefts, 0);
    mesh.PickRows = MakeWeaveArray(entries, rows);
    mesh.RegulatorRows = MakeWeaveArray(entries, rows);
    for (int e = 0; e < entries; ++e) {
        mesh.PickRows[e].fill(defaultTableValue(e));
        mesh.RegulatorRows[e].fill(e == 0 ? 1 : 0);
    }
}

void InitLayerRowTable(TMesh &mesh)
{
    const int entries = std::max(mesh.WeftRepeat, 1);
    mesh.WeftDensRows = MakeWeaveArray(entries, std::max(mesh.Wefts, 0));
    for (int e = 0; e < entries; ++e)
        mesh.WeftDensRows[e].fill(defaultTableValue(e));
}

void InitRowTables(TMesh &mesh)
{
    InitPickRowTables(mesh);
    InitLayerRowTable(mesh);
}

static void ensureNames(std::shared_ptr<QStringList> &names)
{
    if (!names)
        names = std::make_shared<QStringList>();
}

void InitTechWeaveSlots(TMesh &mesh)
{
    const int wanted = 3 * std::max(mesh.WeftRepeat, 1);
    ensureNames(mesh.TechWeaveNames);
    const int have = mesh.TechWeaves.length();
    if (have < wanted) {
        mesh.TechWeaves.setLength(wanted);
        for (int s = have; s < wanted; ++s)
            mesh.TechWeaves[s] = MakeWeaveArray(2, 2, 0);
    }
    while (mesh.TechWeaveNames->size() < mesh.TechWeaves.length())
        mesh.TechWeaveNames->append(QString());
}

void InitWeaveSlots(TMesh &mesh)
{
    ensureNames(mesh.ColorWeaveNames);
    InitTechWeaveSlots(mesh);
}

TWeaveArray DefaultColorWeave(TColor colour)
{
    const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    const bool light = red >= 30 || green >= 30 || blue >= 30;
    return MakeWeaveArray(2, 2, light ? 1 : 0);
}

int ColorWeaveSlot(const TMesh &mesh, int colour, int warpRepeat, int entry)
{
    const int perEntry = mesh.Colors.length() * std::max(mesh.WarpRepeat, 1);
    return entry * perEntry + colour * std::max(mesh.WarpRepeat, 1) + warpRepeat;
}

bool CheckMeshRepeats(const TMesh &mesh, QString *error)
{
    if (mesh.WarpRepeat < 1 || mesh.WarpRepeat > MaxMeshRepeat || mesh.WeftRepeat < 1
        || mesh.WeftRepeat > MaxMeshRepeat)
        return Fail(error,
            GetUiMessage(UiKey::String::MeshRepeatsRange)
                .arg(mesh.WarpRepeat)
                .arg(mesh.WeftRepeat)
                .arg(MaxMeshRepeat));
    const qint64 slots = qint64(mesh.Colors.length()) * mesh.WarpRepeat * mesh.WeftRepeat;
    if (slots > MaxColourWeaveSlots)
        return Fail(error,
            GetUiMessage(UiKey::String::MeshColorWeavesOver)
                .arg(mesh.Colors.length())
                .arg(mesh.WarpRepeat)
                .arg(mesh.WeftRepeat));
    if (qint64(mesh.WeftRepeat) * std::max(mesh.Wefts, 0) > MaxRowTableCells)
        return Fail(
            error, GetUiMessage(UiKey::String::MeshWeftEntriesOver).arg(mesh.WeftRepeat).arg(mesh.Wefts));
    return true;
}

bool SetDefaultColourWeaves(TMesh &mesh)
{
    if (!CheckMeshRepeats(mesh))
        return false;
    const int c = mesh.Colors.length();
    const int r = std::max(mesh.WarpRepeat, 1);
    const int slots = c * r * std::max(mesh.WeftRepeat, 1);
    ensureNames(mesh.ColorWeaveNames);
    mesh.ColorWeaveNames->clear();
    mesh.ColorWeaves.setLength(slots);
    for (int s = 0; s < slots; ++s) {
        mesh.ColorWeaves[s] = DefaultColorWeave(mesh.Colors[(s % (c * r)) / r]);
        mesh.ColorWeaveNames->append(QString());
    }
    return true;
}

void InitNewDocument(TMesh &mesh, QImage *picture, double warpDensity, double weftDensity, int layerCount,
    const TColorArray &colors)
{
    mesh.Picture = picture;
    mesh.Warps = picture ? picture->width() : 0;
    mesh.Wefts = picture ? picture->height() : 0;
    mesh.WarpDensity = warpDensity;
    mesh.WeftDensity = weftDensity;
    mesh.Colors = colors;
    InitRowTables(mesh);
    InitTechWeaveSlots(mesh);
    SetDefaultColourWeaves(mesh);
    mesh.LayerCount = std::max(layerCount, 1);
}
