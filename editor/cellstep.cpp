#include "editor/cellstep.h"

#include "core/undo/undorecord.h"
#include "editor/patterngrid.h"

#include <algorithm>

namespace {

// The picture's size, read once for a whole list.
struct TBounds {
    explicit TBounds(const QImage &picture)
        : W(picture.width())
        , H(picture.height())
    {
    }
    bool inside(std::int32_t x, std::int32_t y) const { return x >= 0 && y >= 0 && x < W && y < H; }
    int W, H;
};

// The box of the listed cells inside the picture; empty (Right < Left) when none is.
TRect listedBox(const QImage &picture, const TLineArray &cells)
{
    const TBounds bounds(picture);
    TRect box { bounds.W, bounds.H, -1, -1 };
    for (const TPoint &c : cells)
        if (bounds.inside(c.X, c.Y)) {
            box.Left = std::min(box.Left, c.X);
            box.Top = std::min(box.Top, c.Y);
            box.Right = std::max(box.Right, c.X);
            box.Bottom = std::max(box.Bottom, c.Y);
        }
    return box;
}

// A long list is recorded as its box, kept packed: the cells that differ from the reference
// copy in the box are exactly the listed ones. Even for cells scattered thinly over the whole
// picture the packed box records about as fast as a list entry a cell, and keeps a tenth of
// the memory.
void recordStep(TPatternGrid &grid, const TLineArray &cells)
{
    const QImage &picture = grid.Picture();
    if (cells.size() < PackedStepMinCells || picture.isNull()) {
        grid.RecordUndoStep(cells);
        return;
    }
    const TRect box = listedBox(picture, cells);
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
    std::uint8_t *bits = picture.bits(); // detached once, not for every cell
    const qsizetype stride = picture.bytesPerLine();
    const TBounds bounds(picture);
    for (const TPoint &c : cells)
        if (bounds.inside(c.X, c.Y))
            bits[c.Y * stride + c.X] = index;
    finishStep(grid, cells);
}

void PaintPointsAsStep(TPatternGrid &grid, const TMultiSketchArray &points)
{
    QImage &picture = grid.Picture();
    std::uint8_t *bits = picture.bits(); // detached once, not for every cell
    const qsizetype stride = picture.bytesPerLine();
    const TBounds bounds(picture);
    TLineArray cells(points.size());
    for (qsizetype i = 0; i < points.size(); ++i) {
        const TMultiSketchPoint &p = points[i];
        cells[i] = { p.X, p.Y };
        if (bounds.inside(p.X, p.Y))
            bits[p.Y * stride + p.X] = p.Value;
    }
    finishStep(grid, cells);
}
