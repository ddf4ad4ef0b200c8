#include "core/inifile.h"

#include "core/numparse.h"
#include "core/regularfile.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <deque>
#include <vector>

namespace {

enum class LineKind { Other, Section, Key };

// The parts of a line are views into text that the IniText holding the line keeps.
struct IniLine {
    QStringView text;   // the line as it stands, without its line break
    LineKind kind = LineKind::Other;
    QStringView name;   // section or key name, blanks removed
    QStringView value;  // key lines: everything after the first '=' (raw)
};

// A section or key name as the lookup tables hold it: compared and hashed without regard
// to case, the way the profile calls compare names.
struct NoCaseName {
    QStringView text;
    friend bool operator==(NoCaseName a, NoCaseName b)
    {
        return a.text.compare(b.text, Qt::CaseInsensitive) == 0;
    }
    friend size_t qHash(NoCaseName name, size_t seed) noexcept
    {
        // FNV-1a over the case-folded code points, so that names equal without regard to
        // case hash alike.
        size_t h = seed ^ size_t(14695981039346656037ull);
        const QStringView t = name.text;
        for (qsizetype i = 0; i < t.size(); ++i) {
            char32_t c = t[i].unicode();
            if (c < 0x80) {
                if (c >= 'A' && c <= 'Z')
                    c += 'a' - 'A';
            } else {
                if (QChar::isHighSurrogate(c) && i + 1 < t.size() && t[i + 1].isLowSurrogate())
                    c = QChar::surrogateToUcs4(char16_t(c), t[++i].unicode());
                c = QChar::toCaseFolded(c);
            }
            h = (h ^ size_t(c)) * size_t(1099511628211ull);
        }
        return h;
    }
};

// The first section of one name, and its keys: key name -> line of its first occurrence,
// filled when the section is first searched.
struct SectionIndex {
    int header = -1;
    bool keysListed = false;
    QHash<NoCaseName, int> keys;
};

struct IniText {
    IniText() = default;
    IniText(IniText &&) = default;
    IniText &operator=(IniText &&) = default;
    IniText(const IniText &) = delete; // the lines are views into this object's own text
    IniText &operator=(const IniText &) = delete;

    std::vector<IniLine> lines;
    QString eol = QStringLiteral("\n");
    QString source;            // the file as read; the lines read are views into it
    std::deque<QString> added; // the text of lines written since, likewise
    // Lookup tables, so that lookups in a large file do not walk all its lines: valid while
    // `indexed`; a line inserted before the end clears it and the next lookup rebuilds them.
    bool indexed = false;
    QHash<NoCaseName, int> sectionIds; // section name -> position in `sections`
    std::vector<SectionIndex> sections;
};

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

std::atomic<std::uint64_t> g_parses{0};
std::atomic<std::uint64_t> g_saves{0};

IniLine parseLine(QStringView text)
{
    IniLine line;
    line.text = text;
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return line;
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        line.kind = LineKind::Section;
        line.name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
        return line;
    }
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq < 0)
        return line;
    line.kind = LineKind::Key;
    line.name = text.left(eq).trimmed();
    line.value = text.mid(eq + 1);
    return line;
}

// A line the program writes, kept by ini.
IniLine addedLine(IniText &ini, const QString &text)
{
    ini.added.push_back(text);
    return parseLine(ini.added.back());
}

void parseText(const QByteArray &bytes, IniText &ini)
{
    ++g_parses;
    ini = IniText();
    ini.source = TIniFile::DecodeText(bytes);
    const QStringView text(ini.source);
    if (text.contains(QLatin1String("\r\n")))
        ini.eol = QStringLiteral("\r\n");
    ini.lines.reserve(std::size_t(text.count(QLatin1Char('\n'))) + 1);
    // Lines end at '\n', a '\r' before it dropped; a final line break starts no line.
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QStringView part = text.sliced(start, end - start);
        if (part.endsWith(QLatin1Char('\r')))
            part.chop(1);
        ini.lines.push_back(parseLine(part));
        start = end + 1;
    }
}

void buildIndex(IniText &ini)
{
    ini.sectionIds.clear();
    ini.sections.clear();
    for (int i = 0; i < int(ini.lines.size()); ++i) {
        const IniLine &line = ini.lines[i];
        // Only the first section of a name is ever searched.
        if (line.kind == LineKind::Section && !ini.sectionIds.contains(NoCaseName{line.name})) {
            ini.sectionIds.insert(NoCaseName{line.name}, int(ini.sections.size()));
            ini.sections.push_back(SectionIndex{i, false, {}});
        }
    }
    ini.indexed = true;
}

// One past the last line belonging to the section whose header is at `header`.
int sectionEnd(const IniText &ini, int header)
{
    int i = header + 1;
    while (i < int(ini.lines.size()) && ini.lines[i].kind != LineKind::Section)
        ++i;
    return i;
}

// The index entry of the first section of the name, its keys listed; or null.
SectionIndex *findSection(IniText &ini, QStringView section)
{
    if (!ini.indexed)
        buildIndex(ini);
    const auto it = ini.sectionIds.constFind(NoCaseName{section.trimmed()});
    if (it == ini.sectionIds.constEnd())
        return nullptr;
    SectionIndex &s = ini.sections[*it];
    if (!s.keysListed) {
        const int end = sectionEnd(ini, s.header);
        for (int i = s.header + 1; i < end; ++i) {
            if (ini.lines[i].kind != LineKind::Key)
                continue;
            const qsizetype before = s.keys.size();
            int &first = s.keys[NoCaseName{ini.lines[i].name}];
            if (s.keys.size() != before) // the first duplicate wins
                first = i;
        }
        s.keysListed = true;
    }
    return &s;
}

const IniLine *findKey(IniText &ini, QStringView section, QStringView key)
{
    const SectionIndex *s = findSection(ini, section);
    if (!s)
        return nullptr;
    const auto it = s->keys.constFind(NoCaseName{key.trimmed()});
    return it == s->keys.constEnd() ? nullptr : &ini.lines[*it];
}

// Replaces the first line of the key in the section, or adds it after the section's last
// key line, adding the section at the end when it is missing. The names are trimmed.
void setValue(IniText &ini, const QString &sectionName, const QString &keyName, const QString &value)
{
    const IniLine newLine = addedLine(ini, keyName + QLatin1Char('=') + value);
    SectionIndex *s = findSection(ini, sectionName);
    if (!s) {
        // Lines added at the end move no other line: the tables stay valid.
        const int header = int(ini.lines.size());
        ini.lines.push_back(addedLine(ini, QLatin1Char('[') + sectionName + QLatin1Char(']')));
        ini.lines.push_back(newLine);
        ini.sectionIds.insert(NoCaseName{ini.lines[header].name}, int(ini.sections.size()));
        ini.sections.push_back(SectionIndex{header, true, {{NoCaseName{newLine.name}, header + 1}}});
        return;
    }
    const auto it = s->keys.constFind(NoCaseName{newLine.name});
    if (it != s->keys.constEnd()) {
        ini.lines[*it] = newLine;
        return;
    }
    const int end = sectionEnd(ini, s->header);
    int lastKey = s->header;
    for (int i = s->header + 1; i < end; ++i)
        if (ini.lines[i].kind == LineKind::Key)
            lastKey = i;
    const int at = lastKey + 1;
    ini.lines.insert(ini.lines.begin() + at, newLine);
    if (at == int(ini.lines.size()) - 1)
        s->keys.insert(NoCaseName{newLine.name}, at);
    else
        ini.indexed = false;
}

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
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

// The file as this object last saw it, and an open group of writes.
struct TIniFile::State {
    explicit State(qint64 maxSize) : maxFileSize(maxSize) {}

    qint64 maxFileSize;
    bool known = false; // result, ini, bytes and stamp describe the file
    LoadResult result = LoadResult::Missing;
    IniText ini;        // empty unless Loaded (or changed by an open group)
    QByteArray bytes;   // the bytes parsed into ini; empty after this object wrote the file
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
            parseText(data, ini);
            bytes = data;
            bytesKnown = true;
            result = LoadResult::Loaded;
            known = true;
        }
        stamp = readStamp;
        readAtNs = readAt;
    }
};

std::uint64_t TIniFile::ParseCount() { return g_parses.load(); }
std::uint64_t TIniFile::SaveCount() { return g_saves.load(); }

TIniFile::TIniFile(const QString &fileName, qint64 maxFileSize)
    : m_fileName(fileName), m_state(std::make_unique<State>(maxFileSize))
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

TIniReadGroup::~TIniReadGroup() { m_ini->endReadGroup(); }

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

QString TIniFile::FormatFloat(double value) { return QString::number(value, 'g', 15); }

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    State &s = loaded();
    if (s.result == LoadResult::Unreadable)
        return def;
    const IniLine *line = findKey(s.ini, section, key);
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
    const SectionIndex *index = findSection(s.ini, section);
    if (!index)
        return out;
    const int end = sectionEnd(s.ini, index->header);
    for (int i = index->header + 1; i < end; ++i)
        if (s.ini.lines[i].kind == LineKind::Key) {
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
    return s.result != LoadResult::Unreadable && findSection(s.ini, section) != nullptr;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    State &s = loaded();
    return s.result != LoadResult::Unreadable && findKey(s.ini, section, key) != nullptr;
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
    setValue(s.ini, sectionName, keyName, value);
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
