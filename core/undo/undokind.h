#pragma once
// The kinds of undo step. The number is kept with every step; a cell step may carry any
// number that is not one of the others and then replays as a cell step.

#include <cstdint>

enum class TUndoKind : std::uint8_t {
    Image = 0, // whole picture in two temporary files
    Palette = 1, // palette in two temporary files
    Text = 2, // floating text object
    Bitmap = 4, // floating picture object
    Cells = 5, // changed cells
    State = 8, // grid settings only
    ShiftVert = 9, // cyclic shift of the rows
    ShiftHorz = 10 // cyclic shift of the columns
};

// The flips and turns a whole-picture step may replay by the operation itself. Each has an exact inverse, so
// the step keeps no cells.
enum class TPictureTurn : std::uint8_t {
    FlipLeftRight, // the box's columns in reverse order
    FlipTopBottom, // the box's rows in reverse order
    HalfTurn,
    QuarterLeft, // 90 degrees counter-clockwise as stored
    QuarterRight // 90 degrees clockwise
};
