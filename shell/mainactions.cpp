#include "shell/mainactions.h"

#include <algorithm>

namespace {

using enum TMainMenu;
constexpr int NoTag = TMainActionInfo::NoTag;
constexpr TMainActionText NoKey = TMainActionText::None;
constexpr TMainActionText MenuText = TMainActionText::MainMenu;
constexpr TMainActionText ToolText = TMainActionText::Tools;
constexpr TMainActionRoute Forwarded = TMainActionRoute::Forwarded;
constexpr TMainActionRoute Own = TMainActionRoute::MainWindow;
constexpr TMainActionRoute Inert = TMainActionRoute::Inert;

// Within a menu the rows stand in menu order; sub-menus are listed apart from their parent.
constexpr TMainActionInfo Actions[] = {
    // File menu.
    { "ActFileNew", NoTag, NoKey, nullptr, File, Own, nullptr },
    { "ActBrowse", NoTag, MenuText, "Open", File, Own, nullptr },
    { "ActFileOpen", NoTag, NoKey, nullptr, File, Inert, nullptr },
    { "ActOpenPattern", NoTag, NoKey, nullptr, File, Inert, nullptr },
    { "ActFileSave", NoTag, MenuText, "Save", File, Own, nullptr },
    { "ActFileSaveAs", NoTag, MenuText, "Save_As", File, Own, nullptr },
    { "ActFileClose", NoTag, MenuText, "Close_Child_Window", File, Own, nullptr },
    { "ActCloseAll", NoTag, NoKey, nullptr, File, Own, nullptr },
    { "ActScan", NoTag, MenuText, "Scan", File, Own, nullptr },
    { "ActSelectScan", NoTag, MenuText, "Select_TWAIN_32_Source", File, Inert, nullptr },
    { "ActSetPage", NoTag, MenuText, "Page_Option", File, Own, nullptr },
    { "ActPrintPreview", NoTag, MenuText, "Print_Preview", File, Forwarded, nullptr },
    { "ActPrint", NoTag, MenuText, "Print_Hint", File, Own, nullptr },
    { "ActSetSystem", NoTag, MenuText, "System_Option", File, Own, nullptr },
    { "ActCalc", NoTag, MenuText, "Calculator", File, Own, nullptr },
    // The recent files are listed here, between the calculator and exit.
    { "ActFileExit", NoTag, MenuText, "Exit_Hint", File, Own, nullptr },

    // Edit menu.
    { "ActUndo", NoTag, MenuText, "Undo", Edit, Forwarded, nullptr },
    { "ActRedo", NoTag, MenuText, "Redo", Edit, Forwarded, nullptr },
    { "ActCopy", NoTag, MenuText, "Copy_Hint", Edit, Forwarded, nullptr },
    { "ActCut", NoTag, NoKey, nullptr, Edit, Forwarded, nullptr },
    { "ActPaste", NoTag, MenuText, "Paste", Edit, Forwarded, nullptr },
    { "ActPasteTo", NoTag, NoKey, nullptr, Edit, Forwarded, nullptr },
    { "ActDigitalCopy", NoTag, NoKey, nullptr, Edit, Forwarded, nullptr },
    { "ActCopyWithColor", NoTag, NoKey, nullptr, Edit, Inert, nullptr },
    { "ActSelectAll", NoTag, MenuText, "Select_All", Edit, Forwarded, nullptr },
    { "ActCancelSelected", NoTag, MenuText, "Cancel_Select", Edit, Forwarded, nullptr },
    { "ActFilledRGN", NoTag, MenuText, "Fill_Area", Edit, Forwarded, "ActFilledRgn" },
    { "ActPaintBorder", NoTag, MenuText, "Paint_Border", Edit, Forwarded, nullptr },
    { "ActClear", NoTag, MenuText, "Clear_All", Edit, Own, nullptr },
    { "ActDispProtATransColor", NoTag, MenuText, "Set_Protect_Or_Transparent_Color", Edit, Forwarded,
        nullptr },

    // Pattern menu.
    { "ActZoomIn", NoTag, MenuText, "Zoom_In", Pattern, Forwarded, nullptr },
    { "ActZoomOut", NoTag, MenuText, "Zoom_Out", Pattern, Forwarded, nullptr },
    { "ActOrgSize", NoTag, MenuText, "Restore", Pattern, Own, nullptr },
    { "ActOldSize", NoTag, NoKey, nullptr, Pattern, Own, nullptr },
    { "ActGridLine", NoTag, MenuText, "Display_Separation_Line", Pattern, Forwarded, nullptr },
    { "ActSetGrid", NoTag, MenuText, "Set_Pattern", Pattern, Forwarded, nullptr },
    { "ActSetPicSize", NoTag, NoKey, nullptr, Pattern, Forwarded, nullptr },
    { "ActEditGross", NoTag, MenuText, "Edit_Pattern", Pattern, Own, nullptr },
    { "ActReduceArea", NoTag, MenuText, "Reduce_To_Area_Size", Pattern, Forwarded, nullptr },
    { "ActRepeatDispPic", NoTag, MenuText, "Repeat_Display", Pattern, Forwarded, nullptr },
    { "ActDispOneRepeatBorder", NoTag, MenuText, "Display_One_Repeat_Border", Pattern, Forwarded, nullptr },
    { "ActMergePic", NoTag, NoKey, nullptr, Pattern, Forwarded, nullptr },
    { "ActJumpStart", NoTag, NoKey, nullptr, Pattern, Forwarded, nullptr },
    { "ActRemoveBlank", NoTag, MenuText, "Remove_Blank_Warp", Pattern, Own, nullptr },
    { "ActMoveWarp", NoTag, MenuText, "Move_Warp", Pattern, Forwarded, nullptr },
    { "ActFlash", NoTag, MenuText, "Light_Flash", Pattern, Own, nullptr },
    { "ActSetCursorSize", NoTag, MenuText, "Set_Cursor_Size", Pattern, Own, nullptr },
    { "ActSetSingleDoublePoint", NoTag, MenuText, "Set_Single_Or_Double_Point", Pattern, Own, nullptr },
    { "ActDigitalBeeLine", NoTag, NoKey, nullptr, Pattern, Forwarded, nullptr },
    { "ActDigitalRectangle", NoTag, NoKey, nullptr, Pattern, Forwarded, nullptr },
    { "ActDigitalCircle", NoTag, NoKey, nullptr, Pattern, Forwarded, nullptr },
    { "ActColorRatio", NoTag, MenuText, "Total_Color_Percent", Pattern, Own, nullptr },
    { "ActUnitePic", NoTag, MenuText, "Combine_Pattern", Pattern, Own, nullptr },

    // Picture menu.
    { "ActReduceColor", NoTag, MenuText, "Reduce_Color", Picture, Forwarded, nullptr },
    { "ActRepairPic", NoTag, NoKey, nullptr, Picture, Forwarded, nullptr },
    { "ActRotate90", NoTag, MenuText, "Rotate_90_Anti_Clockwise_Degrees", Picture, Forwarded, nullptr },
    { "ActRotate180", NoTag, MenuText, "Rotate_180_Degrees", Picture, Forwarded, nullptr },
    { "ActRotate270", NoTag, MenuText, "Rotate_90_Clockwise_Degrees", Picture, Forwarded, nullptr },
    { "ActFlipLeftRight", NoTag, MenuText, "Left_Right_Turning", Picture, Forwarded, nullptr },
    { "ActFlipTopBottom", NoTag, MenuText, "Top_Bottom_Turning", Picture, Forwarded, nullptr },
    { "ActRotateRandom", NoTag, MenuText, "Rotate_Other_Angle", Picture, Forwarded, "ActRotateRandomAngle" },

    // Picture menu, horizontal mirror sub-menu.
    { "ActLeftImg", NoTag, MenuText, "Left_Mirror", HorzMirror, Forwarded, nullptr },
    { "ActRightImg", NoTag, MenuText, "Right_Mirror", HorzMirror, Forwarded, nullptr },

    // Picture menu, vertical mirror sub-menu.
    { "ActTopImg", NoTag, MenuText, "Top_Mirror", VertMirror, Forwarded, nullptr },
    { "ActBottomImg", NoTag, MenuText, "Bottom_Mirror", VertMirror, Forwarded, nullptr },

    // Picture menu.
    { "ActLeftRightLink", NoTag, MenuText, "Left_Right_Seam", Picture, Forwarded, nullptr },
    { "ActTopBottomLink", NoTag, MenuText, "Top_Bottom_Seam", Picture, Forwarded, nullptr },
    { "ActTopLink", NoTag, NoKey, nullptr, Picture, Own, nullptr },
    { "ActLeftLink", NoTag, NoKey, nullptr, Picture, Own, nullptr },
    { "ActManualLink", NoTag, NoKey, nullptr, Picture, Own, nullptr },
    { "ActAutoLeftLink", NoTag, NoKey, nullptr, Picture, Own, nullptr },
    { "ActAutoTopLink", NoTag, NoKey, nullptr, Picture, Own, nullptr },
    { "ActDirectMerge", NoTag, MenuText, "Combine_Picture", Picture, Own, nullptr },
    { "ActSplitePicture", NoTag, MenuText, "Break_Picture", Picture, Own, nullptr },
    { "ActRestoreOrgPic", NoTag, NoKey, nullptr, Picture, Inert, nullptr },
    { "ActInputPic", NoTag, NoKey, nullptr, Picture, Inert, nullptr },
    // No command has ever been given to the float check.
    { "ActFloatCheck", NoTag, NoKey, nullptr, Picture, Inert, nullptr },

    // Technology menu.
    { "ActDesignWeave", NoTag, MenuText, "Design_Weave", Technology, Own, nullptr },
    { "ActTileWeave", NoTag, MenuText, "Tile_Weave", Technology, Own, nullptr },
    { "ActTilePattern", NoTag, NoKey, nullptr, Technology, Own, nullptr },
    { "ActTechTileWeave", NoTag, MenuText, "Assign_Weave", Technology, Own, nullptr },
    { "ActConvertWeave", NoTag, NoKey, nullptr, Technology, Own, nullptr },
    { "ActTabbySketch", NoTag, NoKey, nullptr, Technology, Forwarded, nullptr },
    { "ActMultiSketch", NoTag, NoKey, nullptr, Technology, Forwarded, nullptr },
    { "ActShadow", NoTag, NoKey, nullptr, Technology, Forwarded, nullptr },
    { "ActManualJianSi", NoTag, NoKey, nullptr, Technology, Forwarded, nullptr },
    { "ActAutoJianSi", NoTag, NoKey, nullptr, Technology, Forwarded, nullptr },
    { "ActCrepeWeave", NoTag, NoKey, nullptr, Technology, Forwarded, nullptr },
    { "ActRemoveWarp", NoTag, MenuText, "Remove_Warp", Technology, Forwarded, nullptr },
    { "ActAddClothSide", NoTag, MenuText, "Add_Side", Technology, Forwarded, nullptr },
    { "ActBaoBian", NoTag, MenuText, "Bordure", Technology, Forwarded, nullptr },
    { "ActPatternMerge", NoTag, MenuText, "Merge_Pattern", Technology, Own, nullptr },
    { "ActSetPatternMerge", NoTag, NoKey, nullptr, Technology, Inert, nullptr },
    { "ActMarkPoint", NoTag, MenuText, "Search_Or_Add_Point", Technology, Own, nullptr },
    { "ActPlaceWeaveWithPoint", NoTag, NoKey, nullptr, Technology, Inert, nullptr },
    { "ActChangeColorHint", NoTag, NoKey, nullptr, Technology, Own, nullptr },

    // Output menu.
    { "ActDesignCard", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActBuildPick", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActSaveYarn", NoTag, MenuText, "Punch", Output, Own, nullptr },
    { "ActBrowseWenban", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActSetPick", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActSetPicTable", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActSetWeftDensity", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActSetWeftDensityTable", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActRegulatorInput", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActSelColorPick", NoTag, NoKey, nullptr, Output, Own, nullptr },
    { "ActWarpWeftPointCount", NoTag, NoKey, nullptr, Output, Inert, nullptr },
    { "ActPickStat", NoTag, NoKey, nullptr, Output, Inert, nullptr },

    // Window menu.
    { "WindowCascade1", NoTag, MenuText, "Window_Cascade", Window, Own, nullptr },
    { "WindowTileHorizontal1", NoTag, MenuText, "Window_TileHorizontal", Window, Own, nullptr },
    { "WindowTileVertical1", NoTag, MenuText, "Window_TileVertical", Window, Own, nullptr },
    { "WindowMinimizeAll1", NoTag, MenuText, "Window_MinimizeAll", Window, Own, nullptr },
    { "ActDisplayInfo", NoTag, MenuText, "Dispaly_Navigator", Window, Own, nullptr },
    { "ActDisplayPalette", NoTag, MenuText, "Display_Color_Pallete", Window, Own, nullptr },
    { "ActDisplayWeave", NoTag, MenuText, "Display_Weave_Libaray", Window, Own, nullptr },
    { "ActDisplayTools", NoTag, NoKey, nullptr, Window, Inert, nullptr },
    // Only holds the language sub-menu.
    { "ActLanguage", NoTag, MenuText, "Language", Window, Inert, nullptr },

    // Window menu, language sub-menu.
    { "ActEnglish", 0, MenuText, "English", Language, Own, nullptr },
    { "ActTraditional_Chinese", 1, MenuText, "Traditional_Chinese", Language, Own, nullptr },
    { "ActSimplified_Chinese", 2, MenuText, "Simplified_Chinese", Language, Own, nullptr },
    { "ActLocal_Language", 3, MenuText, "Local_Language", Language, Own, nullptr },

    // Help menu.
    { "ActHelp", NoTag, MenuText, "Help_Hint", Help, Own, nullptr },
    { "ActAbout", NoTag, MenuText, "About", Help, Own, nullptr },

    // In no menu: the palette bar's protect button and two unused actions.
    { "Action1", NoTag, NoKey, nullptr, None, Inert, nullptr },
    { "Action3", NoTag, NoKey, nullptr, None, Inert, nullptr },
    { "ActProtectColor", NoTag, ToolText, "Selected_Protect_Color", None, Own, nullptr },

    // The drawing tools of the tool bars; the tag is the tool id.
    { "ActDefineRectangle", 0, ToolText, "Define_Rectangle_Area", ToolBar, Own, nullptr },
    { "ActDefineCircle", 1, ToolText, "Define_Circle_Area", ToolBar, Own, nullptr },
    { "ActDefineHorizontalLine", 2, ToolText, "Define_Horizontally_Area", ToolBar, Own, nullptr },
    { "ActDefineVerticalLine", 3, ToolText, "Define_Vertically_Area", ToolBar, Own, nullptr },
    { "ActDefineFreePointLine", 4, ToolText, "Define_WantOnly_Area", ToolBar, Own, nullptr },
    { "ActDefineBreakPointLine", 5, ToolText, "Define_Line_Segment_Area", ToolBar, Own, nullptr },
    { "ActDefineCurveLine", 6, ToolText, "Define_Curve_Area", ToolBar, Own, nullptr },
    { "ActAutoDefineArea", NoTag, ToolText, "Define_Auto_Area", ToolBar, Inert, nullptr },
    { "ActMagicStick", 7, ToolText, "Magic_Stick", ToolBar, Own, nullptr },
    { "ActMove", 8, ToolText, "Move_Word_Or_Area", ToolBar, Own, nullptr },
    { "ActArc", 9, ToolText, "Draw_A_Curve", ToolBar, Own, nullptr },
    { "ActBeeLine", 10, ToolText, "Draw_A_Line", ToolBar, Own, nullptr },
    { "ActFreeLine", 11, ToolText, "Draw_A_WantOnly_Line", ToolBar, Own, nullptr },
    { "ActFillColor", 12, ToolText, "Fill_Color", ToolBar, Own, nullptr },
    { "ActSprayer", 13, NoKey, nullptr, ToolBar, Own, nullptr },
    { "ActAbsorbColor", 14, ToolText, "Absorb_Color", ToolBar, Own, nullptr },
    { "ActRuber", 15, ToolText, "Ruber", ToolBar, Own, nullptr },
    { "ActInsertWord", 16, ToolText, "Insert_Word", ToolBar, Own, nullptr },
    { "ActRectangle", 17, ToolText, "Draw_A_Void_Rectangle", ToolBar, Own, nullptr },
    { "ActFilledRectangle", 18, ToolText, "Draw_A_Filled_Rectangle", ToolBar, Own, nullptr },
    { "ActCircle", 19, ToolText, "Draw_A_Void_Circle", ToolBar, Own, nullptr },
    { "ActFilledCircle", 20, ToolText, "Draw_A_Filled_Circle", ToolBar, Own, nullptr },
    { "ActBreakLine", 21, ToolText, "Draw_A_Break_Line", ToolBar, Own, nullptr },
    { "ActCurveLine", 22, ToolText, "Draw_A_Continuous_Curve_Line", ToolBar, Own, nullptr },
    { "ActHorzLine", 23, ToolText, "Draw_A_Horizontally_Line", ToolBar, Inert, nullptr },
    { "ActVertLine", 24, ToolText, "Draw_A_Vertically_Line", ToolBar, Inert, nullptr },
    { "ActFilledFreeLine", 25, ToolText, "Draw_A_Wantonly_Filled_Graph", ToolBar, Own, nullptr },
    { "ActFilledArc", 26, ToolText, "Draw_A_Filled_Curve", ToolBar, Own, nullptr },
    { "ActFilledCurveLine", 27, ToolText, "Draw_A_Filled_Curve", ToolBar, Own, nullptr },
    { "ActFilledBreakLine", 28, ToolText, "Draw_A_Filled_Break_Line", ToolBar, Own, nullptr },
    { "ActHorzCut", 31, ToolText, "Horizontally_Cut", ToolBar, Own, nullptr },
    { "ActVertCut", 32, ToolText, "Vertically_Cut", ToolBar, Own, nullptr },
    { "ActBuildRectBmp", 33, MenuText, "Revise_Picture", ToolBar, Own, nullptr },
    { "ActRevise", 34, ToolText, "Revise", ToolBar, Own, nullptr },
    { "ActClearMottleByRect", 34, ToolText, "Remove_Mix_Point_In_Rectangle_Area", ToolBar, Own, nullptr },
    { "ActClearMottleByCircle", 35, ToolText, "Remove_Mix_Point_In_Circle_Area", ToolBar, Own, nullptr },
    { "ActConcentricCircle", 38, ToolText, "Draw_A_Concentric_Circle", ToolBar, Own, nullptr },
    { "ActMoveGrid", 42, ToolText, "Move_Pattern", ToolBar, Own, nullptr },
    { "ActConcentricRectangle", 43, ToolText, "Draw_A_Concentric_Rectangle", ToolBar, Inert, nullptr },
    { "ActChangeColor", 44, NoKey, nullptr, ToolBar, Own, nullptr },
    { "ActMouseSelect", 45, ToolText, "Paste_To_Click_Point", ToolBar, Own, nullptr },
};

constexpr TMainMenuInfo Menus[] = {
    { TMainMenu::File, "Mnu_File", "Menu_File", TMainMenu::None },
    { TMainMenu::Edit, "Mnu_Edit", "Menu_Edit", TMainMenu::None },
    { TMainMenu::Pattern, "Mnu_Pattern", "Menu_Pattern", TMainMenu::None },
    { TMainMenu::Picture, "Mnu_Picture", "Menu_Picture", TMainMenu::None },
    { TMainMenu::HorzMirror, "NHorzMirror", "Horizontally_Mirror", TMainMenu::Picture },
    { TMainMenu::VertMirror, "NVortMirror", "Vertically_Mirror", TMainMenu::Picture },
    { TMainMenu::Technology, "Mnu_Technology", "Menu_Technology", TMainMenu::None },
    { TMainMenu::Output, "Mnu_Output", "Menu_Output", TMainMenu::None },
    { TMainMenu::Window, "Mnu_Window", "Menu_Window", TMainMenu::None },
    { TMainMenu::Language, "ActLanguage", "Language", TMainMenu::Window },
    { TMainMenu::Help, "Mnu_Help", "Menu_Help", TMainMenu::None },
};

} // namespace

std::span<const TMainActionInfo> MainActions()
{
    return Actions;
}

const TMainActionInfo *FindMainAction(std::string_view name)
{
    const auto it = std::find_if(std::begin(Actions), std::end(Actions),
        [name](const TMainActionInfo &action) { return name == action.Name; });
    return it == std::end(Actions) ? nullptr : &*it;
}

const char *DocumentActionName(const TMainActionInfo &action)
{
    return action.DocumentAction ? action.DocumentAction : action.Name;
}

QString MainActionTextSection(TMainActionText section)
{
    switch (section) {
    case TMainActionText::MainMenu:
        return QStringLiteral("MainMenu");
    case TMainActionText::Tools:
        return QStringLiteral("Tools");
    case TMainActionText::None:
        break;
    }
    return {};
}

std::span<const TMainMenuInfo> MainMenus()
{
    return Menus;
}

const TMainMenuInfo *FindMainMenu(TMainMenu menu)
{
    const auto it = std::find_if(
        std::begin(Menus), std::end(Menus), [menu](const TMainMenuInfo &info) { return info.Menu == menu; });
    return it == std::end(Menus) ? nullptr : &*it;
}

namespace {
const TMainActionCaption kLayoutCaptions[] = {
    { "ActFileOpen", "MainMenu", "Open_File" },
    { "ActOpenPattern", "MainMenu", "Open_Pattern" },
    { "ActPasteTo", "MainMenu", "Paste_To" },
    { "ActDigitalCopy", "MainMenu", "Numeric_Copy" },
    { "ActCopyWithColor", "MainMenu", "Copy_With_Color" },
    { "ActOldSize", "MainMenu", "Previous_Size" },
    { "ActSetPicSize", "MainMenu", "Set_Picture_Size" },
    { "ActMergePic", "MainMenu", "Repeat_Layout" },
    { "ActJumpStart", "MainMenu", "Jump_Start" },
    { "ActDigitalBeeLine", "MainMenu", "Numeric_Line" },
    { "ActDigitalRectangle", "MainMenu", "Numeric_Rectangle" },
    { "ActDigitalCircle", "MainMenu", "Numeric_Circle" },
    { "ActRepairPic", "MainMenu", "Repair_Picture" },
    { "ActTopLink", "MainMenu", "Top_Seam" },
    { "ActLeftLink", "MainMenu", "Left_Seam" },
    { "ActManualLink", "MainMenu", "Manual_Seam" },
    { "ActAutoLeftLink", "MainMenu", "Auto_Left_Seam" },
    { "ActAutoTopLink", "MainMenu", "Auto_Top_Seam" },
    { "ActRestoreOrgPic", "MainMenu", "Restore_Original_Picture" },
    { "ActInputPic", "MainMenu", "Input" },
    { "ActFloatCheck", "MainMenu", "Float_Check" },
    { "ActTilePattern", "MainMenu", "Tile_Pattern" },
    { "ActConvertWeave", "MainMenu", "Convert_Weave" },
    { "ActTabbySketch", "MainMenu", "Tabby_Sketch" },
    { "ActMultiSketch", "MainMenu", "Multi_Sketch" },
    { "ActShadow", "MainMenu", "Shadow" },
    { "ActManualJianSi", "MainMenu", "Manual_Jiansi" },
    { "ActAutoJianSi", "MainMenu", "Auto_Jiansi" },
    { "ActCrepeWeave", "MainMenu", "Crepe_Weave" },
    { "ActSetPatternMerge", "MainMenu", "Set_Merge_Pattern" },
    { "ActPlaceWeaveWithPoint", "MainMenu", "Place_Weave_At_Point" },
    { "ActChangeColorHint", "TileWeave", "Change_Color_Hint" },
    { "ActDesignCard", "MainMenu", "Design_Sample_Card" },
    { "ActBuildPick", "MainMenu", "Build_Card" },
    { "ActBrowseWenban", "MainMenu", "Browse_Card" },
    { "ActSetPick", "MainMenu", "Set_Shuttle" },
    { "ActSetPicTable", "MainMenu", "Shuttle_Table" },
    { "ActSetWeftDensity", "MainMenu", "Set_Weft_Density" },
    { "ActSetWeftDensityTable", "MainMenu", "Weft_Density_Table" },
    { "ActRegulatorInput", "MainMenu", "Rule_Input" },
    { "ActSelColorPick", "MainMenu", "Shuttle_By_Color" },
    { "ActWarpWeftPointCount", "MainMenu", "Warp_Weft_Point_Count" },
    { "ActPickStat", "MainMenu", "Shuttle_Statistics" },
    { "ActDisplayTools", "MainMenu", "Display_Tools" },
    { "ActFileNew", "MainMenu", "New" },
    { "ActCloseAll", "MainMenu", "Close_All" },
    { "ActCut", "MainMenu", "Cut" },
    { "ActSprayer", "Tools", "Sprayer" },
    { "ActChangeColor", "Tools", "Change_Color" },
};
} // namespace

const TMainActionCaption *FindLayoutCaption(std::string_view name)
{
    for (const TMainActionCaption &caption : kLayoutCaptions)
        if (name == caption.Name)
            return &caption;
    return nullptr;
}
