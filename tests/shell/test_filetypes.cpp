#include "shell/filetypes.h"

#include "core/settings/inifile.h"
#include "testutil.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// A private data and config home, the program at a path of the test's choosing, and no MIME
// cache rebuild unless a test asks for one.
struct FileTypeFixture : ::testing::Test {
    QTemporaryDir dir;
    TFileTypeRoots roots;
    void SetUp() override
    {
        roots.DataHome = dir.filePath("data");
        roots.ConfigHome = dir.filePath("config");
        roots.ProgramPath = "/opt/dorwen cad/bin/dorwen-cad";
        roots.UpdateMimeDatabase.clear();
    }
    QString package() const { return roots.DataHome + "/mime/packages/dorwen-cad.xml"; }
    QString desktop() const { return roots.DataHome + "/applications/dorwen-cad.desktop"; }
    QString mimeApps() const { return roots.ConfigHome + "/mimeapps.list"; }
    QString defaultOf(const QString &type) const
    {
        return TIniFile(mimeApps()).ReadString("Default Applications", type, "-");
    }
    // Every file under the test's folder, with its bytes.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> all;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            all[path] = ReadAll(path);
        }
        return all;
    }
};
} // namespace

TEST_F(FileTypeFixture, RegisteringWritesOurPackageDesktopFileAndDefault)
{
    EXPECT_FALSE(IsFileTypeRegistered(".QS", roots));
    ASSERT_TRUE(RegisterFileType(".qs", true, roots));
    EXPECT_TRUE(IsFileTypeRegistered(".QS", roots));
    EXPECT_TRUE(IsFileTypeRegistered("qs", roots)) << "with or without the dot, any case";
    EXPECT_FALSE(IsFileTypeRegistered(".EP", roots));

    const QByteArray xml = ReadAll(package());
    EXPECT_TRUE(xml.contains("<mime-type type=\"application/x-dorwen-qs\">")) << xml.constData();
    EXPECT_TRUE(xml.contains("<glob pattern=\"*.qs\"/>")) << xml.constData();
    EXPECT_FALSE(xml.contains("case-sensitive"));
    EXPECT_EQ(defaultOf("application/x-dorwen-qs"), "dorwen-cad.desktop;");
    const QByteArray entry = ReadAll(desktop());
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/dorwen cad/bin/dorwen-cad\" %f\n")) << entry.constData();
    EXPECT_TRUE(entry.contains("\nMimeType=application/x-dorwen-qs;\n")) << entry.constData();

    // A second type joins the same package and desktop file.
    ASSERT_TRUE(RegisterFileType(".JC5", true, roots));
    EXPECT_TRUE(IsFileTypeRegistered(".QS", roots));
    EXPECT_TRUE(IsFileTypeRegistered(".JC5", roots));
    EXPECT_TRUE(
        ReadAll(desktop()).contains("\nMimeType=application/x-dorwen-jc5;application/x-dorwen-qs;\n"));
}

TEST_F(FileTypeFixture, UnregisteringTakesOutOnlyOurEntries)
{
    const QByteArray planted = "# the user's own\n[Default Applications]\n"
                               "application/x-dorwen-ep=other-cad.desktop;\n"
                               "text/plain=editor.desktop;\n\n[Added Associations]\n"
                               "application/x-dorwen-qs=viewer.desktop;\n";
    ASSERT_TRUE(QDir().mkpath(roots.ConfigHome));
    ASSERT_TRUE(WriteAll(mimeApps(), planted));

    ASSERT_TRUE(RegisterFileType(".QS", true, roots));
    ASSERT_TRUE(RegisterFileType(".QS", false, roots));
    EXPECT_FALSE(IsFileTypeRegistered(".QS", roots));
    EXPECT_EQ(ReadAll(mimeApps()), planted) << "every other line as it was";
    EXPECT_FALSE(QFile::exists(package())) << "no type of ours is left";
    EXPECT_FALSE(QFile::exists(desktop()));

    // Registering over another program's default puts ours first and keeps theirs behind;
    // unregistering gives theirs back.
    ASSERT_TRUE(RegisterFileType(".EP", true, roots));
    EXPECT_EQ(defaultOf("application/x-dorwen-ep"), "dorwen-cad.desktop;other-cad.desktop;");
    ASSERT_TRUE(RegisterFileType(".EP", false, roots));
    EXPECT_EQ(ReadAll(mimeApps()), planted);

    // Unregistering a type that is not ours leaves another program's default alone and
    // writes nothing.
    const QMap<QString, QByteArray> before = files();
    ASSERT_TRUE(RegisterFileType(".EP", false, roots));
    ASSERT_TRUE(RegisterFileType(".JC5", false, roots));
    EXPECT_EQ(files(), before);
    EXPECT_EQ(defaultOf("application/x-dorwen-ep"), "other-cad.desktop;");
}

TEST_F(FileTypeFixture, AnExtensionWithoutARowIsNeitherReportedNorWritten)
{
    for (const char *ext : { ".XYZ", "", ".", ".qs.bak" }) {
        EXPECT_TRUE(RegisterFileType(ext, true, roots)) << ext;
        EXPECT_FALSE(IsFileTypeRegistered(ext, roots)) << ext;
    }
    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(FileTypeMimeType(".XYZ"), QString());
}

// The Exec line must start the program whatever its path holds: the desktop-entry rules
// quote the path, escape ", `, $ and \ inside the quotes, escape every backslash again as
// the value's own escape, and double %.
TEST(DesktopExecLine, QuotesAndEscapesThePath)
{
    const struct {
        const char *path;
        const char *line;
    } cases[] = {
        { "/usr/bin/dorwen-cad", R"("/usr/bin/dorwen-cad" %f)" },
        { "/home/a b/$HOME/cad", R"("/home/a b/\\$HOME/cad" %f)" },
        { R"(/x/say "hi"/cad)", R"("/x/say \\"hi\\"/cad" %f)" },
        { "/x/`id`/cad", R"("/x/\\`id\\`/cad" %f)" },
        { R"(/x/back\slash)", R"("/x/back\\\\slash" %f)" },
        { "/x/100%/cad", R"("/x/100%%/cad" %f)" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(DesktopExecLine(QString::fromUtf8(c.path)), QString::fromUtf8(c.line)) << c.path;
}

// Our package and mimeapps.list may be damaged by hand or by another program: what can be
// read is kept, ours is written afresh, and what cannot be written is reported unchanged.
TEST_F(FileTypeFixture, DamagedFilesAreReadBoundedAndOursRewritten)
{
    ASSERT_TRUE(QDir().mkpath(roots.DataHome + "/mime/packages"));
    ASSERT_TRUE(QDir().mkpath(roots.ConfigHome));
    for (const QByteArray &damage :
        { QByteArray("<mime-info><mime-type type=\"application/x-dorwen-ep\"><glob pattern=\"*.ep\"/>"),
            QByteArray("\xff\xfe garbage \x00\x01", 14), QByteArray(2 * 1024 * 1024, 'x') }) {
        ASSERT_TRUE(WriteAll(package(), damage));
        ASSERT_TRUE(RegisterFileType(".QS", true, roots));
        EXPECT_TRUE(IsFileTypeRegistered(".QS", roots));
        const QByteArray xml = ReadAll(package());
        EXPECT_TRUE(xml.startsWith("<?xml")) << xml.left(40).constData();
        EXPECT_LT(xml.size(), 4096);
    }
    // The entry read before the damage stays ours.
    ASSERT_TRUE(WriteAll(
        package(), "<mime-info><mime-type type=\"application/x-dorwen-ep\"><glob pattern=\"*.ep\"/>"));
    ASSERT_TRUE(RegisterFileType(".QS", true, roots));
    EXPECT_TRUE(ReadAll(package()).contains("application/x-dorwen-ep"));

    // Lines of another encoding are kept (as text), ours added.
    QStringEncoder gbk("GBK");
    const QByteArray foreign
        = "[Default Applications]\n" + QByteArray(gbk(u"text/x-说明=看图.desktop;")) + "\n";
    ASSERT_TRUE(WriteAll(mimeApps(), foreign));
    ASSERT_TRUE(RegisterFileType(".JC5", true, roots));
    EXPECT_EQ(
        TIniFile(mimeApps()).ReadString("Default Applications", u"text/x-说明"_qs, "-"), u"看图.desktop;"_qs);
    EXPECT_TRUE(IsFileTypeRegistered(".JC5", roots));

    // A mimeapps.list beyond what a settings file can be is refused, reported, unchanged.
    const QByteArray huge = "[Default Applications]\n" + QByteArray(9 * 1024 * 1024, '#') + "\n";
    ASSERT_TRUE(WriteAll(mimeApps(), huge));
    QString error;
    EXPECT_FALSE(RegisterFileType(".EP", true, roots, &error));
    EXPECT_TRUE(error.contains(mimeApps())) << error.toStdString();
    EXPECT_EQ(ReadAll(mimeApps()), huge);
}

TEST_F(FileTypeFixture, TheMimeCacheIsRebuiltAndItsFailureReported)
{
    roots.UpdateMimeDatabase = "update-mime-database";
    QString error;
    ASSERT_TRUE(RegisterFileType(".QS", true, roots, &error)) << error.toStdString();
    // The cache the desktop reads now knows the type by its glob.
    EXPECT_TRUE(ReadAll(roots.DataHome + "/mime/globs2").contains("application/x-dorwen-qs:*.qs"));

    for (const char *program : { "false", "/no/such/update-mime-database" }) {
        roots.UpdateMimeDatabase = program;
        error.clear();
        EXPECT_FALSE(RegisterFileType(".EP", true, roots, &error)) << program;
        EXPECT_TRUE(error.contains(program)) << error.toStdString();
        // What could be written is written: registering again finds the package done.
        EXPECT_TRUE(IsFileTypeRegistered(".EP", roots)) << program;
        roots.UpdateMimeDatabase.clear();
        ASSERT_TRUE(RegisterFileType(".EP", false, roots)) << program;
    }
}
