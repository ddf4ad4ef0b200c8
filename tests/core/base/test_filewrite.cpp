// The shared file module: saves on a full disk, sets of files that replace all or none,
// readers given FIFOs, devices and oversized files, and names whose bytes are not UTF-8.
#include "core/base/filewrite.h"
#include "core/base/localname.h"
#include "core/palette/palette.h"
#include "core/picture/bmpfile.h"
#include "core/picture/pcxfile.h"
#include "core/settings/inifile.h"
#include "core/undo/undofiles.h"

#include "readercases.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray OldBytes = "the old file, which a failed save must leave whole\n";

// Every writer of this module, each saving something small enough to sit in a write
// buffer, and each giving its message (empty for those that give none).
struct WriterCase {
    const char *name;
    std::function<bool(const QString &fileName, QString *error)> save;
};

std::vector<WriterCase> CoreWriters()
{
    return {
        { "shared routine",
            [](const QString &f, QString *e) { return WriteFileAtomically(f, QByteArray(1000, 'x'), e); } },
        { "ini file",
            [](const QString &f, QString *) { return TIniFile(f).WriteString("Main", "Key", "value"); } },
        { "palette file", [](const QString &f, QString *) { return SavePaletteFile(GreyPalette(), f); } },
        { "undo palette",
            [](const QString &f, QString *e) { return WriteUndoPalette(GreyPalette(), f, e); } },
        { "BMP",
            [](const QString &f, QString *e) {
                return SaveBmp8File(MakePicture({ { 1, 2 }, { 3, 4 } }), f, e);
            } },
        { "PCX",
            [](const QString &f, QString *e) {
                return SavePictureAsPcx(MakePicture({ { 1, 2 }, { 3, 4 } }), f, e);
            } },
        { "streamed routine",
            [](const QString &f, QString *e) {
                return WriteFileStreamed(
                    f,
                    [](const TFileSink &sink, QString *) {
                        return sink("head", 4) && sink(QByteArray(1000, 'y').constData(), 1000);
                    },
                    e);
            } },
        { "undo picture",
            [](const QString &f, QString *e) {
                return WriteUndoPicture(MakePicture({ { 1, 2 }, { 3, 4 } }), f, e);
            } },
    };
}

} // namespace

TEST(SaveOnAFullDisk, EveryWriterKeepsTheOldFileAndReportsTheFailure)
{
    for (const WriterCase &c : CoreWriters()) {
        TSmallDisk disk;
        if (!disk.IsMounted())
            GTEST_SKIP() << disk.Why().toStdString();
        const QString target = disk.FilePath("target");
        ASSERT_TRUE(WriteAll(target, OldBytes));
        ASSERT_TRUE(disk.Fill()) << c.name;
        QString error;
        EXPECT_FALSE(c.save(target, &error)) << c.name << ": a save on a full disk reported success";
        EXPECT_EQ(ReadAll(target), OldBytes) << c.name;
        EXPECT_EQ(disk.Entries(), (QStringList { "filler", "target" })) << c.name << ": temporary file left";
        if (QString(c.name) != "ini file" && QString(c.name) != "palette file") {
            EXPECT_TRUE(error.contains("target") && error.contains("No space left"))
                << c.name << ": " << error.toStdString();
        }
    }
}

TEST(SaveOnAFullDisk, ANewFileIsNotLeftEmpty)
{
    TSmallDisk disk;
    if (!disk.IsMounted())
        GTEST_SKIP() << disk.Why().toStdString();
    ASSERT_TRUE(disk.Fill());
    QString error;
    EXPECT_FALSE(WriteFileAtomically(disk.FilePath("new"), "abc", &error));
    EXPECT_EQ(disk.Entries(), QStringList { "filler" });
}

// A streamed save puts its pieces together in order; a producer that gives up halfway
// leaves the old file and no temporary file, with its own message.
TEST(SaveFile, StreamedPiecesInOrderAndAProducerThatGivesUpLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("design.ovy");
    ASSERT_TRUE(WriteAll(target, OldBytes));
    const QByteArray big(3 << 20, 'b');
    QString error;
    ASSERT_TRUE(WriteFileStreamed(
        target,
        [&](const TFileSink &sink, QString *) {
            return sink("a", 1) && sink(big.constData(), big.size()) && sink("", 0) && sink("z", 1);
        },
        &error))
        << error.toStdString();
    EXPECT_EQ(ReadAll(target), "a" + big + "z");

    ASSERT_TRUE(WriteAll(target, OldBytes));
    EXPECT_FALSE(WriteFileStreamed(
        target,
        [](const TFileSink &sink, QString *why) {
            sink("partial", 7);
            *why = QStringLiteral("the picture could not be packed");
            return false;
        },
        &error));
    EXPECT_EQ(error, "the picture could not be packed");
    EXPECT_EQ(ReadAll(target), OldBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "design.ovy" });
}

TEST(SaveFile, ReplacesKeepsPermissionsFollowsLinksAndRefusesFolders)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("t.bin");
    ASSERT_TRUE(WriteAll(target, OldBytes));
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QString error;
    ASSERT_TRUE(WriteFileAtomically(target, "new", &error)) << error.toStdString();
    EXPECT_EQ(ReadAll(target), "new");
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A symbolic link keeps pointing at its file, which gets the new content.
    ASSERT_TRUE(QFile::link(target, dir.filePath("link")));
    ASSERT_TRUE(WriteFileAtomically(dir.filePath("link"), "through link", &error));
    EXPECT_TRUE(QFileInfo(dir.filePath("link")).isSymLink());
    EXPECT_EQ(ReadAll(target), "through link");

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    EXPECT_FALSE(WriteFileAtomically(dir.filePath("folder"), "x", &error));
    EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
    EXPECT_TRUE(error.contains(dir.filePath("folder") + " is a folder")) << error.toStdString();
    EXPECT_FALSE(WriteFileAtomically(dir.filePath("missing/x"), "x", &error));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        (QStringList { "folder", "link", "t.bin" }));
}

namespace {

struct FileSetFixture : ::testing::Test {
    QTemporaryDir dir;
    std::vector<TFileToSave> files;
    void SetUp() override
    {
        for (int k = 1; k <= 3; ++k) {
            const QString name = dir.filePath(QStringLiteral("set.%1").arg(k));
            ASSERT_TRUE(WriteAll(name, OldBytes + QByteArray::number(k)));
            files.push_back({ name, "new " + QByteArray::number(k) });
        }
    }
    void expectOldSet(const char *why)
    {
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(ReadAll(files[k - 1].FileName), OldBytes + QByteArray::number(k))
                << why << " part " << k;
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(left, (QStringList { "set.1", "set.2", "set.3" })) << why;
    }
};

} // namespace

TEST_F(FileSetFixture, AllReplacedOrNone)
{
    QString error;
    ASSERT_TRUE(WriteFilesAtomically(files, &error)) << error.toStdString();
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(ReadAll(files[k - 1].FileName), "new " + QByteArray::number(k));
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList { "set.1", "set.2", "set.3" }));
}

TEST_F(FileSetFixture, AStreamedPartComesInPiecesAndOneThatGivesUpLeavesTheOldSet)
{
    // The second part is made piece by piece; its producer may stop after its first piece
    // (with its own message) or have a piece refused, as by a full disk.
    struct Case {
        const char *name;
        int piecesBeforeGivingUp; // -1: every piece is handed over
        bool saved;
    };
    const Case cases[] = { { "every piece", -1, true }, { "gives up after one piece", 1, false },
        { "gives up at once", 0, false } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        files[1].Bytes = "not used";
        files[1].Content = [&c](const TFileSink &sink, QString *why) {
            const char *pieces[] = { "streamed ", "second ", "file" };
            for (int i = 0; i < 3; ++i) {
                if (i == c.piecesBeforeGivingUp) {
                    *why = QStringLiteral("the producer gave up");
                    return false;
                }
                if (!sink(pieces[i], qint64(std::strlen(pieces[i]))))
                    return false;
            }
            return true;
        };
        QString error;
        EXPECT_EQ(WriteFilesAtomically(files, &error), c.saved) << error.toStdString();
        if (!c.saved) {
            EXPECT_EQ(error, "the producer gave up");
            expectOldSet(c.name);
            continue;
        }
        EXPECT_EQ(ReadAll(files[0].FileName), "new 1");
        EXPECT_EQ(ReadAll(files[1].FileName), "streamed second file");
        EXPECT_EQ(ReadAll(files[2].FileName), "new 3");
        for (int k = 1; k <= 3; ++k) // the old set again for the next case
            ASSERT_TRUE(WriteAll(files[k - 1].FileName, OldBytes + QByteArray::number(k)));
    }
}

TEST_F(FileSetFixture, ALaterFileThatCannotBeReplacedLeavesTheOldSet)
{
    // The third file's name is taken by a file mounted over it: it cannot be moved or
    // replaced, which is only found out when the first two are already in place.
    QTemporaryDir other;
    const QString mounted = other.filePath("mounted");
    ASSERT_TRUE(WriteAll(mounted, OldBytes + "3"));
    if (!BindMountFile(mounted, files[2].FileName))
        GTEST_SKIP() << "cannot bind-mount a file; run the tests as root";
    QString error;
    const bool saved = WriteFilesAtomically(files, &error);
    UnmountFile(files[2].FileName);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.contains("set.3")) << error.toStdString();
    expectOldSet("mounted third file");
}

TEST_F(FileSetFixture, AFolderInTheWayLeavesTheOldSet)
{
    ASSERT_TRUE(QFile::remove(files[1].FileName));
    ASSERT_TRUE(QDir().mkpath(files[1].FileName + "/inside"));
    QString error;
    EXPECT_FALSE(WriteFilesAtomically(files, &error));
    EXPECT_TRUE(error.contains("set.2")) << error.toStdString();
    EXPECT_EQ(ReadAll(files[0].FileName), OldBytes + "1");
    EXPECT_EQ(ReadAll(files[2].FileName), OldBytes + "3");
    EXPECT_TRUE(QFileInfo(files[1].FileName + "/inside").isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList { "set.1", "set.3" }));
}

TEST_F(FileSetFixture, FilesToRemoveGoWithTheSetOrStay)
{
    // The set replaces set.1 and takes set.2 and set.3 away (a missing file is nothing).
    std::vector<TFileToSave> shorter { files[0], { files[1].FileName, {}, true },
        { files[2].FileName, {}, true }, { dir.filePath("set.4"), {}, true } };
    // When a file of the set cannot go, nothing changes.
    QTemporaryDir other;
    ASSERT_TRUE(WriteAll(other.filePath("mounted"), OldBytes + "3"));
    if (BindMountFile(other.filePath("mounted"), files[2].FileName)) {
        QString error;
        const bool saved = WriteFilesAtomically(shorter, &error);
        UnmountFile(files[2].FileName);
        EXPECT_FALSE(saved);
        EXPECT_TRUE(error.contains("set.3")) << error.toStdString();
        expectOldSet("a file to remove that cannot be moved");
    }
    QString error;
    ASSERT_TRUE(WriteFilesAtomically(shorter, &error)) << error.toStdString();
    EXPECT_EQ(ReadAll(files[0].FileName), "new 1");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "set.1" });
}

namespace {

// What a save killed at `step` leaves: the child process saves `files` and is killed by
// the hook when it reaches the step (or stopped, to stand for a live process, when stop).
TSaveStep killAt;
bool stopInstead = false;
void killHook(TSaveStep step)
{
    if (step == killAt)
        ::raise(stopInstead ? SIGSTOP : SIGKILL);
}

pid_t saveInChild(const std::vector<TFileToSave> &files, TSaveStep step, bool stop)
{
    killAt = step;
    stopInstead = stop;
    const pid_t pid = ::fork();
    if (pid == 0) {
        SetSaveStepHook(killHook);
        WriteFilesAtomically(files);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, stop ? WUNTRACED : 0);
    return pid;
}

QStringList saveLeftovers(const QString &folder)
{
    return QDir(folder).entryList({ ".dorwen-cad-save-*" }, QDir::Files | QDir::Hidden);
}

} // namespace

TEST(FileWrite, ASaveKilledAtEachStepLeavesTheOldFileAndItsLeftoverGoesAtTheNextSave)
{
    const QByteArray newBytes(100000, 'n');
    struct Case {
        const char *what;
        TSaveStep step;
        bool leftover; // a temporary file stays behind
    } cases[] = {
        { "temporary file made", TSaveStep::TempCreated, true },
        { "half written", TSaveStep::HalfWritten, true },
        { "written and closed", TSaveStep::TempClosed, true },
        { "in place", TSaveStep::FilePlaced, false },
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString target = dir.filePath("design.bmp");
        ASSERT_TRUE(WriteAll(target, OldBytes));
        saveInChild({ { target, newBytes } }, c.step, false);
        // The target is whole: the old file, or the new one once it was put in place.
        EXPECT_EQ(ReadAll(target), c.step == TSaveStep::FilePlaced ? newBytes : OldBytes) << c.what;
        EXPECT_EQ(saveLeftovers(dir.path()).size(), c.leftover ? 1 : 0) << c.what;

        // A process that is alive in the middle of its save keeps its file.
        const pid_t live
            = saveInChild({ { dir.filePath("other.bmp"), newBytes } }, TSaveStep::HalfWritten, true);
        const QStringList withLive = saveLeftovers(dir.path());
        ASSERT_TRUE(WriteFileAtomically(dir.filePath("next.bmp"), "next")) << c.what;
        const QStringList after = saveLeftovers(dir.path());
        ::kill(live, SIGKILL);
        ::waitpid(live, nullptr, 0);
        ASSERT_EQ(after.size(), 1) << c.what;
        EXPECT_TRUE(withLive.contains(after.first())) << c.what;
        EXPECT_TRUE(after.first().contains("-" + QString::number(live) + "-")) << c.what;

        // At the next start (no save into the folder) the dead process's file goes as well.
        RemoveStaleSaveFiles(dir.path());
        EXPECT_TRUE(saveLeftovers(dir.path()).isEmpty()) << c.what;
        EXPECT_EQ(ReadAll(target), c.step == TSaveStep::FilePlaced ? newBytes : OldBytes) << c.what;
    }

    // A set killed while an old file waits aside: that file is never taken for a leftover.
    QTemporaryDir dir;
    const QString a = dir.filePath("CARD.J01"), b = dir.filePath("CARD.J02");
    ASSERT_TRUE(WriteAll(a, OldBytes + "1"));
    ASSERT_TRUE(WriteAll(b, OldBytes + "2"));
    saveInChild({ { a, "new 1" }, { b, "new 2" } }, TSaveStep::OldMovedAside, false);
    RemoveStaleSaveFiles(dir.path());
    const QStringList aside = QDir(dir.path()).entryList({ ".dorwen-cad-old-*" }, QDir::Files | QDir::Hidden);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(ReadAll(dir.filePath(aside.first())), OldBytes + "1");
    EXPECT_TRUE(saveLeftovers(dir.path()).isEmpty());
}

// ---- Reading ---------------------------------------------------------------------------

namespace {

std::vector<ReaderCase> CoreReaders()
{
    return {
        { "ReadWholeFile",
            [](const QString &f, QString *e) {
                QByteArray b;
                return ReadWholeFile(f, 1000, b, e);
            },
            1000 },
        { "palette file",
            [](const QString &f, QString *) {
                TPalette256 p {};
                return LoadPaletteFile(p, f);
            },
            -1, false },
        { "undo palette",
            [](const QString &f, QString *e) {
                TPalette256 p {};
                return ReadUndoPalette(f, p, e);
            },
            PaletteFileSize },
        { "undo picture",
            [](const QString &f, QString *e) {
                QImage img;
                return ReadUndoPicture(f, img, e);
            },
            MaxPictureFileSize },
        { "8-bit bitmap",
            [](const QString &f, QString *e) {
                QImage img;
                return LoadBmp8File(f, img, e);
            },
            MaxPictureFileSize },
    };
}

} // namespace

TEST(ReadFile, FifosDevicesAndFoldersAreRefusedAtOnce)
{
    ExpectSpecialFilesRefused(CoreReaders());
}

TEST(ReadFile, FilesLargerThanTheFormatHoldsAreRefusedUnread)
{
    ExpectOversizedFilesRefused(CoreReaders());
}

TEST(ReadFile, BoundsAndShortReads)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f");
    ASSERT_TRUE(WriteAll(path, "0123456789"));
    struct Case {
        qint64 bound;
        bool whole;
        bool ok;
        const char *got;
    } cases[] = {
        { 10, true, true, "0123456789" },
        { 9, true, false, "" },
        { 0, true, false, "" },
        { 100, false, true, "0123456789" },
        { 4, false, true, "0123" },
        { 0, false, true, "" },
    };
    for (const Case &c : cases) {
        QByteArray bytes = "unchanged";
        QString error;
        const bool ok = c.whole ? ReadWholeFile(path, c.bound, bytes, &error)
                                : ReadFileStart(path, c.bound, bytes, &error);
        EXPECT_EQ(ok, c.ok) << c.bound << " " << c.whole;
        EXPECT_EQ(bytes, c.ok ? QByteArray(c.got) : QByteArray("unchanged")) << c.bound << " " << c.whole;
    }
    QByteArray bytes;
    QString error;
    ASSERT_TRUE(WriteAll(path, ""));
    EXPECT_TRUE(ReadWholeFile(path, 10, bytes, &error));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_FALSE(ReadWholeFile(dir.filePath("missing"), 10, bytes, &error));
    EXPECT_TRUE(error.contains("does not exist")) << error.toStdString();
}

TEST(ReadFile, PaletteFileReadsOnlyItsOwnBytes)
{
    // A palette file followed by 4 GiB of (sparse) nothing: only its 1106 bytes are read.
    QTemporaryDir dir;
    const QString path = SparseFile(dir, "long.pal", qint64(4) << 30);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_EQ(f.write(EncodePaletteFile(GreyPalette())), PaletteFileSize);
    f.close();
    TPalette256 back {};
    RunWithin(20, "palette", [&] { EXPECT_TRUE(LoadPaletteFile(back, path)); });
    EXPECT_EQ(back, GreyPalette());
}

// ---- Names whose bytes are not UTF-8 -------------------------------------------------------

namespace {

// "图案" in GBK, as a Windows program names a file.
const QByteArray GbkName = "\xCD\xBC\xB0\xB8";

QByteArray Local(const QTemporaryDir &dir, const QByteArray &name)
{
    return QFile::encodeName(dir.path()) + '/' + name;
}

bool CreateRaw(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && ok;
}

// The entry names of a folder as bytes (Qt's listing cannot carry names that are not UTF-8).
QList<QByteArray> RawEntries(const QByteArray &folder)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(folder.constData())) {
        while (const dirent *entry = ::readdir(dir))
            if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, ".."))
                names << QByteArray(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Removes what the test made under raw names, which QTemporaryDir cannot remove.
void RemoveRaw(const QByteArray &folder)
{
    for (const QByteArray &name : RawEntries(folder)) {
        const QByteArray path = folder + '/' + name;
        if (::unlink(path.constData()) != 0)
            RemoveRaw(path);
    }
    ::rmdir(folder.constData());
}

QByteArray ReadRaw(const QByteArray &path)
{
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    char buf[4096];
    ssize_t n = 0;
    while (fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0)
        bytes.append(buf, n);
    if (fd >= 0)
        ::close(fd);
    return bytes;
}

} // namespace

TEST(NonUtf8Names, GbkNamesOpenAndSaveUnderTheirOwnBytes)
{
    QTemporaryDir dir;
    // A GBK-named folder holding a GBK-named palette file.
    const QByteArray folder = Local(dir, GbkName);
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    const QByteArray file = folder + '/' + GbkName + ".pal";
    ASSERT_TRUE(CreateRaw(file, EncodePaletteFile(GreyPalette())));

    // The name as a folder listing gives it (bytes that are not UTF-8 shown as replacement
    // characters) and as the GBK text a Windows program's file field gives.
    const QString listed = QFile::decodeName(file);
    const QString gbkText = dir.path() + QString::fromUtf8("/图案/图案.pal");
    ASSERT_TRUE(HasLostNameBytes(listed));
    for (const QString &name : { listed, gbkText }) {
        TPalette256 back {};
        EXPECT_TRUE(LoadPaletteFile(back, name)) << name.toStdString();
        EXPECT_EQ(back, GreyPalette()) << name.toStdString();
        QByteArray bytes;
        QString error;
        EXPECT_TRUE(ReadWholeFile(name, PaletteFileSize, bytes, &error)) << error.toStdString();
    }

    // Saving under the name replaces that file; no file with a mangled name appears.
    QString error;
    ASSERT_TRUE(WriteFileAtomically(listed, "saved", &error)) << error.toStdString();
    EXPECT_EQ(ReadRaw(file), "saved");
    EXPECT_EQ(RawEntries(folder), QList<QByteArray> { GbkName + ".pal" });
    RemoveRaw(folder);
}

TEST(NonUtf8Names, ANameThatCannotBeFoundSaysItIsNotUtf8)
{
    QTemporaryDir dir;
    // Two GBK names that show as the same text: neither can be told from the other.
    ASSERT_TRUE(CreateRaw(Local(dir, "\xB0\xB8.pal"), "a"));
    ASSERT_TRUE(CreateRaw(Local(dir, "\xB0\xB9.pal"), "b"));
    const QString shown = QFile::decodeName(Local(dir, "\xB0\xB8.pal"));
    ASSERT_EQ(shown, QFile::decodeName(Local(dir, "\xB0\xB9.pal")));
    const QString gone = QFile::decodeName(Local(dir, "\xC1\xC1.pal"));
    for (const QString &name : { shown, gone }) {
        QByteArray bytes;
        QString error;
        EXPECT_FALSE(ReadWholeFile(name, 100, bytes, &error));
        EXPECT_TRUE(error.contains("not valid UTF-8") && error.contains("convmv")) << error.toStdString();
        EXPECT_FALSE(error.contains("does not exist")) << error.toStdString();
        EXPECT_FALSE(WriteFileAtomically(name, "x", &error));
        EXPECT_TRUE(error.contains("not valid UTF-8")) << error.toStdString();
    }
    EXPECT_EQ(
        RawEntries(QFile::encodeName(dir.path())), (QList<QByteArray> { "\xB0\xB8.pal", "\xB0\xB9.pal" }))
        << "nothing was written";
    ::unlink(Local(dir, "\xB0\xB8.pal").constData());
    ::unlink(Local(dir, "\xB0\xB9.pal").constData());
}
