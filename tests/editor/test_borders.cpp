// Borders: walks away from the areas of F paint B cells C, reading the picture as it stood,
// and a second run with the same settings changes nothing.
#include "editor/borders.h"

#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {
class Borders : public TPatternGridFixture { };

constexpr int B = 1, F = 2, C = 3, X = 4;

TBordureOption only(bool left, bool right, bool top, bool bottom, int length)
{
    TBordureOption o;
    o.LeftBordure = left;
    o.RightBordure = right;
    o.TopBordure = top;
    o.BottomBordure = bottom;
    o.LeftLength = o.RightLength = o.TopLength = o.BottomLength = length;
    return o;
}

using TRows = std::vector<std::vector<int>>;

// The rows with the option applied, read from and written to copies of one picture.
TRows bordered(const TRows &rows, const TBordureOption &o)
{
    QImage ref = NewPicture(int(rows[0].size()), int(rows.size()), GreyPalette());
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            ref.scanLine(int(y))[x] = uchar(rows[y][x]);
    QImage picture = ref.copy();
    ApplyBordure(ref, picture, o, TBordureColors { F, B, C });
    return PictureRows(picture);
}
} // namespace

TEST_F(Borders, WalksPaintOnlyBackgroundAndStopAtTheAreaOrTheEdge)
{
    using R = TRows;
    const struct {
        const char *what;
        R rows;
        TBordureOption option;
        R expected;
    } cases[] = {
        { "right 2", { { B, B, F, F, B, B, B } }, only(false, true, false, false, 2),
            { { B, B, F, F, C, C, B } } },
        { "left 3", { { B, B, F, F, B, B, B } }, only(true, false, false, false, 3),
            { { C, C, F, F, B, B, B } } },
        { "right 5 stops at F and starts again after it", { { F, B, F, B, B } },
            only(false, true, false, false, 5), { { F, C, F, C, C } } },
        { "right 3 passes another colour", { { F, X, B } }, only(false, true, false, false, 3),
            { { F, X, C } } },
        { "length 0 draws nothing", { { B, F, B } }, only(true, true, true, true, 0), { { B, F, B } } },
        { "a negative length draws nothing", { { B, F, B } }, only(true, true, true, true, -4),
            { { B, F, B } } },
        { "a length beyond the picture stops at its edge", { { B, F, B, B } },
            only(true, true, false, false, 1000), { { C, F, C, C } } },
        { "top 2 above an area whose top is row 2", { { B, B }, { B, B }, { F, B }, { F, B } },
            only(false, false, true, false, 2), { { C, B }, { C, B }, { F, B }, { F, B } } },
        { "bottom 1 under the area", { { F, B }, { B, B }, { B, B } }, only(false, false, false, true, 1),
            { { F, B }, { C, B }, { B, B } } },
        { "all sides at once", { { B, B, B }, { B, F, B }, { B, B, B } }, only(true, true, true, true, 1),
            { { B, C, B }, { C, F, C }, { B, C, B } } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(bordered(c.rows, c.option), c.expected);
    }
}

TEST_F(Borders, CellsPaintedByTheRunNeitherStartNorStopOtherWalks)
{
    // The border colour is the foreground here: a run that read its own writes would see
    // a wider area and carry the border on to the row's end.
    const QImage ref = MakePicture({ { F, B, B, B } });
    QImage picture = ref.copy();
    ApplyBordure(ref, picture, only(false, true, false, false, 1), TBordureColors { F, B, F });
    EXPECT_EQ(PictureRows(picture), (std::vector<std::vector<int>> { { F, F, B, B } }));
}

TEST_F(Borders, OnTheGridOneStepAndASecondRunChangesNothing)
{
    TPatternGrid grid;
    const QImage before = MakePicture({ { B, B, F, F, B, B, B }, { B, B, B, B, B, B, B } });
    show(grid, before);
    const TBordureOption o = only(true, true, true, true, 2);
    ApplyBordureToGrid(grid, o, TBordureColors { F, B, C });
    const auto once = PictureRows(grid.Picture());
    EXPECT_EQ(once, (std::vector<std::vector<int>> { { C, C, F, F, C, C, B }, { B, B, C, C, B, B, B } }));
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);
    ApplyBordureToGrid(grid, o, TBordureColors { F, B, C });
    EXPECT_EQ(PictureRows(grid.Picture()), once);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1) << "nothing changed, nothing recorded";
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(before));
}

TEST_F(Borders, ProtectedColoursKeepTheirCells)
{
    TPatternGrid grid;
    show(grid, MakePicture({ { F, B, B } }));
    grid.IncludeColorIndex(B);
    ApplyBordureToGrid(grid, only(true, true, true, true, 3), TBordureColors { F, B, C });
    EXPECT_EQ(PictureRows(grid.Picture()), (std::vector<std::vector<int>> { { F, B, B } }));
}
