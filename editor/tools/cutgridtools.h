#pragma once
// The cuts: a click on row (column) r of the first repeat shifts the picture cyclically so
// that r comes first; row 0 and rows past the repeat do nothing.

#include "editor/tools/gridtool.h"

class TCutTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
};
