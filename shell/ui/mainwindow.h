#pragma once
// TMainForm: the main window.
// The main window: one frame around the documents of the program.

#include "shell/dialogdocument.h"
#include "shell/documentquestions.h"
#include "shell/mainstatus.h"
#include "shell/newpattern.h"
#include "shell/ui/mainwindowstartup.h"

#include <QMainWindow>
#include <QUrl>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class TMDIChild;
struct TMainActionInfo;

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
    // Re-evaluates every action's enabled state (documents come and go).
    void UpdateActionStates();

    // --- Documents ---------------------------------------------------------------------
    // Who answers the documents' questions: message boxes unless replaced (tests).
    TDocumentQuestions &Questions() { return *m_questions; }
    void SetQuestions(TDocumentQuestions *questions);

    TMDIChild *ActiveChild() const;
    QList<TMDIChild *> Children() const;
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
    QMenu *FileMenu() const { return m_fileMenu; }
    // The last card built by a card command, kept until the next one succeeds.
    const TMultiByteArray &CardData() const { return m_cardData; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void setupStatusBar();
    void placeGauge();
    void showGauge();
    void setProgress(std::uint8_t percent);
    void handleNotification(const TMessageEvent &message);
    struct TActionSlot {
        const TMainActionInfo *Info = nullptr;
        QAction *Action = nullptr;
        std::function<void()> Handler;
        std::function<void(TMDIChild &)> DocumentHandler;
        bool NeedsDocument = false;
        bool Allowed = true; // what the state notifications (zoom limits, repeat view) allow
    };
    void setupMenus();
    void setupDocumentActions();
    // Card output (mainwindowcard.cpp): the card commands and the last card built.
    void setupCardActions();
    void buildPick(TMDIChild &child);
    void saveYarn(TMDIChild &child);
    bool saveCardAs(const TYangkaImage &sampleCard, const QImage &picture);
    void showCardViewer(const TYangkaImage *sampleCard);
    TMultiByteArray m_cardData; // kept until the next build succeeds
    TActionSlot *actionSlot(const char *name);
    void runAction(std::size_t index);
    void setActionAllowed(const char *name, bool allowed);
    void updateActionState(const TActionSlot &slot);
    void applyActionTexts();
    void updateDocumentActions();
    void fileNew();
    void fileOpen();
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
};
