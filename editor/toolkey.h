#pragma once
// TToolKey: the keys the drawing tools answer, by name. The window turns the keys it is
// given into these, so that no key code travels from the window to the grid.

enum class TToolKey {
    Enter, // finishes the pending shape or outline (the window also takes B for it)
    Space, // shows or hides a pending curve; with the quadrilateral, applies or drops it
    Delete, // takes back the last point placed
};
