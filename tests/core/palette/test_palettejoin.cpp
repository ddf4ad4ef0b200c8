#include "core/palette/palettejoin.h"
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QColor>

#include <numbers>
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

namespace {

// A W x H picture whose cell (x, y) holds index f(x, y), with the given palette.
template <class F> QImage filled(int w, int h, const TPalette256 &palette, F f)
{
    QImage img = NewPicture(w, h, palette);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t(f(x, y));
    return img;
}

// Palette entry i is colour c(i); entries beyond Count are black.
template <class C> TPalette256 paletteOf(int count, C c)
{
    TPalette256 p {};
    for (int i = 0; i < count; ++i)
        p[std::size_t(i)] = c(i);
    return p;
}

QImage rows(const QImage &img, int top, int bottom, int width)
{
    return img.copy(0, top, width, bottom - top);
}

// The picture mirrored about its diagonal: rows become columns.
QImage transposed(const QImage &img)
{
    QImage out = NewPicture(img.height(), img.width(), TPalette256 {});
    out.setColorTable(img.colorTable());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            out.scanLine(x)[y] = img.constScanLine(y)[x];
    return out;
}

} // namespace

// The manual joins: both directions, offsets 0 and 10, the palette joined or taken from
// either side. A is 100 along the seam's normal and B 30; B's six colours are A's colours
// 5 to 10 at other indexes, so every cell keeps its colour whichever palette is kept.
TEST(PictureJoins, ManualJoinsPlaceCutAndColourBothPictures)
{
    const TPalette256 pa = paletteOf(20, [](int i) { return rgb(10 * i, 255 - 10 * i, 7); });
    const TPalette256 pb = paletteOf(6, [&](int i) { return pa[std::size_t(10 - i)]; });
    enum Kind { Joined, KeepFirst, KeepSecond };
    struct Case {
        Kind kind;
        int direction, offset;
    };
    for (const Case c : { Case { Joined, 1, 0 }, Case { Joined, 1, 10 }, Case { Joined, 0, 0 },
             Case { Joined, 0, 10 }, Case { KeepFirst, 1, 10 }, Case { KeepFirst, 0, 0 },
             Case { KeepSecond, 1, 0 }, Case { KeepSecond, 0, 10 } }) {
        SCOPED_TRACE(testing::Message()
            << "kind " << c.kind << " direction " << c.direction << " offset " << c.offset);
        const bool lr = c.direction == 1;
        // Across the seam A is 100 long and B 30; along it A is 20 and B 25.
        QImage a = filled(lr ? 100 : 20, lr ? 20 : 100, pa, [](int x, int y) { return (x + y) % 20; });
        QImage b = filled(lr ? 30 : 25, lr ? 25 : 30, pb, [](int x, int y) { return (2 * x + y) % 6; });
        const QImage a0 = a.copy(), b0 = b.copy();
        QImage dest;
        QString error;
        const bool ok = c.kind == Joined
            ? UnitePicturePalettes(a, b, c.direction, c.offset, dest, &error)
            : UnitePalettesByChoice(a, b, c.direction, c.offset, c.kind == KeepFirst, dest, &error);
        ASSERT_TRUE(ok) << error.toStdString();
        EXPECT_EQ(a, a0);
        EXPECT_EQ(b, b0);
        const int keptA = 100 - c.offset; // a 100-line picture cut by 10 gives 90
        ASSERT_EQ(dest.format(), QImage::Format_Indexed8);
        EXPECT_EQ(dest.colorCount(), 256);
        EXPECT_EQ(lr ? dest.size() : dest.size().transposed(), QSize(keptA + 30, 25));
        if (c.kind != Joined) {
            EXPECT_EQ(dest.colorTable(), (c.kind == KeepFirst ? a : b).colorTable());
        }
        for (int across = 0; across < keptA + 30; ++across)
            for (int along = 0; along < 25; ++along) {
                const int x = lr ? across : along, y = lr ? along : across;
                const bool inA = across < keptA && along < 20;
                const bool inB = across >= keptA;
                const TPaletteEntry got = cellColour(dest, x, y);
                if (inA && c.kind == KeepSecond) { // A's colours move to the nearest of B's
                    const TPaletteEntry own = cellColour(a, x, y);
                    ASSERT_EQ(got,
                        pb[std::size_t(NearestColorIndex(pb.data(), 256, own.Red, own.Green, own.Blue))]);
                } else if (inA) {
                    ASSERT_EQ(got, cellColour(a, x, y)) << x << "," << y;
                } else if (inB) {
                    ASSERT_EQ(got, lr ? cellColour(b, x - keptA, y) : cellColour(b, x, y - keptA))
                        << x << "," << y;
                } else {
                    ASSERT_EQ(dest.pixelIndex(x, y), 0) << x << "," << y;
                }
            }
    }
}

// Exact colours: pictures of one palette keep their indexes; pictures of two palettes keep
// every colour exactly, black at 254 and white at 255.
TEST(PictureJoins, SharedPaletteKeepsIndexesAndTwoPalettesKeepColours)
{
    const TPalette256 grey = GreyPalette();
    const QImage a = filled(4, 3, grey, [](int x, int y) { return 100 + x + y; });
    const QImage b = filled(2, 3, grey, [](int x, int) { return 250 + x; });
    QImage dest;
    ASSERT_TRUE(UnitePicturePalettes(a, b, 1, 0, dest));
    EXPECT_EQ(dest.colorTable(), a.colorTable());
    EXPECT_EQ(PictureRows(dest),
        (std::vector<std::vector<int>> { { 100, 101, 102, 103, 250, 251 }, { 101, 102, 103, 104, 250, 251 },
            { 102, 103, 104, 105, 250, 251 } }));

    const QImage red = rowPicture({ 0, 1 }, paletteOf(2, [](int i) { return rgb(255 - 5 * i, 0, 0); }));
    const QImage blue = rowPicture({ 0, 1 }, paletteOf(2, [](int i) { return rgb(0, 0, 250 + i); }));
    ASSERT_TRUE(UnitePicturePalettes(red, blue, 1, 0, dest));
    EXPECT_EQ(cellColour(dest, 0, 0), rgb(255, 0, 0));
    EXPECT_EQ(cellColour(dest, 1, 0), rgb(250, 0, 0));
    EXPECT_EQ(cellColour(dest, 2, 0), rgb(0, 0, 250));
    EXPECT_EQ(cellColour(dest, 3, 0), rgb(0, 0, 251));
    EXPECT_EQ(QColor(dest.color(254)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(dest.color(255)), QColor(255, 255, 255));
}

// The top and bottom parts of one picture, overlapping by 10 rows, the bottom part 3
// columns narrower, joined where a line on the same row of the original meets: the
// original comes back apart from the corner the bottom part does not cover (index 0).
// Left-right is the same picture turned on its diagonal.
TEST(PictureJoins, JoinAlongLinesRebuildsThePicture)
{
    const QImage whole
        = filled(40, 100, GreyPalette(), [](int x, int y) { return 1 + (x * 7 + y * 3) % 200; });
    const QImage top = rows(whole, 0, 60, 40), bottom = rows(whole, 50, 100, 37);
    QImage expected = whole.copy();
    for (int y = 55; y < 100; ++y)
        for (int x = 37; x < 40; ++x)
            expected.scanLine(y)[x] = 0;
    // The line is on original row 55: row 55 of the top part, row 5 of the bottom part.
    const TGuideLine onTop { TPoint { 12, 55 }, TPoint { 30, 55 } },
        onBottom { TPoint { 12, 5 }, TPoint { 30, 5 } };
    QImage dest;
    QString error;
    ASSERT_TRUE(JoinPicturesAlongLines(top, bottom, 0, onTop, onBottom, dest, &error)) << error.toStdString();
    EXPECT_EQ(PictureRows(dest), PictureRows(expected));

    const auto swap = [](TGuideLine l) {
        return TGuideLine { TPoint { l[0].Y, l[0].X }, TPoint { l[1].Y, l[1].X } };
    };
    ASSERT_TRUE(JoinPicturesAlongLines(
        transposed(top), transposed(bottom), 1, swap(onTop), swap(onBottom), dest, &error));
    EXPECT_EQ(PictureRows(dest), PictureRows(transposed(expected)));

    // A bottom part that lacks the first 4 columns is shifted right so that the points meet.
    const TGuideLine shifted { TPoint { 8, 5 }, TPoint { 26, 5 } };
    ASSERT_TRUE(JoinPicturesAlongLines(top, bottom.copy(4, 0, 33, 50), 0, onTop, shifted, dest, &error));
    EXPECT_EQ(dest.size(), QSize(40, 100));
    EXPECT_EQ(dest.pixelIndex(12, 70), whole.pixelIndex(12, 70));
    EXPECT_EQ(dest.pixelIndex(3, 70), 0);
}

// A scan of the bottom part lies turned by 20 degrees; lines drawn along one row of the
// design on both parts give back the turn (within half a degree), and the joined picture
// shows the design again away from the turned picture's edges.
TEST(PictureJoins, AutoLinkUndoesTheTurnOfTheSecondScan)
{
    // 20-cell blocks, so that two nearest-cell turns keep almost every cell.
    const QImage whole
        = filled(400, 200, GreyPalette(), [](int x, int y) { return 1 + (x / 20 * 3 + y / 20 * 5) % 50; });
    const QImage top = rows(whole, 0, 120, 400), bottom = rows(whole, 100, 200, 400);
    constexpr double degree = std::numbers::pi / 180;
    for (const double skew : { 20 * degree, -20 * degree }) {
        SCOPED_TRACE(skew / degree);
        QImage scan;
        ASSERT_TRUE(RotateAboutCentre(scan, bottom, 0, skew));
        // The same original row (110) on both parts, the points given in either order.
        const TPoint b1 = TurnedCell({ 390, 10 }, bottom.size(), skew),
                     b2 = TurnedCell({ 10, 10 }, bottom.size(), skew);
        const std::vector<TPoint> points { { 10, 110 }, { 390, 110 }, b1, b2 };
        const double turn = GuideLinesTurn(0, { points[0], points[1] }, { points[2], points[3] });
        EXPECT_NEAR(turn, -skew, 0.5 * degree);

        QImage dest;
        QString error;
        ASSERT_TRUE(AutoLinkByLines(top, scan, 0, points, dest, &error)) << error.toStdString();
        // B's points land on A's line: the far point of B, turned back, is on row 110.
        const TPoint back = TurnedCell(b1, scan.size(), turn);
        const TPoint first = TurnedCell(b2, scan.size(), turn);
        EXPECT_NEAR(back.Y - first.Y, 0, 1);
        EXPECT_NEAR(back.X - first.X, 380, 1);
        // A starts where B's first point lies further in than A's.
        const int left = std::max(0, first.X - 10);
        ASSERT_GE(dest.height(), 190);
        int same = 0, total = 0;
        for (int y = 20; y < 190; ++y)
            for (int x = 40; x < 360; ++x, ++total)
                same += dest.pixelIndex(x + left, y) == whole.pixelIndex(x, y);
        EXPECT_GT(same, total * 95 / 100) << same << " of " << total;
    }
}

// Anything but four points does nothing; a result over 65,535 on a side is refused with
// a message before it is made; the callers' pictures never change.
TEST(PictureJoins, RefusalsLeaveEverythingAsItWas)
{
    const QImage a = filled(10, 10, GreyPalette(), [](int x, int y) { return x + y; });
    const QImage previous = filled(1, 1, GreyPalette(), [](int, int) { return 9; });
    for (const std::size_t n : { 0, 2, 3, 5 }) {
        QImage dest = previous;
        QString error;
        EXPECT_FALSE(AutoLinkByLines(a, a, 0, std::vector<TPoint>(n, TPoint { 1, 1 }), dest, &error));
        EXPECT_EQ(dest, previous);
        EXPECT_TRUE(error.isEmpty());
    }
    const QImage wide = NewPicture(40000, 1, GreyPalette()), wider = NewPicture(30000, 1, GreyPalette());
    QImage dest = previous;
    QString error;
    EXPECT_FALSE(UnitePicturePalettes(wide, wider, 1, 0, dest, &error));
    EXPECT_TRUE(error.contains("70000")) << error.toStdString();
    EXPECT_FALSE(UnitePalettesByChoice(wide, wider, 1, 0, true, dest, &error));
    EXPECT_FALSE(UnitePicturePalettes(transposed(wide), transposed(wider), 0, 0, dest, &error));
    // Along the seam: B shifted so far that the two together are too wide.
    EXPECT_FALSE(JoinPicturesAlongLines(wide, wider, 0, { TPoint { 0, 0 }, TPoint { 1, 0 } },
        { TPoint { 29999, 0 }, TPoint { 29999, 0 } }, dest, &error));
    EXPECT_TRUE(error.contains("69999")) << error.toStdString();
    EXPECT_EQ(dest, previous);
    // A first guide point outside its picture, and pictures that are not 8-bit.
    EXPECT_FALSE(JoinPicturesAlongLines(
        a, a, 0, { TPoint { 10, 0 }, TPoint { 1, 0 } }, { TPoint {}, TPoint {} }, dest, &error));
    EXPECT_FALSE(UnitePicturePalettes(a.convertToFormat(QImage::Format_RGB32), a, 1, 0, dest, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(dest, previous);
}
