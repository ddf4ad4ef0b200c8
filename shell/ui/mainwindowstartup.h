#pragma once
// The steps of the main window's creation that belong to windows of their own: the palette
// bar and the weave and pattern library browsers. The main window runs them at their
// place in its creation (see TMainForm's constructor); each is empty until its window
// exists, and an empty step is skipped.

#include <functional>

class TMainForm;

struct TMainFormStartupSteps {
    // Builds the palette bar into the window (after the settings are read).
    std::function<void(TMainForm &)> SetupPaletteBar;
    // Fill their browser and bind its selection to the main window (a chosen weave goes
    // to the active document, a chosen pattern to every open document). They run once the
    // window is the notification target, the weaves first.
    std::function<void(TMainForm &)> FillWeaveLibrary;
    std::function<void(TMainForm &)> FillPatternLibrary;
    // Shows colour 255 as the foreground and colour 0 as the background swatch of the
    // palette bar.
    std::function<void(TMainForm &)> ShowPaletteSwatches;
};

// The program's own steps.
TMainFormStartupSteps DefaultMainFormStartupSteps();
