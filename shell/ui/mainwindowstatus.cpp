// The main window's status bar, the shared progress gauge and the notifications that
// drive them.
#include "shell/ui/mainwindow.h"

#include "core/base/progress.h"
#include "core/settings/sharedstate.h"

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
    if (message.Message() == WM_SYNCACTIVECHILD) {
        // 1: a document opened; 0: one is closing, and with it the last one goes.
        m_documentOpen = message.WParam != 0 || Children().size() >= 2;
        UpdateActionStates();
        return;
    }
    if (handleToolNotification(message))
        return;
    const bool hasDocument = !m_mdi->subWindowList().isEmpty();
    if (!m_status.Handle(message, hasDocument))
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
    default:
        break;
    }
}
