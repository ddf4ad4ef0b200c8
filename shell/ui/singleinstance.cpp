#include "shell/ui/singleinstance.h"

#include "shell/handover.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QTimer>

namespace {
// A connection that has not sent a whole message by then is dropped.
constexpr int HandOverReadTimeoutMs = 5000;
constexpr const char *BufferProperty = "handOverBytes";
} // namespace

TSingleInstance::TSingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
{
    if (m_folder.isEmpty()) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        m_folder = !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QDir::tempPath();
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

TSingleInstance::TRole TSingleInstance::Start()
{
    m_lock = std::make_unique<QLockFile>(LockPath());
    // Never stale by age: only a lock whose process is gone is taken over.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        const bool held = m_lock->error() == QLockFile::LockFailedError;
        m_lock.reset();
        return held ? Secondary : Unavailable;
    }
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
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        QTimer::singleShot(HandOverReadTimeoutMs, socket, [socket] { socket->abort(); });
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
    Q_EMIT FileHandedOver(path);
    // The sender waits for this: the file has been handled.
    socket->disconnectFromServer();
}

bool TSingleInstance::SendToRunning(const QString &absolutePath, int timeoutMs)
{
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
    socket.write(EncodeHandOver(absolutePath));
    if (!socket.waitForBytesWritten(5000))
        return false;
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}
