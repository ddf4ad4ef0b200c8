#include "core/base/messages.h"
#include "core/base/progress.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/ui/mainwindow.h"

#include "testutil.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// A main window with settings and language files in a private folder.
struct MainFormFixture : ::testing::Test {
    QTemporaryDir dir;
    void SetUp() override
    {
        Folders().ConfigIniPath = dir.filePath("Config.Ini");
        Folders().LanguageDir = dir.path() + "/";
    }
    // The window's action with a command that does nothing, so that only the state
    // notifications decide whether it is enabled.
    static QAction *handledAction(TMainForm &form, const char *name)
    {
        form.SetActionHandler(name, [] {});
        return form.Action(name);
    }
};
} // namespace

TEST_F(MainFormFixture, NotificationsUpdateStatusPanelsAndActions)
{
    TMainForm form;
    form.show();
    QAction *zoomIn = handledAction(form, "ActZoomIn");
    QAction *zoomOut = handledAction(form, "ActZoomOut");
    QAction *orgSize = handledAction(form, "ActOrgSize");
    QAction *repeat = handledAction(form, "ActRepeatDispPic");
    QAction *border = handledAction(form, "ActDispOneRepeatBorder");
    QAction *merge = handledAction(form, "ActPatternMerge");

    SendCursorPos(3, 4);
    EXPECT_EQ(form.StatusPanel(1)->text(), "X:3");
    EXPECT_EQ(form.StatusPanel(2)->text(), "Y:4");
    EXPECT_EQ(form.StatusPanel(3)->text(), "SinglePoint");
    SendColorIndex(7);
    EXPECT_EQ(form.StatusPanel(4)->text(), "Color Index:7");

    SendZoomState(&form, 24);
    EXPECT_FALSE(zoomIn->isEnabled());
    EXPECT_TRUE(zoomOut->isEnabled());
    SendZoomState(&form, 9);
    EXPECT_TRUE(zoomIn->isEnabled());
    EXPECT_FALSE(zoomOut->isEnabled());
    EXPECT_FALSE(orgSize->isEnabled());

    SendRepeatState(6);
    EXPECT_TRUE(repeat->isEnabled() && repeat->isChecked());
    EXPECT_TRUE(border->isEnabled());
    EXPECT_FALSE(border->isChecked());

    merge->setEnabled(false);
    SendPatternMergeState();
    EXPECT_TRUE(merge->isEnabled());

    SendEnableMainForm(2);
    EXPECT_FALSE(form.isEnabled());
    SendEnableMainForm(1);
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(MainFormFixture, ProgressGaugeOverTheLastPanel)
{
    {
        TMainForm form;
        form.show();
        QProgressBar *gauge = form.Gauge();
        ASSERT_NE(gauge, nullptr);
        EXPECT_TRUE(gauge->isHidden());
        ShowProgressGauge();
        EXPECT_FALSE(gauge->isHidden());
        EXPECT_EQ(gauge->value(), 0);
        QLabel *last = form.StatusPanel(6);
        EXPECT_EQ(gauge->mapToGlobal(QPoint(0, 0)), last->mapToGlobal(QPoint(0, 0)));
        EXPECT_EQ(gauge->size(), last->size());
        TProgressSteps steps(200);
        steps.step(99);
        EXPECT_EQ(gauge->value(), 49);
        steps.finish();
        EXPECT_TRUE(gauge->isHidden()) << "the gauge hides itself at 100 percent";
    }
    // With the main window gone, progress reports and notifications do nothing.
    ShowProgressGauge();
    ReportProgress(50);
    SendCursorPos(1, 1);
}

TEST_F(MainFormFixture, SwitchingLanguageChangesTheTexts)
{
    ASSERT_TRUE(WriteAll(Folders().LanguageDir + "A-English.ini", "[MainMenu]\nZoom_In=Zoom In\n"));
    ASSERT_TRUE(WriteAll(Folders().LanguageDir + "B-Other.ini",
        "[MainMenu]\nMenu_File=Fichier(&F)\nZoom_In=Agrandir\n"
        "[Tools]\nRuber=Gomme\n[String]\nApplicationName=CAO Dorwen\n"));
    TMainForm form;
    QMenu *file = form.FileMenu();
    QAction *zoomIn = handledAction(form, "ActZoomIn");
    QAction *ruber = handledAction(form, "ActRuber");
    form.ApplyLanguage();
    EXPECT_EQ(file->title(), "File(&F)");
    EXPECT_EQ(zoomIn->text(), "Zoom In");

    form.SetLanguage(1);
    EXPECT_EQ(Folders().LanguageFileName, "B-Other.ini");
    EXPECT_EQ(form.windowTitle(), "CAO Dorwen");
    EXPECT_EQ(file->title(), "Fichier(&F)");
    EXPECT_EQ(zoomIn->text(), "Agrandir");
    EXPECT_EQ(zoomIn->toolTip(), "Agrandir");
    EXPECT_EQ(ruber->text(), "Gomme");
    EXPECT_TRUE(ReadAll(Folders().ConfigIniPath).contains("Lanuage=1"));

    form.SetLanguage(2); // no third file: the built-in texts
    EXPECT_EQ(form.windowTitle(), "Dorwen CAD");
    EXPECT_EQ(zoomIn->text(), "Zoom In");
    EXPECT_EQ(ruber->text(), "Ruber");
}
