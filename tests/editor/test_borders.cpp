// Borders: walks away from the areas of F paint B cells C, reading the picture as it stood,
// and a second run with the same settings changes nothing.
#include "editor/borders.h"

#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <random>

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

namespace {
// The walks as the border window describes them, one cell at a time: from every non-F
// cell beside F on a chosen side, away from the area, painting B, passing other colours,
// stopping at F or the edge. Returns the number of cells of picture it changed.
int walkedBordure(const QImage &ref, QImage &picture, const TBordureOption &o, const TBordureColors &k)
{
    const int w = ref.width(), h = ref.height();
    const auto cell = [&](int x, int y) { return int(ref.constScanLine(y)[x]); };
    const auto isF
        = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && cell(x, y) == k.Foreground; };
    int changed = 0;
    const auto walk = [&](int x, int y, int dx, int dy, int length) {
        for (int s = 0; s < length; ++s, x += dx, y += dy) {
            if (x < 0 || y < 0 || x >= w || y >= h || cell(x, y) == k.Foreground)
                return;
            if (cell(x, y) == k.Background && picture.scanLine(y)[x] != k.Border) {
                picture.scanLine(y)[x] = k.Border;
                ++changed;
            }
        }
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (isF(x, y))
                continue;
            if (o.RightBordure && isF(x - 1, y))
                walk(x, y, 1, 0, o.RightLength);
            if (o.LeftBordure && isF(x + 1, y))
                walk(x, y, -1, 0, o.LeftLength);
            if (o.BottomBordure && isF(x, y - 1))
                walk(x, y, 0, 1, o.BottomLength);
            if (o.TopBordure && isF(x, y + 1))
                walk(x, y, 0, -1, o.TopLength);
        }
    return changed;
}
} // namespace

TEST_F(Borders, TheRunMatchesTheCellByCellWalksOnRandomPictures)
{
    std::mt19937 random(42);
    const auto pick = [&](int n) { return int(random() % std::uint32_t(n)); };
    // Rows narrower and wider than a few vector widths, and one of several hundred cells.
    const QSize sizes[] = { { 1, 1 }, { 1, 9 }, { 9, 1 }, { 2, 3 }, { 7, 5 }, { 13, 11 }, { 33, 4 },
        { 3, 300 }, { 47, 6 }, { 517, 5 } };
    const TBordureColors colorSets[] = { { 1, 0, 2 }, { 1, 1, 2 }, { 1, 0, 1 }, { 0, 1, 1 }, { 2, 3, 0 } };
    for (const QSize size : sizes)
        for (const TBordureColors &k : colorSets)
            for (int round = 0; round < 12; ++round) {
                QImage ref = NewPicture(size.width(), size.height(), GreyPalette());
                for (int y = 0; y < ref.height(); ++y)
                    for (int x = 0; x < ref.width(); ++x)
                        ref.scanLine(y)[x] = uchar(pick(4));
                // The output starts as a different picture, so cells already C count right.
                QImage start = ref.copy();
                for (int y = 0; y < start.height(); ++y)
                    for (int x = 0; x < start.width(); ++x)
                        if (pick(3) == 0)
                            start.scanLine(y)[x] = uchar(pick(4));
                TBordureOption o;
                o.LeftBordure = pick(2) != 0;
                o.RightBordure = pick(2) != 0;
                o.TopBordure = pick(2) != 0;
                o.BottomBordure = pick(2) != 0;
                // Sideways walks both short and longer than a vector's few offsets.
                const int sideways = round < 8 ? 6 : 14;
                o.LeftLength = pick(sideways) - 1;
                o.RightLength = pick(sideways) - 1;
                o.TopLength = pick(6) - 1;
                // Long enough to need wide per-column counts on the tall picture.
                o.BottomLength = round == 0 ? 1000 : pick(6) - 1;
                QImage expected = start.copy(), actual = start.copy();
                const int expectedCount = walkedBordure(ref, expected, o, k);
                const int actualCount = ApplyBordure(ref, actual, o, k);
                SCOPED_TRACE(testing::Message()
                    << size.width() << "x" << size.height() << " colours " << int(k.Foreground)
                    << int(k.Background) << int(k.Border) << " round " << round);
                EXPECT_EQ(PictureRows(actual), PictureRows(expected));
                EXPECT_EQ(actualCount, expectedCount);
            }
}
