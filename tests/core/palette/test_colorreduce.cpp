#include "core/palette/colorreduce.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
TPaletteEntry rgb(int r, int g, int b)
{
    return { std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), 0 };
}

// A sorted pair list: the given colours first (index i + 10 for colour i, so that indexes
// and positions differ), then the unused indexes with black.
TPalettePairs sortedPairs(const std::vector<TPaletteEntry> &used)
{
    TPalettePairs pairs {};
    int k = 0;
    for (int i = 0; i < int(used.size()); ++i)
        pairs[k++] = { i + 10, used[i] };
    for (int index = 0; index < 256; ++index)
        if (index < 10 || index >= 10 + int(used.size()))
            pairs[k++] = { index, BlackQuad };
    return pairs;
}

std::vector<std::vector<int>> groupIndexes(const TTwoPaletteArray &groups)
{
    std::vector<std::vector<int>> out;
    for (const auto &g : groups) {
        out.emplace_back();
        for (const auto &item : g)
            out.back().push_back(item.Index);
    }
    return out;
}
} // namespace

TEST(ColorGroups, ListHelpersKeepOrder)
{
    TOnePaletteArray list;
    EXPECT_EQ(AddColorEntry(list, { 5, rgb(5, 5, 5) }), 0);
    EXPECT_EQ(AddColorEntry(list, { 7, rgb(7, 7, 7) }), 1);
    AddColorEntries(list, list);
    ASSERT_EQ(list.length(), 4);
    EXPECT_EQ(list[2].Index, 5);
    DeleteColorEntry(list, 9); // outside: nothing
    DeleteColorEntry(list, -1);
    EXPECT_EQ(list.length(), 4);
    EXPECT_TRUE(FindColorEntry(list, 7, false));
    EXPECT_EQ(list.length(), 4);
    EXPECT_TRUE(FindColorEntry(list, 5, true)); // the first 5 goes
    ASSERT_EQ(list.length(), 3);
    EXPECT_EQ(list[0].Index, 7);
    EXPECT_EQ(list[1].Index, 5);
    EXPECT_FALSE(FindColorEntry(list, 6, true));

    TTwoPaletteArray groups;
    AddColorGroup(groups);
    AddColorGroup(groups);
    AddColorGroup(groups);
    AddColorEntry(groups[1], { 3, rgb(3, 3, 3) });
    AddColorEntry(groups[2], { 3, rgb(3, 3, 3) });
    AddColorEntry(groups[2], { 4, rgb(4, 4, 4) });
    int maxLen = -1;
    MaxGroupLength(groups, maxLen);
    EXPECT_EQ(maxLen, 2);
    EXPECT_TRUE(FindColorInGroups(groups, 3)); // removed from group 1 only
    EXPECT_EQ(groupIndexes(groups), (std::vector<std::vector<int>> { {}, {}, { 3, 4 } }));
    DeleteColorGroup(groups, 0);
    EXPECT_EQ(groupIndexes(groups), (std::vector<std::vector<int>> { {}, { 3, 4 } }));
    DeleteColorGroup(groups, 2);
    EXPECT_EQ(groups.length(), 2);
}

TEST(ColorGroups, HeadsAreMeasuredFromTheMostRecentHead)
{
    struct Case {
        const char *name;
        std::vector<TPaletteEntry> colours;
        int count, difference;
        int heads;
        std::vector<std::vector<int>> groups;
    } cases[] = {
        // (0,0,10) is 10 from the first head but more than 90 from the latest one.
        { "most recent head", { rgb(0, 0, 0), rgb(100, 0, 0), rgb(0, 0, 10), rgb(60, 0, 0) }, 5, 90, 3,
            { { 10 }, { 11, 13 }, { 12 } } },
        // Exactly the difference away: no new head.
        { "equal distance", { rgb(0, 0, 0), rgb(90, 0, 0), rgb(0, 90, 0), rgb(200, 0, 0) }, 3, 90, 2,
            { { 10, 11, 12 }, { 13 } } },
        { "count of one", { rgb(0, 0, 0), rgb(200, 0, 0), rgb(0, 200, 0) }, 1, 0, 1, { { 10, 11, 12 } } },
        { "stops at count", { rgb(0, 0, 0), rgb(100, 0, 0), rgb(200, 0, 0), rgb(250, 0, 0) }, 2, 10, 2,
            { { 10 }, { 11, 12, 13 } } },
        // Two heads equally near: the lower head wins.
        { "tie to lower head", { rgb(0, 0, 0), rgb(100, 0, 0), rgb(50, 0, 0) }, 2, 60, 2,
            { { 10, 12 }, { 11 } } },
    };
    for (const auto &c : cases) {
        TPalettePairs pairs = sortedPairs(c.colours);
        int count = c.count, maxLen = 0;
        TTwoPaletteArray groups;
        BuildColorGroups(pairs, count, int(c.colours.size()), groups, maxLen, c.difference);
        EXPECT_EQ(count, c.heads) << c.name;
        EXPECT_EQ(groupIndexes(groups), c.groups) << c.name;
        std::size_t longest = 0;
        for (const auto &g : c.groups)
            longest = std::max(longest, g.size());
        EXPECT_EQ(maxLen, int(longest)) << c.name;
    }
}

TEST(ColorGroups, PairsAreRewrittenHeadsFirst)
{
    // Heads at positions 0, 2 and 4; the others keep their order after them, unused last.
    TPalettePairs pairs
        = sortedPairs({ rgb(0, 0, 0), rgb(5, 0, 0), rgb(100, 0, 0), rgb(104, 0, 0), rgb(200, 0, 0) });
    const TPalettePairs before = pairs;
    int count = 8, maxLen = 0;
    TTwoPaletteArray groups;
    BuildColorGroups(pairs, count, 5, groups, maxLen, 50);
    ASSERT_EQ(count, 3);
    const int order[] = { 0, 2, 4, 1, 3, 5, 6 };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(pairs[i], before[order[i]]) << i;
    EXPECT_EQ(pairs[255], before[255]);

    // No used colour: no groups.
    pairs = before;
    count = 4;
    BuildColorGroups(pairs, count, 0, groups, maxLen, 50);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(groups.length(), 0);
}

TEST(ColorGroups, UnassignedColoursJoinTheNearestHead)
{
    TPalettePairs heads = sortedPairs({ rgb(0, 0, 0), rgb(200, 200, 200), rgb(255, 0, 0) });
    TTwoPaletteArray groups;
    TOnePaletteArray list;
    AddColorEntry(list, { 40, rgb(250, 10, 10) });
    AddColorEntry(list, { 41, rgb(20, 20, 20) });
    AddColorEntry(list, { 42, rgb(190, 210, 200) });
    AddColorEntry(list, { 43, rgb(255, 0, 0) });
    RemapToPaletteCount(heads, 2, groups, list); // only the first two heads take part
    EXPECT_EQ(list.length(), 0);
    EXPECT_EQ(groupIndexes(groups), (std::vector<std::vector<int>> { { 40, 41, 43 }, { 42 } }));
}

TEST(ColorGroups, PickedColourBecomesTheNextHead)
{
    TPalette256 palette = GreyPalette();
    const std::vector<TPaletteEntry> used
        = { palette[10], palette[11], palette[12], palette[13], palette[14] };
    const TPalettePairs start = sortedPairs(used); // pair i has index 10 + i and colour of entry 10 + i

    TPalettePairs pairs = start;
    EXPECT_TRUE(ReduceColorGroups(pairs, palette, 14, 2, 5));
    EXPECT_EQ(pairs[2].Index, 14);
    EXPECT_EQ(pairs[3].Index, 12);
    EXPECT_EQ(pairs[4].Index, 13);
    EXPECT_EQ(pairs[0], start[0]);

    pairs = start;
    EXPECT_FALSE(ReduceColorGroups(pairs, palette, 11, 2, 5)) << "already a head";
    EXPECT_FALSE(ReduceColorGroups(pairs, palette, 15, 2, 5)) << "not a used colour";
    palette[200] = palette[10];
    EXPECT_FALSE(ReduceColorGroups(pairs, palette, 200, 2, 5)) << "same colour as a head";
    EXPECT_EQ(pairs, start);
}

TEST(ColorReduction, MapFromGroupsAndReducedPicture)
{
    TPalette256 palette = GreyPalette();
    palette[3] = rgb(250, 0, 0);
    palette[4] = rgb(240, 10, 0);
    palette[7] = rgb(0, 0, 250);
    palette[9] = rgb(0, 5, 240);
    palette[12] = rgb(20, 20, 20);
    QImage bmp = MakePicture({ { 3, 3, 3, 7, 7 }, { 12, 12, 4, 9, 7 } }, palette);

    TPalettePairs pairs;
    TPalette256 sorted;
    const int used = SortPictureColors(bmp, pairs, sorted);
    ASSERT_EQ(used, 5);
    int count = 3, maxLen = 0;
    TTwoPaletteArray groups;
    BuildColorGroups(pairs, count, used, groups, maxLen, 60);
    ASSERT_EQ(count, 3);

    TPalettePairs map;
    PaletteToPairs(palette, map);
    BuildColorMapFromGroups(map, groups, pairs);
    EXPECT_EQ(map[3].Index, 0);
    EXPECT_EQ(map[4].Index, 0);
    EXPECT_EQ(map[7].Index, 1);
    EXPECT_EQ(map[9].Index, 1);
    EXPECT_EQ(map[12].Index, 2);
    EXPECT_EQ(map[100].Index, 100) << "untouched items keep their value";

    TPalette256 reduced;
    ApplyColorReduction(bmp, map, reduced, count, pairs);
    EXPECT_EQ(PictureRows(bmp), (std::vector<std::vector<int>> { { 0, 0, 0, 1, 1 }, { 2, 2, 0, 1, 1 } }));
    EXPECT_EQ(reduced[0], palette[3]);
    EXPECT_EQ(reduced[1], palette[7]);
    EXPECT_EQ(reduced[2], palette[12]);
    for (int i = 3; i <= 254; ++i)
        EXPECT_EQ(reduced[i], BlackQuad) << i;
    EXPECT_EQ(reduced[255], WhiteQuad);
    TPalette256 table;
    GetBitmapPalette(bmp, table);
    EXPECT_EQ(table, reduced);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(pairs[i], (TPaletteItem { i, reduced[i] }));
}

TEST(ColorReduction, AllEntriesKeptStillEndInBlackAndWhite)
{
    QImage bmp = MakePicture({ { 0, 1, 254, 255 } });
    TPalettePairs map, pairs;
    PaletteToPairs(GreyPalette(), map);
    PaletteToPairs(GreyPalette(), pairs);
    TPalette256 reduced;
    ApplyColorReduction(bmp, map, reduced, 256, pairs);
    EXPECT_EQ(PictureRows(bmp), (std::vector<std::vector<int>> { { 0, 1, 254, 255 } }));
    EXPECT_EQ(reduced[1], GreyPalette()[1]);
    EXPECT_EQ(reduced[253], GreyPalette()[253]);
    EXPECT_EQ(reduced[254], BlackQuad);
    EXPECT_EQ(reduced[255], WhiteQuad);
}
