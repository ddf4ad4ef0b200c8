#pragma once
// The card (纹板) codec in the picture-format list.
// Plugs the card codec into the picture-format list, so that card, weave and project
// files open like pictures: a card shows one pixel per needle and one line per card.

#include "core/decode/picturedecode.h"

// The reader of the list's card, weave and project entries.
bool ReadWenBanIOPicture(
    const QString &fileName, const QByteArray &bytes, TLoadedPicture &picture, QString *error);
