// Reading the mouse wheel: which way a turn scrolls or zooms with the keys held, turns
// smaller than a notch adding up, and the arithmetic of keeping the point under the
// pointer while zooming.
#include "core/base/wheelturn.h"

#include <gtest/gtest.h>

#include <climits>

TEST(WheelTurn, KeysChooseRowsColumnsOrZoomAndTheTurnChoosesTheWay)
{
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    struct Case {
        const char *what;
        int dx, dy;
        Qt::KeyboardModifiers mods;
        int lines;
        TWheelAction action;
        int steps;
    } cases[] = {
        { "towards the user: rows down", 0, -120, none, 3, TWheelAction::ScrollRows, 3 },
        { "away: rows up", 0, 120, none, 3, TWheelAction::ScrollRows, -3 },
        { "the desktop's lines per notch", 0, -120, none, 5, TWheelAction::ScrollRows, 5 },
        { "two notches in one event", 0, -240, none, 3, TWheelAction::ScrollRows, 6 },
        { "Shift: columns right", 0, -120, shift, 3, TWheelAction::ScrollCols, 3 },
        { "Shift, turned away: columns left", 0, 120, shift, 3, TWheelAction::ScrollCols, -3 },
        { "Shift made sideways by the system", -120, 0, shift, 3, TWheelAction::ScrollCols, 3 },
        { "a sideways turn: columns", 120, 0, none, 3, TWheelAction::ScrollCols, -3 },
        { "mostly sideways: columns", -120, 30, none, 3, TWheelAction::ScrollCols, 3 },
        { "Ctrl, away: zoom in one level", 0, 120, ctrl, 3, TWheelAction::Zoom, 1 },
        { "Ctrl, towards: zoom out", 0, -120, ctrl, 3, TWheelAction::Zoom, -1 },
        { "Ctrl wins over Shift", 0, 240, ctrl | shift, 3, TWheelAction::Zoom, 2 },
        { "no turn", 0, 0, none, 3, TWheelAction::None, 0 },
        { "lines below 1 count as 1", 0, -120, none, 0, TWheelAction::ScrollRows, 1 },
    };
    for (const Case &c : cases) {
        TWheelTurn turn;
        const TWheelStep step = turn.Take(c.dx, c.dy, c.mods, c.lines);
        EXPECT_EQ(step.Action, c.action) << c.what;
        EXPECT_EQ(step.Steps, c.steps) << c.what;
    }
}

// A fine wheel sends a notch in eighths; none of it may be lost, in either direction,
// and a part left over from one kind of turn does not leak into another.
TEST(WheelTurn, PartsOfANotchAddUpAndStayWithTheirKind)
{
    TWheelTurn turn;
    int rows = 0;
    for (int i = 0; i < 8; ++i)
        rows += turn.Take(0, -15, Qt::NoModifier, 3).Steps;
    EXPECT_EQ(rows, 3) << "eight eighths scroll as far as one notch";
    for (int i = 0; i < 8; ++i)
        rows += turn.Take(0, 15, Qt::NoModifier, 3).Steps;
    EXPECT_EQ(rows, 0) << "and back";

    int zoom = 0;
    for (int i = 0; i < 7; ++i)
        zoom += turn.Take(0, 15, Qt::ControlModifier, 3).Steps;
    EXPECT_EQ(zoom, 0) << "seven eighths zoom nothing yet";
    EXPECT_EQ(turn.Take(0, 15, Qt::ControlModifier, 3).Steps, 1);

    // 7/8 of a zoom notch, then a plain eighth: the zoom's part is dropped, the eighth
    // alone is a third of a row.
    for (int i = 0; i < 7; ++i)
        turn.Take(0, 15, Qt::ControlModifier, 3);
    EXPECT_EQ(turn.Take(0, 15, Qt::NoModifier, 3).Action, TWheelAction::None);
    EXPECT_EQ(turn.Take(0, 15, Qt::NoModifier, 3).Action, TWheelAction::None);
    EXPECT_EQ(turn.Take(0, 15, Qt::NoModifier, 3).Steps, -1) << "three eighths: one row";

    // A damaged event with an absurd delta still gives a bounded step.
    TWheelTurn wild;
    const TWheelStep step = wild.Take(0, INT_MIN, Qt::NoModifier, 120);
    EXPECT_EQ(step.Action, TWheelAction::ScrollRows);
    EXPECT_GT(step.Steps, 0);
}

TEST(WheelTurn, ZoomedPointAndScrollKeepTheContentUnderThePointer)
{
    struct Case {
        int pos, oldStart, oldExtent, newStart, newExtent, zoomed;
    } cases[] = {
        { 23, 20, 7, 28, 9, 31 }, // 3 of 7 into the cell: 3 of 9 into it after (3 x 9 / 7 = 3)
        { 26, 20, 7, 28, 14, 40 }, // 6 of 7: 12 of 14
        { 20, 20, 7, 40, 3, 40 }, // the cell's first pixel stays its first
        { 15, 20, 7, 20, 14, 10 }, // before the span (a margin) scales too
        { 25, 20, 0, 33, 5, 33 }, // a span of no pixels keeps its start
    };
    for (const Case &c : cases)
        EXPECT_EQ(ZoomedPoint(c.pos, c.oldStart, c.oldExtent, c.newStart, c.newExtent), c.zoomed) << c.pos;

    EXPECT_EQ(ScrollKeepingPoint(500, 120, 1000), 380);
    EXPECT_EQ(ScrollKeepingPoint(50, 120, 1000), 0) << "not before the start";
    EXPECT_EQ(ScrollKeepingPoint(5000, 120, 1000), 1000) << "not past the end";
    EXPECT_EQ(ScrollKeepingPoint(500, 120, -4), 0) << "nothing to scroll";
}
