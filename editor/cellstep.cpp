#include "editor/cellstep.h"

#include "core/undo/undorecord.h"
#include "editor/patterngrid.h"

#include <algorithm>

namespace {

bool inside(const QImage &picture, std::int32_t x, std::int32_t y)
{
    return x >= 0 && y >= 0 && x < picture.width() && y < picture.height();
}

// A long list is recorded as its box, kept packed: the cells that differ from the reference
// copy in the box are exactly the listed ones, and a packed box costs far less than a list
// entry a cell.
void recordStep(TPatternGrid &grid, const TLineArray &cells)
{
    const QImage &picture = grid.Picture();
    if (cells.size() < PackedStepMinCells || picture.isNull()) {
        grid.RecordUndoStep(cells);
        return;
    }
    TRect box { picture.width(), picture.height(), -1, -1 };
    for (const TPoint &c : cells)
        if (inside(picture, c.X, c.Y)) {
            box.Left = std::min(box.Left, c.X);
            box.Top = std::min(box.Top, c.Y);
            box.Right = std::max(box.Right, c.X);
            box.Bottom = std::max(box.Bottom, c.Y);
        }
    if (box.Right < box.Left)
        return; // nothing inside the picture changed
    grid.RecordRectUndoStep(box, false, false);
}

void finishStep(TPatternGrid &grid, const TLineArray &cells)
{
    recordStep(grid, cells);
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
