#pragma once
// The clear-mottle tools, rectangle and ellipse: a ready 20 x 20 shape follows the pointer
// and cleans under it with each left click (every cell in it takes the fore index except
// the cells of the back colour). A drag with the left button draws a new shape, a right
// drag resizes it, and a right click without a drag swaps rectangle and ellipse.

#include "editor/tools/gridtool.h"

class TClearMottleTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
    bool Key(TToolKey key) override;
    void Activate() override;
    void Deactivate(TToolId next) override;
    bool FollowsHover() const override { return true; }
};
