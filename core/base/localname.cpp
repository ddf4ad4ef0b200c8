#include "core/base/localname.h"

#include "core/base/filetext.h"
#include "core/settings/uitexts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>

namespace {

constexpr QChar LostByte(0xFFFD);

bool exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

bool isAscii(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() > 0x7F)
            return false;
    return true;
}

// The one entry of folder that shows as `name`, or empty when there is none or several.
QByteArray findEntry(const QByteArray &folder, const QString &name)
{
    DIR *dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return QByteArray();
    QByteArray found;
    int matches = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray bytes(entry->d_name);
        if (bytes == "." || bytes == "..")
            continue;
        if (QFile::decodeName(bytes) == name || DecodeFileText(bytes) == name) {
            found = bytes;
            ++matches;
        }
    }
    ::closedir(dir);
    return matches == 1 ? found : QByteArray();
}

} // namespace

QByteArray LocalFileName(const QString &fileName)
{
    const QByteArray plain = QFile::encodeName(fileName);
    if (fileName.isEmpty() || isAscii(fileName) || exists(plain))
        return plain;
    const QStringList parts = fileName.split(QLatin1Char('/'));
    QByteArray path = fileName.startsWith(QLatin1Char('/')) ? QByteArray("/") : QByteArray();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        if (part.isEmpty())
            continue;
        const QByteArray asUtf8 = joined(path, QFile::encodeName(part));
        if (isAscii(part) || exists(asUtf8)) {
            path = asUtf8;
            continue;
        }
        const QByteArray entry = findEntry(path, part);
        if (entry.isEmpty()) // not there: the rest stays as it was given
            return joined(path, QFile::encodeName(parts.mid(i).join(QLatin1Char('/'))));
        path = joined(path, entry);
    }
    return path;
}

QString FileNameFromLocal(const QByteArray &bytes)
{
    QStringList parts;
    for (const QByteArray &part : bytes.split('/'))
        parts.append(DecodeFileText(part));
    return parts.join(QLatin1Char('/'));
}

bool IsExistingFile(const QString &fileName)
{
    struct stat st;
    return !fileName.isEmpty() && ::stat(LocalFileName(fileName).constData(), &st) == 0
        && S_ISREG(st.st_mode);
}

QStringList ListFolderEntries(const QString &folder, bool folders)
{
    const QByteArray path = LocalFileName(folder);
    DIR *dir = path.isEmpty() ? nullptr : ::opendir(path.constData());
    if (!dir)
        return {};
    QStringList names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray bytes(entry->d_name);
        struct stat st;
        if (bytes == "." || bytes == ".." || ::stat(joined(path, bytes).constData(), &st) != 0)
            continue;
        if (folders ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode))
            names.append(DecodeFileText(bytes));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(),
        [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseSensitive) < 0; });
    return names;
}

bool HasLostNameBytes(const QString &fileName)
{
    return fileName.contains(LostByte);
}

QString NotUtf8NameMessage(const QString &fileName)
{
    const QFileInfo info(fileName);
    return GetUiMessage(UiKey::String::FileNameNotUtf8).arg(info.fileName(), info.absolutePath());
}
