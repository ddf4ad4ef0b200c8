#pragma once
// TGridTool: one drawing tool working on the pattern grid. The grid keeps the checks every
// tool shares (the pointer inside the picture, the Ctrl colour pick, the selection that
// follows its outline) and hands each press, move, release and key to the current tool.
// A tool is made once per grid, from its row of the tool table (tooltable.h), the first
// time it is chosen, and keeps its own state (a spray's centre, a drag's start) for the
// grid's life.

#include "core/base/toolid.h"
#include "editor/patterngrid.h"

// The keys the main window passes on to the current tool.
enum class TToolKey : std::uint8_t { Enter, Space, Delete };

class TGridTool {
public:
    using TCellEvent = TPatternGrid::TCellEvent;

    TGridTool(TPatternGrid &grid, TToolId id)
        : m_grid(grid)
        , m_id(id)
    {
    }
    virtual ~TGridTool() = default;
    TGridTool(const TGridTool &) = delete;
    TGridTool &operator=(const TGridTool &) = delete;

    TToolId Id() const { return m_id; }

    // A button went down on a picture cell.
    virtual void Press(const TCellEvent &e) = 0;
    // The pointer moved to a picture cell: with the button held, or without for a tool
    // whose FollowsHover is set.
    virtual void Move(const TCellEvent &) { }
    virtual void Release(const TCellEvent &) { }
    // True when the tool took the key; otherwise the grid's own handling of the drawing
    // objects applies.
    virtual bool Key(TToolKey) { return false; }
    // The pointer cursor (a TCursorId, 0 for the arrow): the tool table's.
    virtual int Cursor() const;
    // The tool became the grid's tool, or another tool is taking its place (next).
    virtual void Activate() { }
    virtual void Deactivate(TToolId /*next*/) { }

    // Moves without a button reach the tool too.
    virtual bool FollowsHover() const { return false; }
    // A move the tool takes before the grid checks for a picture cell (the view drag works
    // on the window's cells); true when taken.
    virtual bool TakeMoveAnywhere(const TCellEvent &, bool /*held*/) { return false; }
    // Ctrl with a click picks a colour instead of using the tool; a right click picks one
    // with the tools that have no right-button use.
    virtual bool CtrlPicksColor() const { return true; }
    virtual bool RightClickPicksColor() const { return false; }
    // A press leaves the floating objects where they are.
    virtual bool KeepsFloatingObjects() const { return false; }
    // Choosing another tool commits no pending shape while this one is current, and coming
    // back makes no new drawing object: the view drag lets the user scroll and go on.
    virtual bool KeepsPendingShape() const { return false; }

protected:
    TPatternGrid &m_grid;
    const TToolId m_id;
};
