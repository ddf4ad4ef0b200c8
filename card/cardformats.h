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

#include <span>

// ---- The card file types ----------------------------------------------------------------
// One row per card file type, the controllers' and the program's own (.OVWB): every
// dispatch by extension (reading, writing, saving a pattern as a card, rendering) and
// every predicate below reads this table, so a new format is one new row.

enum TCardFormatFlag : unsigned {
    CardOwnFormat = 1u << 0, // the program's own card file, not a controller's
    CardFromPattern = 1u << 1, // a pattern picture can be saved as this card
    CardFirstOnTop = 1u << 2, // rendered with the first card on the top line
    CardMirrored = 1u << 3, // rendered with every line mirrored
    CardPartFiles = 1u << 4, // also opens the part files .J01, .J02, ... of a split card
};

struct TCardFormat {
    const char *Extension; // upper case, with the dot
    // Fills io from the file's bytes (counts, rows, JacquardCount and what else the format
    // holds); on failure false with *error (when given) set and io unchanged. Null: the
    // format is written only.
    bool (*Read)(TWenBanIO &io, const QByteArray &bytes, QString *error);
    // Writes io to fileName; filterIndex is the save dialog's filter (from 1), which picks
    // the JC5 and DAT variants. Null: the format is read only.
    bool (*Write)(const TWenBanIO &io, const QString &fileName, int filterIndex, QString *error);
    // The warning to show before writing io in this format (the file is written all the
    // same); null or an empty text: nothing to warn about.
    QString (*Warning)(const TWenBanIO &io);
    // The format's entries in the card save dialog's filter, in dialog order ("" when it
    // is not offered there): the rows' entries joined give the whole filter, so that the
    // filter index keeps choosing the variants as the writers expect.
    const char *SaveFilter;
    unsigned Flags; // TCardFormatFlag
};

std::span<const TCardFormat> CardFormats();
// The row of an extension (with or without the dot, any letter case); null when none.
const TCardFormat *FindCardFormat(const QString &ext);
// The same for reading: the JC5 part files (.J01, .J02, ...) give the JC5 row.
const TCardFormat *FindCardReadFormat(const QString &ext);
// The card save dialog's filter: "EP Files (*.EP)|*.EP|Korvane_JC5 Files(*.JC5)|...".
QString CardSaveFilter();

// ---- Reading --------------------------------------------------------------------------

// True for the extensions (with the dot, any letter case) that ReadControllerCard reads:
// .EP, .JC5, .QS, .WB, .GRD, .UPT, .DAT, .P32 and the JC5 part files .J01, .J02, ...
// (only the first part opens; the others give the first-part message).
bool IsControllerCardExtension(const QString &ext);

// Reads a controller card file's bytes by io.Extension (from io.FileName when empty) into
// io: card rows, CardCount, ColCount, RowCount, JacquardCount (UPT also Reserved). A JC5
// file that announces several parts reads the further part files next to io.FileName.
// JacquardCount is the count a DAT/P32 trailer states where it states one (the rows then
// come back as they were before writing), otherwise the card's needle count. On failure
// returns false with *error (when given) set and the card and counts of io unchanged.
bool ReadControllerCard(TWenBanIO &io, const QByteArray &bytes, QString *error = nullptr);

// ---- Writing --------------------------------------------------------------------------
// Every writer returns true on success; on failure false with *error (when given) set.

// JC5 variant A (first card first, bit-reversed, the file's own name in the header) and
// variant B (last card first, each row's bytes last first, "Noname1_1").
enum class TJC5Variant { A, B };

bool WriteEPCard(const TWenBanIO &io, const QString &fileName, QString *error = nullptr);
bool WriteJC5Card(
    const TWenBanIO &io, const QString &fileName, TJC5Variant variant, QString *error = nullptr);
bool WriteJC4Card(const TWenBanIO &io, const QString &fileName, QString *error = nullptr);
bool WriteQSCard(const TWenBanIO &io, const QString &fileName, QString *error = nullptr);
bool WriteUPTCard(const TWenBanIO &io, const QString &fileName, QString *error = nullptr);
// Only for RowCount 8 or 16.
bool WriteWBCard(const TWenBanIO &io, const QString &fileName, QString *error = nullptr);
bool WriteGRDCard(const TWenBanIO &io, const QString &fileName, QString *error = nullptr);

// The four DAT/P32 controllers, by variant number.
enum TDatVariant { DatVBJ128 = 0, DatCEJ160 = 1, DatPEJ160 = 2, DatPEJ320 = 3 };
// Writes the 131072-byte memory image of controller variant 0 to 3.
bool WriteDatCard(const TWenBanIO &io, int variant, const QString &fileName, QString *error = nullptr);
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
    const TWenBanIO &io, const QString &fileName, int filterIndex, QString *error = nullptr);

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
    int *partCount = nullptr, QString *error = nullptr);
