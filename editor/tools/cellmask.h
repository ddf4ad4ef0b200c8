#pragma once
// TCellMask: a set of cells kept as row spans (the shape region of a drawing tool).
// The area a drawing tool encloses, as the set of cells it covers: one span list per row,
// sorted by row then column, spans never overlapping or touching. A selection, a hit test
// and a fill all read the same cells, and the mask turns into a QRegion for the code that
// works with regions.

#include "core/base/geometry.h"

#include <QRegion>

#include <vector>

// Cells Left .. Right (inclusive) of row Y.
struct TCellSpan {
    int Y = 0;
    int Left = 0;
    int Right = 0;
    bool operator==(const TCellSpan &) const = default;
};

class TCellMask {
public:
    TCellMask() = default;
    // The union of any spans (in any order, overlapping or not; spans with Right < Left
    // are ignored).
    static TCellMask FromSpans(std::vector<TCellSpan> spans);
    // Every cell of the rectangle spanned by two corner cells.
    static TCellMask FromRect(TPoint a, TPoint b);
    // The given cells.
    static TCellMask FromCells(const std::vector<TPoint> &cells);

    bool IsEmpty() const { return m_spans.empty(); }
    const std::vector<TCellSpan> &Spans() const { return m_spans; }
    bool Contains(TPoint cell) const;
    // Number of cells.
    long long CellCount() const;
    // The bounding box of the cells, inclusive; all 0 when empty.
    TRect Bounds() const;
    // The cells row by row, left to right.
    std::vector<TPoint> Cells() const;
    // The same cells as a region (one unit per cell).
    QRegion ToRegion() const;
    // The cells of both masks.
    TCellMask United(const TCellMask &other) const;

    bool operator==(const TCellMask &) const = default;

private:
    std::vector<TCellSpan> m_spans;
};
