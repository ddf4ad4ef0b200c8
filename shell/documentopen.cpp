#include "shell/documentopen.h"

#include "core/base/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool IsProjectFileName(const QString &fileName)
{
    return QFileInfo(fileName).suffix().compare(QLatin1String("OVY"), Qt::CaseInsensitive) == 0;
}

bool OpenProjectDocument(const QString &fileName, TDocument &document, QStringList *warnings, QString *error)
{
    // The project reader is not part of the program yet: refuse rather than show the
    // file's preview picture as if it were the whole project, which a save would then
    // write back without its tables and weaves.
    Q_UNUSED(document);
    Q_UNUSED(warnings);
    return Fail(error,
        QCoreApplication::translate(
            "DocumentOpen", "The project file \"%1\" cannot be opened by this version.")
            .arg(fileName));
}

QString StartupArgumentPath(const QStringList &arguments, const QString &workingDir)
{
    if (arguments.size() < 2)
        return {};
    const QString name = arguments.at(1).trimmed();
    if (name.isEmpty())
        return {};
    return QDir::cleanPath(QDir(workingDir).absoluteFilePath(name));
}

QString StartupDocumentPath(const QString &argumentPath, bool autoOpenRecent, const QString &mostRecent,
    const std::function<bool(const QString &)> &fileExists)
{
    if (!argumentPath.isEmpty())
        return argumentPath;
    if (autoOpenRecent && !mostRecent.isEmpty() && fileExists(mostRecent))
        return mostRecent;
    return {};
}
