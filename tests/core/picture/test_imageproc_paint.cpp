// Painting helpers on 8-bit pictures and on display images.
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <climits>

using Rows = std::vector<std::vector<int>>;

namespace {
// Grey palette in which index 250 repeats white and index 7 is pure red.
TPalette256 paintPalette()
{
    TPalette256 p = GreyPalette();
    p[250] = { 255, 255, 255, 0 };
    p[7] = { 255, 0, 0, 0 };
    return p;
}
constexpr TColor Red = 0x020000FF;
constexpr TColor NearlyGrey9 = 0x00080A09; // nearest entry: 9
} // namespace

TEST(PicturePaint, IndexedHelpers)
{
    struct Case {
        const char *name;
        std::function<void(QImage &)> op;
        Rows expected;
    };
    const Rows blank(4, std::vector<int>(5, 0));
    const Case cases[] = {
        { "fill a region",
            [](QImage &c) { FillRegionWithColor(c, QRegion(1, 1, 2, 2) + QRegion(4, 0, 1, 1), Red); },
            { { 0, 0, 0, 0, 7 }, { 0, 7, 7, 0, 0 }, { 0, 7, 7, 0, 0 }, { 0, 0, 0, 0, 0 } } },
        { "fill takes the nearest entry",
            [](QImage &c) { FillRegionWithColor(c, QRegion(0, 0, 1, 1), NearlyGrey9); },
            { { 9, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0 } } },
        { "fill clipped to the picture",
            [](QImage &c) { FillRegionWithColor(c, QRegion(-3, 3, 50, 9), Red); },
            { { 0, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0 }, { 7, 7, 7, 7, 7 } } },
        // R = (0, 0, 5, 4) shrunk by one: cells 1..3 x 1..2, outlined in red; too thin for a
        // white inside.
        { "frame",
            [](QImage &c) {
                DrawRectFrame(c, { 0, 0, 5, 4 }, Red);
            },
            { { 0, 0, 0, 0, 0 }, { 0, 7, 7, 7, 0 }, { 0, 7, 7, 7, 0 }, { 0, 0, 0, 0, 0 } } },
        { "frame with an inside (white is the first white entry)",
            [](QImage &c) {
                DrawRectFrame(c, { -1, -1, 6, 5 }, Red);
            },
            { { 7, 7, 7, 7, 7 }, { 7, 250, 250, 250, 7 }, { 7, 250, 250, 250, 7 }, { 7, 7, 7, 7, 7 } } },
        { "empty frame",
            [](QImage &c) {
                DrawRectFrame(c, { 0, 0, 2, 2 }, Red);
            },
            blank },
        // A frame far beyond the picture on every side: only its white inside shows.
        { "huge frame",
            [](QImage &c) {
                DrawRectFrame(c, { INT_MIN, INT_MIN, INT_MAX, INT_MAX }, Red);
            },
            Rows(4, std::vector<int>(5, 250)) },
        { "frame at the end of the coordinates",
            [](QImage &c) {
                DrawRectFrame(c, { INT_MAX, 0, INT_MAX, 3 }, Red);
            },
            blank },
        // The index-taking twins write the index given, here 255 where the colour helpers
        // would write 250 (the first entry of that white).
        { "fill a region with an index",
            [](QImage &c) { FillRegionWithIndex(c, QRegion(1, 1, 2, 2) + QRegion(-4, 3, 5, 9), 255); },
            { { 0, 0, 0, 0, 0 }, { 0, 255, 255, 0, 0 }, { 0, 255, 255, 0, 0 }, { 255, 0, 0, 0, 0 } } },
        { "listed cells take an index",
            [](QImage &c) {
                const TPoint cells[]
                    = { { 4, 3 }, { 0, 0 }, { -1, 2 }, { 5, 0 }, { 2, 4 }, { INT_MIN, INT_MAX } };
                SetListedPixels(c, cells, 255);
            },
            { { 255, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0 }, { 0, 0, 0, 0, 0 }, { 0, 0, 0, 0, 255 } } },
        { "frame with indexes",
            [](QImage &c) {
                DrawRectFrameWithIndex(c, { -1, -1, 6, 5 }, 7, 250);
            },
            { { 7, 7, 7, 7, 7 }, { 7, 250, 250, 250, 7 }, { 7, 250, 250, 250, 7 }, { 7, 7, 7, 7, 7 } } },
        { "huge frame with indexes",
            [](QImage &c) {
                DrawRectFrameWithIndex(c, { INT_MIN, INT_MIN, INT_MAX, INT_MAX }, 7, 9);
            },
            Rows(4, std::vector<int>(5, 9)) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage canvas = NewPicture(5, 4, paintPalette());
        c.op(canvas);
        EXPECT_EQ(PictureRows(canvas), c.expected);
    }

    const QImage src = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }, paintPalette());
    EXPECT_EQ(GetPixelColor(src, paintPalette(), 1, 1), 0x02050505);
    EXPECT_EQ(GetPixelColor(src, paintPalette(), 3, 0), -1);
    EXPECT_EQ(GetPixelColor(src, paintPalette(), 0, -1), -1);

    // Listed cells are copied; cells outside either picture are skipped.
    QImage dest = MakePicture({ { 0, 0, 0, 0 }, { 0, 0, 0, 0 } }, paintPalette());
    CopyListedPixels(dest, src, TILineArray { { 2, 1 }, { 0, 0 }, { 3, 0 }, { 0, 2 }, { 65535, 65535 } });
    EXPECT_EQ(PictureRows(dest), (Rows { { 1, 0, 0, 0 }, { 0, 0, 6, 0 } }));
}

TEST(PicturePaint, DisplayImages)
{
    // On a display image the frame and fill paint colours.
    QImage screen(5, 4, QImage::Format_RGB32);
    screen.fill(Qt::black);
    DrawRectFrame(screen, { -1, -1, 6, 5 }, Red);
    EXPECT_EQ(screen.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(screen.pixel(2, 1), qRgb(255, 255, 255));

    // The transparent colour is left out wherever an entry shows it (7 and 8 are both red here).
    TPalette256 pal = paintPalette();
    pal[8] = pal[7];
    const QImage bmp = MakePicture({ { 7, 1 }, { 8, 200 } }, pal);
    QImage target(4, 3, QImage::Format_RGB32);
    target.fill(qRgb(0, 0, 255));
    {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        DrawBitmapTransparent(painter, 1, 1, Red, bmp);
        EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_Plus); // state restored
    }
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(2, 1), qRgb(1, 1, 1));
    EXPECT_EQ(target.pixel(1, 2), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(2, 2), qRgb(200, 200, 200));
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 0, 255));

    // The index-taking helpers leave anything but an 8-bit picture alone.
    screen.fill(Qt::black);
    const QImage before = screen.copy();
    FillRegionWithIndex(screen, QRegion(0, 0, 5, 4), 7);
    const TPoint cell[] = { { 1, 1 } };
    SetListedPixels(screen, cell, 7);
    DrawRectFrameWithIndex(screen, { -1, -1, 6, 5 }, 7, 7);
    EXPECT_EQ(screen, before);
}
