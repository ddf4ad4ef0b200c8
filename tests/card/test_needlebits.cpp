// Moving stretches of needle bits from the period's stream into a card row: the plan's
// runs (whole bytes, one deposit per word, or piece by piece) all give what a bit-by-bit
// copy gives, keep the bits already in the row and write nothing past its end.
#include "card/needlebits.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

bool bitAt(const TBytes &bytes, std::size_t b)
{
    return (bytes[b >> 3] >> (7 - (b & 7))) & 1;
}

struct TStretch {
    std::size_t From, To, Count;
};

// How the stretches of a plan are laid out.
struct TLayout {
    const char *What;
    std::size_t RowBytes;
    int MaxGap, MaxCount;
    bool SourceInOrder; // each stretch's source follows the one before
    bool ByteAligned;
};

std::vector<TStretch> makeStretches(const TLayout &layout, std::mt19937 &random)
{
    const auto below = [&](int n) { return std::size_t(random() % std::uint32_t(n)); };
    std::vector<TStretch> stretches;
    std::size_t to = below(layout.MaxGap + 1), from = below(40);
    const std::size_t rowBits = layout.RowBytes * 8;
    while (true) {
        std::size_t count = 1 + below(layout.MaxCount);
        if (layout.ByteAligned) {
            to = (to + 7) / 8 * 8;
            from = (from + 7) / 8 * 8;
            count = (count + 7) / 8 * 8;
        }
        if (to + count > rowBits)
            break;
        stretches.push_back({ from, to, count });
        to += count + below(layout.MaxGap + 1);
        from = layout.SourceInOrder ? from + count : below(200);
    }
    return stretches;
}

} // namespace

TEST(NeedleBits, EveryRunOfAPlanCopiesTheStretchesBitForBit)
{
    const TLayout layouts[] = {
        { "15 needles of every 16, as a split card", 84, 1, 15, true, false },
        { "long stretches with short gaps", 100, 3, 150, true, false },
        { "stretches on byte boundaries", 64, 16, 64, true, true },
        { "a source that starts again (a period shorter than the run)", 90, 2, 30, false, false },
        { "a row whose last word is partial", 13, 2, 9, true, false },
        { "single needles far apart", 70, 70, 1, true, false },
    };
    std::mt19937 random(7);
    for (const TLayout &layout : layouts)
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE(testing::Message() << layout.What << ", round " << round);
            const std::vector<TStretch> stretches = makeStretches(layout, random);
            NeedleBits::TBitGatherPlan plan;
            for (const TStretch &s : stretches)
                plan.Add(s.From, s.To, s.Count);
            std::size_t sourceBits = 0;
            for (const TStretch &s : stretches)
                sourceBits = std::max(sourceBits, s.From + s.Count);
            TBytes source(sourceBits / 8 + 1 + NeedleBits::SourceSlack), row(layout.RowBytes);
            for (auto &b : source)
                b = std::uint8_t(random());
            // Bits already in the row stay: a few of them set at random.
            for (auto &b : row)
                b = std::uint8_t(random() & random() & random());
            TBytes expected = row;
            for (const TStretch &s : stretches)
                for (std::size_t i = 0; i < s.Count; ++i)
                    if (bitAt(source, s.From + i))
                        expected[(s.To + i) >> 3] |= std::uint8_t(0x80 >> ((s.To + i) & 7));
            // One guard byte past the row shows a write beyond its end.
            TBytes run = row, gathered = row;
            run.push_back(0x5a);
            gathered.push_back(0x5a);
            plan.Run(source.data(), run.data(), layout.RowBytes);
            plan.RunGathered(source.data(), gathered.data(), layout.RowBytes);
            expected.push_back(0x5a);
            EXPECT_EQ(run, expected);
            EXPECT_EQ(gathered, expected);
        }
}
