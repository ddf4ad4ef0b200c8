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
    EXPECT_FALSE(model.Handle(TMessageEvent(WM_SYNCPALETTE, 0, 0), true));
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
