// The wheel in the pattern grid window: rows, Shift columns, Ctrl zoom about the pointer
// (the table shared by every view of cells), and the zoom's edges.
#include "editor/ui/patterngridview.h"

#include "core/palette/palette.h"
#include "testutil.h"
#include "wheelcases.h"

#include <gtest/gtest.h>

#include <QScrollBar>

namespace {

// A 400 x 400 pattern whose cells all differ, at level 12 (a pitch of 4 pixels) in a
// 200 x 200 window scrolled to cell (100, 100).
struct PatternGridWheel : WheelView {
    TPatternGridView view;
    explicit PatternGridWheel(int level = 12)
    {
        view.setFrameStyle(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(200, 200);
        view.show();
        QImage picture = NewPicture(400, 400, GreyPalette());
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                picture.scanLine(y)[x] = uchar((x + 3 * y) % 256);
        TPatternGrid &g = view.Model();
        g.SetWarpDensity(1);
        g.SetWeftDensity(1);
        g.SetPictureAndRefresh(picture, false);
        g.ReadPaletteFromPicture();
        g.SetZoom(level);
        view.SetLeftCol(100);
        view.SetTopRow(100);
    }
    QWidget *Frame() override { return view.viewport(); }
    QWidget *Target() override { return view.viewport(); }
    TPoint ContentAt(QPoint p) override { return view.PictureCellAt(p); }
    int Zoom() override { return view.Model().ZoomLevel(); }
};

} // namespace

TEST(PatternGridWheel, ScrollsRowsColumnsAndZoomsAboutThePointer)
{
    ExpectWheelCases("pattern grid", [] { return std::make_unique<PatternGridWheel>(); });
}

// The wheel scrolls the view and the scroll bars follow; the current cell stays where the
// user put it. Zooming keeps the zoom commands' levels: in to the largest cells, out to
// one pixel per cell and no further (a reduced view is zoomed in from, never into).
TEST(PatternGridWheel, ScrollBarsFollowAndTheZoomKeepsItsLevels)
{
    PatternGridWheel w;
    w.view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    w.view.SetCurrentCell(110, 110);
    w.Turn({ 50, 50 }, -240, Qt::NoModifier);
    EXPECT_EQ(w.view.TopRow(), 106);
    EXPECT_EQ(w.view.verticalScrollBar()->value(), 106);
    EXPECT_EQ(w.view.Row(), 110) << "the current cell stays";

    for (int i = 0; i < 6; ++i)
        w.Turn({ 50, 50 }, 120, Qt::ControlModifier);
    EXPECT_EQ(w.Zoom(), TPatternGrid::MaxZoomLevel);
    for (int i = 0; i < 8; ++i)
        w.Turn({ 50, 50 }, -120, Qt::ControlModifier);
    EXPECT_EQ(w.Zoom(), TPatternGrid::BaseZoomLevel);

    PatternGridWheel reduced(6);
    reduced.Turn({ 50, 50 }, -120, Qt::ControlModifier);
    EXPECT_EQ(reduced.Zoom(), 6) << "zooming out never zooms in";
    const TPoint cell = reduced.ContentAt({ 50, 50 });
    reduced.Turn({ 50, 50 }, 120, Qt::ControlModifier);
    EXPECT_EQ(reduced.Zoom(), 9);
    EXPECT_EQ(reduced.ContentAt({ 50, 50 }), cell) << "the reduced view's cell stays under the pointer";
}
