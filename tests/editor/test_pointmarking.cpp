// The point window's work on a grid: isolated points painted over, isolated runs and runs of
// one float length marked, runs lengthened above, below or by the state of each side, and
// what each run leaves in the undo history.
#include "editor/pointmarking.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "notificationrecorder.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

using TRows = std::vector<std::vector<int>>;

constexpr int F = 1; // the fore colour: the runs
constexpr int K = 0; // the back colour

class PointMarking : public TPatternGridFixture {
protected:
    // The grid shows rows with fore index F and back index K.
    void showRows(TPatternGrid &g, const QImage &picture)
    {
        show(g, picture);
        g.SetForeColorIndex(F);
        g.SetBackColorIndex(K);
    }
    static TMarkPointOptions mode(TMarkPointMode m, int n = 1)
    {
        TMarkPointOptions o;
        o.Mode = m;
        o.PointCount = n;
        return o;
    }
    static TMarkPointOptions adding(
        int n, int m, TAddPointWay way, TAddPointWarps warps = TAddPointWarps::AllWarps)
    {
        TMarkPointOptions o = mode(TMarkPointMode::AddPoint, n);
        o.FillPointCount = m;
        o.AddWay = way;
        o.AddWarps = warps;
        return o;
    }
    // rows with every cell listed in marked replaced by the marker index.
    static TRows withMarker(TRows rows, std::initializer_list<TPoint> marked, int marker)
    {
        for (const TPoint &p : marked)
            rows[std::size_t(p.Y)][std::size_t(p.X)] = marker;
        return rows;
    }
};

QImage picture(const TRows &rows)
{
    QImage out = NewPicture(int(rows.front().size()), int(rows.size()), GreyPalette());
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            out.scanLine(int(y))[x] = std::uint8_t(rows[y][x]);
    return out;
}

} // namespace

TEST_F(PointMarking, DeletedSinglePointsTakeTheColourAroundThem)
{
    struct Case {
        const char *name;
        TRows rows;
        TRows expected;
        int steps;
    } cases[] = {
        { "between 5 and 5: 5", { { 2, 3, 4 }, { 5, F, 5 }, { 7, 8, 9 } },
            { { 2, 3, 4 }, { 5, 5, 5 }, { 7, 8, 9 } }, 1 },
        { "between 5 and 6: the cell below", { { 2, 3, 4 }, { 5, F, 6 }, { 7, 8, 9 } },
            { { 2, 3, 4 }, { 5, 8, 6 }, { 7, 8, 9 } }, 1 },
        { "in the last row: the cell above", { { 2, 3, 4 }, { 5, F, 6 } }, { { 2, 3, 4 }, { 5, 3, 6 } }, 1 },
        { "at the left edge: the cell below", { { F, 3 }, { 7, 8 } }, { { 7, 3 }, { 7, 8 } }, 1 },
        { "a picture of one row keeps the cell", { { 5, F, 6 } }, { { 5, F, 6 } }, 0 },
        { "a run of two is no single point", { { 5, F, 5 }, { 5, F, 5 }, { 7, 8, 9 } },
            { { 5, F, 5 }, { 5, F, 5 }, { 7, 8, 9 } }, 0 },
        { "a point with the colour beside it stays", { { 5, F, F }, { 7, 8, 9 } },
            { { 5, F, F }, { 7, 8, 9 } }, 0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        showRows(g, picture(c.rows));
        const TPalette256 palette = g.Palette();
        TMarkPointOptions o = mode(TMarkPointMode::DelSinglePoint, 7); // N is 1 in this mode
        QString error;
        ASSERT_TRUE(MarkPoints(g, o, nullptr, &error)) << error.toStdString();
        EXPECT_EQ(PictureRows(g.Picture()), c.expected);
        EXPECT_EQ(g.UndoStore().UndoCount(), c.steps);
        EXPECT_EQ(g.Palette(), palette) << "deleting makes no marker colour";
        EXPECT_EQ(PictureRows(g.RefBitmap()), c.expected);
    }
}

TEST_F(PointMarking, MarkedRunsAreTheIsolatedOnesOrThoseOfTheFloatLength)
{
    // Column 0: an isolated run of 2; column 2: a run of 2 with F beside it in column 3;
    // column 5: a run of 3; row 0 holds a weft run of 3 in columns 2 to 4 after the change
    // below.
    const TRows isolatedRows { { F, K, F, K, K, F, K }, { F, K, F, F, K, F, K }, { K, K, K, K, K, F, K },
        { K, K, K, K, K, K, K } };
    const TRows floatRows { { F, F, F, K, F, F }, { K, K, K, K, F, K }, { K, F, K, K, F, K } };
    TMarkPointOptions wefts = mode(TMarkPointMode::SearchFloat, 3);
    wefts.FloatWay = TFloatWay::Wefts;
    struct Case {
        const char *name;
        TRows rows;
        TMarkPointOptions options;
        std::initializer_list<TPoint> marked;
        int runs;
    } cases[] = {
        { "isolated runs of 2", isolatedRows, mode(TMarkPointMode::SearchIsolatedPoint, 2),
            { { 0, 0 }, { 0, 1 } }, 1 },
        { "isolated runs of 3", isolatedRows, mode(TMarkPointMode::SearchIsolatedPoint, 3),
            { { 5, 0 }, { 5, 1 }, { 5, 2 } }, 1 },
        { "floats of 3 along the warps, F beside or not", floatRows, mode(TMarkPointMode::SearchFloat, 3),
            { { 4, 0 }, { 4, 1 }, { 4, 2 } }, 1 },
        { "floats of 3 along the wefts", floatRows, wefts, { { 0, 0 }, { 1, 0 }, { 2, 0 } }, 1 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        const QImage original = picture(c.rows);
        showRows(g, original);
        const TPalette256 before = g.Palette();
        TMarkPointReport report;
        QString error;
        ASSERT_TRUE(MarkPoints(g, c.options, &report, &error)) << error.toStdString();
        EXPECT_EQ(report.Runs, c.runs);
        ASSERT_GE(report.MarkerIndex, 0);
        const int marker = report.MarkerIndex;
        // The marker is an entry no cell used, given a colour no used entry has.
        for (const auto &row : c.rows)
            for (int v : row) {
                EXPECT_NE(v, marker);
                EXPECT_NE(g.Palette()[std::size_t(v)], g.Palette()[std::size_t(marker)]);
            }
        EXPECT_EQ(PictureRows(g.Picture()), withMarker(c.rows, c.marked, marker));

        // A palette step and one cell step: two Undos bring back picture and palette.
        EXPECT_EQ(g.UndoStore().UndoCount(), 2);
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(PictureRows(g.Picture()), c.rows);
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(g.Palette(), before);
        EXPECT_EQ(PictureRows(g.Picture()), c.rows);
    }
}

TEST_F(PointMarking, NothingFoundOrNoFreeEntryChangesNothing)
{
    // No run of the length: no marker, no step.
    {
        TPatternGrid g;
        showRows(g, picture({ { F, K }, { F, K }, { K, K } }));
        const TPalette256 before = g.Palette();
        TMarkPointReport report;
        ASSERT_TRUE(MarkPoints(g, mode(TMarkPointMode::SearchIsolatedPoint, 1), &report));
        EXPECT_EQ(report.Runs, 0);
        EXPECT_EQ(report.MarkerIndex, -1);
        EXPECT_EQ(g.Palette(), before);
        EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    }
    // Every entry used: the marking modes refuse with a message and change nothing.
    for (TMarkPointMode m : { TMarkPointMode::SearchIsolatedPoint, TMarkPointMode::SearchFloat }) {
        TPatternGrid g;
        QImage all = EveryEntryPicture(GreyPalette());
        all = all.copy(0, 0, 256, 2);
        for (int x = 0; x < 256; ++x)
            all.scanLine(1)[x] = std::uint8_t(x == 3 ? F : 200);
        showRows(g, all);
        const TPalette256 before = g.Palette();
        const auto rows = PictureRows(g.Picture());
        QString error;
        EXPECT_FALSE(MarkPoints(g, mode(m, 1), nullptr, &error));
        EXPECT_EQ(error, GetUiMessage(UiKey::String::MarkPointPaletteFull));
        EXPECT_EQ(PictureRows(g.Picture()), rows);
        EXPECT_EQ(g.Palette(), before);
        EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    }
}

TEST_F(PointMarking, AddedCellsGoAboveBelowOrWhereTheSidesAllow)
{
    auto column = [](std::initializer_list<int> cells) {
        TRows rows;
        for (int v : cells)
            rows.push_back({ v });
        return rows;
    };
    // A run of 2 in rows 4 and 5 of 10 rows; row 6 is K and row 8 not F, so below is free.
    const TRows freeBoth = column({ 5, 5, 5, K, F, F, K, 5, 5, 5 });
    const TRows blockedBoth = column({ 5, F, 5, K, F, F, K, 5, F, 5 });
    const TRows plainBoth = column({ 5, 5, 5, 7, F, F, 7, 5, 5, 5 });
    const TRows plainAboveOnly = column({ 5, 5, 5, 7, F, F, 7, 5, F, 5 });
    TMarkPointOptions priority = adding(2, 2, TAddPointWay::Automatic);
    priority.PriorityUp = true;
    struct Case {
        const char *name;
        TRows rows;
        TMarkPointOptions options;
        TRows expected;
    } cases[] = {
        { "up from row 1 with M = 3: only row 0", column({ 5, F, 5, 5, 5 }), adding(1, 3, TAddPointWay::Up),
            column({ F, F, 5, 5, 5 }) },
        { "down from row 3 with M = 3: clipped at the bottom", column({ 5, 5, 5, F, 5 }),
            adding(1, 3, TAddPointWay::Down), column({ 5, 5, 5, F, F }) },
        { "automatic: below is free", freeBoth, adding(2, 2, TAddPointWay::Automatic),
            column({ 5, 5, 5, K, F, F, F, F, 5, 5 }) },
        { "automatic with priority: above is free too", freeBoth, priority,
            column({ 5, 5, F, F, F, F, K, 5, 5, 5 }) },
        { "automatic with priority, above blocked: below", column({ 5, F, 5, K, F, F, K, 5, 5, 5 }), priority,
            column({ 5, F, 5, K, F, F, F, F, 5, 5 }) },
        { "automatic, both sides blocked: nothing", blockedBoth, adding(2, 2, TAddPointWay::Automatic),
            blockedBoth },
        { "automatic, neither free: below first", plainBoth, priority,
            column({ 5, 5, 5, 7, F, F, F, F, 5, 5 }) },
        { "automatic, below blocked and above plain: above", plainAboveOnly,
            adding(2, 2, TAddPointWay::Automatic), column({ 5, 5, F, F, F, F, 7, 5, F, 5 }) },
        { "automatic at the bottom edge: below fits exactly", column({ 5, 5, 5, 5, 5, 5, F, F, 5, 5 }),
            adding(2, 2, TAddPointWay::Automatic), column({ 5, 5, 5, 5, 5, 5, F, F, F, F }) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        showRows(g, picture(c.rows));
        const TPalette256 before = g.Palette();
        ASSERT_TRUE(MarkPoints(g, c.options));
        EXPECT_EQ(PictureRows(g.Picture()), c.expected);
        EXPECT_EQ(g.Palette(), before);
        const bool changed = c.expected != c.rows;
        // Adding is one cell step, and Undo brings the run back to its length.
        ASSERT_EQ(g.UndoStore().UndoCount(), changed ? 1 : 0);
        if (changed) {
            ASSERT_TRUE(g.Undo());
            EXPECT_EQ(PictureRows(g.Picture()), c.rows);
        }
    }
}

TEST_F(PointMarking, WarpFilterChoosesTheColumnsThatReceivePoints)
{
    const TRows rows { { K, K, K, K, K }, { F, F, F, F, F } };
    struct Case {
        TAddPointWarps warps;
        std::vector<int> row0;
    } cases[] = {
        { TAddPointWarps::OddWarps, { F, K, F, K, F } },
        { TAddPointWarps::EvenWarps, { K, F, K, F, K } },
        { TAddPointWarps::AllWarps, { F, F, F, F, F } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.warps));
        TPatternGrid g;
        showRows(g, picture(rows));
        ASSERT_TRUE(MarkPoints(g, adding(1, 1, TAddPointWay::Up, c.warps)));
        EXPECT_EQ(PictureRows(g.Picture()), (TRows { c.row0, rows[1] }));
    }
}

TEST_F(PointMarking, AddingTellsTheMainWindowTheRepeatUnitSize)
{
    // The unit of a repeat layout, not the picture's size, is the pattern size shown.
    MainWindowStandIn main;
    TPatternGrid g;
    showRows(g, picture({ { K, K, K }, { F, K, F }, { K, K, K } }));
    TRepeatPic unit = g.RepeatInfo();
    unit.UnitWidth = 2;
    unit.UnitHeight = 1;
    g.SetRepeatInfo(unit);
    main.recorder.got.clear();
    ASSERT_TRUE(MarkPoints(g, adding(1, 1, TAddPointWay::Down)));
    EXPECT_TRUE(main.recorder.Has(WM_SHOWPATTERNSIZE, 2, 1));
    // Marking sends no size.
    main.recorder.got.clear();
    ASSERT_TRUE(MarkPoints(g, mode(TMarkPointMode::SearchFloat, 2)));
    for (const auto &got : main.recorder.got)
        EXPECT_NE(got[0], WM_SHOWPATTERNSIZE);
}

TEST_F(PointMarking, ProtectedCellsArePutBackByTheStep)
{
    // Adding upwards over a protected 5 leaves it; the unprotected 6 beside it takes F.
    TPatternGrid g;
    showRows(g, picture({ { 5, 6 }, { F, F }, { K, K } }));
    g.IncludeColorIndex(5);
    ASSERT_TRUE(MarkPoints(g, adding(1, 1, TAddPointWay::Up)));
    EXPECT_EQ(PictureRows(g.Picture()), (TRows { { 5, F }, { F, F }, { K, K } }));
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture()));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
}
