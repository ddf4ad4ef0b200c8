#include "core/filewrite.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

static bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly))
        return fail(error, QCoreApplication::translate("File", "Cannot create %1: %2").arg(fileName, f.errorString()));
    if (f.write(bytes) != bytes.size()) {
        const QString why = f.errorString();
        f.cancelWriting();
        return fail(error, QCoreApplication::translate("File", "Cannot write %1: %2").arg(fileName, why));
    }
    if (!f.commit())
        return fail(error, QCoreApplication::translate("File", "Cannot write %1: %2").arg(fileName, f.errorString()));
    return true;
}

bool OpenFileToRead(const QString &fileName, QFile &f, QString *error)
{
    f.setFileName(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return fail(error, QCoreApplication::translate("File", "Cannot open %1: %2").arg(fileName, f.errorString()));
    if (f.size() > MaxPictureFileSize)
        return fail(error, QCoreApplication::translate("File", "%1 is too large.").arg(fileName));
    return true;
}

bool ReadWholeFile(const QString &fileName, QByteArray &bytes, QString *error)
{
    QFile f;
    if (!OpenFileToRead(fileName, f, error))
        return false;
    // A device without a size (a pipe) is read in pieces up to one byte past the limit.
    QByteArray data;
    if (!f.isSequential()) {
        data = f.readAll();
    } else {
        while (data.size() <= MaxPictureFileSize) {
            const QByteArray piece = f.read(1 << 16);
            if (piece.isEmpty())
                break;
            data += piece;
        }
    }
    if (f.error() != QFileDevice::NoError)
        return fail(error, QCoreApplication::translate("File", "Cannot read %1: %2").arg(fileName, f.errorString()));
    if (data.size() > MaxPictureFileSize)
        return fail(error, QCoreApplication::translate("File", "%1 is too large.").arg(fileName));
    bytes = data;
    return true;
}
