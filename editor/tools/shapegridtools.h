#pragma once
// The two-point shape tools: straight line, rectangle and ellipse, outlined or filled. A
// shape stays pending after its drag, to be grabbed, moved or reshaped, until another
// tool, a new shape or Enter commits it.

#include "editor/tools/gridtool.h"

class TTwoPointShapeTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
};
