#include "core/settings/recentfiles.h"

#include "core/settings/inifile.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"

#include <algorithm>

namespace {
const QString kKey = QStringLiteral("RecentFile");

// The values of a section's lines (the text after the first '='), in file order.
QStringList readValues(const TIniFile &ini, const QString &section)
{
    QStringList values = ini.ReadSectionValues(section);
    for (QString &line : values)
        line.remove(0, line.indexOf(QLatin1Char('=')) + 1);
    return values;
}

// One read-modify-write of the file: the caller holds a TIniUpdate on ini.
void addToList(TIniFile &ini, const QString &section, const QString &fileName, int limit)
{
    // A name with a line break cannot be stored as one line.
    if (fileName.contains(QLatin1Char('\n')) || fileName.contains(QLatin1Char('\r')))
        return;
    limit = std::max(limit, 1);
    QStringList values = readValues(ini, section);
    const qsizetype found = values.indexOf(fileName);
    if (found >= 0)
        values.removeAt(found);
    else if (values.size() >= limit)
        values.removeLast();
    values.prepend(fileName);
    // From the last line to the first, so that a new key is appended after the others.
    for (qsizetype i = values.size() - 1; i >= 0; --i)
        ini.WriteString(section, kKey + QString::number(i), values[i]);
}
} // namespace

QString RecentIniPath()
{
    return Folders().SettingsDir + QStringLiteral("Zedariva.ini");
}

void AddRecentFile(const QString &fileName)
{
    if (fileName.trimmed().isEmpty())
        return;
    TIniFile ini(Folders().ConfigIniPath);
    TIniUpdate update(ini);
    addToList(ini, kKey, fileName, ReadMaxRecentFile(ini));
}

QStringList ReadRecentFileList()
{
    const TIniFile ini(Folders().ConfigIniPath);
    const TIniReadGroup group(ini);
    const int limit = ReadMaxRecentFile(ini);
    QStringList values = readValues(ini, kKey);
    if (values.size() > limit)
        values.resize(limit);
    return values;
}

QString ReadMostRecentFile()
{
    const QStringList values = readValues(TIniFile(Folders().ConfigIniPath), kKey);
    return values.isEmpty() ? QString() : values.first();
}

void AddToRecentList(const QString &fileName, const QString &section)
{
    TIniFile ini(RecentIniPath());
    TIniUpdate update(ini);
    const int limit = ini.ReadInteger(QStringLiteral("Const"), QStringLiteral("MaxRecent"), 8);
    addToList(ini, section, fileName, limit);
}

void AddToRecentList(const QString &fileName, const QString &section, int limit)
{
    TIniFile ini(RecentIniPath());
    TIniUpdate update(ini);
    addToList(ini, section, fileName, std::max(limit, 1));
}

QStringList ReadRecentList(const QString &section)
{
    return readValues(TIniFile(RecentIniPath()), section);
}

QString RecentDisplayPath(const QString &path, int maxLength)
{
    if (path.size() <= maxLength)
        return path;
    const QString tail = path.right(std::max(maxLength, 0));
    const qsizetype slash = tail.indexOf(QLatin1Char('/'));
    return QStringLiteral("//") + (slash < 0 ? tail : tail.mid(slash + 1));
}
