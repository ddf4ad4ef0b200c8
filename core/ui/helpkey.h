#pragma once
// The F1 key of a window: opens the help guide at the window's help context; a guide that
// cannot be shown is reported in a message box over the window.

#include "core/base/help.h"

class QWidget;

void SetHelpKey(QWidget *window, THelpContext context);
