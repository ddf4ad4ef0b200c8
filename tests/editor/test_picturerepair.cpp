// The picture repair runs on the grid: what each changes, and that each is one undo step on
// the grid's picture as it is at the run.
#include "editor/picturerepair.h"

#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

using TRows = std::vector<std::vector<int>>;
constexpr int F = 7; // fore
constexpr int B = 200; // back

class PictureRepair : public TPatternGridFixture {
protected:
    TPatternGrid grid;
    void load(std::initializer_list<std::vector<int>> rows)
    {
        show(grid, MakePicture(rows, GreyPalette()));
        grid.SetForeColorIndex(F);
        grid.SetBackColorIndex(B);
    }
};

} // namespace

// A thorn (a fore cell with exactly 3 back neighbours) goes; a lone fore cell with 4 back
// neighbours is no thorn and stays; mottle inside the back ground goes; a gap in a fore line
// is closed. Each run is one undo step that gives the picture back.
TEST_F(PictureRepair, EachFunctionChangesWhatItShouldInOneUndoStep)
{
    struct Case {
        const char *what;
        TRepairFunction function;
        int distance;
        TRows before, after;
    };
    const Case cases[] = {
        { "thorn with 3 back neighbours", TRepairFunction::ClearThorn, 2,
            { { B, B, B, B, B }, { B, B, F, B, B }, { F, F, F, F, F }, { F, F, F, F, F } },
            { { B, B, B, B, B }, { B, B, B, B, B }, { F, F, F, F, F }, { F, F, F, F, F } } },
        { "lone cell with 4 back neighbours", TRepairFunction::ClearThorn, 2,
            { { B, B, B, B, B }, { B, B, F, B, B }, { B, B, B, B, B }, { B, B, B, B, B } },
            { { B, B, B, B, B }, { B, B, F, B, B }, { B, B, B, B, B }, { B, B, B, B, B } } },
        { "gap of one cell in a row", TRepairFunction::Repair, 2,
            { { B, B, B, B, B }, { F, F, B, F, F }, { B, B, B, B, B } },
            { { B, B, B, B, B }, { F, F, F, F, F }, { B, B, B, B, B } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        grid.UndoStore().Clear();
        const QImage picture = [&] {
            QImage p(int(c.before[0].size()), int(c.before.size()), QImage::Format_Indexed8);
            SetBitmapPalette(p, GreyPalette());
            for (int y = 0; y < p.height(); ++y)
                for (int x = 0; x < p.width(); ++x)
                    p.scanLine(y)[x] = std::uint8_t(c.before[std::size_t(y)][std::size_t(x)]);
            return p;
        }();
        show(grid, picture);
        grid.SetForeColorIndex(F);
        grid.SetBackColorIndex(B);
        RunPictureRepair(grid, c.function, c.distance);
        EXPECT_EQ(PictureRows(grid.Picture()), c.after);
        EXPECT_EQ(PictureRows(grid.RefBitmap()), c.after);
        if (c.after != c.before) {
            ASSERT_EQ(grid.UndoStore().UndoCount(), 1);
            ASSERT_TRUE(grid.Undo());
            EXPECT_EQ(PictureRows(grid.Picture()), c.before);
        }
    }
}

// Mottle: a speck of fore colour in the back ground goes, in one step.
TEST_F(PictureRepair, ClearMottleTakesSpecksOutOfTheGround)
{
    load({ { B, B, B, B, B, B }, { B, B, B, B, B, B }, { B, B, F, B, B, B }, { B, B, B, B, B, B },
        { B, B, B, B, B, B } });
    const TRows before = PictureRows(grid.Picture());
    RunPictureRepair(grid, TRepairFunction::ClearMottle, 2);
    TRows after = before;
    after[2][2] = B;
    EXPECT_EQ(PictureRows(grid.Picture()), after);
    ASSERT_EQ(grid.UndoStore().UndoCount(), 1);
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(PictureRows(grid.Picture()), before);
    EXPECT_TRUE(grid.Redo());
    EXPECT_EQ(PictureRows(grid.Picture()), after);
}

// The grid gives its picture up on a whole-picture undo: the next run works on the one it
// holds then, and its undo gives that one back.
TEST_F(PictureRepair, RunAfterAWholePictureUndoWorksOnTheNewPicture)
{
    load({ { B, B, B, B }, { F, B, F, B }, { B, B, B, B } });
    ASSERT_TRUE(grid.Rotate90());
    ASSERT_TRUE(grid.Undo());
    const TRows before = PictureRows(grid.Picture());
    ASSERT_EQ(before, (TRows { { B, B, B, B }, { F, B, F, B }, { B, B, B, B } }));
    RunPictureRepair(grid, TRepairFunction::Repair, 2);
    EXPECT_EQ(PictureRows(grid.Picture()), (TRows { { B, B, B, B }, { F, F, F, B }, { B, B, B, B } }));
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(PictureRows(grid.Picture()), before);
}

// Repair records its step over the whole picture even when it closed no gap; the runs that
// record their changed cells record nothing then.
TEST_F(PictureRepair, RepairRecordsAStepEvenWhenNothingChanged)
{
    load({ { B, B, B }, { B, B, B } });
    RunPictureRepair(grid, TRepairFunction::ClearThorn, 2);
    RunPictureRepair(grid, TRepairFunction::ClearMottle, 2);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 0);
    RunPictureRepair(grid, TRepairFunction::Repair, 2);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);
}
