#include "shell/ui/mainwindowpalette.h"

#include "core/base/messages.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/palettebarpanel.h"

#include <QAction>
#include <QTimer>
#include <QToolButton>

TMainWindowPalette::TMainWindowPalette(TMainForm &form)
    : m_form(form)
{
    m_flashTimer = new QTimer(this);
    connect(m_flashTimer, &QTimer::timeout, this, [this] { flashTick(); });
    form.SetDocumentActionHandler("ActFlash", [this](TMDIChild &child) { startFlash(child); });
}

void TMainWindowPalette::SetupBar()
{
    if (m_bar)
        return;
    m_bar = new TFramPalette(&m_form);
    m_form.addDockWidget(Qt::BottomDockWidgetArea, m_bar);
    TFramPalette *bar = m_bar;

    QAction *display = m_form.Action("ActDisplayPalette");
    display->setCheckable(true);
    display->setChecked(true);
    m_form.SetActionHandler("ActDisplayPalette", [bar, display] { bar->setVisible(display->isChecked()); });

    QAction *protect = m_form.Action("ActProtectColor");
    protect->setCheckable(true);
    m_form.SetActionHandler("ActProtectColor", [this, bar] {
        TPaletteBarModel &model = bar->Model();
        if (!model.ToggleCurrentProtected())
            return;
        if (TMDIChild *child = m_form.ActiveChild()) {
            TPatternGrid &grid = child->PatternGrid();
            if (model.Protected(model.CurrentIndex()))
                grid.IncludeColorIndex(model.CurrentIndex());
            else
                grid.ExcludeColorIndex(model.CurrentIndex());
        }
        UpdateProtectState();
    });
    connect(bar->LockButton(), &QToolButton::clicked, this, [protect] { protect->trigger(); });

    connect(bar, &TFramPalette::ColorPicked, this,
        [](const TColorPickInfo &info) { SendColorPicked(info.Value, info); });
    connect(bar, &TFramPalette::PointerOver, this, [](int index) { SendColorIndex(index); });
    connect(bar, &TFramPalette::TargetChosen, this,
        [this](bool back) { m_form.m_status.BackColorLocked = back; });
    connect(bar, &TFramPalette::Exchanged, this, [this, bar] {
        if (TMDIChild *child = m_form.ActiveChild()) {
            child->PatternGrid().SetTextColorIndex(bar->Model().CurrentIndex());
            child->PatternGrid().SetBackColorIndex(bar->Model().BackIndex());
        }
        UpdateProtectState();
    });
    connect(bar, &TFramPalette::ColorEdited, this, [bar](int index) {
        // The edited palette goes into the document; a new current colour is picked again.
        SendPaletteToChild();
        if (index == bar->Model().CurrentIndex()) {
            const TColorPickInfo info { PlainColor(bar->Model().Palette()[index]), index, 1 };
            SendColorPicked(info.Value, info);
        }
    });
    connect(&m_form, &TMainForm::ToolChanged, bar, [bar] { bar->SetTool(int(RunState().CurrentToolId)); });
}

void TMainWindowPalette::ShowSwatches()
{
    if (!m_bar)
        return;
    m_bar->Model().SetCurrentIndex(255);
    m_bar->Model().SetBackIndex(0);
    m_bar->Refresh();
    UpdateProtectState();
}

void TMainWindowPalette::Synced(TMDIChild &child, bool toDocument)
{
    if (!m_bar)
        return;
    TPatternGrid &grid = child.PatternGrid();
    TPaletteBarModel &model = m_bar->Model();
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
            m_form.showCommandWarning(error);
        return;
    }
    // The document's colours come to the bar; the bar's choice of colours goes to the
    // document, so that the colours chosen stay chosen from one document to the next.
    model.SetPalette(grid.Palette());
    grid.SetTextColorIndex(model.CurrentIndex());
    grid.SetBackColorIndex(model.BackIndex());
    model.SetMarkedColors(grid.ColorSet(), grid.TransColorSet());
    m_bar->Refresh();
    UpdateProtectState();
}

void TMainWindowPalette::FollowPick(const TMainStatusModel::TColorPickEffect &effect, int index)
{
    if (!m_bar)
        return;
    if (effect.ToBackColor)
        m_bar->Model().SetBackIndex(index);
    else if (effect.SetPaletteCurrent)
        m_bar->Model().SetCurrentIndex(index);
    m_bar->Refresh();
    UpdateProtectState();
}

void TMainWindowPalette::UpdateProtectState()
{
    if (!m_bar)
        return;
    const TPaletteBarModel &model = m_bar->Model();
    const bool on = model.Protected(model.CurrentIndex());
    m_form.Action("ActProtectColor")->setChecked(on);
    m_bar->LockButton()->setChecked(on);
}

void TMainWindowPalette::startFlash(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    if (grid.Flashing() || m_flashTimer->isActive())
        return;
    m_flashChild = &child;
    grid.StartFlash(0);
    m_flashTimer->start(StartSettings().FlashFrequence);
}

void TMainWindowPalette::flashTick()
{
    if (!m_flashChild) {
        // The document went during the flash: nothing blinks any more, and the window
        // must not stay disabled.
        m_flashTimer->stop();
        m_form.setEnabled(true);
        return;
    }
    if (m_flashChild->PatternGrid().FlashTick()) {
        m_flashTimer->stop();
        m_flashChild = nullptr;
    }
}
