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
// - Reads see the file as it is now: an object keeps the file it parsed last and parses it
//   again only when the file changed (its size, times or inode differ; for a file changed
//   within the last seconds, where a time stamp may not tell, its bytes are compared), so
//   many lookups in a language file parse it once. A TIniReadGroup makes the reads of its
//   lifetime look at the file once.
// - Every write reads, changes and replaces the whole file atomically (WriteFileAtomically), so an
//   interrupted write leaves the old file as it was. The read-modify-write holds the lock
//   file "<file>.lock" (QLockFile), so that two programs writing the same file at once
//   both keep their keys. A TIniUpdate makes a group of writes one read-modify-write.
// - Only regular files are read or written: a FIFO, device or folder of the file's name
//   reads as a missing file and is never written over (writes fail).
// - Files are read as UTF-8 when the bytes are valid UTF-8, otherwise as GBK; they are
//   always written as UTF-8. A file larger than the object's size bound (MaxFileSize
//   unless the constructor is given another) is treated as unreadable: reads give the
//   defaults and writes are refused, so such a file is never loaded whole nor cut short.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class TIniFile {
public:
    // Settings files and recent lists hold a few kilobytes; a hundred thousand recent
    // entries still fit.
    static constexpr qint64 MaxFileSize = 8 * 1024 * 1024;
    // Language files hold a few hundred texts per language.
    static constexpr qint64 MaxLanguageFileSize = 32 * 1024 * 1024;

    explicit TIniFile(const QString &fileName, qint64 maxFileSize = MaxFileSize);
    ~TIniFile();
    TIniFile(TIniFile &&) noexcept;
    TIniFile &operator=(TIniFile &&) noexcept;

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
    // Returns false when the file could not be read, locked or written; the file is then
    // unchanged. Within a TIniUpdate a write changes the copy in memory only and returns
    // whether the group can write the file; TIniUpdate::Commit tells whether it did.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, std::int32_t value);
    bool WriteBool(const QString &section, const QString &key, bool value);
    bool WriteFloat(const QString &section, const QString &key, double value);
    // Takes out the first line of Key in Section (true when there is none to take out);
    // false when the file could not be read, locked or written.
    bool DeleteKey(const QString &section, const QString &key);

    // Floating values as written: "." as the separator, up to 15 significant digits.
    static QString FormatFloat(double value);
    // Bytes of a text file: UTF-8 when valid (a leading byte-order mark dropped), else GBK.
    static QString DecodeText(const QByteArray &bytes);

    // How many times this process has parsed and written ini files: lets tests and
    // benchmarks see that a group of reads or writes parses and writes the file once.
    static std::uint64_t ParseCount();
    static std::uint64_t SaveCount();

private:
    friend class TIniReadGroup;
    friend class TIniUpdate;
    struct State;

    State &loaded() const;
    void beginReadGroup() const;
    void endReadGroup() const;
    bool beginUpdate();
    bool endUpdate();

    QString m_fileName;
    std::unique_ptr<State> m_state;
};

// Makes the reads on one TIniFile during its lifetime see the file as it was when the group
// began: the file is looked at, and read when it changed, once for all of them.
class TIniReadGroup {
public:
    explicit TIniReadGroup(const TIniFile &ini);
    ~TIniReadGroup();
    TIniReadGroup(const TIniReadGroup &) = delete;
    TIniReadGroup &operator=(const TIniReadGroup &) = delete;

private:
    const TIniFile *m_ini;
};

// Makes the reads and writes on one TIniFile during its lifetime a single read-modify-write:
// it takes the file's lock and reads the file once; writes change the copy in memory, which
// later reads see; Commit, or the end of the group, writes the file once when a write
// changed it. Groups on the same object nest; the outermost one writes.
class TIniUpdate {
public:
    explicit TIniUpdate(TIniFile &ini);
    ~TIniUpdate();
    TIniUpdate(const TIniUpdate &) = delete;
    TIniUpdate &operator=(const TIniUpdate &) = delete;

    // Writes the file when a write changed it and ends the group. False when the file
    // could not be locked, read or written (it is then unchanged).
    bool Commit();

private:
    TIniFile *m_ini;
    bool m_open = true;
};
