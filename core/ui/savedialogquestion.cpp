#include "core/ui/savedialogquestion.h"

#include "core/settings/uitexts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

bool ExecSaveDialog(QFileDialog &dialog, const TSaveFileNamer &namer, QString &fileName)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        const QString target = namer(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter());
        if (target.isEmpty())
            return false;
        const QFileInfo info(target);
        if (!info.exists() && !info.isSymLink()) {
            fileName = target;
            return true;
        }
        if (info.exists() && !info.isFile()) {
            QMessageBox::warning(
                &dialog, dialog.windowTitle(), GetUiMessage(UiKey::String::FileNotReplaceable).arg(target));
        } else if (QMessageBox::question(&dialog, dialog.windowTitle(),
                       GetUiMessage(UiKey::String::SaveReplaceQuestion).arg(target),
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes) {
            fileName = target;
            return true;
        }
        // Back to the dialog, showing the name that was about to be written.
        dialog.selectFile(info.fileName());
    }
}
