#include "shell/ui/mainwindowstartup.h"

TMainFormStartupSteps DefaultMainFormStartupSteps()
{
    // The palette bar and the library browsers do not exist yet: no steps.
    return {};
}
