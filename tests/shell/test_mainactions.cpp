#include "core/settings/uitexts.h"
#include "shell/mainactions.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::set<std::string> NamesWhere(bool (*pick)(const TMainActionInfo &))
{
    std::set<std::string> names;
    for (const TMainActionInfo &action : MainActions())
        if (pick(action))
            names.insert(action.Name);
    return names;
}

} // namespace

TEST(MainActions, NamesAreUniqueAndComplete)
{
    EXPECT_EQ(MainActions().size(), 167u);
    std::set<std::string> names;
    for (const TMainActionInfo &action : MainActions()) {
        ASSERT_NE(action.Name, nullptr);
        EXPECT_TRUE(names.insert(action.Name).second) << action.Name;
        EXPECT_EQ(FindMainAction(action.Name), &action) << action.Name;
    }
    EXPECT_EQ(FindMainAction("actfilenew"), nullptr); // names are exact
    EXPECT_EQ(FindMainAction(""), nullptr);
}

// A caption key missing from the built-in texts would leave an empty menu item whenever the
// language file lacks it, so every key must have an English default; the actions without a
// key are exactly the ones no caption text was ever given for.
TEST(MainActions, CaptionKeysHaveBuiltInTexts)
{
    const std::set<std::string> withoutKey = { "ActFileNew", "ActFileOpen", "ActOpenPattern", "ActCloseAll",
        "ActTopLink", "ActLeftLink", "ActManualLink", "ActMergePic", "ActOldSize", "ActTilePattern",
        "ActDisplayTools", "ActRestoreOrgPic", "ActPlaceWeaveWithPoint", "ActInputPic", "ActRepairPic",
        "ActCut", "ActSetPicSize", "ActAutoLeftLink", "ActAutoTopLink", "ActJumpStart", "ActAutoJianSi",
        "ActManualJianSi", "ActTabbySketch", "ActMultiSketch", "ActShadow", "ActCrepeWeave", "ActFloatCheck",
        "ActConvertWeave", "ActDigitalCopy", "ActPasteTo", "ActDigitalBeeLine", "ActDigitalRectangle",
        "ActDigitalCircle", "ActSetPick", "ActSetPicTable", "ActSetWeftDensity", "ActSetWeftDensityTable",
        "ActRegulatorInput", "ActSelColorPick", "ActDesignCard", "ActBuildPick", "ActWarpWeftPointCount",
        "ActPickStat", "ActBrowseWenban", "Action1", "ActCopyWithColor", "ActSetPatternMerge", "Action3",
        "ActChangeColorHint", "ActSprayer", "ActChangeColor" };
    std::set<std::string> found;
    for (const TMainActionInfo &action : MainActions()) {
        if (action.Section == TMainActionText::None) {
            EXPECT_EQ(action.Key, nullptr) << action.Name;
            found.insert(action.Name);
            continue;
        }
        ASSERT_NE(action.Key, nullptr) << action.Name;
        EXPECT_FALSE(BuiltInUiText(action.Key).isEmpty()) << action.Name << " " << action.Key;
        EXPECT_FALSE(MainActionTextSection(action.Section).isEmpty());
    }
    EXPECT_EQ(found, withoutKey);
    for (const TMainMenuInfo &menu : MainMenus())
        EXPECT_FALSE(BuiltInUiText(menu.Key).isEmpty()) << menu.Name << " " << menu.Key;
}

TEST(MainActions, ForwardedAndInertActions)
{
    const std::set<std::string> forwarded = { "ActPaste", "ActCopy", "ActCut", "ActRedo", "ActUndo",
        "ActZoomIn", "ActZoomOut", "ActSetGrid", "ActLeftImg", "ActRightImg", "ActTopImg", "ActBottomImg",
        "ActLeftRightLink", "ActTopBottomLink", "ActGridLine", "ActBaoBian", "ActMergePic",
        "ActFlipLeftRight", "ActFlipTopBottom", "ActSelectAll", "ActCancelSelected", "ActFilledRGN",
        "ActPaintBorder", "ActRotate90", "ActRotate180", "ActRotate270", "ActReduceColor", "ActRepairPic",
        "ActPrintPreview", "ActSetPicSize", "ActRotateRandom", "ActReduceArea", "ActJumpStart",
        "ActDispOneRepeatBorder", "ActRepeatDispPic", "ActDispProtATransColor", "ActManualJianSi",
        "ActAutoJianSi", "ActTabbySketch", "ActMultiSketch", "ActShadow", "ActCrepeWeave", "ActDigitalCopy",
        "ActPasteTo", "ActDigitalBeeLine", "ActDigitalRectangle", "ActDigitalCircle", "ActMoveWarp",
        "ActAddClothSide", "ActRemoveWarp" };
    const std::set<std::string> inert = { "ActFileOpen", "ActOpenPattern", "ActSelectScan", "ActDisplayTools",
        "ActRestoreOrgPic", "ActPlaceWeaveWithPoint", "ActInputPic", "ActWarpWeftPointCount", "ActPickStat",
        "ActCopyWithColor", "ActSetPatternMerge", "Action1", "Action3", "ActHorzLine", "ActVertLine",
        "ActConcentricRectangle", "ActAutoDefineArea", "ActFloatCheck", "ActLanguage" };
    EXPECT_EQ(NamesWhere([](const TMainActionInfo &a) { return a.Route == TMainActionRoute::Forwarded; }),
        forwarded);
    EXPECT_EQ(NamesWhere([](const TMainActionInfo &a) { return a.Route == TMainActionRoute::Inert; }), inert);

    // Only two document actions are named differently from the main window's.
    std::set<std::string> renamed;
    for (const TMainActionInfo &action : MainActions()) {
        if (action.DocumentAction) {
            EXPECT_EQ(action.Route, TMainActionRoute::Forwarded) << action.Name;
            renamed.insert(std::string(action.Name) + ">" + action.DocumentAction);
        }
    }
    EXPECT_EQ(renamed,
        (std::set<std::string> { "ActFilledRGN>ActFilledRgn", "ActRotateRandom>ActRotateRandomAngle" }));
    EXPECT_STREQ(DocumentActionName(*FindMainAction("ActUndo")), "ActUndo");
    EXPECT_STREQ(DocumentActionName(*FindMainAction("ActFilledRGN")), "ActFilledRgn");
}

TEST(MainActions, SpotRows)
{
    const int none = TMainActionInfo::NoTag;
    const struct Row {
        const char *name;
        int tag;
        TMainActionText section;
        const char *key;
        TMainMenu menu;
        TMainActionRoute route;
    } rows[] = {
        { "ActBrowse", none, TMainActionText::MainMenu, "Open", TMainMenu::File,
            TMainActionRoute::MainWindow },
        { "ActPrint", none, TMainActionText::MainMenu, "Print_Hint", TMainMenu::File,
            TMainActionRoute::MainWindow },
        { "ActFileNew", none, TMainActionText::None, nullptr, TMainMenu::File, TMainActionRoute::MainWindow },
        { "ActFilledRGN", none, TMainActionText::MainMenu, "Fill_Area", TMainMenu::Edit,
            TMainActionRoute::Forwarded },
        { "ActOrgSize", none, TMainActionText::MainMenu, "Restore", TMainMenu::Pattern,
            TMainActionRoute::MainWindow },
        { "ActLeftImg", none, TMainActionText::MainMenu, "Left_Mirror", TMainMenu::HorzMirror,
            TMainActionRoute::Forwarded },
        { "ActBottomImg", none, TMainActionText::MainMenu, "Bottom_Mirror", TMainMenu::VertMirror,
            TMainActionRoute::Forwarded },
        { "ActBaoBian", none, TMainActionText::MainMenu, "Bordure", TMainMenu::Technology,
            TMainActionRoute::Forwarded },
        { "ActSaveYarn", none, TMainActionText::MainMenu, "Punch", TMainMenu::Output,
            TMainActionRoute::MainWindow },
        { "ActDisplayInfo", none, TMainActionText::MainMenu, "Dispaly_Navigator", TMainMenu::Window,
            TMainActionRoute::MainWindow },
        { "ActEnglish", 0, TMainActionText::MainMenu, "English", TMainMenu::Language,
            TMainActionRoute::MainWindow },
        { "ActLocal_Language", 3, TMainActionText::MainMenu, "Local_Language", TMainMenu::Language,
            TMainActionRoute::MainWindow },
        { "ActAbout", none, TMainActionText::MainMenu, "About", TMainMenu::Help,
            TMainActionRoute::MainWindow },
        { "ActMove", 8, TMainActionText::Tools, "Move_Word_Or_Area", TMainMenu::ToolBar,
            TMainActionRoute::MainWindow },
        { "ActSprayer", 13, TMainActionText::None, nullptr, TMainMenu::ToolBar,
            TMainActionRoute::MainWindow },
        { "ActHorzLine", 23, TMainActionText::Tools, "Draw_A_Horizontally_Line", TMainMenu::ToolBar,
            TMainActionRoute::Inert },
        // Two tools share tool id 34.
        { "ActRevise", 34, TMainActionText::Tools, "Revise", TMainMenu::ToolBar,
            TMainActionRoute::MainWindow },
        { "ActClearMottleByRect", 34, TMainActionText::Tools, "Remove_Mix_Point_In_Rectangle_Area",
            TMainMenu::ToolBar, TMainActionRoute::MainWindow },
        { "ActMouseSelect", 45, TMainActionText::Tools, "Paste_To_Click_Point", TMainMenu::ToolBar,
            TMainActionRoute::MainWindow },
        { "ActAutoDefineArea", none, TMainActionText::Tools, "Define_Auto_Area", TMainMenu::ToolBar,
            TMainActionRoute::Inert },
        { "ActProtectColor", none, TMainActionText::Tools, "Selected_Protect_Color", TMainMenu::None,
            TMainActionRoute::MainWindow },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const TMainActionInfo *action = FindMainAction(row.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->Tag, row.tag);
        EXPECT_EQ(action->Section, row.section);
        if (row.key) {
            EXPECT_STREQ(action->Key, row.key);
        } else {
            EXPECT_EQ(action->Key, nullptr);
        }
        EXPECT_EQ(action->Menu, row.menu);
        EXPECT_EQ(action->Route, row.route);
    }
}

// Tags mean something only for the drawing tools (their tool id) and the language actions
// (the language index written to the settings, 0 to 3 in the order of the sorted files).
TEST(MainActions, TagsAndMenus)
{
    int languages = 0;
    for (const TMainActionInfo &action : MainActions()) {
        SCOPED_TRACE(action.Name);
        if (action.Menu == TMainMenu::Language) {
            EXPECT_EQ(action.Tag, languages++);
        } else if (action.Menu == TMainMenu::ToolBar) {
            if (std::string_view(action.Name) != "ActAutoDefineArea") {
                EXPECT_GE(action.Tag, 0);
                EXPECT_LE(action.Tag, 45);
            }
        } else {
            EXPECT_EQ(action.Tag, TMainActionInfo::NoTag);
        }
        if (action.Menu != TMainMenu::None && action.Menu != TMainMenu::ToolBar) {
            EXPECT_NE(FindMainMenu(action.Menu), nullptr);
        }
    }
    EXPECT_EQ(languages, 4);

    // Every menu holds actions; sub-menus hang under a menu of the menu bar.
    std::set<TMainMenu> seen;
    for (const TMainMenuInfo &menu : MainMenus()) {
        SCOPED_TRACE(menu.Name);
        EXPECT_TRUE(seen.insert(menu.Menu).second);
        EXPECT_EQ(FindMainMenu(menu.Menu), &menu);
        if (menu.Parent != TMainMenu::None) {
            const TMainMenuInfo *parent = FindMainMenu(menu.Parent);
            ASSERT_NE(parent, nullptr);
            EXPECT_EQ(parent->Parent, TMainMenu::None);
        }
        int items = 0;
        for (const TMainActionInfo &action : MainActions())
            items += action.Menu == menu.Menu;
        EXPECT_GT(items, 0);
    }
    EXPECT_EQ(MainMenus().size(), 11u);
    EXPECT_EQ(FindMainMenu(TMainMenu::None), nullptr);
    EXPECT_EQ(FindMainMenu(TMainMenu::ToolBar), nullptr);
    EXPECT_STREQ(FindMainMenu(TMainMenu::HorzMirror)->Name, "NHorzMirror");
    EXPECT_EQ(FindMainMenu(TMainMenu::Language)->Parent, TMainMenu::Window);
}

// Every action without a caption key that the person can see (in a menu or a tool bar)
// takes an interface text instead; only the two unused actions have none.
TEST(MainActions, ActionsWithoutAKeyTakeALayoutCaption)
{
    for (const TMainActionInfo &info : MainActions()) {
        SCOPED_TRACE(info.Name);
        const TMainActionCaption *caption = FindLayoutCaption(info.Name);
        if (info.Section != TMainActionText::None) {
            EXPECT_EQ(caption, nullptr) << "the table's key wins";
            continue;
        }
        if (info.Menu == TMainMenu::None) {
            EXPECT_EQ(caption, nullptr);
            continue;
        }
        ASSERT_NE(caption, nullptr);
        EXPECT_FALSE(BuiltInUiText(QLatin1String(caption->Key)).isEmpty());
    }
}
