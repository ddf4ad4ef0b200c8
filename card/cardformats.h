#pragma once
// The jacquard controller card (纹板) formats.
// The jacquard controller card formats (.EP, .JC5 with its part files .J01, .J02, ...,
// .JC4, .QS, .UPT, .WB, .GRD, .DAT, .P32).
//
// Readers fill the card rows and counts of a TWenBanIO; writers take a filled TWenBanIO
// (card rows, CardCount, ColCount, RowCount, positioning holes, jacquard count) and a file
// name. A writer refuses a card its format cannot carry with a clear text and writes the
// whole file through a temporary file, so that a failed write leaves no half file and the
// old file as it was. File-name fields are written in GBK; a name GBK cannot encode is
// refused.

#include "card/cardfile.h"

#include <QByteArray>
#include <QString>

// ---- Reading --------------------------------------------------------------------------

// True for the extensions (with the dot, any letter case) that ReadControllerCard reads:
// .EP, .JC5, .QS, .WB, .GRD, .UPT, .DAT, .P32 and the JC5 part files .J01, .J02, ...
// (only the first part opens; the others give the first-part message).
bool IsControllerCardExtension(const QString &ext);

// Reads a controller card file's bytes by io.Extension (from io.FileName when empty) into
// io: card rows, CardCount, ColCount, RowCount (UPT also Reserved). A JC5 file that
// announces several parts reads the further part files next to io.FileName. On failure
// returns false with io.ErrorText set and the card and counts of io unchanged.
bool ReadControllerCard(TWenBanIO &io, const QByteArray &bytes);

// ---- Writing --------------------------------------------------------------------------
// Every writer returns true on success; on failure false with *errorText (when given) set.

// JC5 variant A (first card first, bit-reversed, the file's own name in the header) and
// variant B (last card first, each row's bytes last first, "Noname1_1").
enum class TJC5Variant { A, B };

bool WriteEPCard(const TWenBanIO &io, const QString &fileName, QString *errorText = nullptr);
bool WriteJC5Card(
    const TWenBanIO &io, const QString &fileName, TJC5Variant variant, QString *errorText = nullptr);
bool WriteJC4Card(const TWenBanIO &io, const QString &fileName, QString *errorText = nullptr);
bool WriteQSCard(const TWenBanIO &io, const QString &fileName, QString *errorText = nullptr);
bool WriteUPTCard(const TWenBanIO &io, const QString &fileName, QString *errorText = nullptr);
// Only for RowCount 8 or 16.
bool WriteWBCard(const TWenBanIO &io, const QString &fileName, QString *errorText = nullptr);
bool WriteGRDCard(const TWenBanIO &io, const QString &fileName, QString *errorText = nullptr);

// The four DAT/P32 controllers, by variant number.
enum TDatVariant { DatVBJ128 = 0, DatCEJ160 = 1, DatPEJ160 = 2, DatPEJ320 = 3 };
// Writes the 131072-byte memory image of controller variant 0 to 3.
bool WriteDatCard(const TWenBanIO &io, int variant, const QString &fileName, QString *errorText = nullptr);
// The most card rows a variant holds (0 for an unknown variant).
int DatCardCapacity(int variant);

// The warning to show before writing a QS card whose needle count is not 144 (the file is
// written all the same); empty when there is nothing to warn about.
QString QSNeedleWarning(const TWenBanIO &io);

// True for the extensions WriteControllerCard writes.
bool IsControllerCardWriteExtension(const QString &ext);
// Writes by the upper-cased extension of fileName, as the save dialogs do: .JC5 is variant
// A when the dialog's filter index (from 1) is 2, else B; .DAT and .P32 take the variant
// filter index - 4. Other extensions are refused.
bool WriteControllerCard(
    const TWenBanIO &io, const QString &fileName, int filterIndex, QString *errorText = nullptr);

// ---- JC5 part files ---------------------------------------------------------------------

// Cards per part file for a piece size in bytes, a part-file name of nameBytes bytes and
// rows of rowBytes bytes (the header takes 72 + nameBytes bytes); 0 when not even one fits.
int JC5CardsPerPart(qint64 pieceSize, int nameBytes, int rowBytes);
// The name of part file `part` (from 1): fileName without its last two characters,
// followed by the part number as two digits (card.JC5 -> card.J01).
QString JC5PartFileName(const QString &fileName, int part);
// Writes the card as part files of cardsPerPart cards each, first card first, named by
// JC5PartFileName. Every part is written before any is put in place, and the parts
// replace the old ones all or none; at most 99 parts. On success *partCount (when given)
// holds the number of parts.
bool WriteJC5PartFiles(const TWenBanIO &io, const QString &fileName, int cardsPerPart,
    int *partCount = nullptr, QString *errorText = nullptr);
