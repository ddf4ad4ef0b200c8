// Drawing on the pattern grid headless: choosing tools, the drawing object each tool gets,
// scripted press / move / release sequences per tool family with the cells and undo steps
// they leave, the tool keys and the arrow keys.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/base/numutils.h"
#include "core/settings/sharedstate.h"
#include "editor/tools/customline.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QObject>
#include <QRegion>

#include <functional>
#include <string>
#include <vector>

namespace {

using T = TToolId;
using Ev = TPatternGrid::TCellEvent;
using Btn = TPatternGrid::TMouseButton;

// Records the notifications, with the colour-pick record copied while it is valid.
struct PickRecorder : QObject {
    std::vector<std::array<qintptr, 3>> got;
    std::vector<TColorPickInfo> picks;
    bool event(QEvent *e) override
    {
        if (!TMessageEvent::IsNotification(e->type()))
            return QObject::event(e);
        const auto *m = static_cast<TMessageEvent *>(e);
        got.push_back({ m->Message(), m->WParam, m->LParam });
        if (const TColorPickInfo *info = m->ColorPickInfo())
            picks.push_back(*info);
        return true;
    }
    int Count(int message) const
    {
        int n = 0;
        for (const auto &g : got)
            n += g[0] == message;
        return n;
    }
};

// The undo store takes its limit when the grid is made: the settings come first.
struct UndoLimit {
    UndoLimit()
    {
        InitSharedState();
        StartSettings().MaxUndoCount = 50;
    }
};

class PatternGridTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        RunState().HorzWidth = 1;
        RunState().VertWidth = 1;
        Hooks().MainFormHandle = &recorder;
    }
    void TearDown() override { Hooks().MainFormHandle = nullptr; }

    // A blank w x h picture of index 0 at one pixel per cell, fore index 9.
    void show(int w, int h, int level = 9)
    {
        QImage img = NewPicture(w, h, GreyPalette());
        img.fill(0);
        showPicture(img, level);
    }
    void showPicture(const QImage &img, int level = 9)
    {
        g.SetClientSize(400, 400);
        g.SetPicture(img);
        g.ReadPaletteFromPicture();
        g.RebuildDisplayBitmap();
        g.ResetRepeatSize();
        g.SetZoom(level);
        g.SetForeColorIndex(9);
        g.SetBackColorIndex(0);
    }
    void press(int x, int y, Btn b = Btn::Left, bool shift = false, bool ctrl = false)
    {
        g.MouseDown(Ev { { x, y }, b, shift, ctrl });
    }
    void drag(int x, int y, bool shift = false)
    {
        g.MouseMove(Ev { { x, y }, Btn::Left, shift, false }, true);
    }
    void release(int x, int y, Btn b = Btn::Left) { g.MouseUp(Ev { { x, y }, b, false, false }); }
    void click(int x, int y, Btn b = Btn::Left)
    {
        press(x, y, b);
        release(x, y, b);
    }
    // The picture as text: '.' for index 0, '#' for the fore index 9, digits otherwise.
    std::vector<std::string> cells() const
    {
        std::vector<std::string> rows;
        const QImage &p = g.Picture();
        for (int y = 0; y < p.height(); ++y) {
            std::string row;
            for (int x = 0; x < p.width(); ++x) {
                const int v = p.constScanLine(y)[x];
                row += v == 0 ? '.' : v == 9 ? '#' : char('0' + v % 10);
            }
            rows.push_back(row);
        }
        return rows;
    }
    void expectRefIsPicture() const { EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture())); }

    UndoLimit limit;
    PickRecorder recorder;
    TPatternGrid g;
};

using Rows = std::vector<std::string>;

} // namespace

// The class and the flags each tool's drawing object gets when the tool is chosen.
TEST_F(PatternGridTools, ToolClassAndFlagTable)
{
    show(10, 10);
    struct Case {
        T id;
        const char *cls;
        bool filled, autoClear, locked, onRegion;
    };
    const Case cases[] = {
        { T::DefineRectangle, "TRectangleLine", false, true, true, true },
        { T::DefineCircle, "TCircleLine", false, true, true, true },
        { T::DefineHorizontalLine, "TFullLine", false, true, true, true },
        { T::DefineFreePointLine, "TFreeLine", false, true, true, true },
        { T::DefineBreakPointLine, "TBreakLine", false, true, true, true },
        { T::DefineCurveLine, "TCurveLine", false, true, true, true },
        { T::Arc, "TCurveLine", false, true, false, false },
        { T::BeeLine, "TBeeLine", false, true, false, false },
        { T::FreeLine, "TFreeLine", false, true, false, false },
        { T::Rectangle, "TRectangleLine", false, true, false, false },
        { T::FilledRectangle, "TRectangleLine", false, true, false, false },
        { T::Circle, "TCircleLine", false, true, false, false },
        { T::FilledFreeLine, "TFreeLine", true, true, false, false },
        { T::FilledArc, "TCurveLine", true, true, false, false },
        { T::FilledCurveLine, "TCurveLine", true, true, false, false },
        { T::FilledBreakLine, "TBreakLine", true, true, false, false },
        { T::BuildRectBmp, "TBreakLine", false, true, false, true },
        { T::ClearMottleByRect, "TRectangleLine", true, false, false, false },
        { T::ClearMottleByCircle, "TCircleLine", true, false, false, false },
        { T::ConcentricCircle, "TConcentricCircle", false, true, false, false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.id));
        g.SetDrawTool(T::Move);
        g.SetDrawTool(c.id);
        // The selection tools make their object on the first press.
        if (c.onRegion)
            click(5, 5);
        TCustomLine *o = c.onRegion ? g.RegionObject() : g.DrawObject();
        ASSERT_NE(o, nullptr);
        EXPECT_STREQ(o->ClassName(), c.cls);
        EXPECT_EQ(o->Filled(), c.filled);
        EXPECT_EQ(o->AutoClear(), c.autoClear);
        EXPECT_EQ(o->Locked(), c.locked);
    }
    // The filled shapes commit with a solid brush, the outlines with a clear one.
    g.SetDrawTool(T::FilledCircle);
    EXPECT_EQ(g.DrawObject()->BrushStyle(), TBrushStyle::Solid);
    g.SetDrawTool(T::Circle);
    EXPECT_EQ(g.DrawObject()->BrushStyle(), TBrushStyle::Clear);
}

TEST_F(PatternGridTools, SetDrawToolKeepsThePreviousToolAndTellsTheMainWindow)
{
    show(30, 30);
    EXPECT_EQ(g.ToolId(), T::Move);
    g.SetDrawTool(T::Rectangle);
    g.SetDrawTool(T::FillColor);
    EXPECT_EQ(g.ToolId(), T::FillColor);
    EXPECT_EQ(g.PrevToolId(), T::Rectangle);
    EXPECT_EQ(RunState().CurrentToolId, T::FillColor);
    EXPECT_EQ(recorder.Count(WM_TOOLCHANGED), 2);
    EXPECT_EQ(g.ToolCursor(), int(crFillColor));

    // The ready 20 x 20 shape of the clear-mottle tools: kept by the view drag, cleared by
    // any other tool.
    g.SetDrawTool(T::ClearMottleByRect);
    ASSERT_EQ(g.DrawObject()->GetPointCount(), 2);
    EXPECT_EQ(g.DrawObject()->Vertex(1).Point(), (TPoint { 20, 20 }));
    EXPECT_EQ(g.DrawObject()->Mode(), TDrawMode::Ready);
    g.SetDrawTool(T::MoveGrid);
    EXPECT_EQ(g.DrawObject()->GetPointCount(), 2);
    g.SetDrawTool(T::ClearMottleByCircle);
    g.SetDrawTool(T::Sprayer);
    EXPECT_EQ(g.DrawObject()->GetPointCount(), 0);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0); // clearing the ready shape paints nothing
}

TEST_F(PatternGridTools, APendingShapeIsCommittedWhenTheToolChanges)
{
    show(12, 8);
    g.SetDrawTool(T::Rectangle);
    press(1, 1);
    drag(4, 3);
    release(4, 3);
    EXPECT_EQ(cells()[1], "............"); // still pending
    g.SetDrawTool(T::MoveGrid); // the view drag keeps it pending
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    g.SetDrawTool(T::Circle);
    EXPECT_EQ(cells(),
        (Rows { "............", ".####.......", ".#..#.......", ".####.......", "............",
            "............", "............", "............" }));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
    expectRefIsPicture();
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(cells()[1], "............");
    expectRefIsPicture();
}

// Two-point shapes: the Shift square rule follows the densities (75 warps, 60 wefts: four
// rows up make five columns across), Enter commits, one step each, undone exactly.
TEST_F(PatternGridTools, RectangleWithTheSquareRuleAndLines)
{
    show(10, 7);
    g.SetWarpDensity(75);
    g.SetWeftDensity(60);
    g.SetDrawTool(T::FilledRectangle);
    press(1, 1);
    drag(3, 5, /*shift*/ true);
    release(3, 5);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(cells(),
        (Rows { "..........", ".######...", ".######...", ".######...", ".######...", ".######...",
            ".........." }));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);

    g.SetDrawTool(T::BeeLine);
    g.SetForeColorIndex(2);
    press(0, 6);
    drag(9, 6);
    release(9, 6);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(cells()[6], "2222222222");
    EXPECT_EQ(g.UndoStore().UndoCount(), 2);
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(cells()[6], "..........");
    EXPECT_EQ(cells()[1], ".######...");
    expectRefIsPicture();
    // A press without a drag leaves no shape.
    click(5, 5);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
}

// A free line along the edge with a wide pen lists cells beyond the picture: they are
// skipped, the stroke is one step of its own cells, and undo takes it back.
TEST_F(PatternGridTools, FreeLineAtThePictureEdge)
{
    show(8, 5);
    g.SetHorzPenWidth(3);
    g.SetVertPenWidth(3);
    g.SetDrawTool(T::FreeLine);
    press(0, 0);
    drag(3, 0);
    drag(7, 0);
    release(7, 0);
    const Rows drawn = cells();
    EXPECT_EQ(drawn[0], "########");
    EXPECT_EQ(drawn[1], "########");
    EXPECT_EQ(drawn[2], "........");
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);
    EXPECT_EQ(g.UndoStore().GetTopStep()->Kind, TUndoKind::Cells);
    expectRefIsPicture();
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(cells()[0], "........");
    ASSERT_TRUE(g.Redo());
    EXPECT_EQ(cells(), drawn);
}

// Break lines are clicked point by point and committed by Enter; a filled one fills.
TEST_F(PatternGridTools, BreakLinesAndCurves)
{
    show(9, 7);
    g.SetDrawTool(T::BreakLine);
    click(1, 1);
    click(7, 1);
    click(7, 5);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(cells(),
        (Rows { ".........", ".#######.", ".......#.", ".......#.", ".......#.", ".......#.", "........." }));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);

    g.SetDrawTool(T::FilledBreakLine);
    g.SetForeColorIndex(3);
    click(1, 3);
    click(5, 3);
    click(5, 5);
    click(1, 5);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(cells()[4], ".33333.#.");
    EXPECT_EQ(g.UndoStore().UndoCount(), 2);

    // A curve through three points starts and ends on its end points.
    g.SetDrawTool(T::CurveLine);
    g.SetForeColorIndex(4);
    click(0, 6);
    click(4, 0);
    click(8, 6);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(g.Picture().constScanLine(6)[0], 4);
    EXPECT_EQ(g.Picture().constScanLine(6)[8], 4);
    EXPECT_EQ(g.UndoStore().UndoCount(), 3);
    expectRefIsPicture();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(g.Undo());
    EXPECT_EQ(cells(), Rows(7, "........."));
}

// Flood fill takes the 4-connected cells of the pressed index; the same grey under another
// index, diagonal neighbours and protected colours stay.
TEST_F(PatternGridTools, FloodFillByIndex)
{
    QImage img = MakePicture({
        { 1, 1, 2, 1, 1 },
        { 1, 2, 2, 1, 5 },
        { 2, 1, 1, 1, 1 },
        { 1, 2, 2, 2, 2 },
    });
    showPicture(img);
    g.SetDrawTool(T::FillColor);
    click(3, 0);
    EXPECT_EQ(cells(), (Rows { "112##", "122#5", "2####", "12222" }));
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);
    expectRefIsPicture();
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(cells(), (Rows { "11211", "12215", "21111", "12222" }));
    // A protected colour is not filled.
    g.IncludeColorIndex(2);
    click(2, 3);
    EXPECT_EQ(cells()[3], "12222");
    expectRefIsPicture();
}

// Spray with a seeded source: the same seed sprays the same cells; points fall within the
// radius, never on a protected colour or outside the selection, and each burst is its own
// step.
TEST_F(PatternGridTools, SprayWithASeededSource)
{
    show(40, 40);
    for (int x = 0; x < 40; ++x)
        g.Picture().scanLine(20)[x] = 7; // a protected row through the centre
    g.RebuildDisplayBitmap();
    g.IncludeColorIndex(7);
    g.SetSprayOption({ 6, 60 });
    g.SetRandomSeed(42);
    g.SetDrawTool(T::Sprayer);
    press(20, 20);
    EXPECT_TRUE(g.ToolTimerOn());
    const Rows first = cells();
    g.ToolTimerTick(); // the 250 ms timer: a second burst
    release(20, 20);
    EXPECT_FALSE(g.ToolTimerOn());
    EXPECT_EQ(g.UndoStore().UndoCount(), 2);
    int sprayed = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const int v = g.Picture().constScanLine(y)[x];
            if (y == 20) {
                EXPECT_EQ(v, 7);
            }
            if (v == 9) {
                ++sprayed;
                EXPECT_LE((x - 20) * (x - 20) + (y - 20) * (y - 20), 7 * 7);
            }
        }
    EXPECT_GT(sprayed, 10);
    ASSERT_TRUE(g.Undo()); // the second burst only
    EXPECT_EQ(cells(), first);
    ASSERT_TRUE(g.Undo());

    // Replayed with the same seed: the same cells.
    g.SetRandomSeed(42);
    press(20, 20);
    release(20, 20);
    EXPECT_EQ(cells(), first);

    // Inside a selection only.
    ASSERT_TRUE(g.Undo());
    g.SetDrawTool(T::DefineRectangle);
    press(20, 20);
    drag(39, 39);
    release(39, 39);
    g.SetDrawTool(T::Sprayer);
    press(20, 21);
    release(20, 21);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (x < 20 || y < 20) {
                EXPECT_NE(g.Picture().constScanLine(y)[x], 9) << x << "," << y;
            }
    expectRefIsPicture();
}

// Ctrl picks the colour under the pointer with either button; the tool does not start.
TEST_F(PatternGridTools, CtrlColorPickWithBothButtons)
{
    QImage img = MakePicture({ { 1, 2 }, { 3, 4 } });
    showPicture(img);
    g.SetDrawTool(T::FillColor);
    press(1, 0, Btn::Left, false, true);
    EXPECT_TRUE(g.ColorPicking());
    release(1, 0);
    EXPECT_FALSE(g.ColorPicking());
    press(0, 1, Btn::Right, false, true);
    release(0, 1, Btn::Right);
    ASSERT_EQ(recorder.picks.size(), 2u);
    EXPECT_EQ(recorder.picks[0].Index, 2);
    EXPECT_EQ(recorder.picks[0].Kind, 3);
    EXPECT_EQ(recorder.picks[1].Index, 3);
    EXPECT_EQ(recorder.picks[1].Kind, 4);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    EXPECT_EQ(cells(), (Rows { "12", "34" }));
    // The free-hand tool picks with a plain right click; the absorb tool with a plain
    // left one.
    g.SetDrawTool(T::FreeLine);
    click(1, 1, Btn::Right);
    g.SetDrawTool(T::AbsorbColor);
    click(0, 0);
    ASSERT_EQ(recorder.picks.size(), 4u);
    EXPECT_EQ(recorder.picks[2].Index, 4);
    EXPECT_EQ(recorder.picks[2].Kind, 3);
    EXPECT_EQ(recorder.picks[3].Index, 1);
    EXPECT_EQ(cells(), (Rows { "12", "34" }));
}

// The magic stick selects the box of the pressed index, or with Shift the piece band.
TEST_F(PatternGridTools, MagicStickWithAndWithoutShift)
{
    QImage img = NewPicture(7, 5, GreyPalette());
    img.fill(0);
    img.scanLine(1)[2] = 3;
    img.scanLine(3)[4] = 3;
    showPicture(img);
    g.SetDrawTool(T::MagicStick);
    click(2, 1);
    EXPECT_EQ(g.SelectionRegion().boundingRect(), QRect(QPoint(2, 1), QPoint(4, 3)));
    // Pieces 3 wide, 2 of them, 1 apart: columns 0-2 and 4-6.
    g.SetRepeatDisplayValues({ 5, 3, 2, 1 });
    press(5, 0, Btn::Left, true);
    release(5, 0);
    EXPECT_EQ(g.SelectionRegion().boundingRect(), QRect(QPoint(4, 0), QPoint(6, 4)));
    press(3, 0, Btn::Left, true); // in the gap
    release(3, 0);
    EXPECT_TRUE(g.SelectionRegion().isEmpty());
}

// Cuts: row 0 and rows past the repeat do nothing; row 5 shifts the rows cyclically by 5,
// recorded as one shift step.
TEST_F(PatternGridTools, CutsAtRowZeroFiveAndPastTheRepeat)
{
    QImage img = NewPicture(3, 20, GreyPalette());
    for (int y = 0; y < 20; ++y)
        std::fill(img.scanLine(y), img.scanLine(y) + 3, std::uint8_t(y));
    showPicture(img);
    g.SetDrawTool(T::HorzCut);
    click(1, 0);
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    click(1, 5);
    EXPECT_EQ(g.Picture().constScanLine(0)[0], 5);
    EXPECT_EQ(g.Picture().constScanLine(15)[0], 0);
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);
    EXPECT_EQ(g.UndoStore().GetTopStep()->Kind, TUndoKind::ShiftVert);
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(g.Picture().constScanLine(0)[0], 0);
    // A repeat 12 rows high: row 14 lies past it.
    TRepeatPic info = g.RepeatInfo();
    info.UnitHeight = 12;
    g.SetRepeatInfo(info);
    click(1, 14);
    EXPECT_EQ(g.Picture().constScanLine(0)[0], 0);
    g.SetDrawTool(T::VertCut);
    g.Picture().scanLine(0)[1] = 8;
    g.RebuildDisplayBitmap();
    click(1, 3);
    EXPECT_EQ(g.Picture().constScanLine(0)[0], 8);
}

// The colour change replaces the pressed index inside the selection's box only.
TEST_F(PatternGridTools, ChangeColorInABox)
{
    QImage img = MakePicture({
        { 2, 2, 2, 2, 2 },
        { 2, 1, 2, 2, 2 },
        { 2, 2, 2, 1, 2 },
        { 2, 2, 2, 2, 2 },
    });
    showPicture(img);
    g.SetDrawTool(T::DefineRectangle);
    press(1, 1);
    drag(3, 2);
    release(3, 2);
    g.SetDrawTool(T::ChangeColor);
    click(2, 1);
    EXPECT_EQ(cells(), (Rows { "22222", "21##2", "2##12", "22222" }));
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);
    expectRefIsPicture();
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(cells(), (Rows { "22222", "21222", "22212", "22222" }));
}

// The view drag keeps the grabbed cell under the pointer and ends with the release.
TEST_F(PatternGridTools, MoveGridDragsTheView)
{
    show(200, 200, 12);
    g.SetClientSize(100, 100);
    g.SetLeftCol(10);
    g.SetTopRow(10);
    g.SetDrawTool(T::MoveGrid);
    g.MouseDown(Ev { { 15, 15 }, Btn::Left, false, false, { 15, 15 } });
    EXPECT_TRUE(g.GridDragging());
    g.MouseMove(Ev { { 13, 12 }, Btn::Left, false, false, { 13, 12 } }, true);
    EXPECT_EQ(g.LeftCol(), 12);
    EXPECT_EQ(g.TopRow(), 13);
    g.MouseUp(Ev { { 13, 12 }, Btn::Left, false, false, { 13, 12 } });
    EXPECT_FALSE(g.GridDragging());
    EXPECT_EQ(g.UndoStore().UndoCount(), 0);
}

// BuildRectBmp: Enter maps the picture onto the four clicked corners, one whole-picture step,
// and returns to the tool before; Space with three points only clears them.
TEST_F(PatternGridTools, BuildRectBmpKeys)
{
    show(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            g.Picture().scanLine(y)[x] = std::uint8_t(1 + (x + y) % 5);
    g.RebuildDisplayBitmap();
    g.SetDrawTool(T::Rectangle);
    g.SetDrawTool(T::BuildRectBmp);
    click(2, 2);
    click(7, 2);
    click(7, 7);
    click(2, 7);
    ASSERT_EQ(g.RegionObject()->GetPointCount(), 4);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(g.Picture().size(), QSize(6, 6));
    EXPECT_EQ(g.ToolId(), T::Rectangle);
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);
    EXPECT_EQ(g.UndoStore().GetTopStep()->Kind, TUndoKind::Image);
    const auto mapped = PictureRows(g.Picture());
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(g.Picture().size(), QSize(10, 10));

    // With the repeat view on (two units side by side), Enter first goes back to the plain
    // picture, which the corners then map, as every whole-picture command does.
    {
        TRepeatPic info;
        info.UnitWidth = 10;
        info.UnitHeight = 10;
        info.HorzCount = 2;
        info.VertCount = 1;
        TRotateArray rotate(1);
        rotate[0] = TDynArray<std::int8_t> { 0, 0 };
        info.Rotate = rotate;
        info.Value1 = 1;
        g.SetRepeatInfo(info);
        g.SetRepeatDisplayOn(true);
        ASSERT_TRUE(g.SetRepeatView(true));
        ASSERT_EQ(g.Picture().size(), QSize(20, 10));
        g.SetDrawTool(T::BuildRectBmp);
        click(2, 2);
        click(7, 2);
        click(7, 7);
        click(2, 7);
        g.HandleToolKey(TToolKey::Enter);
        EXPECT_FALSE(g.RepeatViewShown());
        EXPECT_EQ(PictureRows(g.Picture()), mapped);
        expectRefIsPicture();
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(g.Picture().size(), QSize(10, 10));
        g.SetRepeatDisplayOn(false);
    }

    g.SetDrawTool(T::BuildRectBmp);
    click(1, 1);
    click(8, 1);
    click(8, 8);
    g.HandleToolKey(TToolKey::Space);
    EXPECT_EQ(g.RegionObject()->GetPointCount(), 0);
    EXPECT_EQ(g.ToolId(), T::Rectangle);
    EXPECT_EQ(g.Picture().size(), QSize(10, 10));
}

// Delete takes back the last vertex of a shape being drawn.
TEST_F(PatternGridTools, DeleteTakesBackTheLastVertex)
{
    show(9, 7);
    g.SetDrawTool(T::BreakLine);
    click(1, 1);
    click(7, 1);
    click(7, 5);
    g.HandleToolKey(TToolKey::Delete);
    EXPECT_EQ(g.DrawObject()->GetPointCount(), 2);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(cells()[1], ".#######.");
    EXPECT_EQ(cells()[2], ".........");
}

// The clear-mottle rectangle follows the pointer and each left click cleans under it: the
// cells take the fore index, except those of the back colour.
TEST_F(PatternGridTools, ClearMottleCleansAroundTheBackColor)
{
    QImage img = NewPicture(30, 30, GreyPalette());
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            img.scanLine(y)[x] = std::uint8_t((x + y) % 3); // 0 is the back colour
    showPicture(img);
    g.SetDrawTool(T::ClearMottleByRect);
    g.MouseMove(Ev { { 25, 25 } }, false);
    click(25, 25);
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);
    // The shape (5, 5) .. (25, 25): no cell of index 1 or 2 is left inside, 0 stays.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const int v = g.Picture().constScanLine(y)[x];
            const bool inside = x >= 5 && x <= 25 && y >= 5 && y <= 25;
            if ((x + y) % 3 == 0)
                EXPECT_EQ(v, 0);
            else
                EXPECT_EQ(v, inside ? 9 : (x + y) % 3) << x << "," << y;
        }
    EXPECT_FALSE(g.ColorSet().test(0)); // the back colour is protected only while it commits
    expectRefIsPicture();
}

// Arrow keys: one cell, or a screenful with Ctrl, never past the last useful column or row.
TEST_F(PatternGridTools, ArrowKeyTable)
{
    g.SetWarpDensity(1);
    g.SetWeftDensity(1);
    show(100, 100, 9);
    g.SetClientSize(20, 20); // 20 cells fully shown, vc = vr = 21
    struct Case {
        int startLeft, startTop, key;
        bool ctrl;
        int left, top;
    };
    const Case cases[] = {
        { 0, 0, Qt::Key_Left, false, 0, 0 },
        { 0, 0, Qt::Key_Right, false, 1, 0 },
        { 0, 0, Qt::Key_Right, true, 21, 0 },
        { 3, 0, Qt::Key_Left, true, 0, 0 },
        { 0, 5, Qt::Key_Up, false, 0, 4 },
        { 0, 5, Qt::Key_Down, true, 0, 26 },
        { 75, 0, Qt::Key_Right, true, 80, 0 }, // clamped like the plain key
        { 0, 75, Qt::Key_Down, true, 0, 80 },
        { 80, 0, Qt::Key_Right, true, 80, 0 }, // the last column is shown: nothing
        { 0, 80, Qt::Key_Down, false, 0, 80 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.startLeft << "," << c.startTop << " key " << c.key);
        g.SetLeftCol(c.startLeft);
        g.SetTopRow(c.startTop);
        EXPECT_TRUE(g.HandleArrowKey(c.key, c.ctrl));
        EXPECT_EQ(g.LeftCol(), c.left);
        EXPECT_EQ(g.TopRow(), c.top);
    }
    g.SetArrowScroll(false);
    EXPECT_FALSE(g.HandleArrowKey(Qt::Key_Left, false));
}

// Moving over a cell tells the main window its colour index and its position, rows
// numbered from the bottom as the grid shows them.
TEST_F(PatternGridTools, MoveReportsTheCellAsTheGridNumbersIt)
{
    QImage img = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } });
    showPicture(img);
    g.MouseMove(Ev { { 2, 0 } }, false);
    ASSERT_GE(recorder.got.size(), 2u);
    EXPECT_TRUE((recorder.got.end()[-2] == std::array<qintptr, 3> { WM_SHOWCOLORINDEX, 3, 0 }));
    EXPECT_TRUE((recorder.got.back() == std::array<qintptr, 3> { WM_SHOWCURSORPOS, 3, 2 }));
    press(1, 1);
    EXPECT_EQ(recorder.Count(WM_EDITGROSSPOS), 1);
}

// The selection tools: what each leaves as the selection (its box), and a press inside a
// ready rectangle selection drags it.
TEST_F(PatternGridTools, SelectionToolsTable)
{
    struct Case {
        T id;
        std::vector<std::pair<TPoint, bool>> script; // (cell, press: true / drag: false)
        QRect box;
    };
    const Case cases[] = {
        { T::DefineRectangle, { { { 1, 1 }, true }, { { 4, 3 }, false } },
            QRect(QPoint(1, 1), QPoint(4, 3)) },
        { T::DefineCircle, { { { 2, 1 }, true }, { { 8, 5 }, false } }, QRect(QPoint(2, 1), QPoint(8, 5)) },
        { T::DefineHorizontalLine, { { { 3, 2 }, true } }, QRect(QPoint(0, 2), QPoint(9, 2)) },
        { T::DefineVerticalLine, { { { 3, 2 }, true } }, QRect(QPoint(3, 0), QPoint(3, 6)) },
        { T::DefineBreakPointLine, { { { 1, 1 }, true }, { { 6, 1 }, true }, { { 6, 5 }, true } },
            QRect(QPoint(1, 1), QPoint(6, 5)) },
        { T::DefineFreePointLine,
            { { { 1, 1 }, true }, { { 5, 1 }, false }, { { 5, 4 }, false }, { { 1, 4 }, false } },
            QRect(QPoint(1, 1), QPoint(5, 4)) },
    };
    show(10, 7);
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.id));
        g.SetDrawTool(T::Move);
        g.ClearSelectionRegion();
        g.SetDrawTool(c.id);
        TPoint last { -1, -1 };
        for (const auto &[cell, isPress] : c.script) {
            if (isPress) {
                if (last.X >= 0)
                    release(last.X, last.Y);
                press(cell.X, cell.Y);
            } else {
                drag(cell.X, cell.Y);
            }
            last = cell;
        }
        release(last.X, last.Y);
        EXPECT_EQ(g.SelectionRegion().boundingRect(), c.box);
    }
    // Drag the ready rectangle two cells right by a press inside it.
    g.SetDrawTool(T::DefineRectangle);
    press(1, 1);
    drag(3, 2);
    release(3, 2);
    press(2, 2);
    drag(4, 2);
    release(4, 2);
    EXPECT_EQ(g.SelectionRegion().boundingRect(), QRect(QPoint(3, 1), QPoint(5, 2)));
    EXPECT_EQ(g.UndoStore().UndoCount(), 0); // selections paint nothing
    EXPECT_EQ(cells(), Rows(7, ".........."));
}

// A fill or colour change of most of the picture is kept as a whole-picture step (its cell
// list would be larger than the picture's two files); a small one, or one the selection
// limits, as its cells. Undo brings back the picture either way.
TEST_F(PatternGridTools, LargeChangesAreKeptAsWholePictures)
{
    show(30, 20);
    g.Picture().scanLine(5)[5] = 3;
    g.RebuildDisplayBitmap();
    const Rows before = cells();
    struct Case {
        T tool;
        bool select;
        TUndoKind kind;
    };
    for (const Case &c : { Case { T::FillColor, false, TUndoKind::Image },
             Case { T::FillColor, true, TUndoKind::Cells }, Case { T::ChangeColor, false, TUndoKind::Image },
             Case { T::ChangeColor, true, TUndoKind::Cells } }) {
        SCOPED_TRACE(testing::Message() << int(c.tool) << (c.select ? " in a selection" : ""));
        g.ClearSelectionRegion();
        if (c.select) {
            g.SetDrawTool(T::DefineRectangle);
            press(2, 2);
            drag(8, 8);
            release(8, 8);
        }
        g.SetDrawTool(c.tool);
        click(3, 3);
        ASSERT_EQ(g.UndoStore().UndoCount(), 1);
        EXPECT_EQ(g.UndoStore().GetTopStep()->Kind, c.kind);
        EXPECT_EQ(cells()[0][0], c.select ? '.' : '#');
        EXPECT_EQ(cells()[3][3], '#');
        EXPECT_EQ(cells()[5][5], '3');
        expectRefIsPicture();
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(cells(), before);
        g.UndoStore().Clear();
    }
}

// The arc takes its two ends and then its middle; concentric circles a centre and one press
// per ring, round on the cloth at equal densities. Enter commits either as one step.
TEST_F(PatternGridTools, ArcsAndConcentricCircles)
{
    g.SetWarpDensity(1);
    g.SetWeftDensity(1);
    show(21, 21);
    g.SetDrawTool(T::Arc);
    click(0, 10);
    click(20, 10);
    click(10, 2);
    ASSERT_EQ(g.DrawObject()->GetPointCount(), 3);
    g.HandleToolKey(TToolKey::Enter);
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);
    EXPECT_EQ(cells()[10][0], '#');
    EXPECT_EQ(cells()[10][20], '#');
    bool bulges = false;
    for (int y = 0; y < 8; ++y)
        bulges = bulges || cells()[y].find('#') != std::string::npos;
    EXPECT_TRUE(bulges) << "the arc passes above its ends";

    ASSERT_TRUE(g.Undo());
    g.SetDrawTool(T::ConcentricCircle);
    click(10, 10);
    click(14, 10);
    click(17, 10);
    g.HandleToolKey(TToolKey::Enter);
    ASSERT_EQ(g.UndoStore().UndoCount(), 1);
    const Rows drawn = cells();
    for (const TPoint p : { TPoint { 14, 10 }, TPoint { 6, 10 }, TPoint { 10, 6 }, TPoint { 10, 14 },
             TPoint { 17, 10 }, TPoint { 3, 10 }, TPoint { 10, 3 }, TPoint { 10, 17 } })
        EXPECT_EQ(drawn[p.Y][p.X], '#') << p.X << "," << p.Y;
    EXPECT_EQ(drawn[10][10], '.');
    EXPECT_EQ(drawn[10][12], '.');
}

// A shape being drawn shows on the painted view: its cells inverted and a marker on each
// vertex, also below level 9, where the marker sits on the reduced cell that shows the
// vertex; deleting the vertices takes both away.
TEST_F(PatternGridTools, ShapeBeingDrawnIsPainted)
{
    const struct {
        int Size, Level;
    } cases[] = { { 20, 14 }, { 200, 6 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Level);
        show(c.Size, c.Size, c.Level);
        QImage blank;
        g.Paint(blank);
        g.SetDrawTool(T::BreakLine);
        const int far = c.Size / 2;
        click(2, far);
        click(far, far);
        QImage drawn;
        g.Paint(drawn);
        // The grid's cell that shows a picture cell (a reduced cell below level 9).
        const auto shown = [&](int x, int y) {
            return g.Grid().CellRect(int(Round(x * g.ScaleX())), int(Round(y * g.ScaleY())));
        };
        const TRect vertex = shown(far, far);
        const TRect between = shown(far / 2, far);
        const QPoint mid((between.Left + between.Right) / 2, (between.Top + between.Bottom) / 2);
        EXPECT_NE(drawn.pixel(mid), blank.pixel(mid)) << "the line's cells are inverted";
        // The marker's upper stroke ends next to the centre of the vertex's cell; above
        // the cell (rows the line does not cross) only the marker changes the view.
        const QPoint centre((vertex.Left + vertex.Right) / 2, (vertex.Top + vertex.Bottom) / 2);
        bool marked = false;
        for (int y = centre.y() - 6; y < vertex.Top; ++y)
            marked = marked || drawn.pixel(centre.x(), y) != blank.pixel(centre.x(), y);
        EXPECT_TRUE(marked) << centre.x() << "," << centre.y();
        g.HandleToolKey(TToolKey::Delete);
        g.HandleToolKey(TToolKey::Delete);
        g.Paint(drawn);
        EXPECT_EQ(drawn, blank);
        EXPECT_EQ(g.UndoStore().UndoCount(), 0);
    }
}

// A new fore or back colour reaches the drawing objects at once, with the pen values each
// tool's object is made with, also while a shape is being drawn; an edited palette entry
// reaches them when its index is chosen again.
TEST_F(PatternGridTools, ColorsReachTheDrawingObjects)
{
    show(10, 10);
    TPalette256 palette = g.Palette();
    palette[5] = TPaletteEntry { 200, 10, 10, 0 };
    palette[3] = TPaletteEntry { 10, 10, 200, 0 };
    g.SetPalette(palette);
    const TColor fore = PlainColor(palette[5]), back = PlainColor(palette[3]);
    struct Case {
        T id;
        TBrushStyle brush;
        bool filled;
    };
    const Case cases[] = {
        { T::Rectangle, TBrushStyle::Clear, false },
        { T::BeeLine, TBrushStyle::Clear, false },
        { T::ConcentricCircle, TBrushStyle::Clear, false },
        { T::FilledRectangle, TBrushStyle::Solid, false },
        { T::FilledCircle, TBrushStyle::Solid, false },
        { T::FilledArc, TBrushStyle::Solid, true },
        { T::ClearMottleByRect, TBrushStyle::Solid, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.id));
        g.SetDrawTool(T::Move);
        g.SetDrawTool(c.id);
        g.SetForeColorIndex(9);
        g.SetBackColorIndex(0);
        g.SetTextColorIndex(5);
        g.SetBackColorIndex(3);
        TCustomLine *o = g.DrawObject();
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->PenColor(), fore);
        EXPECT_EQ(o->BrushColor(), fore);
        EXPECT_EQ(o->PenIndex(), 5);
        EXPECT_EQ(o->BrushStyle(), c.brush);
        EXPECT_EQ(o->Filled(), c.filled);
        EXPECT_EQ(o->PenMode(), TPenMode::Copy);
    }

    // The selection's object takes the fore and the back colour.
    g.SetDrawTool(T::DefineRectangle);
    click(2, 2);
    ASSERT_NE(g.RegionObject(), nullptr);
    g.SetBackColorIndex(0);
    g.SetBackColorIndex(3);
    EXPECT_EQ(g.RegionObject()->PenColor(), fore);
    EXPECT_EQ(g.RegionObject()->BrushColor(), back);

    // A rectangle being drawn previews and commits the colour chosen meanwhile.
    g.SetDrawTool(T::Rectangle);
    press(1, 1);
    drag(4, 4);
    release(4, 4);
    g.SetTextColorIndex(9);
    EXPECT_EQ(g.DrawObject()->PenColor(), PlainColor(palette[9]));
    palette[9] = TPaletteEntry { 1, 2, 3, 0 };
    g.SetPalette(palette);
    g.SetTextColorIndex(9);
    EXPECT_EQ(g.DrawObject()->PenColor(), PlainColor(palette[9])) << "the edited entry is the one shown";
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(cells()[1], ".####.....");
}

// The selection and its outline go together: whatever takes the outline away or shortens
// it takes the selection along, so that no later edit is clipped to a selection the user
// cannot see. Each case draws a selection, does one thing, and then fills the whole
// picture with a filled rectangle, which a stale selection would clip.
TEST_F(PatternGridTools, SelectionGoesWithItsOutline)
{
    struct Case {
        const char *what;
        T selectionTool;
        std::function<void()> act;
    };
    const auto rectangle = [this] {
        press(2, 2);
        drag(5, 5);
        release(5, 5);
    };
    const auto polygon = [this] {
        click(2, 2);
        click(6, 2);
        click(6, 6);
        click(2, 6);
    };
    const Case cases[] = {
        { "a selection tool of another shape", T::DefineRectangle,
            [this] { g.SetDrawTool(T::DefineCircle); } },
        { "the quadrilateral chosen and left", T::DefineRectangle,
            [this] {
                g.SetDrawTool(T::BuildRectBmp);
                g.SetDrawTool(T::FilledRectangle);
            } },
        { "the quadrilateral after a polygon selection", T::DefineBreakPointLine,
            [this] {
                g.SetDrawTool(T::BuildRectBmp);
                g.SetDrawTool(T::FilledRectangle);
            } },
        { "Delete with a drawing tool", T::DefineRectangle,
            [this] {
                g.SetDrawTool(T::FilledRectangle);
                g.HandleToolKey(TToolKey::Delete);
            } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        show(10, 10);
        g.ClearSelectionRegion();
        g.SetDrawTool(T::Move);
        g.SetDrawTool(c.selectionTool);
        if (c.selectionTool == T::DefineRectangle)
            rectangle();
        else
            polygon();
        ASSERT_FALSE(g.SelectionRegion().isEmpty());
        c.act();
        const QRegion outline = g.RegionObject() ? g.RegionObject()->CreateRegion().ToRegion() : QRegion();
        EXPECT_EQ(g.SelectionRegion(), outline);
        g.SetDrawTool(T::FilledRectangle);
        press(0, 0);
        drag(9, 9);
        release(9, 9);
        g.HandleToolKey(TToolKey::Enter);
        EXPECT_EQ(cells(), Rows(10, "##########")) << "the fill is clipped to a selection no one sees";
        ASSERT_TRUE(g.Undo());
    }
}

// A pending shape waits for the user: a click outside the cells leaves it pending, a
// straight line is grabbed by its cells and moved like the other shapes, and Enter commits
// it where it was put.
TEST_F(PatternGridTools, PendingShapesStayAndMove)
{
    show(10, 6);
    g.SetDrawTool(T::Rectangle);
    press(1, 1);
    drag(4, 3);
    release(4, 3);
    press(-1, -1);
    release(-1, -1);
    press(12, 2);
    release(12, 2);
    ASSERT_NE(g.DrawObject(), nullptr);
    EXPECT_EQ(g.DrawObject()->GetPointCount(), 2) << "a click outside the cells took the shape away";
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(cells()[1], ".####.....");
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);

    g.SetDrawTool(T::BeeLine);
    press(5, 0);
    drag(9, 0);
    release(9, 0);
    press(7, 0); // on the line: grabbed
    drag(7, 5);
    release(7, 5);
    g.HandleToolKey(TToolKey::Enter);
    EXPECT_EQ(cells()[0], "..........") << "the line was drawn where it was first put";
    EXPECT_EQ(cells()[5], ".....#####");
    EXPECT_EQ(g.UndoStore().UndoCount(), 2);
}

// A pending filled or outlined shape is painted in the fore colour chosen before it was
// drawn, and Enter commits it in that colour.
TEST_F(PatternGridTools, PendingShapePreviewsInTheChosenColour)
{
    for (T id : { T::FilledRectangle, T::Rectangle, T::FilledCircle }) {
        SCOPED_TRACE(int(ToolIdValue(id)));
        show(10, 10, 14);
        TPalette256 palette = g.Palette();
        palette[5] = TPaletteEntry { 220, 30, 40, 0 };
        g.SetPalette(palette);
        g.SetForeColorIndex(5);
        g.SetDrawTool(T::Move);
        g.SetDrawTool(id);
        press(1, 1);
        drag(8, 8);
        release(8, 8);
        QImage shown;
        g.Paint(shown);
        const TRect cell = g.Grid().CellRect(1, 4); // on the left edge of every shape here
        const QPoint mid((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
        EXPECT_EQ(QColor(shown.pixel(mid)), QColor(220, 30, 40));
        g.HandleToolKey(TToolKey::Enter);
        EXPECT_EQ(g.Picture().constScanLine(4)[1], 5);
    }
}

// A single click with the free line paints the pressed cell, as one undo step.
TEST_F(PatternGridTools, FreeLineClickPaintsThePressedCell)
{
    show(6, 6);
    g.SetDrawTool(T::FreeLine);
    click(3, 2);
    EXPECT_EQ(cells()[2], "...#..");
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(cells()[2], "......");
}
