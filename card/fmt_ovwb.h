#pragma once
// The own card file (纹板, .OVWB).
// The program's own card file (.OVWB), little-endian.
//   0    1   128, the length of the header text block
//   1  127   header text: ".OVWB version Beta 1.03;FileFormat Created by KDV&PNH",
//            the maker name, spaces
//   128 36   reserved, 0
//   164  2   ColCount        166 2  RowCount       168 2  card count
//   170  1   YKStyle         171 4  sample-card height   175 4  sample-card width
//   179  2   reserved field  181 2  n positioning holes  183 8n holes (column, row)
//   ..   4   number of card rows      ..  4  bytes per card row L
//   ..       the card rows, L bytes each
// Beta 1.02 files have the same fields but pad every needle column to whole bytes.

#include "card/cardfile.h"

#include <QByteArray>
#include <QString>

// The file's bytes; false with a message when the card cannot be stored (row count not
// matching the card count, rows of the wrong length, too many holes).
bool OVWBCardBytes(const TWenBanIO &io, QByteArray &bytes, QString *error = nullptr);
bool WriteOVWBCard(const TWenBanIO &io, const QString &fileName, QString *error = nullptr);

// Reads both versions into io (counts, style, sample-card size, reserved field, holes,
// card; JacquardCount := the needle count). The 16-bit and 32-bit card counts must agree
// and the file must hold the rows its sizes say; bytes after them are ignored. On failure
// false with *error (when given) set and io unchanged.
bool ReadOVWBCard(TWenBanIO &io, const QByteArray &bytes, QString *error = nullptr);
