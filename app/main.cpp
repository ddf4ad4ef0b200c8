// Dorwen CAD: start-up.
#include "core/base/filewrite.h"
#include "core/base/localname.h"
#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/ui/undosizewarning.h"
#include "shell/documentopen.h"
#include "shell/handover.h"
#include "shell/pictureformats.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/singleinstance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSet>
#include <QTimer>

#include <climits>
#include <cstdio>

#include <unistd.h>

namespace {

// The arguments Qt left, each as the name of a file on disk: bytes that are not UTF-8 (a
// GBK name) become text that finds those bytes again, which QApplication::arguments()
// loses.
QStringList LocalArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(FileNameFromLocal(QByteArray(argv[i])));
    return arguments;
}

QString WorkingFolder()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? FileNameFromLocal(QByteArray(buffer)) : QDir::currentPath();
}

// A message before the main window exists: on the terminal, and in a box where there is
// a screen to show one on (not on the offscreen platform, where nobody could close it).
void TellAtStart(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QMessageBox::critical(nullptr, GetUiMessage(UiKey::String::ApplicationName), text);
}

// Saves killed mid-way leave a hidden partial file beside their target; those of processes
// that are gone are cleared from the folders the person works in.
void RemoveStaleSavesOfRecentFolders()
{
    QSet<QString> folders;
    for (const QString &file : ReadRecentFileList())
        folders.insert(QFileInfo(file).absolutePath());
    for (const QString &folder : std::as_const(folders))
        RemoveStaleSaveFiles(folder);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorwen CAD"));
    QApplication::setOrganizationName(QStringLiteral("dorwen-cad"));

    // Made absolute before anything else, so that the running instance (whose working
    // folder may differ) opens the file this start was given.
    const QString argumentPath = StartupArgumentPath(LocalArguments(argc, argv), WorkingFolder());

    TSingleInstance instance;
    // Another instance runs: it shows itself and opens the file, and this one ends. When
    // the lock is held but nobody answers (a lock file that is not ours), this start runs
    // on alone rather than vanish without a word.
    if (instance.Start() == TSingleInstance::Secondary) {
        QString tooLong;
        if (!CheckHandOverPath(argumentPath, &tooLong)) {
            TellAtStart(tooLong);
            return 2;
        }
        if (instance.SendToRunning(argumentPath))
            return 0;
    }

    QString error;
    if (!InitSharedState(QString(), &error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Dorwen CAD"), error);
        return 1;
    }
    RegisterPictureFormats();
    InstallUndoSizeWarningBox();
    RemoveStaleSavesOfRecentFolders();

    int result = 0;
    {
        TMainForm mainForm;
        QObject::connect(
            &instance, &TSingleInstance::FileHandedOver, &mainForm, &TMainForm::OpenHandedOverFile);
        mainForm.show();
        const QString startPath = StartupDocumentPath(argumentPath, ReadAutoOpenRecentFile(),
            ReadMostRecentFile(), [](const QString &name) { return IsExistingFile(name); });
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
