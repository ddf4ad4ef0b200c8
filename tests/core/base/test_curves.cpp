#include "core/base/curves.h"
#include "core/base/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(MathLib, PolyNurbsEndsOnTheOuterPointsAndStaysInTheirHull)
{
    const std::vector<TPointEx> ctrl = { { 0, 0 }, { 10, 20 }, { 30, 20 }, { 40, 0 }, { 50, 10 } };
    const auto curve = PolyNurbs(ctrl, 30);
    ASSERT_EQ(curve.size(), 2u * 30 + 1) << "two spans of 30 segments, both ends included";
    EXPECT_EQ(curve.front(), (TPointEx { 0, 0 }));
    EXPECT_EQ(curve.back(), (TPointEx { 50, 10 }));
    for (const TPointEx &p : curve) {
        EXPECT_GE(p.X, 0);
        EXPECT_LE(p.X, 50);
        EXPECT_GE(p.Y, 0);
        EXPECT_LE(p.Y, 20);
    }
    // X grows along a curve whose control points grow in X.
    for (std::size_t i = 1; i < curve.size(); ++i)
        EXPECT_GT(curve[i].X, curve[i - 1].X);
}

TEST(MathLib, PolyNurbsSmallInputs)
{
    EXPECT_TRUE(PolyNurbs({}, 30).empty());
    EXPECT_TRUE(PolyNurbs({ { 1, 2 }, { 3, 4 } }, 0).empty());
    EXPECT_EQ(PolyNurbs({ { 1, 2 } }, 30), (std::vector<TPointEx> { { 1, 2 } }));
    // Two points: the straight line between them, evenly spaced.
    const auto line = PolyNurbs({ { 0, 0 }, { 30, 60 } }, 30);
    ASSERT_EQ(line.size(), 31u);
    EXPECT_DOUBLE_EQ(line[10].X, 10);
    EXPECT_DOUBLE_EQ(line[10].Y, 20);
    // Three points: a quadratic through the ends, midway at the average of the corner rule.
    const auto quad = PolyNurbs({ { 0, 0 }, { 10, 10 }, { 20, 0 } }, 2);
    ASSERT_EQ(quad.size(), 3u);
    EXPECT_DOUBLE_EQ(quad[1].X, 10);
    EXPECT_DOUBLE_EQ(quad[1].Y, 5);
}

TEST(MathLib, AngleAndPerpendicularFoot)
{
    const TPointEx c { 5, 5 };
    const TPointEx right { 25, 5 };
    const double pi = std::numbers::pi;
    EXPECT_DOUBLE_EQ(AngleFromA2B(c, right, c, { 5, 15 }), pi / 2);
    EXPECT_DOUBLE_EQ(AngleFromA2B(c, right, c, { 5, -15 }), -pi / 2);
    EXPECT_DOUBLE_EQ(AngleFromA2B(c, right, c, { -15, 5 }), pi);
    EXPECT_DOUBLE_EQ(AngleFromA2B(c, right, c, { 30, 5 }), 0);
    EXPECT_DOUBLE_EQ(AngleFromA2B(c, { 5, 25 }, c, { -15, 5 }), pi / 2)
        << "from the first direction, not the x axis";

    EXPECT_EQ(GetPointUpright({ 3, 7 }, { 0, 0 }, { 10, 0 }), (TPointEx { 3, 0 }));
    EXPECT_EQ(GetPointUpright({ 0, 4 }, { 0, 0 }, { 4, 4 }), (TPointEx { 2, 2 }));
    EXPECT_EQ(GetPointUpright({ 9, 9 }, { 1, 1 }, { 1, 1 }), (TPointEx { 1, 1 }));
}

TEST(MathLib, NurbsCurvePointsCopiesTheCurve)
{
    const TPointEx ctrl[] = { { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 } };
    int count = -1;
    std::vector<TPointEx> curve { { 7, 7 } };
    NurbsCurvePoints(ctrl, 4, count, curve);
    EXPECT_EQ(count, 31);
    ASSERT_EQ(curve.size(), 31u);
    EXPECT_EQ(curve.front(), (TPointEx { 0, 0 }));
    EXPECT_EQ(curve.back(), (TPointEx { 0, 10 }));
    NurbsCurvePoints(ctrl, 0, count, curve);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(curve.empty());
}
