// Jump start, splitting and interleaving.
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

using Rows = std::vector<std::vector<int>>;

TEST(PictureLayout, JumpStartSplitAndInterleave)
{
    // Jump start of 5 x 4: rows 2 and 3 on top, then rows 0 and 1 with columns 2..4 first.
    const QImage src = MakePicture(
        { { 0, 1, 2, 3, 4 }, { 10, 11, 12, 13, 14 }, { 20, 21, 22, 23, 24 }, { 30, 31, 32, 33, 34 } });
    struct JumpCase {
        const char *name;
        QImage src;
        Rows expected;
    };
    const JumpCase jumps[] = {
        { "5 x 4", src,
            { { 20, 21, 22, 23, 24 }, { 30, 31, 32, 33, 34 }, { 2, 3, 4, 0, 1 }, { 12, 13, 14, 10, 11 } } },
        { "3 x 3", MakePicture({ { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 } }),
            { { 4, 5, 6 }, { 7, 8, 9 }, { 2, 3, 1 } } },
        { "1 x 1", MakePicture({ { 7 } }), { { 7 } } },
    };
    for (const JumpCase &c : jumps) {
        SCOPED_TRACE(c.name);
        QImage dest = c.src.copy();
        ASSERT_TRUE(JumpStartPicture(dest, c.src));
        EXPECT_EQ(PictureRows(dest), c.expected);
    }

    struct SplitCase {
        const char *name;
        int count;
        std::vector<Rows> pieces;
    };
    const SplitCase splits[] = {
        { "two", 2,
            { { { 0, 2, 4 }, { 10, 12, 14 }, { 20, 22, 24 }, { 30, 32, 34 } },
                { { 1, 3, 0 }, { 11, 13, 0 }, { 21, 23, 0 }, { 31, 33, 0 } } } },
        { "three", 3,
            { { { 0, 3 }, { 10, 13 }, { 20, 23 }, { 30, 33 } },
                { { 1, 4 }, { 11, 14 }, { 21, 24 }, { 31, 34 } },
                { { 2, 0 }, { 12, 0 }, { 22, 0 }, { 32, 0 } } } },
        { "one", 1, { PictureRows(src) } },
        { "more pieces than columns", 6,
            { { { 0 }, { 10 }, { 20 }, { 30 } }, { { 1 }, { 11 }, { 21 }, { 31 } },
                { { 2 }, { 12 }, { 22 }, { 32 } }, { { 3 }, { 13 }, { 23 }, { 33 } },
                { { 4 }, { 14 }, { 24 }, { 34 } }, { { 0 }, { 0 }, { 0 }, { 0 } } } },
    };
    for (const SplitCase &c : splits) {
        SCOPED_TRACE(c.name);
        TBmpArray pieces;
        ASSERT_TRUE(SplitPicture(pieces, c.count, src));
        ASSERT_EQ(pieces.size(), c.pieces.size());
        for (size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(PictureRows(pieces[i]), c.pieces[i]);
            EXPECT_EQ(pieces[i].colorTable(), src.colorTable());
        }
    }
    TBmpArray none;
    EXPECT_FALSE(SplitPicture(none, 0, src));

    // Interleaving puts split pieces back: two pieces of width 3 placed 1 apart.
    const QImage placed = MakePicture({ { 0, 2, 4, 99, 1, 3, 5 }, { 6, 8, 10, 99, 7, 9, 11 } });
    struct PartCase {
        const char *name;
        int count, gap, width, height;
        Rows expected;
    };
    const PartCase parts[] = {
        { "two pieces with a gap", 2, 1, 3, 2, { { 0, 1, 2, 3, 4, 5 }, { 6, 7, 8, 9, 10, 11 } } },
        { "sources beyond the picture stay 0", 2, 2, 3, 3,
            { { 0, 3, 2, 5, 4, 0 }, { 6, 9, 8, 11, 10, 0 }, { 0, 0, 0, 0, 0, 0 } } },
        { "one piece copies", 1, 0, 2, 1, { { 0, 2 } } },
        // A gap far beyond the picture leaves the later pieces' cells 0.
        { "huge gap", 2, 2147483647, 3, 1, { { 0, 0, 2, 0, 4, 0 } } },
    };
    for (const PartCase &c : parts) {
        SCOPED_TRACE(c.name);
        QImage dest;
        ASSERT_TRUE(CopyPicturePart(dest, placed, GreyPalette(), c.count, c.gap, c.width, c.height));
        EXPECT_EQ(PictureRows(dest), c.expected);
    }
    QImage dest;
    EXPECT_FALSE(CopyPicturePart(dest, placed, GreyPalette(), 0, 0, 3, 2));
    EXPECT_FALSE(CopyPicturePart(dest, placed, GreyPalette(), 2, 0, 40000, 2));
}
