#pragma once
// Whole-file reading and writing for the picture files. Writing goes through a temporary
// file in the target's folder that replaces the target only when complete, so a failed
// save leaves the old file (or no file) as it was.

#include <QByteArray>
#include <QString>

class QFile;

// The largest file the picture readers read into memory.
constexpr qint64 MaxPictureFileSize = qint64(1) << 30;

bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error = nullptr);
// Reads the whole file; fails with a message when it cannot be opened or read or is
// larger than MaxPictureFileSize.
bool ReadWholeFile(const QString &fileName, QByteArray &bytes, QString *error = nullptr);
// Opens the file for reading with the checks of ReadWholeFile that come before reading:
// fails with its messages when the file cannot be opened or is larger than
// MaxPictureFileSize. A device without a size (a pipe) passes; ReadWholeFile reads it.
bool OpenFileToRead(const QString &fileName, QFile &file, QString *error = nullptr);
