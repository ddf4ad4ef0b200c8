#include "core/settings/inifile.h"

#include "core/base/filewrite.h"
#include "core/base/numparse.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <vector>

namespace {

enum class LineKind { Other, Section, Key };

struct IniLine {
    QString text;   // the line as it stands, without its line break
    LineKind kind = LineKind::Other;
    QString name;   // section or key name, blanks removed
    QString value;  // key lines: everything after the first '=' (raw)
};

struct IniText {
    std::vector<IniLine> lines;
    QString eol = QStringLiteral("\n");
};

enum class LoadResult { Missing, Loaded, Unreadable };

IniLine parseLine(const QString &text)
{
    IniLine line;
    line.text = text;
    const QString t = text.trimmed();
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

LoadResult load(const QString &fileName, IniText &ini)
{
    QFile file(fileName);
    if (!file.exists())
        return LoadResult::Missing;
    if (file.size() > TIniFile::MaxFileSize || !file.open(QIODevice::ReadOnly))
        return LoadResult::Unreadable;
    const QByteArray bytes = file.read(TIniFile::MaxFileSize + 1);
    if (bytes.size() > TIniFile::MaxFileSize)
        return LoadResult::Unreadable;
    const QString text = TIniFile::DecodeText(bytes);
    if (text.contains(QLatin1String("\r\n")))
        ini.eol = QStringLiteral("\r\n");
    QStringList parts = text.split(QLatin1Char('\n'));
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    ini.lines.reserve(parts.size());
    for (QString &part : parts) {
        if (part.endsWith(QLatin1Char('\r')))
            part.chop(1);
        ini.lines.push_back(parseLine(part));
    }
    return LoadResult::Loaded;
}

bool same(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Index of the first header of the section, or -1.
int findSection(const IniText &ini, const QString &section)
{
    const QString name = section.trimmed();
    for (std::size_t i = 0; i < ini.lines.size(); ++i)
        if (ini.lines[i].kind == LineKind::Section && same(ini.lines[i].name, name))
            return int(i);
    return -1;
}

// One past the last line belonging to the section whose header is at `header`.
int sectionEnd(const IniText &ini, int header)
{
    int i = header + 1;
    while (i < int(ini.lines.size()) && ini.lines[i].kind != LineKind::Section)
        ++i;
    return i;
}

const IniLine *findKey(const IniText &ini, const QString &section, const QString &key)
{
    const int header = findSection(ini, section);
    if (header < 0)
        return nullptr;
    const QString name = key.trimmed();
    const int end = sectionEnd(ini, header);
    for (int i = header + 1; i < end; ++i)
        if (ini.lines[i].kind == LineKind::Key && same(ini.lines[i].name, name))
            return &ini.lines[i];
    return nullptr;
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

TIniFile::TIniFile(const QString &fileName)
    : m_fileName(fileName)
{
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
    IniText ini;
    if (load(m_fileName, ini) != LoadResult::Loaded)
        return def;
    const IniLine *line = findKey(ini, section, key);
    return line ? unquote(line->value) : def;
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
    IniText ini;
    if (load(m_fileName, ini) != LoadResult::Loaded)
        return out;
    const int header = findSection(ini, section);
    if (header < 0)
        return out;
    const int end = sectionEnd(ini, header);
    for (int i = header + 1; i < end; ++i)
        if (ini.lines[i].kind == LineKind::Key)
            out << ini.lines[i].name + QLatin1Char('=') + ini.lines[i].value;
    return out;
}

bool TIniFile::SectionExists(const QString &section) const
{
    IniText ini;
    return load(m_fileName, ini) == LoadResult::Loaded && findSection(ini, section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    IniText ini;
    return load(m_fileName, ini) == LoadResult::Loaded && findKey(ini, section, key) != nullptr;
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
    IniText ini;
    if (load(m_fileName, ini) == LoadResult::Unreadable)
        return false;
    const IniLine newLine = parseLine(keyName + QLatin1Char('=') + value);
    const int header = findSection(ini, sectionName);
    if (header < 0) {
        ini.lines.push_back(parseLine(QLatin1Char('[') + sectionName + QLatin1Char(']')));
        ini.lines.push_back(newLine);
        return save(m_fileName, ini);
    }
    const int end = sectionEnd(ini, header);
    int lastKey = header;
    for (int i = header + 1; i < end; ++i) {
        if (ini.lines[i].kind != LineKind::Key)
            continue;
        if (same(ini.lines[i].name, keyName)) {
            ini.lines[i] = newLine;
            return save(m_fileName, ini);
        }
        lastKey = i;
    }
    ini.lines.insert(ini.lines.begin() + lastKey + 1, newLine);
    return save(m_fileName, ini);
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
