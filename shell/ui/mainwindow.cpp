#include "shell/ui/mainwindow.h"

#include "core/base/progress.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "shell/ui/messageboxquestions.h"

#include <QLabel>
#include <QMdiArea>

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
{
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
    setAcceptDrops(true);
    Hooks().MainFormHandle = this;
    ReadMainWindowSettings();
    ApplyLanguage();
    UpdateRecentFileMenu();
    updateDocumentActions();
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
