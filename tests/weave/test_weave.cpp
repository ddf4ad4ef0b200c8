#include "weave/weave.h"
#include "weave/weavefile.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<int>>;

// A weave from rows as the design window shows them: rows[weft][warp], weft 0 on top.
TWeaveArray FromRows(const Rows &rows)
{
    const int wefts = int(rows.size());
    const int warps = wefts ? int(rows[0].size()) : 0;
    TWeaveArray cells = MakeWeaveArray(warps, wefts);
    for (int j = 0; j < wefts; ++j)
        for (int i = 0; i < warps; ++i)
            cells[i][j] = std::uint8_t(rows[std::size_t(j)][std::size_t(i)]);
    return cells;
}

Rows ToRows(const TWeaveArray &cells)
{
    Rows rows(std::size_t(WeaveWefts(cells)), std::vector<int>(std::size_t(WeaveWarps(cells))));
    for (int i = 0; i < WeaveWarps(cells); ++i)
        for (int j = 0; j < WeaveWefts(cells); ++j)
            rows[std::size_t(j)][std::size_t(i)] = cells[i][j];
    return rows;
}

// A weave with its events counted.
struct Counted {
    TWeave weave;
    int changes = 0, undoStates = 0, redoStates = 0;
    explicit Counted(const Rows &rows = {})
    {
        weave.SetCells(FromRows(rows), false);
        weave.OnChange = [this](TWeave *sender) {
            EXPECT_EQ(sender, &weave);
            ++changes;
        };
        weave.OnUndoStateChange = [this](TWeave *) { ++undoStates; };
        weave.OnRedoStateChange = [this](TWeave *) { ++redoStates; };
    }
    Rows rows() const { return ToRows(weave.Cells()); }
};

// Each case: the weave before, the edit, the weave after (empty: unchanged and nothing
// fired).
struct EditCase {
    const char *name;
    Rows before;
    std::function<void(TWeave &)> edit;
    Rows after;
};

void RunEdits(const std::vector<EditCase> &cases)
{
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Counted w(c.before);
        c.edit(w.weave);
        if (c.after.empty()) {
            EXPECT_EQ(w.rows(), c.before);
            EXPECT_EQ(w.changes, 0);
        } else {
            EXPECT_EQ(w.rows(), c.after);
            EXPECT_EQ(w.changes, 1);
            EXPECT_EQ(w.weave.WarpCount(), int(c.after[0].size()));
            EXPECT_EQ(w.weave.WeftCount(), int(c.after.size()));
        }
    }
}

TWeaveRect Block(int warp1, int weft1, int warp2, int weft2)
{
    return TWeaveRect { warp1, weft1, warp2, weft2 };
}

} // namespace

TEST(Weave, CreateAndPlain)
{
    TWeave w;
    EXPECT_EQ(w.WarpCount(), 0);
    EXPECT_EQ(w.WeftCount(), 0);
    EXPECT_EQ(w.WarpLayers(), TIntegerArray { 1 });
    EXPECT_EQ(w.WeftLayers(), TIntegerArray { 1 });
    EXPECT_EQ(w.WarpLayerMax(), 1);
    EXPECT_FALSE(w.HasBlock());
    EXPECT_FALSE(w.UndoEnabled());
    EXPECT_EQ(w.LastSnapshot(), -1);

    w.NewPlain(3, 2);
    EXPECT_EQ(ToRows(w.Cells()), (Rows { { 0, 1, 0 }, { 1, 0, 1 } }));
    EXPECT_EQ(w.LastSnapshot(), 0);
    EXPECT_FALSE(w.Modified());
    EXPECT_EQ(w.GetCell(1, 0), 1);
    EXPECT_EQ(w.GetCell(3, 0), 0);
    EXPECT_EQ(w.GetCell(-1, 0), 0);

    // GetCells hands out a copy of its own.
    TWeaveArray copy;
    w.GetCells(copy);
    copy[0][0] = 1;
    EXPECT_EQ(w.GetCell(0, 0), 0);

    // The block is kept as set; its bounds are put in order.
    w.SetBlock(Block(2, 1, 0, 0));
    EXPECT_TRUE(w.HasBlock());
    EXPECT_EQ(w.Block().LowWarp, 2);
    const TWeaveRect b = w.BlockBounds();
    EXPECT_EQ(
        std::vector<int>({ b.LowWarp, b.LowWeft, b.HighWarp, b.HighWeft }), std::vector<int>({ 0, 0, 2, 1 }));
    w.ClearBlock();
    EXPECT_EQ(w.Block().HighWeft, -1);
    EXPECT_FALSE(w.HasBlock());
}

TEST(Weave, UndoRingKeepsThreeStepsBack)
{
    Counted w;
    w.weave.SetUndoEnabled(true);
    w.weave.NewPlain(4, 4);
    std::vector<Rows> after;
    for (int k = 0; k < 5; ++k) {
        w.weave.ToggleCell(k % 4, k / 4);
        after.push_back(w.rows());
    }
    EXPECT_EQ(w.weave.LastSnapshot(), 3);
    EXPECT_FALSE(w.weave.BaseSaved()); // the saved base has left the ring

    const int changes = w.changes, undoStates = w.undoStates, redoStates = w.redoStates;
    for (int k = 0; k < 3; ++k)
        w.weave.Undo();
    EXPECT_EQ(w.rows(), after[1]);
    EXPECT_FALSE(w.weave.CanUndo());
    EXPECT_TRUE(w.weave.CanRedo());
    EXPECT_TRUE(w.weave.Modified());
    EXPECT_EQ(w.changes - changes, 3);
    EXPECT_EQ(w.undoStates - undoStates, 3);
    EXPECT_EQ(w.redoStates - redoStates, 3);

    w.weave.Undo(); // nothing left: nothing happens
    EXPECT_EQ(w.rows(), after[1]);
    EXPECT_EQ(w.changes - changes, 3);

    w.weave.Redo();
    w.weave.Redo();
    EXPECT_EQ(w.rows(), after[3]);
    EXPECT_TRUE(w.weave.CanRedo());
    w.weave.Redo();
    EXPECT_EQ(w.rows(), after[4]);
    EXPECT_FALSE(w.weave.CanRedo());
    w.weave.Redo();
    EXPECT_EQ(w.rows(), after[4]);
}

TEST(Weave, UndoModifiedAndRedoState)
{
    Counted w;
    w.weave.SetUndoEnabled(true);
    w.weave.NewPlain(2, 2);
    const Rows base = w.rows();

    // Back to a saved base: not modified; to an unsaved one: modified.
    for (bool saved : { true, false }) {
        SCOPED_TRACE(saved);
        w.weave.ResetUndo(saved);
        EXPECT_EQ(w.weave.Modified(), !saved);
        w.weave.ToggleCell(0, 0);
        EXPECT_TRUE(w.weave.Modified());
        EXPECT_TRUE(w.weave.CanUndo());
        w.weave.Undo();
        EXPECT_EQ(w.rows(), base);
        EXPECT_EQ(w.weave.Modified(), !saved);
    }

    // An edit after two undos drops both redo states.
    w.weave.ResetUndo(true);
    w.weave.ToggleCell(0, 0);
    w.weave.ToggleCell(1, 0);
    w.weave.Undo();
    w.weave.Undo();
    EXPECT_TRUE(w.weave.CanRedo());
    const int redoStates = w.redoStates;
    w.weave.ToggleCell(1, 1);
    EXPECT_FALSE(w.weave.CanRedo());
    EXPECT_EQ(w.redoStates, redoStates + 1);
    EXPECT_EQ(w.weave.LastSnapshot(), 1);
    const Rows now = w.rows();
    w.weave.Redo();
    EXPECT_EQ(w.rows(), now);
    w.weave.Undo();
    EXPECT_EQ(w.rows(), base);
}

TEST(Weave, WithoutUndoEditsOnlyAnnounceTheChange)
{
    Counted w;
    w.weave.NewPlain(2, 2);
    const int undoStates = w.undoStates, changes = w.changes;
    w.weave.FillAll(1);
    EXPECT_EQ(w.changes, changes + 1);
    EXPECT_EQ(w.undoStates, undoStates);
    EXPECT_FALSE(w.weave.Modified());
    EXPECT_FALSE(w.weave.CanUndo());
    EXPECT_EQ(w.weave.LastSnapshot(), 0);

    // SetCells without recording fires only OnChange, also with undo enabled.
    w.weave.SetUndoEnabled(true);
    w.weave.SetCells(FromRows({ { 1 } }), false);
    EXPECT_EQ(w.changes, changes + 2);
    EXPECT_FALSE(w.weave.Modified());
    EXPECT_EQ(w.weave.WarpCount(), 1);
    w.weave.SetCells(FromRows({ { 0, 1 } }), true);
    EXPECT_TRUE(w.weave.CanUndo());
}

TEST(Weave, EditBeforeTheFirstResetLeavesNothingToUndo)
{
    Counted w({ { 1, 0 } });
    w.weave.SetUndoEnabled(true);
    w.weave.ToggleCell(0, 0);
    EXPECT_FALSE(w.weave.CanUndo());
    w.weave.Undo();
    EXPECT_EQ(w.rows(), (Rows { { 0, 0 } }));
    w.weave.ToggleCell(1, 0);
    w.weave.Undo();
    EXPECT_EQ(w.rows(), (Rows { { 0, 0 } }));
}

TEST(Weave, SavingEndsTheHistoryOnlyWhenTheFileIsWritten)
{
    QTemporaryDir dir;
    TWeave w;
    w.SetUndoEnabled(true);
    w.NewPlain(3, 2);
    w.ToggleCell(0, 0);

    // A folder that cannot exist (its parent is a file): the save fails and says why.
    const QString blocker = dir.filePath(QStringLiteral("file"));
    ASSERT_TRUE(WriteAll(blocker, "x"));
    QString error;
    EXPECT_FALSE(w.SaveToFile(blocker + QStringLiteral("/w.OVW"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(w.Modified());
    EXPECT_TRUE(w.CanUndo());
    EXPECT_EQ(w.LastSnapshot(), 1);

    const QString path = dir.filePath(QStringLiteral("w.OVW"));
    ASSERT_TRUE(w.SaveToFile(path));
    EXPECT_FALSE(w.Modified());
    EXPECT_FALSE(w.CanUndo());
    const Rows saved = ToRows(w.Cells());
    w.Undo();
    EXPECT_EQ(ToRows(w.Cells()), saved);

    TWeave back;
    ASSERT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(ToRows(back.Cells()), saved);
    EXPECT_FALSE(back.Modified());
    EXPECT_EQ(back.LastSnapshot(), 0);

    // The block as a weave of its own; without a block nothing is written.
    const QString blockPath = dir.filePath(QStringLiteral("b.OVW"));
    EXPECT_FALSE(back.SaveBlockToFile(blockPath));
    EXPECT_FALSE(QFile::exists(blockPath));
    back.SetBlock(Block(2, 1, 1, 0));
    ASSERT_TRUE(back.SaveBlockToFile(blockPath));
    TWeaveArray part;
    ASSERT_TRUE(LoadWeaveFile(blockPath, part));
    EXPECT_EQ(ToRows(part), (Rows { { saved[0][1], saved[0][2] }, { saved[1][1], saved[1][2] } }));
    EXPECT_FALSE(back.SaveBlockToFile(blocker + QStringLiteral("/b.OVW"), &error));

    // A file the reader refuses changes nothing.
    ASSERT_TRUE(WriteAll(dir.filePath(QStringLiteral("bad.OVW")), QByteArray(100, 'x')));
    back.ToggleCell(0, 0);
    const Rows edited = ToRows(back.Cells());
    EXPECT_FALSE(back.LoadFromFile(dir.filePath(QStringLiteral("bad.OVW")), &error));
    EXPECT_FALSE(back.LoadFromFile(dir.filePath(QStringLiteral("missing.OVW"))));
    EXPECT_EQ(ToRows(back.Cells()), edited);
}

TEST(Weave, Layers)
{
    TWeave w;
    EXPECT_TRUE(w.SetLayers(TIntegerArray { 1, 3, 2 }, true));
    EXPECT_TRUE(w.SetLayers(TIntegerArray { 2, 1 }, false));
    EXPECT_EQ(w.WarpLayers(), (TIntegerArray { 1, 3, 2 }));
    EXPECT_EQ(w.WarpLayerMax(), 3);
    EXPECT_EQ(w.WeftLayerMax(), 2);
    EXPECT_FALSE(w.SetLayers(TIntegerArray(), true));
    EXPECT_EQ(w.WarpLayerMax(), 3);
    EXPECT_EQ(w.WarpLayers().length(), 3);
}

TEST(Weave, CellAndBlockEdits)
{
    const Rows square = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 0 } };
    RunEdits({
        { "toggle", square, [](TWeave &w) { w.ToggleCell(2, 1); },
            { { 1, 0, 0 }, { 0, 1, 1 }, { 0, 0, 0 } } },
        { "toggle outside", square, [](TWeave &w) { w.ToggleCell(3, 0); }, {} },
        { "fill all", square, [](TWeave &w) { w.FillAll(7); }, { { 1, 1, 1 }, { 1, 1, 1 }, { 1, 1, 1 } } },
        { "fill block", square,
            [](TWeave &w) {
                w.SetBlock(Block(2, 1, 1, 2));
                w.FillBlock(1);
            },
            { { 1, 0, 0 }, { 0, 1, 1 }, { 0, 1, 1 } } },
        { "fill without block", square, [](TWeave &w) { w.FillBlock(1); }, {} },
        { "invert block", square,
            [](TWeave &w) {
                w.SetBlock(Block(0, 0, 1, 0));
                w.InvertBlock();
            },
            { { 0, 1, 0 }, { 0, 1, 0 }, { 0, 0, 0 } } },
        { "invert whole", square, [](TWeave &w) { w.InvertBlock(); },
            { { 0, 1, 1 }, { 1, 0, 1 }, { 1, 1, 1 } } },
        { "block outside the weave", square,
            [](TWeave &w) {
                w.SetBlock(Block(1, 1, 3, 2));
                w.InvertBlock();
                w.FillBlock(1);
                w.MirrorWarps(SwapLeftRight);
                w.ShiftBlock(ShiftUp, 1);
            },
            {} },
        { "swap warps", square, [](TWeave &w) { w.SwapWarps(0, 2); },
            { { 0, 0, 1 }, { 0, 1, 0 }, { 0, 0, 0 } } },
        { "swap wefts in block", square,
            [](TWeave &w) {
                w.SetBlock(Block(0, 0, 0, 1));
                w.SwapWefts(0, 1);
            },
            { { 0, 0, 0 }, { 1, 1, 0 }, { 0, 0, 0 } } },
        { "swap outside block", square,
            [](TWeave &w) {
                w.SetBlock(Block(0, 0, 1, 1));
                w.SwapWarps(0, 2);
                w.SwapWefts(-1, 0);
            },
            {} },
        { "back side", { { 1, 0, 0 }, { 1, 1, 0 } }, [](TWeave &w) { w.BackSide(); },
            { { 1, 1, 0 }, { 1, 0, 0 } } },
    });
}

TEST(Weave, Mirrors)
{
    const Rows column = { { 1 }, { 0 }, { 0 }, { 0 } };
    const Rows row = { { 1, 0, 0, 0 } };
    RunEdits({
        { "wefts swap", column, [](TWeave &w) { w.MirrorWefts(SwapUpDown); },
            { { 0 }, { 0 }, { 0 }, { 1 } } },
        { "wefts up to down", column, [](TWeave &w) { w.MirrorWefts(UpToDown); },
            { { 1 }, { 0 }, { 0 }, { 1 } } },
        { "wefts down to up", column, [](TWeave &w) { w.MirrorWefts(DownToUp); },
            { { 0 }, { 0 }, { 0 }, { 0 } } },
        { "warps swap", row, [](TWeave &w) { w.MirrorWarps(SwapLeftRight); }, { { 0, 0, 0, 1 } } },
        { "warps left to right", row, [](TWeave &w) { w.MirrorWarps(LeftToRight); }, { { 1, 0, 0, 1 } } },
        { "warps right to left", row, [](TWeave &w) { w.MirrorWarps(RightToLeft); }, { { 0, 0, 0, 0 } } },
        { "odd block keeps its middle", { { 1, 2, 3, 4, 5 } },
            [](TWeave &w) {
                w.SetBlock(Block(1, 0, 3, 0));
                w.MirrorWarps(SwapLeftRight);
            },
            { { 1, 4, 3, 2, 5 } } },
        { "one weft high", row, [](TWeave &w) { w.MirrorWefts(SwapUpDown); }, {} },
        { "one warp wide", column, [](TWeave &w) { w.MirrorWarps(LeftToRight); }, {} },
    });
}

TEST(Weave, DiagonalsAndRotationsOfASquareBlock)
{
    // A 3 x 3 block at warps 1..3, wefts 0..2 of a 4 x 4 weave; warp 0 and weft 3 stay.
    auto framed = [](const Rows &block) {
        Rows r = { { 0 }, { 0 }, { 0 }, { 0, 0, 0, 0 } };
        for (int j = 0; j < 3; ++j)
            r[std::size_t(j)].insert(
                r[std::size_t(j)].end(), block[std::size_t(j)].begin(), block[std::size_t(j)].end());
        return r;
    };
    const Rows start = framed({ { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 } });
    auto inBlock = [](std::function<void(TWeave &)> edit) {
        return [edit](TWeave &w) {
            w.SetBlock(Block(3, 2, 1, 0));
            edit(w);
        };
    };
    RunEdits({
        { "anti swap", start, inBlock([](TWeave &w) { w.ReflectAntiDiagonal(SwapUpleftDownright); }),
            framed({ { 9, 6, 3 }, { 8, 5, 2 }, { 7, 4, 1 } }) },
        { "anti upper-left onto lower-right", start,
            inBlock([](TWeave &w) { w.ReflectAntiDiagonal(UpleftToDownright); }),
            framed({ { 1, 2, 3 }, { 4, 5, 2 }, { 7, 4, 1 } }) },
        { "anti lower-right onto upper-left", start,
            inBlock([](TWeave &w) { w.ReflectAntiDiagonal(DownrightToUpleft); }),
            framed({ { 9, 6, 3 }, { 8, 5, 6 }, { 7, 8, 9 } }) },
        { "main swap", start, inBlock([](TWeave &w) { w.ReflectMainDiagonal(SwapUprightDownleft); }),
            framed({ { 1, 4, 7 }, { 2, 5, 8 }, { 3, 6, 9 } }) },
        { "main upper-right onto lower-left", start,
            inBlock([](TWeave &w) { w.ReflectMainDiagonal(UprightToDownleft); }),
            framed({ { 1, 2, 3 }, { 2, 5, 6 }, { 3, 6, 9 } }) },
        { "main lower-left onto upper-right", start,
            inBlock([](TWeave &w) { w.ReflectMainDiagonal(DownleftToUpright); }),
            framed({ { 1, 4, 7 }, { 4, 5, 8 }, { 7, 8, 9 } }) },
        { "rotate 90", start, inBlock([](TWeave &w) { w.RotateBlock(Rotate90); }),
            framed({ { 7, 4, 1 }, { 8, 5, 2 }, { 9, 6, 3 } }) },
        { "rotate 180", start, inBlock([](TWeave &w) { w.RotateBlock(Rotate180); }),
            framed({ { 9, 8, 7 }, { 6, 5, 4 }, { 3, 2, 1 } }) },
        { "rotate 270", start, inBlock([](TWeave &w) { w.RotateBlock(Rotate270); }),
            framed({ { 3, 6, 9 }, { 2, 5, 8 }, { 1, 4, 7 } }) },
        { "rotate by another mode records a change", start,
            inBlock([](TWeave &w) { w.RotateBlock(TRotateMode(0)); }), start },
        { "non-square block", start,
            [](TWeave &w) {
                w.SetBlock(Block(1, 0, 3, 1));
                w.RotateBlock(Rotate90);
                w.ReflectAntiDiagonal(SwapUpleftDownright);
                w.ReflectMainDiagonal(SwapUprightDownleft);
            },
            {} },
    });
}

TEST(Weave, ShiftsAreCyclicAndHeldWithinTheBlock)
{
    const Rows column = { { 1 }, { 2 }, { 3 }, { 4 }, { 5 } };
    const Rows row = { { 1, 2, 3, 4, 5 } };
    RunEdits({
        { "up 1", column, [](TWeave &w) { w.ShiftBlock(ShiftUp, 1); },
            { { 2 }, { 3 }, { 4 }, { 5 }, { 1 } } },
        { "up 8 moves 4", column, [](TWeave &w) { w.ShiftBlock(ShiftUp, 8); },
            { { 5 }, { 1 }, { 2 }, { 3 }, { 4 } } },
        { "down 8 moves 4", column, [](TWeave &w) { w.ShiftBlock(ShiftDown, 8); },
            { { 2 }, { 3 }, { 4 }, { 5 }, { 1 } } },
        { "down 2 in block", column,
            [](TWeave &w) {
                w.SetBlock(Block(0, 1, 0, 3));
                w.ShiftBlock(ShiftDown, 2);
            },
            { { 1 }, { 3 }, { 4 }, { 2 }, { 5 } } },
        { "left 1", row, [](TWeave &w) { w.ShiftBlock(ShiftLeft, 1); }, { { 2, 3, 4, 5, 1 } } },
        { "right 1", row, [](TWeave &w) { w.ShiftBlock(ShiftRight, 1); }, { { 5, 1, 2, 3, 4 } } },
        { "another direction records a change", row, [](TWeave &w) { w.ShiftBlock(TShiftDirection(4), 1); },
            row },
        { "no steps", row, [](TWeave &w) { w.ShiftBlock(ShiftLeft, 0); }, {} },
        { "one weft high", row, [](TWeave &w) { w.ShiftBlock(ShiftUp, 1); }, {} },
        { "one warp wide", column, [](TWeave &w) { w.ShiftBlock(ShiftRight, 3); }, {} },
    });
}

TEST(Weave, HillsAndBrokenTwills)
{
    auto warps = [](std::vector<int> values) { return Rows { values }; };
    auto wefts = [](std::vector<int> values) {
        Rows r;
        for (int v : values)
            r.push_back({ v });
        return r;
    };
    RunEdits({
        { "warp hill out 4 to 6", warps({ 0, 1, 2, 3 }), [](TWeave &w) { w.WarpHillOut(); },
            warps({ 0, 1, 2, 3, 2, 1 }) },
        { "weft hill out 4 to 6", wefts({ 0, 1, 2, 3 }), [](TWeave &w) { w.WeftHillOut(); },
            wefts({ 0, 1, 2, 3, 2, 1 }) },
        { "warp hill out of one warp", warps({ 1 }), [](TWeave &w) { w.WarpHillOut(); }, {} },
        { "weft hill out of one weft", wefts({ 1 }), [](TWeave &w) { w.WeftHillOut(); }, {} },
        { "warp hill in 8", warps({ 0, 1, 2, 3, 4, 5, 6, 7 }), [](TWeave &w) { w.WarpHillIn(); },
            warps({ 0, 1, 2, 3, 4, 3, 2, 1 }) },
        { "weft hill in 8", wefts({ 0, 1, 2, 3, 4, 5, 6, 7 }), [](TWeave &w) { w.WeftHillIn(); },
            wefts({ 0, 1, 2, 3, 4, 3, 2, 1 }) },
        { "warp broken twill in", warps({ 1, 0, 1, 1 }), [](TWeave &w) { w.InvertMirrorWarps(); },
            warps({ 1, 0, 1, 0 }) },
        { "weft broken twill in", wefts({ 1, 1, 1, 1 }), [](TWeave &w) { w.InvertMirrorWefts(); },
            wefts({ 1, 1, 0, 0 }) },
        { "odd warps", warps({ 1, 0, 1 }), [](TWeave &w) { w.InvertMirrorWarps(); }, {} },
        { "odd wefts", wefts({ 1, 0, 1 }), [](TWeave &w) { w.InvertMirrorWefts(); }, {} },
        { "warp broken twill out", warps({ 1, 0 }), [](TWeave &w) { w.DoubleWarpsInverted(); },
            warps({ 1, 0, 1, 0 }) },
        { "weft broken twill out", wefts({ 1, 1 }), [](TWeave &w) { w.DoubleWeftsInverted(); },
            wefts({ 1, 1, 0, 0 }) },
    });
}

TEST(Weave, InsertsAndDeletes)
{
    const Rows three = { { 1, 2, 3 }, { 4, 5, 6 }, { 7, 8, 9 }, { 10, 11, 12 }, { 13, 14, 15 } };
    RunEdits({
        { "warps at the front", three, [](TWeave &w) { w.InsertWarps(-1, 2); },
            { { 0, 0, 1, 2, 3 }, { 0, 0, 4, 5, 6 }, { 0, 0, 7, 8, 9 }, { 0, 0, 10, 11, 12 },
                { 0, 0, 13, 14, 15 } } },
        { "warp after the last", three, [](TWeave &w) { w.InsertWarps(2, 1); },
            { { 1, 2, 3, 0 }, { 4, 5, 6, 0 }, { 7, 8, 9, 0 }, { 10, 11, 12, 0 }, { 13, 14, 15, 0 } } },
        { "warp after warp 0", { { 1, 2 } }, [](TWeave &w) { w.InsertWarps(0, 1); }, { { 1, 0, 2 } } },
        { "warps refused", three,
            [](TWeave &w) {
                w.InsertWarps(3, 1);
                w.InsertWarps(-2, 1);
                w.InsertWarps(0, 0);
            },
            {} },
        { "wefts before weft 1", three, [](TWeave &w) { w.InsertWefts(1, 1); },
            { { 1, 2, 3 }, { 0, 0, 0 }, { 4, 5, 6 }, { 7, 8, 9 }, { 10, 11, 12 }, { 13, 14, 15 } } },
        { "weft appended", { { 1 }, { 2 } }, [](TWeave &w) { w.InsertWefts(2, 1); },
            { { 1 }, { 2 }, { 0 } } },
        { "wefts refused", three,
            [](TWeave &w) {
                w.InsertWefts(6, 1);
                w.InsertWefts(-1, 1);
                w.InsertWefts(0, -1);
            },
            {} },
        { "delete one of three warps", three, [](TWeave &w) { w.DeleteWarps(1, 1); },
            { { 1, 3 }, { 4, 6 }, { 7, 9 }, { 10, 12 }, { 13, 15 } } },
        { "delete the last warp", three, [](TWeave &w) { w.DeleteWarps(2, 1); },
            { { 1, 2 }, { 4, 5 }, { 7, 8 }, { 10, 11 }, { 13, 14 } } },
        { "two of three warps refused", three, [](TWeave &w) { w.DeleteWarps(0, 2); }, {} },
        { "warps past the edge refused", { { 1, 2, 3, 4, 5 } }, [](TWeave &w) { w.DeleteWarps(4, 2); }, {} },
        { "warps from outside refused", three,
            [](TWeave &w) {
                w.DeleteWarps(3, 1);
                w.DeleteWarps(-1, 1);
                w.DeleteWarps(0, 0);
            },
            {} },
        { "delete wefts up to weft 2", three, [](TWeave &w) { w.DeleteWefts(2, 2); },
            { { 1, 2, 3 }, { 10, 11, 12 }, { 13, 14, 15 } } },
        { "wefts below weft 0 refused", three, [](TWeave &w) { w.DeleteWefts(1, 3); }, {} },
        { "wefts leaving one refused", three, [](TWeave &w) { w.DeleteWefts(4, 4); }, {} },
        { "wefts from outside refused", three,
            [](TWeave &w) {
                w.DeleteWefts(5, 1);
                w.DeleteWefts(-1, 1);
            },
            {} },
    });
}

TEST(Weave, SymmetryAxes)
{
    const Rows row = { { 1, 2, 3, 4, 5, 6 } };
    const Rows column = { { 1 }, { 2 }, { 3 }, { 4 }, { 5 } };
    RunEdits({
        { "warp axis 3", row, [](TWeave &w) { w.Symmetrize({ 3 }, { 2 }, true); }, { { 1, 2, 3, 2, 1, 6 } } },
        { "two warp axes", row,
            [](TWeave &w) {
                w.Symmetrize({ 2, 5 }, { 1, 1 }, true);
            },
            { { 1, 2, 1, 4, 5, 4 } } },
        // Weft positions count from the bottom: position 2 is weft 3 from the top.
        { "weft axis 2", column, [](TWeave &w) { w.Symmetrize({ 2 }, { 1 }, false); },
            { { 1 }, { 2 }, { 3 }, { 4 }, { 3 } } },
        // The first line outside ends the operation; what was copied stays, one change.
        { "warp position 1 stops at once", row, [](TWeave &w) { w.Symmetrize({ 1 }, { 1 }, true); }, row },
        { "weft position 1 stops at once", column, [](TWeave &w) { w.Symmetrize({ 1 }, { 1 }, false); },
            column },
        { "stops inside the second axis", row,
            [](TWeave &w) {
                w.Symmetrize({ 2, 5, 3 }, { 1, 3, 1 }, true);
            },
            { { 1, 2, 1, 4, 5, 4 } } },
        { "lengths differ", row,
            [](TWeave &w) {
                w.Symmetrize({ 2, 3 }, { 1 }, true);
            },
            {} },
    });
}

TEST(Weave, CombineModes)
{
    const Rows mine = { { 1, 1 }, { 1, 1 } };
    const TWeaveArray other = FromRows({ { 2, 3, 4 } });
    auto combine
        = [other](TCombineMode mode) { return [other, mode](TWeave &w) { w.Combine(other, mode); }; };
    auto withBlock = [other](TCombineMode mode, TWeaveRect block) {
        return [other, mode, block](TWeave &w) {
            w.SetBlock(block);
            w.Combine(other, mode);
        };
    };
    const Rows four = { { 1, 1, 1, 1 }, { 1, 1, 1, 1 }, { 1, 1, 1, 1 } };
    RunEdits({
        { "above", mine, combine(CombineAbove), { { 2, 3, 4 }, { 1, 1, 0 }, { 1, 1, 0 } } },
        { "below", mine, combine(CombineBelow), { { 1, 1, 0 }, { 1, 1, 0 }, { 2, 3, 4 } } },
        { "left", mine, combine(CombineLeft), { { 0, 0, 0, 1, 1 }, { 2, 3, 4, 1, 1 } } },
        { "right", mine, combine(CombineRight), { { 1, 1, 0, 0, 0 }, { 1, 1, 2, 3, 4 } } },
        { "tile all", four, combine(CombineTileAll), { { 2, 3, 4, 2 }, { 2, 3, 4, 2 }, { 2, 3, 4, 2 } } },
        { "at block, clipped", four, withBlock(CombineAtBlock, Block(2, 0, 1, 1)),
            { { 1, 1, 1, 1 }, { 1, 2, 3, 1 }, { 1, 1, 1, 1 } } },
        { "tile in block", four, withBlock(CombineTileBlock, Block(0, 1, 3, 2)),
            { { 1, 1, 1, 1 }, { 2, 3, 4, 2 }, { 2, 3, 4, 2 } } },
        { "at block without a block", four, combine(CombineAtBlock), {} },
        { "tile in block without a block", four, combine(CombineTileBlock), {} },
        { "another mode records a change", four, combine(TCombineMode(7)), four },
        { "empty weave refused", four, [](TWeave &w) { w.Combine(TWeaveArray(), CombineAbove); }, {} },
    });

    // 4 x 6 joined on the left by 2 x 3: 6 x 6, the new part at the bottom of warps 0, 1.
    TWeave w;
    w.SetCells(MakeWeaveArray(4, 6, 1), false);
    w.Combine(MakeWeaveArray(2, 3, 1), CombineLeft);
    ASSERT_EQ(w.WarpCount(), 6);
    ASSERT_EQ(w.WeftCount(), 6);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            EXPECT_EQ(w.GetCell(i, j), i >= 2 || j >= 3 ? 1 : 0) << i << "," << j;
}

TEST(Weave, ResultsBeyondAWeaveFileAreRefused)
{
    const TWeaveArray wide = MakeWeaveArray(MaxWeaveSide, 1, 1);
    const TWeaveArray tall = MakeWeaveArray(1, MaxWeaveSide, 1);
    struct Case {
        const char *name;
        const TWeaveArray &start;
        std::function<void(TWeave &)> edit;
    };
    const std::vector<Case> cases = {
        { "insert warp", wide, [](TWeave &w) { w.InsertWarps(0, 1); } },
        { "insert weft", tall, [](TWeave &w) { w.InsertWefts(0, 1); } },
        { "double warps", wide, [](TWeave &w) { w.DoubleWarpsInverted(); } },
        { "double wefts", tall, [](TWeave &w) { w.DoubleWeftsInverted(); } },
        { "warp hill out", wide, [](TWeave &w) { w.WarpHillOut(); } },
        { "weft hill out", tall, [](TWeave &w) { w.WeftHillOut(); } },
        { "combine right", wide, [](TWeave &w) { w.Combine(MakeWeaveArray(1, 1), CombineRight); } },
        { "combine below", tall, [](TWeave &w) { w.Combine(MakeWeaveArray(1, 1), CombineBelow); } },
        { "resize wider", wide, [](TWeave &w) { w.ResizeTiled(MaxWeaveSide + 1, 1); } },
        { "resize over the memory budget", wide,
            [](TWeave &w) { w.ResizeTiled(MaxWeaveSide, MaxWeaveSide); } },
        { "resize to nothing", wide, [](TWeave &w) { w.ResizeTiled(0, 5); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        int changes = 0;
        TWeave w;
        w.SetCells(c.start, false);
        w.OnChange = [&changes](TWeave *) { ++changes; };
        c.edit(w);
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(w.WarpCount(), WeaveWarps(c.start));
        EXPECT_EQ(w.WeftCount(), WeaveWefts(c.start));
    }

    // Within the limits the same edits go through.
    TWeave w;
    w.SetCells(MakeWeaveArray(MaxWeaveSide - 1, 1), false);
    w.InsertWarps(0, 1);
    EXPECT_EQ(w.WarpCount(), MaxWeaveSide);
}

TEST(Weave, ResizeTiledRepeatsFromTheBottomLeft)
{
    RunEdits({
        { "grow", { { 1, 2 }, { 3, 4 } }, [](TWeave &w) { w.ResizeTiled(3, 3); },
            { { 3, 4, 3 }, { 1, 2, 1 }, { 3, 4, 3 } } },
        { "shrink", { { 1, 2 }, { 3, 4 } }, [](TWeave &w) { w.ResizeTiled(1, 1); }, { { 3 } } },
    });
}
