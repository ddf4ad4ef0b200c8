#pragma once
// ExecSaveDialog: a save dialog that asks before it replaces exactly the file written.
// Qt's own overwrite question looks at the name the dialog shows (the typed name with the
// dialog's default suffix), while a caller may write another name: the type's extension
// in the letter case its files have always had, or the extension of another filter. So
// the dialog's own question is off, and the question here names the file the caller's
// namer gives, the same routine the caller writes through. No goes back to the dialog with
// that name; a name that is a folder or another non-regular file is refused there too.

#include <QString>

#include <functional>

class QFileDialog;

// The file a save writes, from the dialog's chosen path and the chosen name filter.
using TSaveFileNamer = std::function<QString(const QString &chosen, const QString &nameFilter)>;

// Runs the dialog until the person cancels (false) or chooses a file that does not exist
// or that they agreed to replace (true, fileName = namer's file). The dialog is Qt's own
// widget dialog, so that it behaves alike on every desktop.
bool ExecSaveDialog(QFileDialog &dialog, const TSaveFileNamer &namer, QString &fileName);
