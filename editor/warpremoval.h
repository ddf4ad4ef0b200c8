#pragma once
// Warp removal (抽针): every other warp of an area taken out of the pattern.

class TPatternGrid;
class QRegion;
class QString;

// Which warps go: those whose number counted from 1 is odd, or even.
enum class TRemoveWarpParity : int { Even = 0, Odd = 1 };

// The warps of the given parity inside the column range of area (the whole picture when
// area is empty) are removed and the columns to their right close the gap, as one
// whole-picture step (floating objects dropped, repeat view off). Refused with the reason,
// nothing changed, when the area misses the picture or no warp would be left.
bool RemoveAlternateWarps(
    TPatternGrid &grid, const QRegion &area, TRemoveWarpParity parity, QString *error = nullptr);
