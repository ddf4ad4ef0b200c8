#include "shell/ui/mainwindowedit.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/selectedcolorwindow.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include <QAction>

TMainWindowEdit::TMainWindowEdit(TMainForm &form)
    : QObject(&form)
    , m_form(form)
    , m_paletteQuestion(&form)
{
    setObjectName(QStringLiteral("MainWindowEdit"));
    m_form.SetDocumentActionHandler("ActCopy", [this](TMDIChild &child) { openSelectedColor(child, 0); });
    m_form.SetDocumentActionHandler("ActCut", [this](TMDIChild &child) { openSelectedColor(child, 1); });
    m_form.SetDocumentActionHandler("ActPaste", [this](TMDIChild &child) { paste(child); });
    m_form.SetDocumentActionHandler(
        "ActSelectAll", [](TMDIChild &child) { child.PatternGrid().SelectAll(); });
    m_form.SetDocumentActionHandler(
        "ActCancelSelected", [](TMDIChild &child) { child.PatternGrid().ClearRegion(); });
    m_form.SetDocumentActionHandler("ActFilledRGN", [](TMDIChild &child) {
        TPatternGrid &grid = child.PatternGrid();
        grid.FillRegion(std::uint8_t(grid.ForeIndex()));
    });
    m_form.SetDocumentActionHandler(
        "ActPaintBorder", [](TMDIChild &child) { child.PatternGrid().PaintRegionBorder(); });
    m_form.SetDocumentActionHandler("ActMoveWarp", [this](TMDIChild &child) { toggleMoveWarp(child); });
    if (QAction *moveWarp = m_form.Action("ActMoveWarp"))
        moveWarp->setCheckable(true);
    connect(&m_form, &TMainForm::ColorPicked, this, [this](int index, int) {
        if (TFrmSelectedColor *window = SelectedColorWindow())
            window->Pick(index);
    });
    connect(&m_form, &TMainForm::ActiveChildChanged, this, [this](TMDIChild *child) { follow(child); });
    connect(&m_form, &TMainForm::PaletteSynced, this, [this](TMDIChild &child, bool) {
        if (TFrmSelectedColor *window = SelectedColorWindow();
            window && window->Grid() == &child.PatternGrid())
            window->RefreshColors();
    });
    connect(&m_form, &TMainForm::LastDocumentClosing, this, [this] { follow(nullptr); });
}

TFrmSelectedColor *TMainWindowEdit::SelectedColorWindow() const
{
    return m_selectedColor && m_selectedColor->isVisible() ? m_selectedColor.data() : nullptr;
}

void TMainWindowEdit::openSelectedColor(TMDIChild &child, int mode)
{
    // One window at a time, for one grid and one mode: another command makes it anew.
    if (m_selectedColor)
        m_selectedColor->close();
    TFrmSelectedColor *window = TFrmSelectedColor::CreateWithGrid(&child.PatternGrid(),
        mode == 1 ? TFrmSelectedColor::TMode::Cut : TFrmSelectedColor::TMode::Copy, &m_form);
    m_selectedColor = window;
    connect(window, &TFrmSelectedColor::applied, &child, [&child] {
        child.GridView()->LayoutChanged();
        child.GridView()->viewport()->update();
    });
    window->show();
}

void TMainWindowEdit::paste(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    grid.SetPaletteChoiceAsker(&m_paletteQuestion);
    QString error;
    if (!grid.PasteFromClipboard(grid.PastePos(), false, &error) && !error.isEmpty())
        m_form.Questions().ShowMessage(
            error, GetUiMessage(UiKey::String::HintMSG), TMessageKind::Information);
    child.GridView()->LayoutChanged();
}

void TMainWindowEdit::toggleMoveWarp(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    grid.SetMoveWarp(!grid.MoveWarp());
    if (QAction *moveWarp = m_form.Action("ActMoveWarp"))
        moveWarp->setChecked(grid.MoveWarp());
}

// The needle move's check mark is the document's; the selected-colours window works on one
// document and closes when another comes to the front.
void TMainWindowEdit::follow(TMDIChild *child)
{
    if (QAction *moveWarp = m_form.Action("ActMoveWarp"))
        moveWarp->setChecked(child && child->PatternGrid().MoveWarp());
    if (child)
        child->PatternGrid().SetPaletteChoiceAsker(&m_paletteQuestion);
    if (m_selectedColor && (!child || m_selectedColor->Grid() != &child->PatternGrid()))
        m_selectedColor->close();
}
