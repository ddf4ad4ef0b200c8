#pragma once
// TPaletteBarModel: what the palette bar shows and what its clicks mean.
// The palette bar shows the 256 colours of the active document as a strip of cells in a
// display order, marks the current (foreground) colour, the protected and the transparent
// colours, and turns clicks into colour picks. Pure logic: the bar's window paints it and
// sends what it returns.

#include "core/base/messages.h"
#include "core/palette/palette.h"

#include <bitset>
#include <optional>

class TPaletteBarModel {
public:
    static constexpr int ColorCount = 256;

    // The palette whose colours are shown; the display order is rebuilt (one position per
    // index, in index order).
    void SetPalette(const TPalette256 &palette);
    const TPalette256 &Palette() const { return m_palette; }
    const TPalettePairs &DisplayOrder() const { return m_order; }

    // The strip's rows; the cell at column c, row r shows position c x rows + r.
    int RowCount() const { return m_rows; }
    void SetRowCount(int rows);
    int ColCount() const { return (ColorCount + m_rows - 1) / m_rows; }
    // The colour index a cell shows, -1 for a cell past the last colour.
    int IndexAt(int col, int row) const;

    int CurrentIndex() const { return m_current; }
    int BackIndex() const { return m_back; }
    int PointerIndex() const { return m_pointer; }
    void SetCurrentIndex(int index);
    void SetBackIndex(int index);

    // A click on a cell: a left click makes its colour the current one, a right click the
    // background colour. Returns the pick to send (kind 3 or 4), or nothing for a cell past
    // the last colour, which leaves both colours as they were.
    std::optional<TColorPickInfo> Click(int col, int row, bool rightButton);
    // The pointer over a cell: the index to show in the status bar, or nothing over an
    // empty cell.
    std::optional<int> PointerAt(int col, int row);

    // A double click edits a colour, except 254 and 255, which stay as they are.
    static bool CanEditColor(int index) { return index >= 0 && index <= 253; }
    // Gives index a new colour; false (nothing changed) for 254, 255 or the same colour.
    bool EditColor(int index, TColor color);
    bool ColorEdited() const { return m_edited; }

    // Swaps the current and the background colour.
    void Exchange();
    // The colour in the first position of the display order becomes the current one;
    // returns the pick to send (kind 1).
    TColorPickInfo SelectFirstColor();

    bool Protected(int index) const { return index >= 0 && index < ColorCount && m_protected[index]; }
    void SetProtected(int index, bool on);
    // Toggles the current colour's protection; false without a current colour.
    bool ToggleCurrentProtected();
    bool Transparent(int index) const { return index >= 0 && index < ColorCount && m_transparent[index]; }
    void SetTransparent(int index, bool on);
    // The protected and the transparent colours of a document at once.
    void SetMarkedColors(const TColorSet &protectedColors, const TColorSet &transparentColors);

    // The number of a colour is written white on a dark colour, black on a light one.
    static bool NumberIsWhite(const TPaletteEntry &color)
    {
        return 30 * color.Red + 59 * color.Green + 11 * color.Blue < 12900;
    }
    // The first visible column after one scroll step: by one column, or with ctrl by a
    // page (left: the visible columns; right: one less, so that a column stays in view),
    // never before the first column nor past the one that shows the last column.
    static int ScrollStep(int leftCol, int visibleCols, int colCount, bool right, bool ctrl);

private:
    TPalette256 m_palette {};
    TPalettePairs m_order {};
    std::bitset<ColorCount> m_protected;
    std::bitset<ColorCount> m_transparent;
    int m_rows = 1;
    int m_current = 0;
    int m_back = 0;
    int m_pointer = -1;
    bool m_edited = false;
};
