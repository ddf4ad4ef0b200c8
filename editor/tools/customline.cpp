#include "editor/tools/customline.h"

#include "core/picture/imageproc.h"

#include <algorithm>

TCustomLine::TCustomLine()
{
    m_mode = TDrawMode::Idle;
    m_showMarker = false;
    m_filled = false;
    m_locked = false;
    m_started = 0;
}

void TCustomLine::SetPenStyle(TColor penColor, TColor brushColor, int vertWidth, int horzWidth, int penWidth,
    TBrushStyle brushStyle, TPenStyle penStyle, TPenMode penMode)
{
    m_penColor = penColor;
    m_brushColor = brushColor;
    m_vertWidth = vertWidth;
    m_horzWidth = horzWidth;
    m_penWidth = penWidth;
    m_brushStyle = brushStyle;
    m_penStyle = penStyle;
    m_penMode = penMode;
}

void TCustomLine::SetColors(TColor penColor, TColor brushColor)
{
    m_penColor = penColor;
    m_brushColor = brushColor;
}

void TCustomLine::GetPoints(std::vector<TPoint> &points) const
{
    points.clear();
    for (const auto &v : m_vertices)
        points.push_back(v->Point());
}

std::unique_ptr<TCustomPoint> TCustomLine::newVertex(TPoint cell) const
{
    auto v = std::make_unique<TCustomPoint>();
    v->SetPreviewCanvas(m_previewCanvas);
    v->SetTarget(m_target);
    v->SetGrid(m_grid);
    v->SetScaleX(m_scaleX);
    v->SetScaleY(m_scaleY);
    v->SetPoint(cell);
    v->SetShowMarker(m_showMarker);
    return v;
}

void TCustomLine::AddPoint(TPoint p)
{
    m_vertices.push_back(newVertex(ScreenToCell(p)));
    Changed();
}

void TCustomLine::InsertPoint(int index, TPoint p)
{
    if (index < 0)
        return;
    const TPoint cell = ScreenToCell(p);
    if (std::any_of(
            m_vertices.begin(), m_vertices.end(), [cell](const auto &v) { return v->Point() == cell; }))
        return;
    const int at = std::clamp(index, 0, std::max(0, GetPointCount() - 1));
    m_vertices.insert(m_vertices.begin() + at, newVertex(cell));
    Changed();
}

void TCustomLine::DeleteLastPoint()
{
    if (!m_vertices.empty()) {
        m_vertices.pop_back();
        Changed();
    }
    if (m_vertices.empty())
        SetMode(TDrawMode::Ready);
}

void TCustomLine::OffsetPoints(int dx, int dy)
{
    for (auto &v : m_vertices)
        v->SetPoint({ v->Point().X + dx, v->Point().Y + dy });
    Changed();
}

void TCustomLine::DragBy(TPoint &lastPoint, TPoint newPoint)
{
    OffsetPoints(newPoint.X - lastPoint.X, newPoint.Y - lastPoint.Y);
    lastPoint = newPoint;
}

void TCustomLine::MoveToPoint(TPoint p)
{
    const TPoint cell = ScreenToCell(p);
    if (m_hitState == THitState::Vertex) {
        auto it
            = std::find_if(m_vertices.begin(), m_vertices.end(), [](const auto &v) { return v->Selected(); });
        if (it != m_vertices.end()) {
            moveVertex(**it, cell);
            Changed();
        }
    } else if (m_hitState == THitState::Shape) {
        DragBy(m_point, cell);
    }
    requestCursor(crHandFinger);
}

bool TCustomLine::HitTest(TPoint p, bool select)
{
    const TPoint cell = ScreenToCell(p);
    m_point = cell;
    if (!hitsShape())
        return false;
    const bool inside = containsCell(cell);
    m_hitState = select && inside ? THitState::Shape : THitState::Nothing;
    if (select)
        SetSelected(inside);
    return inside;
}

bool TCustomLine::HitVertex(TPoint p, bool select)
{
    const TPoint cell = ScreenToCell(p);
    int first = -1;
    // Every vertex is asked, so that with Select a vertex taken earlier is let go.
    for (int i = 0; i < GetPointCount(); ++i)
        if (m_vertices[std::size_t(i)]->HitTest(cell, select) && first < 0)
            first = i;
    if (first < 0) {
        m_hitState = THitState::Nothing;
        return false;
    }
    if (select) {
        SetSelected(true);
        m_hitState = THitState::Vertex;
    }
    return true;
}

void TCustomLine::Finish()
{
    if (m_pictureCanvas && !m_locked && m_pictureCanvas->format() == QImage::Format_Indexed8) {
        commit(*m_pictureCanvas);
        if (m_filled && hasFillStep())
            paintMask(*m_pictureCanvas, CreateRegion());
    }
    finishTail();
}

void TCustomLine::finishTail()
{
    m_started = 1;
    if (m_autoClear)
        m_mode = TDrawMode::Idle;
    m_showMarker = false;
    Changed();
    fire(m_onFinish);
    fire(m_onRefresh);
    if (m_autoClear) {
        Clear();
        m_showMarker = true;
    }
}

void TCustomLine::Cancel()
{
    m_started = 1;
    m_mode = TDrawMode::Idle;
    Clear();
    m_showMarker = true;
}

void TCustomLine::Clear()
{
    m_vertices.clear();
    m_cellPath.clear();
    m_started = 0;
    m_showMarker = true;
    m_mode = TDrawMode::Idle;
}

void TCustomLine::SetMode(TDrawMode value)
{
    m_mode = value;
    if (value != TDrawMode::Ready)
        return;
    if (m_locked) {
        m_showMarker = false;
        m_started = 1;
    }
    if (m_autoClear)
        fire(m_onRefresh);
    fire(m_onFinish);
}

void TCustomLine::Changed()
{
    if (!m_vertices.empty())
        fire(m_onChange);
}

void TCustomLine::SetLocked(bool value)
{
    m_locked = value;
    if (value)
        m_showMarker = marksWhenLocked() && m_started == 0;
}

void TCustomLine::SetVisible(bool value)
{
    m_visible = value;
    if (!m_vertices.empty())
        m_vertices.back()->SetVisible(value);
}

bool TCustomLine::GetVisible() const
{
    return m_vertices.empty() ? m_visible : m_vertices.back()->GetVisible();
}

void TCustomLine::SetTarget(QImage *canvas)
{
    m_target = canvas;
    for (auto &v : m_vertices)
        v->SetTarget(canvas);
}

void TCustomLine::SetScaleX(double value)
{
    m_scaleX = value;
    for (auto &v : m_vertices)
        v->SetScaleX(value);
}

void TCustomLine::SetScaleY(double value)
{
    m_scaleY = value;
    for (auto &v : m_vertices)
        v->SetScaleY(value);
}

void TCustomLine::AssignTool(const TDrawObject &source)
{
    Clear();
    TCustomPoint::AssignTool(source);
    const auto *line = dynamic_cast<const TCustomLine *>(&source);
    if (!line)
        return;
    m_horzWidth = line->m_horzWidth;
    m_vertWidth = line->m_vertWidth;
    m_brushColor = line->m_brushColor;
    m_brushStyle = line->m_brushStyle;
    m_erasing = line->m_erasing;
    m_penColor = line->m_penColor;
    m_penMode = line->m_penMode;
    m_showMarker = true;
    for (const auto &v : line->m_vertices) {
        m_vertices.push_back(newVertex(v->Point()));
        m_vertices.back()->AssignTool(*v);
    }
    assignShape(*line);
}

void TCustomLine::DrawMarkers()
{
    if (!m_showMarker || !m_target)
        return;
    for (auto &v : m_vertices)
        v->Draw();
}

void TCustomLine::ErasePreview()
{
    m_erasing = true;
    if (m_previewCanvas)
        PaintShape(*m_previewCanvas);
    m_erasing = false;
}

void TCustomLine::previewCells(QImage &screen, const TCellList &cells) const
{
    const TCellMask mask = TCellMask::FromCells(cells);
    if (m_locked)
        PaintDottedCells(screen, mask, previewMap());
    else
        previewMask(screen, mask, previewMap());
}

void TCustomLine::previewMask(QImage &screen, const TCellMask &mask, const TCellToScreen &map) const
{
    if (m_penMode != TPenMode::Copy) {
        InvertCells(screen, mask, map);
        return;
    }
    const TColor c = m_penColor; // red in the low byte
    PaintCells(screen, mask, map, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
}

void TCustomLine::paintCells(QImage &picture, const TCellList &cells) const
{
    SetListedPixels(picture, cells, m_penIndex);
}

void TCustomLine::paintMask(QImage &picture, const TCellMask &mask) const
{
    if (!mask.IsEmpty())
        FillRegionWithIndex(picture, mask.ToRegion(), m_penIndex);
}

bool TCustomLine::GetUpdateRect(TRect &rect) const
{
    if (!TDrawObject::GetUpdateRect(rect))
        return false;
    const int gx = m_horzWidth / 2 + 2, gy = m_vertWidth / 2 + 2;
    rect = { std::max(0, rect.Left - gx), std::max(0, rect.Top - gy), rect.Right + gx, rect.Bottom + gy };
    return true;
}
