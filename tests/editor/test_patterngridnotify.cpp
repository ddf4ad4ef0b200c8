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
