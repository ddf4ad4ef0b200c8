#include "shell/ui/mainwindowselvedges.h"

#include "core/base/toolid.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/bordurewindow.h"
#include "editor/ui/clothsidewindow.h"
#include "editor/ui/crepeweavedialog.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/removewarpwindow.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/libraryframe.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/openwindow.h"

#include <QAction>

namespace {
// The document window follows a grid whose size or cells changed; a change that could
// not be recorded is said, since it cannot be undone.
void refreshChild(TMainForm &form, TMDIChild &child)
{
    child.GridView()->LayoutChanged();
    child.UpdateRulers();
    form.ReportUndoError(child.PatternGrid());
}
} // namespace

TMainWindowSelvedges::TMainWindowSelvedges(TMainForm &form)
    : m_form(form)
{
    m_form.SetDocumentActionHandler("ActAddClothSide", [this](TMDIChild &child) { addClothSide(child); });
    m_form.SetDocumentActionHandler("ActRemoveWarp", [this](TMDIChild &child) { removeWarp(child); });
    m_form.SetDocumentActionHandler("ActCrepeWeave", [this](TMDIChild &child) { crepeWeave(child); });
    m_form.SetDocumentActionHandler("ActBaoBian", [this](TMDIChild &child) { bordure(child); });
    connect(&m_form, &TMainForm::ColorPicked, this, [this](int index, int) { colorPicked(index); });
    connect(&m_form, &TMainForm::ActiveChildChanged, this, [this](TMDIChild *child) { follow(child); });
    connect(&m_form, &TMainForm::LastDocumentClosing, this, [this] { follow(nullptr); });
}

void TMainWindowSelvedges::chooseColorPickTool()
{
    if (QAction *pick = m_form.Action("ActAbsorbColor"); pick && pick->isEnabled())
        pick->trigger();
}

void TMainWindowSelvedges::addClothSide(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    grid.DropFloatingObjects();
    TFrmAddClothSide *window = OpenWindow(m_clothSide);
    // The window is made for one document: another document gets a new one.
    if (window && window->Grid() != &grid) {
        window->close();
        window = nullptr;
    }
    const bool made = !window;
    if (made) {
        window = new TFrmAddClothSide(&grid, &child, &m_form);
        m_clothSide = window;
        connect(window, &TFrmAddClothSide::applied, this, [this, window] {
            if (TMDIChild *owner = m_form.ChildOfGrid(window->Grid()))
                refreshChild(m_form, *owner);
        });
    }
    // The library browser exists once the window's creation has filled it.
    if (!m_browserConnected)
        if (TFrameBrowse *browser = m_form.LibraryBrowser()) {
            connect(browser, &TFrameBrowse::WeavePicked, this, &TMainWindowSelvedges::weavePicked);
            m_browserConnected = true;
        }
    window->show();
    if (made)
        m_form.placeToolWindow(window);
    window->raise();
    chooseColorPickTool();
}

// The one window of its kind, made on first use beside the document and then shown again,
// set to the document in front; its OK refreshes the document it worked on.
template <class T> void TMainWindowSelvedges::showGridWindow(QPointer<T> &slot, TMDIChild &child)
{
    T *window = OpenWindow(slot);
    const bool made = !window;
    if (made) {
        window = new T(&m_form);
        slot = window;
        connect(window, &T::applied, this, [this, window] {
            if (TMDIChild *owner = m_form.ChildOfGrid(window->Grid()))
                refreshChild(m_form, *owner);
        });
    }
    window->SetGrid(&child.PatternGrid(), &child);
    window->show();
    if (made)
        m_form.placeToolWindow(window);
    window->raise();
    // In front, so that Enter and Escape reach it without a click on it first.
    window->activateWindow();
}

void TMainWindowSelvedges::removeWarp(TMDIChild &child)
{
    showGridWindow(m_removeWarp, child);
}

// The dialog is made once per document and kept with it.
void TMainWindowSelvedges::crepeWeave(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    auto *dialog = child.findChild<TFrmCrepeWeave *>();
    if (!dialog)
        dialog = new TFrmCrepeWeave(&child);
    dialog->SetOption(grid.CrepeWeaveOption());
    if (dialog->exec() != QDialog::Accepted)
        return;
    grid.SetCrepeWeaveOption(dialog->Option());
    grid.Repaint();
    m_form.ActFreeLineExecute(int(ToolIdValue(TToolId::CrepeWeave)));
}

void TMainWindowSelvedges::bordure(TMDIChild &child)
{
    child.PatternGrid().DropFloatingObjects();
    showGridWindow(m_bordure, child);
    chooseColorPickTool();
}

void TMainWindowSelvedges::follow(TMDIChild *child)
{
    TPatternGrid *grid = child ? &child->PatternGrid() : nullptr;
    if (TFrmRemovewarp *window = OpenWindow(m_removeWarp))
        window->SetGrid(grid, child);
    if (TFrmBordure *window = OpenWindow(m_bordure))
        window->SetGrid(grid, child);
}

void TMainWindowSelvedges::colorPicked(int index)
{
    if (index < 0)
        return;
    if (TFrmAddClothSide *window = OpenWindow(m_clothSide))
        window->ColorPicked(index);
    if (TFrmBordure *window = OpenWindow(m_bordure))
        window->ColorPicked(index);
}

void TMainWindowSelvedges::weavePicked(const QString &fileName)
{
    if (TFrmAddClothSide *window = OpenWindow(m_clothSide); window && !fileName.isEmpty())
        window->TakeWeaveFile(fileName);
}
