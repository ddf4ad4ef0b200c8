#pragma once
// The parsed text of an ini file, internal to TIniFile (see core/inifile.h for the rules it
// follows). The lines are views into the decoded file and into the lines written since,
// both kept by the IniText; lookup tables make a lookup in a large file cost about as much
// as in a small one.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <deque>
#include <vector>

namespace IniParse {

enum class LineKind { Other, Section, Key };

struct IniLine {
    QStringView text; // the line as it stands, without its line break
    LineKind kind = LineKind::Other;
    QStringView name; // section or key name, blanks removed
    QStringView value; // key lines: everything after the first '=' (raw)
};

// A section or key name as the lookup tables hold it: compared and hashed without regard
// to case, the way the profile calls compare names.
struct NoCaseName {
    QStringView text;
    friend bool operator==(NoCaseName a, NoCaseName b)
    {
        return a.text.compare(b.text, Qt::CaseInsensitive) == 0;
    }
    friend size_t qHash(NoCaseName name, size_t seed) noexcept;
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

    // Replaces the content with the file's bytes (UTF-8 when valid, otherwise GBK).
    void parse(const QByteArray &bytes);
    // The first section of the name (first duplicate wins), its keys listed; or null.
    SectionIndex *findSection(QStringView section);
    // The first line of the key in the first section of the name; or null.
    const IniLine *findKey(QStringView section, QStringView key);
    // One past the last line belonging to the section whose header is at `header`.
    int sectionEnd(int header) const;
    // Replaces the first line of the key in the section, or adds it after the section's
    // last key line, adding the section at the end when it is missing. The names are
    // trimmed and valid (see TIniFile::WriteString).
    void setValue(const QString &sectionName, const QString &keyName, const QString &value);
    // Takes out the first line of the key in the section; false when there is none.
    bool removeKey(QStringView section, QStringView key);

    std::vector<IniLine> lines;
    QString eol = QStringLiteral("\n");

private:
    IniLine addedLine(const QString &text);
    void buildIndex();

    QString m_source; // the file as read; the lines read are views into it
    std::deque<QString> m_added; // the text of lines written since, likewise
    // Valid while m_indexed; a line inserted before the end clears it, and the next lookup
    // rebuilds the tables.
    bool m_indexed = false;
    QHash<NoCaseName, int> m_sectionIds; // section name -> position in m_sections
    std::vector<SectionIndex> m_sections;
};

} // namespace IniParse
