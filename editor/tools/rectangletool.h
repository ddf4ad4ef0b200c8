#pragma once
// TRectangleLine: the rectangle tool (and the rectangle selection), two corner cells.
// The second vertex follows the pointer: a third point replaces it. The outline is
// RasterizeRectangle with the pen extents; with a solid brush the commit fills the whole
// rectangle. Both corner cells belong to the rectangle, also to its area.

#include "editor/tools/customline.h"

class TRectangleLine : public TCustomLine {
public:
    const char *ClassName() const override { return "TRectangleLine"; }
    // Keeps at most two vertices: with two already, the second is replaced.
    void AddPoint(TPoint p) override;
    TCellList Cells() const override;
    TCellMask CreateRegion() const override;
    void PaintShape(QImage &screen) override;
    // Fires only when the two vertices differ.
    void Changed() override;

protected:
    // Two vertices on different cells: the least a two-point shape needs.
    bool isComplete() const;
    void commit(QImage &picture) override;
    bool hitsShape() const override { return true; }
    bool containsCell(TPoint cell) const override;

private:
    // The one-cell outline, only the cells that can land on the screen image.
    TCellMask outlineOnScreen(const QImage &screen) const;
};
