#include "shell/ui/mainwindow.h"

#include "core/base/progress.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "shell/ui/mainwindowcard.h"
#include "shell/ui/mainwindowcolors.h"
#include "shell/ui/mainwindowedit.h"
#include "shell/ui/mainwindowjoins.h"
#include "shell/ui/mainwindownavigator.h"
#include "shell/ui/mainwindowoutlines.h"
#include "shell/ui/mainwindowpalette.h"
#include "shell/ui/mainwindowprinting.h"
#include "shell/ui/mainwindowsamplecard.h"
#include "shell/ui/mainwindowselvedges.h"
#include "shell/ui/mainwindowshapes.h"
#include "shell/ui/mainwindowsystem.h"
#include "shell/ui/mainwindowtechnique.h"
#include "shell/ui/mainwindowtiling.h"
#include "shell/ui/mainwindowtools.h"
#include "shell/ui/mainwindowweavedesign.h"
#include "shell/ui/messageboxquestions.h"

#include <QLabel>
#include <QMdiArea>

namespace {
void runStep(const std::function<void(TMainForm &)> &step, TMainForm &form)
{
    if (step)
        step(form);
}
} // namespace

TMainForm::TMainForm(QWidget *parent, const TMainFormStartupSteps &steps)
    : QMainWindow(parent)
{
    // The window's parts.
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(QStringLiteral("Dorwen CAD"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIArea"));
    setCentralWidget(m_mdi);
    resize(1024, 720);
    setupStatusBar();
    m_ownQuestions = std::make_unique<TMessageBoxQuestions>(this);
    m_questions = m_ownQuestions.get();
    setupMenus();
    setupDocumentActions();
    m_sampleCard = std::make_unique<TMainWindowSampleCard>(*this);
    m_tools = std::make_unique<TMainWindowTools>(*this);
    setupBrowseActions();
    setupGridActions();
    m_tiling = std::make_unique<TMainWindowTiling>(*this);
    m_printing = std::make_unique<TMainWindowPrinting>(*this);
    m_outlines = std::make_unique<TMainWindowOutlines>(*this);
    m_selvedges = std::make_unique<TMainWindowSelvedges>(*this);
    m_card = std::make_unique<TMainWindowCard>(*this);
    m_palette = std::make_unique<TMainWindowPalette>(*this);
    // The colour and technique parts live as children of the window.
    new TMainWindowColors(*this);
    new TMainWindowTechnique(*this);
    new TMainWindowShapes(*this);
    new TMainWindowWeaveDesign(*this);
    new TMainWindowEdit(*this);
    new TMainWindowJoins(*this);
    m_system = std::make_unique<TMainWindowSystem>(*this);

    // The creation, in this order: the texts, dropped files, the recent-file items, the
    // settings, the palette bar, the notification target, the library browsers, the
    // swatches.
    ApplyLanguage();
    setAcceptDrops(true);
    UpdateRecentFileMenu();
    ReadMainWindowSettings();
    runStep(steps.SetupPaletteBar, *this);
    Hooks().MainFormHandle = this;
    // The browsers' selections already notify this window.
    runStep(steps.FillWeaveLibrary, *this);
    runStep(steps.FillPatternLibrary, *this);
    runStep(steps.ShowPaletteSwatches, *this);
    // Every bar and panel exists now: the layout the window had when it last closed.
    restoreLayout();
    updateDocumentActions();
}

TNavigatorPanel *TMainForm::Navigator() const
{
    return m_navigator ? m_navigator->Panel() : nullptr;
}

const TMultiByteArray &TMainForm::CardData() const
{
    return m_card->CardData();
}

TFramPalette *TMainForm::PaletteBar() const
{
    return m_palette ? m_palette->Bar() : nullptr;
}

void TMainForm::SetupPaletteBar()
{
    m_palette->SetupBar();
}

void TMainForm::ShowPaletteSwatches()
{
    m_palette->ShowSwatches();
}

void TMainForm::ActFreeLineExecute(int toolId)
{
    m_tools->ActFreeLineExecute(toolId);
}

void TMainForm::SetSprayOptionAsker(std::function<bool(TSprayOption &)> ask)
{
    m_tools->SetSprayOptionAsker(std::move(ask));
}

bool TMainForm::DesignSampleCard(TMDIChild &child, bool showEditor)
{
    return m_sampleCard->DesignSampleCard(child, showEditor);
}

void TMainForm::GiveTileWindowPickedWeave(TMDIChild &child)
{
    m_tiling->GiveTileWindowPickedWeave(child);
}

TMainForm::~TMainForm()
{
    // The document area reports its windows going while the base class tears it down.
    m_mdi->disconnect(this);
    m_panels.back()->removeEventFilter(this);
    if (Hooks().MainFormHandle == this) {
        Hooks().MainFormHandle = nullptr;
        Hooks().ProgressGaugeShow = nullptr;
        Hooks().ProgressEvent = nullptr;
    }
}
