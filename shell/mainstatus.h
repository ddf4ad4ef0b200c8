#pragma once
// TMainStatusModel: what the main window shows in reaction to the notifications.
// What the main window shows in reaction to the notifications: the texts of its seven
// status-bar panels and the enabled and checked states of the actions the notifications
// drive. Pure logic: the main window feeds it the messages and copies the result onto its
// widgets. Texts come from the interface texts (section "String") at the time of the
// message.

#include "core/base/messages.h"

#include <QString>

#include <array>

class TMainStatusModel {
public:
    static constexpr int PanelCount = 7;
    std::array<QString, PanelCount> Panels;

    bool UndoEnabled = false;
    bool RedoEnabled = false;
    bool CopyEnabled = false; // copy and copy-with-colour
    bool PasteEnabled = false; // paste, paste-to and mouse selection
    bool CutEnabled = false;
    bool ZoomInEnabled = true;
    bool ZoomOutEnabled = true; // zoom out and restore (one pixel per cell)
    bool RepeatEnabled = false;
    bool RepeatChecked = false;
    bool RepeatBorderEnabled = false;
    bool RepeatBorderChecked = false;
    bool MainFormEnabled = true;
    bool PatternMergeEnabled = false;
    // Colour picks go to the background colour while locked, else to the foreground.
    bool BackColorLocked = false;

    // Panel 1 "X:" x, panel 2 "Y:" y, panel 3 the single-point text when x + y is odd,
    // else the double-point text.
    void ShowCursorPos(int x, int y);
    // Panel 4: the colour-index text, ":" and the index.
    void ShowColorIndex(int index);
    // Panel 5: warps and wefts; panel 6: the on-screen cell size.
    void ShowPatternSize(int cols, int rows, int cellWidth, int cellHeight);
    // Only with a document open.
    void UndoState(int undoCount, int redoCount, bool hasDocument);
    void EditState(int flags, int cutState);
    void ZoomState(int level);
    void RepeatState(int flags);
    void RepeatReset();
    void EnableMainForm(int enable);
    void PatternMergeState(int state);

    // What a colour pick does.
    struct TColorPickEffect {
        bool ToBackColor = false; // the index becomes the background colour
        bool SetPaletteCurrent = false; // the palette bar's current colour follows (kinds 2, 3)
    };
    // Kind 4 locks and kind 3 unlocks the choice before the rest is decided.
    TColorPickEffect ColorPicked(int kind);

    // The tool button shown pressed for a tool (tool 35 shares the button of 34).
    static int ToolButtonTag(int toolId);
    // The library browsers keep their selection only for tools 39 and 40.
    static bool BrowsersKeepSelection(int toolId);

    // Applies one notification; hasDocument tells whether a document is open. Returns false
    // for messages the model does not handle.
    bool Handle(const TMessageEvent &event, bool hasDocument);
};
