#include "core/base/messages.h"
#include "shell/mainstatus.h"

#include <gtest/gtest.h>

#include <functional>

TEST(StatusModel, NotificationsTable)
{
    struct Case {
        const char *name;
        int message;
        qintptr w, l;
        bool hasDocument;
        std::function<void(const TMainStatusModel &)> check;
    } cases[] = {
        { "odd cell", WM_SHOWCURSORPOS, 3, 4, true,
            [](const TMainStatusModel &m) {
                EXPECT_EQ(m.Panels[1], "X:3");
                EXPECT_EQ(m.Panels[2], "Y:4");
                EXPECT_EQ(m.Panels[3], "SinglePoint");
            } },
        { "even cell", WM_SHOWCURSORPOS, 3, 5, true,
            [](const TMainStatusModel &m) { EXPECT_EQ(m.Panels[3], "DoublePoint"); } },
        { "negative cell", WM_SHOWCURSORPOS, -1, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_EQ(m.Panels[1], "X:-1");
                EXPECT_EQ(m.Panels[3], "SinglePoint");
            } },
        { "colour index", WM_SHOWCOLORINDEX, 200, 0, true,
            [](const TMainStatusModel &m) { EXPECT_EQ(m.Panels[4], "Color Index:200"); } },
        { "undo only", WM_UNDOSTATE, 1, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.UndoEnabled);
                EXPECT_FALSE(m.RedoEnabled);
            } },
        { "undo without document", WM_UNDOSTATE, 5, 5, false,
            [](const TMainStatusModel &m) {
                EXPECT_FALSE(m.UndoEnabled);
                EXPECT_FALSE(m.RedoEnabled);
            } },
        { "edit copy", WM_EDITSTATE, 1, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.CopyEnabled);
                EXPECT_FALSE(m.PasteEnabled);
                EXPECT_FALSE(m.CutEnabled);
            } },
        { "edit paste and cut", WM_EDITSTATE, 2, 1, true,
            [](const TMainStatusModel &m) {
                EXPECT_FALSE(m.CopyEnabled);
                EXPECT_TRUE(m.PasteEnabled);
                EXPECT_TRUE(m.CutEnabled);
            } },
        { "edit cut needs exactly 1", WM_EDITSTATE, 3, 2, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.CopyEnabled && m.PasteEnabled);
                EXPECT_FALSE(m.CutEnabled);
            } },
        { "zoom 24", WM_ZOOMSTATE, 24, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_FALSE(m.ZoomInEnabled);
                EXPECT_TRUE(m.ZoomOutEnabled);
            } },
        { "zoom 9", WM_ZOOMSTATE, 9, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.ZoomInEnabled);
                EXPECT_FALSE(m.ZoomOutEnabled);
            } },
        { "zoom 12", WM_ZOOMSTATE, 12, 0, true,
            [](const TMainStatusModel &m) { EXPECT_TRUE(m.ZoomInEnabled && m.ZoomOutEnabled); } },
        { "repeat 0", WM_REPEATSTATE, 0, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_FALSE(
                    m.RepeatEnabled || m.RepeatBorderEnabled || m.RepeatChecked || m.RepeatBorderChecked);
            } },
        { "repeat 4", WM_REPEATSTATE, 4, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(
                    m.RepeatEnabled && m.RepeatBorderEnabled && m.RepeatChecked && m.RepeatBorderChecked);
            } },
        { "repeat 5", WM_REPEATSTATE, 5, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.RepeatEnabled && m.RepeatBorderEnabled);
                EXPECT_FALSE(m.RepeatChecked);
                EXPECT_TRUE(m.RepeatBorderChecked);
            } },
        { "repeat 6", WM_REPEATSTATE, 6, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.RepeatChecked);
                EXPECT_FALSE(m.RepeatBorderChecked);
            } },
        { "repeat 7", WM_REPEATSTATE, 7, 0, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.RepeatEnabled);
                EXPECT_FALSE(m.RepeatChecked || m.RepeatBorderChecked);
            } },
        { "enable 1", WM_ENABLEMAINFORM, 1, 0, true,
            [](const TMainStatusModel &m) { EXPECT_TRUE(m.MainFormEnabled); } },
        { "enable 2 disables", WM_ENABLEMAINFORM, 2, 0, true,
            [](const TMainStatusModel &m) { EXPECT_FALSE(m.MainFormEnabled); } },
        { "merge 1", WM_PATTERNMERGESTATE, 1, 0, true,
            [](const TMainStatusModel &m) { EXPECT_FALSE(m.PatternMergeEnabled); } },
        { "merge 2", WM_PATTERNMERGESTATE, 2, 0, true,
            [](const TMainStatusModel &m) { EXPECT_TRUE(m.PatternMergeEnabled); } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TMainStatusModel model;
        EXPECT_TRUE(model.Handle(TMessageEvent(c.message, c.w, c.l), c.hasDocument));
        c.check(model);
    }

    TMainStatusModel model;
    model.RepeatState(4);
    model.Handle(TMessageEvent(WM_REPEATRESET, 0, 0), true);
    EXPECT_TRUE(model.RepeatEnabled);
    EXPECT_FALSE(model.RepeatChecked || model.RepeatBorderChecked);
    model.ShowPatternSize(640, 480, 3, 6);
    EXPECT_EQ(model.Panels[5], "Warps:640 Wefts:480");
    EXPECT_EQ(model.Panels[6], "Pattern Cell Size(3*6)");
    EXPECT_FALSE(model.Handle(TMessageEvent(WM_COLORPICKED, 0, 0), true)) << "the window handles picks";
}

TEST(StatusModel, ColourPickLockAndToolButtons)
{
    TMainStatusModel m;
    struct Step {
        int kind;
        bool back, paletteCurrent;
    } steps[] = {
        { 1, false, false },
        { 2, false, true },
        { 4, true, false },
        { 1, true, false },
        { 2, true, false },
        { 3, false, true },
        { 1, false, false },
    };
    for (const Step &s : steps) {
        const auto effect = m.ColorPicked(s.kind);
        EXPECT_EQ(effect.ToBackColor, s.back) << s.kind;
        EXPECT_EQ(effect.SetPaletteCurrent, s.paletteCurrent) << s.kind;
    }
    EXPECT_EQ(TMainStatusModel::ToolButtonTag(35), 34);
    EXPECT_EQ(TMainStatusModel::ToolButtonTag(8), 8);
    EXPECT_TRUE(TMainStatusModel::BrowsersKeepSelection(39));
    EXPECT_TRUE(TMainStatusModel::BrowsersKeepSelection(40));
    EXPECT_FALSE(TMainStatusModel::BrowsersKeepSelection(8));
}

// The notifications that depend on the documents around the model: the pattern size with
// the active grid's cell size and reduced-view scale, the active-child sync with one and
// with two documents, the pen widths, the tool button, the navigator and palette follow-ups.
TEST(StatusModel, NotificationsWithTheirContext)
{
    using F = TMainStatusModel::TFollowUp;
    TMainStatusModel::TContext one;
    one.HasDocument = true;
    one.DocumentCount = 1;
    one.CellWidth = 4;
    one.CellHeight = 8;
    TMainStatusModel::TContext two = one;
    two.DocumentCount = 2;
    TMainStatusModel::TContext reduced = one;
    reduced.CellWidth = reduced.CellHeight = 1;
    reduced.ScaleX = 0.5;
    reduced.ScaleY = 0.25;
    TMainStatusModel::TContext shown = one;
    shown.NavigatorShown = true;
    TMainStatusModel::TContext spray = one;
    spray.ToolId = 35;
    TMainStatusModel::TContext weaveTool = one;
    weaveTool.ToolId = 39;

    struct Case {
        const char *name;
        int message;
        qintptr w, l;
        const TMainStatusModel::TContext &context;
        bool enabledBefore;
        std::function<void(const TMainStatusModel &)> check;
    } cases[] = {
        { "pattern size", WM_SHOWPATTERNSIZE, 5120, 65535, one, true,
            [](const TMainStatusModel &m) {
                EXPECT_EQ(m.Panels[5], "Warps:5120 Wefts:65535");
                EXPECT_EQ(m.Panels[6], "Pattern Cell Size(4*8)");
            } },
        { "pattern size reduced", WM_SHOWPATTERNSIZE, 10, 20, reduced, true,
            [](const TMainStatusModel &m) { EXPECT_EQ(m.Panels[6], "Pattern Cell Size(0.5*0.25)"); } },
        { "child opened", WM_SYNCACTIVECHILD, 1, 0, one, false,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.DocumentActionsEnabled);
                EXPECT_EQ(m.FollowUp, F::None);
            } },
        { "last child closing", WM_SYNCACTIVECHILD, 0, 0, one, true,
            [](const TMainStatusModel &m) {
                EXPECT_FALSE(m.DocumentActionsEnabled);
                EXPECT_EQ(m.FollowUp, F::LastDocumentClosing);
            } },
        { "one of two closing", WM_SYNCACTIVECHILD, 0, 0, two, true,
            [](const TMainStatusModel &m) {
                EXPECT_TRUE(m.DocumentActionsEnabled);
                EXPECT_EQ(m.FollowUp, F::None);
            } },
        { "pen width", WM_PENWIDTH, 3, 7, one, true,
            [](const TMainStatusModel &m) {
                EXPECT_EQ(m.PenHorzWidth, 3);
                EXPECT_EQ(m.PenVertWidth, 7);
            } },
        { "ClearMottleByCircle on the button of ClearMottleByRect", WM_TOOLCHANGED, 0, 0, spray, true,
            [](const TMainStatusModel &m) {
                EXPECT_EQ(m.PressedToolTag, 34);
                EXPECT_FALSE(m.KeepBrowserSelection);
            } },
        { "weave tool keeps the browsers' selection", WM_TOOLCHANGED, 0, 0, weaveTool, true,
            [](const TMainStatusModel &m) {
                EXPECT_EQ(m.PressedToolTag, 39);
                EXPECT_TRUE(m.KeepBrowserSelection);
            } },
        { "scrolled", WM_REFRESHVIEW, 0, 0, one, true,
            [](const TMainStatusModel &m) { EXPECT_EQ(m.FollowUp, F::MoveNavigatorFrame); } },
        { "picture changed, navigator hidden", WM_REFRESHVIEW, 1, 0, one, true,
            [](const TMainStatusModel &m) { EXPECT_EQ(m.FollowUp, F::None); } },
        { "picture changed, navigator shown", WM_REFRESHVIEW, 1, 0, shown, true,
            [](const TMainStatusModel &m) { EXPECT_EQ(m.FollowUp, F::ReloadNavigator); } },
        { "palette to document", WM_SYNCPALETTE, 1, 0, one, true,
            [](const TMainStatusModel &m) { EXPECT_EQ(m.FollowUp, F::PaletteToDocument); } },
        { "palette from document", WM_SYNCPALETTE, 0, 0, one, true,
            [](const TMainStatusModel &m) { EXPECT_EQ(m.FollowUp, F::PaletteFromDocument); } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TMainStatusModel model;
        model.DocumentActionsEnabled = c.enabledBefore;
        model.FollowUp = F::ReloadNavigator; // every message starts afresh
        EXPECT_TRUE(model.Handle(TMessageEvent(c.message, c.w, c.l), c.context));
        c.check(model);
    }
    // The insert/delete window's start field: before the clicked line when inserting (from
    // 0), at it when deleting (from 1).
    EXPECT_EQ(TMainStatusModel::GrossStartField(4, 9, true, false), 4);
    EXPECT_EQ(TMainStatusModel::GrossStartField(4, 9, true, true), 5);
    EXPECT_EQ(TMainStatusModel::GrossStartField(4, 9, false, false), 9);
    EXPECT_EQ(TMainStatusModel::GrossStartField(4, 9, false, true), 10);
}

// Paste follows the clipboard: something to paste, a document, and cells of a pixel or more.
TEST(StatusModel, PasteFollowsTheClipboard)
{
    EXPECT_TRUE(TMainStatusModel::PasteOffered(true, true, 9));
    EXPECT_TRUE(TMainStatusModel::PasteOffered(true, true, 24));
    EXPECT_FALSE(TMainStatusModel::PasteOffered(true, true, 8)) << "reduced view";
    EXPECT_FALSE(TMainStatusModel::PasteOffered(false, true, 12));
    EXPECT_FALSE(TMainStatusModel::PasteOffered(true, false, 12));
}
