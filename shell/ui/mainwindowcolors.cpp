#include "shell/ui/mainwindowcolors.h"

#include "editor/patterngrid.h"
#include "editor/ui/colorpercentdialog.h"
#include "editor/ui/protecttranscolorwindow.h"
#include "editor/ui/reducecolorwindow.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/mainwindowpalette.h"
#include "shell/ui/palettebarpanel.h"

#include <QAction>

TMainWindowColors::TMainWindowColors(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    setObjectName(QStringLiteral("MainWindowColors"));
    form.SetDocumentActionHandler("ActReduceColor", [this](TMDIChild &child) { showReduceColor(child); });
    form.SetDocumentActionHandler(
        "ActDispProtATransColor", [this](TMDIChild &child) { showProtectTransColor(child); });
    form.SetDocumentActionHandler("ActColorRatio", [this](TMDIChild &child) {
        TFrmShowColorPercent dialog(child.PatternGrid(), &m_form);
        dialog.exec();
    });

    connect(&form, &TMainForm::ColorPicked, this, [this](int index, int) { colorPicked(index); });
    connect(&form, &TMainForm::PaletteSynced, this, &TMainWindowColors::paletteSynced);
    connect(&form, &TMainForm::ActiveChildChanged, this, &TMainWindowColors::activeChildChanged);
    connect(&form, &TMainForm::LastDocumentClosing, this, [this] {
        if (TFrmReduceColor *reduce = reduceWindow())
            reduce->close();
        if (TFrmDispProtATransColor *protect = protectWindow())
            protect->close();
    });
}

TFrmReduceColor *TMainWindowColors::reduceWindow() const
{
    return m_form.findChild<TFrmReduceColor *>(QString(), Qt::FindDirectChildrenOnly);
}

TFrmDispProtATransColor *TMainWindowColors::protectWindow() const
{
    return m_form.findChild<TFrmDispProtATransColor *>(QString(), Qt::FindDirectChildrenOnly);
}

void TMainWindowColors::showReduceColor(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    grid.DropFloatingObjects();
    TFrmReduceColor *window = reduceWindow();
    const bool made = !window;
    if (made) {
        window = TFrmReduceColor::CreateWithGrid(&grid, &child, &m_form);
        connect(window, &TFrmReduceColor::colorPickToolWanted, this, [this] {
            if (QAction *pick = m_form.Action("ActAbsorbColor"); pick && pick->isEnabled())
                pick->trigger();
        });
    } else {
        window->SetGrid(&grid, &child);
    }
    window->show();
    if (made)
        m_form.placeToolWindow(window);
    window->raise();
}

void TMainWindowColors::showProtectTransColor(TMDIChild &child)
{
    TFrmDispProtATransColor *window = protectWindow();
    const bool made = !window;
    if (made) {
        window = TFrmDispProtATransColor::CreateWithGrid(&child.PatternGrid(), &child, &m_form);
        // A clicked colour is the palette bar's current colour too.
        connect(window, &TFrmDispProtATransColor::currentColorChosen, this, [this](int index) {
            TMainStatusModel::TColorPickEffect effect;
            effect.SetPaletteCurrent = true;
            m_form.m_palette->FollowPick(effect, index);
        });
    } else {
        window->SetGrid(&child.PatternGrid(), &child);
    }
    window->show();
    if (made)
        m_form.placeToolWindow(window);
    window->raise();
}

// The reduction window takes the index; the other window the grid's text colour, which the
// pick has just set.
void TMainWindowColors::colorPicked(int index)
{
    if (index < 0)
        return;
    if (TFrmReduceColor *reduce = reduceWindow())
        reduce->ColorPicked(index);
    if (TFrmDispProtATransColor *protect = protectWindow()) {
        protect->ColorPicked();
        if (TFramPalette *bar = m_form.PaletteBar())
            bar->Refresh();
    }
}

void TMainWindowColors::paletteSynced(TMDIChild &child, bool toDocument)
{
    TFrmReduceColor *reduce = reduceWindow();
    if (reduce && reduce->Grid() == &child.PatternGrid())
        reduce->SyncPalette();
    TFrmDispProtATransColor *protect = protectWindow();
    if (!toDocument && protect && protect->Grid() == &child.PatternGrid())
        protect->SyncPalette();
}

void TMainWindowColors::activeChildChanged(TMDIChild *child)
{
    if (!child)
        return;
    if (TFrmReduceColor *reduce = reduceWindow())
        reduce->SetGrid(&child->PatternGrid(), child);
    if (TFrmDispProtATransColor *protect = protectWindow())
        protect->SetGrid(&child->PatternGrid(), child);
}

void TMainWindowColors::ApplyTexts()
{
    if (TFrmReduceColor *reduce = reduceWindow())
        reduce->ApplyLanguage();
    if (TFrmDispProtATransColor *protect = protectWindow())
        protect->ApplyLanguage();
}
