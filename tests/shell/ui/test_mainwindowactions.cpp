// The main window's actions as the table gives them: every action in its menu, the enabled
// states of commands, document commands, inert actions and actions still waiting for a
// command.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "../fakequestions.h"
#include "core/settings/sharedstate.h"
#include "shell/mainactions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace {
struct ActionsFixture : ::testing::Test {
    TFakeQuestions ask;
    std::unique_ptr<TMainForm> form;
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        form = std::make_unique<TMainForm>();
        form->SetQuestions(&ask);
    }
};

// The menu of the menu bar that holds the action (the fly-out menus of the tool bar's
// buttons are not menus of the menu bar).
QMenu *menuOf(QAction *action)
{
    for (QObject *w : action->associatedObjects())
        if (auto *menu = qobject_cast<QMenu *>(w); menu && !qobject_cast<QToolButton *>(menu->parent()))
            return menu;
    return nullptr;
}
} // namespace

TEST_F(ActionsFixture, EveryActionOfTheTableSitsInItsMenu)
{
    QStringList barTitles;
    for (QAction *a : form->menuBar()->actions())
        barTitles << a->menu()->objectName();
    EXPECT_EQ(barTitles,
        QStringList({ "Mnu_File", "Mnu_Edit", "Mnu_Pattern", "Mnu_Picture", "Mnu_Technology", "Mnu_Output",
            "Mnu_Window", "Mnu_Help" }));
    for (const TMainActionInfo &info : MainActions()) {
        SCOPED_TRACE(info.Name);
        QAction *action = form->Action(info.Name);
        ASSERT_NE(action, nullptr);
        QMenu *menu = menuOf(action);
        const TMainMenuInfo *expected = FindMainMenu(info.Menu);
        if (std::string_view(info.Name) == "ActLanguage") {
            ASSERT_NE(action->menu(), nullptr);
            EXPECT_EQ(action->menu()->objectName(), "ActLanguage");
            EXPECT_FALSE(action->menu()->title().isEmpty());
        } else if (expected) {
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(menu->objectName(), QLatin1String(expected->Name));
            EXPECT_FALSE(action->text().isEmpty()) << "every menu item has a caption";
        } else {
            EXPECT_EQ(menu, nullptr) << "tool and unplaced actions are in no menu";
        }
    }
    EXPECT_EQ(form->Action("NoSuchAction"), nullptr);
}

// The table is the one list of what is built: the real window gives every Built row exactly
// one command, registered as the row says (on the document or not), and no Planned or Inert
// row any. A planned action stays disabled, with a document open too; an inert one is shown
// enabled.
TEST_F(ActionsFixture, TheWindowsCommandsAreTheTablesBuiltRows)
{
    for (const TMainActionInfo &info : MainActions()) {
        SCOPED_TRACE(info.Name);
        const TMainForm::TActionCommandInfo command = form->ActionCommand(info.Name);
        if (info.Status == TActionStatus::Built) {
            EXPECT_EQ(command.Commands, 1);
            EXPECT_EQ(command.NeedsDocument, info.NeedsDocument);
        } else {
            EXPECT_EQ(command.Commands, 0);
        }
    }
    TMDIChild *child = form->OpenChild(QString(), true);
    ASSERT_NE(child, nullptr);
    for (const TMainActionInfo &info : MainActions()) {
        SCOPED_TRACE(info.Name);
        QAction *action = form->Action(info.Name);
        if (info.Status == TActionStatus::Planned) {
            EXPECT_FALSE(action->isEnabled());
        } else if (info.Status == TActionStatus::Inert && !action->menu()) {
            EXPECT_TRUE(action->isEnabled());
        }
    }
    child->PatternGrid().ClearModified();
}

TEST_F(ActionsFixture, EnabledStatesFollowCommandsAndDocuments)
{
    // Inert: shown enabled, does nothing. Waiting for a command: disabled.
    EXPECT_TRUE(form->Action("ActFloatCheck")->isEnabled());
    const auto planned = std::find_if(MainActions().begin(), MainActions().end(),
        [](const TMainActionInfo &info) { return info.Status == TActionStatus::Planned; });
    if (planned != MainActions().end()) {
        EXPECT_FALSE(form->Action(planned->Name)->isEnabled()) << planned->Name;
    }

    int mainRuns = 0;
    form->SetActionHandler("ActSetPage", [&] { ++mainRuns; });
    EXPECT_TRUE(form->Action("ActSetPage")->isEnabled());
    form->Action("ActSetPage")->trigger();
    EXPECT_EQ(mainRuns, 1);

    QList<TMDIChild *> ran;
    form->SetDocumentActionHandler("ActRotate90", [&](TMDIChild &child) { ran << &child; });
    EXPECT_FALSE(form->Action("ActRotate90")->isEnabled()) << "no document";
    // Even triggered directly, a document command never runs without a document.
    form->Action("ActRotate90")->trigger();
    EXPECT_TRUE(ran.isEmpty());

    form->SetActionHandler("ActSetGrid", [] {});
    form->SetActionNeedsDocument("ActSetGrid", true);
    EXPECT_FALSE(form->Action("ActSetGrid")->isEnabled());

    TMDIChild *child = form->OpenChild(QString(), true);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(form->Action("ActRotate90")->isEnabled());
    EXPECT_TRUE(form->Action("ActSetGrid")->isEnabled());
    form->Action("ActRotate90")->trigger();
    EXPECT_EQ(ran, QList<TMDIChild *>({ child }));

    child->PatternGrid().ClearModified();
    child->close();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(form->Action("ActRotate90")->isEnabled()) << "the last document went";
    EXPECT_FALSE(form->Action("ActSetGrid")->isEnabled());
}
