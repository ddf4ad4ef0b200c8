#pragma once
// TBindingPointTool: the manual binding points (手动间丝), tools 36 (合单) and 37 (合双).
// A stroke as the free-hand tool draws it, with either button, keeping one cell per column
// (经向) or per row (纬向), each moved by one where the binding's parity wants it; the grid's
// binding options (JianSiStyle, JianSiWay, AutoFillPoint) and the picture's height, taken
// at the press, decide how. The release marks the points in the fore index as one step.

#include "editor/tools/freehandgridtool.h"

class TBindingPointTool : public TFreeHandTool {
public:
    using TFreeHandTool::TFreeHandTool;
    void Press(const TCellEvent &e) override;
    bool RightClickPicksColor() const override { return false; }
};
