// Opening files for the readers: regular files only, and never more than the reader's
// format can hold.
#include "core/base/filewrite.h"

#include "core/base/error.h"
#include "core/base/localname.h"
#include "core/settings/uitexts.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool openFailed(const QString &fileName, int why, QString *error)
{
    if (why == ENOENT && HasLostNameBytes(fileName))
        return Fail(error, NotUtf8NameMessage(fileName));
    if (why == ENOENT)
        return Fail(error, GetUiMessage(UiKey::String::FileMissing).arg(fileName));
    return Fail(error, GetUiMessage(UiKey::String::FileCannotOpen).arg(fileName, qt_error_string(why)));
}

bool notRegular(const QString &fileName, mode_t mode, QString *error)
{
    // A folder is the likely slip (a name picked one level too high): say so by name.
    if (S_ISDIR(mode))
        return Fail(error, GetUiMessage(UiKey::String::FileIsFolder).arg(fileName));
    return Fail(error, GetUiMessage(UiKey::String::FileNotRegular).arg(fileName));
}

// Opens a regular file and gives its size. The type is looked at before the open, so that
// no device is ever opened, and again on the open file, which was opened without waiting
// so that a FIFO put in its place cannot block.
bool openRegular(QFile &file, const QString &fileName, qint64 &size, QString *error)
{
    const QByteArray local = LocalFileName(fileName);
    struct stat st;
    if (::stat(local.constData(), &st) != 0)
        return openFailed(fileName, errno, error);
    if (!S_ISREG(st.st_mode))
        return notRegular(fileName, st.st_mode, error);
    const int fd = ::open(local.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return openFailed(fileName, errno, error);
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0
        || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return notRegular(fileName, st.st_mode, error);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Fail(error, GetUiMessage(UiKey::String::FileCannotOpen).arg(fileName, file.errorString()));
    }
    size = st.st_size;
    return true;
}

bool tooLarge(const QString &fileName, qint64 size, qint64 maxBytes, QString *error)
{
    return Fail(error, GetUiMessage(UiKey::String::FileTooLarge).arg(fileName).arg(size).arg(maxBytes));
}

// Reads up to `limit` bytes, or one byte more when refuseLonger is set, so that a file that
// grew after it was opened is still noticed.
bool readUpTo(QFile &file, const QString &fileName, qint64 size, qint64 limit, bool refuseLonger,
    QByteArray &bytes, QString *error)
{
    const qint64 end = refuseLonger ? limit + 1 : limit;
    QByteArray data(std::min(size, limit), Qt::Uninitialized);
    const qint64 got = data.isEmpty() ? 0 : file.read(data.data(), data.size());
    if (got < 0)
        return Fail(error, GetUiMessage(UiKey::String::FileCannotRead).arg(fileName, file.errorString()));
    data.truncate(got);
    while (data.size() < end) {
        const QByteArray piece = file.read(std::min<qint64>(1 << 16, end - data.size()));
        if (piece.isEmpty())
            break;
        data += piece;
    }
    if (file.error() != QFileDevice::NoError)
        return Fail(error, GetUiMessage(UiKey::String::FileCannotRead).arg(fileName, file.errorString()));
    if (refuseLonger && data.size() > limit)
        return tooLarge(fileName, data.size(), limit, error);
    bytes = data;
    return true;
}

} // namespace

bool OpenFileForReading(QFile &file, const QString &fileName, qint64 maxBytes, QString *error)
{
    qint64 size = 0;
    if (!openRegular(file, fileName, size, error))
        return false;
    if (size > maxBytes) {
        file.close();
        return tooLarge(fileName, size, maxBytes, error);
    }
    return true;
}

bool ReadWholeFile(const QString &fileName, qint64 maxBytes, QByteArray &bytes, QString *error)
{
    QFile file;
    qint64 size = 0;
    if (!openRegular(file, fileName, size, error))
        return false;
    if (size > maxBytes)
        return tooLarge(fileName, size, maxBytes, error);
    return readUpTo(file, fileName, size, maxBytes, true, bytes, error);
}

bool ReadFileStart(const QString &fileName, qint64 maxBytes, QByteArray &bytes, QString *error)
{
    QFile file;
    qint64 size = 0;
    if (!openRegular(file, fileName, size, error))
        return false;
    return readUpTo(file, fileName, size, maxBytes, false, bytes, error);
}
