#include "editor/cellgridlayout.h"

#include <algorithm>
#include <cstdint>

namespace {
const char *const IndexError = "Grid index out of range";

// An index kept within 0 .. count - 1; 0 on an axis without cells.
int insideAxis(int index, int count)
{
    return count <= 0 ? 0 : std::clamp(index, 0, count - 1);
}
} // namespace

TIDrawGridLayout::TIDrawGridLayout() = default;

void TIDrawGridLayout::SetColCount(int value)
{
    m_colCount = std::max(1, value);
    if (!m_colWidths.empty())
        m_colWidths.resize(m_colCount, DefaultColWidth);
    SetLeftCol(m_leftCol);
    keepCurrentCellInside();
    // With row select the selection spans whole rows: the anchor stays on the last column.
    if (Options.RowSelect)
        m_anchor.X = m_colCount - 1;
}

void TIDrawGridLayout::SetRowCount(int value)
{
    m_rowCount = std::max(1, value);
    if (!m_rowHeights.empty())
        m_rowHeights.resize(m_rowCount, DefaultRowHeight);
    SetTopRow(m_topRow);
    keepCurrentCellInside();
}

void TIDrawGridLayout::SetCountsDirect(int cols, int rows)
{
    m_colCount = std::max(0, cols);
    m_rowCount = std::max(0, rows);
    m_colWidths.clear();
    m_rowHeights.clear();
    SetLeftCol(m_leftCol);
    SetTopRow(m_topRow);
    keepCurrentCellInside();
}

void TIDrawGridLayout::keepCurrentCellInside()
{
    m_col = insideAxis(m_col, m_colCount);
    m_row = insideAxis(m_row, m_rowCount);
    m_anchor.X = insideAxis(m_anchor.X, m_colCount);
    m_anchor.Y = insideAxis(m_anchor.Y, m_rowCount);
}

void TIDrawGridLayout::SetCurrentCell(int col, int row, bool extend)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        throw EGridError(IndexError);
    m_col = col;
    m_row = row;
    if (!extend || !Options.RangeSelect)
        m_anchor = { col, row };
}

void TIDrawGridLayout::SetAnchor(TPoint anchor)
{
    m_anchor = { insideAxis(anchor.X, m_colCount), insideAxis(anchor.Y, m_rowCount) };
}

TRect TIDrawGridLayout::Selection() const
{
    return { std::min(m_col, m_anchor.X), std::min(m_row, m_anchor.Y), std::max(m_col, m_anchor.X),
        std::max(m_row, m_anchor.Y) };
}

TPoint TIDrawGridLayout::WheelTarget(int delta) const
{
    if (delta < 0 && m_row < m_rowCount - 1)
        return { m_col, m_row + 1 };
    if (delta > 0 && m_row > 0)
        return { m_col, m_row - 1 };
    return { m_col, m_row };
}

TGridKeyStep TIDrawGridLayout::KeyStep(TGridKey key, bool ctrl, bool shift) const
{
    TGridKeyStep step;
    const int cols = m_colCount, rows = m_rowCount;
    if (cols <= 0 || rows <= 0)
        return step;
    const bool rowSel = Options.RowSelect;
    const int visRows = std::max(1, VisibleRowCount());
    const int visCols = std::max(1, VisibleColCount());
    int c = m_col, r = m_row;
    switch (key) {
    case TGridKey::Up:
        if (ctrl) {
            step.TopRow = std::max(0, m_topRow - 1);
            return step;
        }
        --r;
        break;
    case TGridKey::Down:
        if (ctrl) {
            step.TopRow = std::min(MaxTopRow(), m_topRow + 1);
            return step;
        }
        ++r;
        break;
    case TGridKey::Left:
        if (rowSel) {
            --r;
        } else if (ctrl) {
            c -= visCols;
            step.LeftCol = std::max(0, m_leftCol - visCols);
        } else {
            --c;
        }
        break;
    case TGridKey::Right:
        if (rowSel) {
            ++r;
        } else if (ctrl) {
            c += visCols;
            step.LeftCol = std::min(MaxLeftCol(), m_leftCol + visCols);
        } else {
            ++c;
        }
        break;
    case TGridKey::PageUp:
        r = ctrl ? m_topRow : r - visRows;
        break;
    case TGridKey::PageDown:
        r = ctrl ? m_topRow + visRows - 1 : r + visRows;
        break;
    case TGridKey::Home:
        if (ctrl) {
            c = 0;
            r = 0;
        } else if (rowSel) {
            r = 0;
        } else {
            c = 0;
        }
        break;
    case TGridKey::End:
        if (ctrl) {
            c = cols - 1;
            r = rows - 1;
        } else if (rowSel) {
            r = rows - 1;
        } else {
            c = cols - 1;
        }
        break;
    case TGridKey::Tab:
    case TGridKey::BackTab:
        // Tab walks the cells row by row and wraps around at either end.
        if (!Options.Tabs || rowSel)
            return step;
        if (key == TGridKey::BackTab || shift) {
            if (--c < 0) {
                c = cols - 1;
                r = r > 0 ? r - 1 : rows - 1;
            }
        } else if (++c >= cols) {
            c = 0;
            r = r + 1 < rows ? r + 1 : 0;
        }
        step.MovesCell = true;
        step.Cell = { c, r };
        return step;
    }
    step.MovesCell = true;
    step.Cell = { insideAxis(c, cols), insideAxis(r, rows) };
    // With Shift the current cell moves and the anchor stays: the selection grows.
    step.Extend = shift;
    return step;
}

int TIDrawGridLayout::ColWidth(int index) const
{
    if (index >= 0 && index < static_cast<int>(m_colWidths.size()))
        return m_colWidths[index];
    return DefaultColWidth;
}

int TIDrawGridLayout::RowHeight(int index) const
{
    if (index >= 0 && index < static_cast<int>(m_rowHeights.size()))
        return m_rowHeights[index];
    return DefaultRowHeight;
}

void TIDrawGridLayout::SetColWidth(int index, int value)
{
    if (index < 0 || index >= m_colCount)
        throw EGridError(IndexError);
    if (m_colWidths.empty())
        m_colWidths.assign(m_colCount, DefaultColWidth);
    m_colWidths[index] = value;
}

void TIDrawGridLayout::SetRowHeight(int index, int value)
{
    if (index < 0 || index >= m_rowCount)
        throw EGridError(IndexError);
    if (m_rowHeights.empty())
        m_rowHeights.assign(m_rowCount, DefaultRowHeight);
    m_rowHeights[index] = value;
}

bool TIDrawGridLayout::SetLeftCol(int value)
{
    const int v = std::clamp(value, 0, MaxLeftCol());
    const bool changed = v != m_leftCol;
    m_leftCol = v;
    return changed;
}

bool TIDrawGridLayout::SetTopRow(int value)
{
    const int v = std::clamp(value, 0, MaxTopRow());
    const bool changed = v != m_topRow;
    m_topRow = v;
    return changed;
}

void TIDrawGridLayout::SetClientSize(int width, int height)
{
    ClientWidth = std::max(0, width);
    ClientHeight = std::max(0, height);
    SetLeftCol(m_leftCol);
    SetTopRow(m_topRow);
}

TGridAxisInfo TIDrawGridLayout::calcAxis(bool horz) const
{
    TGridAxisInfo a;
    const bool lines = horz ? Options.VertLine : Options.HorzLine;
    a.EffectiveLineWidth = lines ? std::max(0, GridLineWidth) : 0;
    a.FirstGridCell = horz ? m_leftCol : m_topRow;
    a.GridCellCount = horz ? m_colCount : m_rowCount;
    a.GridExtent = horz ? ClientWidth : ClientHeight;
    a.LastFullVisibleCell = a.FirstGridCell;
    a.LastVisibleCell = a.FirstGridCell - 1;
    int pos = 0;
    bool full = true;
    for (int i = a.FirstGridCell; i < a.GridCellCount && pos < a.GridExtent; ++i) {
        const int ext = std::max(0, horz ? ColWidth(i) : RowHeight(i));
        const int end = pos + ext + a.EffectiveLineWidth;
        if (full && pos + ext <= a.GridExtent) {
            a.LastFullVisibleCell = i;
            a.FullVisBoundary = std::min(end, a.GridExtent);
        } else {
            full = false;
        }
        a.LastVisibleCell = i;
        pos = end;
    }
    a.GridBoundary = std::min(pos, a.GridExtent);
    return a;
}

TGridDrawInfo TIDrawGridLayout::CalcDrawInfo() const
{
    return { calcAxis(true), calcAxis(false) };
}

int TIDrawGridLayout::VisibleColCount() const
{
    const TGridAxisInfo a = calcAxis(true);
    return a.GridCellCount == 0 ? 0 : a.LastFullVisibleCell - a.FirstGridCell + 1;
}

int TIDrawGridLayout::VisibleRowCount() const
{
    const TGridAxisInfo a = calcAxis(false);
    return a.GridCellCount == 0 ? 0 : a.LastFullVisibleCell - a.FirstGridCell + 1;
}

int TIDrawGridLayout::maxFirst(bool horz) const
{
    const int count = horz ? m_colCount : m_rowCount;
    if (count <= 1)
        return 0;
    const int extent = horz ? ClientWidth : ClientHeight;
    const bool lines = horz ? Options.VertLine : Options.HorzLine;
    const int lw = lines ? std::max(0, GridLineWidth) : 0;
    int i = count - 1;
    int total = std::max(0, horz ? ColWidth(i) : RowHeight(i));
    while (i > 0) {
        const int next = total + lw + std::max(0, horz ? ColWidth(i - 1) : RowHeight(i - 1));
        if (next > extent)
            break;
        total = next;
        --i;
    }
    return i;
}

int TIDrawGridLayout::MaxLeftCol() const
{
    return maxFirst(true);
}
int TIDrawGridLayout::MaxTopRow() const
{
    return maxFirst(false);
}

int TIDrawGridLayout::firstShowingAt(bool horz, int cell, int pixel) const
{
    const int count = horz ? m_colCount : m_rowCount;
    if (cell < 0 || cell >= count || pixel < 0)
        return -1;
    const bool lines = horz ? Options.VertLine : Options.HorzLine;
    const int lw = lines ? std::max(0, GridLineWidth) : 0;
    // Walk back from the cell while the cells before it still fit left of (above) the
    // pixel; the cell then starts at or before the pixel, and ends after it.
    int first = cell;
    std::int64_t start = 0;
    while (first > 0) {
        const int pitch = std::max(0, horz ? ColWidth(first - 1) : RowHeight(first - 1)) + lw;
        if (start + pitch > pixel)
            break;
        start += pitch;
        --first;
    }
    return std::min(first, maxFirst(horz));
}

TPoint TIDrawGridLayout::FirstCellsShowingAt(TPoint cell, int x, int y) const
{
    return { firstShowingAt(true, cell.X, x), firstShowingAt(false, cell.Y, y) };
}

bool TIDrawGridLayout::ScrollIntoView(int col, int row)
{
    bool moved = false;
    const TGridDrawInfo info = CalcDrawInfo();
    if (col >= 0 && col < m_colCount) {
        if (col < m_leftCol) {
            moved |= SetLeftCol(col);
        } else if (col > info.Horz.LastFullVisibleCell) {
            // the first column that shows col as the last whole one
            int first = col;
            int total = ColWidth(col);
            const int lw = info.Horz.EffectiveLineWidth;
            while (first > 0 && total + lw + ColWidth(first - 1) <= ClientWidth) {
                total += lw + ColWidth(first - 1);
                --first;
            }
            moved |= SetLeftCol(first);
        }
    }
    if (row >= 0 && row < m_rowCount) {
        if (row < m_topRow) {
            moved |= SetTopRow(row);
        } else if (row > info.Vert.LastFullVisibleCell) {
            int first = row;
            int total = RowHeight(row);
            const int lw = info.Vert.EffectiveLineWidth;
            while (first > 0 && total + lw + RowHeight(first - 1) <= ClientHeight) {
                total += lw + RowHeight(first - 1);
                --first;
            }
            moved |= SetTopRow(first);
        }
    }
    return moved;
}

namespace {
// The cell of an axis under a coordinate: walk from the first visible cell.
int axisCell(int coord, const TGridAxisInfo &a, const TIDrawGridLayout &l, bool horz)
{
    if (coord < 0 || coord >= a.GridBoundary)
        return -1;
    int pos = 0;
    for (int i = a.FirstGridCell; i < a.GridCellCount; ++i) {
        pos += (horz ? l.ColWidth(i) : l.RowHeight(i)) + a.EffectiveLineWidth;
        if (pos > coord)
            return i;
    }
    return -1;
}
} // namespace

void TIDrawGridLayout::MouseToCell(int x, int y, int &col, int &row) const
{
    const TGridDrawInfo info = CalcDrawInfo();
    col = axisCell(x, info.Horz, *this, true);
    row = axisCell(y, info.Vert, *this, false);
}

TPoint TIDrawGridLayout::MouseToCell(int x, int y) const
{
    TPoint p;
    MouseToCell(x, y, p.X, p.Y);
    return p;
}

int TIDrawGridLayout::ColStart(int col) const
{
    const int lw = Options.VertLine ? std::max(0, GridLineWidth) : 0;
    int pos = 0;
    for (int i = m_leftCol; i < col; ++i)
        pos += ColWidth(i) + lw;
    return pos;
}

int TIDrawGridLayout::RowStart(int row) const
{
    const int lw = Options.HorzLine ? std::max(0, GridLineWidth) : 0;
    int pos = 0;
    for (int i = m_topRow; i < row; ++i)
        pos += RowHeight(i) + lw;
    return pos;
}

bool TIDrawGridLayout::IsColCompartLine(int col) const
{
    return DefaultColCompart > 0 && (col + 1) % DefaultColCompart == 0;
}

bool TIDrawGridLayout::IsRowCompartLine(int row, bool fromTop) const
{
    if (DefaultRowCompart <= 0)
        return false;
    const int k = fromTop ? row + 1 : m_rowCount - row - 1;
    return k >= 0 && k % DefaultRowCompart == 0;
}

TRect TIDrawGridLayout::CellRect(int col, int row) const
{
    const TGridDrawInfo info = CalcDrawInfo();
    if (col < info.Horz.FirstGridCell || col > info.Horz.LastVisibleCell || row < info.Vert.FirstGridCell
        || row > info.Vert.LastVisibleCell)
        return {};
    TRect r;
    r.Left = ColStart(col);
    r.Top = RowStart(row);
    r.Right = std::min(r.Left + ColWidth(col), ClientWidth);
    r.Bottom = std::min(r.Top + RowHeight(row), ClientHeight);
    if (CompartShrinkOn()) {
        if (r.Left != 0 && IsColCompartLine(col))
            r.Right -= 1;
        if (r.Top != 0 && IsRowCompartLine(row, StartPos == TStartPos::spLeftTop))
            r.Bottom -= 1;
    }
    return r;
}

std::vector<TIDrawGridLayout::TGridLine> TIDrawGridLayout::ColLines(const TGridDrawInfo &info) const
{
    std::vector<TGridLine> lines;
    const TGridAxisInfo &a = info.Horz;
    int pos = 0;
    for (int i = a.FirstGridCell; i <= a.LastVisibleCell; ++i) {
        pos += ColWidth(i);
        lines.push_back({ pos, i, IsColCompartLine(i) });
        pos += a.EffectiveLineWidth;
    }
    return lines;
}

std::vector<TIDrawGridLayout::TGridLine> TIDrawGridLayout::RowLines(
    const TGridDrawInfo &info, bool rowsFromTop) const
{
    std::vector<TGridLine> lines;
    const TGridAxisInfo &a = info.Vert;
    int pos = 0;
    for (int i = a.FirstGridCell; i <= a.LastVisibleCell; ++i) {
        pos += RowHeight(i);
        lines.push_back({ pos, i, IsRowCompartLine(i, rowsFromTop) });
        pos += a.EffectiveLineWidth;
    }
    return lines;
}

TPoint TIDrawGridLayout::AutoScrollStep(int x, int y, TPoint anchor) const
{
    const TGridDrawInfo info = CalcDrawInfo();
    TPoint p = anchor;
    if (x < 0 && anchor.X >= 1)
        p.X -= AutoScrollCells;
    else if (x >= info.Horz.FullVisBoundary && anchor.X < m_colCount - 1)
        p.X += AutoScrollCells;
    if (y < 0 && anchor.Y >= 1)
        p.Y -= AutoScrollCells;
    else if (y >= info.Vert.FullVisBoundary && anchor.Y < m_rowCount - 1)
        p.Y += AutoScrollCells;
    p.X = std::clamp(p.X, 0, std::max(0, m_colCount - 1));
    p.Y = std::clamp(p.Y, 0, std::max(0, m_rowCount - 1));
    return p;
}
