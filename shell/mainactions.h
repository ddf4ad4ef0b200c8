#pragma once
// TMainActionInfo: the main window's actions as one table.
// Every menu item and tool button of the main window is one of these actions. The table says,
// for each, its tag (the tool id of a drawing action, the language index of a language
// action), where its caption comes from in the interface texts, the menu it sits in and who
// runs it: the active document window (forwarded), the main window itself, or nobody (shown,
// does nothing). The window builds its menus and re-applies its captions from this table, so
// a caption key or a menu placement is changed in one place. Pure data, no Qt widgets.

#include <QString>

#include <span>
#include <string_view>

// The menus of the main window's menu bar and their sub-menus. None: in no menu (the palette
// bar's protect button and the two unused actions); ToolBar: the drawing tools, which sit in
// the tool bars only.
enum class TMainMenu {
    None,
    File,
    Edit,
    Pattern,
    Picture,
    HorzMirror, // sub-menu of Picture
    VertMirror, // sub-menu of Picture
    Technology,
    Output,
    Window,
    Language, // sub-menu of Window, captioned by ActLanguage
    Help,
    ToolBar,
};

// Who runs an action when it is chosen.
enum class TMainActionRoute {
    // Needs an active document; runs the document window's action of the same name (or of
    // DocumentAction when that is given) and does nothing without a document.
    Forwarded,
    MainWindow,
    // Shown but does nothing: no command has ever been given to these.
    Inert,
};

// The interface-text section an action's caption (and hint) is looked up in.
enum class TMainActionText {
    None, // no key: the action keeps the caption the window gives it
    MainMenu,
    Tools,
};

struct TMainActionInfo {
    static constexpr int NoTag = -1;

    const char *Name;
    int Tag; // tool id or language index; NoTag for the others
    TMainActionText Section;
    const char *Key; // caption key in Section; null when Section is None
    TMainMenu Menu;
    TMainActionRoute Route;
    const char *DocumentAction; // forwarded under another name; null when the name is the same
};

struct TMainMenuInfo {
    TMainMenu Menu;
    const char *Name;
    const char *Key; // caption key in section "MainMenu"
    TMainMenu Parent; // None for the menus of the menu bar
};

// All actions: the menu actions grouped by menu in their menu order, then the drawing tools.
std::span<const TMainActionInfo> MainActions();
// The action called Name (exact case), or null.
const TMainActionInfo *FindMainAction(std::string_view name);
// The name of the document window's action a forwarded action runs.
const char *DocumentActionName(const TMainActionInfo &action);
// "MainMenu" or "Tools"; empty for None.
QString MainActionTextSection(TMainActionText section);

// The caption of an action without a caption key of its own in the table (the window's
// layout gave it a fixed caption): the interface text it takes instead.
struct TMainActionCaption {
    const char *Name;
    const char *Section;
    const char *Key;
};
// The caption of such an action, or null (actions with a key, and the two unused ones).
const TMainActionCaption *FindLayoutCaption(std::string_view name);

// The menus and sub-menus (every TMainMenu but None and ToolBar), in menu-bar order.
std::span<const TMainMenuInfo> MainMenus();
// The entry of Menu, or null for None and ToolBar.
const TMainMenuInfo *FindMainMenu(TMainMenu menu);
