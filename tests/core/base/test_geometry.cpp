#include "core/base/geometry.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <limits>

namespace {
TRect R(int l, int t, int r, int b)
{
    return TRect { l, t, r, b };
}
} // namespace

TEST(Geometry, RotateRoundsHalfAwayFromZero)
{
    TPoint r;
    RotatePoint({ 10, 0 }, { 0, 0 }, r, M_PI / 2);
    EXPECT_EQ(r, (TPoint { 0, 10 }));
    RotatePointSinCos({ 5, 7 }, { 2, 3 }, r, -1, 0); // half turn about (2, 3)
    EXPECT_EQ(r, (TPoint { -1, -1 }));
    // dX = 1, dY = 0, cos = sin = 0.5: both coordinates land on .5 exactly.
    RotatePointSinCos({ 1, 0 }, { 0, 0 }, r, 0.5, 0.5);
    EXPECT_EQ(r, (TPoint { 1, 1 }));
    RotatePointSinCos({ -1, 0 }, { 0, 0 }, r, 0.5, 0.5);
    EXPECT_EQ(r, (TPoint { -1, -1 }));
    RotatePointSinCos({ 5, 0 }, { 0, 0 }, r, 0.5, -0.5); // 2.5 and -2.5
    EXPECT_EQ(r, (TPoint { 3, -3 }));
}

TEST(Geometry, RotateRoundsTheFinalCoordinateAboutAnyCentre)
{
    struct Case {
        const char *name;
        TPoint p, centre;
        double cosA, sinA;
        TPoint expected;
    } cases[] = {
        // dX = 5, dY = 1: exactly (-7.5, -9.5), away from zero.
        { "negative centre, halves", { -5, -9 }, { -10, -10 }, 0.5, 0, { -8, -10 } },
        // dX = -5, dY = -1: exactly (7.5, 9.5).
        { "positive centre, halves", { 5, 9 }, { 10, 10 }, 0.5, 0, { 8, 10 } },
        // dX = 1, dY = 0: exactly (3.5, -1.5).
        { "mixed centre, halves", { 4, -2 }, { 3, -2 }, 0.5, 0.5, { 4, -2 } },
        // dX = -1, dY = 2: exactly (0.5, 6).
        { "centre right of the origin", { 0, 7 }, { 1, 5 }, 0.5, 0, { 1, 6 } },
        // A quarter turn about (2, 3) lands on whole cells.
        { "quarter turn", { 5, 3 }, { 2, 3 }, 0, 1, { 2, 6 } },
        { "half turn", { 5, 7 }, { 2, 3 }, -1, 0, { -1, -1 } },
        { "no turn", { -4, 9 }, { -7, -7 }, 1, 0, { -4, 9 } },
    };
    for (const Case &c : cases) {
        TPoint r { 99, 99 };
        RotatePointSinCos(c.p, c.centre, r, c.cosA, c.sinA);
        EXPECT_EQ(r, c.expected) << c.name;
    }
    // Far-off points are held to the int range instead of overflowing.
    TPoint r;
    RotatePointSinCos({ 2'000'000'000, 0 }, { 2'000'000'000, 0 }, r, 1, 0);
    EXPECT_EQ(r, (TPoint { 2'000'000'000, 0 }));
    RotatePointSinCos({ 2'000'000'000, 0 }, { -2'000'000'000, 0 }, r, -1, 0);
    EXPECT_EQ(r.X, std::numeric_limits<int>::min());
}

TEST(Geometry, Layouts)
{
    struct Case {
        const char *name;
        TPictureLayout got, expected; // expected: bounds, A, B
    } cases[] = {
        { "left right", LayoutLeftRight(QSize(3, 5), QSize(4, 2)),
            { R(0, 0, 7, 5), R(0, 0, 3, 5), R(3, 0, 7, 2) } },
        { "top bottom", LayoutTopBottom(QSize(3, 5), QSize(4, 2)),
            { R(0, 0, 4, 7), R(0, 0, 3, 5), R(0, 5, 4, 7) } },
        // A 10 x 6 with its top at 2 and 1 column cut, B 8 x 9 at top 1 with 3 cut.
        { "left right with offsets", LayoutLeftRightOffset(QSize(10, 6), 2, 1, QSize(8, 9), 1, 3),
            { R(0, 0, 14, 9), R(0, 1, 9, 7), R(9, 0, 14, 9) } },
        // A 6 x 10 at left 2 with 1 row cut, B 9 x 8 at left 1 with 3 cut.
        { "top bottom with offsets", LayoutTopBottomOffset(QSize(6, 10), 2, 1, QSize(9, 8), 1, 3),
            { R(0, 0, 9, 14), R(1, 0, 7, 9), R(0, 9, 9, 14) } },
        // Controls: A at (5, 4) 10 x 6, B at (2, 1) 8 x 9, offset 3.
        { "controls left right", LayoutControlsLeftRight(QRect(5, 4, 10, 6), QRect(2, 1, 8, 9), 3),
            { R(0, 0, 17, 9), R(0, 3, 7, 9), R(7, 0, 17, 9) } },
        { "controls top bottom", LayoutControlsTopBottom(QRect(4, 5, 6, 10), QRect(1, 2, 9, 8), 3),
            { R(0, 0, 9, 17), R(3, 0, 9, 7), R(0, 7, 9, 17) } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got.Bounds, c.expected.Bounds);
        EXPECT_EQ(c.got.RectA, c.expected.RectA);
        EXPECT_EQ(c.got.RectB, c.expected.RectB);
    }
}

TEST(Geometry, SmallHelpers)
{
    int dx = 0, dy = 0;
    PointDelta({ 3, 4 }, { 1, 9 }, dx, dy);
    EXPECT_EQ(dx, -2);
    EXPECT_EQ(dy, 5);
    TRect r = R(1, 2, 3, 4);
    OffsetRectBy(r, 10, -1);
    EXPECT_EQ(r, R(11, 1, 13, 3));
    TPoint p { 1, 1 };
    OffsetPointBy(p, -2, 3);
    EXPECT_EQ(p, (TPoint { -1, 4 }));

    TRotateArray src(2);
    src[0] = TDynArray<std::int8_t> { 1, 2, 3 };
    src[1] = TDynArray<std::int8_t> { 4 };
    TRotateArray dest;
    CopyRotateArray(src, dest);
    ASSERT_EQ(dest.size(), 2u);
    EXPECT_EQ(dest[1], (TDynArray<std::int8_t> { 4, 0, 0 }));
    EXPECT_FALSE(dest[0].sharesWith(src[0]));
}

TEST(Geometry, DashedOutlineIsBlackUnderWhiteDots)
{
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    TPoint pts[9] = { { 2, 2 }, { 10, 2 }, { 17, 2 }, { 17, 10 }, { 17, 17 }, { 10, 17 }, { 2, 17 },
        { 2, 10 }, { 9, 9 } };
    {
        QPainter painter(&img);
        DrawDashedOutline(painter, pts);
    }
    int black = 0, white = 0;
    for (int x = 2; x <= 17; ++x) {
        const QRgb c = img.pixel(x, 2);
        black += c == qRgb(0, 0, 0);
        white += c == qRgb(255, 255, 255);
    }
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
    EXPECT_EQ(black + white, 16);
    EXPECT_EQ(img.pixel(9, 9), qRgb(255, 0, 0)); // point 8 is not part of the outline

    img.fill(Qt::red);
    {
        QPainter painter(&img);
        DrawClosedSelectionFrame(painter, pts); // 0 -> 2 -> 4 -> 6
    }
    EXPECT_NE(img.pixel(17, 12), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(2, 12), qRgb(255, 0, 0)); // no closing side back to point 0
}
