// The main window's documents: opening, new, the File and Window menus, the recent-file
// items, dropped files, a second start's hand-over and closing.
#include "shell/ui/mainwindow.h"

#include "core/base/localname.h"
#include "core/base/messages.h"
#include "core/picture/clipboardpicture.h"
#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/ui/patterngridview.h"
#include "shell/documentopen.h"
#include "shell/pictureformats.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindowtiling.h"
#include "shell/ui/mainwindowtools.h"
#include "shell/ui/newpatterndialog.h"
#include "shell/ui/techtileweavewindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>

void TMainForm::SetQuestions(TDocumentQuestions *questions)
{
    m_questions = questions ? questions : m_ownQuestions.get();
}

void TMainForm::setupDocumentActions()
{
    SetActionHandler("ActFileNew", [this] { fileNew(); });
    SetDocumentActionHandler("ActFileSave", [this](TMDIChild &) { saveActive(false); });
    SetDocumentActionHandler("ActFileSaveAs", [this](TMDIChild &) { saveActive(true); });
    SetDocumentActionHandler("ActFileClose", [](TMDIChild &child) { child.close(); });
    SetDocumentActionHandler("ActCloseAll", [this](TMDIChild &) { CloseAllDocuments(); });
    SetActionHandler("ActFileExit", [this] { close(); });

    SetDocumentActionHandler("WindowCascade1", [this](TMDIChild &) { m_mdi->cascadeSubWindows(); });
    SetDocumentActionHandler("WindowTileHorizontal1", [this](TMDIChild &) { tileWindows(Qt::Horizontal); });
    SetDocumentActionHandler("WindowTileVertical1", [this](TMDIChild &) { tileWindows(Qt::Vertical); });
    SetDocumentActionHandler("WindowMinimizeAll1", [this](TMDIChild &) {
        for (QMdiSubWindow *w : m_mdi->subWindowList())
            w->showMinimized();
    });
    for (const char *name :
        { "ActEnglish", "ActTraditional_Chinese", "ActSimplified_Chinese", "ActLocal_Language" }) {
        QAction *language = Action(name);
        SetActionHandler(name, [this, language] { SetLanguage(language->data().toInt()); });
    }

    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        if (auto *child = qobject_cast<TMDIChild *>(window))
            childActivated(child);
    });
}

void TMainForm::childActivated(TMDIChild *child)
{
    // The status bar, the palette bar and the zoom, undo and tool states follow the
    // document that is now in front.
    TPatternGrid &grid = child->PatternGrid();
    SendPatternSize(grid.ColCount(), grid.RowCount());
    SendRefreshView(1);
    SendPaletteFromChild();
    SendZoomState(this, grid.ZoomLevel());
    SendUndoState(grid.UndoStore().UndoCount(), grid.UndoStore().RedoCount());
    RunState().CurrentToolId = grid.ToolId();
    SendToolChanged();
    Q_EMIT ActiveChildChanged(child);
}

void TMainForm::updateDocumentActions()
{
    m_documentOpen = !Children().isEmpty();
    UpdateActionStates();
}

TMDIChild *TMainForm::ActiveChild() const
{
    if (auto *child = qobject_cast<TMDIChild *>(m_mdi->activeSubWindow()))
        return child;
    // Without focus (another program active, or offscreen) the last active one counts.
    return qobject_cast<TMDIChild *>(m_mdi->currentSubWindow());
}

QList<TMDIChild *> TMainForm::Children() const
{
    QList<TMDIChild *> children;
    for (QMdiSubWindow *w : m_mdi->subWindowList())
        if (auto *child = qobject_cast<TMDIChild *>(w))
            children.append(child);
    return children;
}

TMDIChild *TMainForm::ChildOfGrid(const TPatternGrid *grid) const
{
    for (TMDIChild *child : Children())
        if (&child->PatternGrid() == grid)
            return child;
    return nullptr;
}

void TMainForm::ReportUndoError(const TPatternGrid &grid)
{
    if (const QString &error = grid.LastUndoError(); !error.isEmpty())
        Questions().ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
}

bool TMainForm::FindChildByFileName(const QString &fileName, TMDIChild *&child) const
{
    for (TMDIChild *c : Children())
        if (c->Caption() == fileName) {
            child = c;
            return true;
        }
    child = nullptr;
    return false;
}

TMDIChild *TMainForm::OpenChild(const QString &fileName, bool isNew, bool skipCheck)
{
    const QString caption = GetUiMessage(UiKey::String::OpenFileHint);
    if (!isNew && !IsExistingFile(fileName)) {
        m_questions->ShowMessage(GetUiMessage(UiKey::String::FileExistHint), caption, TMessageKind::Warning);
        return nullptr;
    }
    TMDIChild *open = nullptr;
    if (!isNew && !skipCheck && FindChildByFileName(fileName, open)
        && !m_questions->AskOkCancel(GetUiMessage(UiKey::String::FileAlreadyOpen), caption)) {
        m_mdi->setActiveSubWindow(open);
        AddRecentFile(fileName);
        UpdateRecentFileMenu();
        SendPaletteFromChild();
        return nullptr;
    }

    auto *child = new TMDIChild(*m_questions, m_mdi);
    setupChildFromMainSettings(child,
        isNew ? GetUiMessage(UiKey::String::UnilitedName) + QString::number(Children().size() + 1)
              : fileName);
    if (!isNew) {
        QString error;
        QStringList warnings;
        const bool project = IsProjectFileName(fileName);
        const bool loaded = project ? OpenProjectDocument(fileName, child->Document(), &warnings, &error)
                                    : child->PatternGrid().LoadPictureFile(fileName, &error);
        if (!loaded) {
            delete child;
            m_questions->ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
            return nullptr;
        }
        for (const QString &warning : std::as_const(warnings))
            m_questions->ShowMessage(warning, caption, TMessageKind::Warning);
    }
    m_mdi->addSubWindow(child);
    finishChild(child, isNew, skipCheck);
    return child;
}

void TMainForm::setupChildFromMainSettings(TMDIChild *child, const QString &caption)
{
    child->SetCaption(caption);
    TPatternGrid &grid = child->PatternGrid();
    grid.SetStatusWnd(this);
    grid.SetTileWeaveParam(StartSettings().TileWeaveParam);
    // The pattern-tiling options are read afresh: their dialog writes them to the settings
    // and the new document starts from what it chose last.
    TTilePatternParam tilePattern;
    ReadTilePatternParam(tilePattern);
    grid.SetTilePatternParam(tilePattern);
    grid.SetSprayOption(StartSettings().SprayOption);
    m_tiling->ConnectPickedTools(child);
    m_tools->ApplyToolSettings(grid);
    giveLibraryPicksToChild(child);
}

// Tiles the document windows: side by side in one row (Horizontal: each the full height,
// 1 / n of the width) or one above the other (Vertical: each the full width, 1 / n of the
// height).
void TMainForm::tileWindows(Qt::Orientation orientation)
{
    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList();
    const QSize area = m_mdi->viewport()->size();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (orientation == Qt::Horizontal)
            windows[i]->setGeometry(i * (area.width() / n), 0, area.width() / n, area.height());
        else
            windows[i]->setGeometry(0, i * (area.height() / n), area.width(), area.height() / n);
    }
}

void TMainForm::finishChild(TMDIChild *child, bool isNew, bool skipCheck)
{
    // ApplyGridDisplaySettings.
    const TGrossOption &gross = StartSettings().GrossOption;
    TPatternGrid &grid = child->PatternGrid();
    grid.SetCompartLineColor(gross.CompartLineColor);
    grid.SetLineColor(gross.GridLineColor);
    grid.Grid().DefaultColCompart = gross.GridColCount;
    grid.Grid().DefaultRowCompart = gross.GridRowCount;
    grid.SetZoom(grid.ZoomLevel());
    showChild(child);
    grid.ResetRepeatSize();
    // A project keeps the record and the sample card it was read with.
    if (isNew || !IsProjectFileName(child->Caption()))
        child->Document().InitDocument();
    if (!isNew && !skipCheck) {
        AddRecentFile(child->Caption());
        UpdateRecentFileMenu();
    }
    m_mdi->setActiveSubWindow(child);
    connect(
        child, &QObject::destroyed, this, [this] { updateDocumentActions(); }, Qt::QueuedConnection);
    updateDocumentActions();
    SendChildState(1);
}

TNewPatternValues TMainForm::NewDocumentStartValues() const
{
    QSize size;
    QImage picture;
    if (PastePictureFromClipboard(picture))
        size = picture.size();
    else if (const QImage image = QApplication::clipboard()->image(); !image.isNull())
        size = image.size();
    return NewPatternStartValues(StartSettings().GrossOption, size);
}

TMDIChild *TMainForm::CreateNewDocument(const TNewPatternValues &values)
{
    if (!CheckNewPatternValues(values))
        return nullptr;
    TMDIChild *child = OpenChild(QString(), true, false);
    if (!child)
        return nullptr;
    TDocument &document = child->Document();
    document.ApplyNewDocumentParameters(values);
    // The layer count is the grid's piece count and the record's LayerCount alike, so that
    // it survives a save as a project.
    document.InitDocument(values.LayerCount);
    child->GridView()->LayoutChanged();
    child->UpdateRulers();
    return child;
}

void TMainForm::refusePicture(const QString &error)
{
    m_questions->ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
}

TMDIChild *TMainForm::NewChildFromPicture(const QImage &picture)
{
    QString error;
    if (!CheckDialogPicture(picture, &error)) {
        refusePicture(error);
        return nullptr;
    }
    const int number = int(Children().size()) + 1;
    TMDIChild *child = OpenChild(QString(), true, false);
    if (!child)
        return nullptr;
    child->SetCaption(DialogDocumentCaption(number));
    TakeDialogPicture(child->Document(), picture);
    child->GridView()->LayoutChanged();
    child->UpdateRulers();
    return child;
}

QList<TMDIChild *> TMainForm::NewChildrenFromSplit(const QList<QImage> &parts, const TSplitPieces &pieces)
{
    QList<TMDIChild *> made;
    TMDIChild *source = ActiveChild();
    if (!source)
        return made;
    // Every part is checked first: a split either opens all its parts or none.
    for (const QImage &part : parts) {
        QString error;
        if (!CheckDialogPicture(part, &error)) {
            refusePicture(error);
            return made;
        }
    }
    const std::int32_t gap = source->PatternGrid().RepeatDisplayValues()[3];
    for (int i = 0; i < parts.size(); ++i) {
        TMDIChild *child = OpenChild(QString(), true, false);
        if (!child)
            break;
        child->SetCaption(SplitPartCaption(source->Document(), i + 1));
        TakeSplitPart(child->Document(), parts.at(i), pieces, gap);
        child->GridView()->LayoutChanged();
        child->UpdateRulers();
        made.append(child);
    }
    return made;
}

void TMainForm::fileNew()
{
    TFrmSetPara dialog(this);
    dialog.setWindowTitle(GetUiMessage(UiKey::String::NewCreate));
    dialog.SetValues(NewDocumentStartValues());
    if (dialog.exec() == QDialog::Accepted)
        CreateNewDocument(dialog.Values());
}

void TMainForm::saveActive(bool saveAs)
{
    TMDIChild *child = ActiveChild();
    if (!child)
        return;
    child->SaveDocument(saveAs ? TSaveCommand::SaveAs : TSaveCommand::Save);
    UpdateRecentFileMenu();
}

TMDIChild *TMainForm::OpenDroppedUrls(const QList<QUrl> &urls)
{
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return nullptr;
    const QString fileName = urls.first().toLocalFile();
    if (!IsOpenableDroppedFile(fileName))
        return nullptr;
    return OpenChild(fileName);
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    const QList<QUrl> urls = event->mimeData()->urls();
    // Opening may ask a question: not inside the drop.
    QMetaObject::invokeMethod(
        this, [this, urls] { OpenDroppedUrls(urls); }, Qt::QueuedConnection);
}

void TMainForm::OpenHandedOverFile(const QString &path)
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    // Where the window system does not let a program take the focus (Wayland), it is
    // at least marked as asking for attention.
    QApplication::alert(this);
    if (!path.isEmpty())
        OpenChild(path);
}

bool TMainForm::CloseAllDocuments()
{
    for (TMDIChild *child : Children())
        if (!child->close())
            return false;
    return true;
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // The assign-weaves window may hold a weave drawn in its design window: asked first.
    if (auto *assign = findChild<TFrmTechTileWeave *>(); assign && !assign->close()) {
        event->ignore();
        return;
    }
    if (!CloseAllDocuments()) {
        event->ignore();
        return;
    }
    saveLayout();
    // Only what this program put on the clipboard is taken off it.
    QClipboard *clipboard = QApplication::clipboard();
    if (clipboard->ownsClipboard())
        clipboard->clear();
    QMainWindow::closeEvent(event);
}

void TMainForm::UpdateRecentFileMenu()
{
    for (QAction *a : std::as_const(m_recentItems))
        delete a;
    m_recentItems.clear();
    const QStringList files = ReadRecentFileList();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        auto *item = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(RecentDisplayPath(path, 35)), this);
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { OpenChild(path); });
        m_fileMenu->insertAction(m_recentAnchor, item);
        m_recentItems.append(item);
    }
    if (!files.isEmpty())
        m_recentItems.append(m_fileMenu->insertSeparator(m_recentAnchor));
}
