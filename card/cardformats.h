#pragma once
// The jacquard controller card formats (.EP, .JC5, .JC4, .QS, .UPT, .WB, .GRD, .DAT, .P32).
// Readers fill the card rows and counts of a TWenBanIO; writers take a filled TWenBanIO.

#include "card/wenbanio.h"

#include <QByteArray>
#include <QString>

// True for the extensions (upper case, with the dot) that ReadControllerCard reads.
bool IsControllerCardExtension(const QString &ext);

// Reads a controller card file's bytes by io.Extension into io (card rows, CardCount,
// ColCount, RowCount). On failure returns false with io.ErrorText set and io unchanged.
bool ReadControllerCard(TWenBanIO &io, const QByteArray &bytes);
