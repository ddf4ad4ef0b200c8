#pragma once
// Values that live as long as the program and are shared by several subsystems: the
// folders and files, the clipboard format names, the current drawing tool and pen widths,
// the flash and backup settings, the pick and weft-density tables and the colour table.
// They are set up by InitSharedState before any window exists.
//
// Places on Linux: "Config.Ini" sits next to the executable when a file of that name is
// there (portable mode), otherwise in $XDG_CONFIG_HOME/dorwen-cad. The writable folders
// ("Picture", "Weave", "Binding") live in $XDG_DATA_HOME/dorwen-cad, or next to the
// executable in portable mode. Read-only data ("Language", "Help") is found next to the
// executable (../share/dorwen-cad) or in the source tree's resources folder.

#include "core/maintypes.h"
#include "core/toolid.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

// Folders and files. Folder names end with "/".
extern QString ExeDir;         // folder of the program file
extern QString SettingsDir;    // folder of "Config.Ini", "Zedariva.ini" and "VIZ.ini"
extern QString DataDir;        // root of the writable folders
extern QString ResourceDir;    // root of the read-only data
extern QString ConfigIniPath;
extern QString TempDir;        // the private temporary folder of this process
extern QString ScanImgPath;    // prefix of temporary files
extern QString MergeTempPath;
extern QString PictureDir;
extern QString WeaveDir;
extern QString HelpFile;
extern QString LanguageDir;
extern QString BindingDir;
extern QString PatternLibDir;  // never assigned: dialogs start in the current folder
extern QString YangKaDir;
extern QString WeaveOpenDir;
// The folder relative names resolve from. The program never changes the process's
// working directory; where the original made a folder current, it is stored here.
extern QString CurrentDir;
bool PortableMode();

// Clipboard format names.
inline const char *const CF_WORD = "CF_WORD";
inline const char *const CF_BMP = "CF_BMP";
inline const char *const CF_256Bitmap = "CF_256Bitmap";

// Shared values.
extern QObject *MainFormHandle;      // target of every notification; null until the main window exists
extern TToolId CurrentToolId;        // the last chosen drawing tool, initially TToolId::Move
extern std::int32_t HorzWidth;
extern std::int32_t VertWidth;
extern std::int32_t FlashFrequence;  // milliseconds
extern double FlashTime;             // seconds
extern double MaxBakDataSize;        // megabytes
extern std::int32_t MaxUndoCount;    // 0 until read, then 1..999
extern std::int32_t AutoReduceColorCount; // 0 until read, then 1..256
extern std::array<std::uint32_t, 16> PickTable;     // shuttle needle masks
extern std::array<std::uint32_t, 16> WeftDensTable; // weft-density needle masks
extern std::array<TColor, 17> ColorTable;           // shuttle colours
extern std::function<void(std::uint8_t)> ProgressEvent; // progress callback of long operations
extern QImage SharedBitmap;

// Creates the folder Base + Name when missing and returns its path (ending in "/").
// Returns an empty string when the folder cannot be created.
QString GetAppSubDir(const QString &base, const QString &name);

// Resolves a relative name from CurrentDir; an absolute name is returned as it is.
QString ResolvePath(const QString &name);

// The start-up of the shared state. exeDir overrides the program's folder (for tests).
// Returns false with a message when a folder cannot be created or the temporary folder
// cannot be made.
bool InitSharedState(const QString &exeDir = QString(), QString *error = nullptr);
