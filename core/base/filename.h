#pragma once
// File-name helpers.

#include <QString>

// The name part of fileName (what follows its last "/", "\" or ":") without its
// extension (the part from the last dot of that name on). Callers use it to propose
// a new file name with another extension.
QString StripFileExt(const QString &fileName);
