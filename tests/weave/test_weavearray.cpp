#include "weave/layersequence.h"
#include "weave/weavearray.h"

#include <gtest/gtest.h>

namespace {

TWeaveArray Numbered(int w, int h) // cell [i][j] = 10 * i + j
{
    TWeaveArray a = MakeWeaveArray(w, h);
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j)
            a[i][j] = std::uint8_t(10 * i + j);
    return a;
}

} // namespace

TEST(WeaveArray, TileAnchorsAtTheLastWeft)
{
    const TWeaveArray src = Numbered(2, 3);
    TWeaveArray dest = MakeWeaveArray(5, 4);
    TileWeaveArray(src, dest);
    EXPECT_EQ(dest[4][3], src[0][2]);
    EXPECT_EQ(dest[0][0], src[0][2]);
    EXPECT_EQ(dest[1][1], src[1][0]);
    EXPECT_EQ(dest[3][2], src[1][1]);

    // Empty sources never divide by zero and leave the destination as it is.
    TWeaveArray noWefts = MakeWeaveArray(2, 0);
    TileWeaveArray(TWeaveArray(), dest);
    TileWeaveArray(noWefts, dest);
    EXPECT_EQ(dest[4][3], src[0][2]);
}

TEST(WeaveArray, CopyFillAndSolid)
{
    TWeaveArray dest = MakeWeaveArray(1, 1, 5);
    CopyWeaveArray(TWeaveArray(), dest);
    EXPECT_EQ(dest, MakeWeaveArray(1, 1, 5));
    const TWeaveArray src = Numbered(2, 2);
    CopyWeaveArray(src, dest);
    EXPECT_EQ(dest, src);
    dest[0][0] = 99;
    EXPECT_EQ(src[0][0], 0); // a copy, not shared

    FillWeaveRect(dest, TWeaveRect { 1, 0, 5, 0 }, 7); // clipped to the matrix
    EXPECT_EQ(dest[1][0], 1);
    EXPECT_EQ(dest[1][1], 11);
    FillWeaveArray(dest, 0);
    EXPECT_EQ(dest, MakeWeaveArray(2, 2, 0));
    InitSolidWeave(dest, true);
    EXPECT_EQ(dest, MakeWeaveArray(2, 2, 1));
}

TEST(WeaveArray, TransferModes)
{
    // Overlapping move inside one matrix: the rectangle is taken first.
    TWeaveArray m = MakeWeaveArray(3, 1);
    m[0][0] = 1;
    m[1][0] = 1;
    MoveWeaveRect(m, TWeaveRect { 0, 0, 1, 0 }, m, 0, 1);
    EXPECT_EQ(m[0][0], 0);
    EXPECT_EQ(m[1][0], 1);
    EXPECT_EQ(m[2][0], 1);

    TWeaveArray src = MakeWeaveArray(2, 2);
    src[0][0] = 3;
    TWeaveArray dst = MakeWeaveArray(2, 2);
    dst[1][1] = 9;
    MergeWeaveRect(src, TWeaveRect { 0, 0, 1, 1 }, dst, 0, 0);
    EXPECT_EQ(dst[0][0], 1);
    EXPECT_EQ(dst[1][1], 1);
    EXPECT_EQ(dst[0][1], 0);

    dst = MakeWeaveArray(2, 2, 4);
    CopyWeaveRect(src, TWeaveRect { 0, 0, 1, 1 }, dst, 1, 1); // only [1][1] lands inside
    EXPECT_EQ(dst[1][1], 3);
    EXPECT_EQ(dst[0][0], 4);
    EXPECT_EQ(src[0][0], 3);
}

TEST(LayerSequence, WriteTable)
{
    const struct {
        TIntegerArray seq;
        const char *text;
    } cases[] = {
        { { 1, 1, 1, 2 }, "3(1),2" },
        { { 1, 2, 1, 2 }, "2(1,2)" },
        { { 1, 1, 2 }, "1,1,2" },
        { { 1, 2, 3, 3, 3 }, "1,2,3,3,3" },
        { { 1, 2, 1, 2, 3 }, "2(1,2),3" },
        { { 4 }, "4" },
        { {}, "" },
        { { 5, 5, 5, 5, 5, 5, 7, 7, 7 }, "6(5),3(7)" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(LayerSequenceToText(c.seq), QString::fromLatin1(c.text)) << c.text;
}

TEST(LayerSequence, ReadTableAndRefusals)
{
    const struct {
        const char *text;
        TIntegerArray seq;
    } good[] = {
        { "2(1,2),3", { 1, 2, 1, 2, 3 } },
        { "3(1,2),4", { 1, 2, 1, 2, 1, 2, 4 } },
        { "7", { 7 } },
        { "1(5),2(6)", { 5, 6, 6 } },
        { "-1,2", { -1, 2 } },
    };
    for (const auto &c : good) {
        TIntegerArray seq;
        ASSERT_TRUE(ParseLayerSequence(QString::fromLatin1(c.text), seq)) << c.text;
        EXPECT_EQ(seq, c.seq) << c.text;
        EXPECT_TRUE(ParseLayerSequence(LayerSequenceToText(seq), seq)) << c.text;
        EXPECT_EQ(seq, c.seq) << c.text;
    }
    const char *bad[] = { "2(1,2", "1,,2", "1,2,", "", "0(1,2)", "-2(1)", "2(1,2)3", "2(1;2", "1),2(3)",
        "2(1,(2))", "2()", "x", "99999(1,2,3,4,5,6,7,8,9,10)" };
    for (const char *t : bad) {
        TIntegerArray seq { 9 };
        EXPECT_FALSE(ParseLayerSequence(QString::fromLatin1(t), seq)) << t;
        EXPECT_EQ(seq, TIntegerArray { 9 }) << t;
    }
    EXPECT_EQ(SplitLayerText(QStringLiteral("1,,2"), QStringLiteral(",")),
        (QStringList { QStringLiteral("1"), QString(), QStringLiteral("2") }));
}
