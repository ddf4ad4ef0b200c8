#pragma once
// TSingleInstance: one running instance per user.
// The first start holds a lock file and listens on a local socket, both named from the
// main window's class name and the user id, in the user's runtime folder. A second start
// finds the lock held, hands its file to the first over the socket and ends. A lock left
// by a crashed process is taken over (its process is gone), and a socket file left by it
// is removed before listening.

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
        Unavailable, // no lock could be made (the folder is not writable): run on alone
    };

    // folder holds the lock and the socket; empty: $XDG_RUNTIME_DIR, else the temporary
    // folder.
    explicit TSingleInstance(const QString &folder = QString(), QObject *parent = nullptr);
    ~TSingleInstance() override;

    TRole Start();
    // Sends an absolute path (empty: only raise the window) to the running instance and
    // waits until it has handled it (it may ask a question first). False when no running
    // instance took the message.
    bool SendToRunning(const QString &absolutePath, int timeoutMs = 600000);

    QString SocketPath() const;
    QString LockPath() const;

Q_SIGNALS:
    // A second start handed over a file (empty: it only asked to be shown).
    void FileHandedOver(const QString &path);

private:
    void accept();
    void readFrom(QLocalSocket *socket);

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
