// The main window's status bar, the shared progress gauge and the notifications that
// drive them.
#include "shell/ui/mainwindow.h"

#include "core/base/progress.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindownavigator.h"
#include "shell/ui/mainwindowpalette.h"
#include "shell/ui/mainwindowtools.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QProgressBar>
#include <QStatusBar>

void TMainForm::setupStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("SbrDispInfo"));
    static constexpr int kWidths[TMainStatusModel::PanelCount] = { 0, 70, 70, 90, 120, 170, 170 };
    for (int i = 0; i < TMainStatusModel::PanelCount; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setMinimumWidth(kWidths[i]);
        if (i == 0)
            bar->addWidget(panel, 1);
        else
            bar->addPermanentWidget(panel);
        m_panels[i] = panel;
    }
    m_gauge = new QProgressBar(bar);
    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setRange(0, 100);
    m_gauge->hide();
    // The gauge follows the last panel when the status bar lays its panels out again.
    m_panels.back()->installEventFilter(this);

    Hooks().ProgressGaugeShow = [this] { showGauge(); };
    Hooks().ProgressEvent = [this](std::uint8_t percent) { setProgress(percent); };
}

void TMainForm::placeGauge()
{
    QLabel *last = m_panels.back();
    m_gauge->setGeometry(QRect(last->mapTo(statusBar(), QPoint(0, 0)), last->size()));
}

void TMainForm::showGauge()
{
    placeGauge();
    m_gauge->setValue(0);
    m_gauge->show();
    m_gauge->raise();
}

void TMainForm::setProgress(std::uint8_t percent)
{
    m_gauge->setValue(percent);
    if (percent >= 100)
        m_gauge->hide();
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panels.back() && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeGauge();
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::event(QEvent *event)
{
    if (TMessageEvent::IsNotification(event->type())) {
        handleNotification(*static_cast<TMessageEvent *>(event));
        return true;
    }
    return QMainWindow::event(event);
}

namespace {
void check(const TMainForm &form, const char *name, bool checked)
{
    if (QAction *action = form.Action(name)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}
} // namespace

void TMainForm::handleNotification(const TMessageEvent &message)
{
    if (message.Message() == WM_COLORPICKED) {
        colorPicked(message);
        return;
    }
    // The tool bars and pen-width edits follow first; the status model still sees the
    // message, for the palette bar and the browsers.
    m_tools->HandleNotification(message);
    if (message.Message() == WM_WEAVEFILESAVED) {
        if (const QString *fileName = message.FileName())
            Q_EMIT WeaveFileSaved(*fileName);
        return;
    }
    if (message.Message() == WM_EDITGROSSPOS) {
        Q_EMIT GrossPosClicked(int(message.WParam), int(message.LParam));
        return;
    }
    TMainStatusModel::TContext context;
    context.DocumentCount = int(Children().size());
    context.HasDocument = context.DocumentCount > 0;
    context.ToolId = int(RunState().CurrentToolId);
    context.NavigatorShown = m_navigator->Shown();
    if (TMDIChild *child = ActiveChild()) {
        const TPatternGrid &grid = child->PatternGrid();
        context.CellWidth = grid.DefaultColWidth();
        context.CellHeight = grid.DefaultRowHeight();
        context.ScaleX = grid.ScaleX();
        context.ScaleY = grid.ScaleY();
    }
    const bool hasDocument = context.HasDocument;
    if (!m_status.Handle(message, context))
        return;
    for (int i = 0; i < TMainStatusModel::PanelCount; ++i)
        m_panels[i]->setText(m_status.Panels[i]);
    // Only the states the message is about change.
    switch (message.Message()) {
    case WM_UNDOSTATE:
        if (hasDocument) {
            setActionAllowed("ActUndo", m_status.UndoEnabled);
            setActionAllowed("ActRedo", m_status.RedoEnabled);
        }
        break;
    case WM_EDITSTATE:
        setActionAllowed("ActCopy", m_status.CopyEnabled);
        setActionAllowed("ActCopyWithColor", m_status.CopyEnabled);
        setActionAllowed("ActPaste", m_status.PasteEnabled);
        setActionAllowed("ActPasteTo", m_status.PasteEnabled);
        setActionAllowed("ActMouseSelect", m_status.PasteEnabled);
        setActionAllowed("ActCut", m_status.CutEnabled);
        break;
    case WM_ZOOMSTATE:
        setActionAllowed("ActZoomIn", m_status.ZoomInEnabled);
        setActionAllowed("ActZoomOut", m_status.ZoomOutEnabled);
        setActionAllowed("ActOrgSize", m_status.ZoomOutEnabled);
        break;
    case WM_REPEATSTATE:
    case WM_REPEATRESET:
        setActionAllowed("ActRepeatDispPic", m_status.RepeatEnabled);
        setActionAllowed("ActDispOneRepeatBorder", m_status.RepeatBorderEnabled);
        check(*this, "ActRepeatDispPic", m_status.RepeatChecked);
        check(*this, "ActDispOneRepeatBorder", m_status.RepeatBorderChecked);
        break;
    case WM_ENABLEMAINFORM:
        setEnabled(m_status.MainFormEnabled);
        break;
    case WM_PATTERNMERGESTATE:
        setActionAllowed("ActPatternMerge", m_status.PatternMergeEnabled);
        break;
    case WM_SYNCACTIVECHILD:
        // The closing document is still counted: the last one takes the commands with it.
        m_documentOpen = m_status.DocumentActionsEnabled;
        UpdateActionStates();
        break;
    case WM_PENWIDTH:
        Q_EMIT PenWidthChanged(m_status.PenHorzWidth, m_status.PenVertWidth);
        break;
    case WM_TOOLCHANGED:
        Q_EMIT ToolChanged(m_status.PressedToolTag, m_status.KeepBrowserSelection);
        break;
    default:
        break;
    }
    followUp(m_status.FollowUp);
}

void TMainForm::followUp(TMainStatusModel::TFollowUp followUp)
{
    TMDIChild *child = ActiveChild();
    switch (followUp) {
    case TMainStatusModel::TFollowUp::LastDocumentClosing:
        Q_EMIT LastDocumentClosing();
        UpdateRecentFileMenu();
        break;
    case TMainStatusModel::TFollowUp::MoveNavigatorFrame:
    case TMainStatusModel::TFollowUp::ReloadNavigator:
        Q_EMIT ViewChanged(followUp == TMainStatusModel::TFollowUp::ReloadNavigator);
        break;
    case TMainStatusModel::TFollowUp::PaletteToDocument:
    case TMainStatusModel::TFollowUp::PaletteFromDocument:
        if (child) {
            m_palette->Synced(*child, followUp == TMainStatusModel::TFollowUp::PaletteToDocument);
            Q_EMIT PaletteSynced(*child, followUp == TMainStatusModel::TFollowUp::PaletteToDocument);
        }
        break;
    default:
        break;
    }
}

void TMainForm::colorPicked(const TMessageEvent &message)
{
    const TColorPickInfo *info = message.ColorPickInfo();
    TMDIChild *child = ActiveChild();
    if (!info) {
        if (child)
            child->PatternGrid().ColorChosen(TColor(message.WParam));
        m_palette->UpdateProtectState();
        Q_EMIT ColorPicked(-1, 0);
        return;
    }
    const TMainStatusModel::TColorPickEffect effect = m_status.ColorPicked(info->Kind);
    if (effect.ToBackColor) {
        if (child)
            child->PatternGrid().SetBackColorIndex(info->Index);
    } else if (child && (info->Kind == 1 || effect.SetPaletteCurrent)) {
        // The text colour index sets the foreground colour with it.
        child->PatternGrid().SetTextColorIndex(info->Index);
    }
    if (child)
        child->PatternGrid().ColorChosen(TColor(message.WParam));
    m_palette->FollowPick(effect, info->Index);
    Q_EMIT ColorPicked(info->Index, info->Kind);
}
