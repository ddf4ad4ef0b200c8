#pragma once
// The hand-over of a second start to the running instance.
// Only one instance of the program runs per user. A second start sends its file to the
// first and ends: one message over a local socket, a 4-byte little-endian length and
// that many bytes of an absolute path in UTF-8 (length 0: no file, only raise the
// window). The receiver ignores anything malformed: a length beyond the bound, bytes that
// are not UTF-8, a path that is not absolute or holds a NUL.

#include <QByteArray>
#include <QString>

// The window class name that names the running instance.
inline constexpr const char *MainWindowClassName = "Velmora Quenvali";
// The largest path a message carries, in bytes.
constexpr int MaxHandOverPathBytes = 16 * 1024;

// The name of the lock file and the local socket of this user's instance.
QString SingleInstanceKey();

QByteArray EncodeHandOver(const QString &absolutePath);

enum class THandOverState {
    Incomplete, // more bytes are needed
    Complete, // path holds the file, or is empty for "only raise"
    Malformed, // ignore the message and drop the connection
};
// Decodes the bytes received so far.
THandOverState DecodeHandOver(const QByteArray &bytes, QString &path);
