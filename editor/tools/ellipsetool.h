#pragma once
// TCircleLine: the ellipse tool (and the ellipse selection) in the box of two cells.
// The two vertices are opposite corners of the ellipse's box (both included). With a
// solid brush the commit fills the ellipse; otherwise it draws the outline thickened
// inwards by the pen extents (concentric outlines, each inset by one more cell), or with
// the ring flag two outlines: the ellipse and one inset by the extents plus one. The cell
// list is exactly what the commit writes.

#include "editor/tools/rectangletool.h"

// Concentric outlines of the ellipse in the box of a and b: for j below vertWidth and i
// below horzWidth the outline of the box inset by i across and j down, as long as the
// inset box is not turned inside out; one outline for extents of 1. Appended to Out.
void ConcentricEllipseCells(TPoint a, TPoint b, int horzWidth, int vertWidth, TCellList &Out);

class TCircleLine : public TRectangleLine {
public:
    const char *ClassName() const override { return "TCircleLine"; }
    TCellList Cells() const override;
    TCellMask CreateRegion() const override;
    void PaintShape(QImage &screen) override;

protected:
    void commit(QImage &picture) override;
    bool containsCell(TPoint cell) const override { return CreateRegion().Contains(cell); }
};
