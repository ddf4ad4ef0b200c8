// A language switch from the main window's menu, as a user makes it with other windows
// open: the menu marks the language now shown, the status bar's fields and the open card
// viewer take the new texts at once.
#include "card/ui/cardviewerwindow.h"
#include "core/base/messages.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/ui/mainwindow.h"

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct LanguageSwitch : ::testing::Test {
    QTemporaryDir dir;
    void SetUp() override
    {
        Folders().ConfigIniPath = dir.filePath("Config.Ini");
        Folders().LanguageDir = QStringLiteral(DORWEN_SOURCE_RESOURCES) + "/Language/";
        WriteLanguageIndex(0);
        OpenLanguageFile();
    }
    void TearDown() override
    {
        WriteLanguageIndex(0);
        OpenLanguageFile();
    }
};

const char *const kLanguageActions[]
    = { "ActEnglish", "ActTraditional_Chinese", "ActSimplified_Chinese", "ActLocal_Language" };
} // namespace

TEST_F(LanguageSwitch, MenuMarksTheLanguageShown)
{
    TMainForm form;
    form.show();
    for (int chosen : { 0, 2, 1, 0 }) {
        form.Action(kLanguageActions[chosen])->trigger();
        for (int i = 0; i < 4; ++i) {
            QAction *language = form.Action(kLanguageActions[i]);
            EXPECT_TRUE(language->isCheckable()) << kLanguageActions[i];
            EXPECT_EQ(language->isChecked(), i == chosen)
                << "chosen " << chosen << ": " << kLanguageActions[i];
        }
    }
}

TEST_F(LanguageSwitch, StatusBarAndOpenViewerFollowAtOnce)
{
    TMainForm form;
    form.show();
    TFrmWenBan viewer; // a window of its own, open beside the main window
    viewer.show();
    SendCursorPos(3, 4);
    SendColorIndex(7);
    ASSERT_EQ(form.StatusPanel(3)->text(), "SinglePoint");
    ASSERT_EQ(form.StatusPanel(4)->text(), "Color Index:7");
    ASSERT_EQ(viewer.windowTitle(), "Card Viewer");

    form.Action("ActSimplified_Chinese")->trigger();
    ASSERT_EQ(Folders().LanguageFileName, "Zhongwen-Jianti.ini");
    EXPECT_EQ(form.StatusPanel(1)->text(), "X:3");
    EXPECT_EQ(form.StatusPanel(3)->text(), GetUiMessage(UiKey::String::SinglePoint));
    EXPECT_NE(form.StatusPanel(3)->text(), "SinglePoint");
    EXPECT_EQ(form.StatusPanel(4)->text(), GetUiMessage(UiKey::String::ColorIndex) + ":7");
    EXPECT_NE(GetUiMessage(UiKey::String::ColorIndex), "Color Index");
    EXPECT_EQ(viewer.windowTitle(), QString::fromUtf8("纹板显示"));
    EXPECT_EQ(viewer.Action("ActLoad")->text(), QString::fromUtf8("打开纹板"));

    form.Action("ActEnglish")->trigger();
    EXPECT_EQ(form.StatusPanel(3)->text(), "SinglePoint");
    EXPECT_EQ(viewer.windowTitle(), "Card Viewer");
}
