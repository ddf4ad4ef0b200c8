// The help guide, the calculator and the system settings without their windows.
#include "core/base/help.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "shell/calculator.h"
#include "shell/systemsettings.h"
#include "testutil.h"

#include <QDesktopServices>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
// Takes the addresses the desktop would have opened.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public Q_SLOTS:
    void open(const QUrl &url) { Urls.append(url); }
};

// PATH set to one folder for the test's lifetime.
class TPathFolder {
public:
    TPathFolder()
        : m_old(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(m_dir.path()));
    }
    ~TPathFolder() { qputenv("PATH", m_old); }
    QString AddProgram(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        WriteAll(path, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
};
} // namespace

TEST(Help, ShowHelpOpensTheGuideAtTheContextsAnchor)
{
    ASSERT_TRUE(InitSharedState());
    ASSERT_TRUE(Folders().HelpFile.endsWith("/Help/index.html")) << Folders().HelpFile.toStdString();
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    EXPECT_TRUE(ShowHelp(THelpContext::RepairPicture));
    EXPECT_TRUE(ShowHelp(THelpContext::Start));
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.Urls.size(), 2);
    EXPECT_EQ(catcher.Urls[0].fragment(), "10");
    EXPECT_EQ(catcher.Urls[0].toLocalFile(), Folders().HelpFile);
    EXPECT_FALSE(catcher.Urls[1].hasFragment());

    // Every context a window gives has its section in the guide.
    const QByteArray guide = ReadAll(Folders().HelpFile);
    for (THelpContext c : { THelpContext::SystemSettings, THelpContext::RepairPicture, THelpContext::Spray,
             THelpContext::InsertWord, THelpContext::PrintPreview, THelpContext::PointStyle,
             THelpContext::StraightLine, THelpContext::CrepeWeave, THelpContext::Bordure,
             THelpContext::RemoveWarp })
        EXPECT_TRUE(guide.contains("id=\"" + QByteArray::number(int(c)) + "\"")) << int(c);

    // A missing guide is reported, nothing is opened.
    Folders().HelpFile = "/no/such/Help/index.html";
    QString error;
    EXPECT_FALSE(ShowHelp(THelpContext::Spray, &error));
    EXPECT_TRUE(error.contains("/no/such/Help/index.html")) << error.toStdString();
}

TEST(Calculator, TheFirstCalculatorOnThePathIsTaken)
{
    TPathFolder path;
    EXPECT_EQ(FindDesktopCalculator(), QString());
    QString error;
    EXPECT_FALSE(StartDesktopCalculator(&error));
    EXPECT_FALSE(error.isEmpty());
    const QString xcalc = path.AddProgram("xcalc");
    EXPECT_EQ(FindDesktopCalculator(), xcalc);
    const QString kcalc = path.AddProgram("kcalc");
    EXPECT_EQ(FindDesktopCalculator(), kcalc) << "kcalc comes before xcalc";
    EXPECT_TRUE(StartDesktopCalculator(&error)) << error.toStdString();
}

TEST(SystemSettings, OnlyChangedRowsAreActedOn)
{
    const QStringList types = AssociableFileTypes();
    EXPECT_EQ(types, (QStringList { ".EP", ".JC5", ".QS" }));
    const struct {
        QList<bool> before, after;
        QStringList changed;
        QList<bool> registers;
    } cases[] = {
        { { false, false, false }, { false, false, false }, {}, {} },
        { { true, false, true }, { true, false, true }, {}, {} },
        { { true, false, true }, { false, false, true }, { ".EP" }, { false } },
        { { false, true, false }, { true, true, true }, { ".EP", ".QS" }, { true, true } },
    };
    for (const auto &c : cases) {
        const QList<TFileTypeChange> changes = ChangedFileTypes(types, c.before, c.after);
        QStringList changed;
        QList<bool> registers;
        for (const TFileTypeChange &change : changes) {
            changed << change.Extension;
            registers << change.Register;
        }
        EXPECT_EQ(changed, c.changed);
        EXPECT_EQ(registers, c.registers);
    }
}

TEST(SystemSettings, BackupSizeHasTwoDecimals)
{
    const struct {
        double mb;
        const char *shown;
    } cases[] = { { 0, "0.00" }, { 0.5, "0.50" }, { 1.0 / 3, "0.33" }, { 1234.567, "1234.57" } };
    for (const auto &c : cases)
        EXPECT_EQ(FormatBackupSize(c.mb), c.shown) << c.mb;
}

TEST(SystemSettings, SevenSettingsRoundTripWithinTheirRanges)
{
    QTemporaryDir dir;
    Folders().ConfigIniPath = dir.filePath("Config.Ini");
    TSystemSettingValues v;
    v.MaxUndoCount = 999;
    v.MaxBakDataSize = 1024 * 1024;
    v.MaxRecentFile = 10;
    v.FlashFrequence = 50;
    v.FlashTime = 60;
    v.AutoReduceColorCount = 17;
    v.AutoOpenRecentFile = true;
    WriteSystemSettings(v);
    EXPECT_EQ(ReadAll(Folders().ConfigIniPath),
        "[Main]\nMaxUndoCount=999\nAutoOpenRecentFile=1\nAutoReduceColorCount=17\nMaxRecentFile=10\n"
        "FlashFrequence=50\nFlashTime=60\nMaxBakDataSize=1048576\n");
    const TSystemSettingValues back = ReadSystemSettings();
    EXPECT_EQ(back.MaxUndoCount, 999);
    EXPECT_EQ(back.MaxBakDataSize, 1024 * 1024);
    EXPECT_EQ(back.MaxRecentFile, 10);
    EXPECT_EQ(back.FlashFrequence, 50);
    EXPECT_EQ(back.FlashTime, 60);
    EXPECT_EQ(back.AutoReduceColorCount, 17);
    EXPECT_TRUE(back.AutoOpenRecentFile);
    EXPECT_EQ(StartSettings().FlashFrequence, 50);
}

#include "test_systemcommands.moc"
