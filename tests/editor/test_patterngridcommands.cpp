// The whole-picture commands of the pattern grid: each is one undo step, undone and redone
// exactly, and RefBitmap equals the picture after every command, undo and redo.
#include "editor/patterngrid.h"

#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Rows = std::vector<std::vector<int>>;

class PatternGridCommands : public TPatternGridFixture { };

// The one check every case runs after every command, undo and redo.
void expectRefIsPicture(const TPatternGrid &g)
{
    ASSERT_EQ(g.RefBitmap().size(), g.Picture().size());
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture()));
}

// 4 x 3 cells numbered 1 .. 12 row by row.
QImage numbered(int w = 4, int h = 3)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t(1 + y * w + x);
    return img;
}

// The picture a procedure of the picture library makes of the numbered picture.
Rows byProcedure(const std::function<bool(QImage &)> &procedure)
{
    QImage img = numbered();
    EXPECT_TRUE(procedure(img));
    return PictureRows(img);
}

} // namespace

TEST_F(PatternGridCommands, EachCommandIsOneStepUndoneAndRedone)
{
    struct Case {
        const char *name;
        std::function<bool(TPatternGrid &)> command;
        Rows expected;
    } cases[] = {
        { "mirror left", [](TPatternGrid &g) { return g.MirrorLeftImage(); },
            { { 1, 2, 2, 1 }, { 5, 6, 6, 5 }, { 9, 10, 10, 9 } } },
        { "mirror right", [](TPatternGrid &g) { return g.MirrorRightImage(); },
            { { 4, 3, 3, 4 }, { 8, 7, 7, 8 }, { 12, 11, 11, 12 } } },
        { "mirror top", [](TPatternGrid &g) { return g.MirrorTopImage(); }, byProcedure(MirrorTopToBottom) },
        { "mirror bottom", [](TPatternGrid &g) { return g.MirrorBottomImage(); },
            byProcedure(MirrorBottomToTop) },
        { "link left right", [](TPatternGrid &g) { return g.LinkLeftRight(); },
            byProcedure(LinkPictureLeftRight) },
        { "link top bottom", [](TPatternGrid &g) { return g.LinkTopBottom(); },
            byProcedure(LinkPictureTopBottom) },
        { "flip left right", [](TPatternGrid &g) { return g.FlipLeftRight(); },
            { { 4, 3, 2, 1 }, { 8, 7, 6, 5 }, { 12, 11, 10, 9 } } },
        { "flip top bottom", [](TPatternGrid &g) { return g.FlipTopBottom(); },
            { { 9, 10, 11, 12 }, { 5, 6, 7, 8 }, { 1, 2, 3, 4 } } },
        { "half turn", [](TPatternGrid &g) { return g.Rotate180(); },
            { { 12, 11, 10, 9 }, { 8, 7, 6, 5 }, { 4, 3, 2, 1 } } },
        { "quarter turn clockwise", [](TPatternGrid &g) { return g.Rotate270(); },
            { { 9, 5, 1 }, { 10, 6, 2 }, { 11, 7, 3 }, { 12, 8, 4 } } },
        { "quarter turn counter-clockwise", [](TPatternGrid &g) { return g.Rotate90(); },
            { { 4, 8, 12 }, { 3, 7, 11 }, { 2, 6, 10 }, { 1, 5, 9 } } },
        { "resize keeping cells", [](TPatternGrid &g) { return g.ResizePicture(5, 2, 0); },
            { { 1, 2, 3, 4, 0 }, { 5, 6, 7, 8, 0 } } },
        { "resize stretching", [](TPatternGrid &g) { return g.ResizePicture(2, 6, 1); },
            { { 1, 3 }, { 1, 3 }, { 5, 7 }, { 5, 7 }, { 9, 11 }, { 9, 11 } } },
        { "crop to the selection",
            [](TPatternGrid &g) {
                g.SetSelectionRegion(QRegion(1, 1, 2, 5));
                return g.CropToRegion();
            },
            { { 6, 7 }, { 10, 11 } } },
        { "jump start", [](TPatternGrid &g) { return g.JumpStart(); },
            byProcedure([](QImage &img) { return JumpStartPicture(img, img.copy()); }) },
        { "clear", [](TPatternGrid &g) { return g.ClearPicture(); },
            { { 3, 3, 3, 3 }, { 3, 3, 3, 3 }, { 3, 3, 3, 3 } } },
        { "insert rows", [](TPatternGrid &g) { return g.InsertDeleteLines(0, 1, 2, true, true); },
            { { 1, 2, 3, 4 }, { 3, 3, 3, 3 }, { 3, 3, 3, 3 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 } } },
        { "delete columns", [](TPatternGrid &g) { return g.InsertDeleteLines(1, 2, 2, false, true); },
            { { 1, 4 }, { 5, 8 }, { 9, 12 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        const QImage original = numbered();
        show(g, original);
        g.SetBackColorIndex(3);
        ASSERT_TRUE(c.command(g));
        EXPECT_EQ(PictureRows(g.Picture()), c.expected);
        expectRefIsPicture(g);
        EXPECT_EQ(g.RepeatInfo().UnitWidth, g.Picture().width());
        EXPECT_EQ(g.RepeatInfo().UnitHeight, g.Picture().height());
        EXPECT_EQ(g.ColCount(), g.Picture().width());
        EXPECT_EQ(g.RowCount(), g.Picture().height());
        ASSERT_EQ(g.UndoStore().UndoCount(), 1);
        EXPECT_EQ(g.UndoStore().GetTopStep()->Kind, TUndoKind::Image);

        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(PictureRows(g.Picture()), PictureRows(original));
        expectRefIsPicture(g);
        EXPECT_EQ(g.ColCount(), original.width());
        ASSERT_TRUE(g.Redo());
        EXPECT_EQ(PictureRows(g.Picture()), c.expected);
        expectRefIsPicture(g);
    }
}

// With a selection only its box flips; a box that reaches the right or bottom edge flips
// its last column or row as well.
TEST_F(PatternGridCommands, FlipsTheSelectionBoxOnly)
{
    struct Case {
        QRegion selection;
        bool leftRight;
        Rows expected;
    } cases[] = {
        { QRegion(1, 0, 2, 2), true, { { 1, 3, 2, 4 }, { 5, 7, 6, 8 }, { 9, 10, 11, 12 } } },
        { QRegion(2, 0, 5, 9), true, { { 1, 2, 4, 3 }, { 5, 6, 8, 7 }, { 9, 10, 12, 11 } } },
        { QRegion(0, 1, 2, 5), false, { { 1, 2, 3, 4 }, { 9, 10, 7, 8 }, { 5, 6, 11, 12 } } },
    };
    for (const Case &c : cases) {
        TPatternGrid g;
        show(g, numbered());
        g.SetSelectionRegion(c.selection);
        ASSERT_TRUE(c.leftRight ? g.FlipLeftRight() : g.FlipTopBottom());
        EXPECT_EQ(PictureRows(g.Picture()), c.expected);
        expectRefIsPicture(g);
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(PictureRows(g.Picture()), PictureRows(numbered()));
    }
}

// A refused operation records nothing and leaves the picture as it was.
TEST_F(PatternGridCommands, RefusedCommandsRecordNothing)
{
    TPatternGrid g;
    show(g, numbered());
    EXPECT_FALSE(g.CropToRegion()); // no selection
    EXPECT_FALSE(g.ResizePicture(0, 5, 0));
    EXPECT_FALSE(g.ResizePicture(70000, 5, 1));
    EXPECT_FALSE(g.InsertDeleteLines(0, 9, 1, true, true)); // past the end
    EXPECT_FALSE(g.InsertDeleteLines(1, 1, 4, false, true)); // every column
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(numbered()));
    expectRefIsPicture(g);
}

// Blank columns go inside the selection, or inside the whole picture without one.
TEST_F(PatternGridCommands, RemoveBlankColumns)
{
    const QImage striped = MakePicture({ { 1, 0, 2, 0, 3 }, { 4, 0, 5, 0, 6 } }, GreyPalette());
    for (const bool withSelection : { false, true }) {
        TPatternGrid g;
        show(g, striped);
        if (withSelection)
            g.SetSelectionRegion(QRegion(0, 0, 2, 2));
        ASSERT_TRUE(g.RemoveBlank());
        EXPECT_EQ(PictureRows(g.Picture()),
            withSelection ? Rows({ { 1, 2, 0, 3 }, { 4, 5, 0, 6 } }) : Rows({ { 1, 2, 3 }, { 4, 5, 6 } }));
        expectRefIsPicture(g);
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(PictureRows(g.Picture()), PictureRows(striped));
        expectRefIsPicture(g);
    }
}

// Inserting and deleting lines without a step still leaves RefBitmap the new picture, so
// that the next edit is compared with cells of the right size.
TEST_F(PatternGridCommands, InsertDeleteLinesWithoutRecording)
{
    TPatternGrid g;
    show(g, numbered());
    g.SetBackColorIndex(7);
    ASSERT_TRUE(g.InsertDeleteLines(0, 4, 1, false, false));
    EXPECT_EQ(
        PictureRows(g.Picture()), (Rows { { 1, 2, 3, 4, 7 }, { 5, 6, 7, 8, 7 }, { 9, 10, 11, 12, 7 } }));
    expectRefIsPicture(g);
    ASSERT_TRUE(g.InsertDeleteLines(1, 1, 2, true, false));
    EXPECT_EQ(PictureRows(g.Picture()), (Rows { { 9, 10, 11, 12, 7 } }));
    expectRefIsPicture(g);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    EXPECT_EQ(g.RepeatInfo().UnitWidth, 5);
    g.Picture().scanLine(0)[4] = 1;
    g.RecordUndoStep(TLineArray { TPoint { 4, 0 } });
    EXPECT_EQ(g.UndoStore().GetTopStep()->Data[0].OldIndex, 7);
}

// A command that shrinks the picture below the current cell at a reduced zoom level
// leaves the current cell inside the grid.
TEST_F(PatternGridCommands, ShrinkingKeepsTheCurrentCellInside)
{
    TPatternGrid g;
    QImage big = NewPicture(300, 200, GreyPalette());
    big.fill(1);
    show(g, big, 5);
    g.Grid().SetCurrentCell(g.ColCount() - 1, g.RowCount() - 1);
    ASSERT_TRUE(g.ResizePicture(3, 2, 0));
    EXPECT_LT(g.Grid().Col(), g.ColCount());
    EXPECT_LT(g.Grid().Row(), g.RowCount());
    g.Grid().SetCurrentCell(g.ColCount() - 1, g.RowCount() - 1);
    ASSERT_TRUE(g.Undo());
    ASSERT_TRUE(g.Redo());
    EXPECT_LT(g.Grid().Col(), g.ColCount());
    EXPECT_LT(g.Grid().Row(), g.RowCount());
}
