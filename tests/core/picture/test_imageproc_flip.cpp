// Mirrors, links and rectangle flips.
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

using Rows = std::vector<std::vector<int>>;

namespace {
struct FlipCase {
    const char *name;
    std::function<void(QImage &)> op;
    Rows before;
    Rows after;
};
QImage fromRows(const Rows &rows)
{
    QImage img = NewPicture(int(rows[0].size()), int(rows.size()), GreyPalette());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.scanLine(y)[x] = std::uint8_t(rows[y][x]);
    return img;
}
} // namespace

TEST(PictureFlips, CellsMoveAsDescribed)
{
    const Rows row5 = { { 0, 1, 2, 3, 4 } };
    const Rows col5 = { { 0 }, { 1 }, { 2 }, { 3 }, { 4 } };
    const Rows grid = { { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 } };
    const FlipCase cases[] = {
        { "mirror left to right", [](QImage &b) { EXPECT_TRUE(MirrorLeftToRight(b)); }, row5,
            { { 0, 1, 2, 1, 0 } } },
        { "mirror right to left", [](QImage &b) { EXPECT_TRUE(MirrorRightToLeft(b)); }, row5,
            { { 4, 3, 2, 3, 4 } } },
        { "mirror even width", [](QImage &b) { MirrorLeftToRight(b); }, { { 1, 2, 3, 4 } },
            { { 1, 2, 2, 1 } } },
        { "mirror top to bottom", [](QImage &b) { EXPECT_TRUE(MirrorTopToBottom(b)); }, col5,
            { { 0 }, { 1 }, { 2 }, { 1 }, { 0 } } },
        { "mirror bottom to top", [](QImage &b) { EXPECT_TRUE(MirrorBottomToTop(b)); }, col5,
            { { 4 }, { 3 }, { 2 }, { 3 }, { 4 } } },
        { "link left right odd", [](QImage &b) { EXPECT_TRUE(LinkPictureLeftRight(b)); }, row5,
            { { 3, 4, 2, 0, 1 } } },
        { "link left right even", [](QImage &b) { LinkPictureLeftRight(b); }, { { 1, 2, 3, 4 } },
            { { 3, 4, 1, 2 } } },
        { "link top bottom odd", [](QImage &b) { EXPECT_TRUE(LinkPictureTopBottom(b)); }, col5,
            { { 3 }, { 4 }, { 2 }, { 0 }, { 1 } } },
        { "link top bottom one row", [](QImage &b) { EXPECT_TRUE(LinkPictureTopBottom(b)); }, row5, row5 },
        { "link one column", [](QImage &b) { LinkPictureLeftRight(b); }, col5, col5 },
        { "flip box left right",
            [](QImage &b) {
                FlipRectLeftRight(b, { 1, 0, 4, 2 });
            },
            grid, { { 1, 4, 3, 2 }, { 5, 8, 7, 6 }, { 9, 10, 11, 12 } } },
        { "flip box top bottom",
            [](QImage &b) {
                FlipRectTopBottom(b, { 1, 0, 2, 3 });
            },
            grid, { { 1, 10, 3, 4 }, { 5, 6, 7, 8 }, { 9, 2, 11, 12 } } },
        { "flip whole picture both ways",
            [](QImage &b) {
                FlipRectTopBottom(b, { 0, 0, 4, 3 });
                FlipRectLeftRight(b, { 0, 0, 4, 3 });
            },
            grid, { { 12, 11, 10, 9 }, { 8, 7, 6, 5 }, { 4, 3, 2, 1 } } },
        // Boxes reaching outside are clamped to the picture; an empty box does nothing.
        { "flip clamped box",
            [](QImage &b) {
                FlipRectLeftRight(b, { -5, 2, 2, 10 });
            },
            grid, { { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 10, 9, 11, 12 } } },
        { "flip empty box",
            [](QImage &b) {
                FlipRectTopBottom(b, { 0, 5, 4, 10 });
            },
            grid, grid },
        { "flip inverted box",
            [](QImage &b) {
                FlipRectLeftRight(b, { 3, 0, 2, 3 });
            },
            grid, grid },
        { "flip box of the whole int range",
            [](QImage &b) {
                FlipRectTopBottom(b, { INT_MIN, INT_MIN, INT_MAX, INT_MAX });
            },
            grid, { { 9, 10, 11, 12 }, { 5, 6, 7, 8 }, { 1, 2, 3, 4 } } },
    };
    for (const FlipCase &c : cases) {
        SCOPED_TRACE(c.name);
        QImage img = fromRows(c.before);
        c.op(img);
        EXPECT_EQ(PictureRows(img), c.after);
    }
}

TEST(PictureFlips, RefuseWhatIsNotAnEightBitPicture)
{
    QImage rgb(3, 3, QImage::Format_RGB32);
    QImage none;
    EXPECT_FALSE(MirrorLeftToRight(rgb));
    EXPECT_FALSE(LinkPictureTopBottom(none));
    FlipRectLeftRight(none, { 0, 0, 3, 3 }); // nothing to do, no crash
}

// Rows of every width up to past a few words: both mirrors and the flip of a box that
// leaves the first column out, against their cell-by-cell definitions (the middle cell of
// an odd width kept by the mirrors).
TEST(PictureFlips, MirrorsOfRowsOfEveryWidth)
{
    for (int w = 1; w <= 41; ++w) {
        QImage picture = NewPicture(w, 2, GreyPalette());
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < w; ++x)
                picture.scanLine(y)[x] = std::uint8_t(x * 3 + y * 100);
        QImage leftToRight = picture.copy(), rightToLeft = picture.copy(), flipped = picture.copy();
        ASSERT_TRUE(MirrorLeftToRight(leftToRight));
        ASSERT_TRUE(MirrorRightToLeft(rightToLeft));
        FlipRectLeftRight(flipped, { 1, 0, w, 2 });
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < w; ++x) {
                SCOPED_TRACE(testing::Message() << "width " << w << ", cell " << x << ", row " << y);
                const int mirror = w - 1 - x;
                EXPECT_EQ(leftToRight.scanLine(y)[x], picture.scanLine(y)[std::min(x, mirror)]);
                EXPECT_EQ(rightToLeft.scanLine(y)[x], picture.scanLine(y)[std::max(x, mirror)]);
                EXPECT_EQ(flipped.scanLine(y)[x], picture.scanLine(y)[x == 0 ? 0 : w - x]);
            }
    }
}
