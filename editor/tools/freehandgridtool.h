#pragma once
// The free-hand tools, outlined and filled: the stroke follows the pointer and is committed
// when the button comes up. A right click picks a colour instead.

#include "editor/tools/gridtool.h"

class TFreeHandTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
    bool RightClickPicksColor() const override { return true; }
};
