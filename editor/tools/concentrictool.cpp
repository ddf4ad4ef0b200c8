#include "editor/tools/concentrictool.h"

#include "core/base/numutils.h"
#include "editor/tools/ellipsetool.h"
#include "editor/tools/scanconvert.h"

#include <cmath>
#include <cstdlib>

void TConcentricCircle::SetDensities(double warpDensity, double weftDensity)
{
    // A density of 0 (an unset document) would make the ratio 0 or infinite and the rings
    // meaningless; such a cloth is drawn as if square.
    const double ratio = warpDensity / weftDensity;
    m_ratio = warpDensity > 0 && weftDensity > 0 && std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
}

void TConcentricCircle::RingRadii(int k, bool screen, int &rx, int &ry) const
{
    const TPoint c = vertexPoint(0), v = vertexPoint(k);
    double dx = std::abs(c.X - v.X), dy = std::abs(c.Y - v.Y);
    if (screen) {
        dx = double(Trunc(dx * m_scaleX + 0.5));
        dy = double(Trunc(dy * m_scaleY + 0.5));
    }
    ry = int(Trunc(std::sqrt(dx * dx / (m_ratio * m_ratio) + dy * dy) + 0.5));
    rx = int(Trunc(ry * m_ratio + 0.5));
}

TRect TConcentricCircle::RingBox(int k) const
{
    int rx = 0, ry = 0;
    RingRadii(k, false, rx, ry);
    const TPoint c = vertexPoint(0);
    return { c.X - rx, c.Y - ry, c.X + rx, c.Y + ry };
}

TCellList TConcentricCircle::Cells() const
{
    TCellList cells;
    for (int k = 1; k < GetPointCount(); ++k) {
        const TRect box = RingBox(k);
        ConcentricEllipseCells(
            { box.Left, box.Top }, { box.Right, box.Bottom }, m_horzWidth, m_vertWidth, cells);
    }
    return cells;
}

bool TConcentricCircle::GetUpdateRect(TRect &rect) const
{
    rect = {};
    if (GetPointCount() < 2)
        return false;
    for (int k = 1; k < GetPointCount(); ++k) {
        const TRect box = RingBox(k);
        if (k == 1 || box.Right - box.Left > rect.Right - rect.Left
            || box.Bottom - box.Top > rect.Bottom - rect.Top)
            rect = box;
    }
    const int gx = m_horzWidth / 2 + 2, gy = m_vertWidth / 2 + 2;
    rect = { std::max(0, rect.Left - gx), std::max(0, rect.Top - gy), rect.Right + gx, rect.Bottom + gy };
    return true;
}

TCellMask TConcentricCircle::CreateRegion() const
{
    if (GetPointCount() < 2)
        return {};
    const TRect box = RingBox(GetPointCount() - 1);
    return TCellMask::FromRect({ box.Left, box.Top }, { box.Right, box.Bottom });
}

void TConcentricCircle::PaintShape(QImage &screen)
{
    // The preview is drawn in screen pixels, one per unit of the preview map's scale.
    const TCellToScreen pixels { 1.0, 1.0, m_previewOrigin };
    for (int k = 1; k < GetPointCount(); ++k) {
        int rx = 0, ry = 0;
        RingRadii(k, true, rx, ry);
        const TPoint c = CellToScreen(vertexPoint(0));
        TCellList ring;
        EllipseOutline({ c.X - rx, c.Y - ry }, { c.X + rx, c.Y + ry }, ring);
        const TCellMask mask = TCellMask::FromCells(ring);
        if (m_locked)
            PaintDottedCells(screen, mask, pixels);
        else
            previewMask(screen, mask, pixels);
    }
}

void TConcentricCircle::commit(QImage &picture)
{
    paintCells(picture, Cells());
}

void TConcentricCircle::assignShape(const TCustomLine &source)
{
    if (const auto *circle = dynamic_cast<const TConcentricCircle *>(&source))
        m_ratio = circle->m_ratio;
}
