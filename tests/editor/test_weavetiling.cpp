// Tiling a weave over chosen colours through the tile-weave window's routine: the cases of
// the tiling rules on small pictures, the refusals that change nothing, and the undo step.
#include "editor/weavetiling.h"

#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using TRows = std::vector<std::vector<int>>;

class WeaveTiling : public TPatternGridFixture { };

// Grey palette (black at 0) with entry 9 a second copy of entry 3's colour.
TPalette256 tilingPalette()
{
    TPalette256 p = GreyPalette();
    p[9] = p[3];
    return p;
}

QImage picture(const TRows &rows, const TPalette256 &palette)
{
    QImage img = NewPicture(int(rows[0].size()), int(rows.size()), palette);
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            img.scanLine(int(y))[x] = std::uint8_t(rows[y][x]);
    return img;
}

TWeaveArray plainWeave() // points at [0][1] and [1][0]
{
    TWeaveArray w = MakeWeaveArray(2, 2);
    w[0][1] = 1;
    w[1][0] = 1;
    return w;
}

TTileColorList colours(const TPalette256 &pal, std::initializer_list<std::pair<int, const char *>> list)
{
    TTileColorList out;
    for (const auto &[index, text] : list) {
        AddTileColor(out, pal, index);
        out.back().FloatText = QString::fromUtf8(text);
    }
    return out;
}

} // namespace

TEST_F(WeaveTiling, CasesOfTheTilingRules)
{
    const TPalette256 pal = tilingPalette();
    struct Case {
        const char *name;
        TRows rows;
        TWeaveArray weave;
        std::initializer_list<std::pair<int, const char *>> chosen;
        TTileWeaveParam param;
        TTileFloatRule rule;
        TRows expected;
    };
    TTileWeaveParam none;
    TTileWeaveParam left2 = none;
    left2.IsLeftLeft = true, left2.LeftLength = 2;
    TTileWeaveParam bottom3 = none;
    bottom3.IsBottomLeft = true, bottom3.BottomLength = 3;
    TTileWeaveParam float4 = none;
    float4.FloatLength = 4;
    const TWeaveArray all = MakeWeaveArray(1, 1, 1);
    const Case cases[] = {
        { "plain weave, no margins, float 0: checkerboard with the bottom-left cell black",
            { { 3, 3, 3, 3 }, { 3, 3, 3, 3 }, { 3, 3, 3, 3 } }, plainWeave(), { { 3, "" } }, none,
            TTileFloatRule::LessThan, { { 0, 3, 0, 3 }, { 3, 0, 3, 0 }, { 0, 3, 0, 3 } } },
        { "left margin 2: a run at the edge is tiled whole, one away from it keeps two cells",
            { { 3, 3, 3, 3, 1, 3, 3, 3, 3 } }, all, { { 3, "" } }, left2, TTileFloatRule::LessThan,
            { { 0, 0, 0, 0, 1, 3, 3, 0, 0 } } },
        { "bottom margin 3: the bottom three rows of an area stay, the picture edge needs none",
            { { 1, 3 }, { 3, 3 }, { 3, 3 }, { 3, 3 }, { 3, 3 }, { 3, 1 } }, all, { { 3, "" } }, bottom3,
            TTileFloatRule::LessThan, { { 1, 0 }, { 0, 0 }, { 0, 3 }, { 0, 3 }, { 0, 3 }, { 0, 1 } } },
        { "less than 4: a run of 3 stays, a run of 4 and a run wrapped from the bottom to the top are tiled",
            { { 1, 1, 3 }, { 3, 3, 3 }, { 3, 3, 1 }, { 3, 3, 1 }, { 1, 3, 3 }, { 1, 1, 3 } }, all,
            { { 3, "" } }, float4, TTileFloatRule::LessThan,
            { { 1, 1, 0 }, { 3, 0, 0 }, { 3, 0, 1 }, { 3, 0, 1 }, { 1, 0, 0 }, { 1, 1, 0 } } },
        { "less than 4: a row one cell high gets nothing whatever its width",
            { { 1, 1, 1, 1, 1 }, { 3, 3, 3, 3, 3 }, { 1, 1, 1, 1, 1 } }, all, { { 3, "" } }, float4,
            TTileFloatRule::LessThan, { { 1, 1, 1, 1, 1 }, { 3, 3, 3, 3, 3 }, { 1, 1, 1, 1, 1 } } },
        { "equal to 3,5: runs of exactly 3 or 5 stay, runs of 4 and 6 are tiled",
            { { 1, 1, 1, 1 }, { 3, 3, 3, 3 }, { 3, 3, 3, 3 }, { 3, 3, 3, 3 }, { 1, 3, 3, 3 }, { 1, 1, 3, 3 },
                { 1, 1, 1, 3 }, { 1, 1, 1, 1 } },
            all, { { 3, "3, 5" } }, none, TTileFloatRule::EqualTo,
            { { 1, 1, 1, 1 }, { 3, 0, 3, 0 }, { 3, 0, 3, 0 }, { 3, 0, 3, 0 }, { 1, 0, 3, 0 }, { 1, 1, 3, 0 },
                { 1, 1, 1, 0 }, { 1, 1, 1, 1 } } },
        { "equal to with a blank text takes the float length: runs of 4 stay",
            { { 1, 1 }, { 3, 3 }, { 3, 3 }, { 3, 3 }, { 3, 1 }, { 1, 1 } }, all, { { 3, " " } }, float4,
            TTileFloatRule::EqualTo, { { 1, 1 }, { 3, 0 }, { 3, 0 }, { 3, 0 }, { 3, 1 }, { 1, 1 } } },
        { "a colour held under two indexes is tiled under both", { { 3, 9, 1, 9, 3 } }, all, { { 3, "" } },
            none, TTileFloatRule::LessThan, { { 0, 0, 1, 0, 0 } } },
        { "two entries, each with the margins of its own index",
            { { 1, 1, 1 }, { 3, 5, 3 }, { 3, 5, 3 }, { 1, 1, 1 } }, all, { { 3, "" }, { 5, "" } }, left2,
            TTileFloatRule::LessThan, { { 1, 1, 1 }, { 0, 5, 3 }, { 0, 5, 3 }, { 1, 1, 1 } } },
    };
    for (const Case &c : cases) {
        TPatternGrid g;
        show(g, picture(c.rows, pal));
        QString error;
        ASSERT_TRUE(TileWeaveOverColors(g, c.weave, colours(pal, c.chosen), c.param, c.rule, &error))
            << c.name << ": " << error.toStdString();
        EXPECT_EQ(PictureRows(g.Picture()), c.expected) << c.name;
        EXPECT_EQ(PictureRows(g.RefBitmap()), c.expected) << c.name << ": the step leaves RefBitmap equal";
        if (c.expected != c.rows) {
            ASSERT_EQ(g.UndoStore().UndoCount(), 1) << c.name << ": one cell step, black was there";
            ASSERT_TRUE(g.Undo());
            EXPECT_EQ(PictureRows(g.Picture()), c.rows) << c.name << ": undone";
        }
    }
}

TEST_F(WeaveTiling, RefusalsChangeNothing)
{
    // No black in the palette and one free entry: a refusal must not add black either.
    TPalette256 pal = tilingPalette();
    pal[0] = { 1, 1, 1, 0 };
    const TRows rows { { 3, 3 }, { 3, 1 } };
    const TWeaveArray all = MakeWeaveArray(1, 1, 1);
    struct Case {
        const char *name;
        TWeaveArray weave;
        std::initializer_list<std::pair<int, const char *>> chosen;
        TUiMessageKey messageKey;
    } cases[] = {
        { "no colour", all, {}, UiKey::String::TileNoColorChosen },
        { "no weave", TWeaveArray(), { { 3, "" } }, UiKey::String::TileNoWeaveChosen },
        { "a weave of no wefts", MakeWeaveArray(3, 0), { { 3, "" } }, UiKey::String::TileNoWeaveChosen },
        { "a bad text after a good one", all, { { 3, "2" }, { 1, "3,x" } },
            UiKey::String::TileFloatTextInvalid },
        { "a number too large", all, { { 3, "99999999999" } }, UiKey::String::TileFloatTextInvalid },
    };
    for (const auto &c : cases) {
        TPatternGrid g;
        show(g, picture(rows, pal));
        QString error;
        EXPECT_FALSE(
            TileWeaveOverColors(g, c.weave, colours(pal, c.chosen), {}, TTileFloatRule::EqualTo, &error))
            << c.name;
        EXPECT_TRUE(error.startsWith(GetUiMessage(c.messageKey).section('%', 0, 0))) << c.name;
        EXPECT_EQ(PictureRows(g.Picture()), rows) << c.name;
        EXPECT_EQ(g.Palette(), pal) << c.name;
        EXPECT_EQ(g.UndoStore().UndoCount(), 0) << c.name;
    }

    // A full palette without black: every entry used by a cell.
    const TPalette256 full = FullPaletteWithoutBlack();
    const QImage all256 = EveryEntryPicture(full);
    TPatternGrid g;
    show(g, all256);
    QString error;
    EXPECT_FALSE(
        TileWeaveOverColors(g, all, colours(full, { { 5, "" } }), {}, TTileFloatRule::LessThan, &error));
    EXPECT_EQ(error, GetUiMessage(UiKey::String::TileNoEntryForBlack));
    EXPECT_EQ(g.Picture(), all256);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
}

TEST_F(WeaveTiling, BlackIsAddedAsAPaletteStepBeforeTheCells)
{
    TPalette256 pal = tilingPalette();
    pal[0] = { 1, 1, 1, 0 }; // no black; entry 0 unused below
    const TRows rows { { 3, 3 }, { 3, 1 } };
    TPatternGrid g;
    show(g, picture(rows, pal));
    ASSERT_TRUE(TileWeaveOverColors(
        g, MakeWeaveArray(1, 1, 1), colours(pal, { { 3, "" } }), {}, TTileFloatRule::LessThan, nullptr));
    EXPECT_EQ(g.Palette()[0], (TPaletteEntry { 0, 0, 0, 0 }));
    EXPECT_EQ(PictureRows(g.Picture()), (TRows { { 0, 0 }, { 0, 1 } }));
    EXPECT_EQ(g.UndoStore().UndoCount(), 2);
    ASSERT_TRUE(g.Undo());
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), rows);
    EXPECT_EQ(g.Palette()[0], pal[0]);
}

TEST(TileColorList, ColoursAreListedOnceInTheOrderChosen)
{
    const TPalette256 pal = tilingPalette();
    TTileColorList list;
    EXPECT_TRUE(AddTileColor(list, pal, 9));
    EXPECT_TRUE(AddTileColor(list, pal, 3));
    EXPECT_FALSE(AddTileColor(list, pal, 9));
    EXPECT_FALSE(AddTileColor(list, pal, 256));
    EXPECT_FALSE(AddTileColor(list, pal, -1));
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].Index, 9);
    EXPECT_EQ(list[1].Color, pal[3]);
    TIntegerArray lengths;
    EXPECT_TRUE(ParseFloatLengths(" 3, ,5", lengths));
    EXPECT_EQ(lengths, (TIntegerArray { 3, 0, 5 }));
}
