#pragma once
// TBeeLine: the straight-line tool, two end cells.
// Its cells are RasterizeLine of the two ends with the pen width; the commit draws
// ThickLine with the pen extents. Cancelling a complete line keeps its two ends in the
// segment list, which the border and selvedge operations read.

#include "editor/tools/rectangletool.h"

#include <utility>
#include <vector>

class TBeeLine : public TRectangleLine {
public:
    using TSegment = std::pair<TPoint, TPoint>;

    const char *ClassName() const override { return "TBeeLine"; }
    TCellList Cells() const override;
    void PaintShape(QImage &screen) override;
    // A complete line is taken off the screen and its ends appended to the segments first.
    void Cancel() override;
    // Markers only once the line is complete.
    void DrawMarkers() override;
    const std::vector<TSegment> &Segments() const { return m_segments; }
    int SegmentCount() const { return int(m_segments.size()); }

protected:
    void commit(QImage &picture) override;
    // A pending line is grabbed by its cells, like the other shapes by their area.
    bool hitsShape() const override { return true; }
    bool containsCell(TPoint cell) const override;
    void assignShape(const TCustomLine &source) override;

private:
    std::vector<TSegment> m_segments;
};
