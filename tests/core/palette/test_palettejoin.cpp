#include "core/palette/palettejoin.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
TPaletteEntry rgb(int r, int g, int b)
{
    return { std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), 0 };
}

// One row holding each index of `indexes` once.
QImage rowPicture(const std::vector<int> &indexes, const TPalette256 &palette)
{
    QImage img = NewPicture(int(indexes.size()), 1, palette);
    for (int x = 0; x < int(indexes.size()); ++x)
        img.scanLine(0)[x] = std::uint8_t(indexes[x]);
    return img;
}

TPaletteEntry cellColour(const QImage &img, int x, int y)
{
    const QRgb c = img.color(img.pixelIndex(x, y));
    return rgb(qRed(c), qGreen(c), qBlue(c));
}

std::vector<int> range(int from, int to) // from .. to - 1
{
    std::vector<int> out;
    for (int i = from; i < to; ++i)
        out.push_back(i);
    return out;
}
} // namespace

TEST(JointPalette, ChooseJoinColours)
{
    struct Case {
        const char *name;
        std::vector<std::int64_t> a, b;
        int keepA, keepB;
    };
    const std::vector<std::int64_t> big200(200, 50), big250(250, 50), small100(100, 5), small10(10, 5);
    std::vector<std::int64_t> b254x9and3(254, 9);
    b254x9and3.push_back(3);
    const Case cases[] = {
        { "A more frequent: A whole, B fills up", big200, small100, 200, 54 },
        { "B more frequent: B whole, A fills up", small100, big200, 54, 200 },
        { "B more frequent and short", std::vector<std::int64_t>(300, 1), small10, 244, 10 },
        { "ties go to A", big250, std::vector<std::int64_t>(10, 50), 250, 4 },
        { "interleaved ranks", { 9, 7, 5, 3 }, std::vector<std::int64_t>(260, 6), 2, 252 },
        // B's 254 most used outrank A's only colour, but reaching A's last colour with B's
        // 255th ends the walk: A keeps its colour and B 253.
        { "A's last colour ends the walk", { 5 }, b254x9and3, 1, 253 },
        { "A empty keeps B's colours", {}, std::vector<std::int64_t>(256, 1), 0, 254 },
        { "B empty keeps A's colours", std::vector<std::int64_t>(255, 1), {}, 254, 0 },
    };
    for (const auto &c : cases) {
        int keepA = -1, keepB = -1;
        ChooseJoinColours(c.a, c.b, keepA, keepB);
        EXPECT_EQ(keepA, c.keepA) << c.name;
        EXPECT_EQ(keepB, c.keepB) << c.name;
    }
}

TEST(JointPalette, SameColoursInBothPicturesAreKeptOnce)
{
    TPalette256 pa {}, pb {};
    for (int i = 0; i < 10; ++i) {
        pa[i] = rgb(10 + i, 100, 200);
        pb[20 + i] = pa[i]; // the same colours under other indexes
    }
    QImage a = MakePicture({ { 0, 1, 2, 3, 4 }, { 5, 6, 7, 8, 9 } }, pa);
    QImage b = MakePicture({ { 29, 28, 27, 26, 25, 24, 23, 22, 21, 20 } }, pb);

    TPalettePairs pairs;
    TPalette256 joint;
    int count = 0;
    JointPalette(a, b, pairs, count, joint);
    EXPECT_EQ(count, 12);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(joint[i], pb[20 + i]) << i; // B's list, as A's colours were all found in B
    for (int i = 10; i < 254; ++i)
        EXPECT_EQ(joint[i], BlackQuad) << i;
    EXPECT_EQ(joint[254], BlackQuad);
    EXPECT_EQ(joint[255], WhiteQuad);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(pairs[i], (TPaletteItem { i, joint[i] }));

    const QImage a0 = a.copy(), b0 = b.copy();
    MergeTwoPicturePalettes(a, b);
    for (const auto &[now, before] : { std::pair { &a, &a0 }, std::pair { &b, &b0 } })
        for (int y = 0; y < now->height(); ++y)
            for (int x = 0; x < now->width(); ++x)
                EXPECT_EQ(cellColour(*now, x, y), cellColour(*before, x, y)) << x << "," << y;
}

TEST(JointPalette, AColourSetInsideAFullPaletteKeepsRealColours)
{
    // B uses all 256 grey levels; A only ten of them. Every colour of A is found in B, which
    // leaves A with none: the joint palette must still hold B's real colours.
    const TPalette256 grey = GreyPalette();
    QImage a = rowPicture({ 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 100, 101 }, grey);
    QImage b = rowPicture(range(0, 256), grey);

    TPalettePairs pairs;
    TPalette256 joint;
    int count = 0;
    JointPalette(a, b, pairs, count, joint);
    EXPECT_EQ(count, 256);
    // Most used first by the selection sort: the ten shared greys are exchanged with the
    // greys 0 to 9 that stood at their places, so those follow 10 .. 99; 254 and 255 dropped.
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(joint[i], grey[100 + i]) << i;
    EXPECT_EQ(joint[10], grey[10]);
    EXPECT_EQ(joint[99], grey[99]);
    EXPECT_EQ(joint[100], grey[0]);
    EXPECT_EQ(joint[109], grey[9]);
    EXPECT_EQ(joint[110], grey[110]);
    EXPECT_EQ(joint[253], grey[253]);

    MergeTwoPicturePalettes(a, b);
    EXPECT_EQ(cellColour(a, 0, 0), grey[100]);
    EXPECT_EQ(cellColour(a, 9, 0), grey[109]);
    for (int x = 0; x < 254; ++x)
        EXPECT_EQ(cellColour(b, x, 0), grey[x]) << x;
    EXPECT_EQ(cellColour(b, 254, 0), grey[253]) << "nearest kept colour, lower entry among equals";
    EXPECT_EQ(cellColour(b, 255, 0), WhiteQuad);
}

TEST(JointPalette, SortingAgainDecidesWhichEqualCountsAreCut)
{
    // B uses all 256 greys once; A one white cell, found in B, so B's white counts 2.
    // Sorting again exchanges white with grey 0: B's order is 255, 1, 2, ..., 254, 0, and
    // the cut at 254 drops greys 254 and 0.
    const TPalette256 grey = GreyPalette();
    QImage a = rowPicture({ 255 }, grey);
    QImage b = rowPicture(range(0, 256), grey);

    TPalettePairs pairs;
    TPalette256 joint;
    int count = 0;
    JointPalette(a, b, pairs, count, joint);
    EXPECT_EQ(count, 256);
    EXPECT_EQ(joint[0], WhiteQuad);
    for (int i = 1; i < 254; ++i)
        EXPECT_EQ(joint[i], grey[i]) << i;
    EXPECT_EQ(joint[254], BlackQuad);
    EXPECT_EQ(joint[255], WhiteQuad);

    MergeTwoPicturePalettes(a, b);
    EXPECT_EQ(PictureRows(a), (std::vector<std::vector<int>> { { 0 } }));
    // Black goes to entry 254; grey 254 is as near white (entry 0) as grey 253 and takes the
    // lower entry; white takes its first entry.
    std::vector<int> expected = range(0, 256);
    expected[0] = 254;
    expected[254] = 0;
    expected[255] = 0;
    EXPECT_EQ(PictureRows(b), (std::vector<std::vector<int>> { expected }));
}

TEST(JointPalette, DroppedColoursMoveToTheNearestKeptColour)
{
    // A: 250 reds used twice each; B: 10 greens used once each. 260 colours: B keeps its
    // four first greens and the other six move to the nearest of them.
    TPalette256 pa {}, pb {};
    for (int i = 0; i < 250; ++i)
        pa[i] = rgb(i, 0, 0);
    for (int k = 0; k < 10; ++k)
        pb[k] = rgb(0, 200 + k, 0);
    std::vector<int> twice = range(0, 250);
    twice.insert(twice.end(), twice.begin(), twice.end());
    QImage a = rowPicture(twice, pa);
    QImage b = rowPicture(range(0, 10), pb);

    TPalettePairs pairs;
    TPalette256 joint;
    int count = 0;
    JointPalette(a, b, pairs, count, joint);
    EXPECT_EQ(count, 256);
    EXPECT_EQ(joint[0], pa[0]);
    EXPECT_EQ(joint[249], pa[249]);
    EXPECT_EQ(joint[250], pb[0]);
    EXPECT_EQ(joint[253], pb[3]);

    const QImage a0 = a.copy();
    MergeTwoPicturePalettes(a, b);
    for (int x = 0; x < a.width(); ++x)
        ASSERT_EQ(cellColour(a, x, 0), cellColour(a0, x, 0)) << x;
    EXPECT_EQ(PictureRows(b),
        (std::vector<std::vector<int>> { { 250, 251, 252, 253, 253, 253, 253, 253, 253, 253 } }));
}

TEST(JointPalette, ComposeJoinPlacesBothPictures)
{
    const TPalette256 grey = GreyPalette();
    const QImage a = MakePicture({ { 1, 2 }, { 3, 4 } }, grey);
    const QImage b = MakePicture({ { 7, 8, 9 } }, grey);
    QImage dest;
    ASSERT_TRUE(ComposeJoin(dest, grey, { 0, 0, 4, 3 }, b, a, { 0, 0, 2, 2 }, { 2, 2, 5, 3 }));
    EXPECT_EQ(PictureRows(dest),
        (std::vector<std::vector<int>> { { 1, 2, 0, 0 }, { 3, 4, 0, 0 }, { 0, 0, 7, 8 } }));
    EXPECT_EQ(dest.colorCount(), 256);

    const QImage kept = dest;
    EXPECT_FALSE(ComposeJoin(dest, grey, { 0, 0, 0, 3 }, b, a, { 0, 0, 2, 2 }, { 2, 2, 5, 3 }));
    EXPECT_EQ(dest, kept);
}

TEST(JointPalette, MergePalettesForLinkArrangesBothPictures)
{
    // A uses red, green, blue and a dark grey once each; B yellow twice and A's green once.
    // B has fewer colours: its green is found in A, so the joint palette is A's four colours
    // (in index order, all used once) followed by yellow.
    TPalette256 pa = GreyPalette(), pb = GreyPalette();
    pa[1] = rgb(200, 0, 0);
    pa[2] = rgb(0, 200, 0);
    pa[3] = rgb(0, 0, 200);
    pa[4] = rgb(10, 10, 10);
    pb[5] = rgb(0, 200, 0);
    pb[6] = rgb(200, 200, 0);
    const QImage a0 = MakePicture({ { 1, 2 }, { 3, 4 } }, pa);
    const QImage b0 = MakePicture({ { 6, 5, 6 } }, pb);

    struct Case {
        const char *name;
        int direction;
        std::vector<std::vector<int>> rows;
        TRect rectA, rectB;
    } cases[] = {
        { "left and right", 1, { { 0, 1, 4, 1, 4 }, { 2, 3, 0, 0, 0 } }, { 0, 0, 2, 2 }, { 2, 0, 5, 1 } },
        { "top and bottom", 0, { { 0, 1, 0 }, { 2, 3, 0 }, { 4, 1, 4 } }, { 0, 0, 2, 2 }, { 0, 2, 3, 3 } },
    };
    for (const auto &c : cases) {
        QImage a = a0.copy(), b = b0.copy(), dest;
        TRect rectA, rectB;
        ASSERT_TRUE(MergePalettesForLink(a, b, c.direction, dest, rectA, rectB)) << c.name;
        EXPECT_EQ(PictureRows(dest), c.rows) << c.name;
        EXPECT_EQ(rectA, c.rectA) << c.name;
        EXPECT_EQ(rectB, c.rectB) << c.name;
        TPalette256 joint;
        GetBitmapPalette(dest, joint);
        EXPECT_EQ(joint[0], pa[1]) << c.name;
        EXPECT_EQ(joint[1], pa[2]) << c.name;
        EXPECT_EQ(joint[2], pa[3]) << c.name;
        EXPECT_EQ(joint[3], pa[4]) << c.name;
        EXPECT_EQ(joint[4], pb[6]) << c.name;
        for (int i = 5; i < 255; ++i)
            EXPECT_EQ(joint[i], BlackQuad) << c.name << " " << i;
        EXPECT_EQ(joint[255], WhiteQuad) << c.name;
        // Both pictures now hold the joint palette and show their old colours.
        EXPECT_EQ(PictureRows(a), (std::vector<std::vector<int>> { { 0, 1 }, { 2, 3 } })) << c.name;
        EXPECT_EQ(PictureRows(b), (std::vector<std::vector<int>> { { 4, 1, 4 } })) << c.name;
        EXPECT_EQ(a.colorTable(), dest.colorTable()) << c.name;
        EXPECT_EQ(b.colorTable(), dest.colorTable()) << c.name;
    }

    // Too wide a result: nothing changes.
    QImage wide = NewPicture(65535, 1, pa), b = b0.copy(), dest = a0.copy();
    const QImage wideBefore = wide.copy();
    TRect rectA { 1, 2, 3, 4 }, rectB { 5, 6, 7, 8 };
    EXPECT_FALSE(MergePalettesForLink(wide, b, 1, dest, rectA, rectB));
    EXPECT_EQ(wide, wideBefore);
    EXPECT_EQ(b, b0);
    EXPECT_EQ(dest, a0);
    EXPECT_EQ(rectA, (TRect { 1, 2, 3, 4 }));
    EXPECT_EQ(rectB, (TRect { 5, 6, 7, 8 }));
}
