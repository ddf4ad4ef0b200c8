#pragma once
// TFloatMarking: the picked-weave and picked-pattern tools (PickedWeave, PickedPattern).
// A press of the picked-weave tool tiles the weave picked in the library over the cells of
// the fore colour; a press of the picked-pattern tool fills those cells from a picture file,
// tiled. The left button anchors the weave or picture at the picture's bottom-left cell, the
// right button at the pressed cell. The grid's tool dispatch calls these routines; the
// float query window (editor/ui/queryfloatwindow.h) takes the floats the weave tool marks.

#include "core/base/document.h"
#include "core/palette/floatscan.h"
#include "core/settings/settings.h"

#include <QImage>
#include <QString>

class TPatternGrid;

// The floats the picked-weave tool marked for the float query: the runs, the palette entry
// they are painted in, and the two indexes the query restores them to (Keep: the fore
// index; Other: the black of the tiling). Found is the index they were found in.
struct TFloatMarking {
    TFloatsArray Floats;
    int MarkerIndex = -1;
    int KeepIndex = -1;
    int OtherIndex = -1;
    int FoundIndex = -1;
    // Set when the floats were to be marked but the palette had no free entry for it.
    QString Notice;
};

// The picked-weave tool at cell (column, row). Refused, changing nothing, with a message for an empty
// weave or a palette without black and without a free entry for it. Otherwise black is
// added when missing, the tiled cells are painted black and recorded as one cell step, and
// then, when the grid's copy of the tile-weave settings asks for the colour-change hint, the
// floats that stay (column runs shorter than the float length, found in the fore index
// when FindHigh is set, else in black, inside the selection's box or the whole picture)
// are painted in a new marker colour that is not part of the step and not in RefBitmap.
bool TilePickedWeave(TPatternGrid &grid, const TWeaveArray &weave, TPoint cell, bool anchorAtCell,
    TFloatMarking &marking, QString *error = nullptr);

// Loads the picture file, gives the pattern and it one joint palette, and fills every
// cell of the colour of foreIndex that passes the margins and float length of param from the
// loaded picture, tiled with (cellX, cellY) of the pattern showing its bottom-left cell
// when anchor is (0, 0): cell (x, y) takes the loaded cell at column (x + ax) mod LW and row
// LH - 1 - ((PH - 1 - y + ay) mod LH). Picture and palette change only on success.
bool ProcessAreaFromPictureFile(QImage &picture, TPalette256 &palette, const QString &fileName, int foreIndex,
    const TTilePatternParam &param, TPoint anchor, QString *error = nullptr);

// The picked-pattern tool at cell (column, row): the floating objects are dropped, the picture file is
// tiled into the cells of the fore colour (ProcessAreaFromPictureFile with the grid's copy
// of the tile-pattern settings), its palette becomes the grid's, and one whole-picture step
// is recorded; RefBitmap follows the picture. False with the reason, nothing changed, when
// the file cannot be loaded.
bool TilePickedPattern(
    TPatternGrid &grid, const QString &fileName, TPoint cell, bool anchorAtCell, QString *error = nullptr);
