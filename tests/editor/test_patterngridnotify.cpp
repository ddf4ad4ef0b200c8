// What the pattern grid tells the main window: palette, size and refresh after loading,
// the zoom level to the window it was given, and nothing from a grid that does not own its
// picture.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "notificationrecorder.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

} // namespace

TEST(PatternGridNotify, LoadAndZoomAreReported)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("p.bmp");
    ASSERT_TRUE(SaveBmp8File(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }), file));

    MainWindowStandIn main;
    TPatternGrid g;
    Recorder status;
    g.SetStatusWnd(&status);
    ASSERT_TRUE(g.LoadPictureFile(file));
    EXPECT_TRUE(main.recorder.Has(WM_SYNCPALETTE, 0, 0));
    EXPECT_TRUE(main.recorder.Has(WM_SHOWPATTERNSIZE, 3, 2));
    EXPECT_TRUE(main.recorder.Has(WM_REFRESHVIEW, 1, 0));

    main.recorder.got.clear();
    g.SetZoom(15);
    EXPECT_TRUE(status.Has(WM_ZOOMSTATE, 15, 0));
    EXPECT_FALSE(main.recorder.Has(WM_ZOOMSTATE, 15, 0));
    EXPECT_TRUE(main.recorder.Has(WM_UNDOSTATE, 0, 0));
    EXPECT_TRUE(main.recorder.Has(WM_SHOWPATTERNSIZE, 3, 2));

    TPatternGrid navigator;
    navigator.SetOwnsPicture(false);
    navigator.SetStatusWnd(&status);
    main.recorder.got.clear();
    status.got.clear();
    navigator.SetPicture(g.Picture());
    navigator.SetZoom(12);
    navigator.SetLeftCol(1);
    EXPECT_TRUE(main.recorder.got.empty());
    EXPECT_TRUE(status.got.empty());
}

// A zoom step tells the main window what a zoom changes, the zoom state and the cell size,
// and lets the navigator's frame follow; the document's other states stay as they were, so
// the step sends none of them, and above all does not ask the clipboard for the edit state.
TEST(PatternGridNotify, ZoomStepsReportTheZoomAndNothingOfTheDocument)
{
    struct Case {
        const char *name;
        int from;
        void (*step)(TPatternGrid &);
        int level;
    } cases[] = {
        { "in", 12, [](TPatternGrid &g) { g.ZoomIn(); }, 15 },
        { "out", 12, [](TPatternGrid &g) { g.ZoomOut(); }, 9 },
        { "in at the top", 24, [](TPatternGrid &g) { g.ZoomIn(); }, 24 },
        { "to one pixel per cell", 18, [](TPatternGrid &g) { g.ZoomTo(TPatternGrid::BaseZoomLevel); }, 9 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowStandIn main;
        Recorder status;
        TPatternGrid g;
        g.SetStatusWnd(&status);
        g.SetPicture(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }));
        g.SetSelectionRegion(QRegion(0, 0, 1, 1));
        g.SetZoom(c.from);
        main.recorder.got.clear();
        status.got.clear();
        c.step(g);
        EXPECT_EQ(g.ZoomLevel(), c.level);
        EXPECT_TRUE(status.Has(WM_ZOOMSTATE, c.level, 0));
        EXPECT_TRUE(main.recorder.Has(WM_SHOWPATTERNSIZE, 3, 2));
        EXPECT_TRUE(main.recorder.Has(WM_REFRESHVIEW, 0, 0));
        for (const auto &m : main.recorder.got)
            for (int other : { WM_EDITSTATE, WM_UNDOSTATE, WM_REPEATSTATE, WM_PATTERNMERGESTATE })
                EXPECT_NE(m[0], other) << "message " << other;
    }
}
