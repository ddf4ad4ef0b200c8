// One instance per user: a second start of the real program hands its file to this
// process's instance and ends.
#include "shell/ui/singleinstance.h"

#include "../fakequestions.h"
#include "core/base/localname.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/handover.h"
#include "shell/pictureformats.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Message boxes that stay open for a while, as a person may leave them.
struct TSlowQuestions : TFakeQuestions {
    int OpenMs = 0;
    void ShowMessage(const QString &text, const QString &caption, TMessageKind kind) override
    {
        TFakeQuestions::ShowMessage(text, caption, kind);
        QEventLoop loop;
        QTimer::singleShot(OpenMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

struct HandOverFixture : ::testing::Test {
    QTemporaryDir runtime; // the lock file and the socket
    QTemporaryDir work; // the second start's working folder
    TSlowQuestions ask;
    std::unique_ptr<TSingleInstance> instance;
    std::unique_ptr<TMainForm> form;

    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        RegisterPictureFormats();
        ASSERT_TRUE(SaveBmp8File(MakePicture({ { 1, 2 }, { 3, 4 } }), work.filePath("a b.bmp")));
        // A socket file left behind by a crashed instance does not stand in the way.
        ASSERT_TRUE(WriteAll(runtime.filePath(SingleInstanceKey() + ".socket"), ""));
        instance = std::make_unique<TSingleInstance>(runtime.path());
        ASSERT_EQ(instance->Start(), TSingleInstance::Primary);
        form = std::make_unique<TMainForm>();
        form->SetQuestions(&ask);
        QObject::connect(
            instance.get(), &TSingleInstance::FileHandedOver, form.get(), &TMainForm::OpenHandedOverFile);
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        instance.reset();
        UnregisterPictureFormats();
    }

    // Runs the real program as a second start and serves this instance until it ends.
    int secondStart(const QStringList &arguments) { return secondStartWith(DORWEN_CAD_EXE, arguments); }
    int secondStartWith(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(work.path());
        process.start(program, arguments);
        if (!process.waitForStarted(10000))
            return -1;
        QDeadlineTimer deadline(60000);
        while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            process.waitForFinished(20);
        }
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            return -2;
        }
        // The handed-over file is opened once the connection is done with.
        QCoreApplication::processEvents();
        lastErrors = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
    }
    QByteArray lastErrors; // what the last second start wrote to its standard error
    // A second start given one argument as the bytes that printf's %b makes of `escaped`.
    int secondStartRaw(const QByteArray &escaped)
    {
        return secondStartWith("/bin/sh",
            { "-c", "exec \"$0\" \"$(printf '%b' \"$1\")\"", DORWEN_CAD_EXE, QString::fromLatin1(escaped) });
    }
    int windows() const { return int(form->Children().size()); }
    // Sends raw bytes over the socket and serves until the instance drops the connection.
    void sendRaw(const QByteArray &bytes)
    {
        QLocalSocket socket;
        socket.connectToServer(instance->SocketPath());
        QDeadlineTimer deadline(10000);
        while (socket.state() != QLocalSocket::ConnectedState && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        socket.write(bytes);
        socket.flush();
        while (socket.state() != QLocalSocket::UnconnectedState && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            socket.waitForDisconnected(10);
        }
        QCoreApplication::processEvents();
    }
};
} // namespace

TEST_F(HandOverFixture, SecondStartHandsItsFileToTheRunningInstance)
{
    const QString expected = work.filePath("a b.bmp");
    // A relative path with blanks around it, typed in the second start's folder.
    EXPECT_EQ(secondStart({ "  a b.bmp " }), 0);
    ASSERT_EQ(windows(), 1);
    EXPECT_EQ(form->Children().first()->Caption(), expected);

    // Again: the running instance asks whether to open it a second time (declined).
    EXPECT_EQ(secondStart({ "a b.bmp" }), 0);
    EXPECT_EQ(ask.Asked, QStringList { GetUiMessage(UiKey::String::FileAlreadyOpen) });
    EXPECT_EQ(windows(), 1);

    // Without an argument it only raises the running window.
    form->showMinimized();
    EXPECT_EQ(secondStart({}), 0);
    EXPECT_EQ(windows(), 1);
    EXPECT_FALSE(form->isMinimized());
}

TEST_F(HandOverFixture, MalformedAndOversizedMessagesAreIgnored)
{
    QByteArray oversized(4, '\0');
    oversized[0] = char(0xFF);
    oversized[1] = char(0xFF);
    oversized[2] = char(0xFF);
    oversized[3] = char(0x7F);
    sendRaw(oversized);
    sendRaw(EncodeHandOver("/etc/passwd").left(6) + QByteArray(MaxHandOverPathBytes, 'x'));
    QByteArray relative = EncodeHandOver("/a b.bmp");
    relative[4] = 'x';
    sendRaw(relative);
    EXPECT_EQ(windows(), 0);
    EXPECT_TRUE(ask.Asked.isEmpty());
    // The instance still serves a sound message afterwards.
    sendRaw(EncodeHandOver(work.filePath("a b.bmp")));
    EXPECT_EQ(windows(), 1);
}

// A lock left by a process that is gone (a crash) is taken over; one whose process lives
// makes this start the second.
TEST(SingleInstance, StaleLockIsTakenOverAndALiveOneIsNot)
{
    QTemporaryDir runtime;
    {
        TSingleInstance probe(runtime.path());
        ASSERT_TRUE(WriteAll(
            probe.LockPath(), "2147483646\ndorwen-cad\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
    }
    TSingleInstance first(runtime.path());
    EXPECT_EQ(first.Start(), TSingleInstance::Primary);
    TSingleInstance second(runtime.path());
    EXPECT_EQ(second.Start(), TSingleInstance::Secondary);
}

TEST_F(HandOverFixture, ADamagedFileWhoseBoxStaysOpenPastTheReadTimeout)
{
    // The second start hands over a damaged picture, and the error box stays open 6 s:
    // longer than the 5 s a connection is given to send its message.
    ASSERT_TRUE(WriteAll(work.filePath("damaged.bmp"), QByteArray("BM") + QByteArray(40, '\x07')));
    ask.OpenMs = 6000;
    EXPECT_EQ(secondStart({ "damaged.bmp" }), 0);
    ASSERT_EQ(ask.Messages.size(), 1);
    EXPECT_EQ(windows(), 0);
    // The instance lives on and serves the next start.
    ask.OpenMs = 0;
    EXPECT_EQ(secondStart({ "a b.bmp" }), 0);
    EXPECT_EQ(windows(), 1);
}

TEST_F(HandOverFixture, AHandOverWhileAModalDialogIsOpen)
{
    // A file handed over while any modal dialog runs its own event loop is opened there,
    // and a second one handed over while the first one's box is open waits its turn.
    ASSERT_TRUE(WriteAll(work.filePath("damaged.bmp"), QByteArray("BM") + QByteArray(40, '\x07')));
    ask.OpenMs = 700;
    QDialog dialog(form.get());
    int served = 0;
    QTimer::singleShot(0, &dialog, [&] {
        sendRaw(EncodeHandOver(work.filePath("damaged.bmp")));
        sendRaw(EncodeHandOver(work.filePath("a b.bmp")));
        ++served;
        QDeadlineTimer deadline(10000);
        while (windows() < 1 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        dialog.reject();
    });
    dialog.exec();
    EXPECT_EQ(served, 1);
    EXPECT_EQ(ask.Messages.size(), 1);
    EXPECT_EQ(windows(), 1);
}

TEST_F(HandOverFixture, APathTooLongForTheMessageIsToldBySecondStart)
{
    const QString path = "/" + QString(20 * 1024, QLatin1Char('a')) + ".bmp";
    EXPECT_EQ(secondStart({ path }), 2);
    const QString told = QString::fromLocal8Bit(lastErrors);
    EXPECT_TRUE(told.contains(
        GetUiMessage(UiKey::String::HandOverPathTooLong).arg(path.size()).arg(MaxHandOverPathBytes)))
        << told.toStdString();
    EXPECT_EQ(windows(), 0);
    EXPECT_TRUE(ask.Asked.isEmpty());
}

// File names as the file system holds them: not UTF-8, with blanks of their own, relative.
TEST_F(HandOverFixture, FileNamesReachTheRunningInstanceAsTheyAre)
{
    ASSERT_TRUE(QDir(work.path()).mkdir("sub"));
    struct Case {
        const char *what;
        QByteArray argument; // as typed, in bytes
        QByteArray file; // the file made for it, relative to the working folder; empty: none
        QString opened; // the document's name, relative; empty: nothing opens
    } cases[] = {
        { "GBK name", "\xCD\xBC\xB0\xB8.bmp", "\xCD\xBC\xB0\xB8.bmp", QString::fromUtf8("图案.bmp") },
        { "GBK folder", "\xB0\xB8/a.bmp", "\xB0\xB8/a.bmp", QString::fromUtf8("案/a.bmp") },
        { "leading blank", " lead.bmp", " lead.bmp", " lead.bmp" },
        { "trailing blank", "trail.bmp ", "trail.bmp ", "trail.bmp " },
        { "blanks typed around a name", "  sub/rel.bmp ", "sub/rel.bmp", "sub/rel.bmp" },
        { "relative name", "sub/../sub/rel.bmp", "sub/rel.bmp", "sub/rel.bmp" },
        { "only blanks", "   ", "", "" },
    };
    const QByteArray bmp = ReadAll(work.filePath("a b.bmp"));
    ASSERT_EQ(::mkdir(QFile::encodeName(work.path() + "/").append("\xB0\xB8").constData(), 0700), 0);
    for (const Case &c : cases) {
        if (!c.file.isEmpty()) {
            const QByteArray name = QFile::encodeName(work.path() + "/") + c.file;
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ASSERT_GE(fd, 0) << c.what;
            ASSERT_EQ(::write(fd, bmp.constData(), size_t(bmp.size())), bmp.size()) << c.what;
            ::close(fd);
        }
        // The argument goes to the program as raw bytes, through the shell's printf.
        QByteArray octal;
        for (char ch : c.argument)
            octal += "\\0" + QByteArray::number(quint8(ch), 8);
        EXPECT_EQ(secondStartRaw(octal), 0) << c.what;
        if (c.opened.isEmpty()) {
            EXPECT_EQ(windows(), 0) << c.what;
        } else {
            ASSERT_EQ(windows(), 1) << c.what << " " << ask.Asked.join('|').toStdString();
            EXPECT_EQ(form->Children().first()->Caption(), work.filePath(c.opened)) << c.what;
            form->Children().first()->close();
            QCoreApplication::processEvents();
            ASSERT_EQ(windows(), 0) << c.what;
        }
        EXPECT_TRUE(ask.Asked.isEmpty()) << c.what << " " << ask.Asked.join('|').toStdString();
        ask.Asked.clear();
    }
    EmptyFolderByBytes(work.path());
}

namespace {

// A throw-away user id for the process of another user.
constexpr int OtherUser = 54321;

// The other user's process: serves lock files and sockets under this user's names in the
// given folders, or sends one message. Empty when it cannot run as another user.
struct OtherUsersPeer {
    QProcess process;
    QString received; // what it was sent

    bool serve(const QString &shared, const QStringList &folders)
    {
        received = QDir(shared).filePath("received");
        start(QStringList { "serve", SingleInstanceKey(), received } + folders);
        return process.waitForReadyRead(10000) && process.readAllStandardOutput().startsWith("ready");
    }
    int send(const QString &socket, const QString &path)
    {
        start({ "send", socket, path });
        QDeadlineTimer deadline(20000);
        while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            process.waitForFinished(10);
        }
        QCoreApplication::processEvents();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    void start(const QStringList &arguments)
    {
        process.start("setpriv",
            QStringList { QStringLiteral("--reuid=%1").arg(OtherUser),
                QStringLiteral("--regid=%1").arg(OtherUser), "--clear-groups", HANDOVER_PEER_EXE }
                + arguments);
    }
    ~OtherUsersPeer()
    {
        process.kill();
        process.waitForFinished();
    }
};

// A folder in the shared temporary folder that the other user can reach.
QString sharedFolder(QTemporaryDir &dir, mode_t mode)
{
    ::chmod(QFile::encodeName(dir.path()).constData(), mode);
    return dir.path();
}

} // namespace

// Another user's process holds a lock and listens on a socket under this user's names,
// where this user's instance used to look for them: in the shared temporary folder (no
// runtime folder) or in a runtime folder open to everyone. A start of this user must hand
// it nothing and run on as the first instance, opening its file itself.
TEST(SingleInstanceUsers, AnotherUsersLockAndSocketAreNeverTrusted)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "running a process as another user needs root";
    struct Case {
        const char *what;
        bool runtimeFolder;
    } cases[] = {
        { "no runtime folder", false },
        { "a runtime folder open to everyone", true },
    };
    for (const Case &c : cases) {
        QTemporaryDir tmp("/tmp/dorwen-shared-XXXXXX"), config, data, work;
        const QString shared = sharedFolder(tmp, 01777);
        const QString runtime = QDir(shared).filePath("run");
        OtherUsersPeer peer;
        const QStringList squatted
            = c.runtimeFolder ? QStringList { runtime } : QStringList { shared, UserTempFolder(shared) };
        if (!peer.serve(shared, squatted))
            GTEST_SKIP() << "the test helper cannot run as user " << OtherUser << " (setpriv, or the build "
                         << "folder is not readable by others)";
        const QString secret = work.filePath("secret design.bmp");
        ASSERT_TRUE(SaveBmp8File(MakePicture({ { 1, 2 } }), secret));

        QProcess start;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        if (c.runtimeFolder)
            env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("TMPDIR", shared);
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("XDG_DATA_HOME", data.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DORWEN_QUIT_WHEN_SHOWN", "1");
        start.setProcessEnvironment(env);
        start.start(DORWEN_CAD_EXE, { secret });
        ASSERT_TRUE(start.waitForFinished(60000)) << c.what;
        EXPECT_EQ(start.exitCode(), 0) << c.what;
        EXPECT_FALSE(QFileInfo::exists(peer.received))
            << c.what << ": the path went to another user: " << ReadAll(peer.received).toStdString();
        // It ran as the first instance: the file it opened heads its recent-file list.
        EXPECT_TRUE(ReadAll(config.filePath("dorwen-cad/Config.Ini")).contains("secret design.bmp"))
            << c.what;
    }
}

// A connection from another user's process is dropped before anything is read from it.
TEST(SingleInstanceUsers, AnotherUsersConnectionIsIgnored)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "running a process as another user needs root";
    QTemporaryDir tmp("/tmp/dorwen-own-XXXXXX"), work;
    // Others may pass through this user's folder and write to the socket, as a careless
    // set-up would let them; the user id at the other end still decides.
    const QString own = sharedFolder(tmp, 0711);
    TSingleInstance instance(own);
    ASSERT_EQ(instance.Start(), TSingleInstance::Primary);
    ASSERT_EQ(::chmod(QFile::encodeName(instance.SocketPath()).constData(), 0777), 0);
    QStringList handed;
    QObject::connect(&instance, &TSingleInstance::FileHandedOver, [&](const QString &p) { handed << p; });
    OtherUsersPeer peer;
    const int sent = peer.send(instance.SocketPath(), work.filePath("planted.bmp"));
    if (sent == 2 || sent == 3 || sent < 0)
        GTEST_SKIP() << "the test helper cannot run as user " << OtherUser;
    EXPECT_TRUE(handed.isEmpty()) << handed.join('|').toStdString();
    // This user's own start is still served.
    QLocalSocket socket;
    socket.connectToServer(instance.SocketPath());
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write(EncodeHandOver(work.filePath("mine.bmp")));
    QDeadlineTimer deadline(10000);
    while (handed.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(handed, QStringList { work.filePath("mine.bmp") });
}

// Folders and files that are not this user's own are refused, a missing folder is made
// private.
TEST(SingleInstance, OnlyThisUsersPrivateFolderIsUsed)
{
    QTemporaryDir tmp;
    const QString made = UserTempFolder(tmp.path());
    EXPECT_TRUE(made.endsWith(QStringLiteral("/dorwen-cad-%1").arg(::getuid())));
    EXPECT_TRUE(IsOwnPrivateFolder(made, true));
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(made).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    const QByteArray open = QFile::encodeName(tmp.filePath("open"));
    ASSERT_EQ(::mkdir(open.constData(), 0700), 0);
    ASSERT_EQ(::chmod(open.constData(), 0777), 0);
    EXPECT_FALSE(IsOwnPrivateFolder(tmp.filePath("open")));
    ASSERT_TRUE(QFile::link(made, tmp.filePath("link")));
    EXPECT_FALSE(IsOwnPrivateFolder(tmp.filePath("link"))) << "a link to a folder is not one";
    EXPECT_FALSE(IsOwnPrivateFolder(tmp.filePath("missing")));
    TSingleInstance shared(tmp.filePath("open"));
    EXPECT_EQ(shared.Start(), TSingleInstance::Unavailable);

    // A lock file another user owns in this user's folder is not taken for this user's.
    if (::getuid() == 0) {
        TSingleInstance probe(made);
        ASSERT_TRUE(WriteAll(probe.LockPath(), ""));
        ASSERT_EQ(::chown(QFile::encodeName(probe.LockPath()).constData(), OtherUser, OtherUser), 0);
        EXPECT_EQ(FileOwner(probe.LockPath()), TFileOwner::Foreign);
        EXPECT_EQ(probe.Start(), TSingleInstance::Unavailable);
    }
}

// The first start opens its own argument by the same rules: the bytes of a name that is
// not UTF-8, blanks that belong to the name.
TEST(SingleInstance, AFirstStartOpensItsFileByTheNameItWasGiven)
{
    struct Case {
        const char *what;
        QByteArray file; // as typed and as on disk
        QString opened;
    } cases[] = {
        { "GBK name", "\xCD\xBC\xB0\xB8.bmp", QString::fromUtf8("图案.bmp") },
        { "leading blank", " lead.bmp", " lead.bmp" },
    };
    for (const Case &c : cases) {
        QTemporaryDir runtime, config, data, work;
        const QByteArray bmp = EncodeBmp8(MakePicture({ { 1, 2 } }));
        const QByteArray name = QFile::encodeName(work.path() + "/") + c.file;
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0) << c.what;
        ASSERT_EQ(::write(fd, bmp.constData(), size_t(bmp.size())), bmp.size()) << c.what;
        ::close(fd);
        QByteArray octal;
        for (char ch : c.file)
            octal += "\\0" + QByteArray::number(quint8(ch), 8);
        QProcess start;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("XDG_DATA_HOME", data.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DORWEN_QUIT_WHEN_SHOWN", "1");
        start.setProcessEnvironment(env);
        start.setWorkingDirectory(work.path());
        start.start("/bin/sh",
            { "-c", "exec \"$0\" \"$(printf '%b' \"$1\")\"", DORWEN_CAD_EXE, QString::fromLatin1(octal) });
        // A file that does not open asks in a box, which nobody closes here.
        const bool ended = start.waitForFinished(30000);
        start.kill();
        start.waitForFinished();
        EXPECT_TRUE(ended) << c.what;
        const QString recent = QString::fromUtf8(ReadAll(config.filePath("dorwen-cad/Config.Ini")));
        EXPECT_TRUE(recent.contains("RecentFile0=" + work.filePath(c.opened)))
            << c.what << " " << recent.toStdString();
        EmptyFolderByBytes(work.path());
    }
}
