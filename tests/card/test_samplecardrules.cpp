#include "card/divisionrule.h"
#include "card/rowrule.h"
#include "card/samplecardcheck.h"
#include "card/samplecardediting.h"

#include "testutil.h"

#include <gtest/gtest.h>

// D design columns, R needles per column, C jacquard needles: the card fits when D <= C
// and C is a multiple of D x R; the refusal names D and R.
TEST(SampleCardCheck, OkRuleTable)
{
    const struct {
        int d, r, c;
        bool fits;
    } cases[] = {
        { 100, 2, 200, true }, { 100, 2, 400, true }, { 100, 2, 300, false },
        { 100, 2, 100, false }, // D <= C, but not a multiple of 200
        { 100, 2, 99, false }, { 100, 1, 100, true }, { 100, 1, 0, false },
        { 0, 1, 0, false }, // no multiple of 0: refused, not a division by zero
        { 1, 0, 10, false }, { 65535, 65535, 2000000000, false }, // D x R beyond an int stays exact
    };
    for (const auto &k : cases) {
        QString error;
        EXPECT_EQ(CheckCardForDesign(k.d, k.r, k.c, &error), k.fits) << k.d << " " << k.r << " " << k.c;
        EXPECT_EQ(error.isEmpty(), k.fits);
    }
    QString error;
    ASSERT_FALSE(CheckCardForDesign(100, 2, 300, &error));
    EXPECT_EQ(error,
        QStringLiteral("《 Jacquard needles of the design: 100 》\n\r《 Needles per design column: 2 》\n\r"
                       "The jacquard needles of the sample card must be a multiple of 100*2! Please set them "
                       "again!"));
}

// A rubber band over a lacing-hole column sets the needles and leaves the hole and marker
// cells, and the positioning holes, as they were.
TEST(SampleCardEditing, FillLeavesHolesAndMarkers)
{
    TYangkaImage card;
    card.SetYKStyle(ys1200); // marker column 28 with lacing holes at rows 2 and 13
    const TMultiByteArray before = TYangkaImage::StyleCells(ys1200);
    int events = 0;
    card.OnYKChange = [&](int col, int row) {
        EXPECT_EQ(col, -1);
        EXPECT_EQ(row, -1);
        ++events;
    };
    // Corners in any order, one beyond the card: clamped.
    const int changed = FillCardCells(card, 30, 20, 25, 0, Needle::Shuttle);
    EXPECT_EQ(events, 1);
    int expected = 0;
    for (int c = 0; c < card.ColCount(); ++c)
        for (int r = 0; r < card.RowCount(); ++r) {
            const bool inside = c >= 25 && c <= 30;
            const std::uint8_t old = before[c][r];
            const std::uint8_t want = inside && old <= Needle::LastNeedleCode ? Needle::Shuttle : old;
            expected += want != old;
            ASSERT_EQ(card.Cell(c, r), want) << c << "," << r;
        }
    EXPECT_EQ(changed, expected);
    EXPECT_EQ(card.Cell(28, 2), Needle::LacingHole);
    EXPECT_EQ(card.Cell(26, 7), Needle::PositionHole);
    // Filling with what is there changes nothing and announces nothing.
    EXPECT_EQ(FillCardCells(card, 25, 0, 30, 15, Needle::Shuttle), 0);
    EXPECT_EQ(events, 1);
}

TEST(SampleCardEditing, CountsAndCustomSizes)
{
    TYangkaImage card;
    card.SetCells(MakeWeaveArray(4, 8, Needle::Jacquard));
    card.Cells[0][0] = Needle::Jacquard2;
    card.Cells[0][1] = 10;
    card.Cells[0][2] = Needle::StopMotion;
    card.Cells[1][0] = Needle::HealdRod;
    card.Cells[1][1] = Needle::WeftDensity;
    card.Cells[1][2] = Needle::Empty;
    card.Cells[1][3] = Needle::LacingHole;
    TNeedleCounts want;
    want.Total = 32;
    want.Jacquard = 32 - 6;
    want.Kinds = { 1, 0, 0, 0, 0, 1 };
    want.StopMotion = 2;
    want.Empty = 1;
    EXPECT_EQ(CountNeedles(card), want);

    // Typed sizes are held to 8..32 rows and 1..2000 columns, every cell jacquard.
    const struct {
        int rows, cols, wantRows, wantCols;
    } sizes[] = { { 40, 0, 32, 1 }, { 7, 2001, 8, 2000 }, { -5, -5, 8, 1 }, { 16, 98, 16, 98 } };
    for (const auto &k : sizes) {
        SetCustomCardSize(card, k.rows, k.cols);
        EXPECT_EQ(card.RowCount(), k.wantRows);
        EXPECT_EQ(card.ColCount(), k.wantCols);
        EXPECT_EQ(card.JacquardCount(), k.wantRows * k.wantCols);
        EXPECT_EQ(card.Width, k.wantCols * card.MinRad() + 40);
    }
    // The same size typed again still wipes the hand edits.
    card.Cells[3][3] = Needle::Empty;
    SetCustomCardSize(card, 16, 98);
    EXPECT_EQ(card.Cell(3, 3), Needle::Jacquard);

    // "提花针数" N: the first N cells, column by column, jacquard, the rest empty.
    card.SetJacquardCount(20);
    EXPECT_EQ(card.JacquardCount(), 20);
    EXPECT_EQ(card.Cell(0, 15), Needle::Jacquard);
    EXPECT_EQ(card.Cell(1, 3), Needle::Jacquard);
    EXPECT_EQ(card.Cell(1, 4), Needle::Empty);
}

// The division dialog stores only rules the card builder can use.
TEST(DivisionRule, StoresWhatTheBuilderTakes)
{
    const struct {
        const char *text;
        bool multiple;
        bool ok;
        const char *stored;
    } cases[] = {
        { "2(1A1B)3(1A2B)", true, true, "2(1A1B)3(1A2B)" },
        { " 1a1b ", true, true, "1A1B" },
        { "2(1A1B)", false, true, "1A" }, // 单造 stores "1A" whatever the field holds
        { "AB", false, true, "1A" },
        { "", false, true, "1A" },
        { "AB", true, false, "" }, // letters without counts: no needle at all
        { "1A1C", true, false, "" }, // B missing: the builder would lose C's needles
        { "", true, false, "" },
        { "1A(1B", true, true, "1A(1B" }, // a group without ")" runs to the end
        { "1A)", true, false, "" },
    };
    for (const auto &k : cases) {
        QString rule = QStringLiteral("unchanged"), error;
        EXPECT_EQ(MakeDivisionRule(QString::fromUtf8(k.text), k.multiple, rule, &error), k.ok) << k.text;
        EXPECT_EQ(rule, k.ok ? QString::fromUtf8(k.stored) : QStringLiteral("unchanged")) << k.text;
        EXPECT_EQ(error.isEmpty(), k.ok) << k.text;
    }
    QString rule, error;
    EXPECT_FALSE(MakeDivisionRule(QStringLiteral("1A1B").repeated(70), true, rule, &error))
        << "over 255 bytes";
    EXPECT_TRUE(MakeDivisionRule(QStringLiteral("1A1B").repeated(63), true, rule, &error));

    EXPECT_TRUE(DivisionRuleIsMultiple(QStringLiteral("2(1A1B)")));
    EXPECT_FALSE(DivisionRuleIsMultiple(QStringLiteral("3A")));
    EXPECT_FALSE(DivisionRuleIsMultiple(QString()));

    // The field takes digits, brackets and the letters up to the last one, in either case.
    QString fixed;
    EXPECT_TRUE(RuleFieldAccepts(QStringLiteral("2(1a1L)"), QLatin1Char('L'), &fixed));
    EXPECT_EQ(fixed, QStringLiteral("2(1A1L)"));
    for (const char *bad : { "1M", "1A 1B", "1A,", "-1A", "１A" })
        EXPECT_FALSE(RuleFieldAccepts(QString::fromUtf8(bad), QLatin1Char('L'))) << bad;
    EXPECT_TRUE(RuleFieldAccepts(QStringLiteral("1q"), QLatin1Char('Q'), &fixed));
    EXPECT_FALSE(RuleFieldAccepts(QStringLiteral("1R"), QLatin1Char('Q')));
}

namespace {

// A record of six rows and three entries, every table cell 9.
TMesh RowMesh()
{
    TMesh m;
    m.Wefts = 6;
    m.WeftRepeat = 3;
    m.PickRows = MakeWeaveArray(3, 6, 9);
    m.RegulatorRows = MakeWeaveArray(3, 6, 9);
    m.WeftDensRows = MakeWeaveArray(3, 6, 9);
    return m;
}

// The values of one entry from the bottom row up.
std::vector<int> BottomUp(const TWeaveArray &table, int entry)
{
    std::vector<int> out;
    for (qsizetype r = table[entry].length() - 1; r >= 0; --r)
        out.push_back(table[entry][r]);
    return out;
}

} // namespace

TEST(RowRule, FillsFromTheBottomRow)
{
    const struct {
        TRowRuleTarget target;
        TRowRuleRange range;
        const char *rule;
        std::vector<int> entry0, entry1, entry2;
    } cases[] = {
        { TRowRuleTarget::Shuttle, { 1, 6, 1, 1 }, "2(1A1Q)", { 1, 0, 1, 0, 1, 0 }, { 9, 9, 9, 9, 9, 9 },
            { 9, 9, 9, 9, 9, 9 } },
        { TRowRuleTarget::StopMotion, { 2, 4, 1, 2 }, "1c1p", { 9, 3, 16, 3, 9, 9 }, { 9, 3, 16, 3, 9, 9 },
            { 9, 9, 9, 9, 9, 9 } },
        { TRowRuleTarget::WeftDensity, { 5, 99, 2, 99 }, "2B", { 9, 9, 9, 9, 9, 9 }, { 9, 9, 9, 9, 2, 2 },
            { 9, 9, 9, 9, 2, 2 } },
    };
    for (const auto &k : cases) {
        TMesh m = RowMesh();
        QString error;
        ASSERT_TRUE(ApplyRowRule(m, k.target, k.range, QString::fromUtf8(k.rule), &error))
            << k.rule << error.toStdString();
        const TWeaveArray &table = k.target == TRowRuleTarget::Shuttle ? m.PickRows
            : k.target == TRowRuleTarget::StopMotion                   ? m.RegulatorRows
                                                                       : m.WeftDensRows;
        EXPECT_EQ(BottomUp(table, 0), k.entry0) << k.rule;
        EXPECT_EQ(BottomUp(table, 1), k.entry1) << k.rule;
        EXPECT_EQ(BottomUp(table, 2), k.entry2) << k.rule;
        // The other tables are left alone.
        for (const TWeaveArray *other : { &m.PickRows, &m.RegulatorRows, &m.WeftDensRows })
            if (other != &table) {
                EXPECT_EQ(BottomUp(*other, 0), std::vector<int>(6, 9)) << k.rule;
            }
    }
}

TEST(RowRule, RefusalsChangeNothing)
{
    const struct {
        TRowRuleRange range;
        const char *rule;
    } cases[] = {
        { { 1, 6, 1, 1 }, "1A1R" }, // beyond Q: would wrap round to shuttle 1
        { { 1, 6, 1, 1 }, "1Z" }, { { 1, 6, 1, 1 }, "AB" }, // no values
        { { 1, 6, 1, 1 }, "" }, { { 1, 6, 1, 1 }, "1A)" }, { { 4, 3, 1, 1 }, "1A" }, // empty row range
        { { 1, 6, 3, 2 }, "1A" }, // empty entry range
    };
    for (const auto &k : cases) {
        TMesh m = RowMesh();
        QString error;
        EXPECT_FALSE(ApplyRowRule(m, TRowRuleTarget::Shuttle, k.range, QString::fromUtf8(k.rule), &error))
            << k.rule;
        EXPECT_FALSE(error.isEmpty()) << k.rule;
        EXPECT_EQ(BottomUp(m.PickRows, 0), std::vector<int>(6, 9)) << k.rule;
    }
    // The limits the dialog offers: the rows of the tables, at most 17 entries.
    TMesh m = RowMesh();
    EXPECT_EQ(RowRuleRowLimit(m), 6);
    EXPECT_EQ(RowRuleEntryLimit(m), 3);
    m.WeftRepeat = 20;
    m.PickRows = MakeWeaveArray(20, 6, 0);
    EXPECT_EQ(RowRuleEntryLimit(m), 17);
    EXPECT_EQ(RowRuleRowLimit(TMesh()), 0);
    EXPECT_EQ(RowRuleValue(0), 1);
    EXPECT_EQ(RowRuleValue(15), 16);
    EXPECT_EQ(RowRuleValue(16), 0);
}
