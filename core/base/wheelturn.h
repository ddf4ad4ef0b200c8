#pragma once
// TWheelTurn: what a turn of the mouse wheel asks of a view of cells.
// The views of cells (the pattern grid, the sample card, the card viewer) read the wheel
// alike: a plain turn scrolls rows, Shift with a turn (or a sideways turn) scrolls
// columns, Ctrl with a turn zooms. A fine-grained wheel or a touchpad sends turns smaller
// than one notch; they add up until they make whole steps, so that a slow turn scrolls
// as far as a quick one. The arithmetic of keeping the point under the pointer in place
// while the zoom changes is here too, for the views that scroll by pixels.

#include <QtGlobal>
#include <qnamespace.h>

enum class TWheelAction { None, ScrollRows, ScrollCols, Zoom };

// The steps one wheel event makes.
struct TWheelStep {
    TWheelAction Action = TWheelAction::None;
    // Scrolling: rows or columns to add to the first one shown (negative = towards the
    // start). Zoom: levels to zoom in (negative = out).
    int Steps = 0;
};

class TWheelTurn {
public:
    // One notch of an ordinary wheel, in the units of Qt's angle delta.
    static constexpr int Notch = 120;

    // Takes one wheel event: its angle delta (x: positive = turned left, y: positive =
    // turned away from the user), the keys held and the rows or columns one notch scrolls
    // (the desktop's setting, kept within 1 .. 120). Parts of a step are kept for the next
    // event of the same kind and dropped when the kind changes.
    TWheelStep Take(int deltaX, int deltaY, Qt::KeyboardModifiers modifiers, int linesPerNotch = 3);

private:
    TWheelAction m_last = TWheelAction::None;
    int m_rest = 0;
};

// Zooming about a point of a view that scrolls by pixels: the content point that lay
// under the pointer, at pos on one axis within a span (a cell) that started at oldStart
// with oldExtent pixels, lies after the zoom at this pixel of a span that starts at
// newStart with newExtent pixels. A span of no pixels keeps its start.
int ZoomedPoint(int pos, int oldStart, int oldExtent, int newStart, int newExtent);

// The scroll value that puts content pixel point under the pointer at pointer pixels
// from the view's edge, kept within 0 .. maximum.
int ScrollKeepingPoint(qint64 point, int pointer, int maximum);
