#include "weave/shadingconversion.h"

#include "core/palette/palette.h"
#include "testutil.h"
#include "weave/weavefile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// A twill of W warps and H wefts: weft j has its point at warp (start + j) mod W.
TWeaveArray Twill(int warps, int wefts, int start = 0)
{
    TWeaveArray w = MakeWeaveArray(warps, wefts);
    for (int j = 0; j < wefts; ++j)
        w[(start + j) % warps][j] = 1;
    return w;
}

std::vector<int> PointsPerWeft(const TWeaveArray &w)
{
    std::vector<int> counts(std::size_t(w[0].length()), 0);
    for (qsizetype x = 0; x < w.length(); ++x)
        for (qsizetype j = 0; j < w[x].length(); ++j)
            counts[std::size_t(j)] += w[x][j];
    return counts;
}

} // namespace

// The 4 x 4 twill's nine members: all but the twill's point, then one point fewer per step,
// last weft first, +1 before -1; the last keeps the point opposite the twill's.
TEST(ShadingSeries, FourByFourTwillGivesNineMembers)
{
    const TShadingSeries s = MakeShadingSeries(Twill(4, 4));
    ASSERT_EQ(s.Count(), 9);
    EXPECT_EQ(PointsPerWeft(s.Member(0)), (std::vector<int> { 3, 3, 3, 3 }));
    EXPECT_EQ(s.Member(0)[0][0], 0);
    EXPECT_EQ(PointsPerWeft(s.Member(1)), (std::vector<int> { 3, 3, 3, 2 }));
    EXPECT_EQ(s.Member(1)[(3 + 1) % 4][3], 0); // weft 3's point is at warp 3: +1 wraps to 0
    EXPECT_EQ(PointsPerWeft(s.Member(4)), (std::vector<int> { 2, 2, 2, 2 }));
    EXPECT_EQ(s.Member(5)[(3 + 3) % 4][3], 0); // the second round goes -1
    const TWeaveArray last = s.Member(8);
    EXPECT_EQ(PointsPerWeft(last), (std::vector<int> { 1, 1, 1, 1 }));
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(last[(j + 2) % 4][j], 1) << j; // even W: point + W div 2
    for (int m = 0; m < 9; ++m)
        EXPECT_EQ(s.Member(m).length(), 4);
}

TEST(ShadingSeries, FiveByFiveLastMemberAndTwoWarpBase)
{
    const TShadingSeries five = MakeShadingSeries(Twill(5, 5, 1));
    ASSERT_EQ(five.Count(), 16);
    const TWeaveArray last = five.Member(15);
    EXPECT_EQ(PointsPerWeft(last), (std::vector<int>(5, 1)));
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(last[(1 + j - 2 + 5) % 5][j], 1) << j; // odd W: point - (W - 1) div 2

    // Two warps: one member, the inverted base, for every colour.
    const TShadingSeries two = MakeShadingSeries(Twill(2, 3));
    ASSERT_EQ(two.Count(), 1);
    const TWeaveArray inverted = two.Member(0);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(inverted[j % 2][j], 0);
        EXPECT_EQ(inverted[(j + 1) % 2][j], 1);
    }
    EXPECT_EQ(ShadingMemberIndex(0xFFFFFF, two.Count()), 0);
}

TEST(ShadingSeries, BrightnessChoosesTheMember)
{
    struct Case {
        TColor color;
        int member; // of the 4 x 4 twill's nine
    };
    for (const Case &c :
        { Case { 0x000000, 0 }, Case { 0x00007F, 4 }, Case { 0x7F0000, 4 }, Case { 0xFFFFFF, 8 },
            Case { 0x1B0000, 0 }, Case { 0x1C0000, 1 }, Case { 0xE2E2E2, 7 }, Case { 0xE3E3E3, 8 } }) {
        EXPECT_EQ(ShadingMemberIndex(c.color, 9), c.member) << std::hex << c.color;
    }
    EXPECT_DOUBLE_EQ(ColorBrightness(0x000000), 1.0 / 256);
    EXPECT_DOUBLE_EQ(ColorBrightness(0x00FF00), 1.0);
}

TEST(ShadingSeries, WeavesThatAreNoShadingWeaveAreRefused)
{
    TWeaveArray twoInThird = Twill(4, 4);
    twoInThird[0][2] = 1; // the third weft has two points
    TWeaveArray noPoint = Twill(4, 4);
    noPoint[1][1] = 0;
    const TWeaveArray cases[] = { twoInThird, noPoint, TWeaveArray(), MakeWeaveArray(3, 0) };
    const QImage picture = MakePicture({ { 1, 2 } });
    for (const TWeaveArray &base : cases) {
        QImage result;
        QString error;
        EXPECT_FALSE(ConvertToWeave(picture, CountPictureColors(picture), base, result, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(result.isNull());
    }
    EXPECT_TRUE(IsShadingWeave(Twill(4, 4)));
    TWeaveArray stray = Twill(3, 3);
    stray[0][1] = 2; // cells other than 1 are no points
    EXPECT_TRUE(IsShadingWeave(stray));
}

// The list holds used entries only, most frequent first, ties in palette order.
TEST(ShadingSeries, ColourListSortsByCountKeepingTies)
{
    const QImage picture = MakePicture({ { 5, 3, 3, 7 }, { 7, 9, 5, 3 } });
    const TClrIndex list = CountPictureColors(picture);
    const TClrIndex expected { { 3, 0x030303 }, { 2, 0x050505 }, { 2, 0x070707 }, { 1, 0x090909 } };
    EXPECT_EQ(list, expected);

    TClrIndex ties { { 1, 10 }, { 4, 11 }, { 4, 12 }, { 0, 13 }, { 4, 14 } };
    SortColorsByCount(ties);
    EXPECT_EQ(ties, (TClrIndex { { 4, 11 }, { 4, 12 }, { 4, 14 }, { 1, 10 }, { 0, 13 } }));
}

// A 5 x 3 picture under a 4-warp, 3-weft member: the bottom row takes the member's last weft
// and column 4 wraps to the member's warp 0.
TEST(ShadingSeries, WeavesAreAnchoredBottomLeft)
{
    const QImage picture = MakePicture({ { 1, 1, 1, 1, 1 }, { 1, 1, 1, 1, 1 }, { 1, 1, 1, 1, 1 } });
    TWeaveArray member = MakeWeaveArray(4, 3);
    member[0][2] = 1;
    member[0][0] = 1;
    member[3][1] = 1;
    QImage result;
    TileColorWeaves(picture, CountPictureColors(picture), { member }, result);
    EXPECT_EQ(PictureRows(result),
        (std::vector<std::vector<int>> { { 1, 0, 0, 0, 1 }, { 0, 0, 0, 1, 0 }, { 1, 0, 0, 0, 1 } }));
    TPalette256 palette;
    GetBitmapPalette(result, palette);
    EXPECT_EQ(palette[0], WhiteQuad);
    EXPECT_EQ(palette[1], BlackQuad);
    EXPECT_EQ(palette[255], BlackQuad);
}

// Two entries of one colour take the weave of the later listed one.
TEST(ShadingSeries, EqualColoursTakeTheLastListedWeave)
{
    TPalette256 palette = GreyPalette();
    palette[2] = palette[1];
    const QImage picture = MakePicture({ { 1, 2, 1 } }, palette);
    const TClrIndex list = CountPictureColors(picture);
    ASSERT_EQ(list.size(), 2);
    QImage result;
    TileColorWeaves(picture, list, { MakeWeaveArray(1, 1, 0), MakeWeaveArray(1, 1, 1) }, result);
    EXPECT_EQ(PictureRows(result), (std::vector<std::vector<int>> { { 1, 1, 1 } }));
}

// A whole conversion: a 100 x 60 picture of many colours gives a picture of that size of
// indexes 0 and 1 only; black takes three points a weft, white one.
TEST(ShadingSeries, ConversionGivesOnlyZeroAndOne)
{
    QImage picture = NewPicture(100, 60, GreyPalette());
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            picture.scanLine(y)[x] = std::uint8_t(x < 4 ? 0 : x >= 96 ? 255 : (x * 7 + y * 13) % 256);
    QImage result;
    ASSERT_TRUE(ConvertToWeave(picture, CountPictureColors(picture), Twill(4, 4), result));
    ASSERT_EQ(result.size(), QSize(100, 60));
    ASSERT_EQ(result.format(), QImage::Format_Indexed8);
    for (int y = 0; y < 60; ++y) {
        int black = 0, white = 0;
        for (int x = 0; x < 100; ++x) {
            const int v = result.constScanLine(y)[x];
            ASSERT_TRUE(v == 0 || v == 1);
            black += x < 4 ? v : 0;
            white += x >= 96 ? v : 0;
        }
        EXPECT_EQ(black, 3);
        EXPECT_EQ(white, 1);
    }
}

// The conversion dialog's colour slots: the most frequent colour is selected and holds the
// shading weave; a file that does not load leaves the slot as it was.
TEST(ShadingSeries, SpecifyWeaveKeepsTheShadingWeaveOfTheSelectedColour)
{
    QTemporaryDir dir;
    const QString twill = dir.filePath(QStringLiteral("t.ovw"));
    ASSERT_TRUE(WriteWeaveFile(twill, Twill(4, 4)));
    const QImage picture = MakePicture({ { 5, 3, 3, 7 }, { 7, 9, 5, 3 } });
    TSpecifyWeave specify;
    specify.ReadColors(picture);
    ASSERT_EQ(specify.ColorList().size(), 4);
    EXPECT_EQ(specify.GridInfos().size(), 4);
    EXPECT_EQ(specify.TotalCount(), 8);
    EXPECT_EQ(specify.SelectedIndex(), 0);
    // Nothing loaded yet: a weave without wefts passes the shading test, but the conversion
    // refuses it.
    QImage none;
    QString refusal;
    EXPECT_FALSE(specify.ShadeColors(picture, none, &refusal));
    EXPECT_EQ(refusal, QStringLiteral("The weave given is not correct."));

    ASSERT_TRUE(specify.LoadSelectedWeave(twill));
    EXPECT_TRUE(specify.GridInfos()[0].Assigned);
    EXPECT_EQ(specify.GridInfos()[0].FileName, twill);
    QString error;
    EXPECT_FALSE(specify.LoadSelectedWeave(dir.filePath(QStringLiteral("none.ovw")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(specify.GridInfos()[0].Weave, Twill(4, 4));
    EXPECT_TRUE(specify.IsShadingWeave());
    QImage result;
    ASSERT_TRUE(specify.ShadeColors(picture, result));
    EXPECT_EQ(result.size(), picture.size());

    specify.SetColorCount(2);
    EXPECT_EQ(specify.TotalCount(), 5);
    specify.SetColorCount(0);
    EXPECT_TRUE(specify.ColorList().isEmpty());
    EXPECT_FALSE(specify.LoadSelectedWeave(twill));
}

// A picture large enough to be converted in bands of rows side by side gives, cell for cell,
// each colour's member anchored at the bottom-left (here a 5 x 5 twill, so a block of one
// repeat does not divide the width).
TEST(ShadingSeries, LargePictureEqualsTheMembersCellForCell)
{
    const int width = 1503, height = 2001; // three bands of rows at least, where there are cores
    QImage picture = NewPicture(width, height, GreyPalette());
    std::uint32_t seed = 99;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            picture.scanLine(y)[x] = std::uint8_t((seed >> 24) & 0xF0);
        }
    const TWeaveArray base = Twill(5, 5, 2);
    QImage result;
    ASSERT_TRUE(ConvertToWeave(picture, CountPictureColors(picture), base, result));
    const TShadingSeries series(base);
    std::vector<TWeaveArray> memberOf(256);
    for (int i = 0; i < 256; i += 16)
        memberOf[std::size_t(i)] = series.Member(ShadingMemberIndex(i | i << 8 | i << 16, series.Count()));
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TWeaveArray &m = memberOf[picture.constScanLine(y)[x]];
            wrong += result.constScanLine(y)[x] != m[x % 5][4 - (height - 1 - y) % 5];
        }
    EXPECT_EQ(wrong, 0);
}

// Members asked for together, in any order, with repeats and indexes past either end, equal
// the members made one by one.
TEST(ShadingSeries, MembersMadeTogetherEqualMembersMadeAlone)
{
    const TShadingSeries s(Twill(7, 5, 3));
    const std::vector<int> asked { 20, 0, 26, 3, 20, -4, 400, 1, s.Count() - 1 };
    const std::vector<std::vector<std::uint8_t>> together = s.MembersPoints(asked);
    ASSERT_EQ(together.size(), asked.size());
    for (std::size_t k = 0; k < asked.size(); ++k)
        EXPECT_EQ(together[k], s.MemberPoints(asked[k])) << asked[k];
    EXPECT_TRUE(s.MembersPoints({}).empty());
}

// Tiling in bands of rows, cell for cell against each cell worked out alone, for repeats
// read as one mask a weft (up to 64 warps) and as rows of cells (more), odd and even, with
// half the colours left unlisted so that they take the plain weave; repeats of many wefts
// against the picture's height have each row make its own tables.
TEST(ShadingSeries, TilingEqualsEachCellWorkedOutAlone)
{
    const int width = 1201, height = 1800; // two bands of rows at least, where there are cores
    QImage picture = NewPicture(width, height, GreyPalette());
    std::uint32_t seed = 4242;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 24;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.scanLine(y)[x] = std::uint8_t(next());
    TClrIndex listed;
    const TClrIndex all = CountPictureColors(picture);
    for (qsizetype c = 0; c < all.size(); c += 2)
        listed.append(all[c]);
    const struct {
        int Warps, Wefts;
    } sizes[] = { { 5, 3 }, { 64, 7 }, { 63, 1 }, { 65, 4 }, { 130, 2 }, { 2, 64 }, { 3, 300 }, { 64, 250 } };
    for (const auto &size : sizes) {
        QList<TWeaveArray> weaves;
        for (qsizetype c = 0; c < listed.size(); ++c) {
            TWeaveArray w = MakeWeaveArray(size.Warps, size.Wefts);
            for (int x = 0; x < size.Warps; ++x)
                for (int j = 0; j < size.Wefts; ++j)
                    w[x][j] = std::uint8_t(next() % 3); // 2 counts as no point
            weaves.append(w);
        }
        QImage result;
        TileColorWeaves(picture, listed, weaves, result);
        ASSERT_EQ(result.size(), picture.size());
        std::array<int, 256> weaveOf;
        weaveOf.fill(-1);
        for (qsizetype c = 0; c < listed.size(); ++c)
            weaveOf[std::size_t(listed[c].Color & 0xFF)] = int(c); // a grey's entry is its level
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int c = weaveOf[picture.constScanLine(y)[x]];
                const int want = c < 0
                    ? (x + y) % 2
                    : weaves[c][x % size.Warps][size.Wefts - 1 - (height - 1 - y) % size.Wefts] == 1;
                wrong += result.constScanLine(y)[x] != want;
            }
        EXPECT_EQ(wrong, 0) << size.Warps << " x " << size.Wefts;
    }
}

// A base wider than 256 warps keeps its points where they are, in every member.
TEST(ShadingSeries, BasesWiderThan256WarpsKeepTheirPoints)
{
    TWeaveArray base = MakeWeaveArray(300, 2);
    base[290][0] = 1;
    base[10][1] = 1;
    const TShadingSeries s = MakeShadingSeries(base);
    ASSERT_EQ(s.Count(), 1 + 298 * 2);
    const TWeaveArray inverted = s.Member(0);
    EXPECT_EQ(inverted[290][0], 0);
    EXPECT_EQ(inverted[290 % 256][0], 1);
    EXPECT_EQ(inverted[10][1], 0);
    // The last weft first, one warp further on; then the first weft.
    EXPECT_EQ(s.Member(1)[11][1], 0);
    EXPECT_EQ(s.Member(2)[291][0], 0);
    EXPECT_EQ(s.Member(2)[291 % 256][0], 1);
}
