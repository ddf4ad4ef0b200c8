// Resampling, shifts and moving the cells of a box.
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using Rows = std::vector<std::vector<int>>;

TEST(PictureResample, StretchAndCopy)
{
    const QImage src = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } });
    TPalette256 other = GreyPalette();
    other[1] = { 10, 20, 30, 0 };
    struct Case {
        const char *name;
        int w, h;
        bool stretch;
        Rows expected;
    };
    const Case cases[] = {
        { "same size is exact", 3, 2, true, { { 1, 2, 3 }, { 4, 5, 6 } } },
        { "twice as large repeats every cell", 6, 4, true,
            { { 1, 1, 2, 2, 3, 3 }, { 1, 1, 2, 2, 3, 3 }, { 4, 4, 5, 5, 6, 6 }, { 4, 4, 5, 5, 6, 6 } } },
        { "three times as wide", 9, 1, true, { { 1, 1, 1, 2, 2, 2, 3, 3, 3 } } },
        { "half keeps the first of each pair", 2, 1, true, { { 1, 3 } } },
        { "a third keeps the middle", 1, 2, true, { { 2 }, { 5 } } },
        { "five to three columns", 5, 1, true, { { 1, 1, 2, 3, 3 } } },
        { "copy grows with index 0", 4, 3, false, { { 1, 2, 3, 0 }, { 4, 5, 6, 0 }, { 0, 0, 0, 0 } } },
        { "copy cuts", 2, 1, false, { { 1, 2 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage dest = MakePicture({ { 9, 9 } });
        ASSERT_TRUE(ResamplePicture(dest, src, c.w, c.h, other, c.stretch));
        EXPECT_EQ(PictureRows(dest), c.expected);
        EXPECT_EQ(dest.colorTable().size(), 256);
        EXPECT_EQ(dest.colorTable()[1], qRgb(10, 20, 30));
    }
    // Sizes outside 1..65535 are refused and leave Dest alone.
    QImage dest = MakePicture({ { 7 } });
    EXPECT_FALSE(ResamplePicture(dest, src, 0, 2, other, true));
    EXPECT_FALSE(ResamplePicture(dest, src, 3, MaxPictureSide + 1, other, false));
    EXPECT_EQ(PictureRows(dest), (Rows { { 7 } }));
    // Dest may be Src.
    QImage same = src.copy();
    ASSERT_TRUE(ResamplePicture(same, same, 6, 2, GreyPalette(), true));
    EXPECT_EQ(PictureRows(same), (Rows { { 1, 1, 2, 2, 3, 3 }, { 4, 4, 5, 5, 6, 6 } }));
}

TEST(PictureShift, WholePictureAndBox)
{
    const Rows grid = { { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 } };
    struct Case {
        const char *name;
        std::function<bool(QImage &, const QImage &)> op;
        bool result;
        Rows expected;
    };
    const Case cases[] = {
        { "rows by 1", [](QImage &d, const QImage &s) { return ShiftPictureRows(d, s, 1); }, true,
            { { 4, 5, 6 }, { 7, 8, 9 }, { 1, 2, 3 } } },
        { "rows by H-1", [](QImage &d, const QImage &s) { return ShiftPictureRows(d, s, 2); }, true,
            { { 7, 8, 9 }, { 1, 2, 3 }, { 4, 5, 6 } } },
        { "rows by 0 refused", [](QImage &d, const QImage &s) { return ShiftPictureRows(d, s, 0); }, false,
            grid },
        { "rows by H refused", [](QImage &d, const QImage &s) { return ShiftPictureRows(d, s, 3); }, false,
            grid },
        { "columns by 2", [](QImage &d, const QImage &s) { return ShiftPictureColumns(d, s, 2); }, true,
            { { 3, 1, 2 }, { 6, 4, 5 }, { 9, 7, 8 } } },
        { "columns by -1 refused", [](QImage &d, const QImage &s) { return ShiftPictureColumns(d, s, -1); },
            false, grid },
        { "box down",
            [](QImage &d, const QImage &) {
                MoveRegionPixels(d, { 1, 0, 3, 3 }, 1);
                return true;
            },
            true, { { 1, 8, 9 }, { 4, 2, 3 }, { 7, 5, 6 } } },
        { "box up",
            [](QImage &d, const QImage &) {
                MoveRegionPixels(d, { 0, 1, 2, 3 }, -1);
                return true;
            },
            true, { { 1, 2, 3 }, { 7, 8, 6 }, { 4, 5, 9 } } },
        // The horizontal codes leave row Top alone.
        { "box left",
            [](QImage &d, const QImage &) {
                MoveRegionPixels(d, { 0, 0, 3, 2 }, 2);
                return true;
            },
            true, { { 1, 2, 3 }, { 5, 6, 4 }, { 7, 8, 9 } } },
        { "box right",
            [](QImage &d, const QImage &) {
                MoveRegionPixels(d, { 0, 0, 3, 3 }, 5);
                return true;
            },
            true, { { 1, 2, 3 }, { 6, 4, 5 }, { 9, 7, 8 } } },
        { "one-row box down changes nothing",
            [](QImage &d, const QImage &) {
                MoveRegionPixels(d, { 0, 1, 3, 2 }, 1);
                return true;
            },
            true, grid },
        { "box clamped to the picture",
            [](QImage &d, const QImage &) {
                MoveRegionPixels(d, { -4, -1, 10, 100 }, 1);
                return true;
            },
            true, { { 7, 8, 9 }, { 1, 2, 3 }, { 4, 5, 6 } } },
        { "box outside the picture",
            [](QImage &d, const QImage &) {
                MoveRegionPixels(d, { 5, 0, 10, 3 }, 1);
                return true;
            },
            true, grid },
        { "box of the whole int range",
            [](QImage &d, const QImage &) {
                MoveRegionPixels(d, { INT_MIN, INT_MIN, INT_MAX, INT_MAX }, -1);
                return true;
            },
            true, { { 4, 5, 6 }, { 7, 8, 9 }, { 1, 2, 3 } } },
        { "copy if same size",
            [](QImage &d, const QImage &) {
                return CopyBitmapIfSameSize(d, MakePicture({ { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 1 } }));
            },
            true, { { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 1 } } },
        { "copy refused for another size",
            [](QImage &d, const QImage &) { return CopyBitmapIfSameSize(d, MakePicture({ { 0 } })); }, false,
            grid },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage src = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 } });
        QImage dest = src.copy();
        EXPECT_EQ(c.op(dest, src), c.result);
        EXPECT_EQ(PictureRows(dest), c.expected);
    }
}
