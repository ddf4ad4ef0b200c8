#pragma once
// TTileMarginBoxes: the margin and float-length controls the tile-weave window and the
// tile-pattern dialog share. Both edit the same part of their settings (the weave's record
// extends the pattern's), so the one copy between record and controls lives here.

#include "core/settings/settings.h"

class QCheckBox;
class QSpinBox;

struct TTileMarginBoxes {
    // Whether each side keeps a margin, and its length.
    QCheckBox *Left = nullptr, *Right = nullptr, *Top = nullptr, *Bottom = nullptr;
    QSpinBox *LeftLength = nullptr, *RightLength = nullptr, *TopLength = nullptr, *BottomLength = nullptr;
    QSpinBox *Float = nullptr;

    void Show(const TTilePatternParam &param) const;
    // Writes the controls into the margins and FloatLength of param; its other fields stay.
    void ReadInto(TTilePatternParam &param) const;
};
