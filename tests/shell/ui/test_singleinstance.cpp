// One instance per user: a second start of the real program hands its file to this
// process's instance and ends.
#include "shell/ui/singleinstance.h"

#include "../fakequestions.h"
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
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

namespace {
struct HandOverFixture : ::testing::Test {
    QTemporaryDir runtime; // the lock file and the socket
    QTemporaryDir work; // the second start's working folder
    TFakeQuestions ask;
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
    int secondStart(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(work.path());
        process.start(DORWEN_CAD_EXE, arguments);
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
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
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
