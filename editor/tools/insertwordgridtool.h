#pragma once
// TInsertWordTool: the text tool. A click opens the text dialog on the pressed cell (or on
// the floating text when the click hits it); OK makes or changes the floating text, and
// the move tool follows to place it.

#include "editor/tools/gridtool.h"

class TInsertWordTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override { m_grid.InsertWordAt(e); }
    // The floating text stays: the click may be meant for it.
    bool KeepsFloatingObjects() const override { return true; }
};
