// Mapping a picture onto a quadrilateral.
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <climits>

using Rows = std::vector<std::vector<int>>;

TEST(PictureWarp, MapsOntoTheCorners)
{
    const QImage src = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } });
    struct Case {
        const char *name;
        std::array<TPoint, 4> corners;
        Rows expected;
    };
    const Case cases[] = {
        { "its own rectangle is exact", { { { 0, 0 }, { 2, 0 }, { 2, 1 }, { 0, 1 } } },
            { { 1, 2, 3 }, { 4, 5, 6 } } },
        { "placed elsewhere, only the box counts", { { { 10, 5 }, { 12, 5 }, { 12, 6 }, { 10, 6 } } },
            { { 1, 2, 3 }, { 4, 5, 6 } } },
        { "corners in mirrored order mirror it", { { { 2, 0 }, { 0, 0 }, { 0, 1 }, { 2, 1 } } },
            { { 3, 2, 1 }, { 6, 5, 4 } } },
        { "upside down", { { { 0, 1 }, { 2, 1 }, { 2, 0 }, { 0, 0 } } }, { { 4, 5, 6 }, { 1, 2, 3 } } },
        { "twice as large", { { { 0, 0 }, { 5, 0 }, { 5, 3 }, { 0, 3 } } },
            { { 1, 1, 2, 2, 3, 3 }, { 1, 1, 2, 2, 3, 3 }, { 4, 4, 5, 5, 6, 6 }, { 4, 4, 5, 5, 6, 6 } } },
        // Half way down the trapezoid spans columns 0.5 to 3.5: the cells outside it are index 0.
        { "trapezoid", { { { 1, 0 }, { 3, 0 }, { 4, 2 }, { 0, 2 } } },
            { { 0, 1, 2, 3, 0 }, { 0, 4, 5, 6, 0 }, { 4, 4, 5, 6, 6 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage dest;
        ASSERT_TRUE(WarpPictureToCorners(src, dest, c.corners));
        EXPECT_EQ(PictureRows(dest), c.expected);
        EXPECT_EQ(dest.colorTable(), src.colorTable());
    }

    // Quadrilaterals without area, or too large a box, are refused and leave Dest alone.
    const std::array<TPoint, 4> refused[] = {
        { { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 3 } } },
        { { { 4, 4 }, { 4, 4 }, { 4, 4 }, { 4, 4 } } },
        { { { 0, 0 }, { 70000, 0 }, { 70000, 2 }, { 0, 2 } } },
        { { { INT_MIN, INT_MIN }, { INT_MAX, INT_MIN }, { INT_MAX, INT_MAX }, { INT_MIN, INT_MAX } } },
    };
    for (const auto &corners : refused) {
        QImage dest = MakePicture({ { 7 } });
        EXPECT_FALSE(WarpPictureToCorners(src, dest, corners));
        EXPECT_EQ(PictureRows(dest), (Rows { { 7 } }));
    }
}
