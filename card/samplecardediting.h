#pragma once
// Editing a sample card (样卡) by needle kind: the sample-card editor's arithmetic.
// What the sample-card editor does to its card, without the window: the needle kinds it
// offers and the codes they write, filling a rectangle of cells, counting the needles by
// kind, and the limits of a card size typed in.

#include "card/samplecard.h"

#include <array>
#include <cstdint>

// The needle kinds of the editor's list, in its order.
enum class TNeedleKind : std::uint8_t {
    Jacquard, // 纹针
    HealdRod, // 棒刀针
    Selvedge, // 边针
    Shuttle, // 投梭针
    HealdFrame, // 综框针
    WasteSelvedge, // 废边针
    WeftDensity, // 纬密针
    StopMotion, // 停撬针
    Empty, // 空针
    LacingHole, // 穿线孔: a click adds (left) or removes (right) one
    PositionHole, // 定位孔: likewise, a 2 x 2 block
};
constexpr int NeedleKindCount = int(TNeedleKind::PositionHole) + 1;

// The code a needle kind writes; 0 for the two hole kinds, which are set by click.
std::uint8_t NeedleKindCode(TNeedleKind kind);
// Whether the kind is drawn as a rectangle of cells (all but the two hole kinds).
bool NeedleKindFills(TNeedleKind kind);

// Sets every cell of the rectangle between two corner cells (any order, clamped to the
// card) whose code is a needle code (250 or less) to code: holes and marker cells stay.
// Returns the number of cells changed; one bulk change event when any changed.
int FillCardCells(TYangkaImage &card, int col0, int row0, int col1, int row1, std::uint8_t code);

// The editor's needle counts.
struct TNeedleCounts {
    int Total = 0; // every cell
    int Jacquard = 0; // codes 2 and 3
    std::array<int, 6> Kinds {}; // codes 4 to 9: heald-rod to weft-density
    int StopMotion = 0; // codes 10 and 12
    int Empty = 0; // code 240
    bool operator==(const TNeedleCounts &) const = default;
};
TNeedleCounts CountNeedles(const TYangkaImage &card);

// A size typed into the editor, held to what it offers: 8 to 32 rows, 1 to 2000 columns.
constexpr int MinCustomRows = 8, MaxCustomRows = 32, MinCustomCols = 1, MaxCustomCols = 2000;
int ClampCustomRows(int rows);
int ClampCustomCols(int cols);
// Applies a typed size: both counts held to their limits, every cell jacquard.
void SetCustomCardSize(TYangkaImage &card, int rows, int cols);
