#pragma once
// Limits on the pictures the program reads.

#include <QString>
#include <QtGlobal>

// The largest picture the program handles: each side is held as a 16-bit value in the
// project file and the undo records.

constexpr int MaxPictureSide = 65535;

// The memory one decoded picture may take. A picture file is small for the picture it
// announces (a few hundred bytes of PCX or PSD runs, or a PostScript bounding box, can
// claim 65,535 x 65,535 cells), so every decoder compares the size the file declares,
// in the form it decodes to, against this budget before it allocates anything, and
// refuses a larger picture with a message that names its size.
constexpr qint64 PictureMemoryBudget = qint64(1) << 30;

// True when a picture of width x height cells at bytesPerCell bytes a cell fits the
// budget; otherwise false with a message that names the size.
bool CheckPictureBudget(qint64 width, qint64 height, int bytesPerCell, QString *error = nullptr);
