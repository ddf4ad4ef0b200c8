#pragma once
// The pick table (梭 needles) and the weft-density table (纬密).
// The pick table (shuttle needles) and the weft-density table: 16 masks of which entry
// n - 1 belongs to value n; bit j is the state of the j-th needle of the kind (bits 0 to
// 15 are used). N, 1 to 16, is the number of needles of the kind the table dialog shows.

#include "core/base/document.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

using TNeedleMaskTable = std::array<std::uint32_t, 16>;

enum TNeedleTableKind { PickTableKind = 0, WeftDensTableKind = 1 };

// The settings section of a table: "Pick" or "WeftDens".
QString NeedleTableSection(TNeedleTableKind kind);

// The diagonal: entry i is 1 shl i for i < count, 0 for the others.
void ResetNeedleTable(TNeedleMaskTable &masks, int count);

// Takes a table from a weave: with W' = Min(warps, 16) and H' = Min(wefts, 16), entry i
// (i < H') has bit j set when cell [j][H' - 1 - i] is 1, so the bottom weft of those rows
// becomes entry 0; the other entries are 0 and count becomes W'. An empty weave changes
// nothing and gives false.
bool NeedleTableFromWeave(const TWeaveArray &weave, TNeedleMaskTable &masks, int &count);

// Shuttle (or weft-density step) by colour: every picture row holding at least one cell of
// colour index colourIndex gets value in entry `entry` of PickRows (pick mode) or of
// WeftDensRows. In pick mode the tables first grow to entry + 1 entries when shorter, and
// RegulatorRows takes 0 where both entry and value are non-zero. In weft-density mode a
// table that is too short changes nothing. False with a message when entry is not 0..15,
// value not 0..16, or the picture does not match the record's pattern.
bool ApplyValueByColour(TMesh &mesh, const QImage &picture, int colourIndex, int entry, int value,
    bool weftDensMode, QString *error = nullptr);
