// The repeat view of the pattern grid: showing the picture tiled by its layout and its
// first unit again, the repeat state the main window hears, and a view switch that never
// throws cells away without an undo step.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "editor/repeatcomposer.h"
#include "editor/tools/rectangletool.h"
#include "notificationrecorder.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace {

using Rows = std::vector<std::vector<int>>;

class PatternGridRepeat : public TPatternGridFixture {
protected:
    static void show(TPatternGrid &g, const QImage &picture)
    {
        TPatternGridFixture::show(g, picture);
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

namespace {

constexpr QRgb DotBlack = 0xFF000000;
constexpr QRgb DotWhite = 0xFFFFFFFF;
constexpr int FrameBack = 100; // the index of every cell; grey 100 on screen

// A one-colour unit of 10 x 10 shown 3 x 2 (30 x 20 cells) with the view's densities equal,
// at the given zoom level in a 100 x 60 client area.
void showTiledUnit(TPatternGrid &g, int level)
{
    QImage unit = NewPicture(10, 10, GreyPalette());
    unit.fill(FrameBack);
    g.SetClientSize(100, 60);
    g.SetWarpDensity(1.0);
    g.SetWeftDensity(1.0);
    g.SetPicture(unit);
    g.ReadPaletteFromPicture();
    g.RebuildDisplayBitmap();
    g.SetZoom(9);
    g.ResetRepeatSize();
    TRepeatPic info;
    info.UnitWidth = 10;
    info.UnitHeight = 10;
    info.HorzCount = 3;
    info.VertCount = 2;
    TRotateArray rotate(2);
    rotate[0] = TDynArray<std::int8_t> { 0, 0, 0 };
    rotate[1] = TDynArray<std::int8_t> { 0, 0, 0 };
    info.Rotate = rotate;
    info.Value1 = 1;
    g.SetRepeatInfo(info);
    g.SetRepeatDisplayOn(true);
    ASSERT_TRUE(g.SetRepeatView(true));
    g.SetZoom(level);
}

bool onUnitOutline(int x, int y)
{
    const bool inside = x >= 0 && x <= 9 && y >= 0 && y <= 9;
    return inside && (x == 0 || x == 9 || y == 0 || y == 9);
}

} // namespace

// The outline of the first unit shows over the cells at every zoom level: as blocks of
// the cell pitch from level 9 up (scrolled with the view), as pixels of the reduced view
// below. Hidden, and after the layout is reset, the cells show alone again.
TEST_F(PatternGridRepeat, UnitOutlineIsPaintedAtEveryZoomLevel)
{
    struct Case {
        int level, leftCol, topRow;
    } cases[] = { { 9, 0, 0 }, { 12, 0, 0 }, { 12, 1, 1 }, { 4, 0, 0 } };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " scrolled " << c.leftCol);
        TPatternGrid g;
        showTiledUnit(g, c.level);
        g.SetRepeatDisplay(true);
        g.SetLeftCol(c.leftCol);
        g.SetTopRow(c.topRow);
        ASSERT_EQ(g.LeftCol(), c.leftCol);
        ASSERT_EQ(g.TopRow(), c.topRow);

        // Where to look: the top-left pixel of each visible cell's block from level 9 up;
        // below, every pixel of the reduced view, where the scale 0.5 across and down
        // makes the unit the 5 x 5 pixels at the top left and its outline their ring.
        struct Sample {
            int px, py;
            bool outline;
            QRgb dot; // the colour of an outline cell (0: black or white)
        };
        std::vector<Sample> samples;
        if (c.level >= TPatternGrid::BaseZoomLevel) {
            const int pitch = c.level - 8;
            for (int j = 0; (j + 1) * pitch <= 60 && c.topRow + j < 20; ++j)
                for (int i = 0; (i + 1) * pitch <= 100 && c.leftCol + i < 30; ++i) {
                    const int x = c.leftCol + i, y = c.topRow + j;
                    samples.push_back(
                        { i * pitch, j * pitch, onUnitOutline(x, y), ((x + y) & 1) ? DotWhite : DotBlack });
                }
        } else {
            ASSERT_EQ(g.ColCount(), 15);
            ASSERT_EQ(g.RowCount(), 10);
            for (int py = 0; py < 10; ++py)
                for (int px = 0; px < 15; ++px)
                    samples.push_back(
                        { px, py, px <= 4 && py <= 4 && (px == 0 || px == 4 || py == 0 || py == 4), 0 });
        }
        const QRgb back = qRgb(FrameBack, FrameBack, FrameBack);
        // Outline cells dotted black and white (by the parity of the cell where one
        // pixel shows one cell), the others their own colour.
        const auto expectOutline = [&] {
            QImage img;
            g.Paint(img);
            for (const Sample &s : samples) {
                const QRgb got = img.pixel(s.px, s.py);
                if (!s.outline)
                    ASSERT_EQ(got, back) << s.px << "," << s.py;
                else if (s.dot)
                    ASSERT_EQ(got, s.dot) << s.px << "," << s.py;
                else
                    ASSERT_TRUE(got == DotBlack || got == DotWhite) << s.px << "," << s.py;
            }
        };
        const auto allBack = [&] {
            QImage img;
            g.Paint(img);
            return std::all_of(samples.begin(), samples.end(),
                [&](const Sample &s) { return img.pixel(s.px, s.py) == back; });
        };
        expectOutline();
        g.SetRepeatDisplay(false);
        EXPECT_TRUE(allBack()) << "outline off";
        g.SetRepeatDisplay(true);
        EXPECT_FALSE(allBack()) << "outline on again";
        g.ResetRepeatInfo();
        EXPECT_TRUE(allBack()) << "after the layout is reset";
    }
}

// The outline object: a locked rectangle through the unit's corner cells, ready, at the
// view's scales. Built in a reduced view its corners are still cells; it follows the zoom
// and goes with the layout display, the outline flag and a reset.
TEST_F(PatternGridRepeat, UnitOutlineObjectHoldsTheUnitCorners)
{
    TPatternGrid g;
    showTiledUnit(g, 4);
    g.SetRepeatDisplay(true);
    const TRectangleLine &frame = g.RepeatFrameObject();
    ASSERT_EQ(frame.GetPointCount(), 2);
    EXPECT_EQ(frame.Vertex(0).Point(), (TPoint { 0, 0 }));
    EXPECT_EQ(frame.Vertex(1).Point(), (TPoint { 9, 9 }));
    EXPECT_EQ(frame.Mode(), TDrawMode::Ready);
    EXPECT_TRUE(frame.Locked());
    EXPECT_EQ(g.RepeatFrame(), (TRect { 0, 0, 9, 9 }));
    EXPECT_DOUBLE_EQ(frame.ScaleX(), 0.5);
    EXPECT_DOUBLE_EQ(frame.ScaleY(), 0.5);
    EXPECT_DOUBLE_EQ(frame.Vertex(1).ScaleX(), 0.5);

    g.SetZoom(12);
    EXPECT_DOUBLE_EQ(frame.ScaleX(), 1.0);
    EXPECT_DOUBLE_EQ(frame.ScaleY(), 1.0);
    EXPECT_EQ(g.RepeatFrame(), (TRect { 0, 0, 9, 9 }));

    g.SetRepeatDisplayOn(false); // no layout to show: the outline goes
    EXPECT_EQ(frame.GetPointCount(), 0);
    g.SetRepeatDisplay(true);
    EXPECT_EQ(frame.GetPointCount(), 0);
    g.SetRepeatDisplayOn(true); // the outline flag is still set
    EXPECT_EQ(frame.GetPointCount(), 2);
    g.SetRepeatDisplay(false);
    EXPECT_EQ(frame.GetPointCount(), 0);
    EXPECT_EQ(g.RepeatFrame(), TRect {});
    g.SetRepeatDisplay(true);
    g.ResetRepeatInfo();
    EXPECT_EQ(frame.GetPointCount(), 0);
}
