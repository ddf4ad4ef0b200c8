#include "card/needletables.h"
#include "card/rowtables.h"

#include "testutil.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> Row(const TDynamicByteArray &a)
{
    return std::vector<int>(a.begin(), a.end());
}

// A document of the given picture with WeftRepeat 1 and default row tables.
TMesh Document(QImage &picture)
{
    TMesh mesh;
    InitNewDocument(mesh, &picture, 0, 0, 1, TColorArray {});
    return mesh;
}

} // namespace

TEST(PickTable, ResetAndSection)
{
    TNeedleMaskTable masks;
    masks.fill(77);
    ResetNeedleTable(masks, 3);
    EXPECT_EQ(masks[0], 1u);
    EXPECT_EQ(masks[1], 2u);
    EXPECT_EQ(masks[2], 4u);
    for (int i = 3; i < 16; ++i)
        EXPECT_EQ(masks[i], 0u) << i;
    ResetNeedleTable(masks, 16);
    EXPECT_EQ(masks[15], 0x8000u);
    EXPECT_EQ(NeedleTableSection(PickTableKind), QStringLiteral("Pick"));
    EXPECT_EQ(NeedleTableSection(WeftDensTableKind), QStringLiteral("WeftDens"));
}

TEST(PickTable, FromWeave)
{
    // 4 warps, 2 wefts: weft 0 (top) = 1 0 0 1, weft 1 (bottom) = 0 1 1 0.
    TWeaveArray w = MakeWeaveArray(4, 2);
    w[0][0] = 1;
    w[3][0] = 1;
    w[1][1] = 1;
    w[2][1] = 1;
    TNeedleMaskTable masks;
    masks.fill(5);
    int count = 0;
    ASSERT_TRUE(NeedleTableFromWeave(w, masks, count));
    EXPECT_EQ(count, 4);
    EXPECT_EQ(masks[0], 0b0110u); // the bottom weft
    EXPECT_EQ(masks[1], 0b1001u);
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(masks[i], 0u);

    // Wider and taller than 16: only the first 16 warps and wefts; entry 0 is weft 15.
    TWeaveArray big = MakeWeaveArray(20, 18);
    big[16][15] = 1; // past 16 warps: ignored
    big[15][15] = 1;
    big[0][17] = 1; // past 16 wefts: ignored
    ASSERT_TRUE(NeedleTableFromWeave(big, masks, count));
    EXPECT_EQ(count, 16);
    EXPECT_EQ(masks[0], 0x8000u);

    const TNeedleMaskTable before = masks;
    EXPECT_FALSE(NeedleTableFromWeave(TWeaveArray(), masks, count));
    EXPECT_EQ(masks, before);
}

TEST(PickTable, ApplyByColour)
{
    // Colour 5 is in rows 0 and 2 (row 2 only in its last cell).
    QImage pic = MakePicture({ { 5, 1, 1 }, { 1, 1, 1 }, { 1, 1, 5 } });
    TMesh mesh = Document(pic);

    // Shuttle 3 to entry 2 of a document with WeftRepeat 1: the tables grow to 3 entries.
    ASSERT_TRUE(ApplyValueByColour(mesh, pic, 5, 2, 3, false));
    EXPECT_EQ(mesh.WeftRepeat, 3);
    EXPECT_EQ(mesh.TechWeaves.length(), 9);
    ASSERT_EQ(mesh.PickRows.length(), 3);
    EXPECT_EQ(Row(mesh.PickRows[0]), (std::vector<int> { 1, 1, 1 }));
    EXPECT_EQ(Row(mesh.PickRows[1]), (std::vector<int> { 0, 0, 0 }));
    EXPECT_EQ(Row(mesh.PickRows[2]), (std::vector<int> { 3, 0, 3 }));
    EXPECT_EQ(Row(mesh.RegulatorRows[1]), (std::vector<int> { 1, 1, 1 }));
    EXPECT_EQ(Row(mesh.RegulatorRows[2]), (std::vector<int> { 0, 1, 0 }));
    EXPECT_EQ(Row(mesh.WeftDensRows[2]), (std::vector<int> { 3, 3, 3 }));

    // Shuttle 0 to entry 1 writes 0 and leaves the stop-motion values.
    mesh.RegulatorRows[1].fill(7);
    ASSERT_TRUE(ApplyValueByColour(mesh, pic, 5, 1, 0, false));
    EXPECT_EQ(Row(mesh.PickRows[1]), (std::vector<int> { 0, 0, 0 }));
    EXPECT_EQ(Row(mesh.RegulatorRows[1]), (std::vector<int> { 7, 7, 7 }));

    // Weft-density mode writes into an existing entry and never grows the tables.
    ASSERT_TRUE(ApplyValueByColour(mesh, pic, 1, 0, 16, true));
    EXPECT_EQ(Row(mesh.WeftDensRows[0]), (std::vector<int> { 16, 16, 16 }));
    ASSERT_TRUE(ApplyValueByColour(mesh, pic, 1, 5, 2, true));
    EXPECT_EQ(mesh.WeftDensRows.length(), 3);

    // Refused: values above 16, entries past 16, no picked colour.
    const TMesh before = mesh;
    QString error;
    EXPECT_FALSE(ApplyValueByColour(mesh, pic, 5, 0, 17, false, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ApplyValueByColour(mesh, pic, 5, 16, 1, false));
    EXPECT_FALSE(ApplyValueByColour(mesh, pic, -1, 0, 1, false));
    EXPECT_EQ(Row(mesh.PickRows[0]), (std::vector<int> { 1, 1, 1 }));
    EXPECT_EQ(mesh.WeftRepeat, 3);
}

TEST(RowTables, GrowShrinkAndEnsure)
{
    QImage pic = MakePicture({ { 0 }, { 0 } });
    TMesh mesh = Document(pic);
    GrowPickTables(mesh, false, -1); // one entry: nothing
    EXPECT_EQ(mesh.WeftRepeat, 1);
    GrowPickTables(mesh, false, 2);
    EXPECT_EQ(Row(mesh.PickRows[2]), (std::vector<int> { 3, 3 }));
    EXPECT_EQ(Row(mesh.RegulatorRows[2]), (std::vector<int> { 0, 0 }));
    GrowPickTables(mesh, false, -2);
    EXPECT_EQ(mesh.WeftRepeat, 1);
    EXPECT_EQ(mesh.PickRows.length(), 1);

    // Tables that fit keep the designer's values; a table of the wrong size is rebuilt.
    mesh.PickRows[0][1] = 0;
    mesh.WeftDensRows = TWeaveArray();
    EnsureRowTables(mesh);
    EXPECT_EQ(Row(mesh.PickRows[0]), (std::vector<int> { 1, 0 }));
    EXPECT_EQ(Row(mesh.WeftDensRows[0]), (std::vector<int> { 1, 1 }));
    mesh.Wefts = 3;
    EnsureRowTables(mesh);
    EXPECT_EQ(Row(mesh.PickRows[0]), (std::vector<int> { 1, 1, 1 }));

    QString error;
    EXPECT_TRUE(CheckRowTableValues(mesh, &error));
    mesh.WeftDensRows[0][2] = 17;
    EXPECT_FALSE(CheckRowTableValues(mesh, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("17")));
}

// A new pattern height: each entry keeps the values entered for the rows that remain (from
// the first one on), new rows take the entry's defaults, and the count of entered rows that
// went is returned; a table of another entry count is rebuilt.
TEST(RowTables, FitToANewHeightKeepsTheRowsThatRemain)
{
    const struct {
        const char *what;
        int wefts, firstOldRow;
        bool wrongEntries; // the weft-density table was made for another entry count
        std::vector<int> entry0, entry1, density1;
        int dropped;
    } cases[] = {
        { "lower, top rows remain", 2, 0, false, { 11, 12 }, { 21, 22 }, { 6, 5 }, 2 },
        { "lower, middle rows remain", 2, 1, false, { 12, 13 }, { 22, 23 }, { 5, 4 }, 2 },
        { "higher, new rows take defaults", 6, 0, false, { 11, 12, 13, 14, 1, 1 }, { 21, 22, 23, 24, 2, 2 },
            { 6, 5, 4, 3, 2, 2 }, 0 },
        { "same height changes nothing", 4, 0, false, { 11, 12, 13, 14 }, { 21, 22, 23, 24 }, { 6, 5, 4, 3 },
            0 },
        { "another entry count is rebuilt", 3, 0, true, { 11, 12, 13 }, { 21, 22, 23 }, { 2, 2, 2 }, 1 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QImage pic = MakePicture({ { 0 }, { 0 }, { 0 }, { 0 } });
        TMesh mesh = Document(pic);
        GrowPickTables(mesh, false, 1);
        for (int r = 0; r < 4; ++r) {
            mesh.PickRows[0][r] = std::uint8_t(11 + r);
            mesh.PickRows[1][r] = std::uint8_t(21 + r);
            mesh.WeftDensRows[1][r] = std::uint8_t(6 - r);
        }
        if (c.wrongEntries)
            mesh.WeftDensRows.setLength(1);
        mesh.Wefts = c.wefts;
        EXPECT_EQ(FitRowTablesToHeight(mesh, c.firstOldRow), c.dropped);
        EXPECT_EQ(Row(mesh.PickRows[0]), c.entry0);
        EXPECT_EQ(Row(mesh.PickRows[1]), c.entry1);
        EXPECT_EQ(Row(mesh.RegulatorRows[0]).size(), std::size_t(c.wefts));
        ASSERT_EQ(mesh.WeftDensRows.length(), 2);
        EXPECT_EQ(Row(mesh.WeftDensRows[1]), c.density1);
    }
}

// Shuttle numbers and weft-density steps choose one of 16 table entries: the defaults of
// new entries cycle 1..16 (entry e gets e mod 16 + 1), so that a document with 17 or more
// weft entries builds its card and no value wraps to 0 at entry 255.
TEST(RowTables, DefaultValuesCycleWithinSixteen)
{
    QImage pic = MakePicture({ { 0 }, { 0 } });
    for (int entries : { 17, 256, 300 }) {
        TMesh mesh = Document(pic);
        mesh.WeftRepeat = entries;
        InitRowTables(mesh);
        ASSERT_EQ(mesh.PickRows.length(), entries);
        for (int e = 0; e < entries; ++e) {
            ASSERT_EQ(Row(mesh.PickRows[e]), (std::vector<int> { e % 16 + 1, e % 16 + 1 })) << e;
            ASSERT_EQ(Row(mesh.WeftDensRows[e]), (std::vector<int> { e % 16 + 1, e % 16 + 1 })) << e;
        }
        EXPECT_TRUE(CheckRowTableValues(mesh)) << entries;
    }

    TMesh grown = Document(pic);
    GrowPickTables(grown, false, 299);
    ASSERT_EQ(grown.WeftRepeat, 300);
    for (int e : { 15, 16, 17, 255, 299 }) {
        EXPECT_EQ(Row(grown.PickRows[e]), (std::vector<int> { e % 16 + 1, e % 16 + 1 })) << e;
        EXPECT_EQ(Row(grown.RegulatorRows[e]), (std::vector<int> { 0, 0 })) << e;
        EXPECT_EQ(Row(grown.WeftDensRows[e]), (std::vector<int> { e % 16 + 1, e % 16 + 1 })) << e;
    }
    EXPECT_TRUE(CheckRowTableValues(grown));
}
