#pragma once
// Inserting and deleting warps and wefts (插删经纬): the start and count the insert/delete
// window suggests, what a click on the pattern puts into its start box, and the check and
// run of its OK. The choice is the settings record TModiGrossOption: IsDelete, IsWeft,
// StartPos (insertion positions count from 0, insert before that line, the line count
// appends; deletion positions count from 1, the first line removed) and OffSet (the count).

#include "core/base/geometry.h"
#include "core/settings/settings.h"

#include <QString>

class TPatternGrid;

// The start and count a selection's box suggests (Left, Top inclusive; Right, Bottom one
// past the last cell): insert from max(0, Left) (Top for wefts), delete from
// max(1, Left + 1); the count Right - Left (Bottom - Top).
void SuggestWarpWeftEdit(TModiGrossOption &edit, const TRect &box);
// The start box's value for a click on cell (col, row): the column for warps, the row
// for wefts, one more when deleting.
int WarpWeftClickStart(const TModiGrossOption &edit, int col, int row);
// Whether the edit fits a cols x rows pattern: a count of at least 1; delete 1 <= start
// and start + count - 1 <= lines; insert 0 <= start <= lines, the result at most the
// largest pattern side. False with "InputDateError" otherwise.
bool CheckWarpWeftEdit(const TModiGrossOption &edit, int cols, int rows, QString *error = nullptr);
// Checks the edit against the grid and inserts or deletes the lines as one undo step;
// false with the reason, nothing changed, when the check or the grid refuses.
bool ApplyWarpWeftEdit(TPatternGrid &grid, const TModiGrossOption &edit, QString *error = nullptr);
