#include "editor/cellstep.h"

#include "editor/patterngrid.h"

namespace {

bool inside(const QImage &picture, std::int32_t x, std::int32_t y)
{
    return x >= 0 && y >= 0 && x < picture.width() && y < picture.height();
}

void finishStep(TPatternGrid &grid, const TLineArray &cells)
{
    grid.RecordUndoStep(cells);
    grid.RebuildReducedView();
    grid.Repaint();
    grid.NotifyRefreshView(1);
}

} // namespace

void PaintCellsAsStep(TPatternGrid &grid, const TLineArray &cells, std::uint8_t index)
{
    QImage &picture = grid.Picture();
    for (const TPoint &c : cells)
        if (inside(picture, c.X, c.Y))
            picture.scanLine(c.Y)[c.X] = index;
    finishStep(grid, cells);
}

void PaintPointsAsStep(TPatternGrid &grid, const TMultiSketchArray &points)
{
    QImage &picture = grid.Picture();
    TLineArray cells(points.size());
    for (qsizetype i = 0; i < points.size(); ++i) {
        const TMultiSketchPoint &p = points[i];
        cells[i] = { p.X, p.Y };
        if (inside(picture, p.X, p.Y))
            picture.scanLine(p.Y)[p.X] = p.Value;
    }
    finishStep(grid, cells);
}
