#include "editor/tools/curvetool.h"

#include "core/base/curves.h"
#include "core/base/numutils.h"
#include "editor/tools/scanconvert.h"

namespace {

void appendCell(TCellList &cells, TPoint cell)
{
    if (cells.empty() || cells.back() != cell)
        cells.push_back(cell);
}

void appendCurve(TCellList &cells, const std::vector<TPointEx> &controls)
{
    for (const TPointEx &p : PolyNurbs(controls, TCurveLine::CurveSegments))
        appendCell(cells, { int(Trunc(p.X)), int(Trunc(p.Y)) });
}

} // namespace

void TCurveLine::AddPoint(TPoint p)
{
    TCustomLine::AddPoint(p);
    const int n = GetPointCount();
    if (n >= 2 && vertexPoint(n - 1) == vertexPoint(n - 2))
        DeleteLastPoint();
}

void TCurveLine::InsertPoint(int index, TPoint)
{
    if (GetPointCount() < 2)
        return;
    const TPoint a = vertexPoint(0), b = vertexPoint(1);
    const TPoint screen { int(Round((a.X + b.X) / 2.0 * m_scaleX)),
        int(Round((a.Y + b.Y) / 2.0 * m_scaleY)) };
    const int before = GetPointCount();
    TCustomLine::InsertPoint(index, screen);
    if (GetPointCount() == before)
        return;
    const int at = std::clamp(index, 0, before - 1);
    m_vertices[std::size_t(at)]->SetShowMarker(true);
}

TCellList TCurveLine::Cells() const
{
    TCellList cells;
    std::vector<TPointEx> controls;
    const int n = GetPointCount();
    for (int i = 0; i < n; ++i) {
        const TCustomPoint &v = Vertex(i);
        const TPointEx p = PointEx(v.Point().X, v.Point().Y);
        if (v.GetVisible()) {
            if (!controls.empty()) {
                controls.push_back(p);
                appendCurve(cells, controls);
                controls.clear();
            }
            appendCell(cells, v.Point());
        } else {
            if (controls.empty() && i > 0 && Vertex(i - 1).GetVisible())
                controls.push_back(PointEx(Vertex(i - 1).Point().X, Vertex(i - 1).Point().Y));
            controls.push_back(p);
        }
        if (i == n - 1 && !controls.empty())
            appendCurve(cells, controls);
    }
    return cells;
}

TCellList TCurveLine::joinedCells() const
{
    const TCellList cells = Cells();
    TCellList joined;
    for (std::size_t i = 0; i + 1 < cells.size(); ++i) {
        RasterizeLine(cells[i], cells[i + 1], 1, joined);
        joined.pop_back(); // the next line starts on it
    }
    if (!cells.empty())
        joined.push_back(cells.back());
    return joined;
}

void TCurveLine::Changed()
{
    if (GetPointCount() >= 2)
        TDrawObject::Changed();
}

void TCurveLine::SetSelected(bool value)
{
    TCustomLine::SetSelected(value);
    if (!value)
        for (auto &v : m_vertices)
            v->SetSelected(false);
}

void TCurveLine::PaintShape(QImage &screen)
{
    if (m_started == 0) {
        previewCells(screen, joinedCells());
    } else if (m_locked) {
        const TCellList cells = Cells();
        if (cells.size() >= 2) {
            TCellList outline;
            for (std::size_t i = 0; i < cells.size(); ++i)
                RasterizeLine(cells[i], cells[(i + 1) % cells.size()], 1, outline);
            previewCells(screen, outline);
        }
    }
}

void TCurveLine::commit(QImage &picture)
{
    if (m_filled)
        return; // the fill step paints the area, outline included
    TCellList stamped;
    for (const TPoint &c : joinedCells())
        StampBlock(c, m_horzWidth, m_vertWidth, stamped);
    paintCells(picture, stamped);
}
