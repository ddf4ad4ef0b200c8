#pragma once
// TNeedleMap: the needle lists of a sample card (样卡).
// The needle lists of a sample card, computed once per card computation: which needle
// positions carry which kind, in needle order. Position p is column x RowCount + row,
// counted column by column; with StartFlag 1 the order is reversed.

#include "card/samplecard.h"

#include <QString>

// The largest needle count whose positions the 16-bit lists and the card files hold.
constexpr int MaxCardNeedles = 65536;
// Kinds read from the sample card: codes 4 to 14, list index = code - 4.
constexpr int NeedleKindCount = 11;

struct TNeedleMap {
    int NeedleCount = 0; // RowCount x ColCount
    TDynamicWordArray LacingHoles; // code 253
    // Runs of jacquard needles (codes 2 and 3): a new run starts where the code changes
    // from the current run's code. The last run in needle order comes first.
    TMultiWordArray JacquardRuns;
    TMultiWordArray Kinds; // [code - 4]: positions of codes 4 to 14

    const TDynamicWordArray &Kind(std::uint8_t code) const { return Kinds[code - 4]; }
};

// False with a message when the sample card has more needles than MaxCardNeedles.
bool BuildNeedleMap(const TYangkaImage &card, TNeedleMap &map, QString *error = nullptr);
