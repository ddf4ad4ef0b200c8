#pragma once
// The rules of the weave (组织) design window's parameter dialogs, without the windows: what
// each dialog's OK accepts and the values it gives.

#include "core/base/document.h"

#include <QString>
#include <QStringList>

class TWeave;

// Sizes of a new weave.
constexpr int MinNewWeaveSide = 1;
// Sizes of a weave tiled to a new size.
constexpr int MinTileWeaveSide = 2;
// The largest size either dialog takes.
constexpr int MaxDialogWeaveSide = 1500;
// Symmetry axes at most.
constexpr int MaxSymmetryAxes = 50;
// The largest layer number of a multi-layer weave.
constexpr int MaxWeaveLayer = 9;

// A whole number as typed (blanks around it allowed); false for a blank or anything else.
bool ReadDialogInt(const QString &text, int &value);

// Both sizes are whole numbers from MinNewWeaveSide to MaxDialogWeaveSide.
bool ReadNewWeaveSize(const QString &warpText, const QString &weftText, int &warps, int &wefts);
// Both sizes are whole numbers from MinTileWeaveSide to MaxDialogWeaveSide.
bool ReadTileWeaveSize(const QString &warpText, const QString &weftText, int &warps, int &wefts);

// Every used cell of both rows (one per axis) is a whole number.
bool ReadSymmetryAxes(const QStringList &positionTexts, const QStringList &amountTexts,
    TIntegerArray &positions, TIntegerArray &amounts);

// Neither box is blank, the first is a non-zero whole number and the second a whole number.
bool ReadSwapLines(const QString &firstText, const QString &secondText, int &first, int &second);

// The items of the add and delete dialog, in order.
enum TRowColEdit { RowsAdd = 0, ColumnsAdd = 1, RowsDelete = 2, ColumnsDelete = 3 };
// Start (rows numbered from 1 at the bottom, columns from 1 at the left) at least 0 and
// count above 0; checked against the weave when one is given: a column insert after a
// column that exists (0 inserts at the front), a row insert above a row that exists (0
// below the first), a deletion from a line that exists with all count lines within the
// weave.
bool ReadRowColEdit(TRowColEdit edit, const QString &startText, const QString &countText, const TWeave *weave,
    int &start, int &count);

// A layer sequence a weave can use: not empty, every entry 1 to MaxWeaveLayer and every
// number up to the largest present at least once.
bool IsValidLayerSequence(const TIntegerArray &sequence);
// The notation read into a valid layer sequence; false, sequence unchanged, otherwise.
bool ReadLayerSequence(const QString &text, TIntegerArray &sequence);
