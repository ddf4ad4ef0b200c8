#include "shell/browselayout.h"

#include <gtest/gtest.h>

// The thumbnail list of 120-pixel thumbnails 3 pixels apart.
TEST(BrowseLayout, ColumnsRowsPositionsAndScrollRange)
{
    const TBrowseLayout layout; // 120 x 120, spacing 3
    struct Case {
        int width, columns;
    };
    // 2 x 123 = 246: a pixel less leaves one column, and however narrow there is one.
    for (const Case c : { Case { 250, 2 }, Case { 246, 2 }, Case { 245, 1 }, Case { 30, 1 }, Case { 0, 1 } })
        EXPECT_EQ(layout.Columns(c.width), c.columns) << c.width;
    EXPECT_EQ(TBrowseLayout::Rows(5, 2), 3);
    EXPECT_EQ(TBrowseLayout::Rows(4, 2), 2);
    EXPECT_EQ(TBrowseLayout::Rows(0, 2), 1);

    // Thumbnail 3 of five in two columns: second column, second row.
    EXPECT_EQ(layout.ThumbnailPosition(3, 2, 0), QPoint(2 * 3 + 120, 2 * 3 + 120));
    EXPECT_EQ(layout.ThumbnailPosition(3, 2, 50), QPoint(126, 126 - 50)) << "the scroll position moves it up";
    EXPECT_EQ(layout.ThumbnailPosition(0, 1, 0), QPoint(3, 3));
    EXPECT_EQ(layout.ThumbnailPosition(4, 1, 0), QPoint(3, 5 * 3 + 4 * 120));

    // Three rows take 369 pixels: they fit in 400 (maximum 3, disabled), not in 300.
    EXPECT_EQ(layout.ScrollMaximum(5, 250, 400), 3);
    EXPECT_FALSE(TBrowseLayout::ScrollEnabled(layout.ScrollMaximum(5, 250, 400)));
    EXPECT_EQ(layout.ScrollMaximum(5, 250, 300), 369 - 300 + 3);
    EXPECT_TRUE(TBrowseLayout::ScrollEnabled(layout.ScrollMaximum(5, 250, 300)));
    EXPECT_EQ(layout.ScrollMaximum(7, 250, 400), 4 * 123 - 400 + 3) << "one more row enables it";
    EXPECT_EQ(layout.ScrollMaximum(0, 250, 400), 3);
}

// Scale by the larger ratio (small pictures are enlarged), sizes and places rounded with
// halves to even, centred in the image (thumbnail + 2) above the caption.
TEST(BrowseLayout, ThumbnailPictureScaleAndPlacement)
{
    struct Case {
        QSize picture;
        int margin, caption;
        QRect expected;
    };
    const QSize thumb(120, 120);
    const Case cases[] = {
        // 114 x 57 in a 122-pixel image: top (122 - 57) / 2 = 32.5 rounds to 32.
        { { 100, 50 }, 3, 0, { 4, 32, 114, 57 } },
        // 114 x 55: top 33.5 rounds to 34.
        { { 114, 55 }, 3, 0, { 4, 34, 114, 55 } },
        // A 10 x 10 picture is enlarged to the room.
        { { 10, 10 }, 3, 0, { 4, 4, 114, 114 } },
        // A caption of 20 leaves 94 rows of room: the height decides.
        { { 100, 100 }, 3, 20, { 14, 4, 94, 94 } },
        // A tall picture: width 1000 / (2000 / 114) = 57.
        { { 1000, 2000 }, 3, 0, { 32, 4, 57, 114 } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(ThumbnailPictureRect(thumb, c.picture, c.margin, c.caption), c.expected)
            << c.picture.width() << "x" << c.picture.height();
    EXPECT_TRUE(ThumbnailPictureRect(thumb, QSize(), 3, 0).isEmpty());
    EXPECT_TRUE(ThumbnailPictureRect(QSize(6, 6), QSize(5, 5), 3, 0).isEmpty())
        << "no room, no division by 0";
}

// The open dialog's preview: at its own size when it fits, else scaled down; centred.
TEST(BrowseLayout, PreviewFitsOrScalesDown)
{
    EXPECT_EQ(PreviewPictureRect(QSize(200, 150), QSize(100, 50)), QRect(50, 50, 100, 50));
    EXPECT_EQ(PreviewPictureRect(QSize(200, 150), QSize(200, 150)), QRect(0, 0, 200, 150));
    EXPECT_EQ(PreviewPictureRect(QSize(200, 150), QSize(400, 150)), QRect(0, 37, 200, 75));
    EXPECT_EQ(PreviewPictureRect(QSize(200, 150), QSize(100, 600)), QRect(87, 0, 25, 150));
    EXPECT_TRUE(PreviewPictureRect(QSize(200, 150), QSize()).isEmpty());
}
