#pragma once
// TMainForm: the main window.
// The main window: one frame around the documents of the program.

#include "shell/dialogdocument.h"
#include "shell/documentquestions.h"
#include "shell/mainstatus.h"
#include "shell/newpattern.h"
#include "shell/ui/mainwindowstartup.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QSpinBox;
class TPatternGrid;
class TMessageEvent;
struct TSprayOption;
class TFrameBrowse;
class TFrmExplorer;
class QTimer;
class TMDIChild;
class TNavigatorPanel;
class TMainWindowNavigator;
class TMainWindowCard;
class TMainWindowPalette;
class TMainWindowTools;
class TMainWindowSampleCard;
class TMainWindowTiling;
class TMainWindowPrinting;
class TMainWindowOutlines;
class TMainWindowSelvedges;
class TMainWindowSystem;
class TFramPalette;
class TPatternGrid;
struct TMainActionInfo;

// frame moved (and, where it is larger, shrunk) so that it lies wholly on screen.
QRect KeepOnScreen(QRect frame, const QRect &screen);

// The folder the file explorer opens at: the one it showed when a file was last opened from
// it (or the window closed), while that folder exists; the picture folder otherwise.
QString ExplorerStartFolder();
void WriteExplorerFolder(const QString &folder);

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // steps: what the palette bar and the library browsers add to the creation (tests
    // give their own).
    explicit TMainForm(
        QWidget *parent = nullptr, const TMainFormStartupSteps &steps = DefaultMainFormStartupSteps());
    ~TMainForm() override;

    QMdiArea *mdiArea() const { return m_mdi; }

    // The status bar's seven panels (0 to 6) and the shared progress gauge, which is shown
    // over the last panel while a long operation runs.
    QLabel *StatusPanel(int index) const { return m_panels.at(index); }
    QProgressBar *Gauge() const { return m_gauge; }
    const TMainStatusModel &StatusModel() const { return m_status; }

    // Sets every caption and hint of the window from the interface texts.
    void ApplyLanguage();
    // The language menu: stores the choice, opens that language file and applies it.
    void SetLanguage(int index);

    // --- Actions ---------------------------------------------------------------------
    // Every action of the main window's action table exists from the start, in its menu;
    // each part of the window gives the actions it runs their commands. An action without
    // a command sits in its menu disabled, except the inert ones, which have never had a
    // command and are shown enabled, doing nothing.
    //
    // The action of the table called name (exact case), or null.
    QAction *Action(std::string_view name) const;
    // Gives the action its command; the action is enabled from now on (unless it needs a
    // document, see SetActionNeedsDocument).
    void SetActionHandler(const char *name, std::function<void()> handler);
    // Gives the action a command on the active document: enabled only while a document is
    // open, and never run without one.
    void SetDocumentActionHandler(const char *name, std::function<void(TMDIChild &)> handler);
    // A command of SetActionHandler that is enabled only while a document is open.
    void SetActionNeedsDocument(const char *name, bool needsDocument);
    // How the action's command was given: how many times (the table wants one for a Built
    // row, none for the others) and whether it runs only with a document.
    struct TActionCommandInfo {
        int Commands = 0;
        bool NeedsDocument = false;
    };
    TActionCommandInfo ActionCommand(std::string_view name) const;
    // Re-evaluates every action's enabled state (documents come and go).
    void UpdateActionStates();

    // --- Documents ---------------------------------------------------------------------
    // Who answers the documents' questions: message boxes unless replaced (tests).
    TDocumentQuestions &Questions() { return *m_questions; }
    void SetQuestions(TDocumentQuestions *questions);

    TMDIChild *ActiveChild() const;
    QList<TMDIChild *> Children() const;
    // The document window that owns grid, or null (its document has closed).
    TMDIChild *ChildOfGrid(const TPatternGrid *grid) const;
    // A change of grid's that could not be recorded is said, since it cannot be undone.
    void ReportUndoError(const TPatternGrid &grid);
    // The first document window whose caption is fileName (letter case counts).
    bool FindChildByFileName(const QString &fileName, TMDIChild *&child) const;
    // Opens a file (a project or a picture) or, with isNew, an empty document window.
    // Unless skipCheck, a file already open asks first; declining brings the open window
    // to the front. A file that does not exist or does not load is reported and opens no
    // window. Returns the new window, or null.
    TMDIChild *OpenChild(const QString &fileName, bool isNew = false, bool skipCheck = false);
    // File > New with the dialog's values: a new document of that size and layer count.
    TMDIChild *CreateNewDocument(const TNewPatternValues &values);
    // A document made by a dialog on OK (unite, merge, seams, convert weave, pattern merge):
    // a new window named "Untitled" + its number + "*" holding the dialog's 8-bit result
    // picture and its palette, with a fresh record. A picture that cannot be a document is
    // reported and makes no window; returns null then.
    TMDIChild *NewChildFromPicture(const QImage &picture);
    // The split picture dialog's OK: one new document per part, named after the active
    // document, each with the split's piece layout and the active grid's gap, marked
    // modified. Nothing without an active document; when one part cannot be a document,
    // it is reported and no window is made.
    QList<TMDIChild *> NewChildrenFromSplit(const QList<QImage> &parts, const TSplitPieces &pieces);
    // The values File > New starts from (the picture on the clipboard gives the size).
    TNewPatternValues NewDocumentStartValues() const;
    // Opens the first of the dropped files when the picture open dialog lists its type.
    TMDIChild *OpenDroppedUrls(const QList<QUrl> &urls);
    // What a second start handed over: the window comes to the front and opens the file
    // (an empty path only brings the window to the front).
    void OpenHandedOverFile(const QString &path);
    // Closes every document in turn; false when one of them stays (Cancel).
    bool CloseAllDocuments();
    // Rebuilds the recent-file items of the File menu.
    void UpdateRecentFileMenu();
    // The sample-card command on a document: the editor is made on a copy of the document's
    // card and confirmed as if OK were pressed (a card that fits becomes the document's;
    // without showEditor a refusal is shown), then, with showEditor, shown; its OK gives the
    // document the edited card. True when the document holds a card that fits its design.
    bool DesignSampleCard(TMDIChild &child, bool showEditor);
    QMenu *FileMenu() const { return m_fileMenu; }
    // The last card built by a card command, kept until the next one succeeds.
    const TMultiByteArray &CardData() const;
    TNavigatorPanel *Navigator() const;
    // The palette bar (null until SetupPaletteBar ran) and the two creation steps that
    // build it and show its start swatches (colour 255 in front, colour 0 behind).
    TFramPalette *PaletteBar() const;
    void SetupPaletteBar();
    void ShowPaletteSwatches();

    // --- Drawing tools (mainwindowtools.cpp) ---------------------------------------------
    // The command every drawing action shares: toolId is the action's tag.
    void ActFreeLineExecute(int toolId);
    // Who answers the spray settings dialog (tests); empty: the dialog itself.
    void SetSprayOptionAsker(std::function<bool(TSprayOption &)> ask);

    // --- Library browsers and the file explorer ------------------------------------------
    // The frame of the weave and pattern library browsers (made by FillWeaveLibrary; null
    // before). Its SelectedWeaveFile / SelectedWeave and WeavePicked give the weave the
    // user picked for tiling.
    TFrameBrowse *LibraryBrowser() const;
    // The weave just picked for child reaches the tile-weave window working on it.
    void GiveTileWindowPickedWeave(TMDIChild &child);
    // The start-up steps of the browsers: list the libraries and show the default ones (a
    // new user's weave folder first gets the starter library).
    void FillWeaveLibrary();
    void FillPatternLibrary();
    // The file explorer (made on first use), shown at the window's bottom-right corner.
    TFrmExplorer *ShowExplorer();

Q_SIGNALS:
    // The notifications that reach the windows around the documents (tool bars, library
    // browsers, tool windows, navigator, palette bar): each listens to what concerns it.
    void WeaveFileSaved(const QString &fileName);
    // The clicked cell, for the insert/delete warps-and-wefts window.
    void GrossPosClicked(int col, int row);
    void PenWidthChanged(int horzWidth, int vertWidth);
    // The tool button to show pressed; unless keepSelection the browsers drop theirs.
    void ToolChanged(int pressedTag, bool keepSelection);
    // The last document is closing: the colour tool windows close, the navigator empties.
    void LastDocumentClosing();
    // The active document scrolled (reload false) or its picture changed (reload true).
    void ViewChanged(bool reload);
    // toDocument: the shared palette went into the document; else the document's palette
    // became the shared one.
    void PaletteSynced(TMDIChild &child, bool toDocument);
    // A colour was picked (index -1: without a record); the colour tool windows follow.
    void ColorPicked(int index, int kind);
    // Another document came to the front; tool windows that act on the active document
    // follow it. LastDocumentClosing tells when none is left.
    void ActiveChildChanged(TMDIChild *child);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The palette part sets the status model's back-colour lock and shows command warnings.
    friend class TMainWindowPalette;
    // The tiling part places the tile-weave window beside the document.
    friend class TMainWindowTiling;
    // The colour part places its windows and moves the palette bar's current colour.
    friend class TMainWindowColors;
    // So does the selvedge part with its windows.
    friend class TMainWindowSelvedges;
    // The system part offers the calculator only when there is one.
    friend class TMainWindowSystem;
    // The geometry part places the insert/delete window.
    friend class TMainWindowGeometry;
    // The weave part places the assign-weaves window.
    friend class TMainWindowWeaves;
    void setupStatusBar();
    void placeGauge();
    void showGauge();
    void setProgress(std::uint8_t percent);
    void handleNotification(const TMessageEvent &message);
    void colorPicked(const TMessageEvent &message);
    void followUp(TMainStatusModel::TFollowUp followUp);
    struct TActionSlot {
        const TMainActionInfo *Info = nullptr;
        QAction *Action = nullptr;
        std::function<void()> Handler;
        std::function<void(TMDIChild &)> DocumentHandler;
        bool NeedsDocument = false;
        int Commands = 0; // how many commands were given
        bool Allowed = true; // what the state notifications (zoom limits, repeat view) allow
    };
    // The layout (mainwindowlayout.cpp): restored from the settings file, or the first
    // start's; document and tool windows placed where they can be seen.
    void restoreLayout();
    void saveLayout();
    void applyFirstStartLayout();
    void showChild(QMdiSubWindow *child);
    void placeToolWindow(QWidget *window);
    bool m_firstStartLayout = false;
    void setupMenus();
    void setupDocumentActions();
    // Drawing tools: tool bars, pen widths, the current tool, tool keys.
    void setupBrowseActions();
    void applyBrowseTexts();
    void giveLibraryPicksToChild(TMDIChild *child);
    // The commands on the active grid and the state the menus refresh when they open.
    void setupGridActions();
    void runWholePictureCommand(TMDIChild &child, bool (TPatternGrid::*command)());
    void showCommandWarning(const QString &text);
    void updateGridLineCaption();
    void refreshMenuStates();
    void clipboardChanged();
    TActionSlot *actionSlot(const char *name);
    void runAction(std::size_t index);
    void setActionAllowed(const char *name, bool allowed);
    void updateActionState(const TActionSlot &slot);
    void applyActionTexts();
    void updateDocumentActions();
    void fileNew();
    void saveActive(bool saveAs);
    // The caption and the main window's settings a new document's grid takes.
    void setupChildFromMainSettings(TMDIChild *child, const QString &caption);
    void finishChild(TMDIChild *child, bool isNew, bool skipCheck);
    void tileWindows(Qt::Orientation orientation);
    void refusePicture(const QString &error);
    void childActivated(TMDIChild *child);

    QMdiArea *m_mdi = nullptr;
    std::array<QLabel *, TMainStatusModel::PanelCount> m_panels {};
    QProgressBar *m_gauge = nullptr;
    TMainStatusModel m_status;
    std::unique_ptr<TDocumentQuestions> m_ownQuestions;
    TDocumentQuestions *m_questions = nullptr;
    QMenu *m_fileMenu = nullptr;
    QAction *m_recentAnchor = nullptr; // the recent-file items go before it
    QList<QAction *> m_recentItems;
    std::vector<TActionSlot> m_actions; // one per row of the action table, in its order
    bool m_documentOpen = false; // what the document actions' enabled states follow
    std::unique_ptr<TMainWindowNavigator> m_navigator;
    std::unique_ptr<TMainWindowCard> m_card;
    std::unique_ptr<TMainWindowPalette> m_palette;
    std::unique_ptr<TMainWindowTools> m_tools;
    std::unique_ptr<TMainWindowSampleCard> m_sampleCard;
    std::unique_ptr<TMainWindowTiling> m_tiling;
    std::unique_ptr<TMainWindowPrinting> m_printing;
    std::unique_ptr<TMainWindowOutlines> m_outlines;
    std::unique_ptr<TMainWindowSelvedges> m_selvedges;
    std::unique_ptr<TMainWindowSystem> m_system;
};
