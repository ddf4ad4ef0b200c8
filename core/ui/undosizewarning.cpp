#include "core/ui/undosizewarning.h"

#include "core/settings/sharedstate.h"
#include "core/undo/undo.h"

#include <QMessageBox>
#include <QWidget>

void InstallUndoSizeWarningBox()
{
    Hooks().UndoSizeWarning = [](const QString &text, const QString &caption) {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
            qobject_cast<QWidget *>(Hooks().MainFormHandle));
        box.exec();
    };
}
