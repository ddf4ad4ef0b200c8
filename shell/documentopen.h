#pragma once
// Opening documents: which file a start opens, and the project-file (.OVY) branch.
// The start-up argument and the hand-over of a second start are one absolute path: the
// first argument, trimmed and resolved against the working folder of the start that typed
// it, so that a relative name means the same file in the running instance.

#include "shell/document.h"

#include <QString>
#include <QStringList>

#include <functional>

// True for a project file (".OVY" in any letter case).
bool IsProjectFileName(const QString &fileName);

// Reads a project file into the document: record, picture, palette and the sample card the
// project names (a relative name read from the project's folder). Returns false with a
// message when it cannot (the document is then unchanged and its window is closed). What
// the person should hear although the project opened (weave files of an old project that
// were not found, a named sample card that cannot be read) is appended to *warnings.
bool OpenProjectDocument(
    const QString &fileName, TDocument &document, QStringList *warnings = nullptr, QString *error = nullptr);

// The first argument after the program name, trimmed and made absolute against
// workingDir; empty when there is none or it is blank.
QString StartupArgumentPath(const QStringList &arguments, const QString &workingDir);

// The file a start opens: the argument path when given, else, with autoOpenRecent, the
// most recent file when it exists; empty for none.
QString StartupDocumentPath(const QString &argumentPath, bool autoOpenRecent, const QString &mostRecent,
    const std::function<bool(const QString &)> &fileExists);
