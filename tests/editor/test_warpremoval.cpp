// Warp removal on a grid: every other warp of the area goes in one whole-picture step, and
// an area that would leave no warp, or lies outside the picture, is refused with the reason.
#include "editor/warpremoval.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QRegion>

namespace {
class WarpRemoval : public TPatternGridFixture { };

// Two rows whose cells name their column (and the row), so that what is left shows which
// old columns stayed.
QImage numberedColumns(int w)
{
    QImage picture = MakePicture({ std::vector<int>(w, 0), std::vector<int>(w, 0) });
    for (int x = 0; x < w; ++x) {
        picture.scanLine(0)[x] = uchar(x);
        picture.scanLine(1)[x] = uchar(100 + x);
    }
    return picture;
}

std::vector<int> topRow(const TPatternGrid &grid)
{
    return PictureRows(grid.Picture())[0];
}
} // namespace

TEST_F(WarpRemoval, OddOrEvenWarpsOfTheSelectionGoInOneStep)
{
    const struct {
        TRemoveWarpParity parity;
        std::vector<int> left;
    } cases[] = {
        { TRemoveWarpParity::Odd, { 1, 3, 5, 6, 7, 8, 9 } },
        { TRemoveWarpParity::Even, { 0, 2, 4, 6, 7, 8, 9 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.parity));
        TPatternGrid grid;
        const QImage before = numberedColumns(10);
        show(grid, before);
        QString error;
        ASSERT_TRUE(RemoveAlternateWarps(grid, QRegion(0, 0, 6, 1), c.parity, &error)) << error.toStdString();
        EXPECT_EQ(topRow(grid), c.left);
        EXPECT_EQ(PictureRows(grid.Picture())[1][0], 100 + c.left[0]) << "whole columns go, every row";
        EXPECT_EQ(grid.ColCount(), 7);
        EXPECT_EQ(grid.RefBitmap().width(), 7);
        EXPECT_EQ(grid.UndoStore().UndoCount(), 1);
        ASSERT_TRUE(grid.Undo());
        EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(before));
    }
}

TEST_F(WarpRemoval, WithoutSelectionTheWholePictureIsTheArea)
{
    TPatternGrid grid;
    show(grid, numberedColumns(5));
    ASSERT_TRUE(RemoveAlternateWarps(grid, QRegion(), TRemoveWarpParity::Even));
    EXPECT_EQ(topRow(grid), (std::vector<int> { 0, 2, 4 }));
}

TEST_F(WarpRemoval, RefusesAnAreaThatWouldLeaveNoWarpOrMissesThePicture)
{
    const struct {
        const char *what;
        int width;
        QRegion area;
        QString message;
    } cases[] = {
        { "the only warp is odd", 1, QRegion(), GetUiMessage(UiKey::String::RemoveWarpNothingLeft) },
        { "a selection right of the picture", 4, QRegion(10, 0, 3, 2),
            GetUiMessage(UiKey::String::RemoveWarpNoArea) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TPatternGrid grid;
        const QImage before = numberedColumns(c.width);
        show(grid, before);
        QString error;
        EXPECT_FALSE(RemoveAlternateWarps(grid, c.area, TRemoveWarpParity::Odd, &error));
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(before));
        EXPECT_EQ(grid.UndoStore().UndoCount(), 0);
    }
}
