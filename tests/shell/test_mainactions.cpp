#include "core/settings/uitexts.h"
#include "shell/mainactions.h"

#include <gtest/gtest.h>

#include <map>
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
// language file lacks it, so every row the person can see (in a menu or a tool bar) carries a
// section and a key with an English default; only the two unused rows have none.
TEST(MainActions, EveryPlacedRowCarriesACaptionKeyWithABuiltInText)
{
    std::set<std::string> withoutKey;
    for (const TMainActionInfo &action : MainActions()) {
        SCOPED_TRACE(action.Name);
        if (!action.Key) {
            EXPECT_EQ(action.Section, nullptr);
            withoutKey.insert(action.Name);
            continue;
        }
        ASSERT_NE(action.Section, nullptr);
        EXPECT_TRUE((std::set<std::string> { "MainMenu", "Tools", "TileWeave" }).count(action.Section))
            << action.Section;
        EXPECT_FALSE(BuiltInUiText(action.Key).isEmpty()) << action.Key;
    }
    EXPECT_EQ(withoutKey, (std::set<std::string> { "Action1", "Action3" }));
    for (const TMainMenuInfo &menu : MainMenus())
        EXPECT_FALSE(BuiltInUiText(menu.Key).isEmpty()) << menu.Name << " " << menu.Key;
}

// The commands that work on a picture need a document; the inert rows are exactly the ones
// that never had a command and never work on a document.
TEST(MainActions, DocumentAndInertActions)
{
    const std::set<std::string> onThePicture = { "ActPaste", "ActCopy", "ActCut", "ActRedo", "ActUndo",
        "ActZoomIn", "ActZoomOut", "ActSetGrid", "ActLeftImg", "ActRightImg", "ActTopImg", "ActBottomImg",
        "ActLeftRightLink", "ActTopBottomLink", "ActGridLine", "ActBaoBian", "ActMergePic",
        "ActFlipLeftRight", "ActFlipTopBottom", "ActSelectAll", "ActCancelSelected", "ActFilledRGN",
        "ActPaintBorder", "ActRotate90", "ActRotate180", "ActRotate270", "ActReduceColor", "ActRepairPic",
        "ActPrintPreview", "ActSetPicSize", "ActRotateRandom", "ActReduceArea", "ActJumpStart",
        "ActDispOneRepeatBorder", "ActRepeatDispPic", "ActDispProtATransColor", "ActManualJianSi",
        "ActAutoJianSi", "ActTabbySketch", "ActMultiSketch", "ActShadow", "ActCrepeWeave", "ActDigitalCopy",
        "ActPasteTo", "ActDigitalBeeLine", "ActDigitalRectangle", "ActDigitalCircle", "ActMoveWarp",
        "ActAddClothSide", "ActRemoveWarp", "ActFileSave", "ActFileSaveAs", "ActFileClose", "ActCloseAll",
        "ActOrgSize", "ActOldSize", "ActRemoveBlank", "ActClear", "ActFlash", "ActTileWeave", "ActBuildPick",
        "ActSaveYarn", "ActDesignCard" };
    const std::set<std::string> inert = { "ActFileOpen", "ActOpenPattern", "ActSelectScan", "ActDisplayTools",
        "ActRestoreOrgPic", "ActPlaceWeaveWithPoint", "ActInputPic", "ActWarpWeftPointCount", "ActPickStat",
        "ActCopyWithColor", "ActSetPatternMerge", "Action1", "Action3", "ActAutoDefineArea", "ActFloatCheck",
        "ActLanguage" };
    const std::set<std::string> needsDocument
        = NamesWhere([](const TMainActionInfo &a) { return a.NeedsDocument; });
    for (const std::string &name : onThePicture)
        EXPECT_TRUE(needsDocument.count(name)) << name;
    EXPECT_EQ(NamesWhere([](const TMainActionInfo &a) { return a.Status == TActionStatus::Inert; }), inert);
    for (const std::string &name : inert)
        EXPECT_FALSE(needsDocument.count(name)) << name;
    // Nothing that runs without a document is listed as working on one.
    for (const char *name : { "ActFileNew", "ActFileExit", "ActBrowse", "ActEnglish", "ActProtectColor",
             "ActDisplayInfo", "ActMove", "ActChangeColorHint" })
        EXPECT_FALSE(needsDocument.count(name)) << name;
}

TEST(MainActions, SpotRows)
{
    using enum TActionStatus;
    const TToolId none = TToolId::NoTool;
    const struct Row {
        const char *name;
        TToolId tool;
        const char *section;
        const char *key;
        TMainMenu menu;
        TActionStatus status;
        bool needsDocument;
    } rows[] = {
        { "ActBrowse", none, "MainMenu", "Open", TMainMenu::File, Built, false },
        { "ActPrint", none, "MainMenu", "Print_Hint", TMainMenu::File, Built, true },
        { "ActFileNew", none, "MainMenu", "New", TMainMenu::File, Built, false },
        { "ActFileSave", none, "MainMenu", "Save", TMainMenu::File, Built, true },
        { "ActFilledRGN", none, "MainMenu", "Fill_Area", TMainMenu::Edit, Built, true },
        { "ActOrgSize", none, "MainMenu", "Restore", TMainMenu::Pattern, Built, true },
        { "ActLeftImg", none, "MainMenu", "Left_Mirror", TMainMenu::HorzMirror, Built, true },
        { "ActBottomImg", none, "MainMenu", "Bottom_Mirror", TMainMenu::VertMirror, Built, true },
        { "ActBaoBian", none, "MainMenu", "Bordure", TMainMenu::Technology, Built, true },
        { "ActChangeColorHint", none, "TileWeave", "Change_Color_Hint", TMainMenu::Technology, Built, false },
        { "ActSaveYarn", none, "MainMenu", "Punch", TMainMenu::Output, Built, true },
        { "ActDisplayInfo", none, "MainMenu", "Dispaly_Navigator", TMainMenu::Window, Built, false },
        { "ActEnglish", none, "MainMenu", "English", TMainMenu::Language, Built, false },
        { "ActLocal_Language", none, "MainMenu", "Local_Language", TMainMenu::Language, Built, false },
        { "ActAbout", none, "MainMenu", "About", TMainMenu::Help, Built, false },
        { "ActMove", TToolId::Move, "Tools", "Move_Word_Or_Area", TMainMenu::ToolBar, Built, false },
        { "ActSprayer", TToolId::Sprayer, "Tools", "Sprayer", TMainMenu::ToolBar, Built, false },
        { "ActHorzLine", TToolId::HorzLine, "Tools", "Draw_A_Horizontally_Line", TMainMenu::ToolBar, Planned,
            false },
        // Two tools choose the rectangle's clear-mottle tool.
        { "ActRevise", TToolId::ClearMottleByRect, "Tools", "Revise", TMainMenu::ToolBar, Built, false },
        { "ActClearMottleByRect", TToolId::ClearMottleByRect, "Tools", "Remove_Mix_Point_In_Rectangle_Area",
            TMainMenu::ToolBar, Built, false },
        { "ActMouseSelect", TToolId::MouseSelect, "Tools", "Paste_To_Click_Point", TMainMenu::ToolBar, Built,
            false },
        { "ActAutoDefineArea", none, "Tools", "Define_Auto_Area", TMainMenu::ToolBar, Inert, false },
        { "ActProtectColor", none, "Tools", "Selected_Protect_Color", TMainMenu::None, Built, false },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const TMainActionInfo *action = FindMainAction(row.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->Tool, row.tool);
        EXPECT_STREQ(action->Section, row.section);
        EXPECT_STREQ(action->Key, row.key);
        EXPECT_EQ(action->Menu, row.menu);
        EXPECT_EQ(action->Status, row.status);
        EXPECT_EQ(action->NeedsDocument, row.needsDocument);
    }
}

// A tool row is Built exactly when its tool works on the grid: a tool without that is never
// offered as a working button.
TEST(MainActions, ToolRowsAreBuiltOnlyWithTheirGridSide)
{
    for (const char *name : { "ActRuber", "ActConcentricRectangle" }) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ToolGridSideBuilt(FindMainAction(name)->Tool));
    }
    for (const TMainActionInfo &action : MainActions()) {
        SCOPED_TRACE(action.Name);
        if (action.Tool == TToolId::NoTool)
            continue;
        EXPECT_EQ(action.Menu, TMainMenu::ToolBar);
        EXPECT_EQ(action.Status == TActionStatus::Built, ToolGridSideBuilt(action.Tool));
    }
}

// The menu commands that have a standard key carry the platform's one, and no other row does.
TEST(MainActions, StandardKeys)
{
    using K = QKeySequence;
    const std::map<std::string, K::StandardKey> keys = { { "ActFileNew", K::New }, { "ActBrowse", K::Open },
        { "ActFileSave", K::Save }, { "ActFileSaveAs", K::SaveAs }, { "ActFileClose", K::Close },
        { "ActFileExit", K::Quit }, { "ActUndo", K::Undo }, { "ActRedo", K::Redo }, { "ActCopy", K::Copy },
        { "ActCut", K::Cut }, { "ActPaste", K::Paste }, { "ActSelectAll", K::SelectAll },
        { "ActZoomIn", K::ZoomIn }, { "ActZoomOut", K::ZoomOut }, { "ActPrint", K::Print } };
    std::map<std::string, K::StandardKey> found;
    for (const TMainActionInfo &action : MainActions())
        if (action.Shortcut != K::UnknownKey)
            found[action.Name] = action.Shortcut;
    EXPECT_EQ(found, keys);
}

// Tool ids mean something only for the drawing tools and language indexes only for the
// language actions (the index written to the settings, 0 to 3 in the order of the sorted
// files).
TEST(MainActions, ToolsLanguagesAndMenus)
{
    int languages = 0;
    for (const TMainActionInfo &action : MainActions()) {
        SCOPED_TRACE(action.Name);
        if (action.Menu == TMainMenu::Language) {
            EXPECT_EQ(action.Language, languages++);
        } else {
            EXPECT_EQ(action.Language, TMainActionInfo::NoLanguage);
        }
        if (action.Menu == TMainMenu::ToolBar && std::string_view(action.Name) != "ActAutoDefineArea") {
            EXPECT_NE(action.Tool, TToolId::NoTool);
            EXPECT_LE(ToolIdValue(action.Tool), MaxToolId);
        } else if (action.Menu != TMainMenu::ToolBar) {
            EXPECT_EQ(action.Tool, TToolId::NoTool);
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
