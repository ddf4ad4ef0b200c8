// The picked-weave tool (PickedWeave) with its float marking, the float query that decides the
// marked floats, and the picked-pattern tool (PickedPattern) with the picture file it tiles.
#include "editor/floatquery.h"
#include "editor/pickedtools.h"

#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

namespace {

using TRows = std::vector<std::vector<int>>;

class PickedTools : public TPatternGridFixture { };

TWeaveArray plainWeave() // points at [0][1] and [1][0]
{
    TWeaveArray w = MakeWeaveArray(2, 2);
    w[0][1] = 1;
    w[1][0] = 1;
    return w;
}

TRows column(const QImage &img)
{
    TRows out;
    for (const auto &row : PictureRows(img))
        out.push_back({ row[0] });
    return out;
}

} // namespace

TEST_F(PickedTools, WeaveIsAnchoredAtTheBottomLeftOrAtThePressedCell)
{
    const TRows rows { { 3, 3, 3, 3 }, { 3, 3, 3, 1 } };
    struct Case {
        const char *name;
        TPoint cell;
        bool atCell;
        TRows expected;
    } cases[] = {
        { "left button: the bottom-left cell is a point", { 3, 0 }, false,
            { { 3, 0, 3, 0 }, { 0, 3, 0, 1 } } },
        { "right button on an odd column: the other parity", { 1, 1 }, true,
            { { 0, 3, 0, 3 }, { 3, 0, 3, 1 } } },
        { "right button on an even column of the bottom row: as the left button", { 2, 1 }, true,
            { { 3, 0, 3, 0 }, { 0, 3, 0, 1 } } },
        { "right button one row up: the other parity", { 2, 0 }, true, { { 0, 3, 0, 3 }, { 3, 0, 3, 1 } } },
    };
    for (const auto &c : cases) {
        TPatternGrid g;
        show(g, MakePicture({ rows[0], rows[1] }));
        g.SetForeColorIndex(3);
        TFloatMarking marking;
        QString error;
        ASSERT_TRUE(TilePickedWeave(g, plainWeave(), c.cell, c.atCell, marking, &error)) << c.name;
        EXPECT_EQ(PictureRows(g.Picture()), c.expected) << c.name;
        EXPECT_EQ(g.UndoStore().UndoCount(), 1) << c.name;
        EXPECT_TRUE(marking.Floats.isEmpty()) << c.name << ": no hint asked";
    }

    // No weave, or a full palette without black: refused, nothing changed.
    TPatternGrid g;
    show(g, MakePicture({ rows[0], rows[1] }));
    g.SetForeColorIndex(3);
    TFloatMarking marking;
    QString error;
    EXPECT_FALSE(TilePickedWeave(g, MakeWeaveArray(0, 0), { 0, 0 }, false, marking, &error));
    EXPECT_EQ(error, GetUiMessage(UiKey::String::TileNoWeaveChosen));
    const QImage all256 = EveryEntryPicture(FullPaletteWithoutBlack());
    TPatternGrid fullGrid;
    show(fullGrid, all256);
    fullGrid.SetForeColorIndex(5);
    EXPECT_FALSE(TilePickedWeave(fullGrid, plainWeave(), { 0, 0 }, false, marking, &error));
    EXPECT_EQ(error, GetUiMessage(UiKey::String::TileNoEntryForBlack));
    EXPECT_EQ(fullGrid.Picture(), all256);
    EXPECT_EQ(fullGrid.UndoStore().UndoCount(), 0);
}

TEST_F(PickedTools, FloatsAreMarkedOutsideTheUndoStepAndPutBackOnClosing)
{
    // One column of 20 cells of index 3; a weave of one warp with its point on the last
    // weft blackens every fifth row from the bottom, leaving runs of four. With the hint
    // and float length 5 the runs of 1 to 4 cells are marked, except the one wholly in the
    // top four rows.
    QImage picture = NewPicture(1, 20, GreyPalette());
    picture.fill(3);
    TPatternGrid g;
    show(g, picture);
    g.SetForeColorIndex(3);
    TTileWeaveParam param;
    param.FloatLength = 5;
    param.ChangeColorHint = true;
    g.SetTileWeaveParam(param);
    TWeaveArray weave = MakeWeaveArray(1, 5);
    weave[0][4] = 1;
    TFloatMarking marking;
    ASSERT_TRUE(TilePickedWeave(g, weave, { 0, 0 }, false, marking, nullptr));
    ASSERT_EQ(marking.Floats.length(), 3);
    EXPECT_EQ(marking.Floats[0], (TFloatRun { 4, 5, 8, 0 }));
    EXPECT_EQ(marking.KeepIndex, 3);
    EXPECT_EQ(marking.OtherIndex, 0);
    EXPECT_EQ(marking.FoundIndex, 3);
    const int marker = marking.MarkerIndex;
    ASSERT_GE(marker, 0);
    EXPECT_NE(marker, 3);
    EXPECT_NE(marker, 0);
    TRows tiled, marked;
    for (int y = 0; y < 20; ++y) {
        const bool black = y % 5 == 4;
        tiled.push_back({ black ? 0 : 3 });
        marked.push_back({ black ? 0 : (y >= 5 ? marker : 3) });
    }
    EXPECT_EQ(column(g.Picture()), marked);
    EXPECT_EQ(column(g.RefBitmap()), tiled) << "the marker is not in RefBitmap";
    EXPECT_EQ(g.UndoStore().UndoCount(), 2) << "the cell step and the marker's palette step";

    TFloatQuery query;
    query.Start(&g, marking);
    query.Restore();
    EXPECT_EQ(column(g.Picture()), tiled);
    EXPECT_EQ(g.UndoStore().UndoCount(), 2) << "putting back records nothing";

    // Every palette entry in use (black among them): the weave is tiled, the floats are
    // not marked, and the reason is given.
    TPalette256 full = FullPaletteWithoutBlack();
    full[0] = { 0, 0, 0, 0 };
    QImage crowded = NewPicture(257, 20, full);
    for (int y = 0; y < 20; ++y) {
        crowded.scanLine(y)[0] = 3;
        for (int x = 1; x < 257; ++x)
            crowded.scanLine(y)[x] = std::uint8_t(x - 1);
    }
    TPatternGrid fullGrid;
    show(fullGrid, crowded);
    fullGrid.SetForeColorIndex(3);
    fullGrid.SetTileWeaveParam(param);
    TFloatMarking none;
    ASSERT_TRUE(TilePickedWeave(fullGrid, weave, { 0, 0 }, false, none, nullptr));
    EXPECT_EQ(none.Notice, GetUiMessage(UiKey::String::TileNoEntryForMarker));
    EXPECT_TRUE(none.Floats.isEmpty());
    EXPECT_EQ(none.MarkerIndex, -1);
    EXPECT_EQ(column(fullGrid.Picture()), tiled);
    EXPECT_EQ(fullGrid.Palette(), full);
    EXPECT_EQ(fullGrid.UndoStore().UndoCount(), 1) << "the tiled cells only";
}

namespace {
// Floats of lengths 1 to 5 in columns 0 to 4 of a 5 x 6 picture of index 1, found in
// index 3 and marked in index 7; fore 2, back 4.
struct TQueryPicture {
    TPatternGrid grid;
    TFloatMarking marking;
    TRows found;

    void build()
    {
        QImage img = NewPicture(5, 6, GreyPalette());
        img.fill(1);
        for (int len = 1; len <= 5; ++len) {
            TFloatRun r { len, 0, len - 1, len - 1 };
            marking.Floats.setLength(marking.Floats.length() + 1);
            marking.Floats[marking.Floats.length() - 1] = r;
            for (int y = 0; y < len; ++y)
                img.scanLine(y)[len - 1] = 3;
        }
        grid.SetClientSize(100, 100);
        grid.SetPicture(img);
        grid.ReadPaletteFromPicture();
        grid.RebuildDisplayBitmap();
        found = PictureRows(img);
        for (const auto &r : marking.Floats)
            for (int y = r.Start; y <= r.End; ++y)
                grid.Picture().scanLine(y)[r.Line] = 7;
        marking.MarkerIndex = 7;
        marking.KeepIndex = 3;
        marking.OtherIndex = 0;
        marking.FoundIndex = 3;
        grid.SetBackColorIndex(4);
        grid.SetForeColorIndex(2);
    }
    // The picture with the float of each length (1 to 5) in the given index.
    TRows with(const std::vector<int> &byLength) const
    {
        TRows rows = found;
        for (int len = 1; len <= 5; ++len)
            for (int y = 0; y < len; ++y)
                rows[y][len - 1] = byLength[len - 1];
        return rows;
    }
};
} // namespace

TEST_F(PickedTools, FloatQueryDecidesByLength)
{
    struct Case {
        const char *name;
        const char *text;
        TFloatQueryRule rule;
        std::vector<int> expected; // index of the floats of length 1 to 5
    } cases[] = {
        { "3, at most", "3", TFloatQueryRule::AtMost, { 2, 2, 2, 4, 4 } },
        { "2,5, equal to", "2,5", TFloatQueryRule::EqualTo, { 4, 2, 4, 4, 2 } },
        { "2,5, at most takes the first", " 2,5", TFloatQueryRule::AtMost, { 2, 2, 4, 4, 4 } },
    };
    for (const auto &c : cases) {
        TQueryPicture q;
        q.build();
        TFloatQuery query;
        query.Start(&q.grid, q.marking);
        ASSERT_TRUE(query.Apply(c.text, c.rule)) << c.name;
        EXPECT_EQ(PictureRows(q.grid.Picture()), q.with(c.expected)) << c.name;
        EXPECT_EQ(q.grid.UndoStore().UndoCount(), 1) << c.name;
        EXPECT_TRUE(query.Floats().isEmpty()) << c.name;
        query.Restore();
        EXPECT_EQ(PictureRows(q.grid.Picture()), q.with(c.expected))
            << c.name << ": nothing left to put back";
        ASSERT_TRUE(q.grid.Undo()) << c.name;
        EXPECT_EQ(PictureRows(q.grid.Picture()), q.found)
            << c.name << ": the step's old cells hold no marker";
    }

    // An empty text, and closing without OK under both FindHigh values.
    for (const bool findHigh : { true, false }) {
        for (const bool empty : { true, false }) {
            TQueryPicture q;
            q.build();
            TTileWeaveParam p;
            p.FindHigh = findHigh;
            q.grid.SetTileWeaveParam(p);
            TFloatQuery query;
            query.Start(&q.grid, q.marking);
            if (empty)
                ASSERT_TRUE(query.Apply("  ", TFloatQueryRule::EqualTo));
            else
                query.Restore();
            const int back = findHigh ? 3 : 0;
            EXPECT_EQ(PictureRows(q.grid.Picture()), q.with({ back, back, back, back, back }));
            EXPECT_EQ(q.grid.UndoStore().UndoCount(), 0);
        }
    }

    // A text that is not a list of numbers changes nothing; a second check puts the floats
    // of the first back; a grid that is gone is not written.
    TQueryPicture q;
    q.build();
    TFloatQuery query;
    query.Start(&q.grid, q.marking);
    QString error;
    EXPECT_FALSE(query.Apply("2;x", TFloatQueryRule::EqualTo, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(query.Floats().length(), 5);
    TFloatMarking second = q.marking;
    second.Floats.setLength(1);
    query.Start(&q.grid, second);
    EXPECT_EQ(PictureRows(q.grid.Picture()), q.found) << "the first check's floats are back";
    q.grid.Picture().scanLine(0)[0] = 7; // the second check's float, as the tool marks it
    query.Forget();
    query.Restore();
    EXPECT_EQ(PictureRows(q.grid.Picture()), q.with({ 7, 3, 3, 3, 3 }));
}

TEST_F(PickedTools, PatternToolTilesAPictureFileIntoTheForeColour)
{
    QTemporaryDir dir;
    // The loaded picture: top row colours 10, 20, bottom row 30, 40.
    const QString file = dir.filePath("motif.bmp");
    ASSERT_TRUE(SaveBmp8File(MakePicture({ { 10, 20 }, { 30, 40 } }), file));
    const TRows rows { { 3, 3, 3, 3 }, { 3, 3, 1, 3 } };
    struct Case {
        const char *name;
        TPoint cell;
        bool atCell;
        std::vector<std::vector<int>> expectedGrey; // grey level of every cell afterwards
    } cases[] = {
        { "left button: the loaded bottom-left cell at the pattern's bottom-left", { 3, 1 }, false,
            { { 10, 20, 10, 20 }, { 30, 40, 1, 40 } } },
        { "right button on column 1: the columns move by one", { 1, 0 }, true,
            { { 20, 10, 20, 10 }, { 40, 30, 1, 30 } } },
    };
    for (const auto &c : cases) {
        TPatternGrid g;
        show(g, MakePicture({ rows[0], rows[1] }));
        g.SetForeColorIndex(3);
        QString error;
        ASSERT_TRUE(TilePickedPattern(g, file, c.cell, c.atCell, &error)) << c.name << error.toStdString();
        std::vector<std::vector<int>> grey;
        for (const auto &row : PictureRows(g.Picture())) {
            grey.emplace_back();
            for (int index : row)
                grey.back().push_back(g.Palette()[index].Red);
        }
        EXPECT_EQ(grey, c.expectedGrey) << c.name;
        EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture())) << c.name;
        EXPECT_EQ(g.UndoStore().UndoCount(), 1) << c.name;
        ASSERT_TRUE(g.Undo()) << c.name;
        EXPECT_EQ(PictureRows(g.Picture()), rows) << c.name;
    }
    TPatternGrid g;
    show(g, MakePicture({ rows[0], rows[1] }));
    g.SetForeColorIndex(3);
    QString error;
    EXPECT_FALSE(TilePickedPattern(g, dir.filePath("missing.bmp"), { 0, 0 }, false, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(PictureRows(g.Picture()), rows);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
}

// When nothing was tiled the black just added has no cell yet: the marker must still take
// an entry of its own, or the black of the tiling would be painted over with the marker's
// colour.
TEST_F(PickedTools, MarkerNeverTakesTheEntryOfTheBlackJustAdded)
{
    // A column of index 1 with a run of three cells of index 3 in the middle; a palette
    // without black. Float length 5: the run is too short to be tiled, so no cell turns
    // black, but it is a float the hint marks.
    TPalette256 palette = GreyPalette();
    for (TPaletteEntry &e : palette)
        if (e.Red == 0 && e.Green == 0 && e.Blue == 0)
            e = { 5, 6, 7, 0 };
    QImage picture = NewPicture(1, 8, palette);
    picture.fill(1);
    for (int y = 2; y <= 4; ++y)
        picture.scanLine(y)[0] = 3;
    const TRows before = column(picture);
    TPatternGrid g;
    show(g, picture);
    g.SetForeColorIndex(3);
    TTileWeaveParam param;
    param.FloatLength = 5;
    param.ChangeColorHint = true;
    param.FindHigh = true;
    g.SetTileWeaveParam(param);
    TWeaveArray weave = MakeWeaveArray(1, 1);
    weave[0][0] = 1;
    TFloatMarking marking;
    ASSERT_TRUE(TilePickedWeave(g, weave, { 0, 0 }, false, marking, nullptr));
    ASSERT_EQ(marking.Floats.length(), 1);
    const int black = marking.OtherIndex, marker = marking.MarkerIndex;
    ASSERT_GE(black, 0);
    ASSERT_GE(marker, 0);
    EXPECT_NE(marker, black);
    EXPECT_EQ(g.Palette()[std::size_t(black)], (TPaletteEntry { 0, 0, 0, 0 })) << "black stays black";
    EXPECT_NE(g.Palette()[std::size_t(marker)], g.Palette()[std::size_t(black)]);
    TRows marked = before;
    for (int y = 2; y <= 4; ++y)
        marked[std::size_t(y)][0] = marker;
    EXPECT_EQ(column(g.Picture()), marked);
}

TEST_F(PickedTools, FloatQueryWritesNothingOnceTheCellsMayHaveMoved)
{
    // Each change moves the marked cells or replaces the picture; closing or OK afterwards
    // must leave the picture as the change left it, and the check is over.
    const struct {
        const char *name;
        std::function<void(TPatternGrid &)> change;
    } changes[] = {
        { "mirrored", [](TPatternGrid &g) { ASSERT_TRUE(g.FlipLeftRight()); } },
        { "rotated", [](TPatternGrid &g) { ASSERT_TRUE(g.Rotate90()); } },
        { "shifted", [](TPatternGrid &g) { g.ShiftPictureHorz(2); } },
        { "undone",
            [](TPatternGrid &g) {
                ASSERT_TRUE(g.Rotate180());
                ASSERT_TRUE(g.Undo());
            } },
    };
    for (const auto &c : changes) {
        for (const bool ok : { false, true }) {
            TQueryPicture q;
            q.build();
            TFloatQuery query;
            query.Start(&q.grid, q.marking);
            c.change(q.grid);
            const TRows after = PictureRows(q.grid.Picture());
            const int steps = q.grid.UndoStore().UndoCount();
            if (ok)
                EXPECT_TRUE(query.Apply("3", TFloatQueryRule::AtMost)) << c.name;
            else
                query.Restore();
            EXPECT_EQ(PictureRows(q.grid.Picture()), after) << c.name << (ok ? ", OK" : ", closed");
            EXPECT_EQ(q.grid.UndoStore().UndoCount(), steps) << c.name;
            EXPECT_TRUE(query.Floats().isEmpty()) << c.name;
        }
    }

    // A cell edit keeps the positions: closing still puts the floats back.
    TQueryPicture q;
    q.build();
    TFloatQuery query;
    query.Start(&q.grid, q.marking);
    q.grid.Picture().scanLine(5)[0] = 2;
    TLineArray edited;
    edited.setLength(1);
    edited[0] = TPoint { 0, 5 };
    q.grid.RecordUndoStep(edited);
    query.Restore();
    TRows expected = q.with({ 3, 3, 3, 3, 3 });
    expected[5][0] = 2;
    EXPECT_EQ(PictureRows(q.grid.Picture()), expected);
}
