// The repeat view of the pattern grid: showing the picture tiled by its layout and its
// first unit again, the repeat state the main window hears, and a view switch that never
// throws cells away without an undo step.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "editor/repeatcomposer.h"
#include "notificationrecorder.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using Rows = std::vector<std::vector<int>>;

class PatternGridRepeat : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        StartSettings().MaxUndoCount = 20;
    }
    static void show(TPatternGrid &g, const QImage &picture)
    {
        g.SetClientSize(200, 200);
        g.SetPicture(picture);
        g.ReadPaletteFromPicture();
        g.RebuildDisplayBitmap();
        g.SetZoom(9);
        g.ResetRepeatSize();
    }
    // A layout of 3 x 2 units of the given size, style 1, the second unit flipped left to
    // right.
    static TRepeatPic layout(int w, int h)
    {
        TRepeatPic info;
        info.UnitWidth = w;
        info.UnitHeight = h;
        info.HorzCount = 3;
        info.VertCount = 2;
        TRotateArray rotate(2);
        rotate[0] = TDynArray<std::int8_t> { 0, 2, 0 };
        rotate[1] = TDynArray<std::int8_t> { 0, 0, 0 };
        info.Rotate = rotate;
        info.Value1 = 1;
        return info;
    }
};

void expectRefIsPicture(const TPatternGrid &g)
{
    ASSERT_EQ(g.RefBitmap().size(), g.Picture().size());
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture()));
}

const QImage &unit2x2()
{
    static const QImage unit = MakePicture({ { 1, 2 }, { 3, 4 } }, GreyPalette());
    return unit;
}

const Rows tiled3x2
    = { { 1, 2, 2, 1, 1, 2 }, { 3, 4, 4, 3, 3, 4 }, { 1, 2, 1, 2, 1, 2 }, { 3, 4, 3, 4, 3, 4 } };

} // namespace

// Shown, the picture is three units wide and two high; hidden, the first unit again.
// Neither switch records a step when nothing is lost; the main window hears the state:
// 0 without a layout, else 2 or 3 (view shown or not) plus 2 or 4 (outline or not).
TEST_F(PatternGridRepeat, ShowAndHideWithTheRepeatStates)
{
    MainWindowStandIn main;
    TPatternGrid g;
    show(g, unit2x2());
    g.SetRepeatInfo(layout(2, 2));
    g.NotifyMainWindow();
    EXPECT_TRUE(main.recorder.Has(WM_REPEATSTATE, 0, 0));
    g.SetRepeatDisplayOn(true);
    EXPECT_TRUE(main.recorder.Has(WM_REPEATSTATE, 7, 0));

    struct Step {
        bool view, outline;
        int state;
    } steps[] = { { true, false, 6 }, { true, true, 4 }, { false, true, 5 }, { false, false, 7 } };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.state);
        main.recorder.got.clear();
        g.SetRepeatDisplay(s.outline);
        ASSERT_TRUE(g.SetRepeatView(s.view));
        EXPECT_TRUE(main.recorder.Has(WM_REPEATSTATE, s.state, 0));
        EXPECT_EQ(g.RepeatState(), s.state);
        EXPECT_EQ(PictureRows(g.Picture()), s.view ? tiled3x2 : PictureRows(unit2x2()));
        EXPECT_EQ(g.ColCount(), s.view ? 6 : 2);
        expectRefIsPicture(g);
        EXPECT_EQ(g.RepeatFrame(), s.outline ? (TRect { 0, 0, 1, 1 }) : TRect {});
    }
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    EXPECT_TRUE(g.Modified());
    g.ResetRepeatInfo();
    EXPECT_EQ(g.RepeatState(), 0);
    EXPECT_EQ(g.RepeatInfo().HorzCount, 1);

    // A single repeat: the view only takes its flag and the outline.
    g.SetRepeatDisplayOn(true);
    g.SetRepeatDisplay(true);
    ASSERT_TRUE(g.SetRepeatView(true));
    EXPECT_EQ(g.RepeatState(), 4);
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(unit2x2()));
    EXPECT_EQ(g.RepeatFrame(), (TRect { 0, 0, 1, 1 }));
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
}

// An edit in the view reaches every repeat; undoing it after the view was hidden shows the
// view again (the step's own state) with the edit gone from every repeat.
TEST_F(PatternGridRepeat, EditsInTheViewAndTheirUndo)
{
    TPatternGrid g;
    show(g, unit2x2());
    g.SetRepeatInfo(layout(2, 2));
    g.SetRepeatDisplayOn(true);
    ASSERT_TRUE(g.SetRepeatView(true));
    g.Picture().scanLine(0)[0] = 9;
    g.RecordUndoStep(TLineArray { TPoint { 0, 0 } });
    EXPECT_EQ(PictureRows(g.Picture())[0], (std::vector<int> { 9, 2, 2, 9, 9, 2 }));
    expectRefIsPicture(g);
    ASSERT_TRUE(g.SetRepeatView(false));
    EXPECT_EQ(PictureRows(g.Picture()), (Rows { { 9, 2 }, { 3, 4 } }));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
    ASSERT_TRUE(g.Undo());
    EXPECT_TRUE(g.RepeatViewShown());
    EXPECT_EQ(PictureRows(g.Picture()), tiled3x2);
    expectRefIsPicture(g);
}

// A layout composed in place and then edited outside its first unit: showing the view
// would compose the picture anew from the unit and lose the edit, so the switch records
// one whole-picture step first; after showing and hiding, one Undo brings the edit back.
TEST_F(PatternGridRepeat, EditsOutsideTheFirstUnitSurviveTheSwitch)
{
    TMergePic composer;
    composer.SetUnitPicture(unit2x2());
    composer.SetRepeatInfo(layout(2, 2));
    ASSERT_TRUE(composer.BuildResult());
    TRepeatPic info;
    composer.GetRepeatInfo(info);

    TPatternGrid g;
    show(g, composer.Result());
    g.SetRepeatInfo(info);
    g.SetRepeatDisplayOn(true);
    g.Picture().scanLine(3)[5] = 60;
    g.RecordUndoStep(TLineArray { TPoint { 5, 3 } });
    const Rows edited = PictureRows(g.Picture());
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);

    ASSERT_TRUE(g.SetRepeatView(true));
    EXPECT_EQ(PictureRows(g.Picture()), tiled3x2);
    EXPECT_EQ(g.UndoStore().UndoCount(), 2);
    ASSERT_TRUE(g.SetRepeatView(false));
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(unit2x2()));
    EXPECT_EQ(g.UndoStore().UndoCount(), 2);

    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), edited);
    EXPECT_FALSE(g.RepeatViewShown());
    EXPECT_EQ(g.RepeatInfo().HorzCount, 3);
    expectRefIsPicture(g);
    ASSERT_TRUE(g.Redo());
    EXPECT_EQ(PictureRows(g.Picture()), tiled3x2);
    EXPECT_TRUE(g.RepeatViewShown());
}

// Hiding the view after a change that bypassed the repeats keeps the tiled picture in a
// step as well.
TEST_F(PatternGridRepeat, HidingKeepsWhatTheUnitDoesNotGiveBack)
{
    TPatternGrid g;
    show(g, unit2x2());
    g.SetRepeatInfo(layout(2, 2));
    g.SetRepeatDisplayOn(true);
    ASSERT_TRUE(g.SetRepeatView(true));
    g.Picture().scanLine(2)[4] = 70;
    g.RebuildDisplayBitmap();
    const Rows view = PictureRows(g.Picture());
    ASSERT_TRUE(g.SetRepeatView(false));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), view);
    EXPECT_TRUE(g.RepeatViewShown());
}

// Commands and saving work on one unit: the view is hidden first.
TEST_F(PatternGridRepeat, CommandsAndSavingWorkOnOneUnit)
{
    QTemporaryDir dir;
    TPatternGrid g;
    show(g, unit2x2());
    g.SetRepeatInfo(layout(2, 2));
    g.SetRepeatDisplayOn(true);
    ASSERT_TRUE(g.SetRepeatView(true));
    const QString file = dir.filePath(QStringLiteral("unit.bmp"));
    ASSERT_TRUE(g.SaveToFile(file));
    EXPECT_FALSE(g.RepeatViewShown());
    QImage saved;
    ASSERT_TRUE(LoadBmp8File(file, saved));
    EXPECT_EQ(PictureRows(saved), PictureRows(unit2x2()));

    ASSERT_TRUE(g.SetRepeatView(true));
    ASSERT_TRUE(g.FlipLeftRight());
    EXPECT_FALSE(g.RepeatViewShown());
    EXPECT_EQ(PictureRows(g.Picture()), (Rows { { 2, 1 }, { 4, 3 } }));
    expectRefIsPicture(g);
}

// A layout too large to show is refused with a message; nothing changes.
TEST_F(PatternGridRepeat, RefusesAViewBeyondTheLargestPattern)
{
    TPatternGrid g;
    QImage wide = NewPicture(30000, 1, GreyPalette());
    wide.fill(1);
    show(g, wide);
    TRepeatPic info = layout(30000, 1);
    g.SetRepeatInfo(info);
    g.SetRepeatDisplayOn(true);
    QString error;
    EXPECT_FALSE(g.SetRepeatView(true, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(g.RepeatViewShown());
    EXPECT_EQ(g.Picture().width(), 30000);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
}
