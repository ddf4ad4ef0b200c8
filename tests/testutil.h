#pragma once
// Small helpers shared by the tests.

#include "core/palette/palette.h"
#include "core/settings/inifile.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <vector>

// An 8-bit picture from rows of colour indexes (row 0 = top) with the given palette.
QImage MakePicture(std::initializer_list<std::vector<int>> rows, const TPalette256 &palette);
QImage MakePicture(std::initializer_list<std::vector<int>> rows);
// The rows of colour indexes of an 8-bit picture.
std::vector<std::vector<int>> PictureRows(const QImage &img);
// A palette where entry i is (i, i, i).
TPalette256 GreyPalette();
// Reads or writes a whole file.
QByteArray ReadAll(const QString &path);
bool WriteAll(const QString &path, const QByteArray &bytes);
// Sets a file's modification time to the given number of seconds ago.
bool AgeFile(const QString &path, int seconds);
// Runs fn in a thread. When it has not returned after ms milliseconds, the FIFO is opened
// and closed for writing, which frees a reader blocked on it, and the result is false.
bool ReturnsWithoutBlockingOn(const QString &fifo, const std::function<void()> &fn, int ms = 5000);
// Counts the parses and writes of ini files between its creation and a call.
struct IniCounts {
    std::uint64_t parses = TIniFile::ParseCount(), saves = TIniFile::SaveCount();
    std::uint64_t parsed() const { return TIniFile::ParseCount() - parses; }
    std::uint64_t saved() const { return TIniFile::SaveCount() - saves; }
};
// Hex bytes such as "0A 1B ff" to bytes.
QByteArray Hex(const char *text);

// A 64 KiB tmpfs mounted on a temporary folder, for saves on a full disk. Mounting needs
// root; when it cannot be mounted, IsMounted() is false and Why() says why.
class TSmallDisk {
public:
    TSmallDisk();
    ~TSmallDisk();
    TSmallDisk(const TSmallDisk &) = delete;
    TSmallDisk &operator=(const TSmallDisk &) = delete;
    bool IsMounted() const { return m_mounted; }
    QString Why() const { return m_why; }
    QString FilePath(const QString &name) const;
    // Fills every free byte with a filler file; true when the disk is full.
    bool Fill();
    // The names in the disk's root folder.
    QStringList Entries() const;

private:
    QString m_path;
    bool m_mounted = false;
    QString m_why;
};

// Mounts the file `source` over the file `target` (a name that cannot be renamed or
// replaced while mounted); false when it cannot (not root). UnmountFile undoes it.
bool BindMountFile(const QString &source, const QString &target);
void UnmountFile(const QString &target);

// Runs fn on a thread and waits at most `seconds`; a call still running then (blocked on a
// FIFO, reading an endless device) stops the whole test program with a message, since
// such a call cannot be cancelled.
void RunWithin(int seconds, const char *what, const std::function<void()> &fn);

// Removes what folder holds, whatever the bytes of the names (QTemporaryDir cannot remove
// names that are not UTF-8); the folder itself stays.
void EmptyFolderByBytes(const QString &folder);
