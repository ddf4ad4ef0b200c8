#include "card/samplecardediting.h"

#include <algorithm>

std::uint8_t NeedleKindCode(TNeedleKind kind)
{
    switch (kind) {
    case TNeedleKind::Jacquard:
        return Needle::Jacquard;
    case TNeedleKind::HealdRod:
        return Needle::HealdRod;
    case TNeedleKind::Selvedge:
        return Needle::Selvedge;
    case TNeedleKind::Shuttle:
        return Needle::Shuttle;
    case TNeedleKind::HealdFrame:
        return Needle::HealdFrame;
    case TNeedleKind::WasteSelvedge:
        return Needle::WasteSelvedge;
    case TNeedleKind::WeftDensity:
        return Needle::WeftDensity;
    case TNeedleKind::StopMotion:
        return Needle::StopMotion;
    case TNeedleKind::Empty:
        return Needle::Empty;
    case TNeedleKind::LacingHole:
    case TNeedleKind::PositionHole:
        break;
    }
    return 0;
}

bool NeedleKindFills(TNeedleKind kind)
{
    return kind != TNeedleKind::LacingHole && kind != TNeedleKind::PositionHole;
}

int FillCardCells(TYangkaImage &card, int col0, int row0, int col1, int row1, std::uint8_t code)
{
    const int cols = std::min<int>(card.ColCount(), int(card.Cells.length()));
    if (cols <= 0 || card.RowCount() <= 0)
        return 0;
    const int c0 = std::clamp(std::min(col0, col1), 0, cols - 1);
    const int c1 = std::clamp(std::max(col0, col1), 0, cols - 1);
    const int r0 = std::clamp(std::min(row0, row1), 0, card.RowCount() - 1);
    const int r1 = std::clamp(std::max(row0, row1), 0, card.RowCount() - 1);
    int changed = 0;
    for (int c = c0; c <= c1; ++c) {
        auto &column = card.Cells[c];
        for (int r = r0; r <= r1 && r < column.length(); ++r)
            if (column[r] <= Needle::LastNeedleCode && column[r] != code) {
                column[r] = code;
                ++changed;
            }
    }
    if (changed && card.OnYKChange)
        card.OnYKChange(-1, -1);
    return changed;
}

TNeedleCounts CountNeedles(const TYangkaImage &card)
{
    TNeedleCounts n;
    for (const auto &column : card.Cells)
        for (std::uint8_t code : column) {
            ++n.Total;
            if (code == Needle::Jacquard || code == Needle::Jacquard2)
                ++n.Jacquard;
            else if (code >= Needle::HealdRod && code <= Needle::WeftDensity)
                ++n.Kinds[code - Needle::HealdRod];
            else if (code == 10 || code == Needle::StopMotion)
                ++n.StopMotion;
            else if (code == Needle::Empty)
                ++n.Empty;
        }
    return n;
}

int ClampCustomRows(int rows)
{
    return std::clamp(rows, MinCustomRows, MaxCustomRows);
}

int ClampCustomCols(int cols)
{
    return std::clamp(cols, MinCustomCols, MaxCustomCols);
}

void SetCustomCardSize(TYangkaImage &card, int rows, int cols)
{
    // The setters refill only when the count changes; a typed size always starts from an
    // all-jacquard card.
    const bool redraw = card.NeedRedraw;
    card.NeedRedraw = false;
    card.SetRowCount(ClampCustomRows(rows));
    card.SetColCount(ClampCustomCols(cols));
    card.NeedRedraw = redraw;
    TMultiByteArray cells = MakeWeaveArray(card.ColCount(), card.RowCount(), Needle::Jacquard);
    card.SetCells(cells);
    card.Resize();
}
