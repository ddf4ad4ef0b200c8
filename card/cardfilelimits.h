#pragma once
// The most bytes a reader takes from a card file, by extension: what the format can hold
// for a card the program can show. Anything larger is refused before it is read.

#include <QString>

// The largest card the program shows: one bit per needle, one line per card.
constexpr qint64 MaxShownCardBytes = qint64(1) << 30;

// Bounds of the files TWenBanIO reads (extension with the dot, any letter case): the
// controller card files and their JC5 part files, .OVWB, the weave file and the pictures.
qint64 MaxCardFileSize(const QString &ext);
