#include "editor/tools/straightlinetool.h"

#include <algorithm>

TCellList TBeeLine::Cells() const
{
    TCellList cells;
    if (isComplete())
        RasterizeLine(vertexPoint(0), vertexPoint(1), m_penWidth, cells);
    return cells;
}

bool TBeeLine::containsCell(TPoint cell) const
{
    const TCellList cells = Cells();
    return std::find(cells.begin(), cells.end(), cell) != cells.end();
}

void TBeeLine::PaintShape(QImage &screen)
{
    if (!isComplete() || m_mode == TDrawMode::Idle)
        return;
    TCellList cells;
    RasterizeLine(vertexPoint(0), vertexPoint(1), 1, cells);
    previewCells(screen, cells);
}

void TBeeLine::Cancel()
{
    if (isComplete() && m_mode != TDrawMode::Idle) {
        ErasePreview();
        m_segments.emplace_back(vertexPoint(0), vertexPoint(1));
    }
    TRectangleLine::Cancel();
}

void TBeeLine::DrawMarkers()
{
    if (isComplete())
        TRectangleLine::DrawMarkers();
}

void TBeeLine::commit(QImage &picture)
{
    if (!isComplete())
        return;
    TCellList cells;
    ThickLine(vertexPoint(0), vertexPoint(1), m_horzWidth, m_vertWidth, cells, false);
    paintCells(picture, cells);
}

void TBeeLine::assignShape(const TCustomLine &source)
{
    if (const auto *line = dynamic_cast<const TBeeLine *>(&source))
        m_segments = line->m_segments;
}
