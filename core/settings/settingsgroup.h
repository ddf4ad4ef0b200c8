#pragma once
// TSettingsSection: one settings section read or written key by key.
// Reads and writes the fields of one settings section, key by key, in the order called,
// through one ini object: the reads of a record read the file once, and the writes of a
// record are one read-modify-write of the file. Internal to the settings store.

#include "core/settings/inifile.h"
#include "core/settings/sharedstate.h"

class TSettingsSection {
public:
    explicit TSettingsSection(const char *section)
        : m_ini(Folders().ConfigIniPath)
        , m_section(QLatin1String(section))
    {
    }
    void read(const char *key, std::int32_t &value) const
    {
        value = m_ini.ReadInteger(m_section, QLatin1String(key), value);
    }
    void read(const char *key, bool &value) const
    {
        value = m_ini.ReadBool(m_section, QLatin1String(key), value);
    }
    void read(const char *key, double &value) const
    {
        value = m_ini.ReadFloat(m_section, QLatin1String(key), value);
    }
    bool readBool(const char *key, bool def) const
    {
        return m_ini.ReadBool(m_section, QLatin1String(key), def);
    }
    void write(const char *key, std::int32_t value)
    {
        m_ini.WriteInteger(m_section, QLatin1String(key), value);
    }
    void write(const char *key, bool value) { m_ini.WriteBool(m_section, QLatin1String(key), value); }
    void write(const char *key, double value) { m_ini.WriteFloat(m_section, QLatin1String(key), value); }
    TIniFile &file() { return m_ini; }
    const TIniFile &file() const { return m_ini; }

private:
    TIniFile m_ini;
    QString m_section;
};

// Reads a record whose fields a visitor lists as (key, field) pairs in file order. The
// reading starts from the record's defaults, so a missing key gives its default whatever
// the record held before.
template <class Record, class Visit> void ReadSettingsRecord(const char *section, Record &record, Visit visit)
{
    const TSettingsSection s(section);
    const TIniReadGroup group(s.file());
    Record fresh;
    visit(fresh, [&](const char *key, auto &field) { s.read(key, field); });
    record = fresh;
}

template <class Record, class Visit>
void WriteSettingsRecord(const char *section, const Record &record, Visit visit)
{
    TSettingsSection s(section);
    TIniUpdate update(s.file());
    visit(record, [&](const char *key, const auto &field) { s.write(key, field); });
}
