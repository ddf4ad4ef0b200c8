// The pattern grid window: what it shows is the model's painting, its scroll bars cover
// the whole pattern, and pointer positions become picture cells.
#include "editor/ui/patterngridview.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QScrollBar>

namespace {

QImage Tall(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        std::memset(img.scanLine(y), y % 200, w);
    return img;
}

} // namespace

TEST(PatternGridView, ShowsTheModelAndScrollsTheWholePattern)
{
    TPatternGridView view;
    view.setFrameStyle(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view.resize(120, 100);
    view.show();
    TPatternGrid &g = view.Model();
    g.SetWarpDensity(1);
    g.SetWeftDensity(1);
    g.SetPictureAndRefresh(Tall(10, 20000), false);
    g.ReadPaletteFromPicture();
    g.SetZoom(12); // pitch 4

    EXPECT_TRUE(view.verticalScrollBar()->hasTracking()) << "the pattern follows a dragged thumb";
    const int visibleRows = view.viewport()->height() / 4;
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 20000 - visibleRows);
    view.verticalScrollBar()->setValue(19000);
    EXPECT_EQ(g.TopRow(), 19000);

    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage painted;
    g.Paint(painted);
    ASSERT_EQ(shown.size(), painted.size());
    EXPECT_EQ(shown, painted);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(19000 % 200, 19000 % 200, 19000 % 200));

    EXPECT_EQ(view.CellAt(QPoint(5, 9)), (TPoint{1, 19002}));
    EXPECT_EQ(view.CellAt(QPoint(60, 9)).X, -1);
}
