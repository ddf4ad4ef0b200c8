// The colour reduction model on a grid: heads and groups by count and difference, the moves
// of manual combining, picks and dropped heads, and OK as one undoable step that never turns
// a cell black, even when the picture's colours changed after the window read them.
#include "editor/colorreduction.h"

#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <set>

namespace {

enum : int { Red = 0, Blue = 1, NearRed = 2, NearBlue = 3, Green = 7 };

TPalette256 fourColorPalette()
{
    TPalette256 pal;
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), 128, std::uint8_t(255 - i), 0 };
    pal[Red] = { 255, 0, 0, 0 };
    pal[Blue] = { 0, 0, 255, 0 };
    pal[NearRed] = { 230, 20, 20, 0 };
    pal[NearBlue] = { 20, 20, 230, 0 };
    pal[Green] = { 0, 200, 0, 0 };
    return pal;
}

// 10 x 10 cells: red 40, blue 30, near red 20, near blue 10.
QImage fourColorPicture()
{
    QImage img = NewPicture(10, 10, fourColorPalette());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            img.scanLine(y)[x] = std::uint8_t(y < 4 ? Red : y < 7 ? Blue : y < 9 ? NearRed : NearBlue);
    return img;
}

std::set<int> usedIndexes(const QImage &img)
{
    std::set<int> used;
    for (const auto &row : PictureRows(img))
        used.insert(row.begin(), row.end());
    return used;
}

class ColorReduction : public TPatternGridFixture {
protected:
    void SetUp() override
    {
        TPatternGridFixture::SetUp();
        show(grid, fourColorPicture());
        model.SetColorLeft(90);
        model.SetGrid(&grid);
    }
    // The new index of each old colour, read off the first cell of its rows.
    std::vector<int> mappedIndexes() const
    {
        const QImage &p = grid.Picture();
        return { p.pixelIndex(0, 0), p.pixelIndex(0, 4), p.pixelIndex(0, 7), p.pixelIndex(0, 9) };
    }
    TPatternGrid grid;
    TColorReduction model;
};

} // namespace

TEST_F(ColorReduction, CountAndDifferenceChooseHeadsAndOkRemapsCellsAndPalette)
{
    EXPECT_EQ(model.UsedCount(), 4);
    EXPECT_EQ(model.ColorCount(), 4) << "the count box starts at the used colours";
    EXPECT_EQ(model.Mode(), TReduceMode::Automatic);
    struct Case {
        int count;
        int groups;
        std::vector<int> mapped; // red, blue, near red, near blue
    } cases[] = {
        { 3, 3, { 0, 1, 2, 1 } }, { 2, 2, { 0, 1, 0, 1 } },
        { 0, 1, { 0, 0, 0, 0 } }, // the box runs from 1: never a picture of no colour
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        model.SetColorCount(c.count);
        ASSERT_EQ(model.GroupCount(), c.groups);
        ASSERT_EQ(model.Apply({}), TReduceApply::Applied);
        EXPECT_EQ(mappedIndexes(), c.mapped);
        const TPalette256 &pal = grid.Palette();
        EXPECT_EQ(pal[0], fourColorPalette()[Red]);
        for (int i = c.groups; i < 254; ++i)
            ASSERT_EQ(pal[i], BlackQuad) << i;
        EXPECT_EQ(pal[254], BlackQuad);
        EXPECT_EQ(pal[255], WhiteQuad);
        if (c.groups == 3) {
            EXPECT_EQ(pal[1], fourColorPalette()[Blue]);
            EXPECT_EQ(pal[2], fourColorPalette()[NearRed]);
        }
        // The window goes on with the reduced picture.
        EXPECT_EQ(model.UsedCount(), c.groups);
        EXPECT_EQ(PictureRows(grid.RefBitmap()), PictureRows(grid.Picture()));
        ASSERT_TRUE(grid.Undo());
        EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(fourColorPicture()));
        EXPECT_EQ(grid.Palette(), fourColorPalette()) << "one undo brings the palette back";
        model.Reload();
    }
    ASSERT_TRUE(grid.Redo());
    EXPECT_EQ(mappedIndexes(), (std::vector<int> { 0, 0, 0, 0 }));
}

TEST_F(ColorReduction, AutomaticModeRefusesEditsAndManualModesTakePicksAndDrops)
{
    model.SetColorCount(3);
    EXPECT_FALSE(model.PickColor(NearBlue));
    EXPECT_FALSE(model.DropHead(0));
    EXPECT_FALSE(model.MoveLeft());
    EXPECT_FALSE(model.ClearAll());

    model.EnterMode(TReduceMode::ManualReduce);
    EXPECT_FALSE(model.PickColor(Blue)) << "a head already";
    EXPECT_FALSE(model.PickColor(Green)) << "a colour no cell uses";
    ASSERT_TRUE(model.PickColor(NearBlue));
    ASSERT_EQ(model.GroupCount(), 4);
    ASSERT_EQ(model.Groups().size(), 4);
    EXPECT_TRUE(model.Groups()[3].isEmpty()) << "the new head's group is its own";
    EXPECT_EQ(model.Pairs()[3].Index, NearBlue);
    for (int g = 0; g < 3; ++g)
        for (const auto &c : model.Groups()[g])
            EXPECT_NE(c.Index, NearBlue);

    // A dropped head's colours go to the nearest remaining head, not to the next group.
    ASSERT_TRUE(model.DropHead(0));
    EXPECT_EQ(model.GroupCount(), 3);
    ASSERT_EQ(model.Apply({}), TReduceApply::Applied);
    for (int index : usedIndexes(grid.Picture()))
        EXPECT_LT(index, 3) << "no cell maps past the heads";
    EXPECT_EQ(grid.Palette()[grid.Picture().pixelIndex(0, 0)], fourColorPalette()[NearRed]);
    EXPECT_EQ(grid.Palette()[grid.Picture().pixelIndex(0, 9)], fourColorPalette()[NearBlue]);
}

TEST_F(ColorReduction, OnlyHeadStays)
{
    model.SetColorCount(1);
    model.EnterMode(TReduceMode::ManualCombine);
    EXPECT_FALSE(model.DropHead(0));
    EXPECT_EQ(model.GroupCount(), 1);
}

TEST_F(ColorReduction, ManualCombiningMovesColoursAndKeepsSelectionsInside)
{
    model.SetColorCount(2); // red {red, near red}, blue {blue, near blue}
    model.EnterMode(TReduceMode::ManualCombine);
    EXPECT_EQ(model.GroupCount(), 2) << "combining keeps the groups of manual reduction";
    model.SetCurGroup(0);
    model.SetCurMember(1);
    ASSERT_TRUE(model.MoveLeft());
    ASSERT_EQ(model.Unassigned().size(), 1);
    EXPECT_EQ(model.Unassigned()[0].Index, NearRed);
    EXPECT_EQ(model.CurMember(), 0) << "past the end steps back";
    EXPECT_EQ(model.CurUnassigned(), 0) << "-1 becomes 0 once the list has items";

    model.SetCurGroup(1);
    ASSERT_TRUE(model.MoveRight());
    EXPECT_TRUE(model.Unassigned().isEmpty());
    EXPECT_EQ(model.CurUnassigned(), -1);
    EXPECT_EQ(model.Groups()[1].size(), 3);
    EXPECT_EQ(model.MaxGroupLen(), 3);

    ASSERT_TRUE(model.MoveAllLeft());
    EXPECT_TRUE(model.Groups()[1].isEmpty());
    EXPECT_EQ(model.Unassigned().size(), 3);
    ASSERT_TRUE(model.ClearAll());
    EXPECT_EQ(model.Unassigned().size(), 4);
    model.SetCurGroup(0);
    ASSERT_TRUE(model.MoveAllRight());
    EXPECT_EQ(model.Groups()[0].size(), 4);
    ASSERT_TRUE(model.ClearAll());

    // AutoAssign: every colour to its nearest head.
    ASSERT_TRUE(model.AutoAssign());
    EXPECT_TRUE(model.Unassigned().isEmpty());
    ASSERT_EQ(model.Apply({}), TReduceApply::Applied);
    EXPECT_EQ(mappedIndexes(), (std::vector<int> { 0, 1, 0, 1 }));
}

TEST_F(ColorReduction, UnassignedColoursAskFirstAndCancelChangesNothing)
{
    model.SetColorCount(3);
    model.EnterMode(TReduceMode::ManualReduce);
    model.EnterMode(TReduceMode::ManualCombine);
    ASSERT_TRUE(model.DropHead(2)); // near red to the unassigned list
    ASSERT_EQ(model.Unassigned().size(), 1);
    int asked = 0;
    EXPECT_EQ(model.Apply([&] { return ++asked, false; }), TReduceApply::Cancelled);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(fourColorPicture()));
    EXPECT_EQ(grid.UndoStore().UndoCount(), 0);
    EXPECT_EQ(model.Unassigned().size(), 1);

    EXPECT_EQ(model.Apply([&] { return ++asked, true; }), TReduceApply::Applied);
    EXPECT_EQ(mappedIndexes(), (std::vector<int> { 0, 1, 0, 1 }));
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);
}

TEST_F(ColorReduction, ColourDrawnAfterReadingIsReadAgainBeforeOkReducesIt)
{
    model.SetColorCount(2);
    grid.Picture().setPixel(5, 5, Green); // drawn while the window was open
    QString message;
    EXPECT_EQ(model.Apply({}, &message), TReduceApply::ColorsChanged);
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(grid.Picture().pixelIndex(5, 5), Green) << "nothing applied";
    EXPECT_EQ(grid.UndoStore().UndoCount(), 0);
    EXPECT_EQ(model.UsedCount(), 5);

    model.SetColorCount(2);
    ASSERT_EQ(model.Apply({}, &message), TReduceApply::Applied);
    for (int index : usedIndexes(grid.Picture()))
        EXPECT_LT(index, 2) << "no cell black";
}

TEST_F(ColorReduction, NoGridRefusesAndPaletteChangeIsNoticed)
{
    TColorReduction none;
    QString message;
    EXPECT_EQ(none.Apply({}, &message), TReduceApply::Refused);
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(none.Mode(), TReduceMode::NotStarted);

    EXPECT_TRUE(model.PaletteCurrent());
    TPalette256 pal = grid.Palette();
    pal[Red] = { 250, 0, 0, 0 };
    grid.SetPalette(pal);
    EXPECT_FALSE(model.PaletteCurrent());
    EXPECT_EQ(model.Apply({}), TReduceApply::ColorsChanged);
    EXPECT_EQ(model.OrgPalette()[Red], pal[Red]);
}
