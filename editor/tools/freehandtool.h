#pragma once
// TFreeLine: the free-hand tool, also the manual binding points (间丝) and the free-hand
// selection.
// Every point after the first adds the one-cell line from the previous point, and those
// cells go to the path stamped with the pen block (unstamped when filled). With a shift
// flag of the binding points, the stroke keeps only its first cell in each column (each
// row with the horizontal flag) and moves a kept cell by one, down (right with the
// horizontal flag), when its X + Y has the parity the flag names. The tool has no
// vertices: its point count is the number of cells in the path.

#include "editor/tools/customline.h"

#include <unordered_set>

class TFreeLine : public TCustomLine {
public:
    const char *ClassName() const override { return "TFreeLine"; }
    int GetPointCount() const override { return int(m_cellPath.size()); }
    void AddPoint(TPoint p) override;
    void OffsetPoints(int dx, int dy) override;
    // Fires only when the path has a cell.
    void Changed() override;
    void Clear() override;
    // Commits, and leaves the pen in copy mode.
    void Finish() override;
    void PaintShape(QImage &screen) override;
    // The binding points' gap fill, when its flag is set, so that the cells a commit paints
    // can be read before it: committing fills the gaps too, and a filled path has none.
    void ApplyGapFill();

protected:
    void commit(QImage &picture) override;
    bool hasFillStep() const override { return true; }
    bool hitsShape() const override { return true; }
    void assignShape(const TCustomLine &source) override;

private:
    bool shifts() const { return m_binding.OddShift || m_binding.EvenShift; }
    // The binding-point gap fill: the columns skipped between consecutive cells are filled,
    // the first half on the first cell's row, the rest on the second cell's row.
    void fillGaps();

    bool m_hasLast = false;
    TPoint m_last;
    TCellList m_segment; // the latest one-cell line
    std::unordered_set<int> m_kept; // columns (rows) that already have their binding point
};
