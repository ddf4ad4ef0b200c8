#pragma once
// TTileColorEntry: tiling a weave (平铺组织) over chosen colours of the pattern.
// Tiling turns flat colour areas into weave points: every cell of a chosen colour that
// passes the margin and float tests and falls on a point of the weave becomes black. The
// tile-weave window and the picked-weave tool (editor/pickedtools.h) both run the one scan of
// core/palette/floatscan.h; this file holds what the window does around it.

#include "core/base/document.h"
#include "core/palette/floatscan.h"
#include "core/palette/palette.h"
#include "core/settings/settings.h"

#include <QList>
#include <QString>

#include <cstdint>

class TPatternGrid;

// One chosen colour: its palette index, its colour when chosen, and its float lengths as the
// user typed them (whole numbers separated by commas; blank means the float length).
struct TTileColorEntry {
    std::uint8_t Index = 0;
    TPaletteEntry Color {};
    QString FloatText;
    bool operator==(const TTileColorEntry &) const = default;
};
using TTileColorList = QList<TTileColorEntry>;

// Adds index (0 .. 255) with its palette colour unless it is listed; true when added.
bool AddTileColor(TTileColorList &list, const TPalette256 &palette, int index);

// Which floats may stay: those shorter than the float length, or those of a listed length.
enum class TTileFloatRule : std::uint8_t { LessThan = 0, EqualTo = 1 };

// The margins of a tiling record as the scan takes them.
TFloatMargins TileMargins(const TTilePatternParam &param);

// A weave of no warps or no wefts is no weave.
bool IsTileWeaveEmpty(const TWeaveArray &weave);

// Reads a float-length text: items split at commas, blanks trimmed, an empty item is 0.
// False (lengths unchanged) when an item is not a whole number or does not fit 32 bits.
bool ParseFloatLengths(const QString &text, TIntegerArray &lengths, QString *error = nullptr);

// The tile-weave window's OK. Refused, changing nothing, with a message: no colour chosen,
// no weave, an entry whose float text cannot be read (all are read before anything is
// painted), or a palette without black and without a free entry for it. Otherwise black
// is added to the palette when missing (a palette step), each entry in turn is scanned
// (the cells painted black before the next entry is scanned) and all tiled cells are
// recorded as one cell step.
bool TileWeaveOverColors(TPatternGrid &grid, const TWeaveArray &weave, const TTileColorList &colors,
    const TTileWeaveParam &param, TTileFloatRule rule, QString *error = nullptr);

// Stores the tile-weave settings: section "TileWeaveParam" of the settings, the start
// settings new documents take, and the grid's copy (when a grid is given).
void StoreTileWeaveParam(const TTileWeaveParam &param, TPatternGrid *grid);
