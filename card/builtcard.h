#pragma once
// A built card handed to the card writers: the card rows together with what the writers
// take from the sample card the card was built for.

#include "card/cardfile.h"
#include "card/samplecard.h"

// Fills io for writing: the card (shared, not copied) and its count, ColCount, RowCount,
// style, picture size and positioning holes of the sample card, and JacquardCount := the
// sample card's jacquard needles (codes 2 and 3), which orders the DAT/P32 rows.
void SetBuiltCard(TWenBanIO &io, const TMultiByteArray &card, const TYangkaImage &sampleCard);
