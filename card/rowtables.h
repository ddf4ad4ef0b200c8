#pragma once
// The row tables of a document: shuttle (梭), stop-motion and weft density (纬密) per row.
// The document's row tables ([entry][weft row] bytes): PickRows (shuttle number, 0 = no
// pick), RegulatorRows (stop-motion value) and WeftDensRows (weft-density step). Values
// 1 to 16 of PickRows and WeftDensRows choose an entry of the pick and weft-density tables.

#include "core/base/document.h"

#include <QString>

// Largest shuttle number and weft-density step: the tables have 16 entries.
constexpr int MaxNeedleTableValue = 16;

// Adds (count > 0) or removes (count < 0) weft entries of all three tables. New entries
// get shuttle number 0 when noPick is set, else entry mod 16 + 1, a stop-motion value of 1
// where the shuttle number is 0, else 0, and weft-density step entry mod 16 + 1. WeftRepeat follows and
// the technical-weave slots grow to 3 x WeftRepeat. Nothing happens when PickRows is empty
// or when removing would leave a table without entries.
void GrowPickTables(TMesh &mesh, bool noPick, int count);

// True when the table holds WeftRepeat entries of Wefts bytes each.
bool RowTableFits(const TMesh &mesh, const TWeaveArray &table);

// Fits the row tables that no longer match WeftRepeat and the pattern height (Wefts), as
// after a command that changed the height: a table whose entry count still matches keeps,
// in new row r, what was entered for old row firstOldRow + r (the first row that remains),
// and its other rows take their defaults; a table with another entry count (or none) is
// rebuilt with the defaults. Tables that fit are not touched. Returns how many entered rows
// were dropped (0 when none).
int FitRowTablesToHeight(TMesh &mesh, int firstOldRow = 0);
// Rebuilds, with their defaults, only the row tables that are missing or no longer match
// WeftRepeat and the pattern height; tables that fit keep what the designer entered. The
// commands that change the height fit the tables first (FitRowTablesToHeight), so what
// is rebuilt here are tables that came from elsewhere.
void EnsureRowTables(TMesh &mesh);

// Checks every shuttle number and weft-density step of the first WeftRepeat entries:
// false with a message naming the first value above 16.
bool CheckRowTableValues(const TMesh &mesh, QString *error = nullptr);
