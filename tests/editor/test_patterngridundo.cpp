// The pattern grid as its undo store's grid: whole-picture, palette, cell and shift steps
// replayed into the real grid, and what the main window hears of them.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "notificationrecorder.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <array>

namespace {

class PatternGridUndo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        StartSettings().MaxUndoCount = 20;
    }
    // The grid shows picture at one pixel per cell, RefBitmap equal to it.
    static void show(TPatternGrid &g, const QImage &picture)
    {
        g.SetClientSize(200, 200);
        g.SetPicture(picture);
        g.ReadPaletteFromPicture();
        g.RebuildDisplayBitmap();
        g.SetZoom(9);
    }
};

std::vector<QRgb> colorTable(const QImage &img)
{
    const QList<QRgb> t = img.colorTable();
    return std::vector<QRgb>(t.begin(), t.end());
}

} // namespace

// A picture whose palette has neither pure white nor pure black comes back from its
// temporary file exactly: indexes, colour table and palette, nothing added.
TEST_F(PatternGridUndo, WholePictureStepComesBackExactly)
{
    TPalette256 pal;
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(1 + i % 200), std::uint8_t(3 + i % 97), std::uint8_t(2 + i % 151), 0 };
    QImage before = NewPicture(37, 5, pal);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 37; ++x)
            before.scanLine(y)[x] = std::uint8_t(x * 11 + y * 3);
    const QImage after = before.mirrored(true, false);

    TPatternGrid g;
    show(g, before);
    g.SetPictureAndRefresh(after.copy(), true);
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);

    ASSERT_TRUE(g.UndoStore().Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(before));
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(before));
    EXPECT_EQ(colorTable(g.Picture()), colorTable(before));
    EXPECT_EQ(g.Palette(), pal);
    EXPECT_FALSE(PaletteHasColor(g.Palette(), WhiteQuad));
    ASSERT_TRUE(g.UndoStore().Redo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(after));
    EXPECT_EQ(colorTable(g.Picture()), colorTable(after));
}

// Recording tells the main window the counts and that the picture changed; undoing tells
// it the counts and the pen widths, and puts the grid's settings back.
TEST_F(PatternGridUndo, CellStepNotifiesAndRestoresSettings)
{
    MainWindowStandIn main;
    TPatternGrid g;
    show(g, MakePicture({ { 1, 2 }, { 3, 4 } }));
    g.SetForeColorIndex(3);
    RunState().HorzWidth = 3;
    RunState().VertWidth = 4;
    main.recorder.got.clear();
    g.Picture().setPixel(1, 0, 9);
    g.SetChangedCells(TLineArray { TPoint { 1, 0 } });
    g.UndoStore().SaveRegionStep();
    EXPECT_TRUE(main.recorder.Has(WM_UNDOSTATE, 1, 0));
    EXPECT_TRUE(main.recorder.Has(WM_REFRESHVIEW, 1, 0));
    EXPECT_TRUE(g.Modified());
    EXPECT_EQ(g.RefBitmap().pixelIndex(1, 0), 9);

    g.SetForeColorIndex(5);
    RunState().HorzWidth = 7;
    RunState().VertWidth = 8;
    main.recorder.got.clear();
    ASSERT_TRUE(g.UndoStore().Undo());
    EXPECT_EQ(PictureRows(g.Picture()), (std::vector<std::vector<int>> { { 1, 2 }, { 3, 4 } }));
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture()));
    EXPECT_EQ(g.ForeIndex(), 3);
    EXPECT_EQ(g.ForeColor(), g.GetForeColor());
    EXPECT_EQ(RunState().HorzWidth, 3);
    EXPECT_TRUE(main.recorder.Has(WM_PENWIDTH, 3, 4));
    EXPECT_TRUE(main.recorder.Has(WM_UNDOSTATE, 0, 1));
}

// Undoing a palette step tells the palette bar, as every other palette change does.
TEST_F(PatternGridUndo, PaletteStepUndoSyncsThePaletteBar)
{
    MainWindowStandIn main;
    TPatternGrid g;
    TPalette256 pal = GreyPalette();
    pal[0] = { 5, 5, 5, 0 };
    show(g, MakePicture({ { 0, 1 } }, pal));
    ASSERT_EQ(g.AddBlackToPalette(), 2);
    main.recorder.got.clear();
    ASSERT_TRUE(g.UndoStore().Undo());
    EXPECT_EQ(g.Palette(), pal);
    EXPECT_TRUE(main.recorder.Has(WM_SYNCPALETTE, 0, 0));
    main.recorder.got.clear();
    ASSERT_TRUE(g.UndoStore().Redo());
    EXPECT_EQ(g.Palette()[2], (TPaletteEntry { 0, 0, 0, 0 }));
    EXPECT_TRUE(main.recorder.Has(WM_SYNCPALETTE, 0, 0));
}

// A shift is undone by the picture's own height, whatever the repeat unit, and its replay
// records nothing.
TEST_F(PatternGridUndo, ShiftStepUndoneByThePicturesOwnSize)
{
    TPatternGrid g;
    const QImage original = MakePicture({ { 0, 1 }, { 2, 3 }, { 4, 5 }, { 6, 7 }, { 8, 9 } });
    show(g, original);
    TRepeatPic repeat = g.RepeatInfo();
    repeat.UnitHeight = 2;
    g.SetRepeatInfo(repeat);
    g.ShiftPictureVert(3);
    const auto shifted = PictureRows(g.Picture());
    EXPECT_EQ(shifted, (std::vector<std::vector<int>> { { 6, 7 }, { 8, 9 }, { 0, 1 }, { 2, 3 }, { 4, 5 } }));
    g.UndoStore().SaveShiftStep(3, TUndoKind::ShiftVert);

    ASSERT_TRUE(g.UndoStore().Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(original));
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(original));
    EXPECT_EQ(g.UndoMode(), UndoModeRecord);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    EXPECT_EQ(g.UndoStore().RedoCount(), 1);
    ASSERT_TRUE(g.UndoStore().Redo());
    EXPECT_EQ(PictureRows(g.Picture()), shifted);
}
