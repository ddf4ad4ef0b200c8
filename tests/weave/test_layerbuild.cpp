#include "weave/layerbuild.h"

#include "core/palette/floatscan.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// One scan per colour in list order, each painting before the next: what the shared passes
// must give.
void ReferenceTiling(QImage &picture, const TPalette256 &palette, const QList<TTileJob> &jobs,
    const TFloatMargins &margins, int floatLength, int black)
{
    for (const TTileJob &job : jobs) {
        TFloatScan scan;
        scan.ColorIndex = job.Index;
        scan.Margins = margins;
        scan.Weave = job.Weave;
        TLineArray cells;
        FindLongFloats(picture, palette, scan, floatLength, cells);
        for (const TPoint &p : cells)
            picture.scanLine(p.Y)[p.X] = std::uint8_t(black);
    }
}

TWeaveArray RandomWeave(std::mt19937 &rng)
{
    std::uniform_int_distribution<int> side(1, 5), bit(0, 3);
    TWeaveArray w = MakeWeaveArray(side(rng), side(rng));
    for (qsizetype x = 0; x < w.length(); ++x)
        for (qsizetype y = 0; y < w[x].length(); ++y)
            w[x][y] = bit(rng) != 0; // mostly points, so that later scans meet painted cells
    return w;
}

} // namespace

// Seeded pictures of few colours in blobs, a palette with a colour held twice and black held
// twice, colour lists with repeats and black in them, random margins and float lengths.
TEST(LayerBuild, SharedPassesEqualOneScanPerColourInTurn)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        TPalette256 palette = GreyPalette();
        palette[0] = BlackQuad;
        palette[1] = { 200, 10, 10, 0 };
        palette[2] = { 10, 200, 10, 0 };
        palette[3] = { 200, 10, 10, 0 }; // the same red again
        palette[4] = BlackQuad; // a second black
        palette[5] = { 10, 10, 200, 0 };
        std::uniform_int_distribution<int> size(1, 14), colour(0, 5), keep(0, 3);
        const int w = size(rng), h = size(rng);
        QImage picture = NewPicture(w, h, palette);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // Runs: mostly the colour of the cell above or to the left.
                int c = colour(rng);
                if (keep(rng) != 0 && y > 0)
                    c = picture.scanLine(y - 1)[x];
                else if (keep(rng) != 0 && x > 0)
                    c = picture.scanLine(y)[x - 1];
                picture.scanLine(y)[x] = std::uint8_t(c);
            }
        QList<TTileJob> jobs;
        std::uniform_int_distribution<int> jobCount(1, 7), chosen(0, 5);
        for (int i = jobCount(rng); i > 0; --i) {
            // Nearest index of the colour, as the layer build looks it up.
            const TPaletteEntry c = palette[std::size_t(chosen(rng))];
            jobs.append(TTileJob {
                NearestColorIndex(palette.data(), 256, c.Red, c.Green, c.Blue), RandomWeave(rng) });
        }
        std::uniform_int_distribution<int> flag(0, 1), length(1, 3), floatLength(0, 5);
        TFloatMargins m;
        m.Left = flag(rng), m.Right = flag(rng), m.Top = flag(rng), m.Bottom = flag(rng);
        m.LeftLength = length(rng), m.RightLength = length(rng), m.TopLength = length(rng);
        m.BottomLength = length(rng);
        const int fl = floatLength(rng);

        QImage expected = picture.copy();
        ReferenceTiling(expected, palette, jobs, m, fl, 0);
        QImage actual = picture.copy();
        TileJobsInOrder(actual, palette, jobs, m, fl, 0);
        ASSERT_EQ(PictureRows(actual), PictureRows(expected)) << "seed " << seed;
    }
}

TEST(LayerBuild, SlotOfLayerAndColourTakesTheColoursFirstNeedle)
{
    TMesh mesh;
    mesh.Colors = TColorArray { 1, 2, 3 };
    mesh.WarpRepeat = 1;
    EXPECT_EQ(LayerColorSlot(mesh, 1, 2), 5);
    mesh.WarpRepeat = 2;
    EXPECT_EQ(LayerColorSlot(mesh, 1, 2), 10); // row of 6 slots, colour 2's first needle
}

// Two layers, two colours: each layer takes its own row of slots, black is added to a
// palette without it, and the source picture is left as it was.
TEST(LayerBuild, EachLayerTilesItsOwnRowOfWeaves)
{
    TPalette256 palette = GreyPalette();
    palette[0] = { 250, 250, 250, 0 };
    palette[1] = { 200, 0, 0, 0 };
    for (int i = 2; i < 256; ++i) // no black; entry 2 is the first the picture leaves unused
        palette[std::size_t(i)] = { 100, 100, 100, 0 };
    const QImage picture = MakePicture({ { 0, 0, 1, 1 }, { 0, 0, 1, 1 } }, palette);
    TMesh mesh;
    mesh.Colors = TColorArray { PlainColor(palette[0]), PlainColor(palette[1]) };
    mesh.LayerCount = 2;
    mesh.ColorWeaves.setLength(4);
    mesh.ColorWeaves[0] = MakeWeaveArray(1, 1, 1); // layer 1, colour 0: every cell
    mesh.ColorWeaves[1] = MakeWeaveArray(1, 1, 0);
    mesh.ColorWeaves[2] = MakeWeaveArray(1, 1, 0);
    mesh.ColorWeaves[3] = TWeaveArray { TDynamicByteArray { 0, 1 } }; // layer 2, colour 1: bottom row
    QList<QImage> layers;
    ASSERT_TRUE(BuildLayerPictures(mesh, picture, palette, TFloatMargins {}, 0, layers));
    ASSERT_EQ(layers.size(), 2);
    TPalette256 got;
    GetBitmapPalette(layers[0], got);
    EXPECT_EQ(got[2], BlackQuad);
    EXPECT_EQ(PictureRows(layers[0]), (std::vector<std::vector<int>> { { 2, 2, 1, 1 }, { 2, 2, 1, 1 } }));
    EXPECT_EQ(PictureRows(layers[1]), (std::vector<std::vector<int>> { { 0, 0, 1, 1 }, { 0, 0, 2, 2 } }));
    EXPECT_EQ(PictureRows(picture), (std::vector<std::vector<int>> { { 0, 0, 1, 1 }, { 0, 0, 1, 1 } }));
}

// With two needles per design column each colour has two slots a layer; the build tiles the
// colour's first.
TEST(LayerBuild, TwoNeedlesPerColumnTileTheFirstNeedlesWeave)
{
    const TPalette256 palette = GreyPalette(); // entry 0 is black
    const QImage picture = MakePicture({ { 5, 5, 9 } }, palette);
    TMesh mesh;
    mesh.Colors = TColorArray { 0x050505, 0x090909 };
    mesh.WarpRepeat = 2;
    mesh.ColorWeaves.setLength(4);
    mesh.ColorWeaves[0] = MakeWeaveArray(1, 1, 0); // colour 0, needle 1
    mesh.ColorWeaves[1] = MakeWeaveArray(1, 1, 1); // colour 0, needle 2: not tiled
    mesh.ColorWeaves[2] = MakeWeaveArray(1, 1, 1); // colour 1, needle 1
    mesh.ColorWeaves[3] = MakeWeaveArray(1, 1, 0);
    QList<QImage> layers;
    ASSERT_TRUE(BuildLayerPictures(mesh, picture, palette, TFloatMargins {}, 0, layers));
    ASSERT_EQ(layers.size(), 1);
    EXPECT_EQ(PictureRows(layers[0]), (std::vector<std::vector<int>> { { 5, 5, 0 } }));
}

TEST(LayerBuild, FullPaletteWithoutBlackIsRefused)
{
    TPalette256 palette;
    palette.fill({ 50, 50, 50, 0 });
    QImage picture = NewPicture(256, 1, palette);
    for (int x = 0; x < 256; ++x)
        picture.scanLine(0)[x] = std::uint8_t(x);
    TMesh mesh;
    mesh.Colors = TColorArray { PlainColor(palette[0]) };
    mesh.ColorWeaves.setLength(1);
    mesh.ColorWeaves[0] = MakeWeaveArray(1, 1, 1);
    QList<QImage> layers;
    QString error;
    EXPECT_FALSE(BuildLayerPictures(mesh, picture, palette, TFloatMargins {}, 0, layers, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(layers.isEmpty());
}
