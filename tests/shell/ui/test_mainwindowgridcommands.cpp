// The main window's commands on the active grid: none runs without a document, each runs
// its own grid routine, undo brings the picture back, the zoom steps and the grid lines
// with their caption.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "../fakequestions.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "shell/mainactions.h"
#include "shell/wholepicturecommands.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>

#include <set>

namespace {
struct GridCommandsFixture : ::testing::Test {
    TFakeQuestions ask;
    std::unique_ptr<TMainForm> form;
    void SetUp() override
    {
        ResetSharedState();
        ASSERT_TRUE(InitSharedState());
        form = std::make_unique<TMainForm>();
        form->SetQuestions(&ask);
    }
    // A 5 x 3 picture whose every mirror, flip and turn differs from it.
    static QImage fixture()
    {
        return MakePicture({ { 1, 2, 0, 0, 3 }, { 4, 0, 0, 5, 0 }, { 0, 6, 0, 0, 7 } }, GreyPalette());
    }
    TMDIChild *open()
    {
        TMDIChild *child = form->NewChildFromPicture(fixture());
        if (child)
            child->PatternGrid().ClearModified();
        return child;
    }
};

// Every command that works on a document, as the table lists them.
std::vector<const char *> documentCommands()
{
    std::vector<const char *> names;
    for (const TMainActionInfo &info : MainActions())
        if (info.NeedsDocument)
            names.push_back(info.Name);
    return names;
}
} // namespace

// Without a document every document command is disabled and, even triggered directly, does
// nothing: no window, no question, no message.
TEST_F(GridCommandsFixture, NoDocumentCommandRunsWithoutADocument)
{
    for (const char *name : documentCommands()) {
        SCOPED_TRACE(name);
        QAction *action = form->Action(name);
        ASSERT_NE(action, nullptr);
        EXPECT_FALSE(action->isEnabled());
        action->trigger();
        QCoreApplication::sendPostedEvents();
        EXPECT_TRUE(form->Children().isEmpty());
        EXPECT_TRUE(ask.Asked.isEmpty());
        EXPECT_TRUE(ask.Messages.isEmpty());
    }
    // The last document closing takes the commands' enabled state with it.
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(form->Action("ActRotate90")->isEnabled());
    child->close();
    QCoreApplication::sendPostedEvents();
    for (const char *name : documentCommands())
        EXPECT_FALSE(form->Action(name)->isEnabled()) << name;
}

// Each whole-picture command runs its own grid routine (a twin grid shows what that gives)
// as one undoable step.
TEST_F(GridCommandsFixture, WholePictureCommandsRunTheirGridRoutineAsOneUndoableStep)
{
    std::set<std::vector<std::vector<int>>> results;
    for (const TWholePictureCommand &c : kWholePictureCommands) {
        // Cropping needs a selection: its own test below.
        if (std::string_view(c.Name) == "ActReduceArea")
            continue;
        SCOPED_TRACE(c.Name);
        TMDIChild *child = open();
        ASSERT_NE(child, nullptr);
        TPatternGrid &grid = child->PatternGrid();
        const auto before = PictureRows(grid.Picture());

        TPatternGrid twin;
        twin.SetPicture(grid.Picture());
        twin.SetBackColorIndex(grid.BackIndex());
        (twin.*c.Command)();
        const auto expected = PictureRows(twin.Picture());

        ASSERT_TRUE(form->Action(c.Name)->isEnabled());
        form->Action(c.Name)->trigger();
        EXPECT_EQ(PictureRows(grid.Picture()), expected);
        EXPECT_EQ(grid.ColCount(), grid.Picture().width());
        EXPECT_EQ(grid.RowCount(), grid.Picture().height());
        results.insert(expected);
        // One step: undo brings the picture back whole, redo does it again.
        if (expected != before) {
            ASSERT_TRUE(form->Action("ActUndo")->isEnabled());
            form->Action("ActUndo")->trigger();
            EXPECT_EQ(PictureRows(grid.Picture()), before);
            EXPECT_EQ(grid.ColCount(), 5);
            EXPECT_FALSE(form->Action("ActUndo")->isEnabled());
            ASSERT_TRUE(form->Action("ActRedo")->isEnabled());
            form->Action("ActRedo")->trigger();
            EXPECT_EQ(PictureRows(grid.Picture()), expected);
        }
        EXPECT_TRUE(ask.Messages.isEmpty());
        grid.ClearModified();
        child->close();
        QCoreApplication::sendPostedEvents();
    }
    // No two commands are wired to the same routine by mistake (jump start and remove
    // blank may leave this picture as a mirror leaves it, so compare the turning ones).
    EXPECT_GE(results.size(), 10u);
}

// Zoom in and out by three levels within 9 .. 24, one pixel per cell, the level before;
// the zoom limits disable the actions that would pass them.
TEST_F(GridCommandsFixture, ZoomStepsAndTheirLimits)
{
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    form->Action("ActOrgSize")->trigger();
    EXPECT_EQ(grid.ZoomLevel(), 9);
    EXPECT_FALSE(form->Action("ActZoomOut")->isEnabled());
    EXPECT_FALSE(form->Action("ActOrgSize")->isEnabled());
    form->Action("ActZoomIn")->trigger();
    EXPECT_EQ(grid.ZoomLevel(), 12);
    EXPECT_TRUE(form->Action("ActZoomOut")->isEnabled());
    for (int i = 0; i < 5; ++i)
        form->Action("ActZoomIn")->trigger();
    EXPECT_EQ(grid.ZoomLevel(), 24);
    EXPECT_FALSE(form->Action("ActZoomIn")->isEnabled());
    form->Action("ActZoomOut")->trigger();
    EXPECT_EQ(grid.ZoomLevel(), 21);
    EXPECT_TRUE(form->Action("ActZoomIn")->isEnabled());
    form->Action("ActOldSize")->trigger();
    EXPECT_EQ(grid.ZoomLevel(), 24);
    form->Action("ActOldSize")->trigger();
    EXPECT_EQ(grid.ZoomLevel(), 21);
    grid.ClearModified();
}

// Grid lines on and off, the caption saying what the command will do; at one pixel per cell
// the menu offers no grid lines.
TEST_F(GridCommandsFixture, GridLinesFollowTheCommandAndTheCaptionFollowsThem)
{
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    grid.SetZoom(12);
    QMenu *patternMenu = form->menuBar()->findChild<QMenu *>("Mnu_Pattern");
    ASSERT_NE(patternMenu, nullptr);
    Q_EMIT patternMenu->aboutToShow();
    QAction *gridLine = form->Action("ActGridLine");
    ASSERT_EQ(grid.GridLineWidth(), 1);
    EXPECT_TRUE(gridLine->isEnabled());
    EXPECT_EQ(gridLine->text(), GetUiMessage(UiKey::String::HideGridLine));
    gridLine->trigger();
    EXPECT_EQ(grid.GridLineWidth(), 0);
    EXPECT_EQ(gridLine->text(), GetUiMessage(UiKey::String::DisplayGridLine));
    gridLine->trigger();
    EXPECT_EQ(grid.GridLineWidth(), 1);
    EXPECT_EQ(gridLine->text(), GetUiMessage(UiKey::String::HideGridLine));

    grid.SetZoom(9);
    Q_EMIT patternMenu->aboutToShow();
    EXPECT_FALSE(gridLine->isEnabled());
    EXPECT_EQ(gridLine->text(), GetUiMessage(UiKey::String::DisplayGridLine));
    grid.SetZoom(10);
    Q_EMIT patternMenu->aboutToShow();
    EXPECT_TRUE(gridLine->isEnabled());
    grid.ClearModified();
}

// Crop to the selection: offered only while there is a selection.
TEST_F(GridCommandsFixture, ReduceToAreaFollowsTheSelection)
{
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    form->SetDocumentActionHandler("ActFilledRGN", [](TMDIChild &) {});
    QMenu *patternMenu = form->menuBar()->findChild<QMenu *>("Mnu_Pattern");
    Q_EMIT patternMenu->aboutToShow();
    EXPECT_FALSE(form->Action("ActReduceArea")->isEnabled());
    EXPECT_FALSE(form->Action("ActFilledRGN")->isEnabled());
    grid.SetSelectionRegion(QRegion(1, 0, 2, 2));
    Q_EMIT patternMenu->aboutToShow();
    ASSERT_TRUE(form->Action("ActReduceArea")->isEnabled());
    EXPECT_TRUE(form->Action("ActFilledRGN")->isEnabled());
    form->Action("ActReduceArea")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), (std::vector<std::vector<int>> { { 2, 0 }, { 0, 0 } }));
    grid.ClearModified();
}

// The colour-change hint is a check mark kept in the settings.
TEST_F(GridCommandsFixture, ColorChangeHintIsAKeptSetting)
{
    QAction *hint = form->Action("ActChangeColorHint");
    ASSERT_TRUE(hint->isEnabled());
    const bool before = StartSettings().TileWeaveParam.ChangeColorHint;
    hint->trigger();
    EXPECT_EQ(hint->isChecked(), !before);
    EXPECT_EQ(StartSettings().TileWeaveParam.ChangeColorHint, !before);
    hint->trigger();
    EXPECT_EQ(StartSettings().TileWeaveParam.ChangeColorHint, before);
}

// Paste is offered when the clipboard gets a picture while a document is shown at one pixel
// per cell or more, and withdrawn when it gets text.
TEST_F(GridCommandsFixture, PasteFollowsTheClipboard)
{
    form->SetDocumentActionHandler("ActPaste", [](TMDIChild &) {});
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    child->PatternGrid().SetZoom(12);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setImage(fixture());
    EXPECT_TRUE(form->Action("ActPaste")->isEnabled());
    clipboard->setText("no picture");
    EXPECT_FALSE(form->Action("ActPaste")->isEnabled());
    child->PatternGrid().SetZoom(8);
    clipboard->setImage(fixture());
    EXPECT_FALSE(form->Action("ActPaste")->isEnabled()) << "reduced view";
    child->PatternGrid().ClearModified();
}

// The flash command: the window is disabled while the fore colour blinks and enabled when
// the flash ends; the document's palette is untouched.
TEST_F(GridCommandsFixture, FlashDisablesTheWindowUntilItEnds)
{
    StartSettings().FlashFrequence = 20;
    StartSettings().FlashTime = 0.1; // 6 ticks
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    grid.SetForeColorIndex(2);
    const TPalette256 palette = grid.Palette();
    form->Action("ActFlash")->trigger();
    EXPECT_TRUE(grid.Flashing());
    EXPECT_FALSE(form->isEnabled());
    QElapsedTimer clock;
    clock.start();
    while (grid.Flashing() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(grid.Flashing());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(grid.Palette(), palette);
    grid.ClearModified();
}
