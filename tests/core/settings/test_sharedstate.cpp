#include "core/base/cursors.h"
#include "core/base/fileext.h"
#include "core/settings/sharedstate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FileExtensions, TableAndLookupInAnyCase)
{
    EXPECT_EQ(FileExtensionRow(".OVY"), 11);
    EXPECT_EQ(FileExtensionRow(".ovy"), 11);
    EXPECT_EQ(FileExtensionRow("Ovy"), 11);
    EXPECT_EQ(FileExtensionRow("/tmp/a.b/pattern.Grd"), 12);
    EXPECT_EQ(FileExtensionRow(".jc5"), 3);
    EXPECT_EQ(FileExtensionRow(".OV"), -1);
    EXPECT_EQ(FileExtensionRow(""), -1);
    EXPECT_STREQ(FileTypeDescription[0], FileTypeDescription[1]);
    EXPECT_STREQ(FileTypeDescription[0], "图象文件");
    EXPECT_STREQ(FileTypeIconIndex[8], "13");
}

TEST(SharedState, WritableFoldersCreatedInAnEmptyHome)
{
    QTemporaryDir home;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    QTemporaryDir exe;
    QString error;
    ASSERT_TRUE(InitSharedState(exe.path(), &error)) << error.toStdString();
    qputenv("XDG_DATA_HOME", oldData);
    qputenv("XDG_CONFIG_HOME", oldConfig);

    for (const char *name : { "Picture", "Weave", "Binding", "Pattern" })
        EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("data/dorwen-cad/") + name)).isDir()) << name;
    EXPECT_EQ(Folders().ConfigIniPath, home.filePath("config/dorwen-cad/Config.Ini"));
    EXPECT_EQ(QDir(exe.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList())
        << "nothing is written next to the program outside portable mode";
    EXPECT_TRUE(Folders().ScanImgPath.endsWith("ScanImg~$"));
    EXPECT_TRUE(QFileInfo(Folders().TempDir).isDir());
    EXPECT_EQ(QFileInfo(Folders().TempDir).permissions()
            & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
        0);
    EXPECT_EQ(Folders().MergeTempPath, Folders().ScanImgPath + "Merge.tmp");
    EXPECT_EQ(RunState().CurrentToolId, TToolId::Move);
    EXPECT_EQ(Folders().PatternLibDir, home.filePath("data/dorwen-cad/Pattern/"));
    EXPECT_TRUE(Folders().WeaveDirCreated) << "a new user's weave folder gets the starter weaves";
    EXPECT_EQ(RunState().SharedBitmap.format(), QImage::Format_Indexed8);
    EXPECT_EQ(RunState().SharedBitmap.colorCount(), 256)
        << "every 8-bit picture carries a whole colour table";

    // The second start finds the weave folder: nothing is put into it again.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    ASSERT_TRUE(InitSharedState(exe.path(), &error)) << error.toStdString();
    qputenv("XDG_DATA_HOME", oldData);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_FALSE(Folders().WeaveDirCreated);
}

TEST(SharedState, PortableModeKeepsEverythingNextToTheProgram)
{
    QTemporaryDir exe;
    QFile ini(exe.filePath("Config.Ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.close();
    ASSERT_TRUE(InitSharedState(exe.path()));
    EXPECT_TRUE(PortableMode());
    EXPECT_EQ(Folders().ConfigIniPath, exe.filePath("Config.Ini"));
    EXPECT_EQ(Folders().HelpFile, exe.filePath("Help/index.html"));
    QStringList made = QDir(exe.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    made.sort();
    EXPECT_EQ(made, (QStringList { "Binding", "Help", "Language", "Pattern", "Picture", "Weave" }));
}

// What the test programs rely on before each test: every record back at its start value,
// the private temporary folder and the language file let go.
TEST(SharedState, ResetGivesEveryRecordItsStartValue)
{
    ASSERT_TRUE(InitSharedState(QDir::tempPath() + "/dorwen-exe-none"));
    const QString temp = Folders().TempDir;
    ASSERT_TRUE(QFileInfo(temp).isDir());
    ASSERT_NE(Folders().LanguageIni, nullptr);
    RunState().CurrentToolId = TToolId::Sprayer;
    RunState().HorzWidth = 4;
    RunState().EpsTimeoutMs = 10;
    StartSettings().MaxUndoCount = 7;
    StartSettings().GrossOption.Warp = 99;
    Hooks().MainFormHandle = qApp;
    Hooks().ProgressEvent = [](std::uint8_t) {};
    CardTables().PickTable.fill(3);
    CardTables().WeftDensNeedleCount = 5;

    ResetSharedState();
    EXPECT_TRUE(Folders().ConfigIniPath.isEmpty());
    EXPECT_TRUE(Folders().ScanImgPath.isEmpty());
    EXPECT_TRUE(Folders().LanguageFileName.isEmpty());
    EXPECT_EQ(Folders().LanguageIni, nullptr);
    EXPECT_FALSE(PortableMode());
    EXPECT_TRUE(Folders().TempDir.isEmpty());
    EXPECT_TRUE(QFileInfo(temp).isDir()) << "the temporary folder belongs to the process, not to the record";
    EXPECT_EQ(RunState().CurrentToolId, TToolId::Move);
    EXPECT_EQ(RunState().HorzWidth, 1);
    EXPECT_EQ(RunState().EpsTimeoutMs, 30000);
    EXPECT_TRUE(RunState().SharedBitmap.isNull());
    EXPECT_EQ(StartSettings().MaxUndoCount, 0);
    EXPECT_DOUBLE_EQ(StartSettings().MaxBakDataSize, 100.0);
    EXPECT_EQ(StartSettings().GrossOption, TGrossOption {});
    EXPECT_EQ(Hooks().MainFormHandle, nullptr);
    EXPECT_FALSE(Hooks().ProgressEvent);
    EXPECT_EQ(CardTables().PickTable, TNeedleMasks {});
    EXPECT_EQ(CardTables().WeftDensNeedleCount, 0);

    // A new start finds the process's folder again.
    ASSERT_TRUE(InitSharedState(QDir::tempPath() + "/dorwen-exe-none"));
    EXPECT_EQ(Folders().TempDir, temp);
}

TEST(Cursors, TwentyRegistrationsWithSharedHandOpen)
{
    RegisterCursors();
    const int ids[] = { 111, 112, 113, 114, 115, 118, 120, 121, 123, 124, 125, 126, 127, 128, 129, 130, 131,
        132, 133, 134 };
    for (int id : ids)
        EXPECT_TRUE(IsCursorRegistered(id)) << id;
    for (int id : { 116, 117, 119, 122 })
        EXPECT_FALSE(IsCursorRegistered(id)) << id;
    EXPECT_STREQ(CursorResourceName(crHandOpen2), "HandOpen");
    EXPECT_EQ(AppCursor(116).shape(), Qt::ArrowCursor);
    EXPECT_EQ(AppCursor(crSpray).shape(), Qt::BitmapCursor);
}
