#pragma once
// TConcentricCircle: concentric ellipses about a centre cell; TConcentricRectangle: its
// rectangle twin, which has no shape.
// The first vertex is the centre, every further vertex gives one ring through it. With the
// cloth ratio a = warp density / weft density (1 when either density is not above 0), a
// vertex dx across and dy down from the centre gives the ring radii
// ry = Trunc(sqrt(dx^2 / a^2 + dy^2) + 0.5) and rx = Trunc(ry x a + 0.5), so that the rings
// are round on the woven cloth. A ring is the ellipse in the box of cells
// (centre - (rx, ry)) .. (centre + (rx, ry)); the commit draws each ring with the pen
// extents as the ellipse tool does.

#include "editor/tools/customline.h"

class TConcentricCircle : public TCustomLine {
public:
    const char *ClassName() const override { return "TConcentricCircle"; }
    // The grid's densities.
    void SetDensities(double warpDensity, double weftDensity);
    // Warp density over weft density, or 1 when that is no ratio.
    double Ratio() const { return m_ratio; }
    // The radii of ring k (1 .. GetPointCount() - 1): in cells, or in screen pixels of the
    // preview (the distances taken as Trunc(d x scale + 0.5)).
    void RingRadii(int k, bool screen, int &rx, int &ry) const;
    // The box of ring k in cells (inclusive).
    TRect RingBox(int k) const;

    TCellList Cells() const override;
    // The largest ring grown by the pen as for every tool.
    bool GetUpdateRect(TRect &rect) const override;
    // The box of the last ring.
    TCellMask CreateRegion() const override;
    void PaintShape(QImage &screen) override;

protected:
    void commit(QImage &picture) override;
    void assignShape(const TCustomLine &source) override;

private:
    double m_ratio = 1.0;
};

class TConcentricRectangle : public TCustomLine {
public:
    const char *ClassName() const override { return "TConcentricRectangle"; }
};
