#include "shell/palettebar.h"

#include <algorithm>

void TPaletteBarModel::SetPalette(const TPalette256 &palette)
{
    m_palette = palette;
    PaletteToPairs(m_palette, m_order);
}

void TPaletteBarModel::SetRowCount(int rows)
{
    m_rows = std::clamp(rows, 1, ColorCount);
}

int TPaletteBarModel::IndexAt(int col, int row) const
{
    if (col < 0 || row < 0 || row >= m_rows)
        return -1;
    const int position = col * m_rows + row;
    return position < ColorCount ? m_order[position].Index : -1;
}

void TPaletteBarModel::SetCurrentIndex(int index)
{
    if (index >= 0 && index < ColorCount)
        m_current = index;
}

void TPaletteBarModel::SetBackIndex(int index)
{
    if (index >= 0 && index < ColorCount)
        m_back = index;
}

std::optional<TColorPickInfo> TPaletteBarModel::Click(int col, int row, bool rightButton)
{
    const int index = IndexAt(col, row);
    if (index < 0) {
        // Past the last colour: nothing is picked, and the current colour stays, so that
        // a later protect command has a colour to work on.
        m_pointer = -1;
        return std::nullopt;
    }
    m_pointer = index;
    const TPaletteEntry &e = m_palette[index];
    TColorPickInfo info;
    info.Value = PlainColor(e);
    if (rightButton) {
        m_back = index;
        info.Index = m_back;
        info.Kind = 4;
    } else {
        m_current = index;
        info.Index = m_current;
        info.Kind = 3;
    }
    return info;
}

std::optional<int> TPaletteBarModel::PointerAt(int col, int row)
{
    m_pointer = IndexAt(col, row);
    if (m_pointer < 0)
        return std::nullopt;
    return m_pointer;
}

bool TPaletteBarModel::EditColor(int index, TColor color)
{
    if (!CanEditColor(index))
        return false;
    TPaletteEntry &e = m_palette[index];
    TPaletteEntry edited = ColorToEntry(color);
    edited.Flags = e.Flags;
    if (edited.Red == e.Red && edited.Green == e.Green && edited.Blue == e.Blue)
        return false;
    e = edited;
    PaletteToPairs(m_palette, m_order);
    m_edited = true;
    return true;
}

void TPaletteBarModel::Exchange()
{
    std::swap(m_current, m_back);
}

TColorPickInfo TPaletteBarModel::SelectFirstColor()
{
    m_current = m_order[0].Index;
    return TColorPickInfo { std::int32_t(PlainColor(m_palette[m_current])), m_current, 1 };
}

void TPaletteBarModel::SetMarkedColors(const TColorSet &protectedColors, const TColorSet &transparentColors)
{
    for (int i = 0; i < ColorCount; ++i) {
        m_protected[i] = protectedColors[std::size_t(i)];
        m_transparent[i] = transparentColors[std::size_t(i)];
    }
}

void TPaletteBarModel::SetProtected(int index, bool on)
{
    if (index >= 0 && index < ColorCount)
        m_protected[index] = on;
}

bool TPaletteBarModel::ToggleCurrentProtected()
{
    if (m_current < 0 || m_current >= ColorCount)
        return false;
    m_protected.flip(m_current);
    return true;
}

void TPaletteBarModel::SetTransparent(int index, bool on)
{
    if (index >= 0 && index < ColorCount)
        m_transparent[index] = on;
}

int TPaletteBarModel::ScrollStep(int leftCol, int visibleCols, int colCount, bool right, bool ctrl)
{
    const int visible = std::max(1, visibleCols);
    const int maxLeft = std::max(0, colCount - visible);
    if (!right)
        return std::max(0, leftCol - (ctrl ? visible : 1));
    return std::clamp(leftCol + (ctrl ? std::max(1, visible - 1) : 1), 0, maxLeft);
}
