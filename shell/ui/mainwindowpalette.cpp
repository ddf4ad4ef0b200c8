// The palette bar of the main window: its picks and edits reach the active document, the
// document's palette and colours come back to it, and the protect command marks colours.
#include "shell/ui/mainwindow.h"

#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/palettebarpanel.h"

#include <QAction>
#include <QToolButton>

void TMainForm::SetupPaletteBar()
{
    if (m_paletteBar)
        return;
    m_paletteBar = new TFramPalette(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_paletteBar);
    TFramPalette *bar = m_paletteBar;

    QAction *display = Action("ActDisplayPalette");
    display->setCheckable(true);
    display->setChecked(true);
    SetActionHandler("ActDisplayPalette", [bar, display] { bar->setVisible(display->isChecked()); });

    QAction *protect = Action("ActProtectColor");
    protect->setCheckable(true);
    SetActionHandler("ActProtectColor", [this, bar] {
        TPaletteBarModel &model = bar->Model();
        if (!model.ToggleCurrentProtected())
            return;
        if (TMDIChild *child = ActiveChild()) {
            TPatternGrid &grid = child->PatternGrid();
            if (model.Protected(model.CurrentIndex()))
                grid.IncludeColorIndex(model.CurrentIndex());
            else
                grid.ExcludeColorIndex(model.CurrentIndex());
        }
        updateProtectState();
    });
    connect(bar->LockButton(), &QToolButton::clicked, this, [protect] { protect->trigger(); });

    connect(bar, &TFramPalette::ColorPicked, this,
        [](const TColorPickInfo &info) { SendColorPicked(info.Value, info); });
    connect(bar, &TFramPalette::PointerOver, this, [](int index) { SendColorIndex(index); });
    connect(bar, &TFramPalette::TargetChosen, this, [this](bool back) { m_status.BackColorLocked = back; });
    connect(bar, &TFramPalette::Exchanged, this, [this, bar] {
        if (TMDIChild *child = ActiveChild()) {
            child->PatternGrid().SetTextColorIndex(bar->Model().CurrentIndex());
            child->PatternGrid().SetBackColorIndex(bar->Model().BackIndex());
        }
        updateProtectState();
    });
    connect(bar, &TFramPalette::ColorEdited, this, [bar](int index) {
        // The edited palette goes into the document; a new current colour is picked again.
        SendPaletteToChild();
        if (index == bar->Model().CurrentIndex()) {
            const TColorPickInfo info { PlainColor(bar->Model().Palette()[index]), index, 1 };
            SendColorPicked(info.Value, info);
        }
    });
    connect(this, &TMainForm::ToolChanged, bar, [bar] { bar->SetTool(int(RunState().CurrentToolId)); });
}

void TMainForm::ShowPaletteSwatches()
{
    if (!m_paletteBar)
        return;
    m_paletteBar->Model().SetCurrentIndex(255);
    m_paletteBar->Model().SetBackIndex(0);
    m_paletteBar->Refresh();
    updateProtectState();
}

void TMainForm::paletteSynced(TMDIChild &child, bool toDocument)
{
    if (!m_paletteBar)
        return;
    TPatternGrid &grid = child.PatternGrid();
    TPaletteBarModel &model = m_paletteBar->Model();
    if (toDocument) {
        if (model.Palette() == grid.Palette())
            return;
        // One undoable palette step: the step keeps the palette after the edit and the
        // display palette, which still holds the one before.
        const TPalette256 before = grid.Palette();
        grid.SetPalette(model.Palette());
        grid.SetDisplayPalette(before);
        QString error;
        const bool recorded = grid.SaveLayerUndoStep(&error);
        grid.SetDisplayPalette(model.Palette());
        grid.ApplyPalette(true);
        grid.SetModified();
        grid.NotifyUndoState();
        if (!recorded)
            showCommandWarning(error);
        return;
    }
    // The document's colours come to the bar; the bar's choice of colours goes to the
    // document, so that the colours chosen stay chosen from one document to the next.
    model.SetPalette(grid.Palette());
    grid.SetTextColorIndex(model.CurrentIndex());
    grid.SetBackColorIndex(model.BackIndex());
    model.SetMarkedColors(grid.ColorSet(), grid.TransColorSet());
    m_paletteBar->Refresh();
    updateProtectState();
}

void TMainForm::paletteBarFollowsPick(const TMainStatusModel::TColorPickEffect &effect, int index)
{
    if (!m_paletteBar)
        return;
    if (effect.ToBackColor)
        m_paletteBar->Model().SetBackIndex(index);
    else if (effect.SetPaletteCurrent)
        m_paletteBar->Model().SetCurrentIndex(index);
    m_paletteBar->Refresh();
    updateProtectState();
}

void TMainForm::updateProtectState()
{
    if (!m_paletteBar)
        return;
    const TPaletteBarModel &model = m_paletteBar->Model();
    const bool on = model.Protected(model.CurrentIndex());
    Action("ActProtectColor")->setChecked(on);
    m_paletteBar->LockButton()->setChecked(on);
}
