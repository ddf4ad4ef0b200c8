#pragma once
// The colour pick: the clicked cell's index and colour go to the main window, as the fore
// colour with the left button and the back colour with the right. The grid's Ctrl pick,
// which works with every tool, sends the same.

#include "editor/tools/gridtool.h"

// What kind of pick the main window is told of.
enum class TColorPickKind : std::uint8_t { Fore = 3, Back = 4 };

void PickColorAt(const TPatternGrid &grid, TPoint cell, TColorPickKind kind);

class TColorPickTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    bool KeepsFloatingObjects() const override { return true; }
};
