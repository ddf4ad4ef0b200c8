#pragma once
// TSaveFileType: the file types a document is saved as, and the names they give.
// The save dialog offers eight types; the type decides the extension put on the chosen
// name. Only a bitmap or a project holds the document itself: saving as one of those
// makes the file the document's own (its caption) and clears its modified mark; the
// other types export the pattern (PCX picture, a card or a weave) and leave both alone.

#include "shell/documentquestions.h"

#include <QString>
#include <QStringList>

constexpr int SaveFileTypeCount = 8;

// ".BMP", ".Ovy", ".PCX", ".EP", ".JC5", ".QS", ".Ovwb", ".Ovw".
QString SaveTypeExtension(TSaveFileType type);
// The chosen folder and name without its extension, followed by the type's extension.
QString SaveTypeFileName(const QString &chosen, TSaveFileType type);
// The type whose extension fileName has, letter case ignored; false for none.
bool SaveTypeOfFileName(const QString &fileName, TSaveFileType &type);
// True for the types that hold the whole document (bitmap and project).
bool SaveTypeKeepsDocument(TSaveFileType type);
// The dialog's filters in type order ("description (*.ext)").
QStringList SaveTypeFilters();
// The type of a filter of SaveTypeFilters (the bitmap when it is not one of them).
TSaveFileType SaveTypeOfFilter(const QString &filter);
