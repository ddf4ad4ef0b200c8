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

std::int32_t limitColorCount(std::int32_t v) { return std::min(std::max(v, 1), 256); }
std::int32_t limitUndoCount(std::int32_t v) { return std::min(std::max(v, 1), 999); }
} // namespace

std::int32_t ReadDefaultWarps() { return readInt("DefaultWarps", 128); }
void WriteDefaultWarps(std::int32_t value) { writeInt("DefaultWarps", value); }

std::int32_t ReadMaxBakDataSize()
{
    const std::int32_t v = readInt("MaxBakDataSize", 100);
    StartSettings().MaxBakDataSize = v;
    return v;
}
void WriteMaxBakDataSize(std::int32_t value)
{
    StartSettings().MaxBakDataSize = value;
    writeInt("MaxBakDataSize", value);
}

bool ReadRemoveOddWarp() { return readBool("RemoveOddWarp", true); }
void WriteRemoveOddWarp(bool value) { writeBool("RemoveOddWarp", value); }

std::int32_t ReadColorLeft() { return readInt("ColorLeft", 90); }
void WriteColorLeft(std::int32_t value) { writeInt("ColorLeft", value); }

std::int32_t ReadFlashFrequence()
{
    StartSettings().FlashFrequence = readInt("FlashFrequence", 500);
    return StartSettings().FlashFrequence;
}
void WriteFlashFrequence(std::int32_t value)
{
    StartSettings().FlashFrequence = value;
    writeInt("FlashFrequence", value);
}

std::int32_t ReadFlashTime()
{
    const std::int32_t v = readInt("FlashTime", 5);
    StartSettings().FlashTime = v;
    return v;
}
void WriteFlashTime(std::int32_t value)
{
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

std::int32_t ReadMaxRecentFile() { return readInt("MaxRecentFile", 5); }
void WriteMaxRecentFile(std::int32_t value) { writeInt("MaxRecentFile", value); }

bool ReadAutoOpenRecentFile() { return readBool("AutoOpenRecentFile", false); }
void WriteAutoOpenRecentFile(bool value) { writeBool("AutoOpenRecentFile", value); }

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
    ReadPageOption(StartSettings().PageOption);
    ReadMaxUndoCount();
    ReadAutoReduceColorCount();
    ReadNeedleTable(CardTables().PickTable, QStringLiteral("Pick"));
    ReadNeedleTable(CardTables().WeftDensTable, QStringLiteral("WeftDens"));
    ReadColorTable(CardTables().ColorTable, QStringLiteral("ColorTable"));
}
