#pragma once
// TBreakLine: the polyline tool (and the polygon selection, and the quadrilateral that a
// picture is mapped onto).
// Its cells are the one-cell lines between consecutive vertices; the commit stamps them
// with the pen block. As a quadrilateral it takes at most four vertices, lists them
// top-left, top-right, bottom-right, bottom-left, and commits the filled quadrilateral.

#include "editor/tools/customline.h"

class TBreakLine : public TCustomLine {
public:
    const char *ClassName() const override { return "TBreakLine"; }
    bool Quadrilateral() const { return m_quadrilateral; }
    void SetQuadrilateral(bool value) { m_quadrilateral = value; }
    TPoint StoredPoint() const { return m_stored; }
    void StorePoint(TPoint p) override { m_stored = p; }

    // A quadrilateral refuses a fifth vertex.
    void AddPoint(TPoint p) override;
    // A quadrilateral of four vertices lists them top-left, top-right, bottom-right,
    // bottom-left: sorted by X, each pair ordered by Y.
    void GetPoints(std::vector<TPoint> &points) const override;
    TCellList Cells() const override;
    // Fires only from two vertices on.
    void Changed() override;
    void PaintShape(QImage &screen) override;

protected:
    void commit(QImage &picture) override;
    bool hasFillStep() const override { return true; }
    bool hitsShape() const override { return true; }
    bool marksWhenLocked() const override { return true; }
    void assignShape(const TCustomLine &source) override;

private:
    bool isQuadrilateral() const { return m_quadrilateral && GetPointCount() == 4; }

    TPoint m_stored;
    bool m_quadrilateral = false;
};
