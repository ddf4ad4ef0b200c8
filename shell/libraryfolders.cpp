#include "shell/libraryfolders.h"

#include "core/base/error.h"
#include "core/base/localname.h"
#include "core/settings/uitexts.h"
#include "weave/weavefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <vector>

QStringList BrowseMasks(TBrowseMode mode)
{
    switch (mode) {
    case TBrowseMode::Weaves:
        return { QStringLiteral("*.ovw") };
    case TBrowseMode::Bitmaps:
        return { QStringLiteral("*.bmp") };
    case TBrowseMode::Patterns:
        return { QStringLiteral("*.ovy"), QStringLiteral("*.bmp") };
    case TBrowseMode::Explorer:
        // "*.dat" once: listed twice, its files would show twice.
        return { QStringLiteral("*.bmp"), QStringLiteral("*.upt"), QStringLiteral("*.ovy"),
            QStringLiteral("*.jpg"), QStringLiteral("*.png"), QStringLiteral("*.pcx"),
            QStringLiteral("*.dat"), QStringLiteral("*.ep"), QStringLiteral("*.jc5"),
            QStringLiteral("*.p32") };
    }
    return {};
}

QStringList ListLibraryNames(const QString &root)
{
    // By name: the folder order of the file system is arbitrary, and "." and ".." are
    // not always its first two entries. Names that are not UTF-8 (GBK from a Windows
    // share) are listed too.
    return ListFolderEntries(root, true);
}

QStringList ListBrowseFiles(const QString &folder, TBrowseMode mode)
{
    // Every file the folder holds, whatever the bytes of its name.
    const QStringList entries = ListFolderEntries(folder);
    const QDir dir(folder);
    QStringList files;
    QSet<QString> seen;
    for (const QString &mask : BrowseMasks(mode)) {
        for (const QString &name : entries) {
            // Masks ignore letter case.
            const QString path = dir.filePath(name);
            if (QDir::match(mask, name) && !seen.contains(path)) {
                seen.insert(path);
                files.append(path);
            }
        }
    }
    return files;
}

QString DefaultLibraryName(const QStringList &names, TBrowseMode mode)
{
    for (const QString &name : names) {
        if (mode == TBrowseMode::Weaves ? name.compare(QStringLiteral("general"), Qt::CaseInsensitive) == 0
                                        : name == QString::fromUtf8("常用花样"))
            return name;
    }
    return QString();
}

bool CreateLibraryFolder(
    const QString &root, const QString &name, TBrowseMode mode, QString &path, bool *exists, QString *error)
{
    if (exists)
        *exists = false;
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String(".") || trimmed == QLatin1String("..")
        || trimmed.contains(QLatin1Char('/')) || trimmed.contains(QChar(0)))
        return Fail(error, GetUiMessage(UiKey::String::LibraryNameInvalid).arg(name));
    const QString target = QDir(root).filePath(trimmed);
    if (QFileInfo::exists(target)) {
        if (exists)
            *exists = true;
        return Fail(error,
            GetUiMessage(mode == TBrowseMode::Weaves ? UiKey::String::WeaveLibraryExists
                                                     : UiKey::String::PatternLibraryExists));
    }
    if (!QDir().mkpath(target))
        return Fail(error, GetUiMessage(UiKey::String::LibraryCannotCreate).arg(target));
    path = target;
    return true;
}

bool DeleteLibraryFolder(const QString &folder, const QStringList &listedFiles, QString *error)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return Fail(error, GetUiMessage(UiKey::String::LibraryVanished).arg(folder));
    const QString canonical = info.canonicalFilePath();
    for (const QString &file : listedFiles) {
        const QFileInfo f(file);
        // Only a file of this very folder: a stale list never reaches another library.
        if (f.isFile() && QFileInfo(f.absolutePath()).canonicalFilePath() == canonical)
            QFile::remove(file);
    }
    // rmdir removes an empty folder only: a folder still holding other files stays.
    QDir().rmdir(folder);
    return true;
}

bool CopyFileIntoLibrary(const QString &fileName, const QString &folder, QString &copy, QString *error)
{
    if (!QFileInfo(folder).isDir())
        return Fail(error, GetUiMessage(UiKey::String::LibraryVanished).arg(folder));
    const QString target = QDir(folder).filePath(QFileInfo(fileName).fileName());
    if (QFileInfo::exists(target))
        return Fail(error, GetUiMessage(UiKey::String::LibraryFileExists).arg(target));
    if (!QFile::copy(fileName, target))
        return Fail(error, GetUiMessage(UiKey::String::LibraryCannotCopy).arg(fileName, folder));
    copy = target;
    return true;
}

namespace {
struct TStarterWeave {
    const char *Name;
    int Size; // warps and wefts
    // Weft j raises the Raised warps from (j * Step) mod Size on.
    int Step;
    int Raised;
};
// Plain weave; the 2/1 and 3/1 twills (two and three of three and four warps raised, one
// warp further on each weft); the 5- and 8-end satins (one warp raised, a step coprime with
// the size, so that no two points of neighbouring wefts touch).
constexpr TStarterWeave kStarterWeaves[] = {
    { "Plain.ovw", 2, 1, 1 },
    { "Twill 2-1.ovw", 3, 1, 2 },
    { "Twill 3-1.ovw", 4, 1, 3 },
    { "Satin 5.ovw", 5, 2, 1 },
    { "Satin 8.ovw", 8, 3, 1 },
};

TWeaveArray starterCells(const TStarterWeave &w)
{
    TWeaveArray cells = MakeWeaveArray(w.Size, w.Size, 0);
    for (int j = 0; j < w.Size; ++j)
        for (int k = 0; k < w.Raised; ++k)
            cells[(j * w.Step + k) % w.Size][j] = 1;
    return cells;
}
} // namespace

QStringList StarterWeaveNames()
{
    QStringList names;
    for (const TStarterWeave &w : kStarterWeaves)
        names.append(QString::fromLatin1(w.Name));
    return names;
}

bool InstallStarterWeaveLibrary(const QString &weaveDir, QString *error)
{
    const QString folder = QDir(weaveDir).filePath(QStringLiteral("General"));
    if (!QDir().mkpath(folder))
        return Fail(error, GetUiMessage(UiKey::String::LibraryCannotCreate).arg(folder));
    for (const TStarterWeave &w : kStarterWeaves) {
        const QString file = QDir(folder).filePath(QString::fromLatin1(w.Name));
        if (!QFileInfo::exists(file) && !WriteWeaveFile(file, starterCells(w), error))
            return false;
    }
    return true;
}
