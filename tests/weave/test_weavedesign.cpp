// The weave design window's behaviour without the window: the grid's mouse (header
// clicks, blocks, drags), the actions' numbering, undo, saving and layer editing.
#include "weave/weavedesign.h"

#include "testutil.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The weave as the grid shows it: one string per weft, top row first.
std::vector<std::string> Rows(const TWeave &w)
{
    std::vector<std::string> rows;
    for (int j = 0; j < w.WeftCount(); ++j) {
        std::string row;
        for (int i = 0; i < w.WarpCount(); ++i)
            row += char('0' + w.GetCell(i, j));
        rows.push_back(row);
    }
    return rows;
}

TWeaveArray FromRows(const std::vector<std::string> &rows)
{
    TWeaveArray cells = MakeWeaveArray(int(rows[0].size()), int(rows.size()));
    for (std::size_t j = 0; j < rows.size(); ++j)
        for (std::size_t i = 0; i < rows[j].size(); ++i)
            cells[int(i)][int(j)] = rows[j][i] == '1' ? 1 : 0;
    return cells;
}

// A weave in which every warp and every weft differs from every other: cell [i][j] is set
// for the bits of i + 1 at wefts 0..3 and of j + 1 at warps 0..3 (sizes up to 8 x 8 are
// told apart by both).
TWeaveArray Marked(int warps, int wefts)
{
    TWeaveArray cells = MakeWeaveArray(warps, wefts);
    for (int i = 0; i < warps; ++i)
        for (int j = 0; j < wefts; ++j)
            cells[i][j] = (((i + 1) >> (j % 4)) & 1) ^ (((j + 1) >> (i % 4)) & 1);
    return cells;
}

// The cells the original puts where the maps say: warp i of the result is warp warps[i] of
// the original (-1: an empty line), and likewise wefts.
std::vector<std::string> Mapped(
    const TWeaveArray &orig, const std::vector<int> &warps, const std::vector<int> &wefts)
{
    std::vector<std::string> rows;
    for (int weft : wefts) {
        std::string row;
        for (int warp : warps)
            row += warp < 0 || weft < 0 ? '0' : char('0' + orig[warp][weft]);
        rows.push_back(row);
    }
    return rows;
}

std::vector<int> Range(int from, int to)
{
    std::vector<int> v;
    for (int k = from; k <= to; ++k)
        v.push_back(k);
    return v;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void Click(TWeaveDesign &d, int col, int row, TWeaveKeys keys = {})
{
    d.MouseDown(col, row, TWeaveButton::Left);
    d.MouseUp(col, row, keys);
}

// Presses on one cell, moves to the other and releases there.
void Drag(TWeaveDesign &d, int col1, int row1, int col2, int row2, TWeaveKeys keys = {})
{
    d.MouseDown(col1, row1, TWeaveButton::Left);
    d.MouseMove(col2, row2, keys);
    d.MouseUp(col2, row2, keys);
}

} // namespace

TEST(WeaveDesign, StartsAsAnUntitledEightByEightPlainWeave)
{
    TWeaveDesign d;
    EXPECT_EQ(d.FileName(), QStringLiteral("Untitled.OVW"));
    TWeave plain;
    plain.NewPlain(8, 8);
    EXPECT_EQ(Rows(d.Weave()), Rows(plain));
    EXPECT_FALSE(d.Weave().Modified());
    EXPECT_FALSE(d.Enabled(TWeaveAction::Undo));
    EXPECT_FALSE(d.Enabled(TWeaveAction::FillBlock));
    EXPECT_EQ(d.WarpLayer(), 1);
    EXPECT_EQ(d.WeftLayer(), 1);
}

TEST(WeaveDesign, HeaderClicksInsertAndDeleteTheLineClicked)
{
    struct Case {
        const char *what;
        int warps, wefts;
        int col, row;
        TWeaveButton button;
        std::vector<int> warpMap, weftMap;
    };
    const auto L = TWeaveButton::Left;
    const auto R = TWeaveButton::Right;
    const std::vector<Case> cases = {
        { "left on warp 2 adds an empty warp after it", 4, 4, 2, 0, L, { 0, 1, -1, 2, 3 }, Range(0, 3) },
        { "left on the last warp appends", 4, 4, 4, 0, L, { 0, 1, 2, 3, -1 }, Range(0, 3) },
        { "right on warp 3 removes it", 4, 4, 3, 0, R, { 0, 1, 3 }, Range(0, 3) },
        { "right on a 3-warp weave removes the warp", 3, 4, 1, 0, R, { 1, 2 }, Range(0, 3) },
        { "right on a 2-warp weave does nothing", 2, 4, 1, 0, R, { 0, 1 }, Range(0, 3) },
        { "left on the top row adds an empty weft above it", 4, 4, 0, 1, L, Range(0, 3), { -1, 0, 1, 2, 3 } },
        { "left on the bottom row adds above it", 4, 4, 0, 4, L, Range(0, 3), { 0, 1, 2, -1, 3 } },
        { "right on the second row removes it", 4, 4, 0, 2, R, Range(0, 3), { 0, 2, 3 } },
        { "the corner does nothing", 4, 4, 0, 0, L, Range(0, 3), Range(0, 3) },
        { "the corner does nothing (right)", 4, 4, 0, 0, R, Range(0, 3), Range(0, 3) },
        { "beyond the headers does nothing", 4, 4, 9, 0, L, Range(0, 3), Range(0, 3) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TWeaveDesign d;
        const TWeaveArray orig = Marked(c.warps, c.wefts);
        d.Weave().SetCells(orig, false);
        d.Weave().SetBlock({ 0, 0, 1, 1 });
        d.MouseDown(c.col, c.row, c.button);
        d.MouseUp(c.col, c.row, {});
        EXPECT_EQ(Rows(d.Weave()), Mapped(orig, c.warpMap, c.weftMap));
        const bool changed
            = c.warpMap.size() != std::size_t(c.warps) || c.weftMap.size() != std::size_t(c.wefts);
        const bool header = (c.col == 0) != (c.row == 0) && c.col <= c.warps && c.row <= c.wefts;
        EXPECT_EQ(d.Weave().HasBlock(), !header);
        EXPECT_EQ(d.Weave().WarpCount(), int(c.warpMap.size()));
        EXPECT_EQ(d.Enabled(TWeaveAction::Undo), changed);
    }
}

TEST(WeaveDesign, ClicksToggleCellsAndBlocksAreDefinedOnlyInBlockMode)
{
    TWeaveDesign d;
    d.Weave().SetCells(MakeWeaveArray(4, 3), false);
    Click(d, 2, 3); // warp 1, weft 2
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0000", "0000", "0100" }));
    Click(d, 2, 3);
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0000", "0000", "0000" }));
    // Without block mode a drag neither defines a block nor toggles.
    Drag(d, 1, 1, 3, 2);
    EXPECT_FALSE(d.Weave().HasBlock());
    EXPECT_EQ(d.Weave().CurrentSnapshot(), 2);

    d.SetBlockDefineMode(true);
    // Dragged from the lower right to the upper left, past the edge: corners in order,
    // the far one held to the weave.
    d.MouseDown(3, 2, TWeaveButton::Left);
    d.MouseMove(-5, -5, {});
    TWeaveRect shown;
    ASSERT_TRUE(d.ShownBlock(shown));
    EXPECT_EQ((std::vector<int> { shown.LowWarp, shown.LowWeft, shown.HighWarp, shown.HighWeft }),
        (std::vector<int> { 0, 0, 2, 1 }));
    d.MouseUp(-5, -5, {});
    ASSERT_TRUE(d.Weave().HasBlock());
    const TWeaveRect b = d.Weave().Block();
    EXPECT_EQ((std::vector<int> { b.LowWarp, b.LowWeft, b.HighWarp, b.HighWeft }),
        (std::vector<int> { 0, 0, 2, 1 }));
    EXPECT_TRUE(d.Enabled(TWeaveAction::FillBlock));
    d.Run(TWeaveAction::FillBlock);
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "1110", "1110", "0000" }));
    // A press outside the block does nothing; a click inside, off its corners, keeps it.
    Click(d, 4, 3);
    Click(d, 2, 1);
    EXPECT_TRUE(d.Weave().HasBlock());
    // A click on its second corner clears it and leaves the cell alone.
    Click(d, 3, 2);
    EXPECT_FALSE(d.Weave().HasBlock());
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "1110", "1110", "0000" }));
    // Switching the mode off clears a block.
    Drag(d, 1, 1, 2, 2);
    EXPECT_TRUE(d.Weave().HasBlock());
    d.SetBlockDefineMode(false);
    EXPECT_FALSE(d.Weave().HasBlock());
}

TEST(WeaveDesign, DraggedBlocksMoveCopyOrMergeAsOneStepAndStayInside)
{
    const std::vector<std::string> start = {
        "000000",
        "011000",
        "001100",
        "000000",
    };
    struct Case {
        const char *what;
        int toCol, toRow; // where the press on cell (2, 2) is released
        TWeaveKeys keys;
        std::vector<std::string> result;
        TWeaveRect block;
    };
    const std::vector<Case> cases = {
        { "move right by two", 4, 2, {}, { "000000", "000110", "000010", "000000" }, { 3, 1, 4, 2 } },
        { "Ctrl copies down", 2, 3, { true, false }, { "000000", "011000", "011100", "001000" },
            { 1, 2, 2, 3 } },
        { "Shift merges right by one", 3, 2, { false, true }, { "000000", "011100", "001100", "000000" },
            { 2, 1, 3, 2 } },
        { "Ctrl copies right by one", 3, 2, { true, false }, { "000000", "011100", "000100", "000000" },
            { 2, 1, 3, 2 } },
        { "past the right and bottom edges", 40, 40, {}, { "000000", "000000", "000111", "000001" },
            { 4, 2, 5, 3 } },
        { "past the left and top edges", -9, -9, {}, { "110000", "010000", "000100", "000000" },
            { 0, 0, 1, 1 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TWeaveDesign d;
        d.Weave().SetCells(FromRows(start), true);
        d.SetBlockDefineMode(true);
        Drag(d, 2, 2, 3, 3); // the block: warps 1..2, wefts 1..2
        const int before = d.Weave().CurrentSnapshot();
        d.MouseDown(2, 2, TWeaveButton::Left);
        d.MouseMove(c.toCol, c.toRow, c.keys);
        TWeaveRect dragged;
        ASSERT_TRUE(d.DraggedBlock(dragged));
        EXPECT_EQ(dragged.LowWarp, c.block.LowWarp);
        EXPECT_EQ(dragged.HighWeft, c.block.HighWeft);
        // The preview shows the result and records nothing.
        EXPECT_EQ(Rows(d.Weave()), c.result);
        EXPECT_EQ(d.Weave().CurrentSnapshot(), before);
        d.MouseUp(c.toCol, c.toRow, c.keys);
        EXPECT_EQ(Rows(d.Weave()), c.result);
        EXPECT_EQ(d.Weave().WarpCount(), 6);
        EXPECT_EQ(d.Weave().WeftCount(), 4);
        const TWeaveRect b = d.Weave().Block();
        EXPECT_EQ((std::vector<int> { b.LowWarp, b.LowWeft, b.HighWarp, b.HighWeft }),
            (std::vector<int> { c.block.LowWarp, c.block.LowWeft, c.block.HighWarp, c.block.HighWeft }));
        d.Undo();
        EXPECT_EQ(Rows(d.Weave()), start);
    }
}

TEST(WeaveDesign, EscapeEndsADragWithoutTransfer)
{
    TWeaveDesign d;
    d.Weave().SetCells(FromRows({ "0110", "0000" }), true);
    d.SetBlockDefineMode(true);
    Drag(d, 2, 1, 3, 1);
    d.MouseDown(2, 1, TWeaveButton::Left);
    d.MouseMove(3, 2, {});
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0000", "0011" }));
    EXPECT_TRUE(d.Escape());
    EXPECT_FALSE(d.Dragging());
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0110", "0000" }));
    d.MouseUp(3, 2, {});
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0110", "0000" }));
    EXPECT_FALSE(d.Escape()); // the window closes
}

TEST(WeaveDesign, RowsAndColumnsAreNumberedFromTheBottomAndFromOne)
{
    struct Case {
        const char *what;
        TRowColEdit edit;
        int start, count;
        std::vector<int> warpMap, weftMap;
    };
    // H = 8: row s is weft 8 - s.
    const std::vector<Case> cases = {
        { "two rows above row 1", RowsAdd, 1, 2, Range(0, 7), Join(Range(0, 6), { -1, -1, 7 }) },
        { "a row below row 1", RowsAdd, 0, 1, Range(0, 7), Join(Range(0, 7), { -1 }) },
        { "a row above the top row", RowsAdd, 8, 1, Range(0, 7), Join({ -1 }, Range(0, 7)) },
        { "a column before column 1", ColumnsAdd, 0, 1, Join({ -1 }, Range(0, 7)), Range(0, 7) },
        { "two columns after column 3", ColumnsAdd, 3, 2, Join(Join(Range(0, 2), { -1, -1 }), Range(3, 7)),
            Range(0, 7) },
        { "row 1", RowsDelete, 1, 1, Range(0, 7), Range(0, 6) },
        { "rows 3 and 4", RowsDelete, 3, 2, Range(0, 7), Join(Range(0, 3), Range(6, 7)) },
        { "columns 2 to 4", ColumnsDelete, 2, 3, Join({ 0 }, Range(4, 7)), Range(0, 7) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TWeaveDesign d;
        const TWeaveArray orig = Marked(8, 8);
        d.Weave().SetCells(orig, false);
        d.AddDelRowCol(c.edit, c.start, c.count);
        EXPECT_EQ(Rows(d.Weave()), Mapped(orig, c.warpMap, c.weftMap));
    }
}

TEST(WeaveDesign, SwapsTakeLinesAsTheUserNumbersThem)
{
    TWeaveDesign d;
    const TWeaveArray orig = Marked(5, 6);
    d.Weave().SetCells(orig, false);
    d.SwapWarps(1, 5);
    EXPECT_EQ(Rows(d.Weave()), Mapped(orig, { 4, 1, 2, 3, 0 }, Range(0, 5)));
    d.SwapWefts(1, 2); // the two bottom wefts
    EXPECT_EQ(Rows(d.Weave()), Mapped(orig, { 4, 1, 2, 3, 0 }, { 0, 1, 2, 3, 5, 4 }));
}

TEST(WeaveDesign, ZoomStopsAtOnePixelAndDropsGridLinesBelowThree)
{
    TWeaveDesign d;
    const int saved = TWeaveDesign::CellSize();
    TWeaveDesign::SetCellSize(14);
    struct Step {
        int zoomOuts, size, line;
    };
    const std::vector<Step> steps = { { 0, 14, 1 }, { 11, 3, 1 }, { 1, 2, 0 }, { 1, 1, 0 }, { 5, 1, 0 } };
    for (const auto &s : steps) {
        for (int k = 0; k < s.zoomOuts; ++k)
            d.ZoomOut();
        EXPECT_EQ(TWeaveDesign::CellSize(), s.size);
        EXPECT_EQ(TWeaveDesign::GridLineWidth(), s.line);
    }
    d.ZoomIn();
    EXPECT_EQ(TWeaveDesign::CellSize(), 2);
    // Shared by every window.
    TWeaveDesign other;
    other.ZoomIn();
    EXPECT_EQ(TWeaveDesign::CellSize(), 3);
    TWeaveDesign::SetCellSize(saved);
}

TEST(WeaveDesign, UndoGoesBackThreeStepsAndASaveEndsIt)
{
    QTemporaryDir dir;
    TWeaveDesign d;
    std::vector<std::vector<std::string>> states { Rows(d.Weave()) };
    for (int k = 0; k < 5; ++k) {
        Click(d, k + 1, 1);
        states.push_back(Rows(d.Weave()));
    }
    for (int k = 0; k < 4; ++k)
        d.Undo();
    EXPECT_EQ(Rows(d.Weave()), states[2]);
    EXPECT_FALSE(d.Enabled(TWeaveAction::Undo));
    EXPECT_TRUE(d.Weave().Modified());
    d.Redo();
    EXPECT_EQ(Rows(d.Weave()), states[3]);
    const QString path = dir.filePath(QStringLiteral("saved.OVW"));
    ASSERT_TRUE(d.Save(path));
    EXPECT_EQ(d.FileName(), path);
    EXPECT_FALSE(d.Weave().Modified());
    EXPECT_FALSE(d.Enabled(TWeaveAction::Undo));
    EXPECT_FALSE(d.Enabled(TWeaveAction::Redo));
    TWeaveArray back;
    ASSERT_TRUE(LoadWeaveFile(path, back));
    EXPECT_EQ(back, d.Weave().Cells());
}

TEST(WeaveDesign, FilesOpenNewAndRefuseBadOnesUnchanged)
{
    QTemporaryDir dir;
    TWeaveDesign d;
    Click(d, 1, 1);
    const std::vector<std::string> before = Rows(d.Weave());
    const QString bad = dir.filePath(QStringLiteral("bad.OVW"));
    ASSERT_TRUE(WriteAll(bad, WeaveFileBytes(Marked(3, 3)).left(250)));
    QString error;
    EXPECT_FALSE(d.Open(bad, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Rows(d.Weave()), before);
    EXPECT_EQ(d.FileName(), QStringLiteral("Untitled.OVW"));

    const QString good = dir.filePath(QStringLiteral("good.OVW"));
    ASSERT_TRUE(WriteWeaveFile(good, Marked(3, 5)));
    d.SetBlockDefineMode(true);
    Drag(d, 1, 1, 2, 2);
    ASSERT_TRUE(d.Open(good));
    EXPECT_EQ(d.FileName(), good);
    EXPECT_FALSE(d.Weave().HasBlock());
    EXPECT_EQ(d.Weave().Cells(), Marked(3, 5));
    EXPECT_FALSE(d.Weave().Modified());

    d.NewWeave(5, 2);
    EXPECT_EQ(d.FileName(), QStringLiteral("Untitled.OVW"));
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "11111", "11111" }));
    d.Undo(); // to the empty weave the new one started from
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "00000", "00000" }));
}

TEST(WeaveDesign, SaveQueryGoesOnOnlyWhenTheWeaveIsSafeOrDropped)
{
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/w.OVW"));
    struct Case {
        const char *what;
        bool modify;
        bool named; // saved once before the edit
        TWeaveSaveAnswer answer;
        const char *chosen; // what the save dialog gives (nullptr: cancelled)
        bool goesOn, asked, savedTo, stillModified, reported;
    };
    const std::vector<Case> cases = {
        { "unmodified", false, false, TWeaveSaveAnswer::Cancel, nullptr, true, false, false, false, false },
        { "No drops the weave", true, false, TWeaveSaveAnswer::No, nullptr, true, true, false, true, false },
        { "Cancel stops", true, false, TWeaveSaveAnswer::Cancel, "x.OVW", false, true, false, true, false },
        { "Yes saves an untitled weave", true, false, TWeaveSaveAnswer::Yes, "x.OVW", true, true, true, false,
            false },
        { "Yes with the save dialog cancelled stops", true, false, TWeaveSaveAnswer::Yes, nullptr, false,
            true, false, true, false },
        { "Yes saves a named weave under its name", true, true, TWeaveSaveAnswer::Yes, nullptr, true, true,
            true, false, false },
        { "a failed save stops and says why", true, false, TWeaveSaveAnswer::Yes, "missing", false, true,
            false, true, true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TWeaveDesign d;
        const QString target = dir.filePath(QStringLiteral("x.OVW"));
        QFile::remove(target);
        if (c.named) {
            ASSERT_TRUE(d.Save(target));
            QFile::remove(target);
        }
        if (c.modify)
            Click(d, 1, 1);
        bool asked = false;
        QString report;
        const bool goesOn = d.SaveQuery(
            [&] {
                asked = true;
                return c.answer;
            },
            [&] {
                if (!c.chosen)
                    return QString();
                return QString::fromLatin1(c.chosen) == QLatin1String("missing") ? missingFolder : target;
            },
            [&](const QString &why) { report = why; });
        EXPECT_EQ(goesOn, c.goesOn);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(QFile::exists(target), c.savedTo);
        EXPECT_EQ(d.Weave().Modified(), c.stillModified);
        EXPECT_EQ(!report.isEmpty(), c.reported);
    }
}

TEST(WeaveDesign, LayerEditingWritesTheLayerBackAsOneStepAndHoldsTheSize)
{
    TWeaveDesign d;
    d.Weave().SetCells(MakeWeaveArray(4, 4), false);
    ASSERT_TRUE(d.Weave().SetLayers({ 1, 2 }, true));
    ASSERT_TRUE(d.Weave().SetLayers({ 1, 2 }, false));
    d.LayersChanged();
    // Warps 0 and 2 are layer 1; wefts are counted from the bottom: 3 and 1 are layer 1.
    EXPECT_EQ(d.LayerViewColumns(),
        (std::vector<int> { 0, 2, -1, -1, -1, -1, -1, -1, 1, 3, -1, -1, -1, -1, -1, -1 }));
    EXPECT_EQ(
        d.LayerViewRows(), (std::vector<int> { -1, -1, -1, -1, -1, -1, 0, 2, -1, -1, -1, -1, -1, -1, 1, 3 }));
    EXPECT_EQ(d.LayerWarps(), (std::vector<int> { 0, 2 }));
    EXPECT_EQ(d.LayerWefts(), (std::vector<int> { 1, 3 }));

    d.SetLayerEditing(true);
    const int before = d.Weave().CurrentSnapshot();
    d.Run(TWeaveAction::FillAll);
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0000", "1010", "0000", "1010" }));
    EXPECT_EQ(d.Weave().CurrentSnapshot(), before + 1);
    // The other pair, and a transformation of it: the top sub-weft onto the bottom one.
    d.SetLayerPair(2, 2);
    d.Weave().ToggleCell(1, 0);
    d.Run(TWeaveAction::UpToDown);
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0100", "1010", "0100", "1010" }));
    d.Undo();
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0100", "1010", "0000", "1010" }));

    // Nothing that changes the size while the layers are edited.
    for (TWeaveAction a : { TWeaveAction::TileWeave, TWeaveAction::AddDelRowCol, TWeaveAction::WarpHillOut,
             TWeaveAction::WeftHillOut, TWeaveAction::LeftToRightInvertOut,
             TWeaveAction::UpToDownInvertOut }) {
        EXPECT_FALSE(d.Enabled(a));
        d.Run(a);
    }
    d.MouseDown(1, 0, TWeaveButton::Left);
    d.MouseDown(0, 1, TWeaveButton::Right);
    d.AddDelRowCol(ColumnsAdd, 1, 1);
    d.TileWeave(8, 8);
    EXPECT_EQ(d.Weave().WarpCount(), 4);
    EXPECT_EQ(d.Weave().WeftCount(), 4);
    EXPECT_EQ(d.CombineModes(), (std::vector<TCombineMode> { CombineTileAll }));
    d.Combine(FromRows({ "1" }), CombineRight);
    EXPECT_EQ(d.Weave().WarpCount(), 4);
    // Tiling over the layer keeps the other layers.
    d.Combine(FromRows({ "1" }), CombineTileAll);
    EXPECT_EQ(Rows(d.Weave()), (std::vector<std::string> { "0101", "1010", "0101", "1010" }));

    d.SetLayerEditing(false);
    EXPECT_TRUE(d.Enabled(TWeaveAction::TileWeave));
    EXPECT_EQ(d.CombineModes(),
        (std::vector<TCombineMode> {
            CombineAbove, CombineBelow, CombineLeft, CombineRight, CombineTileAll }));
    d.SetBlockDefineMode(true);
    Drag(d, 1, 1, 2, 2);
    EXPECT_EQ(d.CombineModes().size(), 7u);
    d.Combine(FromRows({ "1" }), CombineBelow);
    EXPECT_FALSE(d.Weave().HasBlock());
    EXPECT_EQ(d.Weave().WeftCount(), 5);
}

TEST(WeaveDesign, LayerPairsAreHeldToTheLayersThereAre)
{
    TWeaveDesign d;
    ASSERT_TRUE(d.Weave().SetLayers({ 1, 2, 3 }, true));
    d.LayersChanged();
    d.SetLayerPair(9, 9);
    EXPECT_EQ(d.WarpLayer(), 3);
    EXPECT_EQ(d.WeftLayer(), 1);
    EXPECT_EQ(d.LayerWarps(), (std::vector<int> { 2, 5 }));
    d.SetLayerPair(0, -4);
    EXPECT_EQ(d.WarpLayer(), 1);
    // A layer without lines leaves an empty sub-weave that actions leave alone.
    ASSERT_TRUE(d.Weave().SetLayers({ 2 }, true));
    d.LayersChanged();
    d.SetLayerEditing(true);
    const std::vector<std::string> before = Rows(d.Weave());
    d.Run(TWeaveAction::FillAll);
    EXPECT_EQ(Rows(d.Weave()), before);
}

// The cell size grows to 200 pixels and no further: the grid's pixel sums stay in range.
TEST(WeaveDesign, ZoomInStopsAtTwoHundredPixels)
{
    const int start = TWeaveDesign::CellSize();
    TWeaveDesign design;
    TWeaveDesign::SetCellSize(199);
    design.ZoomIn();
    design.ZoomIn();
    EXPECT_EQ(TWeaveDesign::CellSize(), 200);
    TWeaveDesign::SetCellSize(start);
}
