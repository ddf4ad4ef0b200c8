// Dorwen CAD: start-up.
#include "core/settings/sharedstate.h"
#include "core/ui/undosizewarning.h"
#include "shell/pictureformats.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/patternwindow.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorwen CAD"));
    QApplication::setOrganizationName(QStringLiteral("dorwen-cad"));

    QString error;
    if (!InitSharedState(QString(), &error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Dorwen CAD"), error);
        return 1;
    }
    RegisterPictureFormats();
    InstallUndoSizeWarningBox();

    TMainForm mainForm;
    mainForm.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !ShowPatternFile(mainForm, args.at(1), &error))
        QMessageBox::warning(&mainForm, QStringLiteral("Dorwen CAD"), error);
    const int result = app.exec();
    UnregisterPictureFormats();
    return result;
}
