// Dorwen CAD: start-up.
#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/ui/undosizewarning.h"
#include "shell/documentopen.h"
#include "shell/pictureformats.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/singleinstance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorwen CAD"));
    QApplication::setOrganizationName(QStringLiteral("dorwen-cad"));

    // Made absolute before anything else, so that the running instance (whose working
    // folder may differ) opens the file this start was given.
    const QString argumentPath = StartupArgumentPath(QApplication::arguments(), QDir::currentPath());

    TSingleInstance instance;
    // Another instance runs: it shows itself and opens the file, and this one ends. When
    // the lock is held but nobody answers (a lock file that is not ours), this start runs
    // on alone rather than vanish without a word.
    if (instance.Start() == TSingleInstance::Secondary && instance.SendToRunning(argumentPath))
        return 0;

    QString error;
    if (!InitSharedState(QString(), &error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Dorwen CAD"), error);
        return 1;
    }
    RegisterPictureFormats();
    InstallUndoSizeWarningBox();

    int result = 0;
    {
        TMainForm mainForm;
        QObject::connect(
            &instance, &TSingleInstance::FileHandedOver, &mainForm, &TMainForm::OpenHandedOverFile);
        mainForm.show();
        const QString startPath = StartupDocumentPath(argumentPath, ReadAutoOpenRecentFile(),
            ReadMostRecentFile(), [](const QString &name) { return QFileInfo(name).isFile(); });
        if (!startPath.isEmpty())
            mainForm.OpenChild(startPath);
        // The start-up benchmark measures from process start to the window shown.
        if (qEnvironmentVariableIsSet("DORWEN_QUIT_WHEN_SHOWN"))
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        result = app.exec();
    }
    UnregisterPictureFormats();
    return result;
}
