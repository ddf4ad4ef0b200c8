// GraphicsMagick is loaded with the first picture that needs it: the main window comes up
// without it, and a Targa picture opened as a user opens one brings it in and opens. The
// check runs in a process of its own, where no earlier test has loaded the library.
#include "mainwindowfixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace {

struct MagickOnFirstUse : TMainWindowFixture { };

constexpr char ChildFlag[] = "DORWEN_TEST_MAGICK_CHILD";

bool magickLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libGraphicsMagick");
}

// An uncompressed 24-bit Targa picture, rows from the top, every pixel set.
QByteArray targa(int width, int height)
{
    QByteArray bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = char(width & 0xff);
    bytes[13] = char(width >> 8);
    bytes[14] = char(height & 0xff);
    bytes[15] = char(height >> 8);
    bytes[16] = 24;
    bytes[17] = 0x20;
    for (int i = 0; i < width * height; ++i)
        bytes.append(i % 2 ? QByteArray("\x00\x00\xff", 3) : QByteArray("\xff\xff\xff", 3));
    return bytes;
}

} // namespace

TEST_F(MagickOnFirstUse, TheMainWindowStartsWithoutTheLibraryAndATargaPictureLoadsIt)
{
    if (!qEnvironmentVariableIsSet(ChildFlag)) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(ChildFlag), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--gtest_filter=MagickOnFirstUse.*"), QStringLiteral("--gtest_shuffle=0") });
        ASSERT_TRUE(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return;
    }
    ASSERT_FALSE(magickLoaded()) << "the test program itself loaded the library";
    StartFreshSettings();
    RegisterPictureFormats();
    ShowMainWindow();
    QCoreApplication::processEvents();
    EXPECT_FALSE(magickLoaded());
    const QString path = dir.filePath(QStringLiteral("red.tga"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(targa(5, 3));
    file.close();
    TMDIChild *child = form->OpenChild(path);
    ASSERT_NE(child, nullptr) << ask.Messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(magickLoaded());
    EXPECT_EQ(child->PatternGrid().Picture().size(), QSize(5, 3));
}
