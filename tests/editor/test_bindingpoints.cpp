// Binding points: the middle of a run, the automatic binding on columns and rows (with the
// run that wraps round the picture's edge), the parity rule, and the manual tools 36 and 37
// drawing a stroke on pictures of odd and even height.
#include "editor/bindingpoints.h"

#include "core/base/toolid.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using TCells = std::set<std::pair<int, int>>;
using S = TBindingStyle;
using W = TBindingWay;

class BindingPoints : public TPatternGridFixture { };

// Grey palette in which entry 9 has the colour of entry 1, so that runs of 1 and 9 are one.
TPalette256 bindingPalette()
{
    TPalette256 p = GreyPalette();
    p[9] = p[1];
    return p;
}

// A picture of 0 with the given runs of 1: [first, last] cells along one line.
QImage line(int length, W way, std::initializer_list<std::pair<int, int>> runs)
{
    QImage img
        = way == W::Warp ? NewPicture(1, length, bindingPalette()) : NewPicture(length, 1, bindingPalette());
    img.fill(0);
    for (const auto &[first, last] : runs)
        for (int p = first; p <= last; ++p) {
            if (way == W::Warp)
                img.scanLine(p)[0] = 1;
            else
                img.scanLine(0)[p] = 1;
        }
    return img;
}

std::vector<int> boundCells(const QImage &img, S style, W way, int limit = 16)
{
    TLineArray points;
    EXPECT_TRUE(
        AutoBindingPoints(img, bindingPalette(), PlainColor(bindingPalette()[1]), style, way, limit, points));
    std::vector<int> out;
    for (const TPoint &p : points)
        out.push_back(way == W::Warp ? p.Y : p.X);
    return out;
}

TCells changedCells(const QImage &before, const QImage &after)
{
    TCells out;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixelIndex(x, y) != after.pixelIndex(x, y))
                out.insert({ x, y });
    return out;
}

} // namespace

TEST_F(BindingPoints, MiddleOfARunRoundsHalvesToEven)
{
    const std::pair<int, int> cases[]
        = { { 2, 1 }, { 4, 1 }, { 5, 2 }, { 6, 3 }, { 17, 8 }, { 18, 9 }, { 20, 9 }, { 40, 19 } };
    for (const auto &[length, middle] : cases)
        EXPECT_EQ(BindingMiddle(length), middle) << length;
}

TEST_F(BindingPoints, ParityRuleCountsFromTheBottomLeft)
{
    // X = column + 1, Y = height - row: the bottom-left cell of any picture is X + Y = 2.
    for (int height : { 5, 6 }) {
        EXPECT_TRUE(MeetsBindingParity(0, height - 1, height, S::Single));
        EXPECT_FALSE(MeetsBindingParity(0, height - 1, height, S::Double));
        EXPECT_TRUE(MeetsBindingParity(1, height - 1, height, S::Double));
        EXPECT_TRUE(MeetsBindingParity(0, height - 2, height, S::Double));
    }
}

TEST_F(BindingPoints, AutomaticBindingOnAColumnAndARow)
{
    // One column of height 40 (X = 1): X + Y = 41 - row, even on the odd rows, so 合单 takes
    // odd rows and 合双 even ones. Limit 16.
    const struct {
        const char *name;
        W way;
        std::initializer_list<std::pair<int, int>> runs;
        std::vector<int> single, doubled;
    } cases[] = {
        { "L 20", W::Warp, { { 10, 29 } }, { 19 }, { 18 } },
        { "L 18", W::Warp, { { 10, 27 } }, { 19 }, { 18 } },
        { "L 17, middle on an even row", W::Warp, { { 10, 26 } }, { 17 }, { 18 } },
        { "L 16 is not above the limit", W::Warp, { { 10, 25 } }, {}, {} },
        { "two runs", W::Warp, { { 2, 5 }, { 8, 30 } }, { 19 }, { 18 } },
        { "round the edge: 36..39 and 0..13", W::Warp, { { 0, 13 }, { 36, 39 } }, { 5 }, { 4 } },
        { "round the edge, middle on row 0", W::Warp, { { 0, 12 }, { 28, 39 } }, { 39 }, { 0 } },
        { "whole column", W::Warp, { { 0, 39 } }, { 19 }, { 18 } },
        // A run from row 0 that nothing at the bottom continues is a float of its own.
        { "top run alone", W::Warp, { { 0, 19 } }, { 9 }, { 8 } },
        { "top run of 16 alone", W::Warp, { { 0, 15 } }, {}, {} },
        // Along a row of height 1: X + Y = column + 2, even on the even columns.
        { "row L 20", W::Weft, { { 10, 29 } }, { 18 }, { 19 } },
        { "row round the edge", W::Weft, { { 0, 13 }, { 36, 39 } }, { 4 }, { 5 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage img = line(40, c.way, c.runs);
        EXPECT_EQ(boundCells(img, S::Single, c.way), c.single);
        EXPECT_EQ(boundCells(img, S::Double, c.way), c.doubled);
    }

    // Runs are found by colour: index 9 shows the colour of 1 and continues its run.
    QImage mixed = line(40, W::Warp, { { 10, 29 } });
    mixed.scanLine(15)[0] = 9;
    EXPECT_EQ(boundCells(mixed, S::Single, W::Warp), (std::vector<int> { 19 }));
    // A low limit binds short runs; the point stays on the run.
    EXPECT_EQ(
        boundCells(line(40, W::Warp, { { 10, 11 } }), S::Double, W::Warp, 1), (std::vector<int> { 10 }));
}

TEST_F(BindingPoints, WarpPointsComeByColumnThenRow)
{
    // Three columns of 40 rows, each with a run in the middle and a run round the edge whose
    // point is found last: in column 0 and 2 it lands above the middle one, in column 1
    // below. 合单 takes odd rows in columns 0 and 2, even rows in column 1.
    const std::initializer_list<std::pair<int, int>> columns[] = {
        { { 0, 9 }, { 12, 30 }, { 32, 39 } },
        { { 0, 2 }, { 4, 22 }, { 24, 39 } },
        { { 0, 13 }, { 18, 34 }, { 36, 39 } },
    };
    QImage img = NewPicture(3, 40, bindingPalette());
    img.fill(0);
    for (int x = 0; x < 3; ++x)
        for (const auto &[first, last] : columns[x])
            for (int y = first; y <= last; ++y)
                img.scanLine(y)[x] = 1;
    TLineArray points;
    ASSERT_TRUE(AutoBindingPoints(
        img, bindingPalette(), PlainColor(bindingPalette()[1]), S::Single, W::Warp, 16, points));
    std::vector<std::pair<int, int>> got;
    for (const TPoint &p : points)
        got.push_back({ p.X, p.Y });
    EXPECT_EQ(got,
        (std::vector<std::pair<int, int>> {
            { 0, 1 }, { 0, 21 }, { 1, 12 }, { 1, 32 }, { 2, 5 }, { 2, 25 } }));
}

TEST_F(BindingPoints, AutomaticBindingOnTheGrid)
{
    TPatternGrid g;
    // Two columns of 40 rows: column 0 all 1, column 1 a run of 20 from row 10.
    QImage start = NewPicture(2, 40, bindingPalette());
    start.fill(0);
    for (int y = 0; y < 40; ++y)
        start.scanLine(y)[0] = 1;
    for (int y = 10; y < 30; ++y)
        start.scanLine(y)[1] = 9;
    show(g, start);

    QString error;
    EXPECT_FALSE(RunAutoBinding(g, PlainColor(bindingPalette()[1]), 0, S::Single, W::Warp, 0, &error));
    EXPECT_EQ(error, GetUiMessage(UiKey::String::BindingLimitOutOfRange));
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);

    ASSERT_TRUE(RunAutoBinding(g, PlainColor(bindingPalette()[1]), 200, S::Single, W::Warp, 16, &error));
    // Column 0 (X = 1): whole column, middle row 19 (X + Y = 22, even). Column 1 (X = 2):
    // middle row 19 gives X + Y = 23, odd, so row 18.
    EXPECT_EQ(changedCells(start, g.Picture()), (TCells { { 0, 19 }, { 1, 18 } }));
    EXPECT_EQ(g.Picture().pixelIndex(1, 18), 200);
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(g.Picture(), start);
}

TEST_F(BindingPoints, ManualToolsMarkCellsOfTheirParity)
{
    // A stroke across the picture, back and forth, with both tools, both directions, on
    // pictures of odd and even height.
    const std::vector<TPoint> stroke { { 0, 2 }, { 11, 5 }, { 3, 7 }, { 9, 1 } };
    for (int height : { 9, 10 })
        for (const TToolId tool : { TToolId::BindingPointsSingle, TToolId::BindingPointsDouble })
            for (const W way : { W::Warp, W::Weft }) {
                const S style = tool == TToolId::BindingPointsSingle ? S::Single : S::Double;
                SCOPED_TRACE(testing::Message() << height << ' ' << int(style) << ' ' << int(way));
                TPatternGrid g;
                QImage start = NewPicture(12, height, GreyPalette());
                start.fill(0);
                show(g, start);
                g.SetForeColorIndex(9);
                g.SetJianSiStyle(style == S::Single);
                g.SetJianSiWay(way == W::Weft);
                g.SetAutoFillPoint(0);
                g.SetDrawTool(tool);
                g.MouseDown({ stroke[0] });
                for (std::size_t i = 1; i < stroke.size(); ++i)
                    g.MouseMove({ stroke[i] }, true);
                g.MouseUp({ stroke.back() });

                const TCells marked = changedCells(start, g.Picture());
                ASSERT_FALSE(marked.empty());
                std::set<int> lines;
                for (const auto &[x, y] : marked) {
                    EXPECT_TRUE(MeetsBindingParity(x, y, height, style)) << x << ',' << y;
                    lines.insert(way == W::Warp ? x : y);
                }
                EXPECT_EQ(lines.size(), marked.size()) << "one point per column or row";
                EXPECT_EQ(g.UndoStore().UndoCount(), 1);
                ASSERT_TRUE(g.Undo());
                EXPECT_EQ(g.Picture(), start);
            }
}

TEST_F(BindingPoints, GapFillAlongRowsIsRecordedWithTheStroke)
{
    for (int height : { 9, 10 }) {
        SCOPED_TRACE(height);
        TPatternGrid g;
        QImage start = NewPicture(12, height, GreyPalette());
        start.fill(0);
        show(g, start);
        g.SetForeColorIndex(9);
        g.SetJianSiStyle(true);
        g.SetJianSiWay(true); // 纬向
        // Without the fill: one cell per row.
        auto draw = [&](bool fill) {
            g.SetAutoFillPoint(fill ? 1 : 0);
            g.SetDrawTool(TToolId::BindingPointsDouble);
            g.SetDrawTool(TToolId::BindingPointsSingle);
            g.MouseDown({ { 0, 1 } });
            g.MouseMove({ { 10, 4 } }, true);
            g.MouseUp({ { 10, 4 } });
            return changedCells(start, g.Picture());
        };
        const TCells kept = draw(false);
        ASSERT_TRUE(g.Undo());
        const TCells filled = draw(true);
        for (const auto &cell : kept)
            EXPECT_TRUE(filled.count(cell)) << cell.first << ',' << cell.second;
        EXPECT_GT(filled.size(), kept.size());
        for (const auto &[x, y] : kept)
            EXPECT_TRUE(MeetsBindingParity(x, y, height, S::Single)) << x << ',' << y;
        // The filled cells are part of the step: undo takes every one back, redo puts them in.
        const QImage drawn = g.Picture();
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(g.Picture(), start);
        ASSERT_TRUE(g.Redo());
        EXPECT_EQ(g.Picture(), drawn);
        EXPECT_EQ(g.Picture(), g.RefBitmap());
    }
}

TEST_F(BindingPoints, FlagsFollowStyleDirectionAndHeight)
{
    const struct {
        S style;
        W way;
        bool fill;
        int height;
        TBindingPointFlags flags; // odd, even, gap fill, horizontal, vertical
    } cases[] = {
        { S::Single, W::Warp, true, 9, { true, false, false, false, true } },
        { S::Single, W::Warp, false, 10, { false, true, false, false, true } },
        { S::Double, W::Warp, false, 9, { false, true, false, false, true } },
        { S::Double, W::Weft, true, 10, { true, false, true, true, false } },
        { S::Single, W::Weft, false, 10, { false, true, false, true, false } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(BindingPointFlagsFor(c.style, c.way, c.fill, c.height), c.flags)
            << int(c.style) << int(c.way) << c.fill << c.height;
}
