// Settings store: the single keys of section "Main" and the language choice.
#include "core/settings/inifile.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"

#include <algorithm>

namespace {
const QString kMain = QStringLiteral("Main");

std::int32_t readInt(const char *key, std::int32_t def)
{
    return TIniFile(Folders().ConfigIniPath).ReadInteger(kMain, QLatin1String(key), def);
}
void writeInt(const char *key, std::int32_t value)
{
    TIniFile(Folders().ConfigIniPath).WriteInteger(kMain, QLatin1String(key), value);
}
bool readBool(const char *key, bool def)
{
    return TIniFile(Folders().ConfigIniPath).ReadBool(kMain, QLatin1String(key), def);
}
void writeBool(const char *key, bool value)
{
    TIniFile(Folders().ConfigIniPath).WriteBool(kMain, QLatin1String(key), value);
}

std::int32_t limitColorCount(std::int32_t v)
{
    return std::min(std::max(v, 1), 256);
}
std::int32_t limitUndoCount(std::int32_t v)
{
    return std::min(std::max(v, 1), 999);
}

// Sizes, counts and times that must be positive: a value below `low` (zero or negative) is
// no choice anyone made and takes the default; a value above `high` is clamped to it.
std::int32_t positiveSetting(std::int32_t v, std::int32_t low, std::int32_t high, std::int32_t def)
{
    return v < low ? def : std::min(v, high);
}

constexpr std::int32_t kDefaultWarps = 128;
constexpr std::int32_t kMaxBakDataSize = 100;
constexpr std::int32_t kFlashFrequence = 500;
constexpr std::int32_t kFlashTime = 5;
constexpr std::int32_t kMaxRecentFile = 5;

// Hooks of the one-row sample card: a card row holds at most 65,535 needles.
std::int32_t limitDefaultWarps(std::int32_t v)
{
    return positiveSetting(v, 1, 65535, kDefaultWarps);
}
// Megabytes of undo data before the warning: 0 would warn after every cell edit; 1 TB is
// beyond any disk the undo files would fill.
std::int32_t limitBakDataSize(std::int32_t v)
{
    return positiveSetting(v, 1, 1024 * 1024, kMaxBakDataSize);
}
// Milliseconds per flash tick: the main window is disabled during a flash, and a period of
// 0 would run the timer without pause; beyond 5 s nothing visibly blinks.
std::int32_t limitFlashFrequence(std::int32_t v)
{
    return positiveSetting(v, 50, 5000, kFlashFrequence);
}
// Seconds a flash lasts, with the main window disabled all the while: at most a minute.
std::int32_t limitFlashTime(std::int32_t v)
{
    return positiveSetting(v, 1, 60, kFlashTime);
}
// Entries of the main window's recent list: the settings dialog offers 1 to 10; a lower
// value is clamped to 1 (as the list has always counted it), a higher one to 10.
std::int32_t limitMaxRecentFile(std::int32_t v)
{
    return std::clamp(v, 1, 10);
}
} // namespace

std::int32_t ReadDefaultWarps()
{
    return limitDefaultWarps(readInt("DefaultWarps", kDefaultWarps));
}
void WriteDefaultWarps(std::int32_t value)
{
    writeInt("DefaultWarps", value);
}

std::int32_t ReadMaxBakDataSize()
{
    const std::int32_t v = limitBakDataSize(readInt("MaxBakDataSize", kMaxBakDataSize));
    StartSettings().MaxBakDataSize = v;
    return v;
}
void WriteMaxBakDataSize(std::int32_t value)
{
    value = limitBakDataSize(value);
    StartSettings().MaxBakDataSize = value;
    writeInt("MaxBakDataSize", value);
}

bool ReadRemoveOddWarp()
{
    return readBool("RemoveOddWarp", true);
}
void WriteRemoveOddWarp(bool value)
{
    writeBool("RemoveOddWarp", value);
}

std::int32_t ReadColorLeft()
{
    return readInt("ColorLeft", 90);
}
void WriteColorLeft(std::int32_t value)
{
    writeInt("ColorLeft", value);
}

std::int32_t ReadFlashFrequence()
{
    StartSettings().FlashFrequence = limitFlashFrequence(readInt("FlashFrequence", kFlashFrequence));
    return StartSettings().FlashFrequence;
}
void WriteFlashFrequence(std::int32_t value)
{
    StartSettings().FlashFrequence = limitFlashFrequence(value);
    writeInt("FlashFrequence", StartSettings().FlashFrequence);
}

std::int32_t ReadFlashTime()
{
    const std::int32_t v = limitFlashTime(readInt("FlashTime", kFlashTime));
    StartSettings().FlashTime = v;
    return v;
}
void WriteFlashTime(std::int32_t value)
{
    value = limitFlashTime(value);
    StartSettings().FlashTime = value;
    writeInt("FlashTime", value);
}

std::int32_t ReadAutoReduceColorCount()
{
    StartSettings().AutoReduceColorCount = limitColorCount(readInt("AutoReduceColorCount", 200));
    return StartSettings().AutoReduceColorCount;
}
void WriteAutoReduceColorCount(std::int32_t value)
{
    StartSettings().AutoReduceColorCount = limitColorCount(value);
    writeInt("AutoReduceColorCount", StartSettings().AutoReduceColorCount);
}

std::int32_t ReadMaxRecentFile()
{
    return ReadMaxRecentFile(TIniFile(Folders().ConfigIniPath));
}
std::int32_t ReadMaxRecentFile(const TIniFile &config)
{
    return limitMaxRecentFile(config.ReadInteger(kMain, QStringLiteral("MaxRecentFile"), kMaxRecentFile));
}
void WriteMaxRecentFile(std::int32_t value)
{
    writeInt("MaxRecentFile", limitMaxRecentFile(value));
}

bool ReadAutoOpenRecentFile()
{
    return readBool("AutoOpenRecentFile", false);
}
void WriteAutoOpenRecentFile(bool value)
{
    writeBool("AutoOpenRecentFile", value);
}

std::int32_t ReadMaxUndoCount()
{
    StartSettings().MaxUndoCount = limitUndoCount(readInt("MaxUndoCount", 100));
    return StartSettings().MaxUndoCount;
}
void WriteMaxUndoCount(std::int32_t value)
{
    StartSettings().MaxUndoCount = limitUndoCount(value);
    writeInt("MaxUndoCount", StartSettings().MaxUndoCount);
}

// The key is spelt "Lanuage" in the file.
std::int32_t ReadLanguageIndex()
{
    return TIniFile(Folders().ConfigIniPath)
        .ReadInteger(QStringLiteral("Language"), QStringLiteral("Lanuage"), 0);
}
void WriteLanguageIndex(std::int32_t index)
{
    TIniFile(Folders().ConfigIniPath)
        .WriteInteger(QStringLiteral("Language"), QStringLiteral("Lanuage"), index);
}

void ReadMainWindowSettings()
{
    ReadGrossOption(StartSettings().GrossOption);
    ReadSprayOption(StartSettings().SprayOption);
    ReadPageOption(StartSettings().PageOption);
    ReadMaxUndoCount();
    ReadAutoReduceColorCount();
    ReadNeedleTable(CardTables().PickTable, QStringLiteral("Pick"));
    ReadNeedleTable(CardTables().WeftDensTable, QStringLiteral("WeftDens"));
    ReadColorTable(CardTables().ColorTable, QStringLiteral("ColorTable"));
}
