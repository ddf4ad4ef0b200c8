#pragma once
// Checks every file reader must pass: a FIFO, a device and a folder are refused at once
// (a reader that waited on a FIFO would hang the program), and a file larger than the
// format can hold is refused before it is read.

#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <sys/stat.h>

struct ReaderCase {
    const char *name;
    std::function<bool(const QString &fileName, QString *error)> read;
    qint64 bound; // the most bytes the reader takes; negative when it has no bound
    bool messages = true; // false for readers that give no message
};

// A FIFO, a link to /dev/zero and a folder, each named with the extension the readers
// expect.
struct SpecialFiles {
    QTemporaryDir dir;
    QString fifo = dir.filePath("fifo.bmp");
    QString zero = dir.filePath("zero.bmp");
    QString folder = dir.filePath("folder.bmp");
    SpecialFiles()
    {
        EXPECT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        EXPECT_TRUE(QFile::link("/dev/zero", zero));
        EXPECT_TRUE(QDir().mkdir(folder));
    }
};

// A sparse file of `size` bytes (nothing is written, so it costs no space).
inline QString SparseFile(const QTemporaryDir &dir, const char *name, qint64 size)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size));
    return path;
}

inline void ExpectSpecialFilesRefused(const std::vector<ReaderCase> &readers)
{
    SpecialFiles special;
    for (const ReaderCase &c : readers) {
        for (const QString &path : { special.fifo, special.zero, special.folder }) {
            QString error;
            bool ok = true;
            RunWithin(20, c.name, [&] { ok = c.read(path, &error); });
            EXPECT_FALSE(ok) << c.name << " " << path.toStdString();
            if (c.messages) {
                EXPECT_TRUE(error.contains("not a regular file")) << c.name << ": " << error.toStdString();
                // A folder is named as one, with its name, so the user sees the slip.
                if (path == special.folder) {
                    EXPECT_TRUE(error.contains(path) && error.contains(" is a folder"))
                        << c.name << ": " << error.toStdString();
                }
            }
        }
    }
}

inline void ExpectOversizedFilesRefused(const std::vector<ReaderCase> &readers)
{
    QTemporaryDir dir;
    for (const ReaderCase &c : readers) {
        if (c.bound < 0)
            continue;
        const QString path = SparseFile(dir, "big.bmp", c.bound + 1);
        QString error;
        bool ok = true;
        RunWithin(20, c.name, [&] { ok = c.read(path, &error); });
        EXPECT_FALSE(ok) << c.name;
        EXPECT_TRUE(error.contains(QString::number(c.bound + 1)) && error.contains(QString::number(c.bound)))
            << c.name << ": " << error.toStdString();
        QFile::remove(path);
    }
}
