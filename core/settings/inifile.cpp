#include "core/settings/inifile.h"

#include "core/base/filewrite.h"
#include "core/base/numparse.h"
#include "core/base/regularfile.h"
#include "core/settings/initext.h"

#include <QDeadlineTimer>
#include <QLockFile>
#include <QStringDecoder>
#include <QThread>

#include <algorithm>
#include <atomic>

namespace {

using IniParse::IniLine;
using IniParse::IniText;

enum class LoadResult { Missing, Loaded, Unreadable };

// A file younger than this, as the clock goes, may be changed again without its time stamp
// changing (time stamps advance in steps of a clock tick, or of seconds on some file
// systems), so its bytes are compared instead.
constexpr std::int64_t kRacyNs = std::int64_t(2) * 1000 * 1000 * 1000;
// A lock older than this is taken to be left over by a program that stopped while writing;
// a write holds it for well under a second.
constexpr int kLockStaleMs = 10000;
// How long a write waits for another program's write to end before it fails.
constexpr int kLockWaitMs = 12000;

std::atomic<std::uint64_t> g_parses { 0 };
std::atomic<std::uint64_t> g_saves { 0 };

bool acquireLock(QLockFile &lock)
{
    const QDeadlineTimer deadline(kLockWaitMs);
    unsigned long pause = 1;
    for (;;) {
        // tryLock also takes over a lock left by a program that no longer runs.
        if (lock.tryLock(0))
            return true;
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(pause);
        pause = std::min<unsigned long>(pause * 2, 20);
    }
}

// The value as the profile call returns it: blanks and one pair of matching quotes removed.
QString unquote(const QString &raw)
{
    QString v = raw.trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\''))
        && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

bool save(const QString &fileName, const IniText &ini)
{
    QString text;
    for (const IniLine &line : ini.lines) {
        text += line.text;
        text += ini.eol;
    }
    return WriteFileAtomically(fileName, text.toUtf8());
}

} // namespace

// The file as this object last saw it, and an open group of writes.
struct TIniFile::State {
    explicit State(qint64 maxSize)
        : maxFileSize(maxSize)
    {
    }

    qint64 maxFileSize;
    bool known = false; // result, ini, bytes and stamp describe the file
    LoadResult result = LoadResult::Missing;
    IniText ini; // empty unless Loaded (or changed by an open group)
    QByteArray bytes; // the bytes parsed into ini; empty after this object wrote the file
    bool bytesKnown = false;
    TFileStamp stamp;
    std::int64_t readAtNs = 0; // when the file was last seen to hold what ini holds

    int readDepth = 0; // open read groups: the file was looked at when the first began
    int updateDepth = 0;
    bool updateFailed = false; // the group cannot write: not locked, or the file unreadable
    bool dirty = false;
    std::unique_ptr<QLockFile> lock;

    void forget(LoadResult r)
    {
        known = true;
        result = r;
        ini = IniText();
        bytes.clear();
        bytesKnown = false;
    }

    // Brings result and ini up to date with the file, parsing it only when it changed.
    void refresh(const QString &fileName)
    {
        TFileStamp now;
        switch (StatFile(fileName, &now)) {
        case TFileKind::Missing:
            forget(LoadResult::Missing);
            return;
        case TFileKind::Other:
            forget(LoadResult::Unreadable);
            return;
        case TFileKind::Regular:
            break;
        }
        if (known && result == LoadResult::Loaded && now == stamp && readAtNs - stamp.ModifiedNs > kRacyNs)
            return;
        const std::int64_t readAt = FileClockNowNs();
        QByteArray data;
        TFileStamp readStamp;
        switch (ReadRegularFile(fileName, maxFileSize, data, readStamp)) {
        case TFileRead::Missing:
            forget(LoadResult::Missing);
            return;
        case TFileRead::Refused:
            forget(LoadResult::Unreadable);
            return;
        case TFileRead::Read:
            break;
        }
        if (!(known && result == LoadResult::Loaded && bytesKnown && data == bytes)) {
            ++g_parses;
            ini.parse(data);
            bytes = data;
            bytesKnown = true;
            result = LoadResult::Loaded;
            known = true;
        }
        stamp = readStamp;
        readAtNs = readAt;
    }
};

std::uint64_t TIniFile::ParseCount()
{
    return g_parses.load();
}
std::uint64_t TIniFile::SaveCount()
{
    return g_saves.load();
}

TIniFile::TIniFile(const QString &fileName, qint64 maxFileSize)
    : m_fileName(fileName)
    , m_state(std::make_unique<State>(maxFileSize))
{
}

TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile &&) noexcept = default;
TIniFile &TIniFile::operator=(TIniFile &&) noexcept = default;

TIniFile::State &TIniFile::loaded() const
{
    // An open group looked at the file when it began; a group of writes also holds the lock.
    const bool writing = m_state->updateDepth > 0 && !m_state->updateFailed;
    if (m_state->readDepth == 0 && !writing)
        m_state->refresh(m_fileName);
    return *m_state;
}

void TIniFile::beginReadGroup() const
{
    if (m_state->readDepth == 0)
        loaded();
    ++m_state->readDepth;
}

void TIniFile::endReadGroup() const
{
    if (m_state->readDepth > 0)
        --m_state->readDepth;
}

TIniReadGroup::TIniReadGroup(const TIniFile &ini)
    : m_ini(&ini)
{
    m_ini->beginReadGroup();
}

TIniReadGroup::~TIniReadGroup()
{
    m_ini->endReadGroup();
}

bool TIniFile::beginUpdate()
{
    State &s = *m_state;
    if (s.updateDepth++ > 0)
        return !s.updateFailed;
    s.dirty = false;
    s.updateFailed = true;
    if (m_fileName.isEmpty())
        return false;
    s.lock = std::make_unique<QLockFile>(m_fileName + QStringLiteral(".lock"));
    s.lock->setStaleLockTime(kLockStaleMs);
    if (!acquireLock(*s.lock)) {
        s.lock.reset();
        return false;
    }
    s.refresh(m_fileName);
    s.updateFailed = s.result == LoadResult::Unreadable;
    return !s.updateFailed;
}

bool TIniFile::endUpdate()
{
    State &s = *m_state;
    if (s.updateDepth == 0)
        return false;
    if (--s.updateDepth > 0)
        return !s.updateFailed;
    bool ok = !s.updateFailed;
    if (ok && s.dirty) {
        ++g_saves;
        ok = save(m_fileName, s.ini);
        if (ok) {
            // What was written is what ini holds; the bytes are read again when next
            // checked. The stamp is taken while the lock still keeps other writers out.
            s.result = LoadResult::Loaded;
            s.bytes.clear();
            s.bytesKnown = false;
            s.known = StatFile(m_fileName, &s.stamp) == TFileKind::Regular;
            s.readAtNs = FileClockNowNs();
        } else {
            s.known = false;
        }
    }
    s.dirty = false;
    s.updateFailed = false;
    s.lock.reset();
    return ok;
}

TIniUpdate::TIniUpdate(TIniFile &ini)
    : m_ini(&ini)
{
    m_ini->beginUpdate();
}

TIniUpdate::~TIniUpdate()
{
    if (m_open)
        m_ini->endUpdate();
}

bool TIniUpdate::Commit()
{
    if (!m_open)
        return false;
    m_open = false;
    return m_ini->endUpdate();
}

QString TIniFile::DecodeText(const QByteArray &bytes)
{
    QByteArray data = bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    QStringDecoder gbk("GBK");
    if (gbk.isValid())
        return gbk.decode(data);
    return QString::fromLatin1(data);
}

QString TIniFile::FormatFloat(double value)
{
    return QString::number(value, 'g', 15);
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    State &s = loaded();
    if (s.result == LoadResult::Unreadable)
        return def;
    const IniLine *line = s.ini.findKey(section, key);
    return line ? unquote(line->value.toString()) : def;
}

std::int32_t TIniFile::ReadInteger(const QString &section, const QString &key, std::int32_t def) const
{
    std::int32_t v = def;
    return TryStrToInt(ReadString(section, key, QString()), v) ? v : def;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString &section, const QString &key, double def) const
{
    double v = def;
    return TryStrToFloat(ReadString(section, key, QString()), v) ? v : def;
}

QStringList TIniFile::ReadSectionValues(const QString &section) const
{
    QStringList out;
    State &s = loaded();
    if (s.result == LoadResult::Unreadable)
        return out;
    const IniParse::SectionIndex *index = s.ini.findSection(section);
    if (!index)
        return out;
    const int end = s.ini.sectionEnd(index->header);
    for (int i = index->header + 1; i < end; ++i)
        if (s.ini.lines[i].kind == IniParse::LineKind::Key) {
            const IniLine &line = s.ini.lines[i];
            QString text;
            text.reserve(line.name.size() + 1 + line.value.size());
            text += line.name;
            text += QLatin1Char('=');
            text += line.value;
            out << text;
        }
    return out;
}

bool TIniFile::SectionExists(const QString &section) const
{
    State &s = loaded();
    return s.result != LoadResult::Unreadable && s.ini.findSection(section) != nullptr;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    State &s = loaded();
    return s.result != LoadResult::Unreadable && s.ini.findKey(section, key) != nullptr;
}

bool TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    // A value with a line break would split into two lines; such names are refused.
    if (sectionName.isEmpty() || keyName.isEmpty() || keyName.contains(QLatin1Char('='))
        || value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))
        || keyName.contains(QLatin1Char('\n')) || sectionName.contains(QLatin1Char('\n')))
        return false;
    TIniUpdate update(*this);
    State &s = *m_state;
    if (s.updateFailed)
        return false;
    s.ini.setValue(sectionName, keyName, value);
    s.dirty = true;
    return update.Commit();
}

bool TIniFile::DeleteKey(const QString &section, const QString &key)
{
    TIniUpdate update(*this);
    State &s = *m_state;
    if (s.updateFailed)
        return false;
    if (s.ini.removeKey(section, key))
        s.dirty = true;
    return update.Commit();
}

bool TIniFile::WriteInteger(const QString &section, const QString &key, std::int32_t value)
{
    return WriteString(section, key, QString::number(value));
}

bool TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::WriteFloat(const QString &section, const QString &key, double value)
{
    return WriteString(section, key, FormatFloat(value));
}
