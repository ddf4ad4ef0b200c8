// The pattern grid as its undo store's grid: whole-picture, palette, cell and shift steps
// replayed into the real grid, and what the main window hears of them.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "notificationrecorder.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

class PatternGridUndo : public TPatternGridFixture { };

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
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);

    ASSERT_TRUE(g.UndoStore().Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(original));
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(original));
    EXPECT_EQ(g.UndoMode(), UndoModeRecord);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    EXPECT_EQ(g.UndoStore().RedoCount(), 1);
    ASSERT_TRUE(g.UndoStore().Redo());
    EXPECT_EQ(PictureRows(g.Picture()), shifted);
}

// ---- The recording contract ------------------------------------------------------------

namespace {

// After every recipe RefBitmap is the picture again, cell for cell.
void expectRefIsPicture(const TPatternGrid &g)
{
    EXPECT_EQ(g.RefBitmap().size(), g.Picture().size());
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture()));
}

QImage numbered(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t(1 + y * w + x);
    return img;
}

} // namespace

// Recipe A: the listed cells an edit changed are checked against the rules after the
// edit. A rejected cell is put back in the picture; a cell outside the picture (a stroke
// along the edge) is skipped without being read or written; the step holds the rest.
TEST_F(PatternGridUndo, CellListRulesPutForbiddenCellsBack)
{
    // Cells of a 4 x 3 picture; (x + 2 - y) even is rejected by the single start-point
    // filter, odd by the double one.
    struct Case {
        const char *name;
        std::array<std::uint8_t, 3> pointStyle;
        QRegion selection;
        int protectedIndex; // -1 = none
        std::function<bool(int x, int y)> kept; // the edit of this cell stays
    } cases[] = {
        { "no rule", { 0, 0, 1 }, {}, -1, [](int, int) { return true; } },
        { "protected colour", { 0, 0, 1 }, {}, 6, [](int x, int y) { return 1 + y * 4 + x != 6; } },
        { "single start point", { 1, 0, 1 }, {}, -1, [](int x, int y) { return (x + 2 - y) % 2 != 0; } },
        { "double start point", { 0, 1, 1 }, {}, -1, [](int x, int y) { return (x + 2 - y) % 2 == 0; } },
        { "outside the selection", { 0, 0, 1 }, QRegion(1, 1, 2, 2), -1,
            [](int x, int y) { return x >= 1 && x <= 2 && y >= 1; } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        const QImage original = numbered(4, 3);
        show(g, original);
        g.SetPointStyle(c.pointStyle);
        g.SetSelectionRegion(c.selection);
        if (c.protectedIndex >= 0)
            g.IncludeColorIndex(c.protectedIndex);
        std::vector<TPoint> list { { -1, 0 }, { 4, 1 }, { 0, -1 }, { 70000, 70000 } };
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                g.Picture().scanLine(y)[x] = 200;
                list.push_back({ x, y });
            }
        TLineArray points(qsizetype(list.size()));
        std::copy(list.begin(), list.end(), points.begin());
        g.RecordUndoStep(points);

        int keptCount = 0;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const int want = c.kept(x, y) ? 200 : original.pixelIndex(x, y);
                keptCount += c.kept(x, y) ? 1 : 0;
                EXPECT_EQ(g.Picture().pixelIndex(x, y), want) << x << "," << y;
            }
        expectRefIsPicture(g);
        ASSERT_EQ(g.UndoStore().UndoCount(), 1);
        EXPECT_EQ(g.UndoStore().GetTopStep()->Data.size(), keptCount);
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(PictureRows(g.Picture()), PictureRows(original));
        expectRefIsPicture(g);
        ASSERT_TRUE(g.Redo());
        EXPECT_EQ(g.UndoStore().GetTopStep()->Data.size(), keptCount);
        expectRefIsPicture(g);
    }
}

// Recipe B: without a list, the cells that differ inside the rectangle form the step;
// the rules hold unless the caller asks to ignore them.
TEST_F(PatternGridUndo, RectangleStepsTakeTheCellsThatDiffer)
{
    TPatternGrid g;
    const QImage original = numbered(5, 4);
    show(g, original);
    g.IncludeColorIndex(1); // cell (0, 0)
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            g.Picture().scanLine(y)[x] = 99;
    g.RecordRectUndoStep(TRect { 0, 0, 1, 1 }, false, false);
    EXPECT_EQ(g.UndoStore().GetTopStep()->Data.size(), 3); // (0, 0) put back
    EXPECT_EQ(g.Picture().pixelIndex(0, 0), 1);
    g.Picture().scanLine(0)[0] = 99;
    g.RecordRectUndoStep(TRect { -3, -3, 0, 0 }, true, false); // rules ignored
    EXPECT_EQ(g.Picture().pixelIndex(0, 0), 99);
    g.RecordPictureRectStep();
    EXPECT_EQ(g.UndoStore().GetTopStep()->Data.size(), 20 - 4);
    expectRefIsPicture(g);
    EXPECT_EQ(g.UndoStore().UndoCount(), 3);
    while (g.UndoStore().UndoCount() > 0)
        ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(original));
    expectRefIsPicture(g);
}

// Recording suspended records nothing: neither cells nor whole pictures nor shifts; the
// newest cell step's pixels can be written again into both pictures.
TEST_F(PatternGridUndo, SuspendedRecordingAndApplyStepPixels)
{
    TPatternGrid g;
    show(g, numbered(3, 3));
    g.SetUndoRecording(UndoModeSuspended);
    g.Picture().scanLine(0)[0] = 50;
    g.RecordUndoStep(TLineArray { TPoint { 0, 0 } });
    ASSERT_TRUE(g.SaveImageUndoStep());
    g.ShiftPictureHorz(1);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    g.SetUndoRecording(UndoModeRecord);

    show(g, numbered(3, 3));
    g.Picture().scanLine(1)[2] = 77;
    g.RecordUndoStep(TLineArray { TPoint { 2, 1 } });
    g.Picture().scanLine(1)[2] = 5;
    g.RefBitmap().setPixel(2, 1, 5);
    g.ApplyStepPixels();
    EXPECT_EQ(g.Picture().pixelIndex(2, 1), 77);
    expectRefIsPicture(g);
}

// The shift commands record the count only (kinds 9 and 10); undoing shifts back by the
// rest of the picture's side. A count outside 1 .. side - 1 records nothing.
TEST_F(PatternGridUndo, ShiftCommandsRecordTheirCount)
{
    TPatternGrid g;
    const QImage original = numbered(5, 4);
    show(g, original);
    g.ShiftPictureVert(0);
    g.ShiftPictureVert(4);
    g.ShiftPictureHorz(5);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    g.ShiftPictureVert(3);
    g.ShiftPictureHorz(2);
    ASSERT_EQ(g.UndoStore().UndoCount(), 2);
    EXPECT_EQ(g.UndoStore().UndoSteps[0]->Kind, TUndoKind::ShiftVert);
    EXPECT_EQ(g.UndoStore().UndoSteps[0]->Count, 3);
    EXPECT_EQ(g.UndoStore().UndoSteps[1]->Kind, TUndoKind::ShiftHorz);
    EXPECT_EQ(g.UndoStore().UndoSteps[1]->Count, 2);
    EXPECT_EQ(g.Picture().pixelIndex(0, 0), 1 + 3 * 5 + 2);
    expectRefIsPicture(g);
    const auto shifted = PictureRows(g.Picture());
    ASSERT_TRUE(g.Undo());
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(original));
    expectRefIsPicture(g);
    ASSERT_TRUE(g.Redo());
    ASSERT_TRUE(g.Redo());
    EXPECT_EQ(PictureRows(g.Picture()), shifted);
    EXPECT_EQ(g.UndoStore().RedoCount(), 0);
}
