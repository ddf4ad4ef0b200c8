#include "core/palette/floatscan.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

namespace {
// Grey palette with entry 9 a second copy of entry 3's colour.
TPalette256 paletteWithDuplicate()
{
    TPalette256 p = GreyPalette();
    p[9] = p[3];
    return p;
}

TColor colourOf(const TPalette256 &p, int index)
{
    return PaletteIndexToColor(p, index);
}

// One column picture from a list of indexes, top first.
QImage column(const std::vector<int> &cells, const TPalette256 &palette)
{
    QImage img = NewPicture(1, int(cells.size()), palette);
    for (int y = 0; y < int(cells.size()); ++y)
        img.scanLine(y)[0] = std::uint8_t(cells[y]);
    return img;
}

TIntegerArray ints(std::initializer_list<int> v)
{
    return TIntegerArray(v);
}

std::vector<TPoint> points(const TLineArray &cells)
{
    return { cells.begin(), cells.end() };
}
std::vector<TFloatRun> runsOf(const TFloatsArray &runs)
{
    return { runs.begin(), runs.end() };
}

TWeaveArray allOnes(int w, int h)
{
    return MakeWeaveArray(w, h, 1);
}
} // namespace

TEST(FloatTests, LongFloatDownTheColumnWithWrapAround)
{
    const TPalette256 pal = paletteWithDuplicate();
    struct Case {
        const char *name;
        std::vector<int> cells;
        int y, limit;
        bool expected;
    } cases[] = {
        { "top and bottom meet by wrapping", { 3, 1, 1, 1, 3 }, 0, 2, true },
        { "wrapped run is two", { 3, 1, 1, 1, 3 }, 0, 3, false },
        { "lone cell, limit 1", { 1, 3, 1 }, 1, 1, false },
        { "run of four reaches four", { 1, 3, 3, 3, 3, 1 }, 2, 4, true },
        { "run of four misses five", { 1, 3, 3, 3, 3, 1 }, 2, 5, false },
        { "whole column is always long", { 3, 3, 3 }, 1, 1000, true },
        { "one-row picture of the colour", { 3 }, 0, 50, true },
        { "the cell itself counts whatever its colour", { 1, 3, 2, 3, 1 }, 2, 3, true },
        { "the cell itself counts once", { 1, 3, 2, 3, 1 }, 2, 4, false },
        // Entry 9 holds entry 3's colour: the run follows the first index of the colour only.
        { "a duplicate entry ends the run", { 1, 3, 9, 3, 9, 1 }, 1, 2, false },
        { "the cell itself may be the duplicate", { 1, 9, 9, 3, 9, 1 }, 4, 2, true },
        { "a duplicate at the top does not continue the run", { 9, 1, 1, 3 }, 3, 2, false },
        { "a column of the colour round a duplicate cell is counted both ways", { 3, 3, 9, 3 }, 2, 7, true },
        { "lowest limit, one neighbour", { 1, 3, 3, 1 }, 1, INT_MIN, true },
        { "lowest limit, lone cell", { 1, 3, 1 }, 1, INT_MIN, false },
    };
    for (const auto &c : cases) {
        const QImage img = column(c.cells, pal);
        EXPECT_EQ(HasLongFloat(img, pal, colourOf(pal, 3), c.limit, { 0, c.y }), c.expected) << c.name;
    }
    const QImage img = column({ 3, 3, 3 }, pal);
    EXPECT_FALSE(HasLongFloat(img, pal, colourOf(pal, 3), 2, { 0, 3 })) << "outside the picture";
    EXPECT_FALSE(HasLongFloat(img, pal, colourOf(pal, 3), 2, { -1, 0 })) << "outside the picture";
    TPalette256 noSuch = pal;
    noSuch[3] = noSuch[9] = { 1, 2, 250, 0 };
    EXPECT_FALSE(HasLongFloat(img, pal, PlainColor(noSuch[3]), 2, { 0, 0 })) << "colour not in the palette";
}

TEST(FloatTests, MatchFloatLengths)
{
    const TPalette256 pal = paletteWithDuplicate();
    struct Case {
        const char *name;
        std::vector<int> cells;
        int y;
        bool expected;
    } cases[] = {
        { "run of five is listed", { 1, 3, 3, 3, 3, 3, 1 }, 3, false },
        { "run of four is not", { 1, 3, 3, 3, 3, 1 }, 1, true },
        { "run of six is not", { 1, 3, 3, 3, 3, 3, 3, 1 }, 6, true },
        { "a duplicate ends the run", { 1, 9, 3, 9, 1 }, 2, true },
        { "run of three next to a duplicate", { 9, 3, 3, 3, 1 }, 2, false },
        { "wrapped run of three", { 3, 1, 1, 3, 3 }, 4, false },
        { "whole column", { 3, 3, 3, 3, 3 }, 0, true },
    };
    for (const auto &c : cases) {
        // The caller's list, and a holder sharing it, keep their order: the largest length
        // is found without sorting the list in place.
        TIntegerArray lengths = ints({ 3, 5 });
        const TIntegerArray sharing = lengths;
        EXPECT_EQ(
            MatchFloatLengths(colourOf(pal, 3), pal, column(c.cells, pal), { 0, c.y }, lengths), c.expected)
            << c.name;
        EXPECT_EQ(lengths, ints({ 3, 5 })) << c.name;
        EXPECT_EQ(sharing, ints({ 3, 5 })) << c.name;
    }
    TIntegerArray none;
    EXPECT_TRUE(MatchFloatLengths(colourOf(pal, 3), pal, column({ 1, 3, 3, 1 }, pal), { 0, 1 }, none));
}

namespace {
// The rules of weave tiling cell by cell, written out as plainly as they are stated: a
// candidate has the chosen entry's colour, every margin cell inside the picture holds the
// chosen index, the float run counts the first index of the colour from the cell down and
// then up (wrapping round), and the weave cell under the cell is a point.
struct TReference {
    const QImage &bmp;
    const TPalette256 &pal;
    const TFloatScan &scan;

    int at(int x, int y) const { return bmp.constScanLine(y)[x]; }
    bool candidate(int x, int y) const
    {
        return ColorsWithinTolerance(pal[at(x, y)], pal[scan.ColorIndex], 0);
    }
    int floatIndex() const
    {
        for (int i = 0;; ++i)
            if (ColorsWithinTolerance(pal[i], pal[scan.ColorIndex], 0))
                return i;
    }
    bool marginsPass(int x, int y) const
    {
        const TFloatMargins &m = scan.Margins;
        const struct {
            bool on;
            int len, dx, dy;
        } sides[] = { { m.Left, m.LeftLength, -1, 0 }, { m.Right, m.RightLength, 1, 0 },
            { m.Top, m.TopLength, 0, -1 }, { m.Bottom, m.BottomLength, 0, 1 } };
        for (const auto &s : sides) {
            if (!s.on)
                continue;
            for (int k = 1; k <= s.len; ++k) {
                const int xx = x + k * s.dx, yy = y + k * s.dy;
                if (xx >= 0 && yy >= 0 && xx < bmp.width() && yy < bmp.height()
                    && at(xx, yy) != scan.ColorIndex)
                    return false;
            }
        }
        return true;
    }
    // Counts as stated: down while the cells hold F (P itself included when met again),
    // then up, each added cell compared with Cap at once. Reports whether a neighbour was added.
    long long run(int x, int y, long long cap, bool &neighbour) const
    {
        const int f = floatIndex(), h = bmp.height();
        long long count = 1;
        neighbour = false;
        for (int yy = (y + 1) % h; at(x, yy) == f; yy = (yy + 1) % h) {
            neighbour = true;
            if (++count >= cap)
                return count;
        }
        for (int yy = (y - 1 + h) % h; at(x, yy) == f; yy = (yy - 1 + h) % h) {
            neighbour = true;
            if (++count >= cap)
                return count;
        }
        return count;
    }
    bool longEnough(int x, int y, int limit) const
    {
        bool neighbour = false;
        const long long n = run(x, y, limit, neighbour);
        return neighbour && n >= limit;
    }
    bool notListed(int x, int y, const std::vector<int> &lengths) const
    {
        if (lengths.empty())
            return true;
        bool neighbour = false;
        const long long n = run(x, y, *std::max_element(lengths.begin(), lengths.end()) + 1LL, neighbour);
        return std::find(lengths.begin(), lengths.end(), n) == lengths.end();
    }
    bool onWeave(int x, int y) const
    {
        const int w = scan.Weave.length(), h = scan.Weave[0].length(), ph = bmp.height();
        const int wx = ((x - scan.Origin.X) % w + w) % w;
        const int wy = h - 1 - (((ph - 1 - y - scan.Origin.Y) % h + h) % h);
        return scan.Weave[wx][wy] == 1;
    }
    template <class FloatTest> std::vector<TPoint> collect(FloatTest floatTest) const
    {
        std::vector<TPoint> out;
        for (int y = 0; y < bmp.height(); ++y)
            for (int x = 0; x < bmp.width(); ++x)
                if (candidate(x, y) && marginsPass(x, y) && floatTest(x, y) && onWeave(x, y))
                    out.push_back({ x, y });
        return out;
    }
};
} // namespace

TEST(FloatTests, CollectorsAgreeWithTheCellByCellRules)
{
    std::mt19937 rng(7);
    const TPalette256 pal = paletteWithDuplicate();
    for (int round = 0; round < 400; ++round) {
        const bool large = round % 10 == 9;
        const int w = 1 + int(rng() % (large ? 40 : 12)), h = 1 + int(rng() % (large ? 40 : 12));
        QImage bmp = NewPicture(w, h, pal);
        // Indexes 3 and 9 (the same colour) and 5; some pictures mostly one of them.
        const int bias = int(rng() % 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int k = int(rng() % (4 + 4 * bias));
                bmp.scanLine(y)[x] = std::uint8_t(k == 0 ? 5 : k == 1 ? 9 : k == 2 ? 5 : 3);
            }
        TFloatScan scan;
        scan.ColorIndex = rng() % 3 == 0 ? 9 : 3;
        TFloatMargins &m = scan.Margins;
        m.Left = rng() % 2, m.Right = rng() % 2, m.Top = rng() % 2, m.Bottom = rng() % 2;
        m.LeftLength = int(rng() % 5) - 1, m.RightLength = int(rng() % 5);
        m.TopLength = int(rng() % 5), m.BottomLength = int(rng() % 5);
        const int ww = 1 + int(rng() % 4), wh = 1 + int(rng() % 4);
        scan.Weave = MakeWeaveArray(ww, wh);
        for (int i = 0; i < ww; ++i)
            for (int j = 0; j < wh; ++j)
                scan.Weave[i][j] = std::uint8_t(rng() % 4 != 0);
        scan.Origin = { int(rng() % 20) - 10, int(rng() % 20) - 10 };
        const TReference ref { bmp, pal, scan };

        const int floatLength = int(rng() % 8) - 1;
        TLineArray got;
        FindLongFloats(bmp, pal, scan, floatLength, got);
        const auto expectLong = ref.collect(
            [&](int x, int y) { return floatLength <= 0 || ref.longEnough(x, y, floatLength); });
        ASSERT_EQ(points(got), expectLong)
            << "round " << round << " float " << floatLength << " margins " << m.Left << m.Right << m.Top
            << m.Bottom << " " << m.LeftLength << m.RightLength << m.TopLength << m.BottomLength << " index "
            << scan.ColorIndex;

        std::vector<int> listed;
        for (int n = int(rng() % 4); n > 0; --n)
            listed.push_back(int(rng() % 8));
        TIntegerArray lengths(qsizetype(listed.size()));
        std::copy(listed.begin(), listed.end(), lengths.begin());
        TLineArray gotLengths = got; // appends after what is there
        FindFloatsOfLengths(bmp, pal, scan, lengths, gotLengths);
        auto expectLengths = expectLong;
        const auto more = ref.collect([&](int x, int y) { return ref.notListed(x, y, listed); });
        expectLengths.insert(expectLengths.end(), more.begin(), more.end());
        ASSERT_EQ(points(gotLengths), expectLengths) << "round " << round;

        // The one-cell tests agree with the same plain count.
        const TColor colour = PaletteIndexToColor(pal, scan.ColorIndex);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (floatLength > 0) {
                    ASSERT_EQ(HasLongFloat(bmp, pal, colour, floatLength, { x, y }),
                        ref.longEnough(x, y, floatLength))
                        << "round " << round << " cell " << x << "," << y;
                }
                ASSERT_EQ(MatchFloatLengths(colour, pal, bmp, { x, y }, lengths), ref.notListed(x, y, listed))
                    << "round " << round << " cell " << x << "," << y;
            }
    }
}

TEST(FloatTests, TilingLooksOnlyDownTheColumns)
{
    const TPalette256 pal = GreyPalette();
    TFloatScan scan;
    scan.ColorIndex = 3;
    scan.Weave = allOnes(1, 1);
    // A long row of the colour with other colours above and below: no long column run.
    const QImage row = MakePicture({ { 1, 1, 1, 1, 1, 1 }, { 3, 3, 3, 3, 3, 3 }, { 1, 1, 1, 1, 1, 1 } }, pal);
    TLineArray cells;
    FindLongFloats(row, pal, scan, 2, cells);
    EXPECT_EQ(cells.length(), 0);
    // A column run that reaches the bottom row continues at the top of the same column.
    const QImage wrap = MakePicture({ { 3, 1 }, { 3, 1 }, { 1, 1 }, { 3, 3 }, { 3, 1 } }, pal);
    FindLongFloats(wrap, pal, scan, 4, cells);
    EXPECT_EQ(points(cells), (std::vector<TPoint> { { 0, 0 }, { 0, 1 }, { 0, 3 }, { 0, 4 } }));
    // An empty weave collects nothing.
    scan.Weave = TWeaveArray();
    TLineArray none;
    FindLongFloats(wrap, pal, scan, 0, none);
    FindFloatsOfLengths(wrap, pal, scan, ints({ 1 }), none);
    EXPECT_EQ(none.length(), 0);
}

TEST(FloatTests, DuplicateColoursAreCandidatesButMarginsAndFloatsFollowIndexes)
{
    // Entry 9 has entry 3's colour. Every cell of either index is a candidate; a left margin
    // of one cell needs the chosen index itself on the left; the float follows index 3 (the
    // first entry of the colour), so the 9 in column 2 cuts the run of 3s.
    const TPalette256 pal = paletteWithDuplicate();
    const QImage bmp = MakePicture({ { 3, 3, 3 }, { 3, 9, 9 }, { 3, 3, 3 } }, pal);
    TFloatScan scan;
    scan.Weave = allOnes(1, 1);
    TLineArray all;
    scan.ColorIndex = 9;
    FindLongFloats(bmp, pal, scan, 0, all);
    EXPECT_EQ(all.length(), 9) << "both indexes are tiled";
    scan.Margins.Left = true;
    scan.Margins.LeftLength = 1;
    TLineArray margin9;
    FindLongFloats(bmp, pal, scan, 0, margin9);
    EXPECT_EQ(points(margin9), (std::vector<TPoint> { { 0, 0 }, { 0, 1 }, { 2, 1 }, { 0, 2 } }));
    scan.ColorIndex = 3;
    TLineArray margin3;
    FindLongFloats(bmp, pal, scan, 0, margin3);
    EXPECT_EQ(points(margin3),
        (std::vector<TPoint> {
            { 0, 0 }, { 1, 0 }, { 2, 0 }, { 0, 1 }, { 1, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } }));
    scan.Margins.Left = false;
    // Column 0 is endless. In columns 1 and 2 the two 3s meet round the edge (a run of two);
    // the 9 between them meets both of them going down and both again going up.
    const std::vector<TPoint> expected { { 0, 0 }, { 0, 1 }, { 1, 1 }, { 2, 1 }, { 0, 2 } };
    TLineArray longRuns;
    FindLongFloats(bmp, pal, scan, 3, longRuns);
    EXPECT_EQ(points(longRuns), expected);
    TLineArray twos;
    FindFloatsOfLengths(bmp, pal, scan, ints({ 2 }), twos);
    EXPECT_EQ(points(twos), expected) << "runs of exactly two stay floats";
}

TEST(FloatTests, WeaveIsAnchoredAtTheOrigin)
{
    const TPalette256 pal = GreyPalette();
    TFloatScan scan;
    scan.ColorIndex = 3;
    scan.Weave = MakeWeaveArray(2, 2); // plain weave: points at [0][1] and [1][0]
    scan.Weave[0][1] = 1;
    scan.Weave[1][0] = 1;
    const QImage bmp = MakePicture({ { 3, 3, 3 }, { 3, 3, 3 }, { 3, 3, 3 } }, pal);
    TLineArray cells;
    FindLongFloats(bmp, pal, scan, 0, cells); // bottom-left cell is a point
    EXPECT_EQ(points(cells), (std::vector<TPoint> { { 0, 0 }, { 2, 0 }, { 1, 1 }, { 0, 2 }, { 2, 2 } }));
    scan.Origin = { 1, 0 };
    TLineArray shifted;
    FindLongFloats(bmp, pal, scan, 0, shifted);
    EXPECT_EQ(points(shifted), (std::vector<TPoint> { { 1, 0 }, { 0, 1 }, { 2, 1 }, { 1, 2 } }));
}

TEST(FloatRuns, RowRunsOfExactLength)
{
    const QImage bmp = MakePicture({
        { 5, 5, 5, 0, 5, 5, 5, 5 },
        { 0, 0, 0, 0, 0, 0, 0, 0 },
        { 0, 5, 5, 5, 0, 0, 5, 5 },
        { 0, 0, 0, 5, 0, 5, 5, 5 },
    });
    TFloatsArray runs;
    FindFloatRuns(bmp, 5, 3, false, runs);
    EXPECT_EQ(runsOf(runs),
        (std::vector<TFloatRun> {
            { 3, 0, 2, 0 }, { 3, 1, 3, 2 }, { 3, 5, 7, 3 } })); // the run of four is left out
    TFloatsArray isolated = runs; // appended after what is there
    FindFloatRuns(bmp, 5, 3, true, isolated);
    ASSERT_EQ(isolated.length(), 4);
    EXPECT_EQ(isolated[3], (TFloatRun { 3, 0, 2, 0 })) << "only the run with nothing above or below";
}

TEST(FloatRuns, ColumnRunsWithTheNeighbourRule)
{
    const QImage bmp = MakePicture({
        { 5, 0, 0, 0, 0 },
        { 5, 0, 5, 0, 5 },
        { 0, 0, 5, 5, 5 },
        { 5, 0, 0, 0, 5 },
        { 5, 0, 5, 0, 0 },
    });
    TFloatsArray runs;
    FindFloatRunsNeighbourRule(bmp, 5, 2, runs, false);
    EXPECT_EQ(runsOf(runs), (std::vector<TFloatRun> { { 2, 0, 1, 0 }, { 2, 3, 4, 0 }, { 2, 1, 2, 2 } }));
    TFloatsArray isolated;
    FindFloatRunsNeighbourRule(bmp, 5, 2, isolated, true);
    EXPECT_EQ(runsOf(isolated), (std::vector<TFloatRun> { { 2, 0, 1, 0 }, { 2, 3, 4, 0 } }));
    // The area cuts runs at its edges and is clamped to the picture.
    TFloatsArray inArea;
    FindFloatRunsNeighbourRule(bmp, 5, 2, inArea, false, { -3, 2, 3, 99 });
    EXPECT_EQ(runsOf(inArea), (std::vector<TFloatRun> { { 2, 3, 4, 0 } }));
    TFloatsArray three;
    FindFloatRunsNeighbourRule(bmp, 5, 3, three, false, { 4, -1, 9, 9 });
    EXPECT_EQ(runsOf(three), (std::vector<TFloatRun> { { 3, 1, 3, 4 } }));
}

TEST(FloatRuns, EdgeRuleDropsShortRunsNearTheEdges)
{
    QImage bmp = NewPicture(5, 20, GreyPalette());
    const struct {
        int col, first, last;
    } placed[] = { { 0, 1, 3 }, { 1, 17, 19 }, { 2, 14, 16 }, { 3, 0, 4 }, { 4, 15, 19 } };
    for (const auto &p : placed)
        for (int y = p.first; y <= p.last; ++y)
            bmp.scanLine(y)[p.col] = 7;
    TFloatsArray runs;
    FindFloatRunsEdgeRule(bmp, 7, 3, runs, false);
    EXPECT_EQ(runsOf(runs), (std::vector<TFloatRun> { { 3, 14, 16, 2 } }));
    TFloatsArray five;
    FindFloatRunsEdgeRule(bmp, 7, 5, five, false, { 0, 0, 5, 20 });
    EXPECT_EQ(runsOf(five), (std::vector<TFloatRun> { { 5, 0, 4, 3 }, { 5, 15, 19, 4 } }));
}
