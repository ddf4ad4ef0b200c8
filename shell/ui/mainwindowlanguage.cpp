// The main window's interface texts and the language switch.
#include "shell/ui/mainwindow.h"

#include "core/settings/settings.h"
#include "core/settings/uitexts.h"
#include "core/ui/uitextsetters.h"

#include <QAction>
#include <QMenu>

namespace {
struct TTextKey {
    const char *Name; // object name of the menu or action
    const char *Section;
    const char *Key;
};

// Menus and actions and the keys of their texts; actions take the text as hint too.
const TTextKey kTexts[] = {
    { "Mnu_File", "MainMenu", "Menu_File" },
    { "Mnu_Edit", "MainMenu", "Menu_Edit" },
    { "Mnu_Pattern", "MainMenu", "Menu_Pattern" },
    { "Mnu_Picture", "MainMenu", "Menu_Picture" },
    { "Mnu_Technology", "MainMenu", "Menu_Technology" },
    { "Mnu_Output", "MainMenu", "Menu_Output" },
    { "Mnu_Window", "MainMenu", "Menu_Window" },
    { "Mnu_Help", "MainMenu", "Menu_Help" },
    { "NHorzMirror", "MainMenu", "Horizontally_Mirror" },
    { "NVortMirror", "MainMenu", "Vertically_Mirror" },
    { "ActFileNew", "MainMenu", "New" },
    { "ActBrowse", "MainMenu", "Open" },
    { "ActFileSave", "MainMenu", "Save" },
    { "ActFileSaveAs", "MainMenu", "Save_As" },
    { "ActSaveYarn", "MainMenu", "Punch" },
    { "ActScan", "MainMenu", "Scan" },
    { "ActSelectScan", "MainMenu", "Select_TWAIN_32_Source" },
    { "ActSetPage", "MainMenu", "Page_Option" },
    { "ActPrintPreview", "MainMenu", "Print_Preview" },
    { "ActPrint", "MainMenu", "Print_Hint" },
    { "ActSetSystem", "MainMenu", "System_Option" },
    { "ActFileClose", "MainMenu", "Close_Child_Window" },
    { "ActCloseAll", "MainMenu", "Close_All" },
    { "ActFileExit", "MainMenu", "Exit_Hint" },
    { "ActCalc", "MainMenu", "Calculator" },
    { "ActPatternMerge", "MainMenu", "Merge_Pattern" },
    { "ActUndo", "MainMenu", "Undo" },
    { "ActRedo", "MainMenu", "Redo" },
    { "ActCopy", "MainMenu", "Copy_Hint" },
    { "ActPaste", "MainMenu", "Paste" },
    { "ActPaintBorder", "MainMenu", "Paint_Border" },
    { "ActFilledRGN", "MainMenu", "Fill_Area" },
    { "ActCancelSelected", "MainMenu", "Cancel_Select" },
    { "ActSelectAll", "MainMenu", "Select_All" },
    { "ActZoomOut", "MainMenu", "Zoom_Out" },
    { "ActZoomIn", "MainMenu", "Zoom_In" },
    { "ActOrgSize", "MainMenu", "Restore" },
    { "ActGridLine", "MainMenu", "Display_Separation_Line" },
    { "ActSetCursorSize", "MainMenu", "Set_Cursor_Size" },
    { "ActSetSingleDoublePoint", "MainMenu", "Set_Single_Or_Double_Point" },
    { "ActEditGross", "MainMenu", "Edit_Pattern" },
    { "ActReduceArea", "MainMenu", "Reduce_To_Area_Size" },
    { "ActRepeatDispPic", "MainMenu", "Repeat_Display" },
    { "ActSetGrid", "MainMenu", "Set_Pattern" },
    { "ActDispOneRepeatBorder", "MainMenu", "Display_One_Repeat_Border" },
    { "ActUnitePic", "MainMenu", "Combine_Pattern" },
    { "ActClear", "MainMenu", "Clear_All" },
    { "ActReduceColor", "MainMenu", "Reduce_Color" },
    { "ActBuildRectBmp", "MainMenu", "Revise_Picture" },
    { "ActTopBottomLink", "MainMenu", "Top_Bottom_Seam" },
    { "ActLeftRightLink", "MainMenu", "Left_Right_Seam" },
    { "ActRotate180", "MainMenu", "Rotate_180_Degrees" },
    { "ActRotate90", "MainMenu", "Rotate_90_Anti_Clockwise_Degrees" },
    { "ActRotate270", "MainMenu", "Rotate_90_Clockwise_Degrees" },
    { "ActRotateRandom", "MainMenu", "Rotate_Other_Angle" },
    { "ActDispProtATransColor", "MainMenu", "Set_Protect_Or_Transparent_Color" },
    { "ActFlipLeftRight", "MainMenu", "Left_Right_Turning" },
    { "ActFlipTopBottom", "MainMenu", "Top_Bottom_Turning" },
    { "ActLeftImg", "MainMenu", "Left_Mirror" },
    { "ActRightImg", "MainMenu", "Right_Mirror" },
    { "ActTopImg", "MainMenu", "Top_Mirror" },
    { "ActBottomImg", "MainMenu", "Bottom_Mirror" },
    { "ActDirectMerge", "MainMenu", "Combine_Picture" },
    { "ActSplitePicture", "MainMenu", "Break_Picture" },
    { "ActBaoBian", "MainMenu", "Bordure" },
    { "ActRemoveWarp", "MainMenu", "Remove_Warp" },
    { "ActRemoveBlank", "MainMenu", "Remove_Blank_Warp" },
    { "ActDesignWeave", "MainMenu", "Design_Weave" },
    { "ActTileWeave", "MainMenu", "Tile_Weave" },
    { "ActMoveWarp", "MainMenu", "Move_Warp" },
    { "ActMarkPoint", "MainMenu", "Search_Or_Add_Point" },
    { "ActTechTileWeave", "MainMenu", "Assign_Weave" },
    { "ActFlash", "MainMenu", "Light_Flash" },
    { "ActColorRatio", "MainMenu", "Total_Color_Percent" },
    { "ActAddClothSide", "MainMenu", "Add_Side" },
    { "WindowCascade1", "MainMenu", "Window_Cascade" },
    { "WindowTileHorizontal1", "MainMenu", "Window_TileHorizontal" },
    { "WindowTileVertical1", "MainMenu", "Window_TileVertical" },
    { "WindowMinimizeAll1", "MainMenu", "Window_MinimizeAll" },
    { "ActDisplayInfo", "MainMenu", "Dispaly_Navigator" },
    { "ActDisplayPalette", "MainMenu", "Display_Color_Pallete" },
    { "ActDisplayWeave", "MainMenu", "Display_Weave_Libaray" },
    { "ActHelp", "MainMenu", "Help_Hint" },
    { "ActAbout", "MainMenu", "About" },
    { "ActLanguage", "MainMenu", "Language" },
    { "ActEnglish", "MainMenu", "English" },
    { "ActTraditional_Chinese", "MainMenu", "Traditional_Chinese" },
    { "ActSimplified_Chinese", "MainMenu", "Simplified_Chinese" },
    { "ActLocal_Language", "MainMenu", "Local_Language" },
    { "ActDefineRectangle", "Tools", "Define_Rectangle_Area" },
    { "ActDefineCircle", "Tools", "Define_Circle_Area" },
    { "ActDefineHorizontalLine", "Tools", "Define_Horizontally_Area" },
    { "ActDefineVerticalLine", "Tools", "Define_Vertically_Area" },
    { "ActDefineFreePointLine", "Tools", "Define_WantOnly_Area" },
    { "ActDefineBreakPointLine", "Tools", "Define_Line_Segment_Area" },
    { "ActDefineCurveLine", "Tools", "Define_Curve_Area" },
    { "ActAutoDefineArea", "Tools", "Define_Auto_Area" },
    { "ActMagicStick", "Tools", "Magic_Stick" },
    { "ActMove", "Tools", "Move_Word_Or_Area" },
    { "ActBeeLine", "Tools", "Draw_A_Line" },
    { "ActArc", "Tools", "Draw_A_Curve" },
    { "ActFreeLine", "Tools", "Draw_A_WantOnly_Line" },
    { "ActFillColor", "Tools", "Fill_Color" },
    { "ActAbsorbColor", "Tools", "Absorb_Color" },
    { "ActRuber", "Tools", "Ruber" },
    { "ActInsertWord", "Tools", "Insert_Word" },
    { "ActProtectColor", "Tools", "Selected_Protect_Color" },
    { "ActRectangle", "Tools", "Draw_A_Void_Rectangle" },
    { "ActFilledRectangle", "Tools", "Draw_A_Filled_Rectangle" },
    { "ActCircle", "Tools", "Draw_A_Void_Circle" },
    { "ActFilledCircle", "Tools", "Draw_A_Filled_Circle" },
    { "ActBreakLine", "Tools", "Draw_A_Break_Line" },
    { "ActCurveLine", "Tools", "Draw_A_Continuous_Curve_Line" },
    { "ActHorzLine", "Tools", "Draw_A_Horizontally_Line" },
    { "ActVertLine", "Tools", "Draw_A_Vertically_Line" },
    { "ActFilledFreeLine", "Tools", "Draw_A_Wantonly_Filled_Graph" },
    { "ActFilledArc", "Tools", "Draw_A_Filled_Curve" },
    { "ActFilledCurveLine", "Tools", "Draw_A_Filled_Curve" },
    { "ActFilledBreakLine", "Tools", "Draw_A_Filled_Break_Line" },
    { "ActHorzCut", "Tools", "Horizontally_Cut" },
    { "ActVertCut", "Tools", "Vertically_Cut" },
    { "ActRevise", "Tools", "Revise" },
    { "ActClearMottleByRect", "Tools", "Remove_Mix_Point_In_Rectangle_Area" },
    { "ActClearMottleByCircle", "Tools", "Remove_Mix_Point_In_Circle_Area" },
    { "ActConcentricCircle", "Tools", "Draw_A_Concentric_Circle" },
    { "ActMoveGrid", "Tools", "Move_Pattern" },
    { "ActConcentricRectangle", "Tools", "Draw_A_Concentric_Rectangle" },
    { "ActMouseSelect", "Tools", "Paste_To_Click_Point" },
};
} // namespace

void TMainForm::ApplyLanguage()
{
    setWindowTitle(GetUiMessage(QStringLiteral("ApplicationName")));
    for (const TTextKey &t : kTexts) {
        const QString name = QLatin1String(t.Name);
        const QString section = QLatin1String(t.Section);
        const QString key = QLatin1String(t.Key);
        if (auto *menu = findChild<QMenu *>(name))
            menu->setTitle(GetUiString(section, key));
        else if (auto *action = findChild<QAction *>(name))
            SetActionUiText(action, section, key);
    }
}

void TMainForm::SetLanguage(int index)
{
    WriteLanguageIndex(index);
    OpenLanguageFile();
    ApplyLanguage();
}
