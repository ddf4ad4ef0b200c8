#include "card/ui/cardbuildpanel.h"
#include "core/settings/uitexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

TCardBuildPanel::TCardBuildPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setMinimum(1);
    Gauge1->setMaximum(1);
    Gauge1->setValue(1);
    layout->addWidget(Label4);
    layout->addWidget(Gauge1, 1);
    layout->addWidget(Label5);
}

bool TCardBuildPanel::Run(const TCardBuildFunction &build, TMultiByteArray &card, TCardBuildResult &result)
{
    if (m_running || !build)
        return false;
    m_running = true;
    m_cancel = false;
    TCardProgress progress;
    progress.Target = this;
    progress.Cancelled = [this] { return m_cancel; };
    // The card goes to the caller only when the whole build succeeded.
    TMultiByteArray built;
    result = TCardBuildResult();
    const bool ok = build(built, result, progress) && !m_cancel;
    if (m_cancel)
        result.Cancelled = true;
    m_running = false;
    if (ok)
        card = built;
    return ok;
}

bool TCardBuildPanel::CancelIfRunning()
{
    if (!m_running)
        return false;
    RequestCancel();
    return true;
}

void TCardBuildPanel::Report(
    const TCardBuildResult &result, bool built, const TCardMessageFunction &showMessage)
{
    if (!showMessage)
        return;
    if (!result.Error.isEmpty())
        showMessage(result.Error, result.Caption, result.Information);
    if (built)
        for (const QString &warning : result.Warnings)
            showMessage(warning, GetUiMessage(CardBuildMsg::OutputCaption), true);
}

bool TCardBuildPanel::event(QEvent *event)
{
    const int type = int(event->type());
    if (type == WM_CARDCOUNT || type == WM_CARDPROGRESS) {
        const auto *e = static_cast<TCardProgressEvent *>(event);
        if (type == WM_CARDCOUNT) {
            Label4->setText(QString::number(e->Count));
            Gauge1->setMaximum(std::max(1, e->Count));
        } else {
            Label5->setText(GetUiString(UiKey::CardGenerate::Cards_Done).arg(e->Current));
            Gauge1->setValue(std::clamp(e->Current, Gauge1->minimum(), Gauge1->maximum()));
        }
        return true;
    }
    return QWidget::event(event);
}
