#include "core/base/document.h"

#include <gtest/gtest.h>

#include <type_traits>

TEST(DynArray, CopiesShareElementsUntilResized)
{
    TDynamicByteArray a(3);
    TDynamicByteArray b = a;
    b[1] = 7;
    EXPECT_EQ(a[1], 7) << "an element written through one holder is seen through the other";
    b.setLength(5);
    b[0] = 9;
    EXPECT_EQ(a[0], 0) << "resizing detaches the resized holder";
    EXPECT_EQ(a.length(), 3);
    EXPECT_EQ(b.length(), 5);
    EXPECT_EQ(b[1], 7) << "resizing keeps the elements";
    EXPECT_EQ(b[4], 0) << "new elements are zero";
}

TEST(DynArray, NestedArraysShareAtBothLevels)
{
    TWeaveArray outer = MakeWeaveArray(2, 2);
    TWeaveArray copy = outer;
    copy[0][0] = 1;
    EXPECT_EQ(outer[0][0], 1);

    // Resizing the outer list of the copy detaches the list, not the inner rows.
    copy.setLength(3);
    copy[1][1] = 1;
    EXPECT_EQ(outer[1][1], 1) << "the rows are still shared";
    EXPECT_EQ(outer.length(), 2);

    // Resizing an inner row detaches only that row.
    copy[0].setLength(4);
    copy[0][1] = 1;
    EXPECT_EQ(outer[0][1], 0);
    EXPECT_EQ(outer[0].length(), 2);
}

TEST(DynArray, EmptyAndZeroLength)
{
    TIntegerArray a;
    EXPECT_TRUE(a.isEmpty());
    a.setLength(2);
    a.setLength(0);
    EXPECT_EQ(a.size(), 0);
    EXPECT_EQ(a.begin(), a.end());
    a.setLength(-3);
    EXPECT_TRUE(a.isEmpty()) << "a negative length is no length";
}

namespace {
template <class A>
concept ElementWritable = requires(A &a)
{
    a[0] = a[0];
};
template <class A>
concept NestedElementWritable = requires(A &a)
{
    a[0][0] = a[0][0];
};
template <class A>
concept Fillable = requires(A &a)
{
    a.fill(*a.begin());
};
template <class A>
concept DataWritable = requires(A &a)
{
    *a.data() = *a.data();
    *a.begin() = *a.end();
};
template <class M>
concept PickRowsWritable = requires(M &m)
{
    m.PickRows[0][0] = 1;
};
} // namespace

TEST(DynArray, ConstHoldersOnlyRead)
{
    EXPECT_TRUE(ElementWritable<TIntegerArray>);
    EXPECT_FALSE(ElementWritable<const TIntegerArray>);
    EXPECT_TRUE(NestedElementWritable<TWeaveArray>);
    EXPECT_FALSE(NestedElementWritable<const TWeaveArray>);
    EXPECT_TRUE(Fillable<TIntegerArray>);
    EXPECT_FALSE(Fillable<const TIntegerArray>);
    EXPECT_TRUE(DataWritable<TIntegerArray>);
    EXPECT_FALSE(DataWritable<const TIntegerArray>);
    EXPECT_TRUE(PickRowsWritable<TMesh>);
    EXPECT_FALSE(PickRowsWritable<const TMesh>) << "a const record protects its arrays";

    // A non-const copy still shares the elements: const guards the holder, not the storage.
    const TIntegerArray a { 1, 2, 3 };
    TIntegerArray b = a;
    b[0] = 9;
    EXPECT_EQ(a[0], 9);
}

TEST(DynArray, IndexesAndLengthsAreOneSignedType)
{
    TIntegerArray a(3);
    EXPECT_TRUE((std::is_same_v<decltype(a.size()), qsizetype>));
    EXPECT_TRUE((std::is_same_v<decltype(a.length()), qsizetype>));
    // An int counter compares and indexes without a cast.
    for (int i = 0; i < a.size(); ++i)
        a[i] = i;
    EXPECT_EQ(a, (TIntegerArray { 0, 1, 2 }));
}

class NewDocument : public ::testing::TestWithParam<int> { };

TEST_P(NewDocument, RowTablesAndWeaveSlots)
{
    const int repeat = GetParam();
    QImage picture(5, 4, QImage::Format_Indexed8);
    TMesh mesh;
    mesh.WeftRepeat = repeat;
    InitNewDocument(mesh, &picture, 40.0, 30.0, 1, TColorArray { 0x000000, 0xFFFFFF });

    EXPECT_EQ(mesh.Warps, 5);
    EXPECT_EQ(mesh.Wefts, 4);
    for (auto *table : { &mesh.PickRows, &mesh.RegulatorRows, &mesh.WeftDensRows }) {
        ASSERT_EQ(table->length(), repeat);
        for (int e = 0; e < repeat; ++e)
            ASSERT_EQ((*table)[e].length(), 4);
    }
    for (int e = 0; e < repeat; ++e)
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(mesh.PickRows[e][row], e + 1);
            EXPECT_EQ(mesh.WeftDensRows[e][row], e + 1);
            EXPECT_EQ(mesh.RegulatorRows[e][row], e == 0 ? 1 : 0);
        }

    ASSERT_EQ(mesh.TechWeaves.length(), 3 * repeat);
    ASSERT_EQ(mesh.TechWeaveNames->size(), 3 * repeat);
    for (const TWeaveArray &w : mesh.TechWeaves) {
        ASSERT_EQ(w.length(), 2);
        EXPECT_EQ(w[0], (TDynamicByteArray { 0, 0 }));
        EXPECT_EQ(w[1], (TDynamicByteArray { 0, 0 }));
    }

    // Two colours x WarpRepeat 1 x WeftRepeat: black gets zeros, white ones.
    ASSERT_EQ(mesh.ColorWeaves.length(), 2 * repeat);
    ASSERT_EQ(mesh.ColorWeaveNames->size(), 2 * repeat);
    for (int e = 0; e < repeat; ++e) {
        EXPECT_EQ(mesh.ColorWeaves[ColorWeaveSlot(mesh, 0, 0, e)][0][0], 0);
        EXPECT_EQ(mesh.ColorWeaves[ColorWeaveSlot(mesh, 1, 0, e)][1][1], 1);
    }
}
INSTANTIATE_TEST_SUITE_P(WeftRepeat, NewDocument, ::testing::Values(1, 3));

TEST(Mesh, GrowingWeftRepeatKeepsTechnicalWeaves)
{
    TMesh mesh;
    InitTechWeaveSlots(mesh);
    mesh.TechWeaves[2][0][0] = 1;
    (*mesh.TechWeaveNames)[2] = QStringLiteral("frame.ovw");
    mesh.WeftRepeat = 2;
    InitTechWeaveSlots(mesh);
    ASSERT_EQ(mesh.TechWeaves.length(), 6);
    EXPECT_EQ(mesh.TechWeaves[2][0][0], 1);
    EXPECT_EQ((*mesh.TechWeaveNames)[2], QStringLiteral("frame.ovw"));
    EXPECT_EQ((*mesh.TechWeaveNames)[5], QString());
    EXPECT_EQ(mesh.TechWeaves[5][1][1], 0);
}

TEST(Mesh, CopiedRecordSharesWeavesButNotResizedLists)
{
    TMesh doc;
    InitTechWeaveSlots(doc);
    TMesh copy = doc;
    copy.TechWeaves[0][1][0] = 1;
    EXPECT_EQ(doc.TechWeaves[0][1][0], 1) << "editing a weave through a copy changes the document's";
    copy.TechWeaves.setLength(6);
    EXPECT_EQ(doc.TechWeaves.length(), 3) << "resizing the copy's list does not";
}

TEST(Mesh, DefaultColourWeavesFollowTheNearBlackRule)
{
    struct Case {
        TColor colour;
        int expected;
    };
    const Case cases[]
        = { { 0x281414, 1 }, { 0x1D1D1D, 0 }, { 0x00001E, 1 }, { 0x1E0000, 1 }, { 0x000000, 0 } };
    for (const Case &c : cases) {
        TMesh mesh;
        mesh.Colors = TColorArray { c.colour };
        mesh.WarpRepeat = 2;
        SetDefaultColourWeaves(mesh);
        ASSERT_EQ(mesh.ColorWeaves.length(), 2);
        for (const TWeaveArray &w : mesh.ColorWeaves)
            EXPECT_EQ(w[0][1], c.expected) << std::hex << c.colour;
    }
}

TEST(Mesh, ColourWeaveSlotsRunColourByWarpRepeatWithinEachWeftEntry)
{
    // Black and white, two warp repeats, two weft entries: slot s shows colour (s mod 4) div 2.
    TMesh mesh;
    mesh.Colors = TColorArray { 0x000000, 0xFFFFFF };
    mesh.WarpRepeat = 2;
    mesh.WeftRepeat = 2;
    ASSERT_TRUE(SetDefaultColourWeaves(mesh));
    ASSERT_EQ(mesh.ColorWeaves.length(), 8);
    ASSERT_EQ(mesh.ColorWeaveNames->size(), 8);
    const int expected[8] = { 0, 0, 1, 1, 0, 0, 1, 1 };
    for (int s = 0; s < 8; ++s)
        EXPECT_EQ(mesh.ColorWeaves[s][1][0], expected[s]) << s;
    EXPECT_EQ(ColorWeaveSlot(mesh, 1, 0, 1), 6);
    EXPECT_EQ(ColorWeaveSlot(mesh, 0, 1, 0), 1);
}
