#include "core/base/regularfile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::int64_t nanoseconds(const timespec &t)
{
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

TFileStamp stampOf(const struct stat &st)
{
    TFileStamp s;
    s.Device = std::uint64_t(st.st_dev);
    s.Inode = std::uint64_t(st.st_ino);
    s.Size = std::int64_t(st.st_size);
    s.ModifiedNs = nanoseconds(st.st_mtim);
    s.ChangedNs = nanoseconds(st.st_ctim);
    return s;
}

bool missingError(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

TFileKind StatFile(const QString &fileName, TFileStamp *stamp)
{
    if (fileName.isEmpty())
        return TFileKind::Missing;
    struct stat st { };
    if (::stat(QFile::encodeName(fileName).constData(), &st) != 0)
        return missingError(errno) ? TFileKind::Missing : TFileKind::Other;
    if (!S_ISREG(st.st_mode))
        return TFileKind::Other;
    if (stamp)
        *stamp = stampOf(st);
    return TFileKind::Regular;
}

TFileRead ReadRegularFile(const QString &fileName, std::int64_t maxSize, QByteArray &bytes, TFileStamp &stamp)
{
    bytes.clear();
    // The type is looked at before opening, so that nothing but a regular file is ever
    // opened (opening some devices has effects of its own) ...
    switch (StatFile(fileName)) {
    case TFileKind::Missing:
        return TFileRead::Missing;
    case TFileKind::Other:
        return TFileRead::Refused;
    case TFileKind::Regular:
        break;
    }
    // ... and again after opening without blocking, in case the name was replaced meanwhile.
    const FileDescriptor fd(
        ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        return missingError(errno) ? TFileRead::Missing : TFileRead::Refused;
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxSize)
        return TFileRead::Refused;
    stamp = stampOf(st);

    // Read up to one byte past the bound, in case the file grew since fstat.
    QByteArray data(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == data.size()) {
            if (got > maxSize)
                return TFileRead::Refused;
            data.resize(std::min<qsizetype>(data.size() * 2 + 4096, qsizetype(maxSize) + 1));
        }
        const ssize_t n = ::read(fd.get(), data.data() + got, size_t(data.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return TFileRead::Refused;
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got > maxSize)
        return TFileRead::Refused;
    data.resize(got);
    bytes = data;
    return TFileRead::Read;
}

std::int64_t FileClockNowNs()
{
    timespec t {};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return nanoseconds(t);
}
