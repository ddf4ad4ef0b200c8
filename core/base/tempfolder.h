#pragma once
// The private temporary folder of the process (undo steps, scans):
// "<temp>/dorwen-cad-<pid>-XXXXXX", mode 0700, holding a lock file that stays locked for
// as long as the process lives. The folder is removed when the process ends, also when it
// is stopped by SIGTERM or SIGINT; folders left by processes that were killed otherwise
// are removed by the next process that starts.

#include <QString>

// Makes the folder on the first call (after removing stale ones) and gives its path
// without a final "/"; later calls give the same folder. False with a message when it
// cannot be made.
bool MakeProcessTempFolder(QString &path, QString *error = nullptr);

// Removes the folders in `parent` that belong to processes of this user that are gone:
// those whose lock file is not locked, or, without a lock file, whose process id is not
// running. A folder of a live process is never removed.
void RemoveStaleTempFolders(const QString &parent);
