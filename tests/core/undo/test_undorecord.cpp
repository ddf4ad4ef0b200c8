// Cell records of the undo store: the editing rules, repeat propagation, building and
// replaying entries.
#include "core/undo/undorecord.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Cells = std::vector<std::pair<int, int>>;

Cells cellsOf(const TILineArray &list)
{
    Cells out;
    for (const TWordPoint &p : list)
        out.push_back({ p.X, p.Y });
    return out;
}

TLineArray lineArray(const Cells &cells)
{
    TLineArray out(qsizetype(cells.size()));
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = { cells[i].first, cells[i].second };
    return out;
}

QImage blank(int w, int h, int value = 0)
{
    QImage img = NewPicture(w, h, GreyPalette());
    img.fill(uint(value));
    return img;
}

TILineArray propagate(QImage &pic, const TRepeatPic &rep, TILineArray cells)
{
    PropagateRepeats(pic, rep, cells);
    return cells;
}

} // namespace

// Each rule on its own: which of two changed cells is put back and which is accepted.
TEST(UndoRecordRules, EachRulePutsBackForbiddenCellsOnly)
{
    struct Case {
        const char *name;
        TUndoRules rules;
        bool useRegion;
        bool ignoreRegion;
        bool ignoreRules;
        Cells cells;
        Cells acceptedCells; // the rest are put back
    };
    QRegion region(QRect(0, 0, 2, 10)); // columns 0 and 1
    TUndoRules protect3;
    protect3.Protected.set(3);
    TUndoRules single;
    single.SinglePoint = true;
    TUndoRules dbl;
    dbl.DoublePoint = true;
    const std::vector<Case> cases = {
        // Cell (0, 9) was 3 (protected); cell (1, 9) became 3 from 0, which is allowed.
        { "protected", protect3, false, false, false, { { 0, 9 }, { 1, 9 } }, { { 1, 9 } } },
        // Height 10: (0, 9) is sum 0 (even), (1, 9) sum 1.
        { "single", single, false, false, false, { { 0, 9 }, { 1, 9 } }, { { 1, 9 } } },
        { "double", dbl, false, false, false, { { 0, 9 }, { 1, 9 } }, { { 0, 9 } } },
        { "selection", {}, true, false, false, { { 1, 5 }, { 2, 5 } }, { { 1, 5 } } },
        { "selection ignored", {}, true, true, false, { { 1, 5 }, { 2, 5 } }, { { 1, 5 }, { 2, 5 } } },
        { "rules ignored", protect3, true, false, true, { { 0, 9 }, { 2, 5 } }, { { 0, 9 }, { 2, 5 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage ref = blank(4, 10);
        ref.scanLine(9)[0] = 3;
        QImage pic = ref.copy();
        for (auto [x, y] : c.cells)
            pic.scanLine(y)[x] = (x == 1 && y == 9) ? 3 : 7;
        TUndoRules rules = c.rules;
        rules.Region = c.useRegion ? &region : nullptr;
        TILineArray accepted;
        CollectListedPixels(pic, ref, rules, accepted, lineArray(c.cells), c.ignoreRegion, c.ignoreRules);
        EXPECT_EQ(cellsOf(accepted), c.acceptedCells);
        for (auto [x, y] : c.cells) {
            const bool ok = std::find(c.acceptedCells.begin(), c.acceptedCells.end(), std::make_pair(x, y))
                != c.acceptedCells.end();
            const int want = ok ? ((x == 1 && y == 9) ? 3 : 7) : ref.pixelIndex(x, y);
            EXPECT_EQ(pic.pixelIndex(x, y), want) << x << "," << y;
        }
    }
}

TEST(UndoRecordRules, ListedCellsOutsideThePictureAreSkipped)
{
    QImage ref = blank(3, 3);
    QImage pic = ref.copy();
    pic.scanLine(1)[1] = 5;
    const TLineArray cells = lineArray({ { -1, 0 }, { 1, 1 }, { 3, 0 }, { 0, 3 }, { 70000, 1 }, { 1, 1 } });
    for (auto collect : { &CollectListedPixels, &CollectClippedPixels }) {
        TILineArray accepted;
        collect(pic, ref, TUndoRules {}, accepted, cells, false, false);
        // A cell listed twice is recorded twice.
        EXPECT_EQ(cellsOf(accepted), (Cells { { 1, 1 }, { 1, 1 } }));
    }
}

TEST(UndoRecordRules, ChangedCellsOfAClampedRectangleRowByRow)
{
    QImage ref = MakePicture({ { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 0 } });
    QImage pic = MakePicture({ { 0, 4, 0 }, { 2, 0, 3 }, { 0, 0, 1 } });
    TUndoRules rules;
    rules.Protected.set(9);
    TILineArray accepted;
    CollectChangedPixels(pic, ref, rules, accepted, TRect { -5, 1, 99, 2 }, false, false);
    EXPECT_EQ(cellsOf(accepted), (Cells { { 0, 1 }, { 2, 1 }, { 2, 2 } }));
    accepted.clear();
    CollectChangedPixels(pic, ref, rules, accepted, TRect { 1, 0, 1, 0 }, false, false);
    EXPECT_EQ(cellsOf(accepted), (Cells { { 1, 0 } }));
}

// A 4 x 4 unit repeated 2 x 2 in an 8 x 8 picture, flip code 2 (left-right) in the second
// column: a change at (0, 0) reaches (7, 0), (0, 4) and (7, 4), rows of repeats first.
TEST(UndoRecordRepeat, CopiesIntoEveryRepeatInOrder)
{
    TRepeatPic rep;
    rep.UnitWidth = rep.UnitHeight = 4;
    rep.HorzCount = rep.VertCount = 2;
    rep.Value1 = 1;
    rep.Rotate = TRotateArray { { 0, 2 }, { 0, 2 } };
    rep.Flags[0] = rep.Flags[1] = 1;
    QImage pic = blank(8, 8);
    pic.scanLine(0)[0] = 9;
    const TILineArray out = propagate(pic, rep, { { 0, 0 } });
    EXPECT_EQ(cellsOf(out), (Cells { { 0, 0 }, { 7, 0 }, { 0, 4 }, { 7, 4 } }));
    for (auto [x, y] : cellsOf(out))
        EXPECT_EQ(pic.pixelIndex(x, y), 9);

    // Without both flags the list stays as it is and nothing is copied.
    rep.Flags[1] = 0;
    QImage pic2 = blank(8, 8);
    EXPECT_EQ(cellsOf(propagate(pic2, rep, { { 0, 0 } })), (Cells { { 0, 0 } }));
    EXPECT_EQ(pic2.pixelIndex(7, 0), 0);
}

// The flip applied is the one that turns the source unit's code into the target's, for
// every pair of codes; a cell at (1, 0) of a 4 x 3 unit, 2 x 1 repeats.
TEST(UndoRecordRepeat, FlipBetweenEveryPairOfCodes)
{
    // Where the cell (ux 1, uy 0) of a unit with code s lands in a unit with code t.
    auto expected = [](int s, int t) {
        // Position in an unflipped unit, then flipped as the target code says.
        int ux = (s & 2) ? 4 - 1 - 1 : 1, uy = (s & 1) ? 3 - 1 - 0 : 0;
        ux = (t & 2) ? 4 - 1 - ux : ux;
        uy = (t & 1) ? 3 - 1 - uy : uy;
        return std::make_pair(4 + ux, uy);
    };
    for (int s = 0; s < 4; ++s) {
        for (int t = 0; t < 4; ++t) {
            SCOPED_TRACE(testing::Message() << "s=" << s << " t=" << t);
            TRepeatPic rep;
            rep.UnitWidth = 4;
            rep.UnitHeight = 3;
            rep.HorzCount = 2;
            rep.VertCount = 1;
            rep.Value1 = 1;
            rep.Rotate = TRotateArray { { std::int8_t(s), std::int8_t(t) } };
            rep.Flags[0] = rep.Flags[1] = 1;
            QImage pic = blank(8, 3);
            const TILineArray out = propagate(pic, rep, { { 1, 0 } });
            ASSERT_EQ(out.size(), 2u);
            EXPECT_EQ(std::make_pair(int(out[1].X), int(out[1].Y)), expected(s, t));
        }
    }
}

// Offsets step the rows of repeats sideways (wrapping around the picture), or with
// style 3 the columns downwards.
TEST(UndoRecordRepeat, OffsetsOfBothStyles)
{
    TRepeatPic rep;
    rep.UnitWidth = rep.UnitHeight = 2;
    rep.HorzCount = rep.VertCount = 2;
    rep.Offsets = TPicOffSetArray { 0, 1 };
    rep.Flags[0] = rep.Flags[1] = 1;

    rep.Value1 = 1;
    QImage pic = blank(4, 4);
    EXPECT_EQ(cellsOf(propagate(pic, rep, { { 1, 0 } })), (Cells { { 1, 0 }, { 3, 0 }, { 2, 2 }, { 0, 2 } }));

    rep.Value1 = 3;
    QImage pic3 = blank(4, 4);
    EXPECT_EQ(
        cellsOf(propagate(pic3, rep, { { 0, 1 } })), (Cells { { 0, 1 }, { 2, 2 }, { 0, 3 }, { 2, 0 } }));
}

TEST(UndoRecordRepeat, DuplicatesOutsideCellsAndEmptyLayouts)
{
    TRepeatPic rep;
    rep.UnitWidth = rep.UnitHeight = 4;
    rep.HorzCount = rep.VertCount = 2;
    rep.Value1 = 1;
    rep.Flags[0] = rep.Flags[1] = 1;
    // Two accepted cells of the same place in different repeats: each target is listed
    // once; the first cell's copies overwrite the second before it is read, so every copy
    // holds the first cell's index.
    QImage pic = blank(8, 8);
    pic.scanLine(0)[1] = 5;
    pic.scanLine(4)[5] = 6;
    const TILineArray out = propagate(pic, rep, { { 1, 0 }, { 5, 4 } });
    EXPECT_EQ(cellsOf(out), (Cells { { 1, 0 }, { 5, 0 }, { 1, 4 }, { 5, 4 } }));
    for (auto [x, y] : cellsOf(out))
        EXPECT_EQ(pic.pixelIndex(x, y), 5);

    // A picture smaller than the layout: targets outside it are left out.
    QImage small = blank(6, 5);
    EXPECT_EQ(cellsOf(propagate(small, rep, { { 1, 1 } })), (Cells { { 1, 1 }, { 5, 1 } }));

    // A unit of width 0 copies nothing; missing offset and flip arrays count as zeros.
    rep.UnitWidth = 0;
    EXPECT_EQ(cellsOf(propagate(pic, rep, { { 1, 0 } })), (Cells { { 1, 0 } }));
}

// A few copies on a large picture: each target is still listed once, in the same order,
// flips applied; a cell whose copies were all listed already adds nothing.
TEST(UndoRecordRepeat, FewCopiesOnALargePictureListedOnce)
{
    TRepeatPic rep;
    rep.UnitWidth = rep.UnitHeight = 100;
    rep.HorzCount = rep.VertCount = 2;
    rep.Value1 = 1;
    rep.Rotate = TRotateArray { { 0, 2 }, { 1, 3 } };
    rep.Flags[0] = rep.Flags[1] = 1;
    QImage pic = blank(200, 200);
    pic.scanLine(0)[1] = 5;
    pic.scanLine(0)[2] = 6;
    // (198, 199) is the place of (1, 0) in the repeat flipped both ways.
    const TILineArray out = propagate(pic, rep, { { 1, 0 }, { 198, 199 }, { 2, 0 } });
    EXPECT_EQ(cellsOf(out),
        (Cells { { 1, 0 }, { 198, 0 }, { 1, 199 }, { 198, 199 }, { 2, 0 }, { 197, 0 }, { 2, 199 },
            { 197, 199 } }));
    const Cells all = cellsOf(out);
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(pic.pixelIndex(all[i].first, all[i].second), i < 4 ? 5 : 6) << i;
}

TEST(UndoRecordReplay, BuildsEntriesAndReplaysBothSidesInsideThePicture)
{
    QImage ref = MakePicture({ { 1, 1 }, { 1, 1 } });
    QImage pic = MakePicture({ { 2, 1 }, { 1, 3 } });
    TUndoStep step = BuildUndoPixels(pic, ref, { { 0, 0 }, { 1, 1 }, { 1, 0 } });
    ASSERT_EQ(step->Data.size(), 3u);
    EXPECT_EQ(step->Kind, TUndoKind::Cells);
    const TBmpData e = step->Data[1];
    EXPECT_EQ(std::vector<int>({ e.X, e.Y, e.OldIndex, e.NewIndex }), std::vector<int>({ 1, 1, 1, 3 }));
    EXPECT_EQ(step->Data[2].OldIndex, step->Data[2].NewIndex);

    // Entries outside the picture (from a larger picture) are skipped.
    step->Data.setLength(4);
    step->Data[3] = { 500, 600, 7, 8 };
    ApplyUndoPixels(pic, ref, *step, true, true);
    EXPECT_EQ(PictureRows(pic), PictureRows(MakePicture({ { 1, 1 }, { 1, 1 } })));
    ApplyUndoPixels(pic, ref, *step, false, false);
    EXPECT_EQ(PictureRows(ref), PictureRows(MakePicture({ { 2, 1 }, { 1, 3 } })));
    EXPECT_EQ(PictureRows(pic), PictureRows(MakePicture({ { 1, 1 }, { 1, 1 } })));
}
