// The per-process temporary folder: removed when the process is stopped by a signal, and
// folders of processes that are gone removed at the next start.
#include "core/base/tempfolder.h"

#include "testutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
const char ChildVariable[] = "DORWEN_TEMPFOLDER_CHILD";
}

// Not a test of its own: the child process that StopSignalsRemoveTheFolder starts and
// stops. It makes its folder, puts a file in it, says where it is and waits.
TEST(ProcessTempFolder, ChildWaitingForASignal)
{
    if (!qEnvironmentVariableIsSet(ChildVariable))
        GTEST_SKIP() << "runs only as the child process of StopSignalsRemoveTheFolder";
    // A shell starts background jobs with SIGINT ignored, and the folder's handlers leave
    // an ignored signal ignored: the child starts as from a terminal.
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    QString path;
    ASSERT_TRUE(MakeProcessTempFolder(path));
    ASSERT_TRUE(WriteAll(path + "/ScanImg~$1_1.bmp", "an undo step"));
    std::printf("TEMPFOLDER=%s\n", QFile::encodeName(path).constData());
    std::fflush(stdout);
    for (int i = 0; i < 600; ++i)
        ::usleep(100 * 1000);
    FAIL() << "no signal came";
}

TEST(ProcessTempFolder, StopSignalsRemoveTheFolder)
{
    for (int sig : { SIGTERM, SIGINT }) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(ChildVariable, "1");
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
            { "--gtest_filter=ProcessTempFolder.ChildWaitingForASignal" });
        ASSERT_TRUE(child.waitForStarted());
        QString path;
        QByteArray output;
        for (int i = 0; i < 600 && path.isEmpty() && child.state() == QProcess::Running; ++i) {
            child.waitForReadyRead(100);
            output += child.readAllStandardOutput();
            for (const QByteArray &line : output.split('\n'))
                if (line.startsWith("TEMPFOLDER=") && output.contains(line + '\n'))
                    path = QFile::decodeName(line.mid(11));
        }
        ASSERT_FALSE(path.isEmpty()) << output.toStdString();
        ASSERT_TRUE(QFileInfo(path).isDir());
        ASSERT_EQ(::kill(pid_t(child.processId()), sig), 0);
        ASSERT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "stopped by the signal " << sig;
        EXPECT_FALSE(QFileInfo::exists(path)) << "signal " << sig << " left " << path.toStdString();
    }
}

TEST(ProcessTempFolder, NamedForTheProcessAndLockedWhileItLives)
{
    QString path, again;
    ASSERT_TRUE(MakeProcessTempFolder(path));
    ASSERT_TRUE(MakeProcessTempFolder(again));
    EXPECT_EQ(path, again);
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("dorwen-cad-%1-").arg(::getpid())))
        << path.toStdString();
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup), 0);
    const int fd = ::open(QFile::encodeName(path + "/lock").constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0) << "the lock is held";
    ::close(fd);
    // Its own folder is never taken for a stale one.
    RemoveStaleTempFolders(QFileInfo(path).absolutePath());
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(ProcessTempFolder, StaleFoldersOfGoneProcessesAreRemovedLiveOnesKept)
{
    QTemporaryDir parent;
    QTemporaryDir elsewhere;
    // The id of a process that has ended.
    QProcess ended;
    ended.start("true");
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 gone = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    ASSERT_NE(::kill(pid_t(gone), 0), 0);
    const qint64 live = ::getpid();

    auto make = [&](const QString &name, const char *lock) {
        const QString path = parent.filePath(name);
        EXPECT_TRUE(QDir().mkpath(path + "/sub"));
        EXPECT_TRUE(WriteAll(path + "/ScanImg~$1_1.bmp", "step"));
        if (lock) {
            EXPECT_TRUE(WriteAll(path + "/lock", lock));
        }
        return path;
    };
    const QString goneNoLock = make(QStringLiteral("dorwen-cad-%1-aaaaaa").arg(gone), nullptr);
    const QString goneUnlocked = make(QStringLiteral("dorwen-cad-%1-bbbbbb").arg(gone), "1\n");
    const QString liveNoLock = make(QStringLiteral("dorwen-cad-%1-cccccc").arg(live), nullptr);
    const QString heldLock = make(QStringLiteral("dorwen-cad-%1-dddddd").arg(gone), "2\n");
    const QString liveIdUnlocked = make(QStringLiteral("dorwen-cad-%1-eeeeee").arg(live), "3\n");
    const QString otherName = make(QStringLiteral("dorwen-cad-notapid"), nullptr);
    ASSERT_TRUE(QDir().mkpath(elsewhere.filePath("target")));
    const QString link = parent.filePath(QStringLiteral("dorwen-cad-%1-ffffff").arg(gone));
    ASSERT_TRUE(QFile::link(elsewhere.filePath("target"), link));

    // A live process holds the lock of this one.
    const int fd = ::open(QFile::encodeName(heldLock + "/lock").constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);

    RemoveStaleTempFolders(parent.path());
    ::close(fd);

    EXPECT_FALSE(QFileInfo::exists(goneNoLock));
    EXPECT_FALSE(QFileInfo::exists(goneUnlocked));
    EXPECT_TRUE(QFileInfo(liveNoLock + "/ScanImg~$1_1.bmp").isFile()) << "its process id is running";
    EXPECT_TRUE(QFileInfo(heldLock + "/ScanImg~$1_1.bmp").isFile()) << "its lock is held";
    EXPECT_FALSE(QFileInfo::exists(liveIdUnlocked)) << "the lock decides, not a reused process id";
    EXPECT_TRUE(QFileInfo(otherName).isDir());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(elsewhere.filePath("target")).isDir());
}
