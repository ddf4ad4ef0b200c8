// The navigator's grid: it shows another grid's picture without a copy, and the visible
// cells are read and set as rectangles.
#include "editor/patterngrid.h"

#include "notificationrecorder.h"
#include "testutil.h"

#include <gtest/gtest.h>

// The source's picture is shown, not copied: a write to the source after the navigator
// took it changes the source's own pixels in place, and the navigator paints them.
TEST(PatternGridNavigator, ShowsTheSourcesPictureWithoutACopy)
{
    TPatternGrid source;
    source.SetPicture(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }, GreyPalette()));
    TPatternGrid navigator;
    navigator.ShowPictureOf(&source);
    EXPECT_FALSE(navigator.OwnsPicture());
    EXPECT_EQ(navigator.ZoomLevel(), 9);
    EXPECT_EQ(navigator.ColCount(), 3);
    EXPECT_EQ(navigator.RowCount(), 2);
    EXPECT_TRUE(navigator.Picture().isNull()) << "no reference to the source's data";

    const uchar *before = source.Picture().constBits();
    source.Picture().setPixel(0, 0, 6); // the cell write of a tool
    EXPECT_EQ(source.Picture().constBits(), before) << "the write did not copy the picture";

    navigator.SetClientSize(3, 2);
    QImage shown;
    navigator.Paint(shown);
    // Two cells of index 6 now, painted in the source's colour of 6.
    int sixes = 0;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            sixes += shown.pixel(x, y) == source.PaintedColor(6);
    EXPECT_EQ(sixes, 2);

    navigator.ShowPictureOf(nullptr);
    EXPECT_EQ(navigator.ColCount(), 0);
    navigator.Paint(shown);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));
}

// The visible cells as a rectangle, and scrolling to one: against the far edge the grid
// scrolls as far as it goes; a first cell of 1 counts as 0.
TEST(PatternGridNavigator, VisibleCellRectangles)
{
    MainWindowStandIn main;
    TPatternGrid grid;
    grid.SetPicture(QImage(100, 80, QImage::Format_Indexed8));
    grid.Picture().fill(0);
    grid.SetZoom(9);
    grid.SetClientSize(20, 10);
    const TRect start = grid.GetVisibleCellRect();
    EXPECT_EQ(start.Left, 0);
    EXPECT_EQ(start.Top, 0);
    EXPECT_EQ(start.Right, 19);
    const int maxLeft = grid.Grid().MaxLeftCol(), maxTop = grid.Grid().MaxTopRow();
    ASSERT_EQ(maxLeft, 80);
    ASSERT_GT(maxTop, 40);
    struct Case {
        TRect r;
        int left, top;
    } cases[] = {
        { { 30, 40, 50, 50 }, 30, 40 },
        { { 1, 1, 21, 11 }, 0, 0 },
        { { 2, 2, 22, 12 }, 2, 2 },
        { { 70, 60, 100, 80 }, maxLeft, maxTop }, // against both far edges
        { { 95, 0, 100, 10 }, maxLeft, 0 },
    };
    for (const Case &c : cases) {
        main.recorder.got.clear();
        grid.SetVisibleCellRect(c.r);
        EXPECT_EQ(grid.LeftCol(), c.left) << c.r.Left;
        EXPECT_EQ(grid.TopRow(), c.top) << c.r.Top;
    }
    EXPECT_EQ(grid.GetVisibleCellRect().Left, 80);
    EXPECT_EQ(grid.GetVisibleCellRect().Right, 99);
    main.recorder.got.clear();
    grid.NotifyViewChanged();
    EXPECT_TRUE(main.recorder.Has(WM_REFRESHVIEW, 0, 0));
}
