#pragma once
// TFullLine: a whole row or column band between two cells (the line selections).
// The band is the rectangle of its two vertices; a horizontal band keeps its row (Y) and
// a vertical one its column (X) when it is dragged, and a cell hits the band when it is on
// that row or column.

#include "editor/tools/customline.h"

class TFullLine : public TCustomLine {
public:
    const char *ClassName() const override { return "TFullLine"; }
    bool Vertical() const { return m_vertical; }
    void SetVertical(bool value) { m_vertical = value; }

    TCellList Cells() const override;
    TCellMask CreateRegion() const override;
    void OffsetPoints(int dx, int dy) override;
    void PaintShape(QImage &screen) override;

protected:
    void commit(QImage &picture) override;
    bool hitsShape() const override { return true; }
    bool containsCell(TPoint cell) const override;
    void moveVertex(TCustomPoint &v, TPoint cell) override;
    void assignShape(const TCustomLine &source) override;

private:
    bool m_vertical = false;
};
