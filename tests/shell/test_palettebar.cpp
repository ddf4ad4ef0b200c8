// The palette bar's logic: cells to colours, picks, the pointer, editing, protection,
// the number colour and the scroll steps.
#include "shell/palettebar.h"

#include "testutil.h"

#include <gtest/gtest.h>

namespace {
TPalette256 rampPalette()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = TPaletteEntry { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2), 0 };
    return pal;
}
} // namespace

// Column c, row r shows position c x rows + r; cells past colour 255 show nothing.
TEST(PaletteBar, CellsMapToPositionsOfTheDisplayOrder)
{
    TPaletteBarModel bar;
    bar.SetPalette(rampPalette());
    struct Case {
        int rows, col, row, index;
    } cases[] = {
        { 1, 0, 0, 0 },
        { 1, 255, 0, 255 },
        { 1, 256, 0, -1 },
        { 2, 3, 1, 7 },
        { 2, 127, 1, 255 },
        { 3, 85, 0, 255 },
        { 3, 85, 1, -1 }, // 85 x 3 + 1 = 256: past the colours
        { 3, 0, 3, -1 },
        { 1, -1, 0, -1 },
    };
    for (const Case &c : cases) {
        bar.SetRowCount(c.rows);
        EXPECT_EQ(bar.IndexAt(c.col, c.row), c.index) << c.rows << " " << c.col << " " << c.row;
    }
    bar.SetRowCount(3);
    EXPECT_EQ(bar.ColCount(), 86);
}

// Left and right clicks pick the current and the background colour (kinds 3 and 4); a
// click past the last colour picks nothing and keeps both; the pointer over an empty cell
// reports nothing.
TEST(PaletteBar, ClicksAndPointer)
{
    TPaletteBarModel bar;
    bar.SetPalette(rampPalette());
    bar.SetRowCount(2);
    auto pick = bar.Click(5, 1, false);
    ASSERT_TRUE(pick);
    EXPECT_EQ(pick->Index, 11);
    EXPECT_EQ(pick->Kind, 3);
    EXPECT_EQ(pick->Value, PlainColor(rampPalette()[11]));
    pick = bar.Click(2, 0, true);
    ASSERT_TRUE(pick);
    EXPECT_EQ(pick->Index, 4);
    EXPECT_EQ(pick->Kind, 4);
    EXPECT_EQ(bar.CurrentIndex(), 11);
    EXPECT_EQ(bar.BackIndex(), 4);

    EXPECT_FALSE(bar.Click(128, 0, false));
    EXPECT_FALSE(bar.Click(200, 1, true));
    EXPECT_EQ(bar.CurrentIndex(), 11) << "the current colour stays";
    EXPECT_EQ(bar.BackIndex(), 4);
    EXPECT_EQ(bar.PointerIndex(), -1);
    EXPECT_TRUE(bar.ToggleCurrentProtected()) << "protect still has a colour to work on";
    EXPECT_TRUE(bar.Protected(11));
    EXPECT_TRUE(bar.ToggleCurrentProtected());
    EXPECT_FALSE(bar.Protected(11));

    EXPECT_EQ(bar.PointerAt(1, 1), 3);
    EXPECT_FALSE(bar.PointerAt(130, 0));
    EXPECT_EQ(bar.PointerIndex(), -1);

    bar.Exchange();
    EXPECT_EQ(bar.CurrentIndex(), 4);
    EXPECT_EQ(bar.BackIndex(), 11);
}

// Double clicks edit colours up to 253; 254 and 255, and the same colour again, change
// nothing.
TEST(PaletteBar, EditingColours)
{
    TPaletteBarModel bar;
    bar.SetPalette(rampPalette());
    const TColor red = PlainColor(TPaletteEntry { 255, 0, 0, 0 });
    struct Case {
        int index;
        bool edits;
    } cases[] = { { 0, true }, { 253, true }, { 254, false }, { 255, false }, { -1, false }, { 256, false } };
    for (const Case &c : cases) {
        const TPalette256 before = bar.Palette();
        EXPECT_EQ(bar.EditColor(c.index, red), c.edits) << c.index;
        if (c.edits) {
            EXPECT_EQ(PlainColor(bar.Palette()[c.index]), red);
            EXPECT_EQ(PlainColor(bar.DisplayOrder()[c.index].Color), red) << "the display order follows";
        } else {
            EXPECT_EQ(bar.Palette(), before) << c.index;
        }
    }
    EXPECT_TRUE(bar.ColorEdited());
    EXPECT_FALSE(bar.EditColor(0, red)) << "the same colour again";
}

// The number of a colour: white while 30 R + 59 G + 11 B is below 12900, black from it on
// (worked in integers, so that no rounding moves the edge).
TEST(PaletteBar, NumberColourThreshold)
{
    struct Case {
        TPaletteEntry color;
        bool white;
    } cases[] = {
        { { 0, 0, 0, 0 }, true }, { { 255, 255, 255, 0 }, false },
        { { 0, 200, 100, 0 }, false }, // 12900 exactly
        { { 0, 200, 99, 0 }, true }, // 12889
        { { 1, 200, 99, 0 }, false }, // 12919
        { { 255, 88, 0, 0 }, true }, // 12842
        { { 255, 88, 6, 0 }, false }, // 12908
        { { 0, 0, 255, 0 }, true }, // 2805
    };
    for (const Case &c : cases)
        EXPECT_EQ(TPaletteBarModel::NumberIsWhite(c.color), c.white)
            << int(c.color.Red) << "," << int(c.color.Green) << "," << int(c.color.Blue);
}

// Scroll steps: one column, or with Ctrl a page (left by the visible columns, right by one
// less), within the first column and the one that shows the last.
TEST(PaletteBar, ScrollSteps)
{
    struct Case {
        int left, visible, cols;
        bool right, ctrl;
        int expected;
    } cases[] = {
        { 10, 20, 256, false, false, 9 }, { 10, 20, 256, false, true, 0 }, { 30, 20, 256, false, true, 10 },
        { 0, 20, 256, false, false, 0 }, { 10, 20, 256, true, false, 11 }, { 10, 20, 256, true, true, 29 },
        { 230, 20, 256, true, true, 236 }, { 236, 20, 256, true, false, 236 },
        { 0, 300, 256, true, true, 0 }, // everything in view
    };
    for (const Case &c : cases)
        EXPECT_EQ(TPaletteBarModel::ScrollStep(c.left, c.visible, c.cols, c.right, c.ctrl), c.expected)
            << c.left << (c.right ? " right" : " left") << (c.ctrl ? " ctrl" : "");
}

// "Select first colour" makes the strip's first colour current and picks it (kind 1); a
// document's protected and transparent colours come to the bar together.
TEST(PaletteBarModel, FirstColourAndMarkedColours)
{
    TPaletteBarModel model;
    TPalette256 palette = GreyPalette();
    palette[0] = TPaletteEntry { 9, 8, 7, 0 };
    model.SetPalette(palette);
    model.SetCurrentIndex(40);
    const TColorPickInfo pick = model.SelectFirstColor();
    EXPECT_EQ(model.CurrentIndex(), model.DisplayOrder()[0].Index);
    EXPECT_EQ(pick.Index, model.CurrentIndex());
    EXPECT_EQ(pick.Kind, 1);
    EXPECT_EQ(TColor(pick.Value), PlainColor(palette[pick.Index]));

    TColorSet protectedColors, transparentColors;
    protectedColors.set(4);
    transparentColors.set(4);
    transparentColors.set(200);
    model.SetProtected(7, true);
    model.SetTransparent(8, true);
    model.SetMarkedColors(protectedColors, transparentColors);
    for (int i = 0; i < TPaletteBarModel::ColorCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(model.Protected(i), i == 4);
        EXPECT_EQ(model.Transparent(i), i == 4 || i == 200);
    }
}
