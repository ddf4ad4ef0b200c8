#include "shell/projectcard.h"

#include "core/base/error.h"
#include "core/base/filetext.h"
#include "core/base/filewrite.h"
#include "core/settings/uitexts.h"
#include "editor/patterngridproject.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace {
// True when cardFile is an absolute path to a regular file holding exactly bytes.
bool fileHolds(const QString &cardFile, const QByteArray &bytes)
{
    if (cardFile.isEmpty() || QDir::isRelativePath(cardFile))
        return false;
    QByteArray stored;
    return ReadFileStart(cardFile, bytes.size() + 1, stored) && stored == bytes;
}
} // namespace

QString ProjectCardFileName(const QString &projectFile)
{
    const QFileInfo info(projectFile);
    return QDir(info.absolutePath()).filePath(info.completeBaseName() + QStringLiteral(".OVYK"));
}

QString StoredCardName(const QString &cardFile, const QString &projectFolder)
{
    const QFileInfo info(cardFile);
    if (!cardFile.isEmpty() && QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(projectFolder))
        return info.fileName();
    return cardFile;
}

QString ResolvedCardName(const QString &storedName, const QString &projectFolder)
{
    if (storedName.isEmpty() || !QDir::isRelativePath(storedName))
        return storedName;
    return QDir::cleanPath(QDir(projectFolder).filePath(storedName));
}

bool SaveProjectDocument(TDocument &document, const QString &fileName, QStringList *warnings, QString *error)
{
    QByteArray cardBytes;
    if (!document.SampleCard().SaveToBytes(cardBytes, error))
        return false;
    const QString folder = QFileInfo(fileName).absolutePath();
    std::vector<TFileToSave> files;
    QString cardFile = document.Record().SampleCardFile;
    TMesh mesh = document.Record();
    mesh.SampleCardFile = StoredCardName(cardFile, folder);
    QByteArray encodedName;
    // A card without a file of its own, changed since, or under a name the project cannot
    // store goes beside the project, whose bare name it then is.
    if (!fileHolds(cardFile, cardBytes) || !EncodeFileText(mesh.SampleCardFile, encodedName)) {
        cardFile = ProjectCardFileName(fileName);
        files.push_back({ cardFile, cardBytes });
        mesh.SampleCardFile = StoredCardName(cardFile, folder);
    }
    if (!EncodeFileText(mesh.SampleCardFile, encodedName)) {
        if (warnings)
            warnings->append(GetUiMessage(UiKey::String::ProjectCardNameNotStored).arg(cardFile));
        mesh.SampleCardFile.clear();
    }
    // The project is written straight from the picture's rows: no buffer of the whole file.
    TFileToSave project { fileName, {} };
    project.Content = [&document, &mesh](const TFileSink &sink, QString *why) {
        return WriteGridProject(document.Grid(), mesh, sink, why);
    };
    files.push_back(std::move(project));
    if (!WriteFilesAtomically(files, error))
        return false;

    document.Record().SampleCardFile = cardFile;
    document.SampleCard().CardFileName = cardFile;
    document.Grid().SetMesh(document.Record());
    return true;
}
