#include "shell/ui/mainwindownavigator.h"

#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/navigatorpanel.h"

#include <QAction>
#include <QMdiArea>

TMainWindowNavigator::TMainWindowNavigator(TMainForm &form)
    : m_form(form)
{
    m_panel = new TNavigatorPanel(&form);
    form.addDockWidget(Qt::RightDockWidgetArea, m_panel);
    QAction *display = form.Action("ActDisplayInfo");
    display->setCheckable(true);
    display->setChecked(true);
    form.SetActionHandler("ActDisplayInfo", [this, display] {
        const bool shown = display->isChecked();
        m_panel->ShowDocument(shown ? m_form.ActiveChild() : nullptr);
        m_panel->setVisible(shown);
    });
    connect(&form, &TMainForm::ViewChanged, this, [this](bool reload) {
        if (reload)
            m_panel->ShowDocument(m_form.ActiveChild());
        else
            m_panel->View()->FollowView();
    });
    connect(&form, &TMainForm::LastDocumentClosing, this, [this] {
        m_panel->ShowDocument(nullptr);
        m_panel->hide();
    });
    connect(form.mdiArea(), &QMdiArea::subWindowActivated, this, [this, display](QMdiSubWindow *window) {
        auto *child = qobject_cast<TMDIChild *>(window);
        if (!child || !display->isChecked())
            return;
        m_panel->ShowDocument(child);
        m_panel->show();
    });
}

bool TMainWindowNavigator::Shown() const
{
    const QAction *display = m_form.Action("ActDisplayInfo");
    return display && display->isChecked();
}
