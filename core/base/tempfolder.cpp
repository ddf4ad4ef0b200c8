#include "core/base/tempfolder.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

const char LockName[] = "lock";

std::unique_ptr<QTemporaryDir> g_folder;
int g_lockFd = -1;
// The folder's path for the signal handler, set before the handler is installed.
char g_signalPath[PATH_MAX];

// ---- Removal from a signal handler: system calls only ----------------------------------

struct LinuxDirent64 {
    ino64_t Inode;
    off64_t Offset;
    unsigned short Length;
    unsigned char Type;
    char Name[1];
};

// Removes the entries of the folder (files, and empty folders) and the folder itself. A
// pass over the listing is repeated while it removes something, since removing entries
// while listing may skip some.
void removeFolderFromHandler(const char *path)
{
    const int dir = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir >= 0) {
        alignas(8) char buffer[4096];
        for (int pass = 0; pass < 100; ++pass) {
            bool removed = false;
            ::lseek(dir, 0, SEEK_SET);
            for (;;) {
                const long n = ::syscall(SYS_getdents64, dir, buffer, sizeof buffer);
                if (n <= 0)
                    break;
                for (long at = 0; at < n;) {
                    const auto *entry = reinterpret_cast<const LinuxDirent64 *>(buffer + at);
                    at += entry->Length;
                    const char *name = entry->Name;
                    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                        continue;
                    if (::unlinkat(dir, name, 0) == 0 || ::unlinkat(dir, name, AT_REMOVEDIR) == 0)
                        removed = true;
                }
            }
            if (!removed)
                break;
        }
        ::close(dir);
    }
    ::rmdir(path);
}

void onStopSignal(int sig)
{
    const int saved = errno;
    removeFolderFromHandler(g_signalPath);
    // Stop as the signal would have: it is raised again with its default action and
    // delivered once this handler returns.
    ::signal(sig, SIG_DFL);
    ::raise(sig);
    errno = saved;
}

void installStopHandlers()
{
    for (int sig : { SIGTERM, SIGINT }) {
        struct sigaction old { };
        // A signal the program was started to ignore stays ignored.
        if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
            continue;
        struct sigaction action { };
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(sig, &action, nullptr);
    }
}

// ---- The lock file -----------------------------------------------------------------------

// Creates the lock file already locked (made under another name and renamed), so that no
// other process ever finds it unlocked while this one lives. The descriptor stays open.
bool lockFolder(const QString &folder)
{
    const QByteArray lock = QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(LockName));
    const QByteArray making = lock + ".new";
    const int fd = ::open(making.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::write(fd, pid.constData(), size_t(pid.size())) != pid.size()
        || ::rename(making.constData(), lock.constData()) != 0) {
        ::close(fd);
        ::unlink(making.constData());
        return false;
    }
    g_lockFd = fd;
    return true;
}

// True when the folder's owner is gone: its lock file can be locked, or there is none and
// no process has the id in the folder's name.
bool ownerIsGone(const QString &folder, qint64 pid)
{
    const QByteArray lock = QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(LockName));
    const int fd = ::open(lock.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        const bool gone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return gone;
    }
    if (errno != ENOENT)
        return false;
    // No lock file: a folder just made (locked a moment later) or left by a process that
    // stopped before locking it.
    return pid > 0 && pid <= INT_MAX && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

void RemoveStaleTempFolders(const QString &parent)
{
    static const QRegularExpression pattern(QStringLiteral("^dorwen-cad-(\\d+)-[A-Za-z0-9]{6}$"));
    const QDir dir(parent);
    for (const QString &name :
        dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        const QString folder = dir.filePath(name);
        if (g_folder && folder == g_folder->path())
            continue;
        struct stat st;
        if (::lstat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode)
            || st.st_uid != ::getuid())
            continue;
        if (ownerIsGone(folder, match.captured(1).toLongLong()))
            QDir(folder).removeRecursively();
    }
}

bool MakeProcessTempFolder(QString &path, QString *error)
{
    if (!g_folder) {
        const QString parent = QDir::tempPath();
        RemoveStaleTempFolders(parent);
        auto folder = std::make_unique<QTemporaryDir>(
            parent + QStringLiteral("/dorwen-cad-%1-XXXXXX").arg(qint64(QCoreApplication::applicationPid())));
        if (!folder->isValid() || !lockFolder(folder->path()))
            return Fail(error, GetUiMessage(UiKey::String::TempFolderCannotCreate).arg(parent));
        const QByteArray local = QFile::encodeName(folder->path());
        if (local.size() >= qsizetype(sizeof g_signalPath))
            return Fail(error, GetUiMessage(UiKey::String::TempFolderCannotCreate).arg(parent));
        std::memcpy(g_signalPath, local.constData(), std::size_t(local.size()) + 1);
        g_folder = std::move(folder);
        installStopHandlers();
    }
    path = g_folder->path();
    return true;
}
