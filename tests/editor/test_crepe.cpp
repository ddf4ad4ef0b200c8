// The crepe ground: seeded bursts never make a run of the colour longer than the limits, the
// neighbour count ends on a line wholly of the colour, and the tool paints one step a burst.
#include "editor/crepe.h"

#include "core/base/toolid.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {
class Crepe : public TPatternGridFixture { };

constexpr std::uint8_t G = 1, Fc = 2;

// The longest run of color along a line of cells read cyclically (the line's end joins its
// start), as the burst counts; a line wholly of color gives its length.
int longestCyclicRun(const std::vector<int> &line, int color)
{
    const int n = int(line.size());
    int best = 0;
    for (int start = 0; start < n; ++start) {
        int run = 0;
        while (run < n && line[(start + run) % n] == color)
            ++run;
        best = std::max(best, run);
    }
    return best;
}

QImage ground(int w, int h)
{
    QImage picture = NewPicture(w, h, GreyPalette());
    picture.fill(G);
    return picture;
}
} // namespace

TEST_F(Crepe, NeighbourCountWrapsStopsAtTheLimitAndEndsAfterOneTurn)
{
    const QImage row = MakePicture({ { Fc, Fc, G, Fc, Fc, Fc } });
    const QImage all = MakePicture({ { Fc, Fc, Fc, Fc } });
    const struct {
        const char *what;
        const QImage *picture;
        TPoint p;
        int limit, count;
    } cases[] = {
        { "both ways, wrapping past the start", &row, { 2, 0 }, 99, 5 },
        { "the limit ends the count", &row, { 2, 0 }, 3, 3 },
        { "a cell of the colour counts the others once", &row, { 0, 0 }, 99, 1 + 3 },
        { "a line wholly of the colour ends after one turn", &all, { 1, 0 }, 99, 3 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        RunWithin(10, c.what,
            [&] { EXPECT_EQ(CountCrepeNeighbours(*c.picture, c.p, true, Fc, c.limit), c.count); });
    }
    // Down a column, the same.
    const QImage column = MakePicture({ { Fc }, { G }, { Fc }, { Fc } });
    EXPECT_EQ(CountCrepeNeighbours(column, { 0, 1 }, false, Fc, 99), 3);
}

TEST_F(Crepe, SeededBurstsNeverMakeARunLongerThanTheLimits)
{
    const struct {
        int horz, vert;
    } limits[] = { { 1, 1 }, { 2, 3 }, { 4, 1 }, { 3, 3 } };
    for (const auto &l : limits) {
        SCOPED_TRACE(testing::Message() << l.horz << " x " << l.vert);
        QImage picture = ground(13, 11);
        std::mt19937 random(l.horz * 31u + l.vert);
        TCrepeBurst burst;
        burst.Color = Fc;
        burst.Option = { 6, 6, l.horz, l.vert, 40 };
        std::vector<TPoint> cells;
        for (int i = 0; i < 60; ++i) {
            burst.Center = { int(random() % 13), int(random() % 11) };
            CrepeBurst(picture, burst, random, cells);
        }
        EXPECT_GT(cells.size(), 20u) << "the bursts painted something";
        const auto rows = PictureRows(picture);
        for (const auto &r : rows)
            EXPECT_LE(longestCyclicRun(r, Fc), l.horz);
        for (int x = 0; x < 13; ++x) {
            std::vector<int> col;
            for (const auto &r : rows)
                col.push_back(r[x]);
            EXPECT_LE(longestCyclicRun(col, Fc), l.vert);
        }
    }
}

TEST_F(Crepe, OnePictureOfTheColourEndsUnchangedAndAOneCellBoxPaintsItsCell)
{
    TCrepeBurst burst;
    burst.Color = Fc;
    burst.Option = { 5, 5, 99, 99, 20 };
    std::mt19937 random(7);
    std::vector<TPoint> cells;
    QImage all = NewPicture(6, 4, GreyPalette());
    all.fill(Fc);
    RunWithin(10, "a burst on a picture of one colour", [&] { CrepeBurst(all, burst, random, cells); });
    EXPECT_TRUE(cells.empty());

    // A box of one cell, at the middle and at the last corner: every point is the cell.
    burst.Option = { 1, 1, 4, 4, 10 };
    for (const TPoint centre : { TPoint { 2, 1 }, TPoint { 5, 3 } }) {
        QImage picture = ground(6, 4);
        cells.clear();
        burst.Center = centre;
        CrepeBurst(picture, burst, random, cells);
        ASSERT_EQ(cells.size(), 1u);
        EXPECT_EQ(cells[0], centre);
        EXPECT_EQ(picture.constScanLine(centre.Y)[centre.X], Fc);
    }
}

TEST_F(Crepe, ProtectedColoursAndCellsOutsideTheSelectionStay)
{
    QImage picture = ground(8, 8);
    TCrepeBurst burst;
    burst.Color = Fc;
    burst.Option = { 8, 8, 99, 99, 200 };
    burst.Center = { 3, 3 };
    burst.Selection = QRegion(0, 0, 2, 8);
    std::mt19937 random(3);
    std::vector<TPoint> cells;
    CrepeBurst(picture, burst, random, cells);
    ASSERT_FALSE(cells.empty());
    for (const TPoint &p : cells)
        EXPECT_LT(p.X, 2);
    burst.Selection = QRegion();
    burst.Protected.set(G);
    cells.clear();
    CrepeBurst(picture, burst, random, cells);
    EXPECT_TRUE(cells.empty());
}

TEST_F(Crepe, TheToolBurstsAtPressAndWhileHeldEachBurstOneStep)
{
    TPatternGrid grid;
    show(grid, ground(20, 20));
    grid.SetForeColorIndex(Fc);
    grid.SetCrepeWeaveOption({ 4, 4, 2, 2, 12 });
    grid.SetDrawTool(TToolId::CrepeWeave);
    TPatternGrid::TCellEvent e;
    e.Cell = { 5, 5 };
    grid.MouseDown(e);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);
    e.Cell = { 12, 12 };
    grid.MouseMove(e, true);
    grid.MouseUp(e);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 2);
    e.Cell = { 15, 15 };
    grid.MouseMove(e, false);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 2) << "no burst once the button is up";
    int painted = 0;
    for (const auto &r : PictureRows(grid.Picture()))
        painted += int(std::count(r.begin(), r.end(), Fc));
    EXPECT_GT(painted, 0);
    ASSERT_TRUE(grid.Undo());
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(ground(20, 20)));
}
