#pragma once
// TLayerBuild: the layer documents of the assign-weaves window: for each layer, the
// document's picture with each colour's assigned weave tiled over it in black.
// Each colour of the record's colour list is tiled, in list order, with the weave-tiling
// scan (float rule "less than", the tiling margins and float length, the weave anchored at
// the bottom-left cell) over the palette entry nearest to it, the points painted black.
// Colours whose scans cannot meet are tiled in one pass over the picture, with a table from
// palette index to weave; a later colour that one before it changes the cells of (the same
// colour again, or black after cells were painted black) waits for a further pass, so the
// result is exactly that of one scan per colour in turn.

#include "core/base/document.h"
#include "core/palette/floatscan.h"
#include "core/palette/palette.h"

#include <QImage>
#include <QList>
#include <QString>

// The colour slot tiled for colour c of layer r (0-based): r x C x R + c x R, the colour's
// first needle.
int LayerColorSlot(const TMesh &mesh, int layer, int color);

// One colour to tile: its palette index and its weave.
struct TTileJob {
    int Index = 0;
    TWeaveArray Weave;
};

// Tiles the jobs in order over picture (8-bit, palette its colour table), painting the
// collected cells with index black: the same cells as FindLongFloats for each job in turn,
// each painting before the next scans.
void TileJobsInOrder(QImage &picture, const TPalette256 &palette, const QList<TTileJob> &jobs,
    const TFloatMargins &margins, int floatLength, int black);

// The palette a layer picture takes: the document's, with black put into the first free
// entry when it has none. Black's index, or -1 when the palette has no black and no free
// entry.
int LayerPalette(const QImage &picture, TPalette256 &palette);

// The layer pictures of a document: one per layer (LayerCount), each a copy of picture
// with palette (black added when missing) and every colour's weave of that layer tiled.
// A colour without a slot of its layer is left untiled. False with a message, layers
// unchanged, when black cannot be added or there is no memory for a layer.
bool BuildLayerPictures(const TMesh &mesh, const QImage &picture, const TPalette256 &palette,
    const TFloatMargins &margins, int floatLength, QList<QImage> &layers, QString *error = nullptr);
