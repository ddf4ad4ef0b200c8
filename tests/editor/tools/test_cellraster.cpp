// The exact cells of the line and rectangle rasterisers, in the order they are listed:
// a designer's clicks must always give the same cells, and the tools that join cells
// depend on the order.
#include "editor/tools/cellraster.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

TCellList line(TPoint a, TPoint b, int width)
{
    TCellList out;
    RasterizeLine(a, b, width, out);
    return out;
}

} // namespace

// Failures print points as (x,y): found by the argument's namespace, the global one.
void PrintTo(const TPoint &p, std::ostream *os)
{
    *os << '(' << p.X << ',' << p.Y << ')';
}

TEST(CellRaster, RasterizeLineTable)
{
    struct Case {
        const char *what;
        TPoint a, b;
        int width;
        TCellList cells;
    } cases[] = {
        { "a point", { 0, 0 }, { 0, 0 }, 1, { { 0, 0 } } },
        { "flat", { 0, 0 }, { 4, 0 }, 1, { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 4, 0 } } },
        { "backwards", { 4, 0 }, { 0, 0 }, 1, { { 4, 0 }, { 3, 0 }, { 2, 0 }, { 1, 0 }, { 0, 0 } } },
        { "diagonal runs along Y", { 0, 0 }, { 2, 2 }, 1, { { 0, 0 }, { 1, 1 }, { 2, 2 } } },
        { "up and left", { 2, 2 }, { 0, 0 }, 1, { { 2, 2 }, { 1, 1 }, { 0, 0 } } },
        // 10 across, 3 down: runs 3, 3, 4, the short runs first as the long one is alone.
        { "short runs first", { 0, 0 }, { 9, 2 }, 1,
            { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 1 }, { 4, 1 }, { 5, 1 }, { 6, 2 }, { 7, 2 }, { 8, 2 },
                { 9, 2 } } },
        // 19 across, 14 down: 5 runs of two among 9 of one. The spread table rounds 2.5 to 2
        // (halves to even), which puts the third pair after one short run, not two.
        { "halves to even", { 0, 0 }, { 18, 13 }, 1,
            { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 2 }, { 4, 3 }, { 5, 4 }, { 6, 5 }, { 7, 5 }, { 8, 6 },
                { 9, 7 }, { 10, 7 }, { 11, 8 }, { 12, 9 }, { 13, 10 }, { 14, 10 }, { 15, 11 }, { 16, 12 },
                { 17, 13 }, { 18, 13 } } },
        { "steep", { 0, 0 }, { 1, 3 }, 1, { { 0, 0 }, { 0, 1 }, { 1, 2 }, { 1, 3 } } },
        // Width 2 adds the cell below each cell of a flat line, width 3 the cells above and below.
        { "width 2 flat", { 0, 0 }, { 2, 0 }, 2,
            { { 0, 0 }, { 0, 1 }, { 1, 0 }, { 1, 1 }, { 2, 0 }, { 2, 1 } } },
        { "width 3 flat", { 0, 0 }, { 1, 0 }, 3,
            { { 0, -1 }, { 0, 0 }, { 0, 1 }, { 1, -1 }, { 1, 0 }, { 1, 1 } } },
        { "width 2 upright", { 0, 0 }, { 0, 2 }, 2,
            { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 }, { 0, 2 }, { 1, 2 } } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(line(c.a, c.b, c.width), c.cells) << c.what;
}

TEST(CellRaster, RasterizeLineHasOneCellPerMajorStepForEveryDirection)
{
    // Every slope and direction: max(dx, dy) x width cells from A to B, each step one cell.
    for (int dx = -7; dx <= 7; ++dx)
        for (int dy = -7; dy <= 7; ++dy) {
            const TCellList cells = line({ 3, 4 }, { 3 + dx, 4 + dy }, 1);
            ASSERT_EQ(int(cells.size()), std::max(std::abs(dx), std::abs(dy)) + 1);
            EXPECT_EQ(cells.front(), (TPoint { 3, 4 }));
            EXPECT_EQ(cells.back(), (TPoint { 3 + dx, 4 + dy }));
            for (std::size_t i = 1; i < cells.size(); ++i) {
                EXPECT_LE(std::abs(cells[i].X - cells[i - 1].X), 1);
                EXPECT_LE(std::abs(cells[i].Y - cells[i - 1].Y), 1);
            }
            EXPECT_EQ(line({ 3, 4 }, { 3 + dx, 4 + dy }, 3).size(), 3 * cells.size());
        }
}

TEST(CellRaster, StampAndThickLine)
{
    TCellList out;
    StampBlock({ 5, 5 }, 2, 2, out);
    EXPECT_EQ(out, (TCellList { { 5, 5 }, { 6, 5 }, { 5, 6 }, { 6, 6 } }));
    out.clear();
    StampBlock({ 5, 5 }, 3, 1, out);
    EXPECT_EQ(out, (TCellList { { 4, 5 }, { 5, 5 }, { 6, 5 } }));

    // Each line cell stamped, then the cell below the last one listed.
    out.clear();
    ThickLine({ 0, 0 }, { 1, 0 }, 2, 1, out);
    EXPECT_EQ(out, (TCellList { { 0, 0 }, { 1, 0 }, { 1, 0 }, { 2, 0 }, { 2, 1 } }));
    out.clear();
    ThickLine({ 0, 0 }, { 1, 0 }, 2, 1, out, false);
    EXPECT_EQ(out, (TCellList { { 0, 0 }, { 1, 0 }, { 1, 0 }, { 2, 0 } }));
}

TEST(CellRaster, RectangleOutline)
{
    TCellList out;
    // Left side down, bottom, right side up, top back to the start: 3 + 4 + 3 + 4 cells.
    RectangleOutline({ 3, 2 }, { 0, 0 }, out);
    EXPECT_EQ(out,
        (TCellList { { 0, 0 }, { 0, 1 }, { 0, 2 }, { 0, 2 }, { 1, 2 }, { 2, 2 }, { 3, 2 }, { 3, 2 }, { 3, 1 },
            { 3, 0 }, { 3, 0 }, { 2, 0 }, { 1, 0 }, { 0, 0 } }));
    // One cell high: the thick line from the smaller corner, with its end cell below.
    out.clear();
    RectangleOutline({ 3, 1 }, { 0, 1 }, out);
    EXPECT_EQ(out, (TCellList { { 0, 1 }, { 1, 1 }, { 2, 1 }, { 3, 1 }, { 3, 2 } }));
}

TEST(CellRaster, RasterizeRectangleThickensInwards)
{
    TCellList out;
    // Pen extents of one: the plain outline.
    RasterizeRectangle({ 0, 0 }, { 3, 2 }, 1, 1, out);
    TCellList plain;
    RectangleOutline({ 0, 0 }, { 3, 2 }, plain);
    EXPECT_EQ(out, plain);

    // A narrow extent: one more outline inset across for each cell of the extent.
    out.clear();
    RasterizeRectangle({ 0, 0 }, { 6, 3 }, 2, 1, out);
    TCellList expect;
    RectangleOutline({ 0, 0 }, { 6, 3 }, expect);
    RectangleOutline({ 5, 3 }, { 1, 0 }, expect);
    EXPECT_EQ(out, expect);

    // 4 wide with a horizontal extent of 3: 2 x 3 > 4, so Round(2.5) = 2 inner outlines
    // and the middle column follow the outline.
    out.clear();
    RasterizeRectangle({ 0, 0 }, { 4, 3 }, 3, 1, out);
    const TCellList inner1 { { 1, 0 }, { 1, 1 }, { 1, 2 }, { 1, 3 }, { 1, 3 }, { 2, 3 }, { 3, 3 }, { 3, 3 },
        { 3, 2 }, { 3, 1 }, { 3, 0 }, { 3, 0 }, { 2, 0 }, { 1, 0 } };
    const TCellList middle { { 2, 0 }, { 2, 1 }, { 2, 2 }, { 2, 3 }, { 2, 4 } };
    expect.clear();
    RectangleOutline({ 0, 0 }, { 4, 3 }, expect);
    expect.insert(expect.end(), inner1.begin(), inner1.end());
    expect.insert(expect.end(), middle.begin(), middle.end()); // i = 2: the sides meet
    expect.insert(expect.end(), middle.begin(), middle.end()); // the middle column
    EXPECT_EQ(out, expect);

    // The vertical extent insets the top and bottom, and the middle row when it is wide.
    out.clear();
    RasterizeRectangle({ 0, 0 }, { 3, 2 }, 1, 2, out);
    expect.clear();
    RectangleOutline({ 0, 0 }, { 3, 2 }, expect);
    // h = 2 and 2 x 2 > 2: Round(1.5) = 2 insets, the second turned inside out back onto
    // the outline, then the middle row (with the end cell below it).
    RectangleOutline({ 3, 1 }, { 0, 1 }, expect);
    RectangleOutline({ 3, 0 }, { 0, 2 }, expect);
    RectangleOutline({ 0, 2 }, { 3, 2 }, expect);
    EXPECT_EQ(expect.back(), (TPoint { 3, 3 }));
    EXPECT_EQ(out, expect);

    // Without the end cells every cell lies in the rectangle, and a wide pen covers it all.
    out.clear();
    RasterizeRectangle({ 0, 0 }, { 4, 3 }, 3, 3, out, false);
    std::set<std::pair<int, int>> covered;
    for (const TPoint &p : out) {
        EXPECT_TRUE(p.X >= 0 && p.X <= 4 && p.Y >= 0 && p.Y <= 3);
        covered.insert({ p.X, p.Y });
    }
    EXPECT_EQ(covered.size(), 20u);
}

TEST(CellRaster, RectangleRings)
{
    TCellList out;
    // One ring: top row without its last cell, left column below the first, bottom row
    // without its first cell, right column above the last.
    RectangleRings({ 0, 0, 3, 2 }, 1, false, out);
    EXPECT_EQ(out,
        (TCellList { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 0, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 }, { 3, 2 }, { 3, 0 },
            { 3, 1 } }));
    // Filled: rings down to the middle, so every cell.
    out.clear();
    RectangleRings({ 0, 0, 3, 2 }, 1, true, out);
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(out[10], (TPoint { 1, 1 }));
    EXPECT_EQ(out[11], (TPoint { 2, 1 }));
    // Width 2 on a 6 x 6 square: two rings, the middle 2 x 2 left out.
    out.clear();
    RectangleRings({ 0, 0, 5, 5 }, 2, false, out);
    EXPECT_EQ(out.size(), 20u + 12u);
    for (const TPoint &p : out)
        EXPECT_FALSE(p.X >= 2 && p.X <= 3 && p.Y >= 2 && p.Y <= 3);
    // A band one cell high lists every cell of it; a single cell is that cell.
    out.clear();
    RectangleRings({ 0, 4, 3, 4 }, 1, true, out);
    EXPECT_EQ(out, (TCellList { { 0, 4 }, { 1, 4 }, { 2, 4 }, { 1, 4 }, { 2, 4 }, { 3, 4 } }));
    out.clear();
    RectangleRings({ 7, 7, 7, 7 }, 1, true, out);
    EXPECT_EQ(out, (TCellList { { 7, 7 } }));
}
