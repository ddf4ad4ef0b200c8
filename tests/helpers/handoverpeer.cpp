// Another user's process in the single-instance tests (run under another user id):
//   handoverpeer serve <key> <received file> <folder>...
//     makes each folder (open to everyone) when missing, holds "<key>.lock" there and
//     listens on "<key>.socket", open to everyone, appending every byte received to the
//     file; prints "ready" once all listen and serves until it is killed.
//   handoverpeer send <socket> <path>
//     connects and sends path as a hand-over message; exit status 0 when it was sent.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <cstdio>
#include <memory>
#include <vector>

#include <sys/stat.h>

namespace {

int serve(const QStringList &args)
{
    const QString key = args.at(0), received = args.at(1);
    std::vector<std::unique_ptr<QLockFile>> locks;
    std::vector<std::unique_ptr<QLocalServer>> servers;
    for (const QString &folder : args.mid(2)) {
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), 0777);
        auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(key + ".lock"));
        if (!lock->tryLock(0))
            return 3;
        auto server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::WorldAccessOption);
        if (!server->listen(QDir(folder).filePath(key + ".socket")))
            return 4;
        QLocalServer *s = server.get();
        QObject::connect(s, &QLocalServer::newConnection, s, [s, received] {
            while (QLocalSocket *socket = s->nextPendingConnection())
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, received] {
                    QFile out(received);
                    if (out.open(QIODevice::Append))
                        out.write(socket->readAll());
                });
        });
        locks.push_back(std::move(lock));
        servers.push_back(std::move(server));
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

int send(const QStringList &args)
{
    QLocalSocket socket;
    socket.connectToServer(args.at(0));
    if (!socket.waitForConnected(5000))
        return 3;
    const QByteArray path = QFile::encodeName(args.at(1));
    QByteArray message(4, '\0');
    for (int i = 0; i < 4; ++i)
        message[i] = char((quint32(path.size()) >> (8 * i)) & 0xFF);
    socket.write(message + path);
    if (!socket.waitForBytesWritten(5000))
        return 4;
    socket.waitForDisconnected(5000);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() >= 3 && args.first() == "serve")
        return serve(args.mid(1));
    if (args.size() == 3 && args.first() == "send")
        return send(args.mid(1));
    return 2;
}
