#pragma once
// TRightFrame, TFrameBrowse: the weave (组织) and pattern (花样) library browsers beside
// the documents.
// The frame shows the files of the current weave library and of the current pattern
// library as thumbnails, one tab each, with a menu of library commands (new and delete
// weaves, patterns and libraries, and one radio item per library). A click on a weave
// picks it for the weave-table tool, a click on a pattern picks it for the pattern tool;
// a double click on a pattern opens it as a document.

#include "core/base/document.h"
#include "shell/ui/browseview.h"

#include <QDockWidget>
#include <QImage>
#include <QWidget>

#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;
class TDocumentQuestions;

class TFrameBrowse : public QWidget {
    Q_OBJECT
public:
    // questions: who answers the library commands' questions (asked anew each time: the
    // main window's answerer may be replaced).
    using TQuestionsSource = std::function<TDocumentQuestions &()>;
    TFrameBrowse(TQuestionsSource questions, QWidget *parent = nullptr);

    // The library lists built at start: the weave libraries under the weave folder (the
    // one named "general" in any letter case shown), the pattern libraries under the
    // pattern-library folder ("常用花样" shown).
    void FillWeaveLibrary();
    void FillPatternLibrary();

    // The weave picked in the weave browser (its file; empty when none is picked) and the
    // weave itself; false with a message when it cannot be read.
    QString SelectedWeaveFile() const;
    bool SelectedWeave(TWeaveArray &cells, QString *error = nullptr) const;
    QString SelectedPatternFile() const;

    // The folder of the current library, empty without one.
    QString CurrentWeaveLibrary() const;
    QString CurrentPatternLibrary() const;
    // The library items of the menus (radio items, in menu order).
    QList<QAction *> WeaveLibraryItems() const;
    QList<QAction *> PatternLibraryItems() const;
    // Shows the library of an item and makes it current; a weave library also becomes the
    // weave folder.
    void ChooseLibrary(QAction *item);

    // The commands of the menus.
    // "New weave": the weave design window on a new weave, for the current library.
    void NewWeave();
    void NewWeaveLibrary();
    void DeleteWeaveLibrary();
    void DeleteWeave();
    void NewPatternLibrary();
    void DeletePatternLibrary();
    void DeletePattern();
    void AddPattern();
    // Adds a library item for a folder made meanwhile and makes it current.
    QAction *AddLibraryItem(TBrowseMode mode, const QString &path);
    // Copies a bitmap into the current pattern library and shows it; reports a file of that
    // name that is there already.
    bool AddPatternFile(const QString &fileName);

    TBrowseAll *BrowseWeave = nullptr;
    TBrowseAll *BrowseImg = nullptr;
    QTabBar *TstBrowse = nullptr;
    QToolButton *SbnMenu = nullptr;
    QMenu *PopupMenuWeave = nullptr;
    QMenu *PopupMenuImg = nullptr;
    QAction *MnuNewWeave = nullptr;
    QAction *MnuDelWeave = nullptr;
    QAction *MnuNewWeaveLib = nullptr;
    QAction *MnuDelWeaveLib = nullptr;
    QAction *MnuAddPattern = nullptr;
    QAction *MnuDelPattern = nullptr;
    QAction *MnuNewPatternLib = nullptr;
    QAction *MnuDelPatternLib = nullptr;

    // Sets the menu and tab texts from the interface texts.
    void ApplyLanguage();

Q_SIGNALS:
    // A weave was picked (its file) or the pick was dropped (empty).
    void WeavePicked(const QString &fileName);
    void PatternPicked(const QString &fileName);
    // A pattern thumbnail was double-clicked: open it as a document.
    void OpenDocument(const QString &fileName);
    // The weave design window is wanted on a weave file (empty: a new weave).
    void DesignWeave(const QString &fileName);

private:
    void fillLibraries(TBrowseMode mode);
    QAction *addItem(TBrowseMode mode, const QString &name, const QString &path);
    void deleteLibrary(TBrowseMode mode);
    TBrowseAll *browser(TBrowseMode mode) const;
    QWidget *holder(TBrowseAll *&browse, QMenu *menu);

    TQuestionsSource m_questions;
    QStackedWidget *m_pages = nullptr;
    QActionGroup *m_weaveGroup = nullptr;
    QActionGroup *m_patternGroup = nullptr;
    // The roots the libraries were listed from: new libraries are made there, also while
    // the weave folder follows a chosen library.
    QString m_weaveRoot;
    QString m_patternRoot;
};

// The dock that holds the frame at the main window's right edge.
class TRightFrame : public QDockWidget {
    Q_OBJECT
public:
    TRightFrame(TFrameBrowse::TQuestionsSource questions, QWidget *parent = nullptr);
    TFrameBrowse *FrameBrowse() const { return m_frame; }

private:
    TFrameBrowse *m_frame = nullptr;
};
