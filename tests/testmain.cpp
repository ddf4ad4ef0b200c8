// The test programs' main: every test runs in a QApplication on the offscreen platform,
// with XDG_CONFIG_HOME, XDG_DATA_HOME and TMPDIR pointed at a private temporary folder so
// that no test reads or writes the real home folder, and starts from the shared records'
// start values whatever ran before it.
#include "core/settings/sharedstate.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
// Runs before each test's fixture is made.
class TSharedStateReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override { ResetSharedState(); }
};
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/dorwen-test-XXXXXX"));
    if (!home.isValid())
        return 2;
    const QByteArray root = QFile::encodeName(home.path());
    QDir().mkpath(home.path() + QStringLiteral("/config"));
    QDir().mkpath(home.path() + QStringLiteral("/data"));
    QDir().mkpath(home.path() + QStringLiteral("/tmp"));
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("TMPDIR", root + "/tmp");
    qputenv("HOME", root);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TSharedStateReset);
    const int result = RUN_ALL_TESTS();
    ResetSharedState(); // the private temporary folder goes while the home folder is still there
    return result;
}
