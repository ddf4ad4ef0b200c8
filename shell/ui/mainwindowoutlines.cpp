#include "shell/ui/mainwindowoutlines.h"

#include "editor/patterngrid.h"
#include "editor/ui/autobindingdialog.h"
#include "editor/ui/manualbindingdialog.h"
#include "editor/ui/shadowwindow.h"
#include "editor/ui/sketchwindows.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

TMainWindowOutlines::TMainWindowOutlines(TMainForm &form)
    : m_form(form)
{
    m_form.SetDocumentActionHandler(
        "ActTabbySketch", [this](TMDIChild &child) { showWindow(m_tabby, child); });
    m_form.SetDocumentActionHandler(
        "ActMultiSketch", [this](TMDIChild &child) { showWindow(m_multi, child); });
    m_form.SetDocumentActionHandler("ActShadow", [this](TMDIChild &child) { showWindow(m_shadow, child); });
    m_form.SetDocumentActionHandler("ActManualJianSi", [this](TMDIChild &child) { manualBinding(child); });
    m_form.SetDocumentActionHandler("ActAutoJianSi", [this](TMDIChild &child) { autoBinding(child); });

    // The tool windows work on the document in front, and on none once the last closes.
    connect(&m_form, &TMainForm::ActiveChildChanged, this, &TMainWindowOutlines::follow);
    connect(&m_form, &TMainForm::PaletteSynced, this, [this](TMDIChild &child, bool) { follow(&child); });
    connect(&m_form, &TMainForm::LastDocumentClosing, this, [this] { follow(nullptr); });
}

template <class W> void TMainWindowOutlines::showWindow(QPointer<W> &window, TMDIChild &child)
{
    if (!window)
        window = new W(&m_form);
    window->SetGrid(&child.PatternGrid(), &child);
    window->show();
    window->raise();
}

void TMainWindowOutlines::follow(TMDIChild *child)
{
    for (TGridToolWindow *window : std::initializer_list<TGridToolWindow *> { m_tabby, m_multi, m_shadow })
        if (window)
            window->SetGrid(child ? &child->PatternGrid() : nullptr, child);
}

void TMainWindowOutlines::ApplyTexts()
{
    for (TGridToolWindow *window : std::initializer_list<TGridToolWindow *> { m_tabby, m_multi, m_shadow })
        if (window)
            window->ApplyLanguage();
}

void TMainWindowOutlines::manualBinding(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    TFrmManualJianSi dialog(&m_form);
    dialog.SetValues(grid.JianSiStyle()[0] ? TBindingStyle::Single : TBindingStyle::Double,
        grid.JianSiWay()[0] ? TBindingWay::Weft : TBindingWay::Warp, grid.AutoFillPoint() != 0);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ApplyManualBinding(grid, dialog, [this](int tool) { m_form.ActFreeLineExecute(tool); });
}

void TMainWindowOutlines::autoBinding(TMDIChild &child)
{
    TFrmAutoJianSi dialog(child.PatternGrid(), &m_form);
    dialog.exec();
}
