#include "core/base/numparse.h"
#include "core/settings/inifile.h"

#include "testutil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct IniFixture : ::testing::Test {
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Test.ini"); }
    void put(const QByteArray &bytes) { ASSERT_TRUE(WriteAll(path(), bytes)); }
    QByteArray get() const { return ReadAll(path()); }
};
} // namespace

TEST_F(IniFixture, ReadStringTable)
{
    struct Case {
        const char *file, *section, *key, *expected;
    } cases[] = {
        { "[A]\nk=v\n", "A", "k", "v" }, { "[A]\nk=v\n", "a", "K", "v" }, // case-insensitive section and key
        { "[Main]\r\nKey=Value\r\n", "MAIN", "key", "Value" }, // CRLF
        { "  [ A ]  \n  k  =  v w  \n", "A", "k", "v w" }, // blanks around names and value
        { "[A]\nk=\"quoted\"\n", "A", "k", "quoted" }, // matching quotes removed
        { "[A]\nk='single'\n", "A", "k", "single" },
        { "[A]\nk=\"half\n", "A", "k", "\"half" }, // unmatched quote kept
        { "[A]\nk='it's'\n", "A", "k", "it's" }, // only the outer pair goes
        { "[A]\nk=a=b\n", "A", "k", "a=b" }, // first '=' splits
        { "[A]\nk=1\nk=2\n", "A", "k", "1" }, // first duplicate key wins
        { "[A]\nk=1\n[a]\nk=2\nj=3\n", "A", "k", "1" }, // first duplicate section wins
        { "[A]\nk=1\n[a]\nk=2\nj=3\n", "A", "j", "dflt" }, // ...and only it is searched
        { "[A]\n;k=1\n#k=2\nk=3\n", "A", "k", "3" }, // comment lines are no keys
        { "[A]\nnoequals\nk=4\n", "A", "k", "4" },
        { "k=0\n[A]\n", "A", "k", "dflt" }, // a key before any section
        { "[A]\n[B]\nk=5\n", "A", "k", "dflt" }, // key belongs to the next section
        { "[A]\nk=\n", "A", "k", "" }, // present but empty
        { "[A]\nk=5", "A", "k", "5" }, // no final line break
        { "\xEF\xBB\xBF[A]\nk=bom\n", "A", "k", "bom" }, // UTF-8 byte-order mark
        { "[A\nk=open\n", "A", "k", "open" }, // unclosed header
        { "", "A", "k", "dflt" }, { "[A]\nk=v\nz=\xE6\x84", "A", "k", "v" }, // cut inside a UTF-8 character
    };
    for (const Case &c : cases) {
        put(c.file);
        EXPECT_EQ(TIniFile(path()).ReadString(c.section, c.key, "dflt"), QString::fromUtf8(c.expected))
            << c.file << " / " << c.section << " / " << c.key;
    }
    EXPECT_EQ(TIniFile(dir.filePath("missing.ini")).ReadString("A", "k", "dflt"), "dflt");
}

TEST(NumParse, IntegerTable)
{
    struct Case {
        const char *text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        { "0", true, 0 },
        { "123", true, 123 },
        { "-45", true, -45 },
        { "+7", true, 7 },
        { " 12 ", true, 12 },
        { "0x1F", true, 31 },
        { "0X1f", true, 31 },
        { "$FF", true, 255 },
        { "-0x10", true, -16 },
        { "0xFFFFFFFF", true, -1 },
        { "0x80000001", true, std::int32_t(0x80000001u) },
        { "2147483647", true, 2147483647 },
        { "-2147483648", true, std::int32_t(-2147483647 - 1) },
        { "2147483648", false, 0 },
        { "0x100000000", false, 0 },
        { "", false, 0 },
        { "-", false, 0 },
        { "0x", false, 0 },
        { "12abc", false, 0 },
        { "1.5", false, 0 },
        { "abc", false, 0 },
        { "1 2", false, 0 },
        { "0xG", false, 0 },
        { "99999999999999999999", false, 0 },
    };
    for (const Case &c : cases) {
        std::int32_t v = 4242;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : 4242) << c.text;
    }
}

TEST(NumParse, FloatTable)
{
    struct Case {
        const char *text;
        bool ok;
        double value;
    } cases[] = {
        { "20", true, 20.0 },
        { "120.5", true, 120.5 },
        { "120,5", true, 120.5 },
        { "-0.25", true, -0.25 },
        { "1e3", true, 1000 },
        { " 7.5 ", true, 7.5 },
        { "", false, 0 },
        { "abc", false, 0 },
        { "1,000.5", false, 0 },
        { "1.2.3", false, 0 },
        { "inf", false, 0 },
        { "nan", false, 0 },
        { "0x10", false, 0 },
        { "12mm", false, 0 },
    };
    for (const Case &c : cases) {
        double v = 99.0;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << c.text;
        EXPECT_DOUBLE_EQ(v, c.ok ? c.value : 99.0) << c.text;
    }
    EXPECT_EQ(TIniFile::FormatFloat(20.0), "20");
    EXPECT_EQ(TIniFile::FormatFloat(120.5), "120.5");
    EXPECT_EQ(TIniFile::FormatFloat(0.1), "0.1");
}

TEST_F(IniFixture, TypedReadersFallBackOnBadValues)
{
    put("[N]\nI=0x10\nBad=12x\nB1=2\nB0=0\nBx=yes\nF=3,5\nFx=three\n");
    const TIniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("N", "I", 1), 16);
    EXPECT_EQ(ini.ReadInteger("N", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("N", "Missing", -3), -3);
    EXPECT_TRUE(ini.ReadBool("N", "B1", false));
    EXPECT_FALSE(ini.ReadBool("N", "B0", true));
    EXPECT_TRUE(ini.ReadBool("N", "Bx", true));
    EXPECT_FALSE(ini.ReadBool("N", "Bx", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "F", 0), 3.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "Fx", 1.25), 1.25);
}

TEST_F(IniFixture, WritesKeepUnrelatedLinesAndComments)
{
    put("; header comment\r\n\r\n[One]\r\nA=1\r\n; inside\r\nB=2\r\n\r\n[Two]\r\nstray line\r\nC=3\r\n");
    TIniFile ini(path());
    ASSERT_TRUE(ini.WriteString("one", "b", "20")); // replaced in place, any case
    ASSERT_TRUE(ini.WriteString("One", "New", "x")); // after the section's last key
    ASSERT_TRUE(ini.WriteString("Three", "D", "4")); // new section at the end
    ASSERT_TRUE(ini.WriteInteger("Two", "C", -5));
    EXPECT_EQ(get(),
        QByteArray("; header comment\r\n\r\n[One]\r\nA=1\r\n; inside\r\nb=20\r\nNew=x\r\n\r\n"
                   "[Two]\r\nstray line\r\nC=-5\r\n[Three]\r\nD=4\r\n"));
}

TEST_F(IniFixture, WritingANewFileAndTypedValues)
{
    TIniFile ini(path());
    ASSERT_TRUE(ini.WriteInteger("S", "I", 12632256));
    ASSERT_TRUE(ini.WriteBool("S", "B", true));
    ASSERT_TRUE(ini.WriteFloat("S", "F", 60.0));
    ASSERT_TRUE(ini.WriteFloat("S", "G", 2.5));
    EXPECT_EQ(get(), QByteArray("[S]\nI=12632256\nB=1\nF=60\nG=2.5\n"));
    EXPECT_EQ(ini.ReadSectionValues("s"), (QStringList { "I=12632256", "B=1", "F=60", "G=2.5" }));
    EXPECT_EQ(ini.ReadSectionValues("none"), QStringList());
    EXPECT_TRUE(ini.SectionExists("S"));
    EXPECT_TRUE(ini.ValueExists("s", "g"));
    EXPECT_FALSE(ini.ValueExists("S", "H"));
}

TEST_F(IniFixture, GbkFileIsReadAndWrittenBackAsUtf8)
{
    QStringEncoder gbk("GBK");
    ASSERT_TRUE(gbk.isValid());
    const QString text = QStringLiteral("[纹板]\r\n名称=意匠 样卡\r\n; 注释 组织\r\n");
    const QByteArray gbkBytes = gbk.encode(text);
    ASSERT_NE(gbkBytes, text.toUtf8());
    put(gbkBytes);
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("纹板", "名称", ""), QStringLiteral("意匠 样卡"));
    ASSERT_TRUE(ini.WriteString("纹板", "梭", "纬密"));
    EXPECT_EQ(get(), QStringLiteral("[纹板]\r\n名称=意匠 样卡\r\n梭=纬密\r\n; 注释 组织\r\n").toUtf8());
    EXPECT_EQ(ini.ReadString("纹板", "名称", ""), QStringLiteral("意匠 样卡"));
}

TEST_F(IniFixture, SectionValuesAreRaw)
{
    put("[R]\nRecentFile0=  /a b/c  \n ;x\nRecentFile1=\"q\"\n[S]\nz=1\n");
    EXPECT_EQ(TIniFile(path()).ReadSectionValues("R"),
        (QStringList { "RecentFile0=  /a b/c  ", "RecentFile1=\"q\"" }));
}

TEST_F(IniFixture, RefusedWritesLeaveTheFileUnchanged)
{
    put("[A]\nk=1\n");
    TIniFile ini(path());
    EXPECT_FALSE(ini.WriteString("A", "k", "two\nlines"));
    EXPECT_FALSE(ini.WriteString("A", "a=b", "x"));
    EXPECT_FALSE(ini.WriteString("", "k", "x"));
    EXPECT_EQ(get(), QByteArray("[A]\nk=1\n"));
    EXPECT_FALSE(TIniFile(dir.filePath("no/such/folder.ini")).WriteString("A", "k", "v"));
}

TEST_F(IniFixture, OversizedFileIsNeitherReadNorCutShort)
{
    QByteArray big("[A]\nk=1\n");
    big.append(QByteArray(TIniFile::MaxFileSize, ';'));
    put(big);
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
    EXPECT_FALSE(ini.WriteString("A", "k", "2"));
    EXPECT_EQ(QFileInfo(path()).size(), big.size());
}

TEST_F(IniFixture, BinaryGarbageReadsWithoutHarm)
{
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 131 + 7) & 0xFF));
    put(junk);
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
    ASSERT_TRUE(ini.WriteString("A", "k", "v"));
    EXPECT_EQ(ini.ReadString("A", "k", "d"), "v");
}

TEST_F(IniFixture, ReadsParseOnceAndStillSeeEveryChange)
{
    put("; settings\n[A]\nk=1\nj=2\n[B]\nk=3\n");
    const IniCounts counts;
    const TIniFile ini(path());
    for (int round = 0; round < 20; ++round) {
        EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
        EXPECT_EQ(ini.ReadInteger("a", "J", 0), 2);
        EXPECT_EQ(ini.ReadInteger("B", "k", 0), 3);
        EXPECT_TRUE(ini.SectionExists("b"));
        EXPECT_EQ(ini.ReadSectionValues("A"), (QStringList { "k=1", "j=2" }));
    }
    EXPECT_EQ(counts.parsed(), 1u);

    // Changed in place just after it was read: same size, same inode, and possibly the same
    // time stamp; the bytes tell.
    put("; settings\n[A]\nk=7\nj=2\n[B]\nk=3\n");
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 7);
    // An old file is trusted on its stamp, and any later change still shows: here the
    // same size and the old modification time put back, which leaves the change time.
    ASSERT_TRUE(AgeFile(path(), 60));
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 7);
    const IniCounts later;
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 7);
    EXPECT_EQ(ini.ReadInteger("B", "k", 0), 3);
    EXPECT_EQ(later.parsed(), 0u);
    put("; settings\n[A]\nk=8\nj=2\n[B]\nk=3\n");
    ASSERT_TRUE(AgeFile(path(), 60));
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 8);
    // Replaced, removed, and back.
    QFile::remove(path());
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 0);
    put("[A]\nk=9\n");
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 9);
    // A read group looks at the file once: a change shows after the group.
    {
        const TIniReadGroup group(ini);
        EXPECT_EQ(ini.ReadInteger("A", "k", 0), 9);
        put("[A]\nk=5\n");
        EXPECT_EQ(ini.ReadInteger("A", "k", 0), 9);
    }
    EXPECT_EQ(ini.ReadInteger("A", "k", 0), 5);
}

TEST_F(IniFixture, AGroupOfWritesIsOneReadModifyWrite)
{
    put("; kept\n[Other]\nx=1\n[Group]\nk0=old\n; inside\n");
    TIniFile ini(path());
    const IniCounts counts;
    {
        TIniUpdate update(ini);
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(ini.WriteInteger("Group", QString("k%1").arg(i), i));
        EXPECT_EQ(ini.ReadString("group", "K0", ""), "0") << "reads see the group's writes";
        ASSERT_TRUE(ini.WriteString("New", "n", "v"));
        EXPECT_EQ(get(), QByteArray("; kept\n[Other]\nx=1\n[Group]\nk0=old\n; inside\n"))
            << "nothing written yet";
        EXPECT_TRUE(update.Commit());
    }
    EXPECT_EQ(counts.saved(), 1u);
    EXPECT_EQ(counts.parsed(), 1u);
    QByteArray expected("; kept\n[Other]\nx=1\n[Group]\nk0=0\n");
    for (int i = 1; i < 50; ++i)
        expected += "k" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
    expected += "; inside\n[New]\nn=v\n";
    EXPECT_EQ(get(), expected);

    // A group that writes nothing writes no file, and one on a missing file creates it once.
    const IniCounts none;
    {
        TIniUpdate update(ini);
        EXPECT_EQ(ini.ReadString("Other", "x", ""), "1");
    }
    EXPECT_EQ(none.saved(), 0u);
    const QString fresh = dir.filePath("Fresh.ini");
    TIniFile created(fresh);
    {
        TIniUpdate update(created);
        EXPECT_TRUE(created.WriteString("S", "a", "1"));
        EXPECT_TRUE(created.WriteString("S", "b", "2"));
        EXPECT_TRUE(created.WriteString("s", "A", "3"));
    }
    EXPECT_EQ(ReadAll(fresh), QByteArray("[S]\nA=3\nb=2\n"));
    EXPECT_FALSE(QFile::exists(fresh + ".lock")) << "the lock is given back";
}

TEST_F(IniFixture, FilesBeyondTheBoundAreNeitherLoadedNorWritten)
{
    // One line of 10 MB: unreadable as a whole, so neither parsed nor loaded.
    QByteArray big("[A]\nk=1\n; ");
    big.append(QByteArray(10 * 1024 * 1024, 'x'));
    big.append("\n[B]\nk=2\n");
    put(big);
    const IniCounts counts;
    TIniFile ini(path());
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
    EXPECT_FALSE(ini.WriteString("B", "k", "3"));
    EXPECT_EQ(counts.parsed(), 0u);
    EXPECT_EQ(get(), big);

    // Language files have a larger bound: the same file, installed some time ago, is read
    // and parsed once.
    ASSERT_TRUE(AgeFile(path(), 3600));
    TIniFile language(path(), TIniFile::MaxLanguageFileSize);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(language.ReadString("b", "K", "d"), "2");
    EXPECT_EQ(counts.parsed(), 1u);

    // Just within the bound: read and written.
    QByteArray within("[A]\nk=1\n; ");
    within.append(QByteArray(TIniFile::MaxFileSize - within.size() - 1, 'y'));
    within.append('\n');
    ASSERT_EQ(within.size(), TIniFile::MaxFileSize);
    put(within);
    EXPECT_EQ(ini.ReadString("A", "k", "d"), "1");
    EXPECT_TRUE(ini.WriteString("A", "k", "2"));
    EXPECT_EQ(ini.ReadString("A", "k", "d"), "2");
}

TEST_F(IniFixture, OnlyRegularFilesAreReadOrWritten)
{
    const QString fifo = dir.filePath("Fifo.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A reader blocking on the FIFO fails the test instead of hanging it.
    QString value;
    ASSERT_TRUE(ReturnsWithoutBlockingOn(fifo, [&] { value = TIniFile(fifo).ReadString("A", "k", "dflt"); }))
        << "reading a FIFO blocked";
    EXPECT_EQ(value, "dflt");

    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("Zero.ini")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Folder.ini"));
    for (const QString &name : { fifo, dir.filePath("Zero.ini"), dir.filePath("Folder.ini") }) {
        TIniFile ini(name);
        EXPECT_EQ(ini.ReadString("A", "k", "dflt"), "dflt") << name.toStdString();
        EXPECT_FALSE(ini.SectionExists("A")) << name.toStdString();
        EXPECT_FALSE(ini.WriteString("A", "k", "v")) << name.toStdString();
        TIniUpdate update(ini);
        EXPECT_FALSE(ini.WriteString("A", "k", "v")) << name.toStdString();
        EXPECT_FALSE(update.Commit()) << name.toStdString();
    }
    struct stat st { };
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO is not written over";
    EXPECT_EQ(QFile::symLinkTarget(dir.filePath("Zero.ini")), "/dev/zero");
    EXPECT_TRUE(QFileInfo(dir.filePath("Folder.ini")).isDir());
}

// Two programs writing the same file at once: each write is a read-modify-write under the
// file's lock, so neither loses the other's keys. The test runs its own program twice as
// the writers (told so by the environment), and waits for both.
TEST(IniFileLock, TwoProgramsWritingAtOnceKeepEveryKey)
{
    constexpr int kKeys = 200;
    const QByteArray job = qgetenv("DORWEN_INI_WRITER");
    if (!job.isEmpty()) {
        const QStringList parts = QString::fromUtf8(job).split(QLatin1Char('|'));
        ASSERT_EQ(parts.size(), 3);
        const QDeadlineTimer deadline(30000);
        while (!QFile::exists(parts[2]) && !deadline.hasExpired())
            QThread::msleep(1);
        TIniFile ini(parts[0]);
        for (int i = 0; i < kKeys; ++i)
            ASSERT_TRUE(ini.WriteInteger("Keys", parts[1] + QString::number(i), i));
        return;
    }

    QTemporaryDir dir;
    const QString file = dir.filePath("Shared.ini");
    const QString go = dir.filePath("go");
    ASSERT_TRUE(WriteAll(file, "; written by two programs\n[Keys]\n"));
    QProcess writers[2];
    const char *prefixes[2] = { "first", "second" };
    for (int w = 0; w < 2; ++w) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DORWEN_INI_WRITER", file + "|" + prefixes[w] + "|" + go);
        writers[w].setProcessEnvironment(env);
        writers[w].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writers[w].start(QCoreApplication::applicationFilePath(),
            { "--gtest_filter=IniFileLock.TwoProgramsWritingAtOnceKeepEveryKey" });
        ASSERT_TRUE(writers[w].waitForStarted());
    }
    ASSERT_TRUE(WriteAll(go, ""));
    for (QProcess &writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(120000));
        EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardOutput().toStdString();
    }
    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadSectionValues("Keys").size(), 2 * kKeys);
    for (const char *prefix : prefixes)
        for (int i = 0; i < kKeys; ++i)
            EXPECT_EQ(ini.ReadInteger("Keys", prefix + QString::number(i), -1), i) << prefix << i;
    EXPECT_TRUE(ReadAll(file).startsWith("; written by two programs\n[Keys]\n"));
    EXPECT_FALSE(QFile::exists(file + ".lock"));
}

// Deleting a key takes out its first line only; everything else stays byte for byte, and
// the key, read again, gives its default (or the value of a second line of that name).
TEST_F(IniFixture, DeleteKeyTakesOutOneLineAndKeepsTheRest)
{
    put("; c\n[One]\nA=1\nb=2\n; inside\nB=3\nC=4\n[Two]\nA=5\n");
    TIniFile ini(path());
    ASSERT_TRUE(ini.DeleteKey("one", "B"));
    EXPECT_EQ(get(), QByteArray("; c\n[One]\nA=1\n; inside\nB=3\nC=4\n[Two]\nA=5\n"));
    EXPECT_EQ(ini.ReadString("One", "B", "-"), "3");
    ASSERT_TRUE(ini.DeleteKey("One", "C"));
    ASSERT_TRUE(ini.WriteString("One", "D", "6")); // after the section's last key still
    EXPECT_EQ(ini.ReadString("One", "C", "-"), "-");
    EXPECT_EQ(get(), QByteArray("; c\n[One]\nA=1\n; inside\nB=3\nD=6\n[Two]\nA=5\n"));

    const IniCounts counts;
    ASSERT_TRUE(ini.DeleteKey("One", "Missing")); // nothing to take out: nothing written
    ASSERT_TRUE(ini.DeleteKey("Gone", "A"));
    EXPECT_EQ(counts.saved(), 0u);
    QFile::remove(path());
    ASSERT_TRUE(ini.DeleteKey("One", "A"));
    EXPECT_FALSE(QFile::exists(path()));
}
