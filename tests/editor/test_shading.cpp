// Shading with a growing satin: the bands of extra points, the satins, the cells of a
// selection, and the refusals that change nothing.
#include "editor/shading.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

class Shading : public TPatternGridFixture { };

TShadowParam param(TShadowMethod method, TShadowDirection direction, int n = 5, int d = 3)
{
    return { method, n, d, direction };
}

} // namespace

TEST_F(Shading, BandsOfExtraPoints)
{
    using M = TShadowMethod;
    using D = TShadowDirection;
    const std::vector<int> positions { 0, 9, 10, 19, 20, 29, 30, 39 };
    const struct {
        TShadowParam param;
        int span;
        std::vector<int> k; // at the positions above
    } cases[] = {
        // 40 > (5 - 1) x 5: bands of 40 div 4 = 10.
        { param(M::Warp, D::WeftToWarp), 40, { 0, 0, 1, 1, 2, 2, 3, 3 } },
        { param(M::Weft, D::WeftToWarp), 40, { 0, 0, 1, 1, 2, 2, 3, 3 } },
        { param(M::Warp, D::WarpToWeft), 40, { 3, 3, 2, 2, 1, 1, 0, 0 } },
        { param(M::Weft, D::WarpToWeft), 40, { 3, 3, 2, 2, 1, 1, 0, 0 } },
        // 20 is not above 20: bands of N = 5, k held at N - 2 and at 0.
        { param(M::Warp, D::WeftToWarp), 20, { 0, 1, 2, 3, 3, 3, 3, 3 } },
        { param(M::Warp, D::WarpToWeft), 20, { 3, 2, 1, 0, 0, 0, 0, 0 } },
    };
    for (const auto &c : cases) {
        std::vector<int> k;
        for (int p : positions)
            k.push_back(ShadowExtraPoints(c.param, p, c.span));
        EXPECT_EQ(k, c.k) << int(c.param.Method) << '/' << int(c.param.Direction) << '/' << c.span;
    }
}

TEST_F(Shading, SatinsGrowAlongRowsOrColumns)
{
    // The columns of the plain satin's points, row by row: 3a mod 5 with d = 3, 5a mod 7
    // with d = 5.
    for (const auto &[n, d, columns] : { std::tuple { 5, 3, std::vector<int> { 0, 3, 1, 4, 2 } },
             std::tuple { 7, 5, std::vector<int> { 0, 5, 3, 1, 6, 4, 2 } } }) {
        for (TShadowMethod method : { TShadowMethod::Weft, TShadowMethod::Warp }) {
            const auto satin = ShadowSatin(param(method, TShadowDirection::WeftToWarp, n, d), 0);
            for (int a = 0; a < n; ++a)
                for (int c = 0; c < n; ++c)
                    EXPECT_EQ(satin[a][c], c == columns[std::size_t(a)]) << n << ' ' << a << ' ' << c;
        }
    }
    // One extra point: along the row (横丝) or down the column (直丝).
    const auto weft = ShadowSatin(param(TShadowMethod::Weft, TShadowDirection::WeftToWarp), 1);
    const auto warp = ShadowSatin(param(TShadowMethod::Warp, TShadowDirection::WeftToWarp), 1);
    EXPECT_TRUE(weft[1][3] && weft[1][4] && !weft[2][3]);
    EXPECT_TRUE(warp[1][3] && warp[2][3] && !warp[1][4]);
    for (const auto &satin : { weft, warp }) {
        int points = 0;
        for (const auto &row : satin)
            for (bool p : row)
                points += p;
        EXPECT_EQ(points, 10);
    }
}

TEST_F(Shading, SelectionCellsFollowTheBands)
{
    // 直丝, 40 rows: 2, 4, 6 and 8 points in each 10-cell row, band by band from the top.
    QImage picture = NewPicture(10, 40, GreyPalette());
    picture.fill(0);
    TLineArray cells;
    ASSERT_TRUE(ShadowCells(
        picture, QRegion(0, 0, 10, 40), param(TShadowMethod::Warp, TShadowDirection::WeftToWarp), cells));
    std::map<int, int> perRow;
    for (const TPoint &c : cells)
        ++perRow[c.Y];
    for (int y = 0; y < 40; ++y)
        EXPECT_EQ(perRow[y], 2 * (y / 10 + 1)) << y;
    // Satin rows count up from the box's bottom: row 0 is satin row 40 mod 5 = 0.
    std::vector<int> top;
    for (const TPoint &c : cells)
        if (c.Y == 0)
            top.push_back(c.X);
    EXPECT_EQ(top, (std::vector<int> { 0, 5 }));

    // 横丝 across 40 columns, from warp face to weft face: 8, 6, 4, 2 per column.
    QImage wide = NewPicture(40, 10, GreyPalette());
    wide.fill(0);
    ASSERT_TRUE(ShadowCells(
        wide, QRegion(0, 0, 40, 10), param(TShadowMethod::Weft, TShadowDirection::WarpToWeft), cells));
    std::map<int, int> perColumn;
    for (const TPoint &c : cells)
        ++perColumn[c.X];
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(perColumn[x], 2 * (4 - x / 10)) << x;

    // A selection reaching past the picture keeps the box's phase and paints only inside.
    ASSERT_TRUE(ShadowCells(
        picture, QRegion(5, 30, 10, 20), param(TShadowMethod::Warp, TShadowDirection::WeftToWarp), cells));
    // Span 20, bands of 5: k = 0 in rows 30..34, 1 in rows 35..39, over five columns.
    perRow.clear();
    for (const TPoint &c : cells) {
        EXPECT_TRUE(c.X >= 5 && c.X < 10 && c.Y >= 30 && c.Y < 40) << c.X << ',' << c.Y;
        ++perRow[c.Y];
    }
    for (int y = 30; y < 40; ++y)
        EXPECT_EQ(perRow[y], y < 35 ? 1 : 2) << y;
    // Satin row (50 - 30) mod 5 = 0 holds column 0 of the box: cell (5, 30).
    EXPECT_EQ(cells[0], (TPoint { 5, 30 }));
}

TEST_F(Shading, RefusalsChangeNothing)
{
    TPatternGrid g;
    QImage start = NewPicture(12, 12, GreyPalette());
    start.fill(0);
    show(g, start);
    g.SetForeColorIndex(200);
    QString error;
    EXPECT_FALSE(RunShadow(g, param(TShadowMethod::Weft, TShadowDirection::WeftToWarp), &error));
    EXPECT_EQ(error, GetUiMessage(UiKey::String::ShadowNoRegion));
    EXPECT_EQ(g.Picture(), start);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);

    g.SetSelectionRegion(QRegion(0, 0, 12, 12));
    for (const auto &[n, d, message] : { std::tuple { 1, 3, UiKey::String::ShadowSatinOutOfRange },
             std::tuple { 100, 3, UiKey::String::ShadowSatinOutOfRange },
             std::tuple { 5, 4, UiKey::String::ShadowStepInvalid } }) {
        EXPECT_FALSE(RunShadow(g, param(TShadowMethod::Weft, TShadowDirection::WeftToWarp, n, d), &error));
        EXPECT_EQ(error, GetUiMessage(message));
    }
    EXPECT_EQ(g.Picture(), start);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);

    // N = 2 is the smallest satin: every other cell, in one step that undo takes back.
    ASSERT_TRUE(RunShadow(g, param(TShadowMethod::Weft, TShadowDirection::WeftToWarp, 2, 3), &error));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
    int painted = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            painted += g.Picture().pixelIndex(x, y) == 200;
    EXPECT_EQ(painted, 72);
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(g.Picture(), start);
}
