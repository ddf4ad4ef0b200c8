#pragma once
// Splitting a JC5 card (纹板) file into floppy-size part files (.J01, .J02, ...).

#include <QString>

// The piece sizes of the splitter: a 1.44 MB floppy (shown as "1,457,664" but counted as
// 1,457,656 bytes, as the controllers' part files have always been cut) and 1,228,800.
constexpr qint64 SplitPieceFloppy = 1457656;
constexpr qint64 SplitPieceSmall = 1228800;

// Splits the JC5 file into part files of at most pieceSize bytes each: R = (pieceSize -
// (n + 72)) div L cards a part, n being the byte length of a part's file name without its
// folder (the name its header carries) and L the bytes of a card row. A file not larger
// than pieceSize is left whole and no part is written (true, *partCount 0). Refused with
// a message, writing nothing: a file that does not read, a row longer than a part, more
// than 99 parts. The parts are all written or none. *partCount: the parts written.
bool SplitJC5File(
    const QString &fileName, qint64 pieceSize, int *partCount = nullptr, QString *error = nullptr);
