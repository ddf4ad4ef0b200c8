#pragma once
// TIniFile: the ini-file class.
// A small ini-file class with the semantics of the Windows private-profile calls, used for
// "Config.Ini", the recent-file lists and the language files.
//
// - Section names and key names compare without regard to case; surrounding blanks are
//   ignored. When a section or a key occurs twice, the first one wins.
// - A value read by ReadString loses its surrounding blanks, and one pair of matching
//   single or double quotes around it.
// - Lines starting with ';' or '#' are comments. Comments, blank lines and any other line
//   that is not a key line are kept as they are when the file is written.
// - Nothing is cached: every call reads the file again, and every write reads, changes
//   and replaces the whole file atomically (QSaveFile), so an interrupted write leaves the
//   old file as it was.
// - Files are read as UTF-8 when the bytes are valid UTF-8, otherwise as GBK; they are
//   always written as UTF-8. A file larger than MaxFileSize is treated as unreadable:
//   reads give the defaults and writes are refused, so such a file is never cut short.

#include <QString>
#include <QStringList>

#include <cstdint>

class TIniFile {
public:
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    explicit TIniFile(const QString &fileName);

    const QString &FileName() const { return m_fileName; }

    // The value of Key in Section, or Default when the file, section or key is missing.
    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // Decimal, or hexadecimal after "0x" or "$"; a value that is not a 32-bit integer gives
    // Default.
    std::int32_t ReadInteger(const QString &section, const QString &key, std::int32_t def) const;
    // Stored as an integer; any non-zero integer is true.
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    // "." or "," as the decimal separator; an unreadable value gives Default.
    double ReadFloat(const QString &section, const QString &key, double def) const;
    // The key lines of Section in file order as "key=value" (the value as it stands in the
    // file, quotes and blanks included); empty when the section is missing.
    QStringList ReadSectionValues(const QString &section) const;
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;

    // Each writer replaces the first line of Key in Section, or adds it after the section's
    // last key line, adding the section at the end of the file when it is missing.
    // Returns false when the file could not be read or written; the file is then unchanged.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, std::int32_t value);
    bool WriteBool(const QString &section, const QString &key, bool value);
    bool WriteFloat(const QString &section, const QString &key, double value);

    // Floating values as written: "." as the separator, up to 15 significant digits.
    static QString FormatFloat(double value);
    // Bytes of a text file: UTF-8 when valid (a leading byte-order mark dropped), else GBK.
    static QString DecodeText(const QByteArray &bytes);

private:
    QString m_fileName;
};
