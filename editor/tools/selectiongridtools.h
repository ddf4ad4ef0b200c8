#pragma once
// The selection tools: rectangle, ellipse, whole rows or columns, free-hand outline,
// polygon, curve and the magic stick, all drawing into the selection's object, whose area
// the grid keeps as the selection.

#include "editor/tools/gridtool.h"

// Rectangle, ellipse and free-hand outline: dragged out, then grabbed or reshaped.
class TSelectionShapeTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
};

// One whole row or column under the press.
class TBandSelectionTool : public TSelectionShapeTool {
public:
    using TSelectionShapeTool::TSelectionShapeTool;
    void Press(const TCellEvent &e) override;
};

// The box of every cell of the pressed cell's index; with Shift the piece band under it.
class TMagicStickTool : public TSelectionShapeTool {
public:
    using TSelectionShapeTool::TSelectionShapeTool;
    void Press(const TCellEvent &e) override;
};

// Polygon and curve outlines clicked point by point.
class TPolygonSelectionTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
};
