#pragma once
// WriteCardFile: writing a card (纹板) in the format a save dialog chose.
// The one road from a card to a card file, shared by the card-making dialog and the card
// viewer's Save As. The file type comes from the upper-cased extension of the name; the
// JC5 variant and the DAT/P32 controller from the position of the filter the user chose
// in the save dialog, as both dialogs list their filters (EP first, a JC5 filter second,
// the VBJ128, CEJ160 and PEJ160 controllers fourth to sixth).

#include "card/cardfile.h"

#include <QImage>
#include <QString>
#include <QStringList>

// The card-making dialog's save filter, in the "description|pattern|..." form: EP, JC5
// (variant A), UPT, then the three DAT controllers. The card viewer saves with
// CardSaveFilter() (card/cardformats.h).
QString CardMakingSaveFilter();

// The name filters of a "description|pattern|..." filter for a Qt file dialog, in order:
// each description as it is when it names its patterns in brackets, else followed by them.
QStringList CardDialogNameFilters(const QString &filter);
// The position (from 1) of the chosen name filter among nameFilters, as the writers count
// it; 0 when it is not among them.
int CardFilterIndex(const QStringList &nameFilters, const QString &selectedNameFilter);

// Writes io to fileName by its upper-cased extension: ".EP"; ".JC5" (variant A when
// filterIndex is 2, else B); ".QS"; ".JC4"; ".WB"; ".GRD"; ".UPT"; ".DAT" and ".P32"
// (controller filterIndex - 4; a filter that names no controller is refused and no file
// is written); ".BMP" writes `picture` (8-bit, or a 1-bit card picture as black and
// white); any other extension the program's own format. The file is written whole or not
// at all. False with *error (when given) saying why.
bool WriteCardFile(const TWenBanIO &io, const QImage &picture, const QString &fileName, int filterIndex,
    QString *error = nullptr);
