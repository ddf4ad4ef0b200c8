// What a grid tells the main window about itself in one go: edit state (selection and
// clipboard), undo counts, zoom (to its status window), repeat and pattern-merge state;
// a navigator grid tells nothing.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "notificationrecorder.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

TEST(PatternGridMainNotify, NotifyMainWindowSendsTheWholeState)
{
    MainWindowStandIn main;
    Recorder status;
    TPatternGrid grid;
    grid.SetStatusWnd(&status);
    grid.SetPicture(MakePicture({ { 1, 2 }, { 3, 4 } }, GreyPalette()));
    grid.SetZoom(15);
    struct Case {
        bool selection, picture;
        qintptr flags, cut;
    } cases[] = {
        { false, false, 0, 0 },
        { true, false, 1, 1 },
        { false, true, 2, 0 },
        { true, true, 3, 1 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags);
        if (c.picture)
            QGuiApplication::clipboard()->setImage(MakePicture({ { 1 } }, GreyPalette()));
        else
            QGuiApplication::clipboard()->setText("text");
        if (c.selection)
            grid.SetSelectionRegion(QRegion(0, 0, 1, 1));
        else
            grid.ClearSelectionRegion();
        main.recorder.got.clear();
        status.got.clear();
        grid.NotifyMainWindow();
        EXPECT_TRUE(main.recorder.Has(WM_EDITSTATE, c.flags, c.cut));
        EXPECT_TRUE(main.recorder.Has(WM_UNDOSTATE, 0, 0));
        EXPECT_TRUE(main.recorder.Has(WM_REPEATSTATE, grid.RepeatState(), 0));
        EXPECT_TRUE(main.recorder.Has(WM_PATTERNMERGESTATE, 2, 0));
        EXPECT_TRUE(status.Has(WM_ZOOMSTATE, 15, 0));
    }

    TPatternGrid navigator;
    navigator.ShowPictureOf(&grid);
    main.recorder.got.clear();
    navigator.NotifyMainWindow();
    navigator.NotifyEditState();
    navigator.NotifyUndoState();
    EXPECT_TRUE(main.recorder.got.empty());
}
