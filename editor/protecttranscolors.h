#pragma once
// TProtectTransColors: the protected (保护色) and transparent (透明色) colour lists of a
// pattern grid, as the window that shows and edits them keeps them.
// Each list holds the grid's set in index order with the palette colours; the grid's sets
// are rebuilt from the lists after every removal, so that the grid, the palette bar (which
// copies them) and the window never disagree about a colour.

#include "core/palette/palette.h"

class TPatternGrid;

enum class TColorSetKind { Protected, Transparent };

class TProtectTransColors {
public:
    // Binds the grid (null: none) and builds both lists.
    void SetGrid(TPatternGrid *grid);
    TPatternGrid *Grid() const { return m_grid; }
    // Both lists again from the grid's sets; the current entry of each is the one of the
    // grid's text colour index, or else the one kept (stepping back inside the list; -1
    // for a new grid).
    void Rebuild();

    const TOnePaletteArray &List(TColorSetKind kind) const;
    int Current(TColorSetKind kind) const;
    // An entry clicked: it becomes current and its colour the grid's text colour. False for
    // a cell past the list.
    bool SetCurrent(TColorSetKind kind, int entry);

    // A colour picked for the set; false when it is in it already or out of range.
    bool Add(TColorSetKind kind, int index);
    // The current entry leaves the list, and the set follows the list.
    bool RemoveCurrent(TColorSetKind kind);
    bool RemoveAll(TColorSetKind kind);

private:
    void storeList(TColorSetKind kind);

    TPatternGrid *m_grid = nullptr;
    TOnePaletteArray m_lists[2];
    int m_current[2] = { -1, -1 };
};

// The colour grids of the window show 32 x 8 cells, the list row by row: entry k at
// row k / 32, column k % 32.
inline constexpr int ColorSetGridColumns = 32;
inline constexpr int ColorSetGridRows = 8;
inline constexpr int ColorSetEntryAt(int col, int row)
{
    return row * ColorSetGridColumns + col;
}
