// The printed page's layout: margins and page size in screen pixels, pages of whole cells
// across then down, the refusal of a page that holds no cell, fit to paper in the densities'
// proportion, the page ranges a job takes, and the pixels of a rendered page.
#include "shell/printlayout.h"

#include "core/palette/palette.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {
// A picture of cols x rows cells, every cell's index (col + row) mod 4 of four plain colours.
QImage pattern(int cols, int rows)
{
    QImage picture(cols, rows, QImage::Format_Indexed8);
    picture.setColorTable({ qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 0) });
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            picture.scanLine(y)[x] = uchar((x + y) % 4);
    return picture;
}

TPrintSource sourceOf(const QImage &picture, int cellWidth, int cellHeight)
{
    TPrintSource source;
    source.Picture = &picture;
    source.CellWidth = cellWidth;
    source.CellHeight = cellHeight;
    source.LineColor = 0x00FF00; // green (TColor: red in the low byte)
    source.SeparationColor = 0xFF00FF; // magenta
    return source;
}

TPageOption margins(double each)
{
    return TPageOption { each, each, each, each };
}
} // namespace

TEST(PrintLayout, MarginsAndPageSizesInScreenPixels)
{
    EXPECT_EQ(MillimetresToPixels(20, 96), 77); // 76.8 + 0.5, with 25 mm an inch
    EXPECT_EQ(MillimetresToPixels(0, 96), 0);
    EXPECT_EQ(PageSizeFor(nullptr, 96, 96), QSize(768, 1058));
    const TPrinterPage printer { 4800, 6600, 600, 600 };
    EXPECT_EQ(PageSizeFor(&printer, 96, 96), QSize(768, 1056));
    const TPrinterPage odd { 1000, 1000, 300, 300 }; // 320.0 and halves up
    EXPECT_EQ(PageSizeFor(&odd, 96, 96), QSize(320, 320));
}

TEST(PrintLayout, PagesOfWholeCellsAcrossThenDown)
{
    const QImage picture = pattern(100, 60);
    TPrintLayout layout;
    layout.SetSource(sourceOf(picture, 4, 7));
    layout.SetMargins(margins(20), 96);
    EXPECT_EQ(layout.LeftPx(), 77);
    EXPECT_EQ(layout.ColumnsPerPage(), 153); // (768 - 154) div 4
    EXPECT_EQ(layout.RowsPerPage(), 129); // (1058 - 154) div 7

    // 15 columns and 25 rows a page: 7 across, 3 down.
    layout.SetPageSize(QSize(15 * 4 + 154, 25 * 7 + 154 + 3));
    ASSERT_EQ(layout.ColumnsPerPage(), 15);
    ASSERT_EQ(layout.RowsPerPage(), 25);
    EXPECT_EQ(layout.PagesAcross(), 7);
    EXPECT_EQ(layout.PagesDown(), 3);
    EXPECT_EQ(layout.PageCount(), 21);
    EXPECT_EQ(layout.Block(7), (TPageBlock { 0, 25, 15, 25 }));
    EXPECT_EQ(layout.Block(6), (TPageBlock { 90, 0, 10, 25 })); // the last column of pages is narrower
    EXPECT_EQ(layout.Block(20), (TPageBlock { 90, 50, 10, 10 }));
    EXPECT_EQ(layout.Block(21), TPageBlock {});
    EXPECT_EQ(layout.PageLabel(6), "7/21");

    EXPECT_TRUE(layout.SetPageIndex(20));
    EXPECT_FALSE(layout.SetPageIndex(21));
    EXPECT_FALSE(layout.SetPageIndex(-1));
    EXPECT_EQ(layout.PageIndex(), 20);
}

// A cell wider or taller than what the margins leave, or margins that leave nothing: no page
// is laid out instead of a division by zero.
TEST(PrintLayout, APageThatHoldsNoCellIsRefused)
{
    const QImage picture = pattern(10, 10);
    struct Case {
        int cellWidth, cellHeight;
        double margin;
    };
    for (const Case c : { Case { 615, 7, 20 }, Case { 4, 905, 20 }, Case { 4, 7, 100 } }) {
        TPrintLayout layout;
        layout.SetSource(sourceOf(picture, c.cellWidth, c.cellHeight));
        layout.SetMargins(margins(c.margin), 96);
        EXPECT_FALSE(layout.Fits()) << c.cellWidth << " " << c.cellHeight << " " << c.margin;
        EXPECT_EQ(layout.PageCount(), 0);
        EXPECT_TRUE(layout.RenderPage(0).isNull());
    }
    TPrintLayout exact;
    exact.SetSource(sourceOf(picture, 614, 904));
    exact.SetMargins(margins(20), 96);
    EXPECT_TRUE(exact.Fits());
    EXPECT_EQ(exact.PageCount(), 100);
}

// The fitted copy keeps the densities' proportion (warp density over weft density stretches
// the height), a density of 0 keeps cells square, and switching back leaves the lines off.
TEST(PrintLayout, FitToPaperKeepsTheDensitiesProportion)
{
    const QImage picture = pattern(200, 100);
    struct Case {
        double warp, weft;
        QSize fitted;
    };
    for (const Case c : { Case { 120, 60, QSize(614, 614) }, Case { 0, 60, QSize(614, 307) },
             Case { 60, 0, QSize(614, 307) }, Case { 60, 120, QSize(614, 154) } }) {
        TPrintSource source = sourceOf(picture, 4, 7);
        source.WarpDensity = c.warp;
        source.WeftDensity = c.weft;
        TPrintLayout layout;
        layout.SetSource(source);
        layout.SetMargins(margins(20), 96);
        layout.SetFitToPaper(true);
        EXPECT_EQ(layout.FittedCopy().size(), c.fitted) << c.warp << "/" << c.weft;
        EXPECT_EQ(layout.PageCount(), 1);
        EXPECT_FALSE(layout.ShowSeparationLines());
        layout.SetShowSeparationLines(true);
        EXPECT_FALSE(layout.ShowSeparationLines()) << "no lines while fitted";
        layout.SetFitToPaper(false);
        EXPECT_FALSE(layout.ShowSeparationLines());
        EXPECT_EQ(layout.ColumnsPerPage(), 153);
        EXPECT_TRUE(layout.FittedCopy().isNull());
    }
}

// The fitted copy averages the cells a pixel covers: halving a fine checker of black and
// white gives mid grey, and a plain area keeps its colour.
TEST(PrintLayout, FittedCopyAveragesTheCells)
{
    QImage picture(8, 4, QImage::Format_Indexed8);
    picture.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(200, 10, 10) });
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            picture.scanLine(y)[x] = x < 4 ? uchar((x + y) % 2) : 2;
    const QImage half = AverageScaled(picture, QSize(4, 2));
    EXPECT_EQ(half.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(half.pixel(3, 1), qRgb(200, 10, 10));
    const QImage larger = AverageScaled(picture, QSize(16, 8));
    EXPECT_EQ(larger.pixel(15, 7), qRgb(200, 10, 10));
    EXPECT_EQ(larger.pixel(0, 0), qRgb(0, 0, 0));
}

TEST(PrintLayout, PageRangesOfAPrintJob)
{
    struct Case {
        TPrintRange range;
        int from, to, current;
        TPageSpan pages;
    };
    const Case cases[] = {
        { TPrintRange::AllPages, 0, 0, 3, { 0, 20 } },
        { TPrintRange::PageNumbers, 2, 3, 0, { 1, 2 } },
        { TPrintRange::PageNumbers, 1, 1, 0, { 0, 0 } },
        { TPrintRange::PageNumbers, 20, 99, 0, { 19, 20 } },
        { TPrintRange::PageNumbers, 30, 40, 0, {} },
        // A selection prints what the same numbers print (one to one is one page), or the
        // page shown when no numbers came.
        { TPrintRange::Selection, 1, 1, 5, { 0, 0 } },
        { TPrintRange::Selection, 2, 3, 5, { 1, 2 } },
        { TPrintRange::Selection, 0, 0, 5, { 5, 5 } },
        { TPrintRange::CurrentPage, 0, 0, 4, { 4, 4 } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(PagesToPrint(c.range, c.from, c.to, 21, c.current), c.pages)
            << int(c.range) << " " << c.from << "-" << c.to;
    EXPECT_EQ(PagesToPrint(TPrintRange::AllPages, 0, 0, 0, 0), TPageSpan {});
}

TEST(PrintLayout, MarginsThatLeaveTooLittleOfThePageAreRefused)
{
    struct Case {
        TPageOption margins;
        bool accepted;
    };
    const Case cases[] = {
        { { 20, 20, 20, 20 }, true },
        { { 95, 95, 20, 20 }, true }, // 190 of the 200 mm across
        { { 95, 96, 20, 20 }, false },
        { { 20, 20, 100, 100 }, true }, // 200 of the 275 mm down
        { { 20, 20, 100, -1 }, false },
        { { 101, 0, 0, 0 }, false },
    };
    for (const Case &c : cases) {
        QString error;
        EXPECT_EQ(CheckPageMargins(c.margins, &error), c.accepted)
            << c.margins.LeftMargin << " " << c.margins.RightMargin;
        EXPECT_EQ(error.isEmpty(), c.accepted);
    }
}

// The second page of a 60-row picture, 20 rows a page and 3 x 3 pixels a cell, ends at row
// 40: each cell filled in its colour, grid lines at the cell pitch, and over them the
// separation lines where 60 - row is a multiple of 8 (rows 20, 28 and 36) and where the
// column is (0, 8 and 16).
TEST(PrintLayout, RenderedPageShowsCellsLinesAndSeparationLines)
{
    const QImage picture = pattern(20, 60);
    TPrintLayout layout;
    layout.SetSource(sourceOf(picture, 3, 3));
    layout.SetMargins(margins(0), 96);
    layout.SetPageSize(QSize(20 * 3, 20 * 3));
    ASSERT_EQ(layout.Block(1), (TPageBlock { 0, 20, 20, 20 }));
    const QImage page = layout.RenderPage(1);
    ASSERT_EQ(page.size(), QSize(61, 61));
    const QRgb green = qRgb(0, 255, 0), magenta = qRgb(255, 0, 255), blue = qRgb(0, 0, 255);
    const auto at = [&](int x, int y) { return page.pixel(x, y); };
    for (int i : { 0, 8, 16 })
        EXPECT_EQ(at(1, i * 3), magenta) << "row line " << i;
    for (int i : { 1, 4, 20 })
        EXPECT_EQ(at(1, i * 3), green) << "row line " << i;
    EXPECT_EQ(at(8 * 3, 1), magenta);
    EXPECT_EQ(at(3 * 3, 1), green);
    EXPECT_EQ(at(3 * 3, 8 * 3), magenta) << "the separation colour wins where lines cross";
    // Inside a cell its colour: column 2 of row 21 has index 23 mod 4 = 3, black; column 3 of
    // row 20 index 23 too; column 2 of row 20 index 2, blue.
    EXPECT_EQ(at(2 * 3 + 1, 1), blue);
    EXPECT_EQ(at(2 * 3 + 1, 1 * 3 + 1), qRgb(0, 0, 0));
    // Without lines every pixel of a cell is the cell's colour.
    layout.SetShowSeparationLines(false);
    EXPECT_EQ(layout.RenderPage(1).pixel(2 * 3, 0), blue);
}

// The rulers' ticks fall every millimetre (2, 5 and 10 pixels long), and the corner marks of
// the printable area point out along the margins.
TEST(PrintLayout, PageFurnitureRulersAndCornerMarks)
{
    QImage sheet(768, 1058, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    {
        QPainter painter(&sheet);
        DrawPageFurniture(painter, sheet.size(), 96, QRect(77, 77, 614, 904));
    }
    const QRgb grey = qRgb(128, 128, 128);
    const auto tickLength = [&](int x) {
        int n = 0;
        while (n < 20 && sheet.pixel(x, n) == grey)
            ++n;
        return n;
    };
    EXPECT_EQ(tickLength(int(96 / 25.4 * 10 + 0.5)), 10);
    EXPECT_EQ(tickLength(int(96 / 25.4 * 5 + 0.5)), 5);
    EXPECT_EQ(tickLength(int(96 / 25.4 * 3 + 0.5)), 2);
    EXPECT_EQ(sheet.pixel(200, 500), qRgb(255, 255, 255)) << "white ground";
    EXPECT_EQ(sheet.pixel(767, 500), grey) << "outline";
    EXPECT_EQ(sheet.pixel(77 - 25, 77), grey);
    EXPECT_EQ(sheet.pixel(77, 77 - 25), grey);
    EXPECT_EQ(sheet.pixel(77 + 1, 77 + 1), qRgb(255, 255, 255)) << "nothing inside the printable area";
}
