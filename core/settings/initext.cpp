#include "core/settings/initext.h"

#include "core/settings/inifile.h"

namespace IniParse {

namespace {

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

} // namespace

size_t qHash(NoCaseName name, size_t seed) noexcept
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

IniLine IniText::addedLine(const QString &text)
{
    m_added.push_back(text);
    return parseLine(m_added.back());
}

void IniText::parse(const QByteArray &bytes)
{
    *this = IniText();
    m_source = TIniFile::DecodeText(bytes);
    const QStringView text(m_source);
    // Lines end at '\n', a '\r' before it dropped; a final line break starts no line. A
    // file with any "\r\n" is written back with "\r\n" throughout.
    bool crlf = false;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QStringView part = text.sliced(start, end - start);
        if (part.endsWith(QLatin1Char('\r'))) {
            part.chop(1);
            crlf = crlf || end < text.size();
        }
        lines.push_back(parseLine(part));
        start = end + 1;
    }
    if (crlf)
        eol = QStringLiteral("\r\n");
}

void IniText::buildIndex()
{
    m_sectionIds.clear();
    m_sections.clear();
    for (int i = 0; i < int(lines.size()); ++i) {
        const IniLine &line = lines[i];
        // Only the first section of a name is ever searched.
        if (line.kind == LineKind::Section && !m_sectionIds.contains(NoCaseName { line.name })) {
            m_sectionIds.insert(NoCaseName { line.name }, int(m_sections.size()));
            m_sections.push_back(SectionIndex { i, false, {} });
        }
    }
    m_indexed = true;
}

int IniText::sectionEnd(int header) const
{
    int i = header + 1;
    while (i < int(lines.size()) && lines[i].kind != LineKind::Section)
        ++i;
    return i;
}

SectionIndex *IniText::findSection(QStringView section)
{
    if (!m_indexed)
        buildIndex();
    const auto it = m_sectionIds.constFind(NoCaseName { section.trimmed() });
    if (it == m_sectionIds.constEnd())
        return nullptr;
    SectionIndex &s = m_sections[*it];
    if (!s.keysListed) {
        const int end = sectionEnd(s.header);
        for (int i = s.header + 1; i < end; ++i) {
            if (lines[i].kind != LineKind::Key)
                continue;
            const qsizetype before = s.keys.size();
            int &first = s.keys[NoCaseName { lines[i].name }];
            if (s.keys.size() != before) // the first duplicate wins
                first = i;
        }
        s.keysListed = true;
    }
    return &s;
}

const IniLine *IniText::findKey(QStringView section, QStringView key)
{
    const SectionIndex *s = findSection(section);
    if (!s)
        return nullptr;
    const auto it = s->keys.constFind(NoCaseName { key.trimmed() });
    return it == s->keys.constEnd() ? nullptr : &lines[*it];
}

void IniText::setValue(const QString &sectionName, const QString &keyName, const QString &value)
{
    const IniLine newLine = addedLine(keyName + QLatin1Char('=') + value);
    SectionIndex *s = findSection(sectionName);
    if (!s) {
        // Lines added at the end move no other line: the tables stay valid.
        const int header = int(lines.size());
        lines.push_back(addedLine(QLatin1Char('[') + sectionName + QLatin1Char(']')));
        lines.push_back(newLine);
        m_sectionIds.insert(NoCaseName { lines[header].name }, int(m_sections.size()));
        m_sections.push_back(SectionIndex { header, true, { { NoCaseName { newLine.name }, header + 1 } } });
        return;
    }
    const auto it = s->keys.constFind(NoCaseName { newLine.name });
    if (it != s->keys.constEnd()) {
        lines[*it] = newLine;
        return;
    }
    const int end = sectionEnd(s->header);
    int lastKey = s->header;
    for (int i = s->header + 1; i < end; ++i)
        if (lines[i].kind == LineKind::Key)
            lastKey = i;
    const int at = lastKey + 1;
    lines.insert(lines.begin() + at, newLine);
    if (at == int(lines.size()) - 1)
        s->keys.insert(NoCaseName { newLine.name }, at);
    else
        m_indexed = false;
}

bool IniText::removeKey(QStringView section, QStringView key)
{
    const IniLine *line = findKey(section, key);
    if (!line)
        return false;
    lines.erase(lines.begin() + (line - lines.data()));
    m_indexed = false;
    return true;
}

} // namespace IniParse
