#pragma once
// The line-colour lists of the new-pattern and grid-settings dialogs: the sixteen basic
// colours, each with its swatch.

#include "core/base/document.h"

class QComboBox;

QComboBox *NewLineColorBox(const char *name);
// Chooses c, adding it to the list when it is none of the sixteen.
void SelectLineColor(QComboBox *box, TColor c);
TColor LineColorOf(const QComboBox *box);
