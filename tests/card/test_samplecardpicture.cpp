#include "card/samplecardpicture.h"

#include <gtest/gtest.h>

#include <QColor>

namespace {

// A one-row card of the given codes, MinRad 7, laid out by startFlag.
TYangkaImage Strip(const std::vector<std::uint8_t> &codes, int startFlag = 0)
{
    TYangkaImage y;
    TMultiByteArray cells(qsizetype(codes.size()));
    for (std::size_t c = 0; c < codes.size(); ++c)
        cells[qsizetype(c)] = TDynamicByteArray { codes[c] };
    EXPECT_TRUE(y.SetCells(cells));
    y.SetStartFlag(startFlag);
    y.Resize();
    return y;
}

QImage Whole(const TYangkaImage &y)
{
    return DrawSampleCard(y, QRect(QPoint(), SampleCardPictureSize(y)));
}

QColor CentreOf(const QImage &image, const TYangkaImage &y, int col, int row)
{
    const TRect r = y.CellRect(col, row);
    return image.pixelColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

} // namespace

// The colours are the default palette's: the card's background $008080 is the palette's
// olive, red stays red, white white.
TEST(SampleCardPicture, ColoursComeFromTheDefaultPalette)
{
    const TSampleCardColors c = SampleCardColors(TYangkaImage());
    EXPECT_EQ(c.Back, QColor(0x80, 0x80, 0x00));
    EXPECT_EQ(c.Hole, QColor(0xFF, 0x00, 0x00));
    EXPECT_EQ(c.Needle, QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(c.Green, QColor(0x00, 0x80, 0x00));
}

// The centre pixel of a cell tells its code apart from its neighbours' codes.
TEST(SampleCardPicture, EveryCodeHasItsLook)
{
    const TSampleCardColors c = SampleCardColors(TYangkaImage());
    struct Case {
        std::uint8_t code;
        QColor centre;
        QColor corner; // the cell's top-left pixel: its outline
    };
    const Case cases[] = {
        { Needle::Up, c.Needle, c.Back }, { Needle::Down, c.Dot, c.Back },
        { Needle::Jacquard, c.Back, c.Back }, { Needle::Jacquard2, c.Hole, c.Back },
        { Needle::HealdRod, c.Hole, c.Back }, // the red cross meets in the centre
        { Needle::Selvedge, c.Hole, c.Back }, { Needle::Shuttle, c.Needle, c.Back },
        { Needle::HealdFrame, c.Back, c.Back }, { Needle::WasteSelvedge, c.Green, c.Back },
        { Needle::WeftDensity, c.Green, c.Back }, { 10, c.LightGreen, c.Back },
        { Needle::StopMotion, c.Green, c.Back }, { 13, c.PaleGreen, c.Hole }, { 14, c.PaleBlue, c.Hole },
        { Needle::Empty, c.Needle, c.Back }, { Needle::LacingHole, c.Hole, c.Back },
        { Needle::MarkerColumn, c.Back, c.Back },
        { 100, c.Back, c.Back }, // a code without a meaning shows the background
    };
    std::vector<std::uint8_t> codes;
    for (const Case &k : cases)
        codes.push_back(k.code);
    const TYangkaImage y = Strip(codes);
    const QImage image = Whole(y);
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(y.Width, y.Height));
    for (std::size_t i = 0; i < codes.size(); ++i) {
        SCOPED_TRACE(int(codes[i]));
        EXPECT_EQ(CentreOf(image, y, int(i), 0), cases[i].centre);
        const TRect r = y.CellRect(int(i), 0);
        EXPECT_EQ(image.pixelColor(r.Left, r.Top), cases[i].corner);
    }
    // The ring of a heald-frame needle is red; the shuttle needle's ring is red too.
    const TRect frame = y.CellRect(7, 0);
    EXPECT_EQ(image.pixelColor(frame.Left + 1, (frame.Top + frame.Bottom) / 2), c.Hole);
}

// StartFlag 0 to 3: the first cell sits top-left, bottom-right, bottom-left, top-right.
TEST(SampleCardPicture, LayoutsMirroredByStartFlag)
{
    TYangkaImage y;
    y.SetCells(MakeWeaveArray(4, 3, Needle::Empty));
    y.Cells[0][0] = Needle::Jacquard2;
    struct Case {
        int flag;
        int gridCol, gridRow; // where cell (0, 0) is drawn
    };
    for (const Case &k : { Case { 0, 0, 0 }, Case { 1, 3, 2 }, Case { 2, 0, 2 }, Case { 3, 3, 0 } }) {
        SCOPED_TRACE(k.flag);
        y.SetStartFlag(k.flag);
        y.Resize();
        const QImage image = Whole(y);
        for (int gc = 0; gc < 4; ++gc)
            for (int gr = 0; gr < 3; ++gr) {
                const int x = y.MarginLeft + gc * y.MinRad() + 3, yy = y.MarginTop + gr * y.MinRad() + 3;
                const bool red = gc == k.gridCol && gr == k.gridRow;
                EXPECT_EQ(image.pixelColor(x, yy), red ? QColor(Qt::red) : QColor(Qt::white))
                    << gc << "," << gr;
                // The hit test answers the same cell the picture shows there.
                int col = -1, row = -1;
                ASSERT_TRUE(y.CellAtPixel(x, yy, col, row));
                EXPECT_EQ(col == 0 && row == 0, red);
            }
    }
}

// A positioning hole: one red circle over its 2 x 2 block, whose cells answer "in a hole".
TEST(SampleCardPicture, PositionHoleIsOneCircleAndAHit)
{
    TYangkaImage y;
    y.SetCells(MakeWeaveArray(5, 4, Needle::Empty));
    ASSERT_TRUE(y.AddPositionHole(1, 1));
    for (int flag = 0; flag < 4; ++flag) {
        SCOPED_TRACE(flag);
        y.SetStartFlag(flag);
        y.Resize();
        const QImage image = Whole(y);
        const QRect block = PositionHoleRect(y, 1, 1);
        ASSERT_EQ(block.size(), QSize(14, 14));
        EXPECT_EQ(image.pixelColor(block.center()), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(block.topLeft()), SampleCardColors(y).Back) << "a circle, not a square";
        int col, row;
        bool inHole = false;
        ASSERT_TRUE(y.CellAtPixel(block.center().x(), block.center().y(), col, row, &inHole));
        EXPECT_TRUE(inHole);
        ASSERT_TRUE(y.CellAtPixel(y.MarginLeft, y.MarginTop, col, row, &inHole));
        EXPECT_FALSE(inHole);
    }
    // A block that would reach off the card has no rectangle; holes off the card in the
    // list are skipped, never read.
    EXPECT_TRUE(PositionHoleRect(y, 4, 0).isEmpty());
    EXPECT_TRUE(PositionHoleRect(y, 0, 3).isEmpty());
    EXPECT_TRUE(PositionHoleRect(y, -1, 0).isEmpty());
    y.Holes = TPosArray { TPoint { 4, 3 }, TPoint { 70000, 2 } };
    EXPECT_FALSE(Whole(y).isNull());
}

// The ruler: every 10 columns under MinRad 6, every 5 from 6 on, the first labelled "1",
// placed over the column it numbers in either direction.
TEST(SampleCardPicture, RulerTicks)
{
    TYangkaImage y;
    y.SetCells(MakeWeaveArray(25, 2, Needle::Jacquard));
    struct Case {
        int minRad;
        int flag;
        std::vector<int> labels;
    };
    const Case cases[] = {
        { 5, 0, { 1, 10, 20 } },
        { 6, 0, { 1, 5, 10, 15, 20, 25 } },
        { 7, 1, { 1, 5, 10, 15, 20, 25 } },
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.minRad);
        y.SetMinRad(k.minRad);
        y.SetStartFlag(k.flag);
        const auto ticks = SampleCardRuler(y);
        ASSERT_EQ(ticks.size(), k.labels.size());
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_EQ(ticks[i].Label, QString::number(k.labels[i]));
            EXPECT_EQ(ticks[i].Column, k.labels[i] - 1);
            const TRect r = y.CellRect(ticks[i].Column, 0);
            EXPECT_EQ(ticks[i].X, (r.Left + r.Right) / 2);
        }
        if (k.flag == 1) {
            EXPECT_GT(ticks.front().X, ticks.back().X) << "numbers run from the right";
        }
    }
    // The ticks are drawn in the top margin.
    y.SetMinRad(7);
    y.SetStartFlag(0);
    const QImage image = Whole(y);
    const int x = SampleCardRuler(y)[1].X;
    EXPECT_EQ(image.pixelColor(x, y.MarginTop - 2), QColor(Qt::black));
}

// Drawing a part equals the same part of the whole picture, so a huge card can be drawn
// piece by piece; an oversized or empty area draws nothing.
TEST(SampleCardPicture, PartsMatchTheWholeAndSizeIsBounded)
{
    TYangkaImage y;
    y.SetYKStyle(ys1200);
    y.SetStartFlag(1);
    y.Resize();
    for (int c = 3; c < 20; ++c)
        y.Cells[c][5] = std::uint8_t(c - 3); // every needle code among the parts
    const QImage whole = Whole(y);
    if (qEnvironmentVariableIsSet("DORWEN_SAVE_SAMPLECARD"))
        whole.save(qEnvironmentVariable("DORWEN_SAVE_SAMPLECARD"));
    for (const QRect &part :
        { QRect(0, 0, 50, 40), QRect(133, 27, 61, 80), QRect(whole.width() - 30, 100, 30, 22) }) {
        SCOPED_TRACE(part.x());
        EXPECT_EQ(DrawSampleCard(y, part), whole.copy(part));
    }
    int c0, c1, r0, r1;
    EXPECT_FALSE(CellsInArea(y, QRect(0, 0, 20, 20), c0, c1, r0, r1)) << "the margin holds no cell";
    EXPECT_TRUE(DrawSampleCard(y, QRect()).isNull());
    EXPECT_TRUE(DrawSampleCard(y, QRect(0, 0, 1 << 13, 1 << 13)).isNull());
}

// A drag released beyond the card ends on its border cell, in either direction.
TEST(SampleCardPicture, ClampedHits)
{
    TYangkaImage y;
    y.SetCells(MakeWeaveArray(6, 4, Needle::Jacquard));
    struct Case {
        int flag, x, y, col, row;
    };
    for (const Case &k : { Case { 0, -50, -50, 0, 0 }, Case { 0, 5000, 5000, 5, 3 },
             Case { 1, -50, -50, 5, 3 }, Case { 2, 5000, -5, 5, 3 }, Case { 3, 5000, -5, 0, 0 } }) {
        y.SetStartFlag(k.flag);
        int col, row;
        ClampedCellAtPixel(y, k.x, k.y, col, row);
        EXPECT_EQ(col, k.col) << k.flag;
        EXPECT_EQ(row, k.row) << k.flag;
    }
}
