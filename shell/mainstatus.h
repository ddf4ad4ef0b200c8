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
    // Whether the document commands are offered (a document is open).
    bool DocumentActionsEnabled = false;
    // The pen widths the two spin edits show.
    int PenHorzWidth = 1;
    int PenVertWidth = 1;
    // The tool button shown pressed, and whether the library browsers keep their selection.
    int PressedToolTag = 8;
    bool KeepBrowserSelection = false;

    // What the main window knows of its documents when a message arrives.
    struct TContext {
        bool HasDocument = false;
        int DocumentCount = 0;
        // The active grid's on-screen cell size and reduced-view scale.
        int CellWidth = 0;
        int CellHeight = 0;
        double ScaleX = 1.0;
        double ScaleY = 1.0;
        int ToolId = 8; // the current drawing tool
        bool NavigatorShown = false;
    };

    // What a notification asks of the windows around the model (the navigator, the palette
    // bar, the tool windows); the main window carries it out.
    enum class TFollowUp {
        None,
        // WM_SYNCACTIVECHILD 0 as the last document goes: the navigator is emptied and
        // hidden, the colour tool windows close and the recent-file items are rebuilt.
        LastDocumentClosing,
        MoveNavigatorFrame, // WM_REFRESHVIEW 0: the frame follows the visible cells
        ReloadNavigator, // WM_REFRESHVIEW 1 with the navigator shown: it takes the picture again
        PaletteToDocument, // WM_SYNCPALETTE 1: the shared palette goes into the active grid
        PaletteFromDocument, // WM_SYNCPALETTE 0: the active grid's palette becomes the shared one
    };
    TFollowUp FollowUp = TFollowUp::None;

    // Panel 1 "X:" x, panel 2 "Y:" y, panel 3 the single-point text when x + y is odd,
    // else the double-point text.
    void ShowCursorPos(int x, int y);
    // Panel 4: the colour-index text, ":" and the index.
    void ShowColorIndex(int index);
    // Panel 5: warps and wefts; panel 6: the on-screen cell size.
    void ShowPatternSize(int cols, int rows, int cellWidth, int cellHeight);
    // The same, the cell size taken times the reduced view's scale (below one pixel per
    // cell a cell shows as a fraction of a pixel).
    void ShowPatternSize(int cols, int rows, const TContext &context);
    // 1: a document opened or took the front; 0: one is closing (the last one when fewer
    // than two are open).
    void SyncActiveChild(int state, int documentCount);
    void PenWidth(int horzWidth, int vertWidth);
    void ToolChanged(int toolId);
    void RefreshView(int mode, bool navigatorShown);
    void SyncPalette(int mode);
    // The start field of the insert/delete warps-and-wefts window for a clicked cell:
    // inserting goes before the clicked line (counted from 0), deleting starts at it
    // (counted from 1).
    static int GrossStartField(int col, int row, bool onWarps, bool deleteMode);
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

    // Paste is offered when the clipboard changed to something the grid can paste (a
    // picture or one of the program's own formats) while a document is shown at one pixel
    // per cell or more.
    static bool PasteOffered(bool hasDocument, bool clipboardHasPicture, int zoomLevel);

    // The tool button shown pressed for a tool (ClearMottleByCircle shares the button of ClearMottleByRect).
    static int ToolButtonTag(int toolId);
    // The library browsers keep their selection only for PickedWeave and PickedPattern.
    static bool BrowsersKeepSelection(int toolId);

    // Applies one notification; hasDocument tells whether a document is open. Returns false
    // for messages the model does not handle. FollowUp tells what is left to do.
    bool Handle(const TMessageEvent &event, bool hasDocument);
    bool Handle(const TMessageEvent &event, const TContext &context);

    // Writes the panels shown so far again in the language now chosen, with the values they
    // last showed: a language switch re-texts the status bar at once.
    void Retext();

private:
    // The values behind the panels' texts; a panel not yet shown stays empty.
    struct TShown {
        bool CursorPos = false, ColorIndex = false, PatternSize = false;
        int X = 0, Y = 0, Index = 0, Cols = 0, Rows = 0;
        QString CellWidth, CellHeight;
    };
    TShown m_shown;
    void textCursorPos();
    void textColorIndex();
    void textPatternSize();
};
