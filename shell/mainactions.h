#pragma once
// TMainActionInfo: the main window's actions as one table.
// Every menu item and tool button of the main window is one of these actions. The table says,
// for each, where its caption comes from in the interface texts, the menu it sits in, its
// standard key, whether its command works on the active document, and how far it is built:
// Built (the window gives it its command), Planned (shown disabled until its feature is built)
// or Inert (shown enabled, does nothing, as it always has). The window builds its menus,
// captions and keys from this table, and a test holds the window's commands to it, so the
// table is also the reviewed list of what is still to be built. Pure data, no Qt widgets.

#include "core/base/toolid.h"

#include <QKeySequence>
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

// How far an action is built.
enum class TActionStatus {
    Built, // the window gives it exactly one command
    Planned, // its feature is not built yet: no command, shown disabled
    Inert, // never had a command: shown enabled, does nothing
};

struct TMainActionInfo {
    static constexpr int NoLanguage = -1;

    const char *Name;
    const char *Section; // interface-text section of the caption; null only for unplaced rows
    const char *Key; // caption key in Section
    TMainMenu Menu;
    TActionStatus Status;
    // The command works on the active document: disabled without one, never run without one.
    bool NeedsDocument;
    // The drawing tool a tool row chooses; NoTool for the other rows.
    TToolId Tool = TToolId::NoTool;
    // The language index a language row chooses (0 to 3); NoLanguage for the other rows.
    int Language = NoLanguage;
    // The platform's standard key of the command, shown in the menu.
    QKeySequence::StandardKey Shortcut = QKeySequence::UnknownKey;
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
// Whether the tool's work on the grid is built. A tool that is not stays a Planned row, so
// that it is never offered as a working button.
bool ToolGridSideBuilt(TToolId tool);

// The icon of an action shown in a tool bar: a name of the desktop icon theme, or the path of
// one of the program's own icons (beginning ":/"); null for an action without one.
const char *MainActionIcon(std::string_view name);

// The menus and sub-menus (every TMainMenu but None and ToolBar), in menu-bar order.
std::span<const TMainMenuInfo> MainMenus();
// The entry of Menu, or null for None and ToolBar.
const TMainMenuInfo *FindMainMenu(TMainMenu menu);
