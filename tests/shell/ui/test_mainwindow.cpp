#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/ui/mainwindow.h"

#include <QFile>
#include <QMdiArea>
#include <QMenu>

#include <gtest/gtest.h>

TEST(MainForm, FrameWithDocumentAreaBecomesTheNotificationTarget)
{
    {
        TMainForm form;
        form.show();
        EXPECT_EQ(form.objectName(), QStringLiteral("TMainForm"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Dorwen CAD"));
        ASSERT_NE(form.mdiArea(), nullptr);
        EXPECT_EQ(form.centralWidget(), form.mdiArea());
        EXPECT_EQ(Hooks().MainFormHandle, &form);
    }
    EXPECT_EQ(Hooks().MainFormHandle, nullptr) << "no notification goes to a closed main window";
}

// The steps the palette bar and the library browsers add run in the creation's order: the
// palette bar once the texts, the recent-file items and the settings are there but before
// the window is the notification target; the weave browser, then the pattern browser,
// once it is; the swatches last.
TEST(MainForm, StartupStepsRunInTheCreationsOrder)
{
    ResetSharedState();
    ASSERT_TRUE(InitSharedState());
    QFile::remove(Folders().ConfigIniPath);
    StartSettings().GrossOption.Warp = -1; // read again at creation
    QStringList order;
    TMainFormStartupSteps steps;
    steps.SetupPaletteBar = [&](TMainForm &form) {
        order << "palette bar";
        EXPECT_EQ(form.windowTitle(), GetUiMessage(UiKey::String::ApplicationName));
        EXPECT_FALSE(form.FileMenu()->title().isEmpty()) << "texts applied first";
        EXPECT_EQ(StartSettings().GrossOption.Warp, TGrossOption {}.Warp) << "settings read before";
        EXPECT_EQ(Hooks().MainFormHandle, nullptr) << "not yet the notification target";
    };
    steps.FillWeaveLibrary = [&](TMainForm &form) {
        order << "weave library";
        EXPECT_EQ(Hooks().MainFormHandle, &form);
    };
    steps.FillPatternLibrary = [&](TMainForm &form) {
        order << "pattern library";
        EXPECT_EQ(Hooks().MainFormHandle, &form);
    };
    steps.ShowPaletteSwatches = [&](TMainForm &) { order << "swatches"; };
    {
        TMainForm form(nullptr, steps);
        EXPECT_EQ(order, (QStringList { "palette bar", "weave library", "pattern library", "swatches" }));
    }
    // An empty step is skipped (the palette bar has none of its own yet).
    TMainForm plain;
    EXPECT_EQ(Hooks().MainFormHandle, &plain);
}
