#include "shell/ui/singleinstance.h"

#include "shell/handover.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace {
constexpr const char *BufferProperty = "handOverBytes";
} // namespace

TSingleInstance::TSingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
{
    if (m_folder.isEmpty()) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (!runtime.isEmpty() && QDir(runtime).exists()) {
            m_folder = runtime;
        } else {
            // Never the shared temporary folder itself: another user could make the lock
            // and the socket there first and take every path handed over.
            m_folder = UserTempFolder(QDir::tempPath());
            m_defaultFolder = true;
        }
    }
}

TSingleInstance::~TSingleInstance()
{
    if (m_server)
        m_server->close();
}

QString TSingleInstance::SocketPath() const
{
    return QDir(m_folder).filePath(SingleInstanceKey() + QStringLiteral(".socket"));
}

QString TSingleInstance::LockPath() const
{
    return QDir(m_folder).filePath(SingleInstanceKey() + QStringLiteral(".lock"));
}

bool TSingleInstance::folderIsOurs()
{
    return IsOwnPrivateFolder(m_folder, m_defaultFolder);
}

TSingleInstance::TRole TSingleInstance::Start()
{
    // Anything another user owns is left alone: this start runs on as the first instance.
    if (!folderIsOurs() || FileOwner(LockPath()) == TFileOwner::Foreign)
        return Unavailable;
    m_lock = std::make_unique<QLockFile>(LockPath());
    // Never stale by age: only a lock whose process is gone is taken over.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        const bool held = m_lock->error() == QLockFile::LockFailedError;
        m_lock.reset();
        return held ? Secondary : Unavailable;
    }
    if (FileOwner(SocketPath()) == TFileOwner::Foreign)
        return Unavailable;
    // A socket file left by a crashed instance would make listening fail.
    QLocalServer::removeServer(SocketPath());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(SocketPath()))
        return Unavailable;
    connect(m_server, &QLocalServer::newConnection, this, &TSingleInstance::accept);
    return Primary;
}

void TSingleInstance::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!PeerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        // The timeout only ends the read: the socket then goes through deleteLater, and no
        // handler holds it, since the file is handled only after the connection is closed.
        QTimer::singleShot(m_readTimeoutMs, socket, [socket] { socket->abort(); });
        readFrom(socket);
    }
}

void TSingleInstance::readFrom(QLocalSocket *socket)
{
    QByteArray bytes = socket->property(BufferProperty).toByteArray();
    // Never more than one message's worth: a longer stream is malformed anyway.
    bytes += socket->read(4 + MaxHandOverPathBytes + 1 - bytes.size());
    socket->setProperty(BufferProperty, bytes);
    QString path;
    switch (DecodeHandOver(bytes, path)) {
    case THandOverState::Incomplete:
        return;
    case THandOverState::Malformed:
        socket->abort();
        return;
    case THandOverState::Complete:
        break;
    }
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    // The sender waits for this: the message was taken. Opening the file may show a modal
    // box for as long as the person likes; the connection must not wait for it.
    socket->disconnectFromServer();
    QMetaObject::invokeMethod(
        this, [this, path] { Q_EMIT FileHandedOver(path); }, Qt::QueuedConnection);
}

bool TSingleInstance::SendToRunning(const QString &absolutePath, int timeoutMs)
{
    if (!folderIsOurs() || FileOwner(SocketPath()) != TFileOwner::ThisUser)
        return false;
    QLocalSocket socket;
    // The running instance may be starting and not listen yet: try for a few seconds.
    for (int attempt = 0; attempt < 50; ++attempt) {
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(1000))
            break;
        QThread::msleep(100);
    }
    if (socket.state() != QLocalSocket::ConnectedState)
        return false;
    // Whoever listens must be this user: a path is never handed to anyone else.
    if (!PeerIsThisUser(socket.socketDescriptor()))
        return false;
    socket.write(EncodeHandOver(absolutePath));
    if (!socket.waitForBytesWritten(5000))
        return false;
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}
