// Inserting and deleting rows and columns.
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <climits>

using Rows = std::vector<std::vector<int>>;

namespace {
constexpr TColor Grey9 = 0x00090909; // shown by entry 9 of the grey palette
} // namespace

TEST(PictureLines, InsertAndDelete)
{
    struct Case {
        const char *name;
        bool insert, rows;
        int pos, count;
        bool result;
        Rows expected;
    };
    const Rows grid = { { 1, 2, 3 }, { 4, 5, 6 } };
    const Case cases[] = {
        { "two rows at the top", true, true, 0, 2, true,
            { { 9, 9, 9 }, { 9, 9, 9 }, { 1, 2, 3 }, { 4, 5, 6 } } },
        { "a row in the middle", true, true, 1, 1, true, { { 1, 2, 3 }, { 9, 9, 9 }, { 4, 5, 6 } } },
        { "a row at the end", true, true, 2, 1, true, { { 1, 2, 3 }, { 4, 5, 6 }, { 9, 9, 9 } } },
        { "columns before column 1", true, false, 1, 2, true, { { 1, 9, 9, 2, 3 }, { 4, 9, 9, 5, 6 } } },
        { "a column at the end", true, false, 3, 1, true, { { 1, 2, 3, 9 }, { 4, 5, 6, 9 } } },
        { "insert past the end refused", true, true, 3, 1, false, grid },
        { "insert before 0 refused", true, false, -1, 1, false, grid },
        { "insert nothing refused", true, true, 0, 0, false, grid },
        { "delete the top row", false, true, 1, 1, true, { { 4, 5, 6 } } },
        { "delete the bottom row", false, true, 2, 1, true, { { 1, 2, 3 } } },
        { "delete two columns from the first", false, false, 1, 2, true, { { 3 }, { 6 } } },
        { "delete the middle column", false, false, 2, 1, true, { { 1, 3 }, { 4, 6 } } },
        { "delete every row refused", false, true, 1, 2, false, grid },
        { "delete every column refused", false, false, 1, 3, false, grid },
        { "delete past the end refused", false, false, 3, 2, false, grid },
        { "delete at position 0 refused", false, true, 0, 1, false, grid },
        { "delete at the smallest position refused", false, true, INT_MIN, 1, false, grid },
        { "delete columns at the smallest position refused", false, false, INT_MIN, 2, false, grid },
        { "delete at the largest position refused", false, false, INT_MAX, INT_MAX, false, grid },
        { "insert at the smallest position refused", true, true, INT_MIN, 1, false, grid },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage bmp = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } });
        // The work picture holds other cells, as the grid's reference copy may.
        QImage work = MakePicture({ { 11, 12, 13 }, { 14, 15, 16 } });
        const bool ok = c.insert ? InsertPictureLines(bmp, work, c.pos, Grey9, c.rows, c.count)
                                 : DeletePictureLines(bmp, work, c.pos, Grey9, c.rows, c.count);
        EXPECT_EQ(ok, c.result);
        EXPECT_EQ(PictureRows(bmp), c.expected);
        EXPECT_EQ(work.size(), bmp.size());
        if (!ok) {
            EXPECT_EQ(PictureRows(work), (Rows { { 11, 12, 13 }, { 14, 15, 16 } }));
        }
    }

    // Deleting removes the same lines from a work picture of the same size.
    QImage bmp = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } });
    QImage work = MakePicture({ { 11, 12, 13 }, { 14, 15, 16 } });
    ASSERT_TRUE(DeletePictureLines(bmp, work, 2, 0, false, 1));
    EXPECT_EQ(PictureRows(work), (Rows { { 11, 13 }, { 14, 16 } }));

    // Value is a colour, not an index: the new cells take the first entry showing it (here
    // 3 and 7 both show (50, 60, 70)), else the nearest entry.
    TPalette256 pal = GreyPalette();
    pal[3] = pal[7] = { 50, 60, 70, 0 };
    struct ColourCase {
        const char *name;
        TColor value;
        Rows expected;
    };
    const ColourCase colours[] = {
        { "palette-relative colour shown twice", 0x02463C32, { { 1, 3, 2 }, { 4, 3, 5 } } },
        { "plain colour shown twice", 0x00463C32, { { 1, 3, 2 }, { 4, 3, 5 } } },
        { "colour no entry shows", 0x000A0909, { { 1, 9, 2 }, { 4, 9, 5 } } },
    };
    for (const ColourCase &c : colours) {
        SCOPED_TRACE(c.name);
        QImage coloured = MakePicture({ { 1, 2 }, { 4, 5 } }, pal);
        QImage scratch;
        ASSERT_TRUE(InsertPictureLines(coloured, scratch, 1, c.value, false, 1));
        EXPECT_EQ(PictureRows(coloured), c.expected);
    }

    // A result beyond the largest side is refused.
    QImage tall = NewPicture(1, MaxPictureSide, GreyPalette());
    EXPECT_FALSE(InsertPictureLines(tall, work, 0, 0, true, 1));
    EXPECT_EQ(tall.height(), MaxPictureSide);
}
