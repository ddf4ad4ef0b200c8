#include "shell/libraryfolders.h"

#include "core/settings/sharedstate.h"
#include "testutil.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
void touch(const QString &path)
{
    ASSERT_TRUE(WriteAll(path, "x")) << path.toStdString();
}
QStringList names(const QStringList &paths)
{
    QStringList out;
    for (const QString &p : paths)
        out << QFileInfo(p).fileName();
    return out;
}
} // namespace

// Libraries are listed by name: "." and ".." never, a folder sorting before them ("!old")
// always (dropping "the first two entries" would have lost it), files never.
TEST(LibraryFolders, LibrariesListedByNameWithoutDotEntries)
{
    QTemporaryDir root;
    for (const char *name : { "general", "!old", "Zebra", "常用花样" })
        ASSERT_TRUE(QDir(root.path()).mkdir(name));
    touch(root.filePath("loose.ovw"));
    EXPECT_EQ(ListLibraryNames(root.path()), (QStringList { "!old", "Zebra", "general", "常用花样" }));
    EXPECT_TRUE(ListLibraryNames(root.filePath("missing")).isEmpty());
    EXPECT_TRUE(ListLibraryNames(QString()).isEmpty());
}

TEST(LibraryFolders, DefaultLibraries)
{
    EXPECT_EQ(DefaultLibraryName({ "!old", "General" }, TBrowseMode::Weaves), "General") << "any letter case";
    EXPECT_EQ(DefaultLibraryName({ "GENERAL" }, TBrowseMode::Weaves), "GENERAL");
    EXPECT_EQ(DefaultLibraryName({ "Generals" }, TBrowseMode::Weaves), "");
    EXPECT_EQ(DefaultLibraryName({ "a", "常用花样" }, TBrowseMode::Patterns), "常用花样");
    EXPECT_EQ(DefaultLibraryName({ "general" }, TBrowseMode::Patterns), "") << "patterns: exactly 常用花样";
}

// Masks compare without letter case, mask by mask, each file once (the explorer's list
// named "*.dat" twice).
TEST(LibraryFolders, FilesListedByMaskInAnyLetterCase)
{
    QTemporaryDir dir;
    for (const char *name :
        { "b.OVW", "a.ovw", "c.Ovw", "d.bmp", "e.ovy", "f.DAT", "g.p32", "h.txt", "i.Jpg" })
        touch(dir.filePath(name));
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub.ovw"));
    EXPECT_EQ(
        names(ListBrowseFiles(dir.path(), TBrowseMode::Weaves)), (QStringList { "a.ovw", "b.OVW", "c.Ovw" }))
        << "a folder is no file";
    EXPECT_EQ(names(ListBrowseFiles(dir.path(), TBrowseMode::Patterns)), (QStringList { "e.ovy", "d.bmp" }));
    EXPECT_EQ(names(ListBrowseFiles(dir.path(), TBrowseMode::Explorer)),
        (QStringList { "d.bmp", "e.ovy", "i.Jpg", "f.DAT", "g.p32" }));
    EXPECT_EQ(ListBrowseFiles(dir.path(), TBrowseMode::Weaves).first(), dir.filePath("a.ovw"))
        << "full paths";
    EXPECT_EQ(BrowseMasks(TBrowseMode::Explorer).count("*.dat"), 1);
    EXPECT_TRUE(ListBrowseFiles(dir.filePath("gone"), TBrowseMode::Weaves).isEmpty());
}

// Names that are not UTF-8 (GBK names from a Windows share) are listed in their places,
// and the listed name reads the file.
TEST(LibraryFolders, NonUtf8NamesAreListedAndRead)
{
    QTemporaryDir root;
    const QByteArray rootBytes = QFile::encodeName(root.path()) + '/';
    ASSERT_EQ(::mkdir((rootBytes + "\xB0\xB8").constData(), 0700), 0); // 案
    for (const char *name : { "b", "z" })
        ASSERT_TRUE(QDir(root.path()).mkdir(name));
    EXPECT_EQ(ListLibraryNames(root.path()), (QStringList { "b", "z", QString::fromUtf8("案") }));

    const QString library = root.filePath(QString::fromUtf8("案"));
    const TWeaveArray twill = MakeWeaveArray(3, 3, 0);
    ASSERT_TRUE(WriteWeaveFile(root.filePath("made.ovw"), twill));
    ASSERT_EQ(::rename((rootBytes + "made.ovw").constData(),
                  (rootBytes + "\xB0\xB8/\xCD\xBC\xB0\xB8.OVW").constData()),
        0); // 图案
    ASSERT_TRUE(WriteWeaveFile(library + "/a.ovw", twill));
    ASSERT_EQ(::mkdir((rootBytes + "\xB0\xB8/\xB0\xB8.ovw").constData(), 0700), 0); // a folder is no file
    const QStringList weaves = ListBrowseFiles(library, TBrowseMode::Weaves);
    EXPECT_EQ(names(weaves), (QStringList { "a.ovw", QString::fromUtf8("图案.OVW") }));
    ASSERT_EQ(weaves.size(), 2);
    TWeaveArray back;
    QString error;
    EXPECT_TRUE(LoadWeaveFile(weaves[1], back, &error)) << error.toStdString();
    EXPECT_EQ(back.length(), 3);
    EmptyFolderByBytes(root.path());
}

TEST(LibraryFolders, CreateRefusesDuplicateAndBadNames)
{
    QTemporaryDir root;
    QString path, error;
    bool exists = true;
    ASSERT_TRUE(CreateLibraryFolder(root.path(), "Satins", TBrowseMode::Weaves, path, &exists, &error));
    EXPECT_FALSE(exists);
    EXPECT_EQ(path, root.filePath("Satins"));
    EXPECT_TRUE(QFileInfo(path).isDir());

    path.clear();
    EXPECT_FALSE(CreateLibraryFolder(root.path(), "Satins", TBrowseMode::Weaves, path, &exists, &error));
    EXPECT_TRUE(exists);
    EXPECT_TRUE(path.isEmpty());
    EXPECT_FALSE(error.isEmpty());
    for (const char *bad : { "", "  ", ".", "..", "a/b", "../x" }) {
        exists = true;
        EXPECT_FALSE(CreateLibraryFolder(root.path(), bad, TBrowseMode::Patterns, path, &exists, &error))
            << bad;
        EXPECT_FALSE(exists) << bad;
    }
    EXPECT_EQ(ListLibraryNames(root.path()), QStringList { "Satins" });
}

// Deleting a library deletes the files it listed; files of other kinds keep the folder.
TEST(LibraryFolders, DeleteKeepsForeignFilesAndRefusesAVanishedFolder)
{
    QTemporaryDir root;
    const QString lib = root.filePath("lib");
    ASSERT_TRUE(QDir().mkpath(lib));
    touch(lib + "/a.ovw");
    touch(lib + "/b.ovw");
    touch(lib + "/notes.txt");
    // A listed name of another folder is never touched.
    touch(root.filePath("other.ovw"));
    QString error;
    ASSERT_TRUE(
        DeleteLibraryFolder(lib, { lib + "/a.ovw", lib + "/b.ovw", root.filePath("other.ovw") }, &error));
    EXPECT_FALSE(QFileInfo::exists(lib + "/a.ovw"));
    EXPECT_FALSE(QFileInfo::exists(lib + "/b.ovw"));
    EXPECT_TRUE(QFileInfo::exists(lib + "/notes.txt"));
    EXPECT_TRUE(QFileInfo(lib).isDir()) << "a folder with other files stays";
    EXPECT_TRUE(QFileInfo::exists(root.filePath("other.ovw")));

    QFile::remove(lib + "/notes.txt");
    ASSERT_TRUE(DeleteLibraryFolder(lib, {}, &error));
    EXPECT_FALSE(QFileInfo::exists(lib)) << "an empty library folder goes";

    error.clear();
    EXPECT_FALSE(DeleteLibraryFolder(lib, {}, &error));
    EXPECT_TRUE(error.contains(lib)) << error.toStdString();
}

TEST(LibraryFolders, CopyIntoLibraryReportsAnExistingName)
{
    QTemporaryDir dir;
    const QString lib = dir.filePath("lib");
    ASSERT_TRUE(QDir().mkpath(lib));
    ASSERT_TRUE(WriteAll(dir.filePath("p.bmp"), "new"));
    QString copy, error;
    ASSERT_TRUE(CopyFileIntoLibrary(dir.filePath("p.bmp"), lib, copy, &error));
    EXPECT_EQ(copy, lib + "/p.bmp");
    ASSERT_TRUE(WriteAll(dir.filePath("p.bmp"), "newer"));
    EXPECT_FALSE(CopyFileIntoLibrary(dir.filePath("p.bmp"), lib, copy, &error));
    EXPECT_EQ(ReadAll(lib + "/p.bmp"), "new") << "the library's file is left as it is";
    EXPECT_FALSE(CopyFileIntoLibrary(dir.filePath("p.bmp"), dir.filePath("gone"), copy, &error));
}

// The starter library: five weaves our own reader reads back, one point per weft.
TEST(LibraryFolders, StarterWeaveLibrary)
{
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(InstallStarterWeaveLibrary(dir.path(), &error)) << error.toStdString();
    const QString general = dir.filePath("General");
    EXPECT_EQ(names(ListBrowseFiles(general, TBrowseMode::Weaves)).size(), StarterWeaveNames().size());
    struct Case {
        const char *name;
        int size, step, raised; // weft j raises `raised` warps from (j * step) mod size on
    };
    const Case cases[] = {
        { "Plain.ovw", 2, 1, 1 },
        { "Twill 2-1.ovw", 3, 1, 2 },
        { "Twill 3-1.ovw", 4, 1, 3 },
        { "Satin 5.ovw", 5, 2, 1 },
        { "Satin 8.ovw", 8, 3, 1 },
    };
    for (const Case &c : cases) {
        TWeaveArray cells;
        ASSERT_TRUE(LoadWeaveFile(general + "/" + c.name, cells, &error)) << c.name << error.toStdString();
        ASSERT_EQ(WeaveWarps(cells), c.size) << c.name;
        ASSERT_EQ(WeaveWefts(cells), c.size) << c.name;
        for (int weft = 0; weft < c.size; ++weft)
            for (int warp = 0; warp < c.size; ++warp) {
                const int from = (weft * c.step) % c.size;
                const bool raised = (warp - from + c.size) % c.size < c.raised;
                EXPECT_EQ(cells[warp][weft], raised ? 1 : 0) << c.name << " " << warp << "," << weft;
            }
    }
    // A file the user changed is not written over.
    ASSERT_TRUE(WriteAll(general + "/Plain.ovw", "mine"));
    ASSERT_TRUE(InstallStarterWeaveLibrary(dir.path(), &error));
    EXPECT_EQ(ReadAll(general + "/Plain.ovw"), "mine");
}
