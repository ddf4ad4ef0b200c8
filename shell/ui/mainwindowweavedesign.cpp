#include "shell/ui/mainwindowweavedesign.h"

#include "shell/ui/mainwindow.h"
#include "weave/ui/weavedesignwindow.h"

TMainWindowWeaveDesign::TMainWindowWeaveDesign(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    m_form.SetActionHandler("ActDesignWeave", [this] { OpenWeaveDesign(&m_form, QString(), true); });
}

void DesignWeaveLater(TMainForm &form, const QString &fileName)
{
    QMetaObject::invokeMethod(
        &form, [&form, fileName] { OpenWeaveDesign(&form, fileName, true); }, Qt::QueuedConnection);
}
