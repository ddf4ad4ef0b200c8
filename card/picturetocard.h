#pragma once
// A pattern (意匠) saved as a card (纹板) or a weave (组织).
// Saving a pattern picture as a card or a weave: every cell whose palette colour differs
// from the back colour becomes a raised needle (or a weave point).

#include "card/cardfile.h"

#include <QImage>
#include <QString>
#include <QStringList>

// Card rows = picture height, the bottom picture row first; row length Ceil(width / 8)
// bytes, bit x (most significant first) set for a cell differing from the back colour.
// io then holds CardCount = height, ColCount = Ceil(width / 8), RowCount = 8, YKStyle 1,
// the picture's size as sample-card size, no holes and JacquardCount = width (every cell
// drives a needle). False (io unchanged) for a picture that is not 8-bit, or taller than
// a card can be.
bool PictureToCard(const QImage &picture, TColor backColor, TWenBanIO &io, QString *error = nullptr);

// The weave of a picture: [x][y] = 1 where the cell differs from the back colour, y from
// the top row.
bool PictureToWeave(const QImage &picture, TColor backColor, TWeaveArray &weave, QString *error = nullptr);

// Saves by the upper-cased extension: ".EP", ".JC5", ".QS", ".OVWB" as a card, ".OVW" as
// a weave file. Another extension writes nothing and is refused. What the user should be
// told although the file is written (a QS card whose needle count is not 144) is
// appended to *warnings (when given); the caller shows it, this routine never does.
bool SaveCardByExtension(const QImage &picture, TColor backColor, const QString &fileName,
    QStringList *warnings, QString *error = nullptr);
