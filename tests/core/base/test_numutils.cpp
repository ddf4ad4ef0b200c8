#include "core/base/numutils.h"

#include <gtest/gtest.h>

#include <limits>

TEST(NumUtils, RoundHalvesToEven)
{
    const struct {
        double in;
        std::int64_t out;
    } cases[] = {
        { 12.5, 12 },
        { 13.5, 14 },
        { -2.5, -2 },
        { -3.5, -4 },
        { 0.5, 0 },
        { -0.5, 0 },
        { 1.5, 2 },
        { 2.4999, 2 },
        { 2.5001, 3 },
        { -2.5001, -3 },
        { -2.4999, -2 },
        { 7.0, 7 },
        { -7.0, -7 },
        { 1e12 + 0.5, 1000000000000 },
        { 0.49999999999999994, 0 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(Round(c.in), c.out) << c.in;
}

TEST(NumUtils, TruncTowardZero)
{
    const struct {
        double in;
        std::int64_t out;
    } cases[] = {
        { 2.9, 2 },
        { -2.9, -2 },
        { 0.99, 0 },
        { -0.99, 0 },
        { 5.0, 5 },
        { -5.0, -5 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(Trunc(c.in), c.out) << c.in;
}

TEST(NumUtils, OutOfRangeClamps)
{
    EXPECT_EQ(Round(1e30), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Round(-1e30), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Trunc(std::numeric_limits<double>::quiet_NaN()), 0);
}
