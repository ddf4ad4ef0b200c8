#include "shell/ui/mainwindowstartup.h"

#include "shell/ui/mainwindow.h"

TMainFormStartupSteps DefaultMainFormStartupSteps()
{
    TMainFormStartupSteps steps;
    steps.SetupPaletteBar = [](TMainForm &form) { form.SetupPaletteBar(); };
    steps.FillWeaveLibrary = [](TMainForm &form) { form.FillWeaveLibrary(); };
    steps.FillPatternLibrary = [](TMainForm &form) { form.FillPatternLibrary(); };
    steps.ShowPaletteSwatches = [](TMainForm &form) { form.ShowPaletteSwatches(); };
    return steps;
}
