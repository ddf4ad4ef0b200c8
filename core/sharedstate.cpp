#include "core/sharedstate.h"

#include "core/cursors.h"
#include "core/palette.h"
#include "core/settings.h"
#include "core/tempfolder.h"
#include "core/uitexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ExeDir, SettingsDir, DataDir, ResourceDir, ConfigIniPath, TempDir, ScanImgPath, MergeTempPath;
QString PictureDir, WeaveDir, HelpFile, LanguageDir, BindingDir, PatternLibDir, YangKaDir, WeaveOpenDir;
QString CurrentDir;

QObject *MainFormHandle = nullptr;
std::uint8_t CurrentToolId = 8;
std::int32_t HorzWidth = 1;
std::int32_t VertWidth = 1;
std::int32_t FlashFrequence = 500;
double FlashTime = 5.0;
double MaxBakDataSize = 100.0;
std::int32_t MaxUndoCount = 0;
std::int32_t AutoReduceColorCount = 0;
std::array<std::uint32_t, 16> PickTable{};
std::array<std::uint32_t, 16> WeftDensTable{};
std::array<TColor, 17> ColorTable{};
std::function<void(std::uint8_t)> ProgressEvent;
QImage SharedBitmap;

namespace {
bool g_portable = false;

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

bool PortableMode() { return g_portable; }

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
    return QDir::cleanPath(CurrentDir + name);
}

bool InitSharedState(const QString &exeDir, QString *error)
{
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };

    // 1. The cursor table.
    RegisterCursors();

    // 2. The program folder and the settings file.
    ExeDir = withSlash(exeDir.isEmpty() ? QCoreApplication::applicationDirPath() : exeDir);
    g_portable = QFileInfo::exists(ExeDir + QStringLiteral("Config.Ini"));
    SettingsDir = g_portable ? ExeDir : xdgDir("XDG_CONFIG_HOME", ".config") + QStringLiteral("dorwen-cad/");
    DataDir = g_portable ? ExeDir : xdgDir("XDG_DATA_HOME", ".local/share") + QStringLiteral("dorwen-cad/");
    ResourceDir = g_portable ? ExeDir : findResourceDir(ExeDir);
    if (!QDir().mkpath(SettingsDir))
        return fail(QStringLiteral("Cannot create the settings folder %1").arg(SettingsDir));
    ConfigIniPath = SettingsDir + QStringLiteral("Config.Ini");

    // 3. The private temporary folder (mode 0700) and the temporary-file prefixes.
    QString tempFolder;
    if (!MakeProcessTempFolder(tempFolder, error))
        return false;
    TempDir = withSlash(tempFolder);
    ScanImgPath = TempDir + QStringLiteral("ScanImg~$");
    MergeTempPath = ScanImgPath + QStringLiteral("Merge") + QStringLiteral(".tmp");

    // 4. The clipboard formats are fixed names (CF_WORD, CF_BMP, CF_256Bitmap).

    // 5. The folders, in the original order. Help and Language are read-only data and are
    //    only created in portable mode, where they sit next to the program.
    PictureDir = GetAppSubDir(DataDir, QStringLiteral("Picture"));
    WeaveDir = GetAppSubDir(DataDir, QStringLiteral("Weave"));
    const QString helpDir = g_portable ? GetAppSubDir(ResourceDir, QStringLiteral("Help"))
                                       : withSlash(ResourceDir + QStringLiteral("Help"));
    HelpFile = helpDir + QStringLiteral("Help.hlp");
    LanguageDir = g_portable ? GetAppSubDir(ResourceDir, QStringLiteral("Language"))
                             : withSlash(ResourceDir + QStringLiteral("Language"));
    BindingDir = GetAppSubDir(DataDir, QStringLiteral("Binding"));
    if (PictureDir.isEmpty() || WeaveDir.isEmpty() || BindingDir.isEmpty() || helpDir.isEmpty()
        || LanguageDir.isEmpty())
        return fail(QStringLiteral("Cannot create the program's folders in %1").arg(DataDir));
    PatternLibDir.clear();
    YangKaDir.clear();
    WeaveOpenDir.clear();
    CurrentDir = ExeDir;

    // 6. The spare 8-bit picture.
    SharedBitmap = NewPicture(1, 1, TPalette256{});

    // The palette procedures' fixed colours.
    InitPaletteColors();

    // 7. The settings read at start-up.
    ReadMaxBakDataSize();
    ReadFlashFrequence();
    ReadFlashTime();
    ReadTileWeaveParam(TileWeaveParam);

    // 8. The language file; from here relative names resolve from the "Language" folder
    //    when it exists.
    OpenLanguageFile();
    return true;
}
