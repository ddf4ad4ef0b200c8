#include "shell/ui/mainwindowstartup.h"

#include "shell/ui/mainwindow.h"

TMainFormStartupSteps DefaultMainFormStartupSteps()
{
    // The library browsers do not exist yet: no steps for them.
    TMainFormStartupSteps steps;
    steps.SetupPaletteBar = [](TMainForm &form) { form.SetupPaletteBar(); };
    steps.ShowPaletteSwatches = [](TMainForm &form) { form.ShowPaletteSwatches(); };
    return steps;
}
