#include "shell/filetypes.h"

#include "core/base/error.h"
#include "core/base/fileext.h"
#include "core/base/filewrite.h"
#include "core/settings/inifile.h"
#include "core/settings/uitexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <map>

namespace {
const QString kTypePrefix = QStringLiteral("application/x-dorwen-");
const QString kDefaults = QStringLiteral("Default Applications");
// Our package names three types; a file far beyond that is not ours to load whole.
constexpr qint64 kMaxPackageSize = 1024 * 1024;
// How long the MIME cache may take to rebuild.
constexpr int kUpdateTimeoutMs = 60000;

QString xdgHome(const char *variable, const char *fallback)
{
    const QString value = qEnvironmentVariable(variable);
    // The rules say a relative value is to be ignored.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback));
}

QString packagePath(const TFileTypeRoots &roots)
{
    return roots.DataHome + QStringLiteral("/mime/packages/dorwen-cad.xml");
}
QString desktopPath(const TFileTypeRoots &roots)
{
    return roots.DataHome + QStringLiteral("/applications/") + QLatin1String(DesktopFileName);
}
QString mimeAppsPath(const TFileTypeRoots &roots)
{
    return roots.ConfigHome + QStringLiteral("/mimeapps.list");
}

QString globOf(const QString &mimeType)
{
    return QStringLiteral("*.") + mimeType.mid(kTypePrefix.size());
}

// Our package as a map from each of our types to its glob. A damaged, oversized or foreign
// file gives what could be read of it before the damage (nothing when it cannot be read).
std::map<QString, QString> readPackage(const TFileTypeRoots &roots)
{
    std::map<QString, QString> types;
    QByteArray bytes;
    if (!ReadWholeFile(packagePath(roots), kMaxPackageSize, bytes))
        return types;
    QXmlStreamReader xml(bytes);
    QString current;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("mime-type")) {
            current = xml.attributes().value(QLatin1String("type")).toString().toLower();
            if (!current.startsWith(kTypePrefix) || FileExtensionRow(current.mid(kTypePrefix.size())) < 0)
                current.clear();
            else
                types[current];
        } else if (xml.name() == QLatin1String("glob") && !current.isEmpty()) {
            types[current] = xml.attributes().value(QLatin1String("pattern")).toString();
        }
    }
    return types;
}

bool writePackage(const TFileTypeRoots &roots, const std::map<QString, QString> &types, QString *error)
{
    const QString path = packagePath(roots);
    if (types.empty())
        return !QFile::exists(path) || QFile::remove(path)
            || Fail(error, GetUiMessage(UiKey::String::FileTypeCannotWrite).arg(path));
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("mime-info"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    for (const auto &entry : types) {
        const QString &type = entry.first;
        xml.writeStartElement(QStringLiteral("mime-type"));
        xml.writeAttribute(QStringLiteral("type"), type);
        xml.writeTextElement(
            QStringLiteral("comment"), FileTypeName(FileExtensionRow(type.mid(kTypePrefix.size()))));
        xml.writeEmptyElement(QStringLiteral("icon"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("dorwen-cad"));
        // Globs match without regard to letter case unless told otherwise.
        xml.writeEmptyElement(QStringLiteral("glob"));
        xml.writeAttribute(QStringLiteral("pattern"), globOf(type));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return Fail(error, GetUiMessage(UiKey::String::FileTypeCannotWrite).arg(path));
    QString why;
    return WriteFileAtomically(path, bytes, &why)
        || Fail(error, GetUiMessage(UiKey::String::FileTypeCannotWrite).arg(path) + QLatin1Char('\n') + why);
}

// Our desktop file, naming every type our package holds; taken away with the last type.
bool writeDesktopFile(const TFileTypeRoots &roots, const std::map<QString, QString> &types, QString *error)
{
    const QString path = desktopPath(roots);
    if (types.empty())
        return !QFile::exists(path) || QFile::remove(path)
            || Fail(error, GetUiMessage(UiKey::String::FileTypeCannotWrite).arg(path));
    QString mimeTypes;
    for (const auto &entry : types)
        mimeTypes += entry.first + QLatin1Char(';');
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Dorwen CAD\n"
                                        "Comment=Jacquard design for narrow fabrics\n"
                                        "Exec=%1\n"
                                        "Icon=dorwen-cad\n"
                                        "Terminal=false\n"
                                        "Categories=Graphics;\n"
                                        "MimeType=%2\n")
                             .arg(DesktopExecLine(roots.ProgramPath), mimeTypes);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return Fail(error, GetUiMessage(UiKey::String::FileTypeCannotWrite).arg(path));
    QString why;
    return WriteFileAtomically(path, text.toUtf8(), &why)
        || Fail(error, GetUiMessage(UiKey::String::FileTypeCannotWrite).arg(path) + QLatin1Char('\n') + why);
}

// The desktop files a type's default names, in order.
QStringList defaultsOf(const TIniFile &apps, const QString &type)
{
    return apps.ReadString(kDefaults, type, QString()).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool writeDefault(const TFileTypeRoots &roots, const QString &type, bool reg, QString *error)
{
    const QString path = mimeAppsPath(roots);
    TIniFile apps(path);
    QStringList names = defaultsOf(apps, type);
    const QString ours = QLatin1String(DesktopFileName);
    if (reg ? names.value(0) == ours : !names.contains(ours))
        return true;
    names.removeAll(ours);
    if (reg)
        names.prepend(ours);
    if (!QDir().mkpath(roots.ConfigHome))
        return Fail(error, GetUiMessage(UiKey::String::FileTypeCannotWrite).arg(path));
    const bool written = names.isEmpty()
        ? apps.DeleteKey(kDefaults, type)
        : apps.WriteString(kDefaults, type, names.join(QLatin1Char(';')) + ';');
    return written || Fail(error, GetUiMessage(UiKey::String::FileTypeCannotWrite).arg(path));
}

bool updateMimeCache(const TFileTypeRoots &roots, QString *error)
{
    if (roots.UpdateMimeDatabase.isEmpty())
        return true;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(roots.UpdateMimeDatabase, { roots.DataHome + QStringLiteral("/mime") });
    const bool finished = process.waitForStarted() && process.waitForFinished(kUpdateTimeoutMs);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    const QString why
        = finished ? QString::fromLocal8Bit(process.readAll()).trimmed() : process.errorString();
    return Fail(error, GetUiMessage(UiKey::String::FileTypeCacheFailed).arg(roots.UpdateMimeDatabase, why));
}
} // namespace

TFileTypeRoots DefaultFileTypeRoots()
{
    TFileTypeRoots roots;
    roots.DataHome = xdgHome("XDG_DATA_HOME", ".local/share");
    roots.ConfigHome = xdgHome("XDG_CONFIG_HOME", ".config");
    roots.ProgramPath = QCoreApplication::applicationFilePath();
    return roots;
}

QString FileTypeMimeType(const QString &extension)
{
    const int row = FileExtensionRow(extension);
    if (row < 0)
        return QString();
    return kTypePrefix + QString::fromLatin1(FileExtensions[row] + 1).toLower();
}

QString DesktopExecLine(const QString &program)
{
    // Inside the quotes ", `, $ and \ take a backslash; then the value itself escapes every
    // backslash once more, and a field code's % is doubled.
    QString quoted;
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QStringLiteral("\" %f");
}

bool IsFileTypeRegistered(const QString &extension, const TFileTypeRoots &roots)
{
    const QString type = FileTypeMimeType(extension);
    if (type.isEmpty())
        return false;
    const std::map<QString, QString> types = readPackage(roots);
    const auto it = types.find(type);
    if (it == types.end() || it->second.compare(globOf(type), Qt::CaseInsensitive) != 0)
        return false;
    return defaultsOf(TIniFile(mimeAppsPath(roots)), type).value(0) == QLatin1String(DesktopFileName);
}

bool RegisterFileType(const QString &extension, bool reg, const TFileTypeRoots &roots, QString *error)
{
    const QString type = FileTypeMimeType(extension);
    if (type.isEmpty())
        return true;
    std::map<QString, QString> types = readPackage(roots);
    const auto it = types.find(type);
    const bool present = it != types.end();
    const bool packageChanged = reg ? !present || it->second != globOf(type) : present;
    if (reg)
        types[type] = globOf(type);
    else
        types.erase(type);
    if (packageChanged && !writePackage(roots, types, error))
        return false;
    if ((reg || packageChanged) && !writeDesktopFile(roots, types, error))
        return false;
    if (!writeDefault(roots, type, reg, error))
        return false;
    return !packageChanged || updateMimeCache(roots, error);
}
