#include "editor/tools/drawobject.h"

#include "core/base/numutils.h"
#include "editor/tools/drawtoolregistry.h"
#include "editor/tools/scanconvert.h"

#include <algorithm>
#include <cmath>

bool IsNearPoint(TPoint a, TPoint b)
{
    return std::hypot(double(a.X) - b.X, double(a.Y) - b.Y) < 3.0;
}

TRect PointsBounds(const std::vector<TPoint> &points)
{
    if (points.empty())
        return {};
    TRect r { points[0].X, points[0].Y, points[0].X, points[0].Y };
    for (const TPoint &p : points) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

// --- TDrawObject ------------------------------------------------------------------------

std::unique_ptr<TDrawObject> TDrawObject::Clone() const
{
    std::unique_ptr<TDrawObject> copy = CreateDrawObjectOfClass(QString::fromLatin1(ClassName()));
    if (copy)
        copy->AssignTool(*this);
    return copy;
}

void TDrawObject::GetCellPath(TLineArray &cells) const
{
    const TCellList list = Cells();
    cells = TLineArray(qsizetype(list.size()));
    std::copy(list.begin(), list.end(), cells.begin());
}

bool TDrawObject::GetUpdateRect(TRect &rect) const
{
    const TCellList cells = Cells();
    if (cells.empty()) {
        rect = {};
        return false;
    }
    rect = PointsBounds(cells);
    return true;
}

TCellMask TDrawObject::CreateRegion() const
{
    const TCellList cells = Cells();
    return cells.size() >= 2 ? PolygonMask(cells) : TCellMask();
}

TPoint TDrawObject::GetOrigin() const
{
    const TCellMask region = CreateRegion();
    if (region.IsEmpty())
        return { -1, -1 };
    const TRect box = region.Bounds();
    return { std::max(0, box.Left), std::max(0, box.Top) };
}

void TDrawObject::GetBounds(TRect &rect) const
{
    rect = PointsBounds(Cells());
}

void TDrawObject::SetSelected(bool value)
{
    m_selected = value;
    if (value)
        requestCursor(crHandFinger);
}

TPoint TDrawObject::ScreenToCell(TPoint p) const
{
    if (m_scaleX == 1.0 && m_scaleY == 1.0)
        return p;
    // A scale of 0 (never set by the grid) would divide by zero; such a view shows cells
    // one to one.
    const double sx = m_scaleX > 0 ? m_scaleX : 1.0, sy = m_scaleY > 0 ? m_scaleY : 1.0;
    return { int(Round(p.X / sx)), int(Round(p.Y / sy)) };
}

TPoint TDrawObject::CellToScreen(TPoint p) const
{
    if (m_scaleX == 1.0 && m_scaleY == 1.0)
        return p;
    return { int(Round(p.X * m_scaleX)), int(Round(p.Y * m_scaleY)) };
}

bool TDrawObject::HitTest(TPoint, bool)
{
    return false;
}

void TDrawObject::AssignTool(const TDrawObject &source)
{
    m_scaleX = source.m_scaleX;
    m_scaleY = source.m_scaleY;
    m_filled = source.m_filled;
    m_mode = source.m_mode;
    m_locked = source.m_locked;
    m_grid = source.m_grid;
    m_onChange = source.m_onChange;
    m_onFinish = source.m_onFinish;
    m_onRefresh = source.m_onRefresh;
    m_autoClear = source.m_autoClear;
    m_visible = source.m_visible;
    // What the grid sets up for every tool it makes, so that a copy commits alike.
    m_penIndex = source.m_penIndex;
    m_ring = source.m_ring;
    m_binding = source.m_binding;
}

void TDrawObject::Draw()
{
    if (m_previewCanvas && m_mode != TDrawMode::Idle)
        PaintShape(*m_previewCanvas);
    DrawMarkers();
}

// --- TCustomPoint -----------------------------------------------------------------------

TCustomPoint::TCustomPoint()
{
    m_showMarker = true;
    m_visible = false;
}

bool TCustomPoint::HitTest(TPoint p, bool select)
{
    const bool hit = IsNearPoint(p, m_point);
    if (select)
        SetSelected(hit);
    return hit;
}

void TCustomPoint::AssignTool(const TDrawObject &source)
{
    TDrawObject::AssignTool(source);
    if (const auto *point = dynamic_cast<const TCustomPoint *>(&source)) {
        m_point = point->m_point;
        m_showMarker = point->m_showMarker;
    }
}

bool TCustomPoint::MarkerCentre(TPoint &centre) const
{
    if (!m_grid) {
        centre = { int(Round(m_point.X * m_scaleX)), int(Round(m_point.Y * m_scaleY)) };
        return true;
    }
    // The grid lays out the cells it shows: below level 9 those are reduced cells, which
    // the scales lead to as they lead the preview.
    const TPoint cell = CellToScreen(m_point);
    const TRect r = m_grid->CellRect(cell.X, cell.Y);
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return false; // out of view
    centre = { (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 };
    return true;
}

void TCustomPoint::Draw()
{
    TPoint centre;
    if (m_showMarker && m_target && MarkerCentre(centre))
        PaintVertexMarker(*m_target, centre);
}
