#include "core/base/rulenotation.h"
#include "core/base/strutils.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

std::vector<int> Indexes(const QString &rule, int n)
{
    TIntegerArray t(n);
    t.fill(-1);
    if (!ExpandRuleToIndexes(rule, t))
        return {};
    return std::vector<int>(t.begin(), t.end());
}

} // namespace

TEST(Rules, Passes)
{
    EXPECT_EQ(ExpandRepeatText(QStringLiteral("2(1A1B)3(1A2B)")), QStringLiteral("1A1B1A1B1A2B1A2B1A2B"));
    EXPECT_EQ(ExpandLetterCounts(QStringLiteral("1A1B1A1B1A2B1A2B1A2B")), QStringLiteral("ABABABBABBABB"));
    EXPECT_EQ(ExpandRepeatText(QStringLiteral("2AB")), QStringLiteral("2A2B"));
    EXPECT_EQ(ExpandLetterCounts(QStringLiteral("A3B")), QStringLiteral("BBB"));
    EXPECT_EQ(ExpandRepeatText(QStringLiteral("99999(1A)"), 10), QStringLiteral("1A1A1A1A1A"));
}

TEST(Rules, ExpansionTable)
{
    const struct {
        const char *rule;
        int n;
        std::vector<int> want; // empty: refused or empty expansion
    } cases[] = {
        { "2(1A1B)3(1A2B)", 13, { 0, 1, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1 } },
        { "2(1A1B)3(1A2B)", 15, { 0, 1, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0, 1 } },
        { "3A", 4, { 0, 0, 0, 0 } },
        { "A", 3, {} },
        { "0(1A1B)", 3, {} },
        { "2(1A1B", 4, { 0, 1, 0, 1 } },
        { "123456A", 3, {} },
        { "1A1B", 5, { 0, 1, 0, 1, 0 } },
        { " 1C2Q ", 4, { 2, 16, 16, 2 } },
        { "2AB", 5, { 0, 0, 1, 1, 0 } },
        { "1A2(1B)1C", 4, { 0, 1, 1, 2 } },
        { "2(1A)B", 4, { 0, 0, 1, 1 } }, // the count 2 still applies after the group
        { "3(5)1A", 2, { 0, 0 } }, // digits of a group run on into the next count
        { "1A(", 2, { 0, 0 } }, // an empty group at the end
        { "99999(99999A)", 6, { 0, 0, 0, 0, 0, 0 } },
        { "1Z", 1, { 25 } },
        // Refused: nesting, a stray ")", symbols, lower case.
        { "2(1A(1B))", 2, {} },
        { "1A)", 2, {} },
        { "1A-1B", 2, {} },
        { "1a", 2, {} },
        { "1A 1B", 2, {} },
    };
    for (const auto &c : cases)
        EXPECT_EQ(Indexes(QString::fromUtf8(c.rule), c.n), c.want) << c.rule << " x" << c.n;
}

TEST(Rules, RefusalLeavesTargetAndNamesTheProblem)
{
    TIntegerArray t { 7, 7 };
    EXPECT_FALSE(ExpandRuleToIndexes(QStringLiteral("2(1A(1B))"), t));
    EXPECT_EQ(t[0], 7);
    QString error;
    EXPECT_FALSE(CheckRuleText(QStringLiteral("1A#"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("1A#")));
    EXPECT_TRUE(CheckRuleText(QStringLiteral("2(1A1B)3(1A2B)")));
}

TEST(Rules, PathologicalRulesReturnQuickly)
{
    const char *rules[]
        = { "99999(99999A)", "99999(0A)99999(0B)1C", "99999(9)1A", "99999()1A", "99999(99999(99999A" };
    for (const char *r : rules) {
        QElapsedTimer timer;
        timer.start();
        std::vector<std::uint8_t> items;
        ExpandRuleItems(QString::fromUtf8(r), 1000, items);
        EXPECT_LE(items.size(), 1000u) << r;
        EXPECT_LT(timer.elapsed(), 500) << r;
        QString text = ExpandLetterCounts(ExpandRepeatText(QString::fromUtf8(r)));
        EXPECT_LE(text.size(), RuleTextLimit) << r;
    }
    std::vector<std::uint8_t> items;
    ASSERT_TRUE(ExpandRuleItems(QStringLiteral("99999(0A)99999(0B)1C"), 5, items));
    EXPECT_EQ(items, (std::vector<std::uint8_t> { 2 }));
}

TEST(Rules, CountDistinctLetters)
{
    const struct {
        const char *text;
        int n;
    } cases[] = {
        { "", 0 },
        { "1A", 1 },
        { "1A1B", 2 },
        { "2(1A1B)3(1A2B)", 2 },
        { "1a1B", 1 },
        { "AZAZ9", 2 },
        { "1A1C", 2 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(CountDistinctLetters(QString::fromUtf8(c.text)), c.n) << c.text;
}

TEST(StrUtils, SplitAndIntegers)
{
    EXPECT_EQ(SplitString(QStringLiteral("a;b;"), QStringLiteral(";")),
        (QStringList { QStringLiteral("a"), QStringLiteral("b"), QString() }));
    EXPECT_EQ(SplitString(QString(), QStringLiteral(";")), QStringList { QString() });
    EXPECT_EQ(SplitString(QStringLiteral("a::b"), QStringLiteral("::")),
        (QStringList { QStringLiteral("a"), QStringLiteral("b") }));

    TIntegerArray v;
    ASSERT_TRUE(StrToIntArray(QStringLiteral("1, 2,,4"), v));
    EXPECT_EQ(v, (TIntegerArray { 1, 2, 0, 4 }));
    ASSERT_TRUE(StrToIntArray(QStringLiteral("-3"), v));
    EXPECT_EQ(v, (TIntegerArray { -3 }));
    EXPECT_FALSE(StrToIntArray(QStringLiteral("1,x,3"), v));
    EXPECT_EQ(v, (TIntegerArray { -3 })); // unchanged after a refusal
    EXPECT_FALSE(StrToIntArray(QStringLiteral("99999999999"), v));
}
