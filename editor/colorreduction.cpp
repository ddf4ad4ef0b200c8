#include "editor/colorreduction.h"

#include "core/base/error.h"
#include "core/base/messages.h"
#include "core/settings/uitexts.h"
#include "core/undo/undo.h"
#include "editor/patterngrid.h"

#include <algorithm>
#include <bitset>

void TColorReduction::SetGrid(TPatternGrid *grid)
{
    if (grid == m_grid)
        return;
    m_grid = grid;
    if (!m_grid) {
        m_mode = TReduceMode::NotStarted;
        m_groups = TTwoPaletteArray();
        m_unassigned = TOnePaletteArray();
        m_usedCount = m_groupCount = 0;
        clampSelection();
        return;
    }
    readGrid();
    m_colorCount = MaxColorCount();
    EnterMode(TReduceMode::Automatic);
}

void TColorReduction::Reload()
{
    if (!m_grid)
        return;
    readGrid();
    reenter();
}

void TColorReduction::reenter()
{
    m_colorCount = std::clamp(m_colorCount, 1, MaxColorCount());
    if (m_mode == TReduceMode::NotStarted)
        m_mode = TReduceMode::Automatic;
    // The groups held indexes of the colours read before: they are formed anew.
    formGroups();
    clampSelection();
}

bool TColorReduction::PaletteCurrent() const
{
    return m_grid && m_grid->Palette() == m_orgPalette;
}

void TColorReduction::readGrid()
{
    TColorCounts counts;
    CountColorUse(m_grid->Picture(), counts);
    takeCounts(counts);
}

// The colours in frequency order from the cells' counts (index order, as counted).
void TColorReduction::takeCounts(TColorCounts counts)
{
    m_orgPalette = m_grid->Palette();
    m_workPalette = m_orgPalette;
    SortColorCountsDesc(counts);
    m_usedCount = UsedColorPairs(m_orgPairs, m_orgPalette, counts);
    m_pairs = m_orgPairs;
}

int TColorReduction::MaxColorCount() const
{
    return std::clamp(std::min(m_usedCount, MaxGroupCount), 1, MaxGroupCount);
}

void TColorReduction::SetColorCount(int count)
{
    m_colorCount = std::clamp(count, 1, MaxColorCount());
    if (m_mode != TReduceMode::NotStarted)
        EnterMode(m_mode);
}

void TColorReduction::SetColorLeft(int difference)
{
    m_colorLeft = std::clamp(difference, 0, MaxColorLeft);
    if (m_mode != TReduceMode::NotStarted)
        EnterMode(m_mode);
}

void TColorReduction::EnterMode(TReduceMode mode)
{
    if (!m_grid || mode == TReduceMode::NotStarted)
        return;
    // Manual combining works on the groups of manual reduction as they stand; the other
    // modes form them anew.
    if (mode != TReduceMode::ManualCombine || !manual())
        formGroups();
    m_mode = mode;
    clampSelection();
}

void TColorReduction::formGroups()
{
    m_groupCount = std::clamp(m_colorCount, 1, MaxColorCount());
    m_pairs = m_orgPairs;
    m_unassigned = TOnePaletteArray();
    int maxLen = 0;
    BuildColorGroups(m_pairs, m_groupCount, m_usedCount, m_groups, maxLen, m_colorLeft);
    if (m_groupCount > 0)
        m_colorCount = m_groupCount;
}

int TColorReduction::MaxGroupLen() const
{
    int maxLen = 0;
    MaxGroupLength(m_groups, maxLen);
    return maxLen;
}

namespace {
// An index past the end steps back; -1 becomes 0 once the list has items.
int keptInside(int index, qsizetype length)
{
    if (length <= 0)
        return -1;
    return std::clamp(index, 0, int(length) - 1);
}
} // namespace

void TColorReduction::clampSelection()
{
    m_curGroup = keptInside(m_curGroup, m_groupCount);
    m_curMember = m_curGroup < 0 ? -1 : keptInside(m_curMember, m_groups[m_curGroup].length());
    m_curUnassigned = keptInside(m_curUnassigned, m_unassigned.length());
}

void TColorReduction::SetCurGroup(int group)
{
    if (group >= 0 && group < m_groupCount)
        m_curGroup = group;
    clampSelection();
}

void TColorReduction::SetCurMember(int member)
{
    if (m_curGroup >= 0 && member >= 0 && member < m_groups[m_curGroup].length())
        m_curMember = member;
}

void TColorReduction::SetCurUnassigned(int index)
{
    if (index >= 0 && index < m_unassigned.length())
        m_curUnassigned = index;
}

bool TColorReduction::MoveLeft()
{
    if (m_mode != TReduceMode::ManualCombine || m_curGroup < 0 || m_curMember < 0)
        return false;
    TOnePaletteArray &group = m_groups[m_curGroup];
    AddColorEntry(m_unassigned, group[m_curMember]);
    DeleteColorEntry(group, m_curMember);
    clampSelection();
    return true;
}

bool TColorReduction::MoveRight()
{
    if (m_mode != TReduceMode::ManualCombine || m_curGroup < 0 || m_curUnassigned < 0)
        return false;
    AddColorEntry(m_groups[m_curGroup], m_unassigned[m_curUnassigned]);
    DeleteColorEntry(m_unassigned, m_curUnassigned);
    clampSelection();
    return true;
}

bool TColorReduction::MoveAllLeft()
{
    if (m_mode != TReduceMode::ManualCombine || m_curGroup < 0 || m_groups[m_curGroup].isEmpty())
        return false;
    AddColorEntries(m_unassigned, m_groups[m_curGroup]);
    m_groups[m_curGroup] = TOnePaletteArray();
    clampSelection();
    return true;
}

bool TColorReduction::MoveAllRight()
{
    if (m_mode != TReduceMode::ManualCombine || m_curGroup < 0 || m_unassigned.isEmpty())
        return false;
    AddColorEntries(m_groups[m_curGroup], m_unassigned);
    m_unassigned = TOnePaletteArray();
    clampSelection();
    return true;
}

bool TColorReduction::ClearAll()
{
    if (m_mode != TReduceMode::ManualCombine)
        return false;
    for (auto &group : m_groups) {
        AddColorEntries(m_unassigned, group);
        group = TOnePaletteArray();
    }
    clampSelection();
    return true;
}

bool TColorReduction::AutoAssign()
{
    if (m_groupCount < 1 || m_unassigned.isEmpty())
        return false;
    RemapToPaletteCount(m_pairs, m_groupCount, m_groups, m_unassigned);
    clampSelection();
    return true;
}

bool TColorReduction::PickColor(int index)
{
    if (!manual() || index < 0 || index > 255 || m_groupCount >= MaxGroupCount)
        return false;
    if (!ReduceColorGroups(m_pairs, m_workPalette, index, m_groupCount, m_usedCount))
        return false;
    // The new head leaves where it was and gets a group of its own at its position.
    FindColorInGroups(m_groups, index);
    FindColorEntry(m_unassigned, index, true);
    m_groups.setLength(m_groupCount);
    AddColorGroup(m_groups);
    ++m_groupCount;
    clampSelection();
    return true;
}

bool TColorReduction::DropHead(int group)
{
    if (!manual() || m_groupCount < 2 || group < 0 || group >= m_groupCount)
        return false;
    TOnePaletteArray members = m_groups[group];
    const TPaletteItem head = m_pairs[group];
    if (!FindColorEntry(members, head.Index, false))
        AddColorEntry(members, head);
    DeleteColorGroup(m_groups, group);
    MoveColorEntry(m_pairs, group, std::max(m_usedCount, group + 1));
    --m_groupCount;
    if (m_mode == TReduceMode::ManualCombine)
        AddColorEntries(m_unassigned, members);
    else
        RemapToPaletteCount(m_pairs, m_groupCount, m_groups, members);
    clampSelection();
    return true;
}

// The colours the picture uses now against those read: a colour drawn, pasted or undone
// in since then has no group, and its cells would turn black or take another head.
bool TColorReduction::colorsUnchanged(TColorCounts &counts) const
{
    if (!PaletteCurrent())
        return false;
    CountColorUse(m_grid->Picture(), counts);
    std::bitset<256> now, read;
    for (const auto &c : counts)
        if (c.Count > 0)
            now.set(std::size_t(c.Index));
    for (int i = 0; i < m_usedCount; ++i)
        read.set(std::size_t(m_orgPairs[i].Index));
    return now == read;
}

// A used colour in no group and no head (none is left by the moves, but a map must never
// leave one behind) joins its nearest head.
void TColorReduction::mapUncoveredColors()
{
    std::bitset<256> covered;
    for (int g = 0; g < m_groupCount; ++g) {
        covered.set(std::size_t(m_pairs[g].Index));
        for (const auto &c : m_groups[g])
            covered.set(std::size_t(c.Index));
    }
    TOnePaletteArray rest;
    for (int i = 0; i < m_usedCount; ++i)
        if (!covered.test(std::size_t(m_orgPairs[i].Index)))
            AddColorEntry(rest, m_orgPairs[i]);
    if (!rest.isEmpty())
        RemapToPaletteCount(m_pairs, m_groupCount, m_groups, rest);
}

TReduceApply TColorReduction::Apply(const std::function<bool()> &mapRest, QString *message)
{
    if (!m_grid || m_mode == TReduceMode::NotStarted || m_groupCount < 1) {
        Fail(message, GetUiMessage(UiKey::String::ReduceColorNoGroup));
        return TReduceApply::Refused;
    }
    TColorCounts counts;
    if (!colorsUnchanged(counts)) {
        Reload();
        Fail(message, GetUiMessage(UiKey::String::ReduceColorChanged));
        return TReduceApply::ColorsChanged;
    }
    if (!m_unassigned.isEmpty()) {
        if (!mapRest || !mapRest())
            return TReduceApply::Cancelled;
        AutoAssign();
    }
    mapUncoveredColors();
    return applyToGrid(counts, message) ? TReduceApply::Applied : TReduceApply::Failed;
}

bool TColorReduction::applyToGrid(const TColorCounts &counts, QString *message)
{
    TPatternGrid &grid = *m_grid;
    grid.DropFloatingObjects();
    TPalettePairs map;
    for (int i = 0; i < 256; ++i)
        map[i] = { i, m_workPalette[i] };
    BuildColorMapFromGroups(map, m_groups, m_pairs);
    TPalettePairs pairs = m_pairs;
    ApplyColorReduction(grid.Picture(), map, m_workPalette, m_groupCount, pairs);
    grid.SetPalette(m_workPalette);

    // RefBitmap still holds the picture and palette before: the step keeps both.
    QString error;
    if (!grid.SaveWholePictureUndoStep(&error)) {
        grid.Picture() = grid.RefBitmap().copy();
        grid.SetPalette(m_orgPalette);
        grid.ApplyPalette(true);
        m_workPalette = m_orgPalette;
        return Fail(message, error);
    }
    grid.SetUndoMode(UndoModeSuspended);
    grid.RebuildDisplayBitmap();
    grid.RebuildReducedView();
    grid.UndoStore().UpdateTopState();
    // The reduced picture's counts follow from the counts before and the map, without
    // another pass over the cells.
    TColorCounts reduced;
    for (int i = 0; i < 256; ++i)
        reduced[i] = { i, 0 };
    for (int v = 0; v < 256; ++v)
        reduced[map[v].Index & 0xFF].Count += counts[v].Count;
    takeCounts(reduced);
    reenter();
    grid.ApplyPalette(true);
    grid.NotifyRefreshView(1);
    // The palette bar and the other colour windows take the reduced palette.
    SendPaletteFromChild();
    grid.SetUndoMode(UndoModeRecord);
    grid.NotifyUndoState();
    return true;
}
