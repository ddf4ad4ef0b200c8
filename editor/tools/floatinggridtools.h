#pragma once
// The tools of the floating picture: the move tool (the start tool), which drags a
// selection's content or a floating picture by its body or its handles; the selection's
// drag, which it hands a press inside the selection to; and the paste at the clicked cell.

#include "editor/tools/gridtool.h"

class TMoveTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
    bool FollowsHover() const override { return true; }
    bool KeepsFloatingObjects() const override { return true; }
};

// Between a press inside the selection and the first move: the move cuts the selection
// and pastes it where it was as a floating picture, which the drag then carries on.
class TMoveSelectionTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &) override { }
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
    bool KeepsFloatingObjects() const override { return true; }
};

// Pastes the clipboard's piece with its corner at the pressed cell.
class TPasteAtClickTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
};
