#include "testutil.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <atomic>
#include <ctime>
#include <thread>

#include <fcntl.h>
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

QImage MakePicture(std::initializer_list<std::vector<int>> rows) { return MakePicture(rows, GreyPalette()); }

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
        p[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
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
    std::atomic<bool> returned{false};
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
