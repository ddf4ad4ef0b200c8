// The cell grid control: which cells are drawn where, line colours on screen, selection
// by pointer and the auto-scroll of the selection anchor.
#include "editor/ui/cellgrid.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <map>

namespace {

struct GridFixture {
    TIDrawGrid grid;
    std::map<std::pair<int, int>, QRect> drawn;

    GridFixture(int cols, int rows, int width = 200, int height = 200)
    {
        grid.setFrameStyle(QFrame::NoFrame);
        grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.resize(width, height);
        grid.show(); // delivers the resize, which sizes the layout to the viewport
        grid.SetColCount(cols);
        grid.SetRowCount(rows);
        grid.OnDrawCell = [this](TIDrawGrid *g, int c, int r, const QRect &rect, unsigned) {
            drawn[{ c, r }] = rect;
            g->Canvas()->fillRect(rect, Qt::white);
        };
    }
    QImage Render()
    {
        drawn.clear();
        return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    void Press(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, y), grid.viewport()->mapToGlobal(QPointF(x, y)),
            Qt::LeftButton, Qt::LeftButton, mods);
        QCoreApplication::sendEvent(grid.viewport(), &e);
    }
    void Release(int x, int y)
    {
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(x, y), grid.viewport()->mapToGlobal(QPointF(x, y)),
            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &e);
    }
};

} // namespace

TEST(IDrawGrid, CompartmentRowsAreShrunkWhereTheLinesAre)
{
    struct Case {
        int rows;
        bool startTop;
        std::vector<int> shrunk;
    } cases[] = {
        { 8, false, { 7 } },
        { 10, false, { 1, 9 } },
        { 10, true, { 7 } },
    };
    for (const Case &c : cases) {
        GridFixture f(3, c.rows);
        f.grid.Layout().StartTop = c.startTop;
        const QImage img = f.Render();
        std::vector<int> shrunk;
        for (int r = 0; r < c.rows; ++r) {
            const QRect rect = f.drawn.at({ 0, r });
            EXPECT_EQ(rect.top(), r * 8);
            if (rect.height() == 6)
                shrunk.push_back(r);
        }
        EXPECT_EQ(shrunk, c.shrunk) << c.rows << " rows";
        // The compartment line (black, 2 pixels) covers the last pixel row of a shrunk
        // cell and the grid line below it.
        for (int r : c.shrunk) {
            EXPECT_EQ(img.pixel(3, r * 8 + 6), qRgb(0, 0, 0));
            EXPECT_EQ(img.pixel(3, r * 8 + 7), qRgb(0, 0, 0));
            EXPECT_EQ(img.pixel(3, r * 8 + 5), qRgb(255, 255, 255));
        }
    }
}

TEST(IDrawGrid, NoLinesAndNoShrinkWithoutGridLines)
{
    GridFixture f(9, 9);
    f.grid.SetGridLineWidth(0);
    f.grid.SetColor(0xFF0000); // blue background: any unpainted pixel shows
    const QImage img = f.Render();
    EXPECT_EQ(f.drawn.at({ 7, 7 }), QRect(49, 49, 7, 7));
    for (int x = 0; x < 63; ++x)
        EXPECT_EQ(img.pixel(x, 30), qRgb(255, 255, 255)) << x;
}

TEST(IDrawGrid, AreaBeyondTheCellsShowsTheBackgroundColour)
{
    GridFixture f(3, 3, 100, 100);
    f.grid.SetColor(0x00FF00); // green
    f.grid.OnDrawCell = [](TIDrawGrid *g, int c, int, const QRect &rect, unsigned) {
        if (c != 1) // the owner leaves column 1 undrawn
            g->Canvas()->fillRect(rect, Qt::white);
    };
    const QImage img = f.Render();
    // Three cells of pitch 8: the grid ends at pixel 24 on both axes.
    for (const QPoint pt : { QPoint(24, 5), QPoint(99, 99), QPoint(5, 24), QPoint(60, 10), QPoint(10, 60) })
        EXPECT_EQ(img.pixel(pt), qRgb(0, 255, 0)) << pt.x() << "," << pt.y();
    EXPECT_EQ(img.pixel(10, 2), qRgb(0, 255, 0)) << "an undrawn cell";
    EXPECT_EQ(img.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(23, 2), qRgb(0, 0, 0)) << "the grid line after the last column";
}

TEST(IDrawGrid, ThumbTrackingFollowsTheOption)
{
    GridFixture f(300, 300, 70, 70);
    EXPECT_FALSE(f.grid.verticalScrollBar()->hasTracking());
    EXPECT_FALSE(f.grid.horizontalScrollBar()->hasTracking());
    f.grid.Layout().Options.ThumbTracking = true;
    f.grid.UpdateScrollRange();
    EXPECT_TRUE(f.grid.verticalScrollBar()->hasTracking());
    EXPECT_TRUE(f.grid.horizontalScrollBar()->hasTracking());
}

TEST(IDrawGrid, SilverLinesArePaintedGreyAndStayGrey)
{
    GridFixture f(4, 4);
    f.grid.SetLineColor(TIDrawGrid::clSilver);
    f.grid.SetCompartLineColor(0x0000FF); // red
    const QImage img = f.Render();
    EXPECT_EQ(img.pixel(7, 3), qRgb(128, 128, 128));
    EXPECT_EQ(f.grid.LineColor(), TIDrawGrid::clGray);
}

TEST(IDrawGrid, PressSelectsACellAndNothingBeyondTheLast)
{
    GridFixture f(5, 5);
    f.Press(17, 9);
    f.Release(17, 9);
    EXPECT_EQ(f.grid.Col(), 2);
    EXPECT_EQ(f.grid.Row(), 1);
    f.Press(150, 9); // beyond the fifth column
    f.Release(150, 9);
    EXPECT_EQ(f.grid.Col(), 2);
    f.Press(33, 33, Qt::ShiftModifier);
    f.Release(33, 33);
    EXPECT_EQ(f.grid.GetSelection(), (TRect { 2, 1, 4, 4 }));
    EXPECT_THROW(f.grid.SetCurrentCell(5, 0), EGridError);
}

TEST(IDrawGrid, AutoScrollMovesTheAnchorUntilTheLastColumn)
{
    GridFixture f(120, 5, 70, 70);
    f.Press(3, 3);
    EXPECT_TRUE(f.grid.AutoScrollActive());
    std::vector<int> anchors;
    for (int i = 0; i < 4; ++i) {
        f.grid.AutoScrollTick(100, 3);
        anchors.push_back(f.grid.Anchor().X);
    }
    EXPECT_EQ(anchors, (std::vector<int> { 50, 100, 119, 119 }));
    EXPECT_EQ(f.grid.LeftCol(), 119 - 8 + 1); // the anchor is scrolled into view
    f.Release(3, 3);
    EXPECT_FALSE(f.grid.AutoScrollActive());

    GridFixture g(120, 5, 70, 70);
    g.grid.CanAutoScroll = false;
    g.Press(3, 3);
    EXPECT_FALSE(g.grid.AutoScrollActive());
}

TEST(IDrawGrid, KeysMoveTheCurrentCell)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int col, row; // current cell after the key, starting at (5, 5)
        TRect selection; // inclusive
    } cases[] = {
        { Qt::Key_Right, Qt::NoModifier, 6, 5, { 6, 5, 6, 5 } },
        { Qt::Key_Up, Qt::NoModifier, 5, 4, { 5, 4, 5, 4 } },
        { Qt::Key_PageDown, Qt::NoModifier, 5, 13, { 5, 13, 5, 13 } }, // 8 whole rows in view
        { Qt::Key_Home, Qt::NoModifier, 0, 5, { 0, 5, 0, 5 } },
        { Qt::Key_End, Qt::NoModifier, 29, 5, { 29, 5, 29, 5 } },
        { Qt::Key_End, Qt::ControlModifier, 29, 39, { 29, 39, 29, 39 } },
        { Qt::Key_Home, Qt::ControlModifier, 0, 0, { 0, 0, 0, 0 } },
        { Qt::Key_Right, Qt::ShiftModifier, 6, 5, { 5, 5, 6, 5 } },
    };
    for (const Case &c : cases) {
        GridFixture f(30, 40, 70, 70);
        f.grid.SetCurrentCell(5, 5);
        QKeyEvent e(QEvent::KeyPress, c.key, c.mods);
        QCoreApplication::sendEvent(&f.grid, &e);
        EXPECT_EQ(f.grid.Col(), c.col) << c.key;
        EXPECT_EQ(f.grid.Row(), c.row) << c.key;
        EXPECT_EQ(f.grid.GetSelection(), c.selection) << c.key;
        const TGridDrawInfo info = f.grid.CalcDrawInfo();
        EXPECT_LE(f.grid.LeftCol(), c.selection.Right);
        EXPECT_GE(info.Vert.LastFullVisibleCell, std::max(c.row, c.selection.Bottom)) << "scrolled into view";
    }
}
