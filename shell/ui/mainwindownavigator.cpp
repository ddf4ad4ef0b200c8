// The navigator panel of the main window: shown and hidden from the Window menu, following
// the document in front, its scrolling and its picture.
#include "shell/ui/mainwindow.h"

#include "shell/ui/documentwindow.h"
#include "shell/ui/navigatorpanel.h"

#include <QAction>
#include <QMdiArea>

void TMainForm::setupNavigator()
{
    m_navigator = new TNavigatorPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, m_navigator);
    QAction *display = Action("ActDisplayInfo");
    display->setCheckable(true);
    display->setChecked(true);
    SetActionHandler("ActDisplayInfo", [this, display] {
        const bool shown = display->isChecked();
        m_navigator->ShowDocument(shown ? ActiveChild() : nullptr);
        m_navigator->setVisible(shown);
    });
    connect(this, &TMainForm::ViewChanged, this, [this](bool reload) {
        if (reload)
            m_navigator->ShowDocument(ActiveChild());
        else
            m_navigator->View()->FollowView();
    });
    connect(this, &TMainForm::LastDocumentClosing, this, [this] {
        m_navigator->ShowDocument(nullptr);
        m_navigator->hide();
    });
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this, display](QMdiSubWindow *window) {
        auto *child = qobject_cast<TMDIChild *>(window);
        if (!child || !display->isChecked())
            return;
        m_navigator->ShowDocument(child);
        m_navigator->show();
    });
}

bool TMainForm::navigatorShown() const
{
    const QAction *display = Action("ActDisplayInfo");
    return display && display->isChecked();
}
