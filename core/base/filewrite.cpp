// Saving files: each is written in full to a temporary file beside its target, with every
// write and the close checked (nothing is left in a buffer that could fail unseen), and
// only then renamed over the target.
#include "core/base/filewrite.h"

#include "core/base/error.h"
#include "core/base/localname.h"
#include "core/settings/uitexts.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TSaveStepHook saveStepHook = nullptr;

void reach(TSaveStep step)
{
    if (saveStepHook)
        saveStepHook(step);
}

constexpr char SavePrefix[] = ".dorwen-cad-save-";

QString writeFailed(const QString &fileName, int why)
{
    return GetUiMessage(UiKey::String::FileCannotWrite).arg(fileName, qt_error_string(why));
}

// One file of a save: the file to replace, its new content and, while a set of several is
// put in place, where the old file waits.
struct TPendingFile {
    QString Shown; // the name as the caller gave it, for messages
    QByteArray Target; // bytes of the file to replace, a symbolic link followed
    bool Remove = false; // taken away with the set, not replaced
    bool Existed = false;
    mode_t Mode = 0; // permissions of the old file
    QByteArray Temp; // the complete new content, until renamed
    int LockFd = -1; // holds the temporary file's lock while this process may still use it
    QByteArray Aside; // the old file, while the set is put in place
    bool Placed = false;
};

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash + 1);
}

// A name that did not exist, created empty with `mode` (less the umask); fd is left open.
// The name carries the process id, so that a later save can tell a leftover of a process
// that is gone.
bool createUnique(const QByteArray &folder, const char *kind, mode_t mode, QByteArray &name, int &fd)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + ".dorwen-cad-" + kind + '-' + QByteArray::number(qint64(::getpid())) + '-'
            + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd >= 0;
    }
    return false;
}

bool resolveTarget(TPendingFile &file, QString *error)
{
    QByteArray local = LocalFileName(file.Shown);
    struct stat st;
    if (file.Remove) { // the name itself goes, whatever it is
        file.Existed = ::lstat(local.constData(), &st) == 0;
        file.Target = local;
        return true;
    }
    if (::lstat(local.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char *real = ::realpath(local.constData(), nullptr)) {
            local = real;
            std::free(real);
        }
    }
    if (::stat(local.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) // a folder chosen where a file was meant: say so by name
            return Fail(error, GetUiMessage(UiKey::String::FileIsFolder).arg(file.Shown));
        if (!S_ISREG(st.st_mode))
            return Fail(error, GetUiMessage(UiKey::String::FileNotReplaceable).arg(file.Shown));
        file.Existed = true;
        file.Mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return Fail(error, writeFailed(file.Shown, errno));
    } else if (HasLostNameBytes(file.Shown)) {
        return Fail(error, NotUtf8NameMessage(file.Shown));
    }
    file.Target = local;
    return true;
}

bool writeAll(int fd, const char *p, qint64 left)
{
    while (left > 0) {
        const ssize_t n = ::write(fd, p, std::size_t(std::min<qint64>(left, qint64(1) << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Writes the new content, as produce hands it to its sink piece by piece, into a temporary
// file in the target's folder and closes it; on failure nothing is left behind. A producer
// that fails on its own (not through the sink) has already said why in error.
bool writeTemp(TPendingFile &file, const TFileContent &produce, QString *error)
{
    int fd = -1;
    if (!createUnique(folderOf(file.Target), "save", file.Existed ? 0600 : 0666, file.Temp, fd))
        return Fail(error, writeFailed(file.Shown, errno));
    // Locked for as long as this process may use it: a save into the same folder by another
    // process leaves it alone (the lock goes with the process when it is killed).
    if (::flock(fd, LOCK_EX) == 0)
        file.LockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    reach(TSaveStep::TempCreated);
    bool sinkFailed = false;
    int why = 0;
    const TFileSink sink = [&](const char *data, qint64 size) {
        if (!sinkFailed && !writeAll(fd, data, size)) {
            sinkFailed = true;
            why = errno;
        }
        return !sinkFailed;
    };
    bool ok = (!file.Existed || ::fchmod(fd, file.Mode) == 0);
    if (!ok) {
        sinkFailed = true;
        why = errno;
    }
    ok = ok && produce(sink, error) && !sinkFailed;
    if (::close(fd) != 0 && ok) {
        ok = false;
        sinkFailed = true;
        why = errno;
    }
    if (!ok) {
        ::unlink(file.Temp.constData());
        file.Temp.clear();
        return sinkFailed ? Fail(error, writeFailed(file.Shown, why)) : false;
    }
    reach(TSaveStep::TempClosed);
    return true;
}

// The bytes of a file in two pieces, with the half-written step between them.
TFileContent wholeContent(const QByteArray &bytes)
{
    return [&bytes](const TFileSink &sink, QString *) {
        const qsizetype half = bytes.size() / 2;
        if (!sink(bytes.constData(), half))
            return false;
        reach(TSaveStep::HalfWritten);
        return sink(bytes.constData() + half, bytes.size() - half);
    };
}

// Streamed content: the half-written step comes once the first piece is in the file.
TFileContent steppedContent(const TFileContent &produce)
{
    return [&produce](const TFileSink &sink, QString *why) {
        bool first = true;
        return produce(
            [&](const char *data, qint64 size) {
                if (!sink(data, size))
                    return false;
                if (std::exchange(first, false))
                    reach(TSaveStep::HalfWritten);
                return true;
            },
            why);
    };
}

void unlock(TPendingFile &file)
{
    if (file.LockFd >= 0)
        ::close(file.LockFd);
    file.LockFd = -1;
}

void removeTemps(std::vector<TPendingFile> &files)
{
    for (TPendingFile &file : files) {
        if (!file.Temp.isEmpty() && !file.Placed)
            ::unlink(file.Temp.constData());
        unlock(file);
    }
}

// The process id in a save file's name, or 0 when the name has none.
pid_t savePid(const QByteArray &name)
{
    if (!name.startsWith(SavePrefix))
        return 0;
    const qsizetype start = qsizetype(sizeof SavePrefix) - 1;
    const qsizetype dash = name.indexOf('-', start);
    bool ok = false;
    const qint64 pid = dash > start ? name.mid(start, dash - start).toLongLong(&ok) : 0;
    return ok && pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? pid_t(pid) : 0;
}

// True when the process is gone and nobody holds the file's lock; the file is then removed.
void removeIfStale(const QByteArray &path, pid_t pid)
{
    if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
        return;
    struct stat named;
    if (::lstat(path.constData(), &named) != 0 || !S_ISREG(named.st_mode) || named.st_uid != ::getuid())
        return;
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat opened;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_ino == named.st_ino
        && opened.st_dev == named.st_dev)
        ::unlink(path.constData());
    ::close(fd);
}

void removeStaleSaves(const QByteArray &folder)
{
    DIR *dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (const pid_t pid = savePid(name))
            removeIfStale(folder + name, pid);
    }
    ::closedir(dir);
}

// Puts the files of a set back as they were: new files that were placed are removed and the
// old ones renamed back. An old file that cannot be put back is named in the message.
void restoreOld(std::vector<TPendingFile> &files, QString *error)
{
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        if (!it->Aside.isEmpty()) {
            if (::rename(it->Aside.constData(), it->Target.constData()) != 0 && error)
                *error += QLatin1Char(' ')
                    + GetUiMessage(UiKey::String::FileOldKeptAs).arg(it->Shown, QFile::decodeName(it->Aside));
        } else if (it->Placed && !it->Remove) {
            ::unlink(it->Target.constData());
        }
    }
    removeTemps(files);
}

// Moves the old file of a set aside under a new name in its folder.
bool moveAside(TPendingFile &file)
{
    int fd = -1;
    QByteArray aside;
    if (!createUnique(folderOf(file.Target), "old", 0600, aside, fd))
        return false;
    ::close(fd);
    if (::rename(file.Target.constData(), aside.constData()) != 0) {
        const int why = errno;
        ::unlink(aside.constData());
        errno = why;
        return false;
    }
    file.Aside = aside;
    reach(TSaveStep::OldMovedAside);
    return true;
}

// Puts one file of the set in place: a new file over its target (the old one aside first
// when the set has several), or a file to remove aside.
bool place(TPendingFile &file, bool several)
{
    if (file.Remove) {
        if (file.Existed && !moveAside(file))
            return false;
        file.Placed = true;
        return true;
    }
    if ((several && file.Existed && !moveAside(file))
        || ::rename(file.Temp.constData(), file.Target.constData()) != 0)
        return false;
    file.Placed = true;
    unlock(file);
    reach(TSaveStep::FilePlaced);
    return true;
}

} // namespace

bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error)
{
    return WriteFilesAtomically({ TFileToSave { fileName, bytes } }, error);
}

bool WriteFileStreamed(const QString &fileName, const TFileContent &produce, QString *error)
{
    TPendingFile file;
    file.Shown = fileName;
    if (!resolveTarget(file, error))
        return false;
    removeStaleSaves(folderOf(file.Target));
    std::vector<TPendingFile> files { std::move(file) };
    if (!writeTemp(files[0], steppedContent(produce), error)) {
        removeTemps(files);
        return false;
    }
    if (!place(files[0], false)) {
        Fail(error, writeFailed(files[0].Shown, errno));
        restoreOld(files, error);
        return false;
    }
    return true;
}

void RemoveStaleSaveFiles(const QString &folder)
{
    const QByteArray local = LocalFileName(folder);
    removeStaleSaves(local.endsWith('/') ? local : local + '/');
}

void SetSaveStepHook(TSaveStepHook hook)
{
    saveStepHook = hook;
}

bool WriteFilesAtomically(const std::vector<TFileToSave> &toSave, QString *error)
{
    std::vector<TPendingFile> files(toSave.size());
    QSet<QByteArray> folders;
    for (std::size_t i = 0; i < toSave.size(); ++i) {
        files[i].Shown = toSave[i].FileName;
        files[i].Remove = toSave[i].Remove;
        if (!resolveTarget(files[i], error))
            return false;
        // Leftovers of saves that were killed mid-way are cleared before this one adds its own.
        const QByteArray folder = folderOf(files[i].Target);
        if (!folders.contains(folder)) {
            folders.insert(folder);
            removeStaleSaves(folder);
        }
    }
    for (std::size_t i = 0; i < toSave.size(); ++i)
        if (!files[i].Remove
            && !writeTemp(files[i],
                toSave[i].Content ? steppedContent(toSave[i].Content) : wholeContent(toSave[i].Bytes),
                error)) {
            removeTemps(files);
            return false;
        }
    // A single file replaces its target in one rename. A set keeps every old file aside
    // until the last new one is in place, so that a failure can put the old set back.
    const bool several = files.size() > 1;
    for (TPendingFile &file : files) {
        if (!place(file, several)) {
            Fail(error, writeFailed(file.Shown, errno));
            restoreOld(files, error);
            return false;
        }
    }
    for (const TPendingFile &file : files)
        if (!file.Aside.isEmpty())
            ::unlink(file.Aside.constData());
    return true;
}
