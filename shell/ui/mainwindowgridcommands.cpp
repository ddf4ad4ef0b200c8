// The main window's commands that work straight on the active document's grid: undo and
// redo, the zoom steps, the grid lines, the whole-picture commands and the repeat view, and
// the state the main menu refreshes when it opens.
#include "shell/ui/mainwindow.h"

#include "core/picture/clipboardpicture.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/patterngridview.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindownavigator.h"
#include "shell/wholepicturecommands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace {
// The window follows a grid whose size or cells may have changed.
void refreshChild(TMDIChild &child)
{
    child.GridView()->LayoutChanged();
    child.UpdateRulers();
}

// After a command that may have changed the pattern's height: the row tables keep the
// rows that remain (from firstOldRow on) and the status bar says when entered rows went.
void followPatternHeight(TMDIChild &child, int oldHeight, int firstOldRow, QStatusBar *bar)
{
    const int height = child.PatternGrid().RowCount();
    if (height == oldHeight)
        return;
    if (const int dropped = child.Document().FollowPatternHeight(firstOldRow); dropped > 0)
        bar->showMessage(
            GetUiMessage(UiKey::String::RowTablesRowsDropped).arg(oldHeight).arg(height).arg(dropped));
}
} // namespace

void TMainForm::showCommandWarning(const QString &text)
{
    m_questions->ShowMessage(text, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
}

void TMainForm::runWholePictureCommand(TMDIChild &child, bool (TPatternGrid::*command)())
{
    TPatternGrid &grid = child.PatternGrid();
    const int oldHeight = grid.RowCount();
    // A crop keeps the rows of the selection, from its top on.
    const int firstOldRow = command == &TPatternGrid::CropToRegion && !grid.SelectionRegion().isEmpty()
        ? grid.SelectionRegion().boundingRect().top()
        : 0;
    (grid.*command)();
    followPatternHeight(child, oldHeight, firstOldRow, statusBar());
    // The picture changed but its undo step could not be written: the person must know
    // that this change cannot be undone.
    if (!grid.LastUndoError().isEmpty())
        showCommandWarning(grid.LastUndoError());
    refreshChild(child);
}

void TMainForm::setupGridActions()
{
    SetDocumentActionHandler("ActUndo", [this](TMDIChild &child) {
        QString error;
        const int oldHeight = child.PatternGrid().RowCount();
        if (!child.PatternGrid().Undo(&error))
            showCommandWarning(error);
        followPatternHeight(child, oldHeight, 0, statusBar());
        refreshChild(child);
    });
    SetDocumentActionHandler("ActRedo", [this](TMDIChild &child) {
        QString error;
        const int oldHeight = child.PatternGrid().RowCount();
        if (!child.PatternGrid().Redo(&error))
            showCommandWarning(error);
        followPatternHeight(child, oldHeight, 0, statusBar());
        refreshChild(child);
    });

    // Zoom: by three levels, back to one pixel per cell, and to the level before.
    SetDocumentActionHandler("ActZoomIn", [](TMDIChild &child) {
        child.PatternGrid().ZoomIn();
        refreshChild(child);
    });
    SetDocumentActionHandler("ActZoomOut", [](TMDIChild &child) {
        child.PatternGrid().ZoomOut();
        refreshChild(child);
    });
    SetDocumentActionHandler("ActOrgSize", [](TMDIChild &child) {
        child.PatternGrid().ZoomTo(TPatternGrid::BaseZoomLevel);
        refreshChild(child);
    });
    SetDocumentActionHandler("ActOldSize", [](TMDIChild &child) {
        TPatternGrid &grid = child.PatternGrid();
        grid.ZoomTo(grid.PrevZoomLevel());
        refreshChild(child);
    });
    SetDocumentActionHandler("ActGridLine", [this](TMDIChild &child) {
        TPatternGrid &grid = child.PatternGrid();
        // Cells of one pixel have no room for lines: the grid ignores the request there.
        child.GridView()->SetGridLineWidth(grid.GridLineWidth() > 0 ? 0 : 1);
        refreshChild(child);
        updateGridLineCaption();
    });

    for (const TWholePictureCommand &entry : kWholePictureCommands) {
        const auto command = entry.Command;
        SetDocumentActionHandler(
            entry.Name, [this, command](TMDIChild &child) { runWholePictureCommand(child, command); });
    }

    // The repeat view and the unit outline follow their check marks, which the choice has
    // already toggled.
    QAction *repeatView = Action("ActRepeatDispPic");
    repeatView->setCheckable(true);
    SetDocumentActionHandler("ActRepeatDispPic", [this, repeatView](TMDIChild &child) {
        TPatternGrid &grid = child.PatternGrid();
        QString error;
        if (!grid.SetRepeatView(repeatView->isChecked(), &error))
            showCommandWarning(error);
        // The check marks show what the grid shows, refused or not.
        grid.NotifyMainWindow();
        refreshChild(child);
    });
    QAction *repeatBorder = Action("ActDispOneRepeatBorder");
    repeatBorder->setCheckable(true);
    SetDocumentActionHandler("ActDispOneRepeatBorder", [repeatBorder](TMDIChild &child) {
        TPatternGrid &grid = child.PatternGrid();
        grid.SetRepeatDisplay(repeatBorder->isChecked());
        grid.NotifyMainWindow();
    });

    m_navigator = std::make_unique<TMainWindowNavigator>(*this);

    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { clipboardChanged(); });

    // Before a menu of the menu bar opens, the grid-dependent states are brought up to date.
    for (QAction *menuAction : menuBar()->actions())
        if (QMenu *menu = menuAction->menu())
            connect(menu, &QMenu::aboutToShow, this, [this] { refreshMenuStates(); });
}

void TMainForm::updateGridLineCaption()
{
    TMDIChild *child = ActiveChild();
    // Without a document the caption stays the one of the interface texts.
    if (!child)
        return;
    const bool linesShown = child->PatternGrid().GridLineWidth() > 0;
    QAction *gridLine = Action("ActGridLine");
    const QString text
        = GetUiMessage(linesShown ? UiKey::String::HideGridLine : UiKey::String::DisplayGridLine);
    gridLine->setText(text);
    gridLine->setToolTip(text);
    gridLine->setStatusTip(text);
}

void TMainForm::refreshMenuStates()
{
    TMDIChild *child = ActiveChild();
    if (!child)
        return;
    TPatternGrid &grid = child->PatternGrid();
    if (grid.ZoomLevel() < TPatternGrid::BaseZoomLevel)
        return;
    const bool hasSelection = !grid.SelectionRegion().isEmpty();
    // The commands on the selection are offered only with one.
    for (const char *name : { "ActReduceArea", "ActFilledRGN", "ActPaintBorder" })
        setActionAllowed(name, hasSelection);
    // Grid lines need cells of more than one pixel.
    setActionAllowed("ActGridLine", grid.ZoomLevel() > TPatternGrid::BaseZoomLevel);
    updateGridLineCaption();
}

void TMainForm::clipboardChanged()
{
    TMDIChild *child = ActiveChild();
    const int zoom = child ? child->PatternGrid().ZoomLevel() : 0;
    setActionAllowed(
        "ActPaste", TMainStatusModel::PasteOffered(child != nullptr, ClipboardHoldsPicture(), zoom));
}
