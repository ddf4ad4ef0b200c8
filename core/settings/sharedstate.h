#pragma once
// Values that live as long as the program and are shared by several subsystems: the
// folders and files, the clipboard format names, the current drawing tool and pen widths,
// the settings read at start, the hooks the main window installs, the pick and
// weft-density tables and the colour table. They are set up by InitSharedState before any
// window exists.
//
// Places on Linux: "Config.Ini" sits next to the executable when a file of that name is
// there (portable mode), otherwise in $XDG_CONFIG_HOME/dorwen-cad. The writable folders
// ("Picture", "Weave", "Binding") live in $XDG_DATA_HOME/dorwen-cad, or next to the
// executable in portable mode. Read-only data ("Language", "Help") is found next to the
// executable (../share/dorwen-cad) or in the source tree's resources folder.

#include "core/base/document.h"
#include "core/base/toolid.h"
#include "core/settings/inifile.h"
#include "core/settings/settings.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// Named by hooks the picture decoders use; the core does not look inside them.
struct TPictureClass;
struct TLoadedPicture;

// The shared values, grouped by concern into records, one accessor each. Every record's
// member initialisers are its start value: what the program has before InitSharedState.

// Folders and files. Folder names end with "/".
struct TFolders {
    QString ExeDir; // folder of the program file
    QString SettingsDir; // folder of "Config.Ini", "Zedariva.ini" and "VIZ.ini"
    QString DataDir; // root of the writable folders
    QString ResourceDir; // root of the read-only data
    QString ConfigIniPath;
    QString TempDir; // the private temporary folder of this process
    QString ScanImgPath; // prefix of temporary files
    QString MergeTempPath;
    QString PictureDir;
    QString WeaveDir;
    QString HelpFile;
    QString LanguageDir;
    QString BindingDir;
    QString PatternLibDir; // root of the pattern libraries: "Pattern" beside "Weave"
    QString YangKaDir;
    QString WeaveOpenDir;
    // The folder relative names resolve from. The program never changes the process's
    // working directory; where the original made a folder current, it is stored here.
    QString CurrentDir;
    bool Portable = false; // "Config.Ini" sits next to the program
    // The weave folder did not exist before this start (a new user): the shell then puts
    // the starter weave library into it.
    bool WeaveDirCreated = false;
    // The chosen language file: its name without folder (empty when none could be chosen)
    // and the open file (null when there is none; the built-in texts are used then).
    QString LanguageFileName;
    std::unique_ptr<TIniFile> LanguageIni;
};
TFolders &Folders();
bool PortableMode();

// Clipboard format names.
inline const char *const CF_WORD = "CF_WORD";
inline const char *const CF_BMP = "CF_BMP";
inline const char *const CF_256Bitmap = "CF_256Bitmap";

// The program's running state.
struct TRunState {
    TToolId CurrentToolId = TToolId::Move; // the last chosen drawing tool
    std::int32_t HorzWidth = 1; // pen widths of the drawing tools
    std::int32_t VertWidth = 1;
    double UndoDataSize = 0; // megabytes kept by all undo stores, as last checked
    int EpsTimeoutMs = 30000; // how long Ghostscript may take for one picture
    QImage SharedBitmap; // a spare 8-bit picture
};
TRunState &RunState();

// The settings read at start: InitSharedState reads the first four, the main window the
// others when it is created.
struct TStartSettings {
    std::int32_t FlashFrequence = 500; // milliseconds
    double FlashTime = 5.0; // seconds
    double MaxBakDataSize = 100.0; // megabytes
    TTileWeaveParam TileWeaveParam;
    std::int32_t MaxUndoCount = 0; // 0 until read, then 1..999
    std::int32_t AutoReduceColorCount = 0; // 0 until read, then 1..256
    TGrossOption GrossOption; // new-pattern and grid defaults
    TSprayOption SprayOption; // copied into every document's grid
    TPageOption PageOption;
};
TStartSettings &StartSettings();

// The hooks that the main window, the picture-format list and tests install. Each is
// empty until installed; an empty hook does nothing (or finds nothing).
struct THooks {
    QObject *MainFormHandle = nullptr; // target of every notification; null until the main window exists
    std::function<void(std::uint8_t)> ProgressEvent; // progress callback of long operations
    std::function<void()> ProgressGaugeShow; // puts the status-bar gauge up at 0
    // Shows the backup-size warning (error icon).
    std::function<void(const QString &text, const QString &caption)> UndoSizeWarning;
    // The picture class of a file extension (without the dot, any letter case).
    std::function<const TPictureClass *(const QString &extension)> PictureClassLookup;
    // Replaces the reader of the program's own card, weave and project files.
    std::function<bool(
        const QString &fileName, const QByteArray &bytes, TLoadedPicture &picture, QString *error)>
        WenBanIOReader;
};
THooks &Hooks();

// The card tables: entry n - 1 of the pick (shuttle) and weft-density tables is chosen by
// the value n of a row table; colour n of the colour table is shuttle n's.
struct TCardTables {
    TNeedleMasks PickTable {}; // shuttle needle masks
    TNeedleMasks WeftDensTable {}; // weft-density needle masks
    TColorTable ColorTable {}; // shuttle colours
    // The needle count the table dialog showed last, per table; 0 until it has read one.
    std::int32_t PickNeedleCount = 0;
    std::int32_t WeftDensNeedleCount = 0;
};
TCardTables &CardTables();

// Puts every record back to its start value; the test programs call it before each test.
void ResetSharedState();

// Creates the folder Base + Name when missing and returns its path (ending in "/").
// Returns an empty string when the folder cannot be created.
QString GetAppSubDir(const QString &base, const QString &name);

// Resolves a relative name from CurrentDir; an absolute name is returned as it is.
QString ResolvePath(const QString &name);

// The start-up of the shared state. exeDir overrides the program's folder (for tests).
// Returns false with a message when a folder cannot be created or the temporary folder
// cannot be made.
bool InitSharedState(const QString &exeDir = QString(), QString *error = nullptr);
