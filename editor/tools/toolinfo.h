#pragma once
// What the main window reads about each grid tool: the action that chooses it, the
// caption of that action in the interface texts, and whether the grid side of the tool is
// built (a tool that is not built does nothing on the grid and is not offered as working).

#include "core/base/toolid.h"

struct TToolInfo {
    TToolId Id = TToolId::NoTool;
    const char *ActionName = nullptr; // null: no action chooses the tool
    const char *CaptionSection = nullptr; // section of the interface texts
    const char *CaptionKey = nullptr;
    bool Built = false;
};

// Every tool id has one; ids outside the table give the row of NoTool.
TToolInfo ToolInfo(TToolId id);
