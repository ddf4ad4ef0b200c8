#pragma once
// The flood fill and the colour change: both recolour with the fore index at a click. The
// fill and the recolouring themselves are the grid's (they record their own undo steps).

#include "editor/tools/gridtool.h"

class TFillColorTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override { m_grid.FloodFillAt(e.Cell); }
};

class TChangeColorTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override { m_grid.ChangeColorAt(e.Cell); }
};
