// Quarter, half and free-angle rotation, and the corner helpers.
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <numbers>

using Rows = std::vector<std::vector<int>>;
constexpr double Pi = std::numbers::pi;

namespace {
// A palette where index i is (i, i, i), except index 200, which is also pure black.
TPalette256 paletteWithSecondBlack()
{
    TPalette256 p = GreyPalette();
    p[200] = { 0, 0, 0, 0 };
    return p;
}
} // namespace

TEST(PictureRotation, QuarterAndHalfTurnsAndExactAngles)
{
    const QImage src = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } });
    const Rows ccw = { { 3, 6 }, { 2, 5 }, { 1, 4 } };
    const Rows cw = { { 4, 1 }, { 5, 2 }, { 6, 3 } };
    const Rows half = { { 6, 5, 4 }, { 3, 2, 1 } };
    struct Case {
        const char *name;
        std::function<bool(QImage &)> op;
        Rows expected;
    };
    const Case cases[] = {
        { "quarter 90", [&](QImage &d) { return RotatePictureQuarter(d, src, 90.0); }, ccw },
        { "quarter -90", [&](QImage &d) { return RotatePictureQuarter(d, src, -90.0); }, cw },
        { "quarter 180 turns Dest itself",
            [&](QImage &d) {
                d = src.copy();
                return RotatePictureQuarter(d, QImage(), 180.0);
            },
            half },
        { "centre pi/2", [&](QImage &d) { return RotateAboutCentre(d, src, 0, Pi / 2); }, ccw },
        { "centre pi/2 within tolerance",
            [&](QImage &d) { return RotateAboutCentre(d, src, 0, Pi / 2 + 0.00005); }, ccw },
        { "centre -pi/2", [&](QImage &d) { return RotateAboutCentre(d, src, 0, -Pi / 2); }, cw },
        { "centre 3pi/2", [&](QImage &d) { return RotateAboutCentre(d, src, 0, 3 * Pi / 2); }, cw },
        { "centre pi", [&](QImage &d) { return RotateAboutCentre(d, src, 0, Pi); }, half },
        { "centre 0 is an exact copy", [&](QImage &d) { return RotateAboutCentre(d, src, 0, 0); },
            PictureRows(src) },
        { "centre 2pi", [&](QImage &d) { return RotateAboutCentre(d, src, 0, 2 * Pi); }, PictureRows(src) },
        { "centre -4pi", [&](QImage &d) { return RotateAboutCentre(d, src, 0, -4 * Pi); }, PictureRows(src) },
        // Clockwise by pi/2 through the other entry point is the counter-clockwise -pi/2.
        { "by angle pi/2 is clockwise", [&](QImage &d) { return RotatePictureByAngle(d, src, 0, Pi / 2); },
            cw },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage dest = MakePicture({ { 9 } });
        ASSERT_TRUE(c.op(dest));
        EXPECT_EQ(PictureRows(dest), c.expected);
        EXPECT_EQ(dest.colorTable(), src.colorTable());
    }

    // Top-left cell of a 3 x 2 picture turned by 90 is the source's top-right cell.
    QImage dest;
    ASSERT_TRUE(RotatePictureQuarter(dest, src, 90.0));
    EXPECT_EQ(dest.size(), QSize(2, 3));
    EXPECT_EQ(dest.pixelIndex(0, 0), src.pixelIndex(2, 0));

    // Other quarter angles are refused and leave Dest as it was.
    QImage untouched = MakePicture({ { 7 } });
    EXPECT_FALSE(RotatePictureQuarter(untouched, src, 45.0));
    EXPECT_EQ(PictureRows(untouched), (Rows { { 7 } }));

    // Dest may be the source itself.
    QImage same = src.copy();
    ASSERT_TRUE(RotatePictureQuarter(same, same, 90.0));
    EXPECT_EQ(PictureRows(same), ccw);
}

TEST(PictureRotation, FreeAnglesTurnTheSameWayAsTheQuarterTurns)
{
    const QImage src = MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 } });
    // Just outside the snapping tolerance the free rotation must already give the quarter turns.
    for (double delta : { -0.001, 0.001 }) {
        SCOPED_TRACE(delta);
        QImage nearQuarter, quarter, nearThree, three;
        ASSERT_TRUE(RotateAboutCentre(nearQuarter, src, 0, Pi / 2 + delta));
        ASSERT_TRUE(RotatePictureQuarter(quarter, src, 90.0));
        EXPECT_EQ(PictureRows(nearQuarter), PictureRows(quarter));
        ASSERT_TRUE(RotateAboutCentre(nearThree, src, 0, 3 * Pi / 2 + delta));
        ASSERT_TRUE(RotatePictureQuarter(three, src, -90.0));
        EXPECT_EQ(PictureRows(nearThree), PictureRows(three));
        QImage nearZero;
        ASSERT_TRUE(RotateAboutCentre(nearZero, src, 0, delta));
        EXPECT_EQ(PictureRows(nearZero), PictureRows(src));
    }
}

TEST(PictureRotation, FreeAngleSizeCentreAndBackColour)
{
    // 4 x 4 by 45 degrees: the turned outline spans 4 * sqrt 2 = 5.66, so 6 x 6 cells.
    const QImage src = MakePicture(
        { { 1, 1, 2, 2 }, { 1, 1, 2, 2 }, { 3, 3, 4, 4 }, { 3, 3, 4, 4 } }, paletteWithSecondBlack());
    QImage dest;
    ASSERT_TRUE(RotateAboutCentre(dest, src, 0x02000000 /* black */, Pi / 4));
    ASSERT_EQ(dest.size(), QSize(6, 6));
    // Counter-clockwise: the top-right quarter (2) comes to the top, the top-left (1) to the
    // left. Corners outside the turned picture take the first black entry (0, not 200).
    EXPECT_EQ(PictureRows(dest),
        (Rows { { 0, 0, 0, 0, 0, 0 }, { 0, 0, 2, 2, 0, 0 }, { 0, 1, 2, 4, 4, 0 }, { 0, 1, 3, 4, 4, 0 },
            { 0, 0, 3, 3, 0, 0 }, { 0, 0, 0, 0, 0, 0 } }));

    // The uncovered corners take BackColor: white is entry 255 here.
    QImage onWhite;
    ASSERT_TRUE(RotateAboutCentre(onWhite, src, 0x00FFFFFF, Pi / 4));
    EXPECT_EQ(PictureRows(onWhite),
        (Rows { { 255, 255, 255, 255, 255, 255 }, { 255, 255, 2, 2, 255, 255 }, { 255, 1, 2, 4, 4, 255 },
            { 255, 1, 3, 4, 4, 255 }, { 255, 255, 3, 3, 255, 255 }, { 255, 255, 255, 255, 255, 255 } }));

    // A picture that would outgrow the largest side is refused.
    // (65535 x 400 turned by 0.01 spans 65535.7 columns.)
    const QImage wide = NewPicture(MaxPictureSide, 400, GreyPalette());
    QImage keep = MakePicture({ { 5 } });
    EXPECT_FALSE(RotateAboutCentre(keep, wide, 0, 0.01));
    EXPECT_EQ(PictureRows(keep), (Rows { { 5 } }));
    EXPECT_FALSE(RotateAboutCentre(keep, QImage(), 0, 0.3));
}

TEST(PictureRotation, CornerHelpers)
{
    std::array<TPoint, 4> corners;
    RotateRectCorners({ 0, 0, 4, 2 }, { 0, 0 }, corners, Pi / 2);
    EXPECT_EQ(corners[0], (TPoint { 0, 0 }));
    EXPECT_EQ(corners[1], (TPoint { 0, 4 }));
    EXPECT_EQ(corners[2], (TPoint { -2, 4 }));
    EXPECT_EQ(corners[3], (TPoint { -2, 0 }));

    TRect r;
    GetPointsBounds(corners.data(), 4, r);
    EXPECT_EQ(r, (TRect { -2, 0, 0, 4 }));
    GetPointsBounds(corners.data(), 0, r);
    EXPECT_EQ(r, (TRect { 0, 0, 0, 0 }));
}

// Pictures smaller and larger than the blocks the turns move at once, with sides that are
// and are not multiples of the block side (8 or 16 cells) and of the tiles (256 columns by
// 64 rows), and rows with padding: every cell lands where the definition puts it, and the
// padding is cleared.
TEST(PictureRotation, QuarterTurnsOfEverySizeOfBlock)
{
    const QSize sizes[]
        = { { 1, 1 }, { 8, 8 }, { 7, 9 }, { 9, 7 }, { 16, 3 }, { 3, 16 }, { 37, 70 }, { 130, 66 }, { 15, 17 },
              { 17, 15 }, { 16, 16 }, { 32, 48 }, { 270, 130 }, { 130, 270 }, { 513, 67 } };
    for (const QSize size : sizes) {
        const int w = size.width(), h = size.height();
        QImage src = NewPicture(w, h, GreyPalette());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                src.scanLine(y)[x] = std::uint8_t(x * 7 + y * 13 + (x * y >> 5));
        QImage ccw, cw;
        ASSERT_TRUE(RotatePictureQuarter(ccw, src, 90.0));
        ASSERT_TRUE(RotatePictureQuarter(cw, src, -90.0));
        ASSERT_EQ(ccw.size(), QSize(h, w));
        ASSERT_EQ(cw.size(), QSize(h, w));
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                wrong += ccw.constScanLine(w - 1 - x)[y] != src.constScanLine(y)[x];
                wrong += cw.constScanLine(x)[h - 1 - y] != src.constScanLine(y)[x];
            }
        for (const QImage *turned : { &ccw, &cw })
            for (int y = 0; y < w; ++y)
                for (qsizetype x = h; x < turned->bytesPerLine(); ++x)
                    wrong += turned->constScanLine(y)[x] != 0;
        EXPECT_EQ(wrong, 0) << w << " x " << h;
    }
}

// Pictures large enough to be worked on several threads (rows in chunks, a last chunk and
// the cells short of a whole block included) turn, flip and stretch cell for cell as their
// definitions say; a turn into a picture given for reuse takes its cells.
TEST(PictureRotation, LargePicturesOnSeveralThreadsMatchTheDefinitions)
{
    const int w = 2011, h = 1237; // 2.5 M cells; neither side a multiple of a block
    QImage src = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            src.scanLine(y)[x] = std::uint8_t((x * 7 + y * 13) ^ (x >> 3));
    QImage reuse = NewPicture(h, w, GreyPalette());
    const std::uint8_t *reused = reuse.constBits();
    QImage ccw, cw;
    ASSERT_TRUE(RotatePictureQuarter(ccw, src, 90.0, &reuse));
    ASSERT_TRUE(RotatePictureQuarter(cw, src, -90.0));
    EXPECT_EQ(ccw.constBits(), reused);
    EXPECT_TRUE(reuse.isNull());
    QImage flipped = src.copy();
    FlipRectLeftRight(flipped, { 0, 0, w, h });
    QImage stretched;
    ASSERT_TRUE(ResamplePicture(stretched, src, w * 3 / 2, h, GreyPalette(), true));
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t cell = src.constScanLine(y)[x];
            wrong += ccw.constScanLine(w - 1 - x)[y] != cell;
            wrong += cw.constScanLine(x)[h - 1 - y] != cell;
            wrong += flipped.constScanLine(y)[w - 1 - x] != cell;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < stretched.width(); ++x)
            wrong += stretched.constScanLine(y)[x]
                != src.constScanLine(y)[ResampleSourceLine(x, w, stretched.width())];
    EXPECT_EQ(wrong, 0);
}
