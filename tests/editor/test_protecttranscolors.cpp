// The protected and transparent colour lists of a grid: picks join the chosen set, clicks
// make a colour current, and removals leave the grid's set exactly the list.
#include "editor/protecttranscolors.h"

#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

class ProtectTransColors : public TPatternGridFixture {
protected:
    void SetUp() override
    {
        TPatternGridFixture::SetUp();
        show(grid, MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 } }, GreyPalette()));
        lists.SetGrid(&grid);
    }
    std::vector<int> listed(TColorSetKind kind) const
    {
        std::vector<int> out;
        for (const auto &item : lists.List(kind))
            out.push_back(item.Index);
        return out;
    }
    static std::vector<int> members(const TColorSet &set)
    {
        std::vector<int> out;
        for (int i = 0; i < 256; ++i)
            if (set.test(std::size_t(i)))
                out.push_back(i);
        return out;
    }
    TPatternGrid grid;
    TProtectTransColors lists;
};

} // namespace

TEST_F(ProtectTransColors, RemovingOneTwoAndAllLeavesTheGridSetEqualToTheList)
{
    for (int index : { 40, 3, 200 })
        ASSERT_TRUE(lists.Add(TColorSetKind::Protected, index));
    EXPECT_FALSE(lists.Add(TColorSetKind::Protected, 3)) << "listed already";
    EXPECT_EQ(listed(TColorSetKind::Protected), (std::vector<int> { 3, 40, 200 })) << "index order";
    EXPECT_EQ(lists.List(TColorSetKind::Protected)[1].Color, GreyPalette()[40]);
    EXPECT_EQ(members(grid.ColorSet()), (std::vector<int> { 3, 40, 200 }));

    // The text colour is made current by a click; removing it drops that very colour, and
    // then the one after it, while every other colour stays protected.
    ASSERT_TRUE(lists.SetCurrent(TColorSetKind::Protected, 1));
    EXPECT_EQ(grid.TextIndex(), 40);
    ASSERT_TRUE(lists.RemoveCurrent(TColorSetKind::Protected));
    EXPECT_EQ(members(grid.ColorSet()), (std::vector<int> { 3, 200 }));
    lists.Rebuild(); // as after the palette notification
    EXPECT_EQ(lists.Current(TColorSetKind::Protected), 1) << "the entry kept steps back inside";
    ASSERT_TRUE(lists.RemoveCurrent(TColorSetKind::Protected));
    EXPECT_EQ(members(grid.ColorSet()), (std::vector<int> { 3 }));
    EXPECT_EQ(listed(TColorSetKind::Protected), (std::vector<int> { 3 }));
    ASSERT_TRUE(lists.Add(TColorSetKind::Protected, 9));
    ASSERT_TRUE(lists.RemoveAll(TColorSetKind::Protected));
    EXPECT_TRUE(grid.ColorSet().none());
    EXPECT_TRUE(lists.List(TColorSetKind::Protected).isEmpty());
    EXPECT_FALSE(lists.RemoveCurrent(TColorSetKind::Protected));
}

TEST_F(ProtectTransColors, TransparentSetIsMirroredAndKeptApartFromTheProtectedOne)
{
    ASSERT_TRUE(lists.Add(TColorSetKind::Transparent, 7));
    ASSERT_TRUE(lists.Add(TColorSetKind::Transparent, 2));
    EXPECT_EQ(members(grid.TransColorSet()), (std::vector<int> { 2, 7 }));
    EXPECT_TRUE(grid.ColorSet().none());
    ASSERT_TRUE(lists.SetCurrent(TColorSetKind::Transparent, 1));
    ASSERT_TRUE(lists.RemoveCurrent(TColorSetKind::Transparent));
    EXPECT_EQ(members(grid.TransColorSet()), (std::vector<int> { 2 }));
    EXPECT_EQ(lists.Current(TColorSetKind::Transparent), 0);
    EXPECT_FALSE(lists.SetCurrent(TColorSetKind::Transparent, 1)) << "past the list";
    ASSERT_TRUE(lists.RemoveAll(TColorSetKind::Transparent));
    EXPECT_TRUE(grid.TransColorSet().none());

    // A new grid brings its own sets.
    TPatternGrid other;
    show(other, MakePicture({ { 1 } }, GreyPalette()));
    other.IncludeColorIndex(5);
    lists.SetGrid(&other);
    EXPECT_EQ(listed(TColorSetKind::Protected), (std::vector<int> { 5 }));
    EXPECT_TRUE(lists.List(TColorSetKind::Transparent).isEmpty());
    lists.SetGrid(nullptr);
    EXPECT_FALSE(lists.Add(TColorSetKind::Protected, 1));
}

TEST(ProtectTransColorCells, EntriesFillTheGridRowByRow)
{
    struct Case {
        int col, row, entry;
    } cases[] = { { 0, 0, 0 }, { 31, 0, 31 }, { 8, 1, 40 }, { 31, 7, 255 } };
    for (const Case &c : cases)
        EXPECT_EQ(ColorSetEntryAt(c.col, c.row), c.entry);
}
