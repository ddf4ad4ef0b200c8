#pragma once
// How two palettes become one when two pictures meet (a paste from another document, a
// left-right or top-bottom link): the question put to the person at the screen. The
// logic asks through TPaletteChoiceAsker, so that it runs without widgets and tests
// answer without a modal loop; the windows answer with the palette choice dialog
// (editor/ui/setpalettedialog.h).

#include <cstdint>

// What the two pictures are to each other; it names the two single-palette choices.
enum class TPaletteChoiceKind : std::uint8_t {
    LeftRight = 0, // a left and a right picture linked side by side
    TopBottom = 1, // a top and a bottom picture linked one under the other
    Paste = 2, // the document's own picture and a picture pasted into it
};

// The answer. The numbers are stored (the grid's paste mode) and must not change.
enum class TPaletteChoice : std::uint8_t {
    Combine = 3, // one palette of the used colours of both, both pictures remapped
    First = 4, // the left, top or document's own picture's palette
    Second = 5, // the right, bottom or pasted picture's palette
};

class TPaletteChoiceAsker {
public:
    virtual ~TPaletteChoiceAsker() = default;
    // False when the person cancels; choice is then left as it was.
    virtual bool AskPaletteChoice(TPaletteChoiceKind kind, TPaletteChoice &choice) = 0;
};
