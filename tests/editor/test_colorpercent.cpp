// The colour statistics: cell counts and shares per used colour, sorted by count with
// equal counts in index order, and back to index order.
#include "editor/colorpercent.h"

#include "testutil.h"

#include <gtest/gtest.h>

namespace {
std::vector<int> indexes(const TColorPercentTable &t)
{
    std::vector<int> out;
    for (const auto &row : t.Rows())
        out.push_back(row.Index);
    return out;
}
} // namespace

TEST(ColorPercent, CountsAndSharesPerUsedColour)
{
    struct Case {
        QImage picture;
        std::vector<int> indexes;
        QStringList fractions;
    } cases[] = {
        { MakePicture({ { 1, 1 }, { 1, 7 } }), { 1, 7 }, { "0.7500", "0.2500" } },
        { MakePicture({ { 4, 4, 4 } }), { 4 }, { "1.0000" } },
    };
    for (const Case &c : cases) {
        TColorPercentTable table;
        table.Count(c.picture);
        EXPECT_EQ(table.Total(), c.picture.width() * c.picture.height());
        ASSERT_EQ(indexes(table), c.indexes);
        for (int r = 0; r < c.fractions.size(); ++r)
            EXPECT_EQ(table.FractionText(table.Rows()[r]), c.fractions[r]);
    }
    TColorPercentTable table;
    table.Count(MakePicture({ { 1, 1, 1, 7 } }));
    EXPECT_EQ(TColorPercentTable::CountText(table.Rows()[0]), "3");
}

TEST(ColorPercent, SortByCountKeepsIndexOrderAmongEqualCountsAndIndexOrderComesBack)
{
    // Counts {0: 1, 1: 1, 2: 2}: the library's count sort gives 2, 1, 0.
    TColorPercentTable table;
    table.Count(MakePicture({ { 0, 1, 2, 2 } }));
    table.SortByCount();
    EXPECT_EQ(indexes(table), (std::vector<int> { 2, 0, 1 }));
    table.SortByCount();
    EXPECT_EQ(indexes(table), (std::vector<int> { 2, 0, 1 }));
    table.SortByIndex();
    EXPECT_EQ(indexes(table), (std::vector<int> { 0, 1, 2 }));
}
