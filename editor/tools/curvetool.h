#pragma once
// TCurveLine: the curve and arc tool, corner vertices joined by smooth curves.
// A visible vertex is a corner, an invisible one a curve vertex (vertices start
// invisible; SetVisible marks the last one). The cells follow the vertices in order: a
// run of curve vertices, with the corner before it and the corner after it, are the
// control points of one curve (PolyNurbs with 30 steps per knot span, so a curve of n
// control points has (n - degree) x 30 + 1 points, degree min(3, n - 1), starting on the
// first control point and ending on the last); each curve point is truncated to a cell
// and listed unless it repeats the cell before, and a corner is listed the same way. An
// empty curve gives no cells.

#include "editor/tools/customline.h"

class TCurveLine : public TCustomLine {
public:
    static constexpr int CurveSegments = 30;

    const char *ClassName() const override { return "TCurveLine"; }
    // A point on the cell of the last vertex is taken back.
    void AddPoint(TPoint p) override;
    // Inserts the middle of the first two vertices (P is not used) and shows its marker;
    // nothing with fewer than two vertices.
    void InsertPoint(int index, TPoint p) override;
    TCellList Cells() const override;
    // Fires only from two vertices on.
    void Changed() override;
    // Deselecting the curve lets go of its vertices.
    void SetSelected(bool value) override;
    void PaintShape(QImage &screen) override;

protected:
    void commit(QImage &picture) override;
    bool hasFillStep() const override { return true; }
    bool hitsShape() const override { return true; }
    bool marksWhenLocked() const override { return true; }

private:
    // The cells joined into a gap-free path (one-cell lines between consecutive cells).
    TCellList joinedCells() const;
};
