#include "core/cursors.h"
#include "core/fileext.h"
#include "core/sharedstate.h"

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

    for (const char *name : {"Picture", "Weave", "Binding"})
        EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("data/dorwen-cad/") + name)).isDir()) << name;
    EXPECT_EQ(ConfigIniPath, home.filePath("config/dorwen-cad/Config.Ini"));
    EXPECT_EQ(QDir(exe.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList())
        << "nothing is written next to the program outside portable mode";
    EXPECT_TRUE(ScanImgPath.endsWith("ScanImg~$"));
    EXPECT_TRUE(QFileInfo(TempDir).isDir());
    EXPECT_EQ(QFileInfo(TempDir).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup), 0);
    EXPECT_EQ(MergeTempPath, ScanImgPath + "Merge.tmp");
    EXPECT_EQ(CurrentToolId, TToolId::Move);
    EXPECT_TRUE(PatternLibDir.isEmpty());
    EXPECT_EQ(SharedBitmap.format(), QImage::Format_Indexed8);
    EXPECT_EQ(SharedBitmap.colorCount(), 256) << "every 8-bit picture carries a whole colour table";
}

TEST(SharedState, PortableModeKeepsEverythingNextToTheProgram)
{
    QTemporaryDir exe;
    QFile ini(exe.filePath("Config.Ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.close();
    ASSERT_TRUE(InitSharedState(exe.path()));
    EXPECT_TRUE(PortableMode());
    EXPECT_EQ(ConfigIniPath, exe.filePath("Config.Ini"));
    EXPECT_EQ(HelpFile, exe.filePath("Help/Help.hlp"));
    QStringList made = QDir(exe.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    made.sort();
    EXPECT_EQ(made, (QStringList{"Binding", "Help", "Language", "Picture", "Weave"}));
    // Leave the shared state as other tests expect it.
    ASSERT_TRUE(InitSharedState(QDir::tempPath() + "/dorwen-exe-none"));
}

TEST(Cursors, TwentyRegistrationsWithSharedHandOpen)
{
    RegisterCursors();
    const int ids[] = {111, 112, 113, 114, 115, 118, 120, 121, 123, 124,
                       125, 126, 127, 128, 129, 130, 131, 132, 133, 134};
    for (int id : ids)
        EXPECT_TRUE(IsCursorRegistered(id)) << id;
    for (int id : {116, 117, 119, 122})
        EXPECT_FALSE(IsCursorRegistered(id)) << id;
    EXPECT_STREQ(CursorResourceName(crHandOpen2), "HandOpen");
    EXPECT_EQ(AppCursor(116).shape(), Qt::ArrowCursor);
    EXPECT_EQ(AppCursor(crSpray).shape(), Qt::BitmapCursor);
}
