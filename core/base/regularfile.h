#pragma once
// Reading small text files (settings and language files) safely: only regular files are
// opened, since opening a FIFO blocks until a writer appears and a device such as
// /dev/zero never ends; and no more than a given number of bytes is ever read.

#include <QByteArray>
#include <QString>

#include <cstdint>

// What identifies one version of a file: a write changes the size or the modification and
// status-change times (as far as their resolution shows), or, for a file replaced by
// renaming, the inode.
struct TFileStamp {
    std::uint64_t Device = 0, Inode = 0;
    std::int64_t Size = -1;
    std::int64_t ModifiedNs = 0, ChangedNs = 0; // nanoseconds since the epoch
    bool operator==(const TFileStamp &) const = default;
};

enum class TFileKind {
    Missing, // nothing of that name (or a dangling symbolic link)
    Regular, // a regular file, directly or through symbolic links
    Other, // a folder, FIFO, socket or device, or a name that cannot be looked at
};

// The kind of the file the name leads to and, for a regular file, its stamp.
TFileKind StatFile(const QString &fileName, TFileStamp *stamp = nullptr);

enum class TFileRead { Missing, Read, Refused };

// Reads the whole file into bytes when it is a regular file of at most maxSize bytes, and
// gives the stamp of the version read. Refused: not a regular file, larger than maxSize, or
// unreadable; bytes are then left empty. Never blocks on a FIFO.
TFileRead ReadRegularFile(
    const QString &fileName, std::int64_t maxSize, QByteArray &bytes, TFileStamp &stamp);

// The wall-clock time in nanoseconds since the epoch, the clock file times are taken from.
std::int64_t FileClockNowNs();
