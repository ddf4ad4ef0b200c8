// The colour flash: the fore colour blinks white and black for the set time, the main
// window disabled meanwhile; the palette and the picture are never written.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "notificationrecorder.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {
struct FlashFixture : ::testing::Test {
    MainWindowStandIn main;
    TPatternGrid grid;
    void SetUp() override
    {
        grid.SetPicture(MakePicture({ { 1, 2 }, { 2, 1 } }, GreyPalette()));
        grid.SetForeColorIndex(2);
    }
    void TearDown() override
    {
        StartSettings().FlashFrequence = 500;
        StartSettings().FlashTime = 5.0;
    }
    int enableMessages(qintptr value) const
    {
        int n = 0;
        for (const auto &g : main.recorder.got)
            n += g[0] == WM_ENABLEMAINFORM && g[1] == value;
        return n;
    }
};
} // namespace

// 500 ms for 5 s gives 11 ticks, 300 ms for 1 s gives 4 (the flash ends at the tick whose
// time passes the set time); white, black, white... then the colour as it was.
TEST_F(FlashFixture, TicksBlinkForTheSetTimeAndTouchNothing)
{
    struct Case {
        int frequence;
        double time;
        int ticks;
    } cases[] = { { 500, 5.0, 11 }, { 300, 1.0, 4 }, { 50, 60.0, 1201 } };
    const QRgb grey = grid.PaintedColor(2);
    const TPalette256 palette = grid.Palette();
    const QList<QRgb> table = grid.Picture().colorTable();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ticks);
        StartSettings().FlashFrequence = c.frequence;
        StartSettings().FlashTime = c.time;
        main.recorder.got.clear();
        grid.StartFlash(0);
        ASSERT_TRUE(grid.Flashing());
        EXPECT_EQ(enableMessages(0), 1) << "the main window is disabled";
        int ticks = 0;
        bool ended = false;
        while (!ended && ticks < 100000) {
            ended = grid.FlashTick();
            ++ticks;
            if (!ended) {
                EXPECT_EQ(grid.PaintedColor(2), ticks % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
                EXPECT_EQ(grid.PaintedColor(1), grid.PaintedColor(1)) << "other colours stay";
                EXPECT_EQ(enableMessages(1), 0);
            }
        }
        EXPECT_EQ(ticks, c.ticks);
        EXPECT_FALSE(grid.Flashing());
        EXPECT_EQ(grid.PaintedColor(2), grey);
        EXPECT_EQ(enableMessages(1), 1) << "enabled again";
        EXPECT_EQ(grid.Palette(), palette);
        EXPECT_EQ(grid.Picture().colorTable(), table);
        EXPECT_FALSE(grid.FlashTick()) << "no flash, no tick";
    }
}

// A start during a flash is ignored (it would come back to the blink colour); the colour
// that blinks is the one chosen at the start, even when the fore colour changes; a stop
// without a flash sends nothing.
TEST_F(FlashFixture, StartDuringAFlashAndStopWithoutOne)
{
    const QRgb grey2 = grid.PaintedColor(2);
    grid.StopFlash();
    EXPECT_TRUE(main.recorder.got.empty());
    grid.StartFlash(1);
    grid.FlashTick();
    grid.SetForeColorIndex(1);
    grid.StartFlash(0);
    EXPECT_EQ(grid.FlashTag(), 1);
    EXPECT_EQ(grid.FlashIndex(), 2);
    EXPECT_EQ(enableMessages(0), 1);
    grid.StopFlash();
    EXPECT_FALSE(grid.Flashing());
    EXPECT_EQ(grid.PaintedColor(2), grey2);
    EXPECT_EQ(enableMessages(1), 1);
    grid.StopFlash();
    EXPECT_EQ(enableMessages(1), 1);
}

// The screen shows the blink: the cells of the flashed index are painted white.
TEST_F(FlashFixture, PaintShowsTheBlink)
{
    grid.SetZoom(9);
    grid.SetClientSize(2, 2);
    QImage before, during;
    grid.Paint(before);
    grid.StartFlash(0);
    grid.FlashTick();
    grid.Paint(during);
    EXPECT_EQ(during.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(during.pixel(0, 0), before.pixel(0, 0));
    grid.StopFlash();
}
