// Settings store: the pick and weft-density needle tables and the shuttle colour table.
// The values are stored as decimal text and converted strictly; a value that does not
// convert takes its default and the rest of the table is still read. A table is read with
// one read of the file and written with one read-modify-write.
#include "core/base/numparse.h"
#include "core/settings/inifile.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"

#include <algorithm>

namespace {
std::int32_t readStrictInt(const TIniFile &ini, const QString &section, const QString &key, std::int32_t def)
{
    std::int32_t v = def;
    return TryStrToInt(ini.ReadString(section, key, QString::number(def)), v) ? v : def;
}
} // namespace

const TColorTable &DefaultColorTable()
{
    // Two system colours (high byte 0x80: numbers 1 and 24); the others are red in the low byte.
    static const TColorTable colors = { 0xFFFFFF, 0xFF0000, 0xFF00FF, 0x008000, 0x008080,
        std::int32_t(0x80000001u), 0x800080, 0x00FFFF, 0x808080, 0x0000FF, 0xFFFF00, 0x000000, 0x808000,
        std::int32_t(0x80000018u), 0x00FF00, 0x000080, 0x800000 };
    return colors;
}

std::int32_t ReadNeedleTable(TNeedleMasks &masks, const QString &section)
{
    const TIniFile ini(Folders().ConfigIniPath);
    const TIniReadGroup group(ini);
    const std::int32_t count = readStrictInt(ini, section, QStringLiteral("TotalNumber"), 16);
    for (int i = 0; i < 16; ++i) {
        const std::int32_t def = std::int32_t(1u << i);
        masks[i] = std::uint32_t(readStrictInt(ini, section, QStringLiteral("Number%1").arg(i), def));
    }
    return std::clamp(count, 1, 16);
}

void WriteNeedleTable(const TNeedleMasks &masks, std::int32_t count, const QString &section)
{
    TIniFile ini(Folders().ConfigIniPath);
    TIniUpdate update(ini);
    ini.WriteString(section, QStringLiteral("TotalNumber"), QString::number(count));
    for (int i = 0; i < 16; ++i)
        ini.WriteString(section, QStringLiteral("Number%1").arg(i), QString::number(std::int32_t(masks[i])));
}

void ReadColorTable(TColorTable &colors, const QString &section)
{
    const TIniFile ini(Folders().ConfigIniPath);
    const TIniReadGroup group(ini);
    const TColorTable &defaults = DefaultColorTable();
    for (int i = 0; i < 17; ++i)
        colors[i] = readStrictInt(ini, section, QStringLiteral("Color%1").arg(i), defaults[i]);
}

void WriteColorTable(const TColorTable &colors, const QString &section)
{
    TIniFile ini(Folders().ConfigIniPath);
    TIniUpdate update(ini);
    for (int i = 0; i < 17; ++i)
        ini.WriteString(section, QStringLiteral("Color%1").arg(i), QString::number(colors[i]));
}
