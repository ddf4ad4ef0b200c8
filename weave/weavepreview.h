#pragma once
// The small picture of a weave that the weave open dialog shows beside its file list.
// Cells of 5 pixels (3 when the weave has more than 20 warps or wefts), a weave point black,
// an empty cell white, grey lines between the cells and around them, weft 0 at the top.

#include "core/base/document.h"

#include <QImage>
#include <QSize>

// The side of the largest box the dialog draws a preview in; a larger preview is stretched
// to it.
constexpr int WeavePreviewBox = 150;
// Weave files larger than this are not previewed: the dialog reads the file each time the
// selection moves.
constexpr qint64 MaxPreviewedWeaveFile = 248 + qint64(4096) * 4096;

// The pixels of one cell for a weave of that size.
int WeavePreviewCellSize(int warps, int wefts);
// The preview's size at its own scale: one line more than cells on each side.
QSize WeavePreviewNaturalSize(int warps, int wefts);
// The size the dialog shows: the natural size, or WeavePreviewBox square when the natural
// size is larger in either direction.
QSize WeavePreviewShownSize(int warps, int wefts);
// The preview drawn at the given size (nearest pixel of the natural picture); a null image
// for an empty weave or an empty size.
QImage WeavePreviewImage(const TWeaveArray &cells, QSize size);
