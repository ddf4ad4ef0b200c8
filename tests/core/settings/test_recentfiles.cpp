#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"

#include "testutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {
// Points ConfigIniPath and the settings folder at private files for one test.
struct RecentFixture : ::testing::Test {
    QTemporaryDir dir;
    void SetUp() override
    {
        Folders().SettingsDir = dir.path() + "/";
        Folders().ConfigIniPath = dir.filePath("Config.Ini");
    }
    static void addAll(const QStringList &names)
    {
        for (auto it = names.rbegin(); it != names.rend(); ++it)
            AddRecentFile(*it);
    }
};
} // namespace

TEST_F(RecentFixture, MoveToTopAndLimit)
{
    struct Case {
        const char *name;
        QStringList start;
        int limit;
        QString add;
        QStringList expected;
    } cases[] = {
        { "new pushes the oldest out", { "a", "b", "c", "d", "e" }, 5, "f", { "f", "a", "b", "c", "d" } },
        { "listed moves to top", { "a", "b", "c", "d", "e" }, 5, "c", { "c", "a", "b", "d", "e" } },
        { "top stays top", { "a", "b" }, 5, "a", { "a", "b" } },
        { "below the limit grows", { "a", "b" }, 5, "c", { "c", "a", "b" } },
        { "case differs: another file", { "/x/A.ovy", "b" }, 5, "/x/a.ovy", { "/x/a.ovy", "/x/A.ovy", "b" } },
        { "blanks only ignored", { "a", "b" }, 5, "   ", { "a", "b" } },
        { "empty ignored", { "a" }, 5, "", { "a" } },
        { "blanks kept otherwise", { "a" }, 5, " b ", { " b ", "a" } },
        { "limit 1", { "a" }, 1, "b", { "b" } },
    };
    for (const Case &c : cases) {
        QFile::remove(Folders().ConfigIniPath);
        WriteMaxRecentFile(99);
        addAll(c.start);
        WriteMaxRecentFile(c.limit);
        AddRecentFile(c.add);
        WriteMaxRecentFile(99);
        EXPECT_EQ(ReadRecentFileList(), c.expected) << c.name;
        EXPECT_EQ(ReadMostRecentFile(), c.expected.value(0)) << c.name;
    }
}

TEST_F(RecentFixture, StoredFormAndLoweredLimit)
{
    addAll({ "/p/one.ovy", "/p/two=2.bmp" });
    EXPECT_EQ(ReadAll(Folders().ConfigIniPath),
        QByteArray("[RecentFile]\nRecentFile0=/p/one.ovy\nRecentFile1=/p/two=2.bmp\n"));
    // A list longer than a lowered limit keeps its length: it loses its last entry only.
    addAll({ "a", "b", "c", "d" });
    WriteMaxRecentFile(2);
    EXPECT_EQ(ReadRecentFileList(), (QStringList { "a", "b" }));
    AddRecentFile("z");
    WriteMaxRecentFile(10);
    EXPECT_EQ(ReadRecentFileList(), (QStringList { "z", "a", "b", "c", "d" }));
}

TEST_F(RecentFixture, LimitBelowOneCountsAsOne)
{
    for (const char *limit : { "0", "-4" }) {
        ASSERT_TRUE(WriteAll(Folders().ConfigIniPath, QByteArray("[Main]\nMaxRecentFile=") + limit + "\n"));
        AddRecentFile("a");
        AddRecentFile("b");
        EXPECT_EQ(ReadRecentFileList(), QStringList { "b" }) << limit;
        EXPECT_EQ(ReadMostRecentFile(), "b");
    }
    ASSERT_TRUE(WriteAll(RecentIniPath(), "[Const]\nMaxRecent=0\n"));
    AddToRecentList("x", WeaveRecentSection);
    AddToRecentList("y", WeaveRecentSection);
    EXPECT_EQ(ReadRecentList(WeaveRecentSection), QStringList { "y" });
}

TEST_F(RecentFixture, ZedarivaListsAreSeparateWithDefaultLimitEight)
{
    for (int i = 0; i < 10; ++i)
        AddToRecentList(QString("/w/%1.ovw").arg(i), WeaveRecentSection);
    AddToRecentList("/c/card.ovyk", CardFormRecentSection);
    const QStringList weave = ReadRecentList(WeaveRecentSection);
    ASSERT_EQ(weave.size(), 8);
    EXPECT_EQ(weave.first(), "/w/9.ovw");
    EXPECT_EQ(weave.last(), "/w/2.ovw");
    EXPECT_EQ(ReadRecentList(CardFormRecentSection), QStringList { "/c/card.ovyk" });
    EXPECT_EQ(ReadRecentList(WenBanRecentSection), QStringList());
    EXPECT_FALSE(QFile::exists(Folders().ConfigIniPath)) << "these lists do not touch Config.Ini";
    EXPECT_EQ(RecentIniPath(), dir.filePath("Zedariva.ini"));
}

TEST(RecentDisplay, ShortenedPaths)
{
    const QString forty = QString("/abcdefghi").repeated(4); // 40 characters
    struct Case {
        QString path, shown;
    } cases[] = {
        { "", "" },
        { forty, forty },
        { "x" + forty, "//abcdefghi/abcdefghi/abcdefghi/abcdefghi" },
        { "/home/designer/patterns/ribbons/2026/label-0001.ovy", "//patterns/ribbons/2026/label-0001.ovy" },
        { QString(45, 'n'), "//" + QString(40, 'n') },
        { QString(5, 'n') + "/" + QString(39, 'm'), "//" + QString(39, 'm') },
    };
    for (const Case &c : cases)
        EXPECT_EQ(RecentDisplayPath(c.path), c.shown) << c.path.toStdString();
}

// Adding a file reads the file once and writes it once, however long the list.
TEST_F(RecentFixture, AddingIsOneReadAndOneWriteOfTheFile)
{
    QByteArray stored("; kept\n[Main]\nMaxRecentFile=10\n[RecentFile]\n");
    QStringList before;
    for (int i = 0; i < 50; ++i) {
        stored += "RecentFile" + QByteArray::number(i) + "=/p/" + QByteArray::number(i) + ".ovy\n";
        before << QString("/p/%1.ovy").arg(i);
    }
    stored += "[Other]\nx=1\n";
    ASSERT_TRUE(WriteAll(Folders().ConfigIniPath, stored));
    ASSERT_TRUE(WriteAll(RecentIniPath(), stored));

    const IniCounts adding;
    AddRecentFile("/p/new.ovy");
    EXPECT_EQ(adding.parsed(), 1u);
    EXPECT_EQ(adding.saved(), 1u);
    const IniCounts reading;
    EXPECT_EQ(ReadRecentFileList(), (QStringList { "/p/new.ovy" } + before.mid(0, 9)));
    EXPECT_EQ(reading.parsed(), 1u);

    const IniCounts other;
    AddToRecentList("/p/7.ovy", WeaveRecentSection);
    AddToRecentList("/p/7.ovy", WeaveRecentSection);
    EXPECT_EQ(other.parsed(), 2u);
    EXPECT_EQ(other.saved(), 2u);
    EXPECT_EQ(ReadRecentList(WeaveRecentSection), QStringList { "/p/7.ovy" });
    EXPECT_TRUE(ReadAll(RecentIniPath()).endsWith("[Other]\nx=1\n[WeaveRecentFile]\nRecentFile0=/p/7.ovy\n"));
}

// A list of 100,000 entries (longer than the limit, so it keeps its length) is rewritten
// in one go.
TEST_F(RecentFixture, HundredThousandEntries)
{
    constexpr int kCount = 100000;
    const auto list = [](const char *first, int from) {
        QByteArray text("[Main]\nMaxRecentFile=10\n[RecentFile]\n");
        text.reserve(kCount * 32);
        if (first)
            text += QByteArray("RecentFile0=") + first + "\n";
        char line[64];
        for (int i = first ? 1 : 0; i < kCount; ++i)
            text.append(line, std::snprintf(line, sizeof line, "RecentFile%d=/p/%d.ovy\n", i, i - from));
        return text;
    };
    ASSERT_TRUE(WriteAll(Folders().ConfigIniPath, list(nullptr, 0)));
    const IniCounts counts;
    AddRecentFile("/p/new.ovy");
    EXPECT_EQ(counts.parsed(), 1u);
    EXPECT_EQ(counts.saved(), 1u);
    EXPECT_TRUE(ReadAll(Folders().ConfigIniPath) == list("/p/new.ovy", 1))
        << "the oldest entry pushed out, the others moved down";
}
