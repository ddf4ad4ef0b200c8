#include "shell/handover.h"

#include "core/base/error.h"
#include "core/base/localname.h"
#include "core/settings/uitexts.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

QString SingleInstanceKey()
{
    return QStringLiteral("%1-%2").arg(QLatin1String(MainWindowClassName)).arg(::getuid());
}

QByteArray EncodeHandOver(const QString &absolutePath)
{
    const QByteArray path = LocalFileName(absolutePath);
    QByteArray message(4, '\0');
    const quint32 n = quint32(path.size());
    for (int i = 0; i < 4; ++i)
        message[i] = char((n >> (8 * i)) & 0xFF);
    return message + path;
}

THandOverState DecodeHandOver(const QByteArray &bytes, QString &path)
{
    path.clear();
    if (bytes.size() < 4)
        return THandOverState::Incomplete;
    quint32 n = 0;
    for (int i = 0; i < 4; ++i)
        n |= quint32(quint8(bytes[i])) << (8 * i);
    if (n > quint32(MaxHandOverPathBytes))
        return THandOverState::Malformed;
    if (bytes.size() < qsizetype(4 + n))
        return THandOverState::Incomplete;
    if (bytes.size() > qsizetype(4 + n))
        return THandOverState::Malformed;
    const QByteArray raw = bytes.mid(4);
    if (raw.contains('\0'))
        return THandOverState::Malformed;
    if (!raw.isEmpty() && !raw.startsWith('/'))
        return THandOverState::Malformed;
    path = FileNameFromLocal(raw);
    return THandOverState::Complete;
}

bool CheckHandOverPath(const QString &absolutePath, QString *error)
{
    const qsizetype bytes = LocalFileName(absolutePath).size();
    if (bytes <= MaxHandOverPathBytes)
        return true;
    return Fail(error, GetUiMessage(UiKey::String::HandOverPathTooLong).arg(bytes).arg(MaxHandOverPathBytes));
}

QString UserTempFolder(const QString &tempFolder)
{
    return QDir(tempFolder).filePath(QStringLiteral("dorwen-cad-%1").arg(::getuid()));
}

bool IsOwnPrivateFolder(const QString &folder, bool create)
{
    const QByteArray path = QFile::encodeName(folder);
    if (create && ::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return st.st_uid == ::getuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

TFileOwner FileOwner(const QString &fileName)
{
    struct stat st;
    if (::lstat(QFile::encodeName(fileName).constData(), &st) != 0)
        return errno == ENOENT ? TFileOwner::Missing : TFileOwner::Foreign;
    return st.st_uid == ::getuid() ? TFileOwner::ThisUser : TFileOwner::Foreign;
}

bool PeerIsThisUser(qintptr socketDescriptor)
{
    struct ucred peer { };
    socklen_t length = sizeof peer;
    if (socketDescriptor < 0
        || ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0
        || length != sizeof peer)
        return false;
    return peer.uid == ::getuid();
}
