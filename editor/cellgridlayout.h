#pragma once
// TGridDrawInfo: the state and layout arithmetic of the cell grid control (意匠格).
// The state and layout arithmetic of the cell grid control, without any widget: which
// cells are in view for a client size, where each cell and grid line lies, which grid
// lines carry a compartment line, which cell a client point hits, how far the view may
// scroll, where the current cell and the selection anchor are and how keys, the wheel and
// a pointer held outside the cells move them, and the colours the grid is painted in.
// Whoever changes the counts (the control, or the pattern grid when its picture or zoom
// changes) leaves the current cell and the anchor inside the grid.
//
// Pixel convention: the first visible cell starts at pixel 0 of its axis; cell i+1 starts
// where cell i ends plus the effective line width of the axis. Rectangles have exclusive
// Right and Bottom.

#include "core/base/gridrecords.h"

#include <stdexcept>
#include <vector>

enum class TStartPos { spLeftTop, spLeftBottom };

// The grid options the control honours.
struct TGridOptions {
    bool VertLine = true; // lines between columns
    bool HorzLine = true; // lines between rows
    bool RangeSelect = true; // Shift extends the selection
    bool RowSelect = false; // whole rows are selected
    bool Tabs = false; // Tab walks the cells
    bool ThumbTracking = false;
};

// Raised for an index outside the grid.
class EGridError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// The layout of one axis for the current client size.
struct TGridAxisInfo {
    int EffectiveLineWidth = 0; // the grid line width when the axis shows lines, else 0
    int FirstGridCell = 0; // LeftCol or TopRow
    int GridCellCount = 0; // ColCount or RowCount
    int GridBoundary = 0; // pixel end of the last cell in view (line included), clipped to the client
    int LastFullVisibleCell = 0; // last cell that fits wholly (at least FirstGridCell)
    int FullVisBoundary = 0; // pixel end of that cell (line included)
    int LastVisibleCell = -1; // last cell with at least one pixel in view
    int GridExtent = 0; // client extent
};

struct TGridDrawInfo {
    TGridAxisInfo Horz; // columns
    TGridAxisInfo Vert; // rows
};

// The navigation keys of the grid.
enum class TGridKey { Up, Down, Left, Right, PageUp, PageDown, Home, End, Tab, BackTab };

// What a navigation key does: the view may scroll, and the current cell may move (the
// selection grows instead of following when Extend).
struct TGridKeyStep {
    int LeftCol = -1; // new first visible column, -1 = unchanged
    int TopRow = -1; // new first visible row, -1 = unchanged
    bool MovesCell = false;
    TPoint Cell; // inside the grid when MovesCell
    bool Extend = false;
};

class TIDrawGridLayout {
public:
    TIDrawGridLayout();

    // Counts: values below 1 become 1. The first visible cell, the current cell and the
    // anchor are kept inside the grid.
    int ColCount() const { return m_colCount; }
    int RowCount() const { return m_rowCount; }
    void SetColCount(int value);
    void SetRowCount(int value);
    // Writes a count without the clamping of the setters (the pattern grid shows 0 cells
    // for an empty picture). The current cell and the anchor are pulled back inside (to
    // 0 on an axis without cells).
    void SetCountsDirect(int cols, int rows);

    // Colours: background, grid lines and compartment lines. Light grey grid lines are
    // shown grey, so silver is kept as grey.
    static constexpr TColor clSilver = 0xC0C0C0;
    static constexpr TColor clGray = 0x808080;
    TColor Color() const { return m_color; }
    TColor LineColor() const { return m_lineColor; }
    TColor CompartLineColor() const { return m_compartLineColor; }
    void SetColor(TColor value) { m_color = value; }
    void SetLineColor(TColor value) { m_lineColor = value == clSilver ? clGray : value; }
    void SetCompartLineColor(TColor value) { m_compartLineColor = value; }

    // The current cell and the selection anchor.
    int Col() const { return m_col; }
    int Row() const { return m_row; }
    TPoint Anchor() const { return m_anchor; }
    // Moves the current cell, and the anchor with it unless extend with range select (the
    // selection grows). Raises EGridError for a cell outside the grid. Does not scroll.
    void SetCurrentCell(int col, int row, bool extend = false);
    // Moves the anchor, clamped to the grid. Does not scroll.
    void SetAnchor(TPoint anchor);
    // The rectangle spanned by the current cell and the anchor, smaller corner first
    // (inclusive cells).
    TRect Selection() const;
    // The current cell after the wheel turned by delta: one row down for a negative delta
    // unless on the last row, one row up for a positive delta unless on the first row.
    TPoint WheelTarget(int delta) const;
    // What a navigation key does with the current cell and the view (nothing moves on a
    // grid without cells; Tab and BackTab only walk the cells with the tab option and
    // without row select).
    TGridKeyStep KeyStep(TGridKey key, bool ctrl, bool shift) const;

    int DefaultColWidth = 7;
    int DefaultRowHeight = 7;
    int GridLineWidth = 1;
    bool DefaultCompartLine = true;
    int DefaultColCompart = 8;
    int DefaultRowCompart = 8;
    TStartPos StartPos = TStartPos::spLeftBottom;
    bool StartTop = false;
    TGridOptions Options;

    // Per-column widths and per-row heights (empty = the default extent for every cell).
    int ColWidth(int index) const;
    int RowHeight(int index) const;
    void SetColWidth(int index, int value); // raises EGridError for an index outside the grid
    void SetRowHeight(int index, int value);
    void ClearColWidths() { m_colWidths.clear(); }
    void ClearRowHeights() { m_rowHeights.clear(); }

    // The first visible column and row, kept within 0 .. MaxLeftCol / MaxTopRow.
    int LeftCol() const { return m_leftCol; }
    int TopRow() const { return m_topRow; }
    bool SetLeftCol(int value); // true when it changed
    bool SetTopRow(int value);

    // The client size the layout is computed for.
    int ClientWidth = 70;
    int ClientHeight = 70;
    void SetClientSize(int width, int height);

    TGridDrawInfo CalcDrawInfo() const;
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // The largest first visible cell that still fills the client with the last cells.
    int MaxLeftCol() const;
    int MaxTopRow() const;
    // Scrolls so that the cell is wholly in view; true when the view moved.
    bool ScrollIntoView(int col, int row);
    // The first visible column and row that put the cell under the client point (x, y),
    // as nearly as whole-cell scrolling and the ends of the grid allow: zooming about the
    // pointer keeps the cell that was under it there. A coordinate outside the grid's
    // cells leaves that axis as it is (-1 in the result means unchanged).
    TPoint FirstCellsShowingAt(TPoint cell, int x, int y) const;

    // The cell under a client point: -1 for a coordinate before the first cell or beyond
    // the last cell in view.
    void MouseToCell(int x, int y, int &col, int &row) const;
    TPoint MouseToCell(int x, int y) const;

    // The client rectangle of a cell without its grid line, clipped to the client, shrunk
    // by one pixel on the side of a compartment line (numbered by StartPos); all zero when
    // the cell is not in view.
    TRect CellRect(int col, int row) const;

    // Start pixel of a visible cell on its axis (cell at or after the first visible one).
    int ColStart(int col) const;
    int RowStart(int row) const;

    // Compartment numbering. A count of 0 or less means no compartment lines.
    // True when the grid line after column col is a compartment line.
    bool IsColCompartLine(int col) const;
    // True when the grid line below row row is a compartment line; rows are counted from
    // the top when fromTop, else from the bottom row (the line below the bottom row counts).
    bool IsRowCompartLine(int row, bool fromTop) const;
    // Whether compartment shrinking applies at all.
    bool CompartShrinkOn() const { return GridLineWidth != 0 && DefaultCompartLine; }

    // One grid line: the pixel where it starts on its axis (its width is the axis's
    // effective line width), the cell it follows and whether it is a compartment line.
    struct TGridLine {
        int Pos = 0;
        int Cell = 0;
        bool Compart = false;
    };
    // The lines after every cell in view of an axis; rows numbered as StartTop says.
    std::vector<TGridLine> ColLines(const TGridDrawInfo &info) const;
    std::vector<TGridLine> RowLines(const TGridDrawInfo &info, bool rowsFromTop) const;

    // Auto-scroll: the anchor after one timer tick with the pointer at (x, y) in client
    // coordinates. Each direction moves by AutoScrollCells, clamped to the grid.
    static constexpr int AutoScrollCells = 50;
    TPoint AutoScrollStep(int x, int y, TPoint anchor) const;

private:
    TGridAxisInfo calcAxis(bool horz) const;
    int maxFirst(bool horz) const;
    int firstShowingAt(bool horz, int cell, int pixel) const;
    void keepCurrentCellInside();

    int m_colCount = 10;
    int m_rowCount = 10;
    int m_leftCol = 0;
    int m_topRow = 0;
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    int m_col = 0;
    int m_row = 0;
    TPoint m_anchor { 0, 0 };
    TColor m_color = 0xFFFFFF;
    TColor m_lineColor = 0;
    TColor m_compartLineColor = 0;
};
