#include "core/settings/sharedstate.h"

#include "core/base/cursors.h"
#include "core/base/error.h"
#include "core/base/tempfolder.h"
#include "core/palette/palette.h"
#include "core/settings/settings.h"
#include "core/settings/uitexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace {
struct TSharedRecords {
    TFolders folders;
    TRunState run;
    TStartSettings settings;
    THooks hooks;
    TCardTables cards;
};

TSharedRecords &records()
{
    static TSharedRecords all;
    return all;
}

QString withSlash(QString path)
{
    path = QDir::cleanPath(path);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString xdgDir(const char *var, const char *fallback)
{
    const QString value = qEnvironmentVariable(var);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return withSlash(value);
    return withSlash(QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback));
}

QString findResourceDir(const QString &exeDir)
{
    const QString installed = withSlash(exeDir + QStringLiteral("../share/dorwen-cad"));
    if (QFileInfo(installed).isDir())
        return installed;
    return withSlash(QStringLiteral(DORWEN_SOURCE_RESOURCES));
}
} // namespace

TFolders &Folders()
{
    return records().folders;
}
TRunState &RunState()
{
    return records().run;
}
TStartSettings &StartSettings()
{
    return records().settings;
}
THooks &Hooks()
{
    return records().hooks;
}
TCardTables &CardTables()
{
    return records().cards;
}

void ResetSharedState()
{
    records() = TSharedRecords {};
}

bool PortableMode()
{
    return Folders().Portable;
}

QString GetAppSubDir(const QString &base, const QString &name)
{
    const QString path = withSlash(base + name);
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
        return QString();
    return path;
}

QString ResolvePath(const QString &name)
{
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return name;
    return QDir::cleanPath(Folders().CurrentDir + name);
}

bool InitSharedState(const QString &exeDir, QString *error)
{

    // 1. The cursor table.
    RegisterCursors();

    // 2. The program folder and the settings file.
    TFolders &f = Folders();
    f.ExeDir = withSlash(exeDir.isEmpty() ? QCoreApplication::applicationDirPath() : exeDir);
    f.Portable = QFileInfo::exists(f.ExeDir + QStringLiteral("Config.Ini"));
    f.SettingsDir
        = f.Portable ? f.ExeDir : xdgDir("XDG_CONFIG_HOME", ".config") + QStringLiteral("dorwen-cad/");
    f.DataDir
        = f.Portable ? f.ExeDir : xdgDir("XDG_DATA_HOME", ".local/share") + QStringLiteral("dorwen-cad/");
    f.ResourceDir = f.Portable ? f.ExeDir : findResourceDir(f.ExeDir);
    if (!QDir().mkpath(f.SettingsDir))
        return Fail(error, GetUiMessage(UiKey::String::SettingsFolderCannotCreate).arg(f.SettingsDir));
    f.ConfigIniPath = f.SettingsDir + QStringLiteral("Config.Ini");

    // 3. The private temporary folder (mode 0700) and the temporary-file prefixes.
    QString tempFolder;
    if (!MakeProcessTempFolder(tempFolder, error))
        return false;
    f.TempDir = withSlash(tempFolder);
    f.ScanImgPath = f.TempDir + QStringLiteral("ScanImg~$");
    f.MergeTempPath = f.ScanImgPath + QStringLiteral("Merge") + QStringLiteral(".tmp");

    // 4. The clipboard formats are fixed names (CF_WORD, CF_BMP, CF_256Bitmap).

    // 5. The folders, in the original order. Help and Language are read-only data and are
    //    only created in portable mode, where they sit next to the program.
    f.PictureDir = GetAppSubDir(f.DataDir, QStringLiteral("Picture"));
    f.WeaveDirCreated = !QFileInfo(f.DataDir + QStringLiteral("Weave")).exists();
    f.WeaveDir = GetAppSubDir(f.DataDir, QStringLiteral("Weave"));
    const QString helpDir = f.Portable ? GetAppSubDir(f.ResourceDir, QStringLiteral("Help"))
                                       : withSlash(f.ResourceDir + QStringLiteral("Help"));
    f.HelpFile = helpDir + QStringLiteral("index.html");
    f.LanguageDir = f.Portable ? GetAppSubDir(f.ResourceDir, QStringLiteral("Language"))
                               : withSlash(f.ResourceDir + QStringLiteral("Language"));
    f.BindingDir = GetAppSubDir(f.DataDir, QStringLiteral("Binding"));
    f.PatternLibDir = GetAppSubDir(f.DataDir, QStringLiteral("Pattern"));
    if (f.PictureDir.isEmpty() || f.WeaveDir.isEmpty() || f.BindingDir.isEmpty() || helpDir.isEmpty()
        || f.LanguageDir.isEmpty() || f.PatternLibDir.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::ProgramFoldersCannotCreate).arg(f.DataDir));
    f.YangKaDir.clear();
    f.WeaveOpenDir.clear();
    f.CurrentDir = f.ExeDir;

    // 6. The spare 8-bit picture.
    RunState().SharedBitmap = NewPicture(1, 1, TPalette256 {});

    // 7. The settings read at start-up.
    ReadMaxBakDataSize();
    ReadFlashFrequence();
    ReadFlashTime();
    ReadTileWeaveParam(StartSettings().TileWeaveParam);

    // 8. The language file; from here relative names resolve from the "Language" folder
    //    when it exists.
    OpenLanguageFile();
    return true;
}
