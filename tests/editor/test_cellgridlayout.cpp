// Layout arithmetic of the cell grid control: hit testing, cell rectangles for both row
// directions, compartment lines, scroll limits and auto-scroll steps.
#include "editor/cellgridlayout.h"

#include <gtest/gtest.h>

namespace {

// 7-pixel cells with 1-pixel lines: a pitch of 8.
TIDrawGridLayout Grid(int cols, int rows, int width, int height)
{
    TIDrawGridLayout g;
    g.SetClientSize(width, height);
    g.SetColCount(cols);
    g.SetRowCount(rows);
    return g;
}

} // namespace

TEST(IDrawGridLayout, StartsAsANewControl)
{
    TIDrawGridLayout g;
    EXPECT_EQ(g.ColCount(), 10);
    EXPECT_EQ(g.RowCount(), 10);
    EXPECT_EQ(g.DefaultColWidth, 7);
    EXPECT_EQ(g.GridLineWidth, 1);
    EXPECT_EQ(g.StartPos, TStartPos::spLeftBottom);
    g.SetColCount(0);
    g.SetRowCount(-5);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.RowCount(), 1);
}

TEST(IDrawGridLayout, MouseToCell)
{
    struct Case {
        int leftCol, x, col;
    } cases[] = {
        { 0, 0, 0 },
        { 0, 6, 0 },
        { 0, 7, 0 }, // the line after a cell belongs to it
        { 0, 8, 1 },
        { 0, 69, 8 },
        { 0, 70, -1 },
        { 0, -1, -1 },
        { 3, 0, 3 },
        { 3, 17, 5 },
    };
    for (const Case &c : cases) {
        TIDrawGridLayout g = Grid(20, 20, 70, 70);
        g.SetLeftCol(c.leftCol);
        int col = 0, row = 0;
        g.MouseToCell(c.x, 0, col, row);
        EXPECT_EQ(col, c.col) << "leftCol " << c.leftCol << " x " << c.x;
        EXPECT_EQ(row, 0);
    }
    // A point beyond the last cell of a small grid hits nothing.
    TIDrawGridLayout small = Grid(3, 3, 200, 200);
    EXPECT_EQ(small.MouseToCell(24, 10), (TPoint { -1, 1 }));
    EXPECT_EQ(small.MouseToCell(23, 24), (TPoint { 2, -1 }));
    EXPECT_EQ(small.MouseToCell(16, 16), (TPoint { 2, 2 }));
}

TEST(IDrawGridLayout, CellRectShrinksOnTheCompartmentSideOfEitherRowDirection)
{
    // 10 rows, a compartment line every 8 rows: counted from the top the line lies below
    // row 7; counted from the bottom below rows 1 and 9 (the bottom edge counts).
    struct Case {
        TStartPos start;
        int row;
        int bottom; // exclusive bottom edge
    } cases[] = {
        { TStartPos::spLeftTop, 6, 55 },
        { TStartPos::spLeftTop, 7, 62 },
        { TStartPos::spLeftTop, 9, 79 },
        { TStartPos::spLeftBottom, 1, 14 },
        { TStartPos::spLeftBottom, 7, 63 },
        { TStartPos::spLeftBottom, 9, 78 },
    };
    for (const Case &c : cases) {
        TIDrawGridLayout g = Grid(10, 10, 200, 200);
        g.StartPos = c.start;
        const TRect r = g.CellRect(2, c.row);
        EXPECT_EQ(r.Top, c.row * 8);
        EXPECT_EQ(r.Bottom, c.bottom) << "row " << c.row;
        EXPECT_EQ(r.Left, 16);
        EXPECT_EQ(r.Right, 23);
    }
    TIDrawGridLayout g = Grid(10, 10, 200, 200);
    EXPECT_EQ(g.CellRect(7, 0), (TRect { 56, 0, 62, 7 })); // column 7 ends a compartment
    g.SetColCount(20);
    g.SetRowCount(20);
    g.SetClientSize(38, 38);
    g.SetLeftCol(7);
    EXPECT_EQ(g.CellRect(7, 0), (TRect { 0, 0, 7, 7 })) << "a cell at pixel 0 is never shrunk";
    EXPECT_EQ(g.CellRect(6, 0), TRect {}) << "out of view";
    EXPECT_EQ(g.CellRect(11, 0), (TRect { 32, 0, 38, 7 })) << "the partly visible cell is clipped";
}

TEST(IDrawGridLayout, NoShrinkWithoutLinesOrWithZeroCompartment)
{
    TIDrawGridLayout g = Grid(10, 10, 200, 200);
    g.GridLineWidth = 0;
    EXPECT_EQ(g.CellRect(7, 1), (TRect { 49, 7, 56, 14 }));
    g.GridLineWidth = 1;
    g.DefaultColCompart = 0;
    g.DefaultRowCompart = 0;
    EXPECT_EQ(g.CellRect(7, 1), (TRect { 56, 8, 63, 15 }));
    const TGridDrawInfo info = g.CalcDrawInfo();
    for (const auto &l : g.ColLines(info))
        EXPECT_FALSE(l.Compart);
    for (const auto &l : g.RowLines(info, false))
        EXPECT_FALSE(l.Compart);
}

TEST(IDrawGridLayout, GridAndCompartmentLinePositions)
{
    TIDrawGridLayout g = Grid(10, 10, 200, 200);
    g.DefaultColCompart = 4;
    g.DefaultRowCompart = 3;
    const TGridDrawInfo info = g.CalcDrawInfo();
    EXPECT_EQ(info.Horz.GridBoundary, 80);
    EXPECT_EQ(info.Horz.LastVisibleCell, 9);

    const auto cols = g.ColLines(info);
    ASSERT_EQ(cols.size(), 10u);
    EXPECT_EQ(cols[0].Pos, 7);
    EXPECT_EQ(cols[9].Pos, 79);
    std::vector<int> compart;
    for (const auto &l : cols)
        if (l.Compart)
            compart.push_back(l.Cell);
    EXPECT_EQ(compart, (std::vector<int> { 3, 7 }));

    auto rowCompart = [&](bool fromTop) {
        std::vector<int> out;
        for (const auto &l : g.RowLines(info, fromTop))
            if (l.Compart)
                out.push_back(l.Cell);
        return out;
    };
    EXPECT_EQ(rowCompart(true), (std::vector<int> { 2, 5, 8 }));
    EXPECT_EQ(rowCompart(false), (std::vector<int> { 0, 3, 6, 9 })); // 9, 6, 3, 0 rows below
}

TEST(IDrawGridLayout, ScrollLimitsCoverLargeGrids)
{
    TIDrawGridLayout g = Grid(5, 20000, 100, 100);
    EXPECT_EQ(g.MaxTopRow(), 20000 - 12); // 12 whole rows of pitch 8 fit in 100 pixels
    EXPECT_EQ(g.MaxLeftCol(), 0);
    EXPECT_FALSE(g.SetTopRow(99999) && g.TopRow() != g.MaxTopRow());
    EXPECT_EQ(g.TopRow(), 19988);
    g.SetTopRow(0);
    EXPECT_TRUE(g.ScrollIntoView(0, 500));
    EXPECT_EQ(g.TopRow(), 489);
    EXPECT_EQ(g.CalcDrawInfo().Vert.LastFullVisibleCell, 500);
    EXPECT_TRUE(g.ScrollIntoView(0, 10));
    EXPECT_EQ(g.TopRow(), 10);
    EXPECT_FALSE(g.ScrollIntoView(0, 15));
    EXPECT_EQ(g.VisibleRowCount(), 12);
}

TEST(IDrawGridLayout, AutoScrollMovesTheAnchorByFiftyCellsWithinTheGrid)
{
    TIDrawGridLayout g = Grid(120, 120, 70, 70);
    struct Case {
        int x, y;
        TPoint anchor, expected;
    } cases[] = {
        { 200, 10, { 0, 0 }, { 50, 0 } },
        { 200, 10, { 100, 0 }, { 119, 0 } },
        { 200, 10, { 119, 0 }, { 119, 0 } },
        { -5, 10, { 30, 5 }, { 0, 5 } },
        { -5, 10, { 0, 5 }, { 0, 5 } },
        { 10, -1, { 3, 60 }, { 3, 10 } },
        { 100, 100, { 1, 1 }, { 51, 51 } },
        { 30, 30, { 7, 7 }, { 7, 7 } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(g.AutoScrollStep(c.x, c.y, c.anchor), c.expected) << c.x << "," << c.y;
}

TEST(IDrawGridLayout, PerCellExtentsAndIndexErrors)
{
    TIDrawGridLayout g = Grid(4, 4, 200, 200);
    g.SetColWidth(1, 20);
    EXPECT_EQ(g.ColWidth(1), 20);
    EXPECT_EQ(g.ColWidth(2), 7);
    EXPECT_EQ(g.MouseToCell(20, 0).X, 1);
    EXPECT_EQ(g.MouseToCell(29, 0).X, 2);
    try {
        g.SetRowHeight(4, 3);
        FAIL() << "no error";
    } catch (const EGridError &e) {
        EXPECT_STREQ(e.what(), "Grid index out of range");
    }
}

// Whichever way the counts shrink, the current cell and the anchor end inside the grid
// (at 0 on an axis left without cells), and the selection with them.
TEST(IDrawGridLayout, ShrinkingKeepsTheCurrentCellAndAnchorInside)
{
    struct Case {
        const char *how;
        int cols, rows; // counts after the shrink
        bool direct; // written without the setters' clamping to 1
        TPoint cell, anchor;
    } cases[] = {
        { "setters", 20, 5, false, { 19, 4 }, { 19, 4 } },
        { "setters to 0", 0, 0, false, { 0, 0 }, { 0, 0 } }, // raised to 1 x 1
        { "direct", 20, 5, true, { 19, 4 }, { 19, 4 } },
        { "direct to empty", 0, 0, true, { 0, 0 }, { 0, 0 } },
        { "direct, one axis", 200, 10, true, { 150, 9 }, { 160, 9 } },
    };
    for (const Case &c : cases) {
        TIDrawGridLayout g = Grid(200, 50, 100, 100);
        g.SetCurrentCell(160, 40);
        g.SetCurrentCell(150, 45, true); // the anchor stays at (160, 40)
        if (c.direct) {
            g.SetCountsDirect(c.cols, c.rows);
        } else {
            g.SetColCount(c.cols);
            g.SetRowCount(c.rows);
        }
        EXPECT_EQ((TPoint { g.Col(), g.Row() }), c.cell) << c.how;
        EXPECT_EQ(g.Anchor(), c.anchor) << c.how;
        EXPECT_LE(g.Selection().Right, std::max(0, g.ColCount() - 1)) << c.how;
        EXPECT_LE(g.Selection().Bottom, std::max(0, g.RowCount() - 1)) << c.how;
    }
}

// After the grid shrank under the current cell, the wheel and every navigation key lead
// to a cell inside the grid (the control moves the current cell there, and a cell outside
// raises "Grid index out of range").
TEST(IDrawGridLayout, WheelAndKeysAfterAShrinkStayInside)
{
    const TGridKey keys[] = { TGridKey::Up, TGridKey::Down, TGridKey::Left, TGridKey::Right, TGridKey::PageUp,
        TGridKey::PageDown, TGridKey::Home, TGridKey::End, TGridKey::Tab, TGridKey::BackTab };
    for (bool tabs : { false, true }) {
        for (TGridKey key : keys) {
            for (bool ctrl : { false, true }) {
                TIDrawGridLayout g = Grid(200, 50, 100, 100);
                g.Options.Tabs = tabs;
                g.SetCurrentCell(150, 49);
                g.SetCountsDirect(20, 5);
                const TGridKeyStep step = g.KeyStep(key, ctrl, false);
                if (!step.MovesCell)
                    continue;
                const std::string what = "key " + std::to_string(int(key)) + (ctrl ? " ctrl" : "");
                EXPECT_GE(step.Cell.X, 0) << what;
                EXPECT_LT(step.Cell.X, 20) << what;
                EXPECT_GE(step.Cell.Y, 0) << what;
                EXPECT_LT(step.Cell.Y, 5) << what;
                EXPECT_NO_THROW(g.SetCurrentCell(step.Cell.X, step.Cell.Y, step.Extend)) << what;
            }
        }
    }
    for (int delta : { -120, 120 }) {
        TIDrawGridLayout g = Grid(200, 50, 100, 100);
        g.SetCurrentCell(150, 30);
        g.SetCountsDirect(20, 5);
        const TPoint cell = g.WheelTarget(delta);
        EXPECT_EQ(cell, (TPoint { 19, delta < 0 ? 4 : 3 })) << delta;
        EXPECT_NO_THROW(g.SetCurrentCell(cell.X, cell.Y)) << delta;
    }
    // A grid without cells moves nothing.
    TIDrawGridLayout empty = Grid(5, 5, 100, 100);
    empty.SetCountsDirect(0, 0);
    EXPECT_FALSE(empty.KeyStep(TGridKey::End, true, false).MovesCell);
    EXPECT_EQ(empty.WheelTarget(-120), (TPoint { 0, 0 }));
}

TEST(IDrawGridLayout, KeysAndWheelMoveTheCurrentCell)
{
    struct Case {
        TGridKey key;
        bool ctrl, shift;
        TPoint cell; // from (5, 5) in a 30 x 40 grid showing 8 x 8 whole cells
        int leftCol, topRow;
        bool extend;
    } cases[] = {
        { TGridKey::Right, false, false, { 6, 5 }, -1, -1, false },
        { TGridKey::Right, false, true, { 6, 5 }, -1, -1, true },
        { TGridKey::Right, true, false, { 13, 5 }, 8, -1, false },
        { TGridKey::Left, true, false, { 0, 5 }, 0, -1, false },
        { TGridKey::PageDown, false, false, { 5, 13 }, -1, -1, false },
        { TGridKey::PageDown, true, false, { 5, 7 }, -1, -1, false },
        { TGridKey::End, true, false, { 29, 39 }, -1, -1, false },
        { TGridKey::Home, false, false, { 0, 5 }, -1, -1, false },
    };
    for (const Case &c : cases) {
        TIDrawGridLayout g = Grid(30, 40, 70, 70);
        g.SetCurrentCell(5, 5);
        const TGridKeyStep step = g.KeyStep(c.key, c.ctrl, c.shift);
        EXPECT_TRUE(step.MovesCell);
        EXPECT_EQ(step.Cell, c.cell) << int(c.key);
        EXPECT_EQ(step.LeftCol, c.leftCol) << int(c.key);
        EXPECT_EQ(step.TopRow, c.topRow) << int(c.key);
        EXPECT_EQ(step.Extend, c.extend) << int(c.key);
    }
    TIDrawGridLayout g = Grid(30, 40, 70, 70);
    g.SetTopRow(3);
    const TGridKeyStep scroll = g.KeyStep(TGridKey::Up, true, false);
    EXPECT_FALSE(scroll.MovesCell);
    EXPECT_EQ(scroll.TopRow, 2);
    EXPECT_FALSE(g.KeyStep(TGridKey::Tab, false, false).MovesCell)
        << "Tab walks cells only with the tab option";
    g.Options.Tabs = true;
    g.SetCurrentCell(29, 0);
    EXPECT_EQ(g.KeyStep(TGridKey::Tab, false, false).Cell, (TPoint { 0, 1 })) << "wraps to the next row";
    EXPECT_EQ(g.WheelTarget(120), (TPoint { 29, 0 })) << "wheel up on the first row stays";
}

// Zooming about the pointer: the first cells shown put the chosen cell under the client
// point, as nearly as whole-cell scrolling and the grid's ends allow.
TEST(IDrawGridLayout, FirstCellsShowingACellAtAPoint)
{
    struct Case {
        const char *what;
        TPoint cell;
        int x, y;
        TPoint first; // -1: that axis unchanged
        bool underPoint; // the cell then lies under the point
    } cases[] = {
        { "inside the grid", { 50, 60 }, 20, 35, { 48, 56 }, true },
        { "on a cell's first pixel", { 50, 60 }, 16, 0, { 48, 60 }, true },
        { "on the line after a cell", { 50, 60 }, 23, 7, { 48, 60 }, true },
        { "near the start: not before cell 0", { 1, 2 }, 40, 40, { 0, 0 }, false },
        { "near the end: not past the last page", { 98, 99 }, 0, 0, { 90, 90 }, false },
        { "a point left of the cells", { 50, 60 }, -1, 20, { -1, 58 }, false },
        { "a cell outside the grid", { 100, -1 }, 20, 20, { -1, -1 }, false },
    };
    for (const Case &c : cases) {
        TIDrawGridLayout g = Grid(100, 100, 80, 80); // pitch 8: ten cells in view
        const TPoint first = g.FirstCellsShowingAt(c.cell, c.x, c.y);
        EXPECT_EQ(first, c.first) << c.what;
        if (c.underPoint) {
            g.SetLeftCol(first.X);
            g.SetTopRow(first.Y);
            EXPECT_EQ(g.MouseToCell(c.x, c.y), c.cell) << c.what;
        }
    }

    // Cells of their own widths, and no grid lines: the walk adds each cell's own pitch.
    TIDrawGridLayout wide = Grid(100, 100, 80, 80);
    wide.SetColWidth(49, 20);
    EXPECT_EQ(wide.FirstCellsShowingAt({ 50, 50 }, 30, 0).X, 48);
    wide.SetLeftCol(48);
    EXPECT_EQ(wide.MouseToCell(30, 0).X, 50);
    TIDrawGridLayout bare = Grid(100, 100, 80, 80);
    bare.GridLineWidth = 0; // pitch 7
    EXPECT_EQ(bare.FirstCellsShowingAt({ 50, 50 }, 21, 20), (TPoint { 47, 48 }));
}
