#pragma once
// Fixtures of the card tests: small documents and sample cards.

#include "card/cardbuild.h"

#include "testutil.h"

#include <vector>

// A document record for the picture, prepared for a card (row tables, technical and
// colour weaves). Colors lists the picture's colours in order of first use.
TMesh CardDoc(QImage &pic, int weftRepeat = 1, int warpRepeat = 1);
// A sample card of one needle column holding the codes.
TYangkaImage ColumnCard(const std::vector<int> &codes);
// The card rows as numbers.
std::vector<std::vector<int>> CardBytes(const TMultiByteArray &card);
// The diagonal pick and weft-density table (entry i = 1 shl i).
TNeedleMaskTable Diagonal();
// A palette with the given first entries, the rest black.
TPalette256 PaletteOf(std::initializer_list<QRgb> colours);
