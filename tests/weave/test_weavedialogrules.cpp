#include "weave/weavedialogrules.h"

#include "weave/weave.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

TEST(WeaveDialogRules, Sizes)
{
    struct Case {
        const char *text;
        bool asNew, asTile;
    };
    const std::vector<Case> cases = {
        { "0", false, false },
        { "1", true, false },
        { "2", true, true },
        { " 1500 ", true, true },
        { "1501", false, false },
        { "-8", false, false },
        { "", false, false },
        { "8x", false, false },
        { "1.5", false, false },
        { "99999999999", false, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        for (bool warpSide : { true, false }) {
            int warps = -1, wefts = -1;
            const QString w = warpSide ? text : QStringLiteral("8");
            const QString h = warpSide ? QStringLiteral("8") : text;
            EXPECT_EQ(ReadNewWeaveSize(w, h, warps, wefts), c.asNew);
            EXPECT_EQ(ReadTileWeaveSize(w, h, warps, wefts), c.asTile);
            if (c.asNew)
                EXPECT_EQ(warpSide ? warps : wefts, text.trimmed().toInt());
            else
                EXPECT_EQ(warps, -1);
        }
    }
}

TEST(WeaveDialogRules, LayerSequences)
{
    struct Case {
        const char *text;
        std::optional<TIntegerArray> sequence;
    };
    const std::vector<Case> cases = {
        { "1,2,1,2", TIntegerArray { 1, 2, 1, 2 } },
        { "2(1,2),3", TIntegerArray { 1, 2, 1, 2, 3 } },
        { "1,2,3,4,5,6,7,8,9", TIntegerArray { 1, 2, 3, 4, 5, 6, 7, 8, 9 } },
        { "9,8,7,6,5,4,3,2,1", TIntegerArray { 9, 8, 7, 6, 5, 4, 3, 2, 1 } },
        { "1", TIntegerArray { 1 } },
        { "1,3", std::nullopt }, // 2 missing
        { "0,1", std::nullopt },
        { "1,2,3,4,5,6,7,8,9,10", std::nullopt },
        { "2(1,2", std::nullopt },
        { "2", std::nullopt }, // 1 missing
        { "", std::nullopt },
        { "1,,2", std::nullopt },
        { "a", std::nullopt },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        TIntegerArray seq { 7 };
        EXPECT_EQ(ReadLayerSequence(QString::fromUtf8(c.text), seq), c.sequence.has_value());
        EXPECT_EQ(seq, c.sequence.value_or(TIntegerArray { 7 }));
    }
    EXPECT_FALSE(IsValidLayerSequence(TIntegerArray()));
    EXPECT_FALSE(IsValidLayerSequence(TIntegerArray { 1, -1 }));
}

TEST(WeaveDialogRules, SwapLines)
{
    struct Case {
        const char *first, *second;
        bool ok;
    };
    const std::vector<Case> cases = {
        { "1", "3", true },
        { "-2", "0", true },
        { "0", "3", false },
        { "", "3", false },
        { "1", "", false },
        { " ", "3", false },
        { "x", "3", false },
        { "1", "3.5", false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.first) + "|" + c.second);
        int a = 99, b = 99;
        EXPECT_EQ(ReadSwapLines(QString::fromUtf8(c.first), QString::fromUtf8(c.second), a, b), c.ok);
        if (c.ok) {
            EXPECT_EQ(a, QString::fromUtf8(c.first).toInt());
            EXPECT_EQ(b, QString::fromUtf8(c.second).toInt());
        } else {
            EXPECT_EQ(a, 99);
        }
    }
}

TEST(WeaveDialogRules, SymmetryAxes)
{
    TIntegerArray pos { 9 }, amt { 9 };
    EXPECT_TRUE(ReadSymmetryAxes({ "3", " 5" }, { "1", "-2" }, pos, amt));
    EXPECT_EQ(pos, (TIntegerArray { 3, 5 }));
    EXPECT_EQ(amt, (TIntegerArray { 1, -2 }));
    for (const auto &[p, a] : std::vector<std::pair<QStringList, QStringList>> {
             { { "3", "" }, { "1", "1" } },
             { { "3" }, { "x" } },
             { { "3.0" }, { "1" } },
             { { "3" }, { "1", "1" } },
             { {}, {} },
         }) {
        SCOPED_TRACE(p.join('|').toStdString() + "/" + a.join('|').toStdString());
        TIntegerArray pos2 { 9 }, amt2 { 9 };
        EXPECT_FALSE(ReadSymmetryAxes(p, a, pos2, amt2));
        EXPECT_EQ(pos2, TIntegerArray { 9 });
    }
    QStringList many;
    for (int k = 0; k <= MaxSymmetryAxes; ++k)
        many << QStringLiteral("1");
    EXPECT_FALSE(ReadSymmetryAxes(many, many, pos, amt));
    many.removeLast();
    EXPECT_TRUE(ReadSymmetryAxes(many, many, pos, amt));
}

TEST(WeaveDialogRules, RowsAndColumns)
{
    // A weave of 4 warps and 3 wefts.
    TWeave weave;
    weave.SetCells(MakeWeaveArray(4, 3), false);
    struct Case {
        TRowColEdit edit;
        const char *start, *count;
        bool alone, withWeave;
    };
    const std::vector<Case> cases = {
        { RowsAdd, "1", "1", true, true },
        { RowsAdd, "0", "5", true, true },
        { RowsAdd, "3", "1", true, true },
        { RowsAdd, "4", "1", true, false },
        { ColumnsAdd, "4", "2", true, true },
        { ColumnsAdd, "5", "1", true, false },
        { RowsDelete, "0", "1", true, false },
        { RowsDelete, "3", "1", true, true },
        { RowsDelete, "2", "2", true, true },
        { RowsDelete, "2", "3", true, false }, // past the top weft
        { RowsDelete, "4", "1", true, false },
        { ColumnsDelete, "0", "1", true, false },
        { ColumnsDelete, "1", "4", true, true },
        { ColumnsDelete, "3", "3", true, false }, // past the last warp
        { ColumnsDelete, "5", "1", true, false },
        { ColumnsAdd, "-1", "1", false, false },
        { ColumnsAdd, "1", "0", false, false },
        { RowsAdd, "", "1", false, false },
        { RowsAdd, "1", "x", false, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.edit) + ":" + c.start + "+" + c.count);
        int start = -5, count = -5;
        EXPECT_EQ(ReadRowColEdit(
                      c.edit, QString::fromUtf8(c.start), QString::fromUtf8(c.count), nullptr, start, count),
            c.alone);
        EXPECT_EQ(ReadRowColEdit(
                      c.edit, QString::fromUtf8(c.start), QString::fromUtf8(c.count), &weave, start, count),
            c.withWeave);
        if (c.alone) {
            EXPECT_EQ(start, QString::fromUtf8(c.start).toInt());
            EXPECT_EQ(count, QString::fromUtf8(c.count).toInt());
        } else {
            EXPECT_EQ(start, -5);
        }
    }
}
