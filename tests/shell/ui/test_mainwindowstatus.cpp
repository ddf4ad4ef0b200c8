#include "core/base/messages.h"
#include "core/base/progress.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "../fakequestions.h"

#include "testutil.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
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
    EXPECT_EQ(ruber->text(), "Rubber");
}

// The notifications about documents: the pattern size with the active grid's cell size,
// colour picks on the active grid (the background lock included), the closing of one of
// two documents and of the last, and what goes on to the windows around the documents.
TEST_F(MainFormFixture, DocumentNotificationsReachTheActiveGridAndTheListeners)
{
    ASSERT_TRUE(InitSharedState());
    TFakeQuestions ask;
    TMainForm form;
    form.SetQuestions(&ask);
    QSignalSpy closing(&form, &TMainForm::LastDocumentClosing);
    TMDIChild *first = form.OpenChild(QString(), true);
    TMDIChild *second = form.OpenChild(QString(), true);
    ASSERT_TRUE(first && second);
    QSignalSpy fronts(&form, &TMainForm::ActiveChildChanged);
    form.mdiArea()->setActiveSubWindow(first);
    form.mdiArea()->setActiveSubWindow(second);
    ASSERT_GE(fronts.size(), 2);
    EXPECT_EQ(fronts.last().at(0).value<TMDIChild *>(), second);
    EXPECT_EQ(fronts.at(fronts.size() - 2).at(0).value<TMDIChild *>(), first);
    TPatternGrid &grid = form.ActiveChild()->PatternGrid();
    grid.SetZoom(12);
    SendPatternSize(300, 40);
    EXPECT_EQ(form.StatusPanel(5)->text(), "Warps:300 Wefts:40");
    EXPECT_EQ(form.StatusPanel(6)->text(),
        QString("Pattern Cell Size(%1*%2)").arg(grid.DefaultColWidth()).arg(grid.DefaultRowHeight()));

    QSignalSpy picked(&form, &TMainForm::ColorPicked);
    const auto pick = [](int index, int kind) { SendColorPicked(0, TColorPickInfo { 0, index, kind }); };
    pick(5, 1);
    EXPECT_EQ(grid.TextIndex(), 5);
    EXPECT_EQ(grid.ForeIndex(), 5);
    pick(9, 4); // a right click on the palette bar: picks go to the background
    EXPECT_EQ(grid.BackIndex(), 9);
    pick(11, 1);
    EXPECT_EQ(grid.BackIndex(), 11);
    EXPECT_EQ(grid.TextIndex(), 5);
    pick(12, 3); // a left click: the foreground again
    EXPECT_EQ(grid.TextIndex(), 12);
    EXPECT_EQ(grid.BackIndex(), 11);
    ASSERT_EQ(picked.size(), 4);
    EXPECT_EQ(picked.last().at(0).toInt(), 12);

    QSignalSpy saved(&form, &TMainForm::WeaveFileSaved);
    QSignalSpy gross(&form, &TMainForm::GrossPosClicked);
    QSignalSpy pens(&form, &TMainForm::PenWidthChanged);
    QSignalSpy tools(&form, &TMainForm::ToolChanged);
    SendWeaveFileSaved("/w/a.wve");
    SendGrossPos(3, 4);
    RunState().HorzWidth = 2;
    RunState().VertWidth = 6;
    SendPenWidth();
    RunState().CurrentToolId = TToolId(35);
    SendToolChanged();
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved.at(0).at(0).toString(), "/w/a.wve");
    ASSERT_EQ(gross.size(), 1);
    EXPECT_EQ(gross.at(0).at(1).toInt(), 4);
    ASSERT_EQ(pens.size(), 1);
    EXPECT_EQ(pens.at(0).at(0).toInt(), 2);
    EXPECT_EQ(pens.at(0).at(1).toInt(), 6);
    ASSERT_EQ(tools.size(), 1);
    EXPECT_EQ(tools.at(0).at(0).toInt(), 34);
    RunState().CurrentToolId = TToolId::Move;

    // One of two closing keeps the document commands; the last one takes them.
    handledAction(form, "ActZoomIn");
    form.SetDocumentActionHandler("ActRotate90", [](TMDIChild &) {});
    first->PatternGrid().ClearModified();
    second->PatternGrid().ClearModified();
    second->close();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(form.Action("ActRotate90")->isEnabled());
    EXPECT_EQ(closing.size(), 0);
    first->close();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(form.Action("ActRotate90")->isEnabled());
    EXPECT_EQ(closing.size(), 1);
}
