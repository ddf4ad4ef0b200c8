#include "core/base/help.h"

#include "core/base/error.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <QDesktopServices>
#include <QFileInfo>

QUrl HelpUrl(THelpContext context)
{
    QUrl url = QUrl::fromLocalFile(Folders().HelpFile);
    if (context != THelpContext::Start)
        url.setFragment(QString::number(int(context)));
    return url;
}

bool ShowHelp(THelpContext context, QString *error)
{
    const QString &file = Folders().HelpFile;
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return Fail(error, GetUiMessage(UiKey::String::HelpNotFound).arg(file));
    if (!QDesktopServices::openUrl(HelpUrl(context)))
        return Fail(error, GetUiMessage(UiKey::String::HelpNotFound).arg(file));
    return true;
}
