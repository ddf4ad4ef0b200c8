#pragma once
// TfrmWeaveDesign: the weave design window (组织设计).
// A weave drawn cell by cell on its grid (GrdWeave) and transformed by the actions of its
// menus; weave files opened (with the weave open dialog), added, saved whole or by block;
// a multi-layer weave shown layer by layer beside the grid and edited one layer pair at a
// time. The behaviour lives in TWeaveDesign; the window shows it, runs the dialogs and asks
// the questions. OpenWeaveDesign is the one way the window is made, modal or not.

#include "weave/weavedesign.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QMenuBar;
class QSpinBox;
class TWeaveGrid;

class TfrmWeaveDesign : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWeaveDesign(QWidget *parent = nullptr);
    ~TfrmWeaveDesign() override;

    TWeaveDesign &Design() { return m_design; }
    // An action by its name ("ActFileNew", ...); null for a name the window does not have.
    QAction *Action(const QString &name) const;
    QStringList ActionNames() const;

    // Files. Failures leave the weave as it was and say why (ShowMessage).
    bool OpenFile(const QString &fileName);
    bool SaveFile(const QString &fileName);
    // Save: under the name, or as Save As while the weave is untitled.
    bool FileSave();
    bool FileSaveAs();
    // The question before New, Open and closing; true to go on.
    bool QuerySave();

    // What a user would be asked; dialogs and message boxes unless replaced (tests).
    std::function<TWeaveSaveAnswer()> AskSave;
    // File names: empty when cancelled.
    std::function<QString()> ChooseOpenFile;
    std::function<QString()> ChooseSaveFile;
    std::function<void(const QString &text, const QString &caption)> ShowMessage;
    // Runs one of the parameter dialogs and gives its result.
    std::function<int(QDialog &)> RunDialog;

    TWeaveGrid *GrdWeave = nullptr;
    TWeaveGrid *GrdLayers = nullptr; // the layer view
    QSpinBox *SpnWarpLayer = nullptr;
    QSpinBox *SpnWeftLayer = nullptr;
    QLabel *StatusWarps = nullptr; // 经:
    QLabel *StatusWefts = nullptr; // 纬:
    QMenu *FileMenu = nullptr;

public Q_SLOTS:
    // Escape: ends a block drag, else closes.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setDefaultQuestions();
    QMenuBar *buildMenus();
    QWidget *buildLayerPanel();
    QAction *addAction(QMenu *menu, const char *name, const QString &text, const QKeySequence &keys = {},
        const char *icon = nullptr);
    void connectActions();
    void refresh();
    void updateActions();
    void updateCaption();
    void rebuildRecentMenu(const QString &added);
    void newWeave();
    void openWeave();
    void openRecent(const QString &fileName);
    void addFile();
    void addNew();
    void combineWith(const TWeaveArray &other);
    void saveBlock();
    void layersDialog();
    void runTiled();

    TWeaveDesign m_design;
    QHash<QString, QAction *> m_actions;
    QHash<QAction *, TWeaveAction> m_enabledBy;
    int m_shownWarps = -1;
    int m_shownWefts = -1;
    // The save question was answered for this close: the close that follows does not ask
    // again.
    bool m_closeAgreed = false;
};

// Makes the weave design window with fileName opened in it (empty: the untitled 8 x 8
// plain weave). Modal: shown until it closes and freed then; the result is null. Not
// modal: shown, freed when it closes, and returned. A file that cannot be opened is
// reported and no window is made (null).
TfrmWeaveDesign *OpenWeaveDesign(QWidget *parent, const QString &fileName, bool modal);
