#pragma once
// The concentric circles: the first press sets the centre; each further press adds a ring
// (or takes the ring's vertex under the pointer), and the drag moves it.

#include "editor/tools/gridtool.h"

class TConcentricTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
};
