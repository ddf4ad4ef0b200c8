#include "shell/ui/mainwindowstartup.h"

#include "shell/ui/mainwindow.h"

TMainFormStartupSteps DefaultMainFormStartupSteps()
{
    // The palette bar does not exist yet: no step of its own.
    TMainFormStartupSteps steps;
    steps.FillWeaveLibrary = [](TMainForm &form) { form.FillWeaveLibrary(); };
    steps.FillPatternLibrary = [](TMainForm &form) { form.FillPatternLibrary(); };
    return steps;
}
