// Painting of the pattern grid, checked pixel by pixel: block sizes per zoom level, grid
// lines, compartment lines in both row directions, the reduced view and scrolling.
#include "editor/patterngrid.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <vector>

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb Grey = 0xFF808080;
constexpr QRgb Red = 0xFFFF0000;

QRgb Cell(int index)
{
    return qRgb(index, index, index);
} // grey palette

// A picture whose cell (x, y) has index 10 * y + x + 1.
QImage Numbered(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = uchar(10 * y + x + 1);
    return img;
}

struct Painted {
    TPatternGrid grid;
    QImage buffer;

    Painted(const QImage &picture, int level, int width, int height, double warp = 1.0, double weft = 1.0)
    {
        grid.SetWarpDensity(warp);
        grid.SetWeftDensity(weft);
        grid.SetClientSize(width, height);
        grid.SetPicture(picture);
        grid.ReadPaletteFromPicture();
        grid.SetZoom(level);
    }
    const QImage &Paint()
    {
        grid.Paint(buffer);
        return buffer;
    }
};

} // namespace

TEST(PatternGridPaint, LevelNineShowsOnePixelPerCellWithoutLines)
{
    Painted p(Numbered(3, 2), 9, 6, 4);
    p.grid.SetLineColor(0x0000FF);
    const QImage &img = p.Paint();
    ASSERT_EQ(img.size(), QSize(6, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(img.pixel(x, y), x < 3 && y < 2 ? Cell(10 * y + x + 1) : Black) << x << "," << y;
}

TEST(PatternGridPaint, LevelTwelveBlocksGridLinesAndCompartmentLines)
{
    // Pitch 4: 3 x 3 blocks and a 1-pixel grid line; compartments of 2 columns and 2 rows.
    Painted p(Numbered(4, 4), 12, 40, 40);
    p.grid.SetLineColor(TPatternGrid::clSilver);
    p.grid.SetCompartLineColor(0x0000FF); // red
    p.grid.Grid().DefaultColCompart = 2;
    p.grid.Grid().DefaultRowCompart = 2;
    const QImage &img = p.Paint();
    EXPECT_EQ(p.grid.LineColor(), TPatternGrid::clGray) << "silver is painted grey";

    // Blocks.
    for (int cy = 0; cy < 4; ++cy)
        for (int cx = 0; cx < 4; ++cx)
            for (int dy = 0; dy < 3; ++dy)
                for (int dx = 0; dx < 3; ++dx)
                    ASSERT_EQ(img.pixel(cx * 4 + dx, cy * 4 + dy), Cell(10 * cy + cx + 1)) << cx << "," << cy;
    // Grid lines after column 0 and below row 0; nothing beyond the last cell.
    EXPECT_EQ(img.pixel(3, 0), Grey);
    EXPECT_EQ(img.pixel(0, 3), Grey);
    EXPECT_EQ(img.pixel(3, 3), Grey);
    EXPECT_EQ(img.pixel(16, 0), Black);
    EXPECT_EQ(img.pixel(0, 16), Black);
    EXPECT_EQ(img.pixel(30, 30), Black);
    // Compartment line after column 2 (x = 7) and after column 4 (x = 15), with a grid
    // coloured dot at the middle of every cell edge (y = 1, 5, 9, 13).
    for (int x : { 7, 15 })
        for (int y = 0; y < 16; ++y)
            EXPECT_EQ(img.pixel(x, y), (y % 4 == 1) ? Grey : Red) << x << "," << y;
    // Rows count from the bottom: of the four rows, the line above the second row from
    // the bottom (below screen row 1, y = 7) is a compartment line; the bottom edge is not.
    for (int x = 0; x < 15; ++x)
        EXPECT_EQ(img.pixel(x, 7), (x % 4 == 1) ? Grey : Red) << x;
    EXPECT_EQ(img.pixel(0, 15), Grey);
    EXPECT_EQ(img.pixel(0, 11), Grey);

    // Counted from the top, the lines below rows 2 and 4 are compartment lines.
    p.grid.Grid().StartPos = TStartPos::spLeftTop;
    const QImage &top = p.Paint();
    EXPECT_EQ(top.pixel(0, 7), Red);
    EXPECT_EQ(top.pixel(0, 15), Red);
    EXPECT_EQ(top.pixel(0, 11), Grey);
}

TEST(PatternGridPaint, DensityRatioSetsTheBlockHeight)
{
    Painted p(Numbered(2, 2), 12, 20, 30, 60, 30); // 3 x 7 blocks, pitch 4 x 8
    p.grid.Grid().DefaultCompartLine = false;
    const QImage &img = p.Paint();
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(img.pixel(2, y), Cell(1)) << y;
    EXPECT_EQ(img.pixel(2, 7), Black) << "grid line, black by default";
    EXPECT_EQ(img.pixel(2, 8), Cell(11));
    EXPECT_EQ(img.pixel(4, 14), Cell(12));
    EXPECT_EQ(img.pixel(2, 16), Black) << "beyond the last row";
}

TEST(PatternGridPaint, ReducedViewAndScrolledView)
{
    Painted reduced(Numbered(4, 4), 4, 5, 5);
    const QImage &r = reduced.Paint();
    EXPECT_EQ(r.pixel(0, 0), Cell(1));
    EXPECT_EQ(r.pixel(1, 0), Cell(3));
    EXPECT_EQ(r.pixel(0, 1), Cell(21));
    EXPECT_EQ(r.pixel(1, 1), Cell(23));
    EXPECT_EQ(r.pixel(2, 0), Black);
    EXPECT_EQ(r.pixel(0, 2), Black);

    Painted s(Numbered(20, 20), 12, 20, 20);
    EXPECT_EQ(s.grid.Grid().MaxLeftCol(), 15);
    s.grid.SetLeftCol(5);
    s.grid.SetTopRow(7);
    const QImage &img = s.Paint();
    EXPECT_EQ(img.pixel(0, 0), Cell(76));
    EXPECT_EQ(img.pixel(17, 17), Cell(10 * 11 + 9 + 1));
}

// The navigator's frame inverts exactly the pixels a 2-pixel pen draws around it in the
// not-source-xor-destination mode: frames inside the view, against and across its edges,
// of one or two cells, and in a scrolled view.
TEST(PatternGridPaint, NavigatorFrameInvertsItsOutline)
{
    struct Case {
        TRect frame;
        int left, top;
    } cases[] = {
        { { 2, 2, 8, 8 }, 0, 0 },
        { { 0, 0, 3, 2 }, 0, 0 },
        { { 0, 0, 30, 25 }, 0, 0 },
        { { 5, 5, 6, 6 }, 0, 0 },
        { { 1, 4, 3, 13 }, 0, 0 },
        { { 10, 1, 40, 4 }, 0, 0 },
        { { 12, 9, 20, 16 }, 7, 6 },
        { { 3, 2, 9, 8 }, 5, 4 },
    };
    const QImage picture = Numbered(30, 25);
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.frame.Left << "," << c.frame.Top << " view " << c.left);
        Painted p(picture, 9, 16, 14);
        p.grid.SetLeftCol(c.left);
        p.grid.SetTopRow(c.top);
        QImage expected = p.Paint();
        {
            QPainter painter(&expected);
            painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            QPen pen(Qt::black, 2);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(c.frame.Left - p.grid.LeftCol(), c.frame.Top - p.grid.TopRow(),
                c.frame.Width(), c.frame.Height()));
        }
        p.grid.SetNavigatorFrame(c.frame);
        const QImage &img = p.Paint();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ASSERT_EQ(img.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    }
    // The outline's first pixel inside the frame shows the inverted cell, the middle the cell.
    Painted p(Numbered(10, 10), 9, 10, 10);
    p.grid.SetNavigatorFrame({ 2, 2, 8, 8 });
    const QImage &img = p.Paint();
    const QRgb c = Cell(10 * 2 + 2 + 1);
    EXPECT_EQ(img.pixel(2, 2), qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c)));
    EXPECT_EQ(img.pixel(5, 5), Cell(10 * 5 + 5 + 1));
}

// The view image keeps its memory from one view to the next: after any walk through the
// zoom levels (larger and smaller views, the reduced view, scrolled) a paint is pixel for
// pixel the paint of a grid that went straight to the last level and position.
TEST(PatternGridPaint, AViewAfterZoomStepsIsTheViewPaintedAfresh)
{
    struct Case {
        const char *name;
        std::vector<int> levels;
        int left, top;
    } cases[] = {
        { "one pixel per cell after large cells", { 24, 9 }, 0, 0 },
        { "large cells after one pixel per cell", { 9, 24 }, 3, 2 },
        { "up and down", { 12, 9, 15, 12 }, 5, 7 },
        { "reduced view between", { 9, 3, 24, 0 }, 1, 1 },
        { "scrolled one pixel per cell", { 15, 21, 9 }, 17, 11 },
    };
    const QImage picture = Numbered(60, 45);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Painted walked(picture, c.levels.front(), 50, 30, 2.0, 1.0);
        for (int level : c.levels) {
            walked.grid.SetZoom(level);
            walked.Paint();
        }
        walked.grid.SetLeftCol(c.left);
        walked.grid.SetTopRow(c.top);
        Painted fresh(picture, c.levels.back(), 50, 30, 2.0, 1.0);
        fresh.grid.SetLeftCol(c.left);
        fresh.grid.SetTopRow(c.top);
        ASSERT_EQ(walked.grid.LeftCol(), fresh.grid.LeftCol());
        ASSERT_EQ(walked.grid.TopRow(), fresh.grid.TopRow());
        const QImage a = walked.Paint();
        const QImage b = fresh.Paint();
        ASSERT_EQ(a.size(), b.size());
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << x << "," << y;
    }
}
