#include "shell/documentopen.h"

#include "card/projectfile.h"
#include "core/base/messages.h"
#include "editor/patterngridproject.h"
#include "shell/projectcard.h"

#include <QDir>
#include <QFileInfo>

bool IsProjectFileName(const QString &fileName)
{
    return QFileInfo(fileName).suffix().compare(QLatin1String("OVY"), Qt::CaseInsensitive) == 0;
}

bool OpenProjectDocument(const QString &fileName, TDocument &document, QStringList *warnings, QString *error)
{
    // The whole file is read into a plain record first: a damaged project changes nothing.
    TProjectRecord project;
    if (!LoadProjectFile(fileName, project, error))
        return false;
    // A card stored by its bare name lies beside the project, wherever the pair now is.
    project.Mesh.SampleCardFile
        = ResolvedCardName(project.Mesh.SampleCardFile, QFileInfo(fileName).absolutePath());
    ApplyProjectRecord(project, document.Grid(), document.Record());
    SendPaletteFromChild();
    if (warnings && !project.MissingWeaves.isEmpty())
        warnings->append(MissingWeavesMessage(project.MissingWeaves));
    QString cardError;
    if (!document.CreateSampleCard(&cardError) && warnings)
        warnings->append(cardError);
    return true;
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
