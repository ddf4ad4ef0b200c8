#pragma once
// Pattern (意匠) files shown in a grid window until the document window exists.
// Until the pattern document window exists, a pattern file named on the command line is
// shown in a pattern grid inside the main window.

#include <QString>

class TMainForm;

// Loads the picture into a new pattern grid shown in the main window's document area;
// false with a message when the file cannot be read (nothing is shown then).
bool ShowPatternFile(TMainForm &form, const QString &fileName, QString *error = nullptr);
