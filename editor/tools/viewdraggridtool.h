#pragma once
// The view drag: the cell grabbed at the press stays under the pointer. It works on the
// window's cells, which may lie beyond the picture's, and keeps a pending shape so that
// the user can scroll and go on.

#include "editor/tools/gridtool.h"

class TViewDragTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
    bool TakeMoveAnywhere(const TCellEvent &e, bool held) override;
    bool CtrlPicksColor() const override { return false; }
    bool KeepsPendingShape() const override { return true; }
    bool Dragging() const { return m_dragging; }

private:
    TPoint m_start { -1, -1 };
    bool m_dragging = false;
};
