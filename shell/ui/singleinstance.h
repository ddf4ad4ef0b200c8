#pragma once
// TSingleInstance: one running instance per user.
// The first start holds a lock file and listens on a local socket, both named from the
// main window's class name and the user id, in a folder of this user's own: the runtime
// folder, or "dorwen-cad-<uid>" in the temporary folder (made with mode 0700). A second
// start finds the lock held, hands its file to the first over the socket and ends. A lock
// left by a crashed process is taken over (its process is gone), and a socket file left
// by it is removed before listening.
//
// Nothing of another user is trusted: a folder, lock file or socket that another user owns,
// or a folder others may write into, is refused, and both ends check the user id of the
// process at the other end of the socket before a path is sent or taken. A start that
// meets anything foreign runs on as the first instance.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    enum TRole {
        Primary, // this process is the one instance and listens
        Secondary, // another instance runs
        Unavailable, // no lock could be made, or what is there is not this user's: run on alone
    };

    // folder holds the lock and the socket; empty: $XDG_RUNTIME_DIR, else this user's
    // folder in the temporary folder.
    explicit TSingleInstance(const QString &folder = QString(), QObject *parent = nullptr);
    ~TSingleInstance() override;

    TRole Start();
    // Sends an absolute path (empty: only raise the window) to the running instance and
    // waits until it has taken the message; the file is opened after that. False when no
    // running instance of this user took the message.
    bool SendToRunning(const QString &absolutePath, int timeoutMs = 600000);

    QString SocketPath() const;
    QString LockPath() const;
    // How long a connection may take to send its whole message before it is dropped.
    void SetReadTimeoutMs(int ms) { m_readTimeoutMs = ms; }

Q_SIGNALS:
    // A second start handed over a file (empty: it only asked to be shown). Emitted from the
    // event loop once the connection is done with, so that a handler may ask questions.
    void FileHandedOver(const QString &path);

private:
    bool folderIsOurs();
    void accept();
    void readFrom(QLocalSocket *socket);

    QString m_folder;
    bool m_defaultFolder = false; // this user's folder in the temporary folder, made on Start
    int m_readTimeoutMs = 5000;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
