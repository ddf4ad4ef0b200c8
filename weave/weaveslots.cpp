// The assign-weaves window's slots, without the window.
#include "weave/weaveslots.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/settings/uitexts.h"
#include "weave/weavefile.h"

#include <algorithm>

namespace {

const TWeaveArray &emptyWeave()
{
    static const TWeaveArray empty;
    return empty;
}

void ensureNames(std::shared_ptr<QStringList> &names, qsizetype count)
{
    if (!names)
        names = std::make_shared<QStringList>();
    while (names->size() < count)
        names->append(QString());
}

bool isEmptyWeave(const TWeaveArray &weave)
{
    return weave.isEmpty() || weave[0].isEmpty();
}

} // namespace

int ColorSlotOfCell(int colorCount, int warpRepeat, int row, int column)
{
    return (row - 1) * colorCount * std::max(warpRepeat, 1) + column;
}

int TechSlotOfCell(int row, int column)
{
    return (row - 1) * 3 + column;
}

bool GrowAssignmentSlots(TMesh &mesh, QString *error)
{
    if (!CheckMeshRepeats(mesh, error))
        return false;
    const int layers = std::max(mesh.LayerCount, 1);
    const qint64 perRow = qint64(mesh.Colors.length()) * mesh.WarpRepeat;
    const qint64 colorSlots = perRow * layers;
    if (colorSlots > MaxColourWeaveSlots || layers > MaxMeshRepeat)
        return Fail(error,
            GetUiMessage(UiKey::String::MeshColorWeavesOver)
                .arg(mesh.Colors.length())
                .arg(mesh.WarpRepeat)
                .arg(layers));
    const int haveColor = mesh.ColorWeaves.length();
    if (haveColor < colorSlots) {
        mesh.ColorWeaves.setLength(qsizetype(colorSlots));
        for (qint64 s = haveColor; s < colorSlots; ++s)
            mesh.ColorWeaves[qsizetype(s)]
                = DefaultColorWeave(mesh.Colors[qsizetype((s % perRow) / mesh.WarpRepeat)]);
    }
    ensureNames(mesh.ColorWeaveNames, mesh.ColorWeaves.length());
    const int haveTech = mesh.TechWeaves.length();
    const int techSlots = 3 * std::max(layers, mesh.WeftRepeat);
    if (haveTech < techSlots) {
        mesh.TechWeaves.setLength(techSlots);
        for (int s = haveTech; s < techSlots; ++s)
            mesh.TechWeaves[s] = MakeWeaveArray(2, 2, 0);
    }
    ensureNames(mesh.TechWeaveNames, mesh.TechWeaves.length());
    return true;
}

int HeaderBrightness(TColor color)
{
    const int red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
    return int(Round(0.3 * red + 0.59 * green + 0.11 * blue));
}

bool HeaderTextIsWhite(TColor color)
{
    return HeaderBrightness(color) < 129;
}

TWeaveAssignment::TWeaveAssignment(TMesh &mesh, QString *error)
    : m_mesh(mesh)
{
    m_valid = GrowAssignmentSlots(m_mesh, error);
}

void TWeaveAssignment::SetMode(TAssignMode mode)
{
    m_mode = mode;
    if (mode != TAssignMode::Tech || !m_valid)
        return;
    const int shown = std::min<qsizetype>(qsizetype(RowCount()) * 3, m_mesh.TechWeaves.length());
    for (int s = 0; s < shown; ++s)
        if (isEmptyWeave(m_mesh.TechWeaves[s]))
            m_mesh.TechWeaves[s] = MakeWeaveArray(2, 2, 1);
}

int TWeaveAssignment::RowCount() const
{
    return m_valid ? std::max(m_mesh.LayerCount, 1) : 0;
}

int TWeaveAssignment::ColumnCount() const
{
    if (!m_valid)
        return 0;
    return m_mode == TAssignMode::Tech ? 3 : m_mesh.Colors.length() * m_mesh.WarpRepeat;
}

int TWeaveAssignment::ColorOfColumn(int column) const
{
    return column / std::max(m_mesh.WarpRepeat, 1);
}

bool TWeaveAssignment::ValidCell(int row, int column) const
{
    return row >= 1 && row <= RowCount() && column >= 0 && column < ColumnCount();
}

void TWeaveAssignment::ZoomIn()
{
    m_zoom = std::min(m_zoom + 1, MaxZoom);
}

void TWeaveAssignment::ZoomOut()
{
    m_zoom = std::max(m_zoom - 1, MinZoom);
}

TSlotRef TWeaveAssignment::SlotOfCell(int row, int column) const
{
    if (!ValidCell(row, column))
        return TSlotRef { -1, m_mode == TAssignMode::Color };
    if (m_mode == TAssignMode::Tech)
        return TSlotRef { TechSlotOfCell(row, column), false };
    return TSlotRef { ColorSlotOfCell(m_mesh.Colors.length(), m_mesh.WarpRepeat, row, column), true };
}

TWeaveArray *TWeaveAssignment::slotWeave(TSlotRef slot)
{
    TWeaveList &list = slot.IsColor ? m_mesh.ColorWeaves : m_mesh.TechWeaves;
    if (slot.Slot < 0 || slot.Slot >= list.length())
        return nullptr;
    return &list[slot.Slot];
}

QString *TWeaveAssignment::slotName(TSlotRef slot)
{
    std::shared_ptr<QStringList> &names = slot.IsColor ? m_mesh.ColorWeaveNames : m_mesh.TechWeaveNames;
    if (!names || slot.Slot < 0 || slot.Slot >= names->size())
        return nullptr;
    return &(*names)[slot.Slot];
}

const TWeaveArray &TWeaveAssignment::Weave(TSlotRef slot) const
{
    const TWeaveList &list = slot.IsColor ? m_mesh.ColorWeaves : m_mesh.TechWeaves;
    if (slot.Slot < 0 || slot.Slot >= list.length())
        return emptyWeave();
    return list[slot.Slot];
}

QString TWeaveAssignment::Name(TSlotRef slot) const
{
    const std::shared_ptr<QStringList> &names = slot.IsColor ? m_mesh.ColorWeaveNames : m_mesh.TechWeaveNames;
    if (!names || slot.Slot < 0 || slot.Slot >= names->size())
        return QString();
    return names->at(slot.Slot);
}

void TWeaveAssignment::ArmSource(int row, int column)
{
    const TSlotRef slot = SlotOfCell(row, column);
    if (slot.Slot < 0)
        return;
    m_source = slot;
    m_armed = true;
}

bool TWeaveAssignment::PasteInto(int row, int column)
{
    const TSlotRef target = SlotOfCell(row, column);
    TWeaveArray *weave = slotWeave(target);
    QString *name = slotName(target);
    if (!m_armed || !weave || !name)
        return false;
    // A deep copy: the record's slots share nothing, so a later shift of one leaves the
    // other as it was.
    TWeaveArray copy;
    const TWeaveArray &source = Weave(m_source);
    copy.setLength(source.length());
    for (qsizetype x = 0; x < source.length(); ++x)
        copy[x] = source[x].copy();
    const QString sourceName = Name(m_source);
    *weave = copy;
    *name = sourceName;
    if (m_mode == TAssignMode::Color)
        m_armed = false;
    return true;
}

bool TWeaveAssignment::LoadInto(int row, int column, const QString &fileName, QString *error)
{
    const TSlotRef target = SlotOfCell(row, column);
    TWeaveArray *weave = slotWeave(target);
    QString *name = slotName(target);
    if (!weave || !name)
        return false;
    TWeaveArray loaded;
    if (!LoadWeaveFile(fileName, loaded, error))
        return false;
    *weave = loaded;
    *name = fileName;
    return true;
}

bool TWeaveAssignment::ShiftCell(int row, int column, TShiftDirection direction)
{
    TWeaveArray *weave = slotWeave(SlotOfCell(row, column));
    if (!weave || isEmptyWeave(*weave))
        return false;
    m_work.SetCells(*weave, false);
    m_work.ClearBlock();
    m_work.ShiftBlock(direction, 1);
    TWeaveArray shifted;
    m_work.GetCells(shifted);
    *weave = shifted;
    return true;
}

bool TWeaveAssignment::ClearCell(int row, int column)
{
    TWeaveArray *weave = slotWeave(SlotOfCell(row, column));
    if (!weave)
        return false;
    *weave = TWeaveArray();
    return true;
}
