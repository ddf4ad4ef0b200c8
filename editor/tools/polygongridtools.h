#pragma once
// The tools whose shape is clicked point by point: the arc (three points), the polyline,
// the curve, outlined or filled; and the quadrilateral that the picture is mapped onto.

#include "editor/tools/gridtool.h"

// The taken vertex follows the pointer while the button is held.
class TPointwiseShapeTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
};

// Three points make the arc; a fourth press commits it and starts the next.
class TArcTool : public TPointwiseShapeTool {
public:
    using TPointwiseShapeTool::TPointwiseShapeTool;
    void Press(const TCellEvent &e) override;
};

class TPolylineTool : public TPointwiseShapeTool {
public:
    using TPointwiseShapeTool::TPointwiseShapeTool;
    void Press(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
};

class TCurveTool : public TPointwiseShapeTool {
public:
    using TPointwiseShapeTool::TPointwiseShapeTool;
    void Press(const TCellEvent &e) override;
};

// Four corners clicked in the selection's object; Enter (or Space) maps the picture onto
// them and returns to the previous tool, Space without four corners only returns. The
// quadrilateral is no selection: a selection's outline it replaces takes the selection
// along, and the corners go when the tool is left.
class TQuadrilateralTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
    bool Key(TToolKey key) override;
    void Activate() override;
    void Deactivate(TToolId next) override;
};
