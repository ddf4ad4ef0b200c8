// The main window's library browsers and file explorer: File > Open and the double click
// on the document area open the explorer, View > Weave Library shows or hides the browsers,
// the browsers' picks go to the documents' grids, a saved weave file shows in the weave
// browser and another drawing tool drops the picks.
#include "shell/ui/mainwindow.h"

#include "core/base/messages.h"
#include "core/decode/pictureload.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/ui/windowframe.h"
#include "shell/libraryfolders.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/explorerwindow.h"
#include "shell/ui/libraryframe.h"
#include "shell/ui/mainwindowweavedesign.h"
#include "weave/weavefile.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QScreen>
#include <QTimer>

namespace {
// Runs a command on a double click of a widget (the document area's empty background).
class TDoubleClickFilter : public QObject {
public:
    TDoubleClickFilter(QObject *parent, std::function<void()> command)
        : QObject(parent)
        , m_command(std::move(command))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_command();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_command;
};

// Watches the main window's notifications that concern the browsers, leaving them to the
// window's own handling as well.
class TLibraryNotificationFilter : public QObject {
public:
    TLibraryNotificationFilter(TMainForm *form)
        : QObject(form)
        , m_form(form)
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const int type = int(event->type());
        if (type != WM_WEAVEFILESAVED && type != WM_TOOLCHANGED)
            return false;
        TFrameBrowse *frame = m_form->LibraryBrowser();
        if (!frame)
            return false;
        const auto &message = *static_cast<const TMessageEvent *>(event);
        if (type == WM_WEAVEFILESAVED) {
            if (const QString *fileName = message.FileName())
                frame->BrowseWeave->ShowFile(*fileName);
        } else {
            const TToolId tool = RunState().CurrentToolId;
            if (tool != TToolId::PickedWeave && tool != TToolId::PickedPattern) {
                frame->BrowseWeave->ClearSelection();
                frame->BrowseImg->ClearSelection();
            }
        }
        return false;
    }

private:
    TMainForm *m_form;
};
} // namespace

void TMainForm::setupBrowseActions()
{
    SetActionHandler("ActBrowse", [this] { ShowExplorer(); });
    QAction *display = Action("ActDisplayWeave");
    display->setCheckable(true);
    SetActionHandler("ActDisplayWeave", [this] {
        if (QDockWidget *dock = findChild<TRightFrame *>())
            dock->setVisible(!dock->isVisible());
    });
    m_mdi->viewport()->installEventFilter(new TDoubleClickFilter(this, [this] { ShowExplorer(); }));
    installEventFilter(new TLibraryNotificationFilter(this));
}

void TMainForm::applyBrowseTexts()
{
    if (auto *dock = findChild<TRightFrame *>()) {
        dock->setWindowTitle(GetUiString(UiKey::TileWeave::Weave_Library));
        dock->FrameBrowse()->ApplyLanguage();
    }
    if (auto *explorer = findChild<TFrmExplorer *>())
        explorer->ApplyLanguage();
}

TFrameBrowse *TMainForm::LibraryBrowser() const
{
    auto *dock = findChild<TRightFrame *>();
    return dock ? dock->FrameBrowse() : nullptr;
}

namespace {
TRightFrame *makeRightFrame(TMainForm &form)
{
    if (auto *dock = form.findChild<TRightFrame *>())
        return dock;
    auto *dock = new TRightFrame([&form]() -> TDocumentQuestions & { return form.Questions(); }, &form);
    form.addDockWidget(Qt::RightDockWidgetArea, dock);
    QAction *display = form.Action("ActDisplayWeave");
    display->setChecked(true);
    QObject::connect(dock, &QDockWidget::visibilityChanged, display, [dock, display] {
        // Hidden behind another tab is still shown: only closing unchecks it.
        display->setChecked(!dock->isHidden());
    });
    TFrameBrowse *frame = dock->FrameBrowse();
    QObject::connect(frame, &TFrameBrowse::WeavePicked, &form, [&form](const QString &fileName) {
        TMDIChild *child = form.ActiveChild();
        if (!child)
            return;
        TWeaveArray cells;
        QString error;
        if (!fileName.isEmpty() && !LoadWeaveFile(fileName, cells, &error))
            form.Questions().ShowMessage(
                error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
        child->PatternGrid().SelectTableTool(cells, fileName);
        form.GiveTileWindowPickedWeave(*child);
    });
    QObject::connect(frame, &TFrameBrowse::PatternPicked, &form, [&form](const QString &fileName) {
        QImage picture;
        QString error;
        if (!fileName.isEmpty() && !LoadPictureAs8Bit(fileName, picture, &error))
            form.Questions().ShowMessage(
                error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
        for (TMDIChild *child : form.Children())
            child->PatternGrid().SelectStringTool(picture, fileName);
    });
    QObject::connect(frame, &TFrameBrowse::OpenDocument, &form, [&form](const QString &fileName) {
        // Opening may ask a question: not inside the double click.
        QMetaObject::invokeMethod(
            &form, [&form, fileName] { form.OpenChild(fileName); }, Qt::QueuedConnection);
    });
    QObject::connect(frame, &TFrameBrowse::DesignWeave, &form,
        [&form](const QString &fileName) { DesignWeaveLater(form, fileName); });
    return dock;
}
} // namespace

void TMainForm::FillWeaveLibrary()
{
    TRightFrame *dock = makeRightFrame(*this);
    TFolders &folders = Folders();
    if (folders.WeaveDirCreated && !folders.WeaveDir.isEmpty()) {
        // A new user: the starter weaves, so that there is something to tile with.
        folders.WeaveDirCreated = false;
        QString error;
        if (!InstallStarterWeaveLibrary(folders.WeaveDir, &error))
            Questions().ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
    }
    dock->FrameBrowse()->FillWeaveLibrary();
}

void TMainForm::FillPatternLibrary()
{
    makeRightFrame(*this)->FrameBrowse()->FillPatternLibrary();
}

void TMainForm::giveLibraryPicksToChild(TMDIChild *child)
{
    TFrameBrowse *frame = LibraryBrowser();
    if (!frame)
        return;
    TPatternGrid &grid = child->PatternGrid();
    const TToolId tool = RunState().CurrentToolId;
    if (tool == TToolId::PickedWeave) {
        TWeaveArray cells;
        if (frame->SelectedWeave(cells))
            grid.SelectTableTool(cells, frame->SelectedWeaveFile());
    } else if (tool == TToolId::PickedPattern && !frame->SelectedPatternFile().isEmpty()) {
        QImage picture;
        if (LoadPictureAs8Bit(frame->SelectedPatternFile(), picture))
            grid.SelectStringTool(picture, frame->SelectedPatternFile());
    }
}

TFrmExplorer *TMainForm::ShowExplorer()
{
    auto *explorer = findChild<TFrmExplorer *>();
    if (!explorer) {
        explorer = new TFrmExplorer(this);
        connect(explorer, &TFrmExplorer::OpenFile, this, [this, explorer](const QString &fileName) {
            WriteExplorerFolder(explorer->Directory());
            QMetaObject::invokeMethod(
                this, [this, fileName] { OpenChild(fileName); }, Qt::QueuedConnection);
        });
        explorer->SetDirectory(ExplorerStartFolder());
        // At the main window's bottom-right corner, wholly on screen with its title bar
        // and borders, taken as large as the main window's (a window's position is that
        // of its frame).
        const QRect frame = frameGeometry();
        const QMargins margins = WindowFrameMargins(this);
        const QSize outer = explorer->size().grownBy(margins);
        QRect place(QPoint(frame.right() - outer.width() + 1, frame.bottom() - outer.height() + 1), outer);
        if (const QScreen *where = screen())
            place = KeepOnScreen(place, where->availableGeometry());
        explorer->resize(place.size().shrunkBy(margins));
        explorer->move(place.topLeft());
    }
    explorer->show();
    explorer->raise();
    explorer->activateWindow();
    // The window manager's frame may be larger than the main window's: once it is known,
    // what of it lies off the screen comes back.
    QTimer::singleShot(250, explorer, [explorer] {
        const QScreen *where = explorer->screen();
        const QRect frame = explorer->frameGeometry();
        if (const QRect kept = where ? KeepOnScreen(frame, where->availableGeometry()) : frame;
            kept.topLeft() != frame.topLeft())
            explorer->move(kept.topLeft());
    });
    return explorer;
}
