#include "testutil.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <ftw.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

QImage MakePicture(std::initializer_list<std::vector<int>> rows, const TPalette256 &palette)
{
    const int h = int(rows.size());
    const int w = h ? int(rows.begin()->size()) : 0;
    QImage img = NewPicture(w, h, palette);
    int y = 0;
    for (const auto &row : rows) {
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t(row.at(x));
        ++y;
    }
    return img;
}

QImage MakePicture(std::initializer_list<std::vector<int>> rows)
{
    return MakePicture(rows, GreyPalette());
}

std::vector<std::vector<int>> PictureRows(const QImage &img)
{
    std::vector<std::vector<int>> out(img.height(), std::vector<int>(img.width()));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            out[y][x] = img.constScanLine(y)[x];
    return out;
}

TPalette256 GreyPalette()
{
    TPalette256 p;
    for (int i = 0; i < 256; ++i)
        p[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    return p;
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool AgeFile(const QString &path, int seconds)
{
    timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= seconds;
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

bool ReturnsWithoutBlockingOn(const QString &fifo, const std::function<void()> &fn, int ms)
{
    std::atomic<bool> returned { false };
    std::thread worker([&] {
        fn();
        returned = true;
    });
    const QDeadlineTimer deadline(ms);
    while (!returned && !deadline.hasExpired())
        QThread::msleep(5);
    const bool inTime = returned;
    // Released as often as needed: a blocked reader may open the FIFO again.
    while (!returned) {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        QThread::msleep(5);
    }
    worker.join();
    return inTime;
}

QByteArray Hex(const char *text)
{
    QByteArray compact(text);
    compact.replace(' ', "");
    compact.replace('\n', "");
    return QByteArray::fromHex(compact);
}

TSmallDisk::TSmallDisk()
{
    QTemporaryDir parent;
    parent.setAutoRemove(false);
    m_path = parent.path();
    if (::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", 0, "size=64k,mode=0700") != 0) {
        m_why = QStringLiteral("cannot mount a small tmpfs (%1); run the tests as root")
                    .arg(qt_error_string(errno));
        QDir().rmdir(m_path);
        return;
    }
    m_mounted = true;
}

TSmallDisk::~TSmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    QDir().rmdir(m_path);
}

QString TSmallDisk::FilePath(const QString &name) const
{
    return m_path + QLatin1Char('/') + name;
}

bool TSmallDisk::Fill()
{
    const QByteArray filler = QFile::encodeName(FilePath(QStringLiteral("filler")));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'f');
    bool full = false;
    for (int i = 0; i < 1000 && !full; ++i)
        full = ::write(fd, block.constData(), std::size_t(block.size())) < 0 && errno == ENOSPC;
    // The last block may have fitted in part; fill what is left byte by byte.
    while (full && ::write(fd, "f", 1) == 1) { }
    ::close(fd);
    return full;
}

QStringList TSmallDisk::Entries() const
{
    return QDir(m_path).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool BindMountFile(const QString &source, const QString &target)
{
    return ::mount(QFile::encodeName(source).constData(), QFile::encodeName(target).constData(), nullptr,
               MS_BIND, nullptr)
        == 0;
}

void UnmountFile(const QString &target)
{
    ::umount2(QFile::encodeName(target).constData(), MNT_DETACH);
}

void RunWithin(int seconds, const char *what, const std::function<void()> &fn)
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread worker([&] {
        fn();
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        done.notify_all();
    });
    std::unique_lock<std::mutex> lock(mutex);
    if (!done.wait_for(lock, std::chrono::seconds(seconds), [&] { return finished; })) {
        std::fprintf(stderr, "FAILED: %s did not return within %d seconds\n", what, seconds);
        std::fflush(stderr);
        std::_Exit(1);
    }
    lock.unlock();
    worker.join();
}

namespace {
int removeEntry(const char *path, const struct stat *, int, struct FTW *ftw)
{
    if (ftw->level > 0)
        ::remove(path);
    return 0;
}
} // namespace

void EmptyFolderByBytes(const QString &folder)
{
    ::nftw(QFile::encodeName(folder).constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}
