#pragma once
// The hand-over of a second start to the running instance.
// Only one instance of the program runs per user. A second start sends its file to the
// first and ends: one message over a local socket, a 4-byte little-endian length and
// that many bytes of an absolute path as the file system holds it (length 0: no file,
// only raise the window). The bytes are the name's own, so a name that is not UTF-8 (a
// GBK name from a Windows share) reaches the running instance as the same file. The
// receiver ignores anything malformed: a length beyond the bound, a path that is not
// absolute or holds a NUL.
//
// The lock file and the socket live in a folder of this user's own, and whatever another
// user owns there is not trusted (see TSingleInstance).

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

// False with a message when absolutePath is too long for the message: a second start
// then tells the person so instead of handing over a path the running instance drops.
bool CheckHandOverPath(const QString &absolutePath, QString *error = nullptr);

// ---- Whose files these are ---------------------------------------------------------

// "dorwen-cad-<uid>" in tempFolder: this user's folder for the lock and the socket where
// there is no runtime folder.
QString UserTempFolder(const QString &tempFolder);
// True when folder is a real folder (not a link) of this user that no one else may write
// into. With create, a missing folder is made first, with mode 0700.
bool IsOwnPrivateFolder(const QString &folder, bool create = false);
enum class TFileOwner {
    Missing, // nothing by that name
    ThisUser,
    Foreign, // another user's
};
// The owner of the file itself (a link is not followed).
TFileOwner FileOwner(const QString &fileName);
// True when the process at the other end of the connected local socket fd runs as this
// user.
bool PeerIsThisUser(qintptr socketDescriptor);
