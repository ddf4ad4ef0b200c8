#pragma once
// The sample card (样卡) a project file (.OVY) keeps with it.
// A project names its sample-card file; the card itself lives in that file. A card that has
// no file of its own, or that was changed since its file was written, is written beside
// the project as "<project name>.OVYK" in the same save as the project (both files or
// neither), so that reopening the project finds exactly the card it was saved with. A
// card file in the project's folder is named by its bare file name, so that the pair can
// be moved or copied together and a folder name GBK cannot encode (a home like
// "/home/jörg") does not stop the save; relative names are read against the project's
// folder.

#include "shell/document.h"

#include <QString>
#include <QStringList>

// "<folder>/<project name>.OVYK" for the project file projectFile.
QString ProjectCardFileName(const QString &projectFile);
// The name a project in projectFolder stores for cardFile: its bare file name when it lies
// in that folder, else cardFile itself.
QString StoredCardName(const QString &cardFile, const QString &projectFolder);
// The card file a stored name means: relative names are taken from projectFolder; an
// empty name stays empty.
QString ResolvedCardName(const QString &storedName, const QString &projectFolder);

// Saves the document as the project fileName together with its sample card: the card is
// written to ProjectCardFileName unless the record already names an absolute card file
// holding exactly the card's bytes. On success the record and the card name the card file
// and the grid's record copy follows. A card name that GBK cannot encode is left out of
// the project with a message in *warnings. False with a message, leaving every file and
// the document as they were, when anything cannot be written.
bool SaveProjectDocument(
    TDocument &document, const QString &fileName, QStringList *warnings = nullptr, QString *error = nullptr);
