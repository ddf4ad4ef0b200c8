#include "core/messages.h"
#include "core/sharedstate.h"
#include "core/statusmodel.h"

#include <QObject>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

namespace {
// Records every notification it receives, with the pointed-to data read during the send.
class Recorder : public QObject {
public:
    std::vector<std::tuple<int, qintptr, qintptr>> got;
    TColorPickInfo pick;
    QString fileName;
    bool event(QEvent *e) override
    {
        if (!TMessageEvent::IsNotification(e->type()))
            return QObject::event(e);
        auto *m = static_cast<TMessageEvent *>(e);
        got.emplace_back(m->Message(), m->WParam, m->LParam);
        if (m->ColorPickInfo())
            pick = *m->ColorPickInfo();
        if (m->FileName())
            fileName = *m->FileName();
        return true;
    }
};

struct Sent {
    const char *name;
    std::function<void()> send;
    int message;
    qintptr w, l;
};

std::vector<Sent> allSenders()
{
    return {
        {"cursor", [] { SendCursorPos(3, 4); }, 1125, 3, 4},
        {"colour index", [] { SendColorIndex(17); }, 1126, 17, 0},
        {"undo", [] { SendUndoState(2, 0); }, 1128, 2, 0},
        {"edit", [] { SendEditState(3, 1); }, 1129, 3, 1},
        {"child", [] { SendChildState(1); }, 1131, 1, 0},
        {"size", [] { SendPatternSize(640, 480); }, 1132, 640, 480},
        {"palette to child", [] { SendPaletteToChild(); }, 1133, 1, 0},
        {"palette from child", [] { SendPaletteFromChild(); }, 1133, 0, 0},
        {"refresh", [] { SendRefreshView(1); }, 1134, 1, 0},
        {"repeat", [] { SendRepeatState(5); }, 1135, 5, 0},
        {"pen", [] { SendPenWidth(); }, 1138, 3, 7},
        {"tool", [] { SendToolChanged(); }, 1139, 0, 0},
        {"enable", [] { SendEnableMainForm(2); }, 1140, 2, 0},
        {"merge", [] { SendPatternMergeState(); }, 1141, 2, 0},
        {"gross pos: column then row", [] { SendGrossPos(12, 34); }, 1142, 12, 34},
    };
}
} // namespace

TEST(Messages, SendersReachTheMainWindowWithTheirNumbersAndValues)
{
    Recorder main;
    MainFormHandle = &main;
    HorzWidth = 3;
    VertWidth = 7;
    for (const Sent &s : allSenders()) {
        main.got.clear();
        s.send();
        ASSERT_EQ(main.got.size(), 1u) << s.name;
        EXPECT_EQ(main.got[0], std::make_tuple(s.message, s.w, s.l)) << s.name;
    }

    main.got.clear();
    SendColorPicked(0x00FF00, TColorPickInfo{0x00FF00, 9, 4});
    ASSERT_EQ(main.got.size(), 1u);
    EXPECT_EQ(std::get<0>(main.got[0]), WM_COLORPICKED);
    EXPECT_EQ(std::get<1>(main.got[0]), 0x00FF00);
    EXPECT_EQ(main.pick.Index, 9);
    EXPECT_EQ(main.pick.Kind, 4);

    SendWeaveFileSaved("/w/satin.ovw");
    EXPECT_EQ(main.fileName, "/w/satin.ovw");

    // The zoom level goes to the grid's own target window.
    Recorder other;
    main.got.clear();
    SendZoomState(&other, 24);
    EXPECT_TRUE(main.got.empty());
    ASSERT_EQ(other.got.size(), 1u);
    EXPECT_EQ(other.got[0], std::make_tuple(WM_ZOOMSTATE, qintptr(24), qintptr(0)));
    MainFormHandle = nullptr;
    HorzWidth = VertWidth = 1;
}

TEST(Messages, SendersDoNothingWithoutAMainWindow)
{
    MainFormHandle = nullptr;
    for (const Sent &s : allSenders())
        s.send();
    SendColorPicked(1, TColorPickInfo{});
    SendWeaveFileSaved("x");
    SendZoomState(nullptr, 9);
    SUCCEED();
}

TEST(StatusModel, NotificationsTable)
{
    struct Case {
        const char *name;
        int message;
        qintptr w, l;
        bool hasDocument;
        std::function<void(const TMainStatusModel &)> check;
    } cases[] = {
        {"odd cell", WM_SHOWCURSORPOS, 3, 4, true,
         [](const TMainStatusModel &m) {
             EXPECT_EQ(m.Panels[1], "X:3");
             EXPECT_EQ(m.Panels[2], "Y:4");
             EXPECT_EQ(m.Panels[3], "SinglePoint");
         }},
        {"even cell", WM_SHOWCURSORPOS, 3, 5, true, [](const TMainStatusModel &m) { EXPECT_EQ(m.Panels[3], "DoublePoint"); }},
        {"negative cell", WM_SHOWCURSORPOS, -1, 0, true, [](const TMainStatusModel &m) {
             EXPECT_EQ(m.Panels[1], "X:-1");
             EXPECT_EQ(m.Panels[3], "SinglePoint");
         }},
        {"colour index", WM_SHOWCOLORINDEX, 200, 0, true, [](const TMainStatusModel &m) { EXPECT_EQ(m.Panels[4], "Color Index:200"); }},
        {"undo only", WM_UNDOSTATE, 1, 0, true, [](const TMainStatusModel &m) {
             EXPECT_TRUE(m.UndoEnabled);
             EXPECT_FALSE(m.RedoEnabled);
         }},
        {"undo without document", WM_UNDOSTATE, 5, 5, false, [](const TMainStatusModel &m) {
             EXPECT_FALSE(m.UndoEnabled);
             EXPECT_FALSE(m.RedoEnabled);
         }},
        {"edit copy", WM_EDITSTATE, 1, 0, true, [](const TMainStatusModel &m) {
             EXPECT_TRUE(m.CopyEnabled);
             EXPECT_FALSE(m.PasteEnabled);
             EXPECT_FALSE(m.CutEnabled);
         }},
        {"edit paste and cut", WM_EDITSTATE, 2, 1, true, [](const TMainStatusModel &m) {
             EXPECT_FALSE(m.CopyEnabled);
             EXPECT_TRUE(m.PasteEnabled);
             EXPECT_TRUE(m.CutEnabled);
         }},
        {"edit cut needs exactly 1", WM_EDITSTATE, 3, 2, true, [](const TMainStatusModel &m) {
             EXPECT_TRUE(m.CopyEnabled && m.PasteEnabled);
             EXPECT_FALSE(m.CutEnabled);
         }},
        {"zoom 24", WM_ZOOMSTATE, 24, 0, true, [](const TMainStatusModel &m) {
             EXPECT_FALSE(m.ZoomInEnabled);
             EXPECT_TRUE(m.ZoomOutEnabled);
         }},
        {"zoom 9", WM_ZOOMSTATE, 9, 0, true, [](const TMainStatusModel &m) {
             EXPECT_TRUE(m.ZoomInEnabled);
             EXPECT_FALSE(m.ZoomOutEnabled);
         }},
        {"zoom 12", WM_ZOOMSTATE, 12, 0, true, [](const TMainStatusModel &m) { EXPECT_TRUE(m.ZoomInEnabled && m.ZoomOutEnabled); }},
        {"repeat 0", WM_REPEATSTATE, 0, 0, true, [](const TMainStatusModel &m) {
             EXPECT_FALSE(m.RepeatEnabled || m.RepeatBorderEnabled || m.RepeatChecked || m.RepeatBorderChecked);
         }},
        {"repeat 4", WM_REPEATSTATE, 4, 0, true, [](const TMainStatusModel &m) {
             EXPECT_TRUE(m.RepeatEnabled && m.RepeatBorderEnabled && m.RepeatChecked && m.RepeatBorderChecked);
         }},
        {"repeat 5", WM_REPEATSTATE, 5, 0, true, [](const TMainStatusModel &m) {
             EXPECT_TRUE(m.RepeatEnabled && m.RepeatBorderEnabled);
             EXPECT_FALSE(m.RepeatChecked);
             EXPECT_TRUE(m.RepeatBorderChecked);
         }},
        {"repeat 6", WM_REPEATSTATE, 6, 0, true, [](const TMainStatusModel &m) {
             EXPECT_TRUE(m.RepeatChecked);
             EXPECT_FALSE(m.RepeatBorderChecked);
         }},
        {"repeat 7", WM_REPEATSTATE, 7, 0, true, [](const TMainStatusModel &m) {
             EXPECT_TRUE(m.RepeatEnabled);
             EXPECT_FALSE(m.RepeatChecked || m.RepeatBorderChecked);
         }},
        {"enable 1", WM_ENABLEMAINFORM, 1, 0, true, [](const TMainStatusModel &m) { EXPECT_TRUE(m.MainFormEnabled); }},
        {"enable 2 disables", WM_ENABLEMAINFORM, 2, 0, true, [](const TMainStatusModel &m) { EXPECT_FALSE(m.MainFormEnabled); }},
        {"merge 1", WM_PATTERNMERGESTATE, 1, 0, true, [](const TMainStatusModel &m) { EXPECT_FALSE(m.PatternMergeEnabled); }},
        {"merge 2", WM_PATTERNMERGESTATE, 2, 0, true, [](const TMainStatusModel &m) { EXPECT_TRUE(m.PatternMergeEnabled); }},
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
        {1, false, false}, {2, false, true}, {4, true, false}, {1, true, false},
        {2, true, false},  {3, false, true}, {1, false, false},
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
