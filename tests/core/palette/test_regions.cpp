#include "core/palette/regions.h"

#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <vector>

using Rows = std::vector<std::vector<int>>;

namespace {
TPalette256 paletteWithDuplicate()
{
    TPalette256 p = GreyPalette();
    p[9] = p[3];
    return p;
}

TPalette256 paletteOf(const QImage &img)
{
    TPalette256 p;
    GetBitmapPalette(img, p);
    return p;
}
} // namespace

TEST(Regions, BoxIsClampedToThePicture)
{
    EXPECT_EQ(ClampedRegionBox(QRegion(-2, 1, 5, 10), 4, 6), (TRect { 0, 1, 3, 6 }));
    EXPECT_EQ(ClampedRegionBox(QRegion(QRect(1, 1, 2, 2)) + QRegion(QRect(3, 4, 9, 1)), 6, 5),
        (TRect { 1, 1, 6, 5 }));
    EXPECT_EQ(ClampedRegionBox(QRegion(), 4, 6), TRect {});
    EXPECT_EQ(ClampedRegionBox(QRegion(10, 0, 3, 3), 4, 6), TRect {});
}

TEST(Regions, CopyRegionBoxKeepsOnlyThePartInsideThePicture)
{
    const QImage src
        = MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 } }, paletteWithDuplicate());
    QImage dest;
    ASSERT_TRUE(CopyRegionBoxToBitmap(src, dest, QRegion(2, 1, 10, 10)));
    EXPECT_EQ(PictureRows(dest), (Rows { { 7, 8 }, { 11, 12 } }));
    EXPECT_EQ(dest.format(), QImage::Format_Indexed8);
    EXPECT_EQ(paletteOf(dest), paletteWithDuplicate());

    // An elliptic region copies its whole box.
    ASSERT_TRUE(CopyRegionBoxToBitmap(src, dest, QRegion(0, 0, 3, 3, QRegion::Ellipse)));
    EXPECT_EQ(PictureRows(dest), (Rows { { 1, 2, 3 }, { 5, 6, 7 }, { 9, 10, 11 } }));

    const QImage kept = dest;
    EXPECT_FALSE(CopyRegionBoxToBitmap(src, dest, QRegion()));
    EXPECT_FALSE(CopyRegionBoxToBitmap(src, dest, QRegion(-5, -5, 3, 3)));
    EXPECT_EQ(dest, kept);
}

TEST(Regions, StretchRegionBoxDropsOrRepeatsCells)
{
    const QImage src = MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 } });
    QImage dest;
    ASSERT_TRUE(StretchRegionBoxToBitmap(src, QRegion(1, 0, 2, 2), dest, 4, 3));
    EXPECT_EQ(PictureRows(dest), (Rows { { 2, 2, 3, 3 }, { 2, 2, 3, 3 }, { 6, 6, 7, 7 } }));
    ASSERT_TRUE(StretchRegionBoxToBitmap(src, QRegion(0, 0, 9, 9), dest, 2, 1));
    EXPECT_EQ(PictureRows(dest), (Rows { { 5, 7 } })) << "one row of three: the middle one";
    EXPECT_EQ(paletteOf(dest), GreyPalette());

    const QImage kept = dest;
    EXPECT_FALSE(StretchRegionBoxToBitmap(src, QRegion(0, 0, 2, 2), dest, 0, 3));
    EXPECT_FALSE(StretchRegionBoxToBitmap(src, QRegion(0, 0, 2, 2), dest, 3, 65536));
    EXPECT_FALSE(StretchRegionBoxToBitmap(src, QRegion(), dest, 3, 3));
    EXPECT_EQ(dest, kept);
}

// Stretching a region's box and resampling a whole picture drop or repeat the same lines:
// each destination line shows the source line under its centre.
TEST(Regions, StretchPicksTheSameLinesAsResample)
{
    struct Case {
        int from, to;
        std::vector<int> lines; // source line of every destination line
    } cases[] = {
        { 3, 2, { 0, 2 } },
        { 2, 3, { 0, 0, 1 } },
        { 4, 2, { 0, 2 } },
        { 5, 3, { 0, 2, 4 } },
        { 7, 3, { 1, 3, 5 } },
        { 3, 1, { 1 } },
        { 1, 4, { 0, 0, 0, 0 } },
        { 4, 6, { 0, 0, 1, 2, 2, 3 } },
        { 3, 3, { 0, 1, 2 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        // One spare line before and after the box, so that the box's own offset counts.
        const int n = c.from + 2;
        QImage wide = NewPicture(n, 2, GreyPalette());
        QImage tall = NewPicture(2, n, GreyPalette());
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < 2; ++j) {
                wide.scanLine(j)[i] = std::uint8_t(10 * i + j);
                tall.scanLine(i)[j] = std::uint8_t(10 * i + j);
            }
        Rows wideExpected(2), tallExpected;
        for (int j = 0; j < 2; ++j)
            for (int line : c.lines)
                wideExpected[size_t(j)].push_back(10 * (line + 1) + j);
        for (int line : c.lines)
            tallExpected.push_back({ 10 * (line + 1), 10 * (line + 1) + 1 });

        QImage dest;
        ASSERT_TRUE(StretchRegionBoxToBitmap(wide, QRegion(1, 0, c.from, 2), dest, c.to, 2));
        EXPECT_EQ(PictureRows(dest), wideExpected) << "columns of a region box";
        ASSERT_TRUE(StretchRegionBoxToBitmap(tall, QRegion(0, 1, 2, c.from), dest, 2, c.to));
        EXPECT_EQ(PictureRows(dest), tallExpected) << "rows of a region box";

        QImage boxOnly;
        ASSERT_TRUE(CopyRegionBoxToBitmap(wide, boxOnly, QRegion(1, 0, c.from, 2)));
        ASSERT_TRUE(ResamplePicture(dest, boxOnly, c.to, 2, GreyPalette(), true));
        EXPECT_EQ(PictureRows(dest), wideExpected) << "columns of a whole picture";
        ASSERT_TRUE(CopyRegionBoxToBitmap(tall, boxOnly, QRegion(0, 1, 2, c.from)));
        ASSERT_TRUE(ResamplePicture(dest, boxOnly, 2, c.to, GreyPalette(), true));
        EXPECT_EQ(PictureRows(dest), tallExpected) << "rows of a whole picture";
    }
}

TEST(Regions, RemoveBlankColumnsInOnePass)
{
    // Columns 1 and 2 are uniform (column 2 through two entries of one colour), and so is 4.
    const QImage start = MakePicture(
        { { 1, 5, 3, 0, 7, 2 }, { 2, 5, 9, 1, 7, 2 }, { 1, 5, 3, 0, 7, 2 } }, paletteWithDuplicate());
    struct Case {
        const char *name;
        QRegion region;
        int removed;
        Rows rows;
    } cases[] = {
        { "box of columns 1 to 4", QRegion(1, 0, 4, 3), 3, { { 1, 0, 2 }, { 2, 1, 2 }, { 1, 0, 2 } } },
        { "box reaching past the picture", QRegion(4, 2, 10, 1), 2,
            { { 1, 5, 3, 0 }, { 2, 5, 9, 1 }, { 1, 5, 3, 0 } } },
        { "box of uniform columns only", QRegion(1, 0, 2, 1), 2,
            { { 1, 0, 7, 2 }, { 2, 1, 7, 2 }, { 1, 0, 7, 2 } } },
        { "no blank column in the box", QRegion(0, 0, 1, 3), 0, PictureRows(start) },
        { "no region", QRegion(), 0, PictureRows(start) },
    };
    for (const auto &c : cases) {
        QImage bmp = start.copy(), test = start.copy();
        EXPECT_EQ(RemoveBlankColumnsInRegion(test, bmp, c.region), c.removed) << c.name;
        EXPECT_EQ(PictureRows(bmp), c.rows) << c.name;
        EXPECT_EQ(PictureRows(test), c.rows) << c.name;
        EXPECT_EQ(paletteOf(bmp), paletteWithDuplicate()) << c.name;
    }

    // Blank columns are judged on the test picture; the picture keeps at least one column,
    // the last, as columns go from the left.
    QImage bmp = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } });
    QImage test = MakePicture({ { 7, 8, 9 }, { 7, 8, 9 } });
    EXPECT_EQ(RemoveBlankColumnsInRegion(test, bmp, QRegion(0, 0, 3, 2)), 2);
    EXPECT_EQ(PictureRows(bmp), (Rows { { 3 }, { 6 } }));
    EXPECT_EQ(PictureRows(test), (Rows { { 9 }, { 9 } }));
    EXPECT_EQ(RemoveBlankColumnsInRegion(test, bmp, QRegion(0, 0, 3, 2)), 0);
    EXPECT_EQ(bmp.width(), 1);
}

TEST(Regions, RemoveAlternateColumns)
{
    const QImage src = MakePicture({ { 0, 1, 2, 3, 4, 5, 6, 7 }, { 10, 11, 12, 13, 14, 15, 16, 17 } });
    TPalette256 target = GreyPalette();
    target[0] = { 9, 8, 7, 0 };
    struct Case {
        const char *name;
        QRegion region;
        int parity;
        Rows rows;
    } cases[] = {
        { "odd numbers in columns 0 to 5", QRegion(0, 0, 6, 2), 1,
            { { 1, 3, 5, 6, 7 }, { 11, 13, 15, 16, 17 } } },
        { "even numbers in columns 0 to 5", QRegion(0, 0, 6, 2), 0,
            { { 0, 2, 4, 6, 7 }, { 10, 12, 14, 16, 17 } } },
        { "odd numbers up to the right edge", QRegion(5, 1, 3, 1), 1,
            { { 0, 1, 2, 3, 4, 5, 7 }, { 10, 11, 12, 13, 14, 15, 17 } } },
        { "even numbers, box past the right edge", QRegion(5, 0, 40, 1), 0,
            { { 0, 1, 2, 3, 4, 6 }, { 10, 11, 12, 13, 14, 16 } } },
        { "box past the left edge", QRegion(-4, 0, 7, 2), 1,
            { { 1, 3, 4, 5, 6, 7 }, { 11, 13, 14, 15, 16, 17 } } },
    };
    for (const auto &c : cases) {
        QImage dest = src.copy();
        ASSERT_TRUE(RemoveAlternateColumns(src, dest, target, c.region, c.parity)) << c.name;
        EXPECT_EQ(PictureRows(dest), c.rows) << c.name;
        EXPECT_EQ(paletteOf(dest), target) << c.name;
    }

    const QImage narrow = MakePicture({ { 4 }, { 5 } });
    QImage dest = narrow.copy();
    EXPECT_FALSE(RemoveAlternateColumns(narrow, dest, target, QRegion(0, 0, 1, 2), 1))
        << "no column would be left";
    EXPECT_FALSE(RemoveAlternateColumns(src, dest, target, QRegion(), 1));
    EXPECT_EQ(dest, narrow);
    // A one-column picture keeps its column when its number has the other parity.
    ASSERT_TRUE(RemoveAlternateColumns(narrow, dest, target, QRegion(0, 0, 1, 2), 0));
    EXPECT_EQ(PictureRows(dest), (Rows { { 4 }, { 5 } }));
}
