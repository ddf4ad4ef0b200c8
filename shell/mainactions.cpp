#include "shell/mainactions.h"

#include "editor/tools/toolinfo.h"

#include <algorithm>

namespace {

using enum TMainMenu;
using enum TActionStatus;
using T = TToolId;
using K = QKeySequence;
constexpr int NoLanguage = TMainActionInfo::NoLanguage;
constexpr bool Doc = true; // works on the active document
constexpr bool Free = false; // runs with or without a document

// Within a menu the rows stand in menu order; sub-menus are listed apart from their parent.
// A Planned row is a command still to be built: it stays disabled until its feature flips it
// to Built and gives it its command.
constexpr TMainActionInfo Actions[] = {
    // File menu.
    { "ActFileNew", "MainMenu", "New", File, Built, Free, T::NoTool, NoLanguage, K::New },
    { "ActBrowse", "MainMenu", "Open", File, Built, Free, T::NoTool, NoLanguage, K::Open },
    { "ActFileOpen", "MainMenu", "Open_File", File, Inert, Free },
    { "ActOpenPattern", "MainMenu", "Open_Pattern", File, Inert, Free },
    { "ActFileSave", "MainMenu", "Save", File, Built, Doc, T::NoTool, NoLanguage, K::Save },
    { "ActFileSaveAs", "MainMenu", "Save_As", File, Built, Doc, T::NoTool, NoLanguage, K::SaveAs },
    { "ActFileClose", "MainMenu", "Close_Child_Window", File, Built, Doc, T::NoTool, NoLanguage, K::Close },
    { "ActCloseAll", "MainMenu", "Close_All", File, Built, Doc },
    { "ActScan", "MainMenu", "Scan", File, Built, Free },
    { "ActSelectScan", "MainMenu", "Select_TWAIN_32_Source", File, Inert, Free },
    { "ActSetPage", "MainMenu", "Page_Option", File, Built, Free },
    { "ActPrintPreview", "MainMenu", "Print_Preview", File, Built, Doc },
    { "ActPrint", "MainMenu", "Print_Hint", File, Built, Doc, T::NoTool, NoLanguage, K::Print },
    { "ActSetSystem", "MainMenu", "System_Option", File, Built, Free },
    { "ActCalc", "MainMenu", "Calculator", File, Built, Free },
    // The recent files are listed here, between the calculator and exit.
    { "ActFileExit", "MainMenu", "Exit_Hint", File, Built, Free, T::NoTool, NoLanguage, K::Quit },

    // Edit menu.
    { "ActUndo", "MainMenu", "Undo", Edit, Built, Doc, T::NoTool, NoLanguage, K::Undo },
    { "ActRedo", "MainMenu", "Redo", Edit, Built, Doc, T::NoTool, NoLanguage, K::Redo },
    { "ActCopy", "MainMenu", "Copy_Hint", Edit, Built, Doc, T::NoTool, NoLanguage, K::Copy },
    { "ActCut", "MainMenu", "Cut", Edit, Built, Doc, T::NoTool, NoLanguage, K::Cut },
    { "ActPaste", "MainMenu", "Paste", Edit, Built, Doc, T::NoTool, NoLanguage, K::Paste },
    { "ActPasteTo", "MainMenu", "Paste_To", Edit, Built, Doc },
    { "ActDigitalCopy", "MainMenu", "Numeric_Copy", Edit, Built, Doc },
    { "ActCopyWithColor", "MainMenu", "Copy_With_Color", Edit, Inert, Free },
    { "ActSelectAll", "MainMenu", "Select_All", Edit, Built, Doc, T::NoTool, NoLanguage, K::SelectAll },
    { "ActCancelSelected", "MainMenu", "Cancel_Select", Edit, Built, Doc },
    { "ActFilledRGN", "MainMenu", "Fill_Area", Edit, Built, Doc },
    { "ActPaintBorder", "MainMenu", "Paint_Border", Edit, Built, Doc },
    { "ActClear", "MainMenu", "Clear_All", Edit, Built, Doc },
    { "ActDispProtATransColor", "MainMenu", "Set_Protect_Or_Transparent_Color", Edit, Built, Doc },

    // Pattern menu.
    { "ActZoomIn", "MainMenu", "Zoom_In", Pattern, Built, Doc, T::NoTool, NoLanguage, K::ZoomIn },
    { "ActZoomOut", "MainMenu", "Zoom_Out", Pattern, Built, Doc, T::NoTool, NoLanguage, K::ZoomOut },
    { "ActOrgSize", "MainMenu", "Restore", Pattern, Built, Doc },
    { "ActOldSize", "MainMenu", "Previous_Size", Pattern, Built, Doc },
    { "ActGridLine", "MainMenu", "Display_Separation_Line", Pattern, Built, Doc },
    { "ActSetGrid", "MainMenu", "Set_Pattern", Pattern, Built, Doc },
    { "ActSetPicSize", "MainMenu", "Set_Picture_Size", Pattern, Built, Doc },
    { "ActEditGross", "MainMenu", "Edit_Pattern", Pattern, Built, Doc },
    { "ActReduceArea", "MainMenu", "Reduce_To_Area_Size", Pattern, Built, Doc },
    { "ActRepeatDispPic", "MainMenu", "Repeat_Display", Pattern, Built, Doc },
    { "ActDispOneRepeatBorder", "MainMenu", "Display_One_Repeat_Border", Pattern, Built, Doc },
    { "ActMergePic", "MainMenu", "Repeat_Layout", Pattern, Built, Doc },
    { "ActJumpStart", "MainMenu", "Jump_Start", Pattern, Built, Doc },
    { "ActRemoveBlank", "MainMenu", "Remove_Blank_Warp", Pattern, Built, Doc },
    { "ActMoveWarp", "MainMenu", "Move_Warp", Pattern, Built, Doc },
    { "ActFlash", "MainMenu", "Light_Flash", Pattern, Built, Doc },
    { "ActSetCursorSize", "MainMenu", "Set_Cursor_Size", Pattern, Built, Free },
    { "ActSetSingleDoublePoint", "MainMenu", "Set_Single_Or_Double_Point", Pattern, Built, Doc },
    { "ActDigitalBeeLine", "MainMenu", "Numeric_Line", Pattern, Built, Doc },
    { "ActDigitalRectangle", "MainMenu", "Numeric_Rectangle", Pattern, Built, Doc },
    { "ActDigitalCircle", "MainMenu", "Numeric_Circle", Pattern, Built, Doc },
    { "ActColorRatio", "MainMenu", "Total_Color_Percent", Pattern, Built, Doc },
    { "ActUnitePic", "MainMenu", "Combine_Pattern", Pattern, Built, Free },

    // Picture menu.
    { "ActReduceColor", "MainMenu", "Reduce_Color", Picture, Built, Doc },
    { "ActRepairPic", "MainMenu", "Repair_Picture", Picture, Built, Doc },
    { "ActRotate90", "MainMenu", "Rotate_90_Anti_Clockwise_Degrees", Picture, Built, Doc },
    { "ActRotate180", "MainMenu", "Rotate_180_Degrees", Picture, Built, Doc },
    { "ActRotate270", "MainMenu", "Rotate_90_Clockwise_Degrees", Picture, Built, Doc },
    { "ActFlipLeftRight", "MainMenu", "Left_Right_Turning", Picture, Built, Doc },
    { "ActFlipTopBottom", "MainMenu", "Top_Bottom_Turning", Picture, Built, Doc },
    { "ActRotateRandom", "MainMenu", "Rotate_Other_Angle", Picture, Built, Doc },

    // Picture menu, horizontal mirror sub-menu.
    { "ActLeftImg", "MainMenu", "Left_Mirror", HorzMirror, Built, Doc },
    { "ActRightImg", "MainMenu", "Right_Mirror", HorzMirror, Built, Doc },

    // Picture menu, vertical mirror sub-menu.
    { "ActTopImg", "MainMenu", "Top_Mirror", VertMirror, Built, Doc },
    { "ActBottomImg", "MainMenu", "Bottom_Mirror", VertMirror, Built, Doc },

    // Picture menu.
    { "ActLeftRightLink", "MainMenu", "Left_Right_Seam", Picture, Built, Doc },
    { "ActTopBottomLink", "MainMenu", "Top_Bottom_Seam", Picture, Built, Doc },
    { "ActTopLink", "MainMenu", "Top_Seam", Picture, Built, Free },
    { "ActLeftLink", "MainMenu", "Left_Seam", Picture, Built, Free },
    { "ActManualLink", "MainMenu", "Manual_Seam", Picture, Built, Free },
    { "ActAutoLeftLink", "MainMenu", "Auto_Left_Seam", Picture, Built, Free },
    { "ActAutoTopLink", "MainMenu", "Auto_Top_Seam", Picture, Built, Free },
    { "ActDirectMerge", "MainMenu", "Combine_Picture", Picture, Built, Free },
    { "ActSplitePicture", "MainMenu", "Break_Picture", Picture, Built, Doc },
    { "ActRestoreOrgPic", "MainMenu", "Restore_Original_Picture", Picture, Inert, Free },
    { "ActInputPic", "MainMenu", "Input", Picture, Inert, Free },
    // No command has ever been given to the float check.
    { "ActFloatCheck", "MainMenu", "Float_Check", Picture, Inert, Free },

    // Technology menu.
    { "ActDesignWeave", "MainMenu", "Design_Weave", Technology, Built, Free },
    { "ActTileWeave", "MainMenu", "Tile_Weave", Technology, Built, Doc },
    { "ActTilePattern", "MainMenu", "Tile_Pattern", Technology, Built, Free },
    { "ActTechTileWeave", "MainMenu", "Assign_Weave", Technology, Built, Doc },
    { "ActConvertWeave", "MainMenu", "Convert_Weave", Technology, Built, Doc },
    { "ActTabbySketch", "MainMenu", "Tabby_Sketch", Technology, Built, Doc },
    { "ActMultiSketch", "MainMenu", "Multi_Sketch", Technology, Built, Doc },
    { "ActShadow", "MainMenu", "Shadow", Technology, Built, Doc },
    { "ActManualJianSi", "MainMenu", "Manual_Jiansi", Technology, Built, Doc },
    { "ActAutoJianSi", "MainMenu", "Auto_Jiansi", Technology, Built, Doc },
    { "ActCrepeWeave", "MainMenu", "Crepe_Weave", Technology, Built, Doc },
    { "ActRemoveWarp", "MainMenu", "Remove_Warp", Technology, Built, Doc },
    { "ActAddClothSide", "MainMenu", "Add_Side", Technology, Built, Doc },
    { "ActBaoBian", "MainMenu", "Bordure", Technology, Built, Doc },
    { "ActPatternMerge", "MainMenu", "Merge_Pattern", Technology, Built, Doc },
    { "ActSetPatternMerge", "MainMenu", "Set_Merge_Pattern", Technology, Inert, Free },
    { "ActMarkPoint", "MainMenu", "Search_Or_Add_Point", Technology, Built, Doc },
    { "ActPlaceWeaveWithPoint", "MainMenu", "Place_Weave_At_Point", Technology, Inert, Free },
    { "ActChangeColorHint", "TileWeave", "Change_Color_Hint", Technology, Built, Free },

    // Output menu.
    { "ActDesignCard", "MainMenu", "Design_Sample_Card", Output, Built, Doc },
    { "ActBuildPick", "MainMenu", "Build_Card", Output, Built, Doc },
    { "ActSaveYarn", "MainMenu", "Punch", Output, Built, Doc },
    { "ActBrowseWenban", "MainMenu", "Browse_Card", Output, Built, Free },
    { "ActSetPick", "MainMenu", "Set_Shuttle", Output, Built, Doc },
    { "ActSetPicTable", "MainMenu", "Shuttle_Table", Output, Built, Doc },
    { "ActSetWeftDensity", "MainMenu", "Set_Weft_Density", Output, Built, Doc },
    { "ActSetWeftDensityTable", "MainMenu", "Weft_Density_Table", Output, Built, Doc },
    { "ActRegulatorInput", "MainMenu", "Rule_Input", Output, Built, Doc },
    { "ActSelColorPick", "MainMenu", "Shuttle_By_Color", Output, Built, Doc },
    { "ActWarpWeftPointCount", "MainMenu", "Warp_Weft_Point_Count", Output, Inert, Free },
    { "ActPickStat", "MainMenu", "Shuttle_Statistics", Output, Inert, Free },

    // Window menu.
    { "WindowCascade1", "MainMenu", "Window_Cascade", Window, Built, Doc },
    { "WindowTileHorizontal1", "MainMenu", "Window_TileHorizontal", Window, Built, Doc },
    { "WindowTileVertical1", "MainMenu", "Window_TileVertical", Window, Built, Doc },
    { "WindowMinimizeAll1", "MainMenu", "Window_MinimizeAll", Window, Built, Doc },
    { "ActDisplayInfo", "MainMenu", "Dispaly_Navigator", Window, Built, Free },
    { "ActDisplayPalette", "MainMenu", "Display_Color_Pallete", Window, Built, Free },
    { "ActDisplayWeave", "MainMenu", "Display_Weave_Libaray", Window, Built, Free },
    { "ActDisplayTools", "MainMenu", "Display_Tools", Window, Inert, Free },
    // Only holds the language sub-menu.
    { "ActLanguage", "MainMenu", "Language", Window, Inert, Free },

    // Window menu, language sub-menu.
    { "ActEnglish", "MainMenu", "English", Language, Built, Free, T::NoTool, 0 },
    { "ActTraditional_Chinese", "MainMenu", "Traditional_Chinese", Language, Built, Free, T::NoTool, 1 },
    { "ActSimplified_Chinese", "MainMenu", "Simplified_Chinese", Language, Built, Free, T::NoTool, 2 },
    { "ActLocal_Language", "MainMenu", "Local_Language", Language, Built, Free, T::NoTool, 3 },

    // Help menu.
    { "ActHelp", "MainMenu", "Help_Hint", Help, Built, Free },
    { "ActAbout", "MainMenu", "About", Help, Built, Free },

    // In no menu: the palette bar's protect button and two unused actions.
    { "Action1", nullptr, nullptr, None, Inert, Free },
    { "Action3", nullptr, nullptr, None, Inert, Free },
    { "ActProtectColor", "Tools", "Selected_Protect_Color", None, Built, Free },

    // The drawing tools of the tool bars, each choosing its tool.
    { "ActDefineRectangle", "Tools", "Define_Rectangle_Area", ToolBar, Built, Free, T::DefineRectangle },
    { "ActDefineCircle", "Tools", "Define_Circle_Area", ToolBar, Built, Free, T::DefineCircle },
    { "ActDefineHorizontalLine", "Tools", "Define_Horizontally_Area", ToolBar, Built, Free,
        T::DefineHorizontalLine },
    { "ActDefineVerticalLine", "Tools", "Define_Vertically_Area", ToolBar, Built, Free,
        T::DefineVerticalLine },
    { "ActDefineFreePointLine", "Tools", "Define_WantOnly_Area", ToolBar, Built, Free,
        T::DefineFreePointLine },
    { "ActDefineBreakPointLine", "Tools", "Define_Line_Segment_Area", ToolBar, Built, Free,
        T::DefineBreakPointLine },
    { "ActDefineCurveLine", "Tools", "Define_Curve_Area", ToolBar, Built, Free, T::DefineCurveLine },
    { "ActAutoDefineArea", "Tools", "Define_Auto_Area", ToolBar, Inert, Free },
    { "ActMagicStick", "Tools", "Magic_Stick", ToolBar, Built, Free, T::MagicStick },
    { "ActMove", "Tools", "Move_Word_Or_Area", ToolBar, Built, Free, T::Move },
    { "ActArc", "Tools", "Draw_A_Curve", ToolBar, Built, Free, T::Arc },
    { "ActBeeLine", "Tools", "Draw_A_Line", ToolBar, Built, Free, T::BeeLine },
    { "ActFreeLine", "Tools", "Draw_A_WantOnly_Line", ToolBar, Built, Free, T::FreeLine },
    { "ActFillColor", "Tools", "Fill_Color", ToolBar, Built, Free, T::FillColor },
    { "ActSprayer", "Tools", "Sprayer", ToolBar, Built, Free, T::Sprayer },
    { "ActAbsorbColor", "Tools", "Absorb_Color", ToolBar, Built, Free, T::AbsorbColor },
    { "ActRuber", "Tools", "Ruber", ToolBar, Planned, Free, T::Ruber },
    { "ActInsertWord", "Tools", "Insert_Word", ToolBar, Built, Free, T::InsertWord },
    { "ActRectangle", "Tools", "Draw_A_Void_Rectangle", ToolBar, Built, Free, T::Rectangle },
    { "ActFilledRectangle", "Tools", "Draw_A_Filled_Rectangle", ToolBar, Built, Free, T::FilledRectangle },
    { "ActCircle", "Tools", "Draw_A_Void_Circle", ToolBar, Built, Free, T::Circle },
    { "ActFilledCircle", "Tools", "Draw_A_Filled_Circle", ToolBar, Built, Free, T::FilledCircle },
    { "ActBreakLine", "Tools", "Draw_A_Break_Line", ToolBar, Built, Free, T::BreakLine },
    { "ActCurveLine", "Tools", "Draw_A_Continuous_Curve_Line", ToolBar, Built, Free, T::CurveLine },
    { "ActHorzLine", "Tools", "Draw_A_Horizontally_Line", ToolBar, Planned, Free, T::HorzLine },
    { "ActVertLine", "Tools", "Draw_A_Vertically_Line", ToolBar, Planned, Free, T::VertLine },
    { "ActFilledFreeLine", "Tools", "Draw_A_Wantonly_Filled_Graph", ToolBar, Built, Free, T::FilledFreeLine },
    { "ActFilledArc", "Tools", "Draw_A_Filled_Curve", ToolBar, Built, Free, T::FilledArc },
    { "ActFilledCurveLine", "Tools", "Draw_A_Filled_Curve", ToolBar, Built, Free, T::FilledCurveLine },
    { "ActFilledBreakLine", "Tools", "Draw_A_Filled_Break_Line", ToolBar, Built, Free, T::FilledBreakLine },
    { "ActHorzCut", "Tools", "Horizontally_Cut", ToolBar, Built, Free, T::HorzCut },
    { "ActVertCut", "Tools", "Vertically_Cut", ToolBar, Built, Free, T::VertCut },
    { "ActBuildRectBmp", "MainMenu", "Revise_Picture", ToolBar, Built, Free, T::BuildRectBmp },
    { "ActRevise", "Tools", "Revise", ToolBar, Built, Free, T::ClearMottleByRect },
    { "ActClearMottleByRect", "Tools", "Remove_Mix_Point_In_Rectangle_Area", ToolBar, Built, Free,
        T::ClearMottleByRect },
    { "ActClearMottleByCircle", "Tools", "Remove_Mix_Point_In_Circle_Area", ToolBar, Built, Free,
        T::ClearMottleByCircle },
    { "ActConcentricCircle", "Tools", "Draw_A_Concentric_Circle", ToolBar, Built, Free, T::ConcentricCircle },
    { "ActMoveGrid", "Tools", "Move_Pattern", ToolBar, Built, Free, T::MoveGrid },
    { "ActConcentricRectangle", "Tools", "Draw_A_Concentric_Rectangle", ToolBar, Planned, Free,
        T::ConcentricRectangle },
    { "ActChangeColor", "Tools", "Change_Color", ToolBar, Built, Free, T::ChangeColor },
    { "ActMouseSelect", "Tools", "Paste_To_Click_Point", ToolBar, Built, Free, T::MouseSelect },
};

// The icons of the tool bars' actions: the icon theme's for the tools every drawing program
// has, the program's own for the weaving tools and shapes the theme lacks.
struct TMainActionIcon {
    const char *Name;
    const char *Icon;
};
constexpr TMainActionIcon kIcons[] = {
    { "ActBrowse", "document-open" },
    { "ActFileSave", "document-save" },
    { "ActUndo", "edit-undo" },
    { "ActRedo", "edit-redo" },
    { "ActZoomIn", "zoom-in" },
    { "ActZoomOut", "zoom-out" },
    { "ActTileWeave", ":/toolicons/tileweave.svg" },
    { "ActDesignCard", ":/toolicons/samplecard.svg" },
    { "ActBuildPick", ":/toolicons/cardbuild.svg" },
    { "ActDefineRectangle", "select-rectangular" },
    { "ActDefineCircle", "tool_elliptical_selection" },
    { "ActDefineHorizontalLine", ":/toolicons/selectrow.svg" },
    { "ActDefineVerticalLine", ":/toolicons/selectcolumn.svg" },
    { "ActDefineFreePointLine", "edit-select-lasso" },
    { "ActDefineBreakPointLine", "tool_free_form_selection" },
    { "ActDefineCurveLine", "draw-path" },
    { "ActMagicStick", "tools-wizard" },
    { "ActMove", "transform-move" },
    { "ActMoveGrid", "transform-browse" },
    { "ActArc", "tool_curve" },
    { "ActBeeLine", "draw-line" },
    { "ActFreeLine", "draw-freehand" },
    { "ActBreakLine", "draw-polyline" },
    { "ActCurveLine", "draw-bezier-curves" },
    { "ActFillColor", "color-fill" },
    { "ActSprayer", "tool_spraycan" },
    { "ActAbsorbColor", "color-picker" },
    { "ActRuber", "draw-eraser" },
    { "ActInsertWord", "draw-text" },
    { "ActRectangle", "draw-rectangle" },
    { "ActCircle", "draw-ellipse" },
    { "ActConcentricCircle", ":/toolicons/concentric.svg" },
    { "ActFilledRectangle", ":/toolicons/filledrect.svg" },
    { "ActFilledCircle", ":/toolicons/filledellipse.svg" },
    { "ActFilledFreeLine", ":/toolicons/filledfree.svg" },
    { "ActFilledArc", ":/toolicons/filledarc.svg" },
    { "ActFilledCurveLine", ":/toolicons/filledcurve.svg" },
    { "ActFilledBreakLine", ":/toolicons/filledpolyline.svg" },
    { "ActHorzCut", ":/toolicons/horzcut.svg" },
    { "ActVertCut", ":/toolicons/vertcut.svg" },
    { "ActBuildRectBmp", "transform-shear-right" },
    { "ActClearMottleByRect", ":/toolicons/clearmottlerect.svg" },
    { "ActClearMottleByCircle", ":/toolicons/clearmottlecircle.svg" },
    { "ActChangeColor", ":/toolicons/changecolor.svg" },
    { "ActMouseSelect", "edit-paste-in-place" },
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

// The tool table of the grid says which tools have their grid side built.
bool ToolGridSideBuilt(TToolId tool)
{
    return ToolInfo(tool).Built;
}

const char *MainActionIcon(std::string_view name)
{
    for (const TMainActionIcon &icon : kIcons)
        if (name == icon.Name)
            return icon.Icon;
    return nullptr;
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
