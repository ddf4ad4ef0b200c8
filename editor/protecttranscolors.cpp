#include "editor/protecttranscolors.h"

#include "core/palette/colorreduce.h"
#include "editor/patterngrid.h"

#include <algorithm>

namespace {
int slot(TColorSetKind kind)
{
    return kind == TColorSetKind::Protected ? 0 : 1;
}

TColorSet gridSet(const TPatternGrid &grid, TColorSetKind kind)
{
    return kind == TColorSetKind::Protected ? grid.ColorSet() : grid.TransColorSet();
}
} // namespace

void TProtectTransColors::SetGrid(TPatternGrid *grid)
{
    m_grid = grid;
    m_current[0] = m_current[1] = -1;
    Rebuild();
}

void TProtectTransColors::Rebuild()
{
    for (TColorSetKind kind : { TColorSetKind::Protected, TColorSetKind::Transparent }) {
        TOnePaletteArray &list = m_lists[slot(kind)];
        list = TOnePaletteArray();
        int &current = m_current[slot(kind)];
        if (!m_grid) {
            current = -1;
            continue;
        }
        const TColorSet set = gridSet(*m_grid, kind);
        int textEntry = -1;
        for (int i = 0; i < 256; ++i) {
            if (!set.test(std::size_t(i)))
                continue;
            if (i == m_grid->TextIndex())
                textEntry = int(list.length());
            AddColorEntry(list, { i, m_grid->Palette()[i] });
        }
        // The text colour's entry; without one the entry kept stays inside the list.
        if (textEntry >= 0)
            current = textEntry;
        else if (current >= list.length())
            current = int(list.length()) - 1;
    }
}

const TOnePaletteArray &TProtectTransColors::List(TColorSetKind kind) const
{
    return m_lists[slot(kind)];
}

int TProtectTransColors::Current(TColorSetKind kind) const
{
    return m_current[slot(kind)];
}

bool TProtectTransColors::SetCurrent(TColorSetKind kind, int entry)
{
    const TOnePaletteArray &list = m_lists[slot(kind)];
    if (!m_grid || entry < 0 || entry >= list.length())
        return false;
    m_current[slot(kind)] = entry;
    m_grid->SetTextColorIndex(list[entry].Index);
    return true;
}

bool TProtectTransColors::Add(TColorSetKind kind, int index)
{
    if (!m_grid || index < 0 || index > 255 || gridSet(*m_grid, kind).test(std::size_t(index)))
        return false;
    if (kind == TColorSetKind::Protected) {
        m_grid->IncludeColorIndex(index);
    } else {
        TColorSet set = m_grid->TransColorSet();
        set.set(std::size_t(index));
        m_grid->SetTransColorSet(set);
    }
    Rebuild();
    return true;
}

bool TProtectTransColors::RemoveCurrent(TColorSetKind kind)
{
    TOnePaletteArray &list = m_lists[slot(kind)];
    int &current = m_current[slot(kind)];
    if (!m_grid || current < 0 || current >= list.length())
        return false;
    DeleteColorEntry(list, current);
    if (current >= list.length())
        current = int(list.length()) - 1;
    storeList(kind);
    return true;
}

bool TProtectTransColors::RemoveAll(TColorSetKind kind)
{
    if (!m_grid || m_lists[slot(kind)].isEmpty())
        return false;
    m_lists[slot(kind)] = TOnePaletteArray();
    m_current[slot(kind)] = -1;
    storeList(kind);
    return true;
}

// The grid's set becomes exactly the list.
void TProtectTransColors::storeList(TColorSetKind kind)
{
    TColorSet set;
    for (const auto &item : m_lists[slot(kind)])
        set.set(std::size_t(item.Index));
    if (kind == TColorSetKind::Transparent) {
        m_grid->SetTransColorSet(set);
        return;
    }
    for (int i = 0; i < 256; ++i)
        set.test(std::size_t(i)) ? m_grid->IncludeColorIndex(i) : m_grid->ExcludeColorIndex(i);
}
