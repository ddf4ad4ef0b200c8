#include "card/samplecard.h"

#include <algorithm>
#include <vector>

namespace {

struct TStyleLayout {
    int rows;
    int cols;
    std::vector<int> markers;
};

TStyleLayout LayoutOf(TYKStyle style)
{
    switch (style) {
    case ys1200:
        return { 16, 85, { 0, 28, 56, 84 } };
    case ys144:
        return { 8, 18, {} };
    case ys1300:
        return { 16, 88, { 0, 29, 58, 87 } };
    case ys1400:
    case ysOther:
        return { 16, 98, { 0, 32, 65, 97 } };
    case ys1600:
        return { 16, 106, { 0, 35, 70, 105 } };
    case ys1700:
        return { 16, 116, { 0, 38, 77, 115 } };
    case ys1800:
        return { 16, 121, { 0, 30, 60, 90, 120 } };
    case ys1900:
        return { 16, 129, { 0, 32, 64, 96, 128 } };
    case ys2100:
        return { 16, 141, { 0, 35, 70, 105, 140 } };
    case ys2200:
        return { 16, 147, { 0, 36, 73, 110, 146 } };
    case ys2300:
        return { 16, 153, { 0, 38, 76, 114, 152 } };
    case ys2400:
        return { 16, 159, { 0, 39, 79, 119, 158 } };
    case ys2600:
        return { 16, 171, { 0, 42, 85, 128, 170 } };
    case ysContinuous:
        return { 8, 176, { 0, 1, 58, 59, 116, 117, 174, 175 } };
    }
    return { 8, 18, {} };
}

} // namespace

TYangkaImage::TYangkaImage()
    : CardFileName(QStringLiteral("Untitled*"))
{
    Cells = StyleCells(ys144);
    m_colCount = 18;
    m_rowCount = 8;
    SetMinRad(7);
}

TMultiByteArray TYangkaImage::StyleCells(TYKStyle style)
{
    const TStyleLayout l = LayoutOf(style);
    TMultiByteArray cells = MakeWeaveArray(l.cols, l.rows, Needle::Jacquard);
    if (style == ysContinuous) {
        for (int c : l.markers)
            for (int r = 0; r < l.rows; ++r)
                cells[c][r] = (r == 2 || r == 5) ? Needle::MarkerColumn : Needle::PositionHole;
        return cells;
    }
    const int n = int(l.markers.size());
    for (int m = 0; m < n; ++m) {
        const int c = l.markers[m];
        for (int r = 0; r < l.rows; ++r)
            cells[c][r] = (r == 2 || r == l.rows - 3) ? Needle::LacingHole : Needle::MarkerColumn;
        for (int r : { 7, 8 }) {
            if (r >= l.rows)
                continue;
            if (m > 0)
                cells[c - 2][r] = cells[c - 1][r] = Needle::PositionHole;
            if (m < n - 1)
                cells[c + 1][r] = cells[c + 2][r] = Needle::PositionHole;
        }
    }
    return cells;
}

void TYangkaImage::Changed(int col, int row)
{
    if (col < 0)
        RebuildHoleList();
    if (OnYKChange)
        OnYKChange(col, row);
}

void TYangkaImage::Fill(std::uint8_t code)
{
    for (auto &column : Cells)
        column.fill(code);
}

void TYangkaImage::SetColCount(int value)
{
    if (value <= 0 || value > 65535 || value == m_colCount)
        return;
    m_colCount = std::uint16_t(value);
    Cells = MakeWeaveArray(m_colCount, m_rowCount, Needle::Jacquard);
    Changed(-1, -1);
}

void TYangkaImage::SetRowCount(int value)
{
    if (value <= 0 || value > 65535 || value == m_rowCount)
        return;
    m_rowCount = std::uint16_t(value);
    Cells = MakeWeaveArray(m_colCount, m_rowCount, Needle::Jacquard);
    Changed(-1, -1);
}

void TYangkaImage::SetMinRad(int value)
{
    m_minRad = std::uint8_t(std::clamp(value, 1, 14));
    HoleDiameter = std::uint8_t(2 * m_minRad);
}

void TYangkaImage::SetStartFlag(int value)
{
    if (value >= 0 && value <= 3)
        m_startFlag = std::uint8_t(value);
}

void TYangkaImage::SetYKStyle(TYKStyle style)
{
    if (style == m_style || int(style) >= YKStyleCount)
        return;
    m_style = style;
    Cells = StyleCells(style);
    m_colCount = std::uint16_t(Cells.length());
    m_rowCount = std::uint16_t(Cells[0].length());
    if (OnStyleChange)
        OnStyleChange();
    Changed(-1, -1);
    Resize();
}

bool TYangkaImage::SetCells(const TMultiByteArray &cells)
{
    const int cols = cells.length();
    const int rows = cols ? cells[0].length() : 0;
    if (cols == 0 || rows == 0 || cols > 65535 || rows > 65535)
        return false;
    for (const auto &column : cells)
        if (column.length() != rows)
            return false;
    TMultiByteArray copy(cells.size());
    for (int c = 0; c < cols; ++c)
        copy[c] = cells[c].copy();
    Cells = copy;
    m_colCount = std::uint16_t(cols);
    m_rowCount = std::uint16_t(rows);
    Changed(-1, -1);
    return true;
}

void TYangkaImage::ClearAll()
{
    Fill(Needle::Empty);
    Changed(-1, -1);
}

void TYangkaImage::SetJacquardCount(int count)
{
    int n = 0;
    for (auto &column : Cells)
        for (auto &cell : column)
            cell = n++ < count ? Needle::Jacquard : Needle::Empty;
    Changed(-1, -1);
}

bool TYangkaImage::ColumnHas(int col, std::uint8_t code) const
{
    return std::find(Cells[col].begin(), Cells[col].end(), code) != Cells[col].end();
}

bool TYangkaImage::AddPositionHole(int col, int row)
{
    if (col < 0 || row < 0 || col > m_colCount - 2 || row > m_rowCount - 2)
        return false;
    for (int dc = 0; dc < 2; ++dc)
        for (int dr = 0; dr < 2; ++dr)
            if (Cells[col + dc][row + dr] > Needle::LastNeedleCode)
                return false;
    for (int dc = 0; dc < 2; ++dc)
        for (int dr = 0; dr < 2; ++dr)
            Cells[col + dc][row + dr] = Needle::PositionHole;
    Changed(-1, -1);
    return true;
}

bool TYangkaImage::RemovePositionHole(int col, int row)
{
    if (col < 0 || row < 0 || col > m_colCount - 2 || row > m_rowCount - 2)
        return false;
    for (int dc = 0; dc < 2; ++dc)
        for (int dr = 0; dr < 2; ++dr)
            if (Cells[col + dc][row + dr] != Needle::PositionHole)
                return false;
    for (int dc = 0; dc < 2; ++dc)
        for (int dr = 0; dr < 2; ++dr)
            Cells[col + dc][row + dr] = Needle::Empty;
    Changed(-1, -1);
    return true;
}

bool TYangkaImage::AddLacingHole(int col, int row)
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount || ColumnHas(col, Needle::PositionHole))
        return false;
    if (!ColumnHas(col, Needle::MarkerColumn) && !ColumnHas(col, Needle::LacingHole))
        Cells[col].fill(Needle::MarkerColumn);
    Cells[col][row] = Needle::LacingHole;
    Changed(-1, -1);
    return true;
}

bool TYangkaImage::RemoveLacingHole(int col, int row)
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount || Cells[col][row] != Needle::LacingHole)
        return false;
    Cells[col][row] = Needle::MarkerColumn;
    if (!ColumnHas(col, Needle::LacingHole))
        Cells[col].fill(Needle::Empty);
    Changed(-1, -1);
    return true;
}

void TYangkaImage::SetPositionHoles(const TPosArray &points)
{
    for (const TPoint &p : points)
        AddPositionHole(p.X, p.Y);
    RebuildHoleList();
}

void TYangkaImage::RebuildHoleList()
{
    std::vector<TPoint> found;
    std::vector<std::vector<bool>> covered(m_colCount, std::vector<bool>(m_rowCount, false));
    for (int c = 0; c < m_colCount; ++c)
        for (int r = 0; r < m_rowCount; ++r) {
            if (Cells[c][r] != Needle::PositionHole || covered[c][r])
                continue;
            found.push_back({ c, r });
            for (int dc = 0; dc < 2 && c + dc < m_colCount; ++dc)
                for (int dr = 0; dr < 2 && r + dr < m_rowCount; ++dr)
                    covered[c + dc][r + dr] = true;
        }
    TPosArray holes(qsizetype(found.size()));
    std::copy(found.begin(), found.end(), holes.begin());
    Holes = holes;
}

int TYangkaImage::CountCode(std::uint8_t code) const
{
    int n = 0;
    for (const auto &column : Cells)
        n += int(std::count(column.begin(), column.end(), code));
    return n;
}

int TYangkaImage::JacquardCount() const
{
    return CountCode(Needle::Jacquard) + CountCode(Needle::Jacquard2);
}

TRect TYangkaImage::CellRect(int col, int row) const
{
    const bool mirrorCols = m_startFlag == 1 || m_startFlag == 3;
    const bool mirrorRows = m_startFlag == 1 || m_startFlag == 2;
    const int c = mirrorCols ? m_colCount - 1 - col : col;
    const int r = mirrorRows ? m_rowCount - 1 - row : row;
    const int x = MarginLeft + c * m_minRad;
    const int y = MarginTop + r * m_minRad;
    return TRect { x, y, x + m_minRad, y + m_minRad };
}

bool TYangkaImage::CellAtPixel(int x, int y, int &col, int &row, bool *inHole) const
{
    const int gx = x - MarginLeft, gy = y - MarginTop;
    if (gx < 0 || gy < 0 || gx >= m_colCount * m_minRad || gy >= m_rowCount * m_minRad)
        return false;
    int c = gx / m_minRad, r = gy / m_minRad;
    if (m_startFlag == 1 || m_startFlag == 3)
        c = m_colCount - 1 - c;
    if (m_startFlag == 1 || m_startFlag == 2)
        r = m_rowCount - 1 - r;
    col = c;
    row = r;
    if (inHole)
        *inHole = Cells[c][r] == Needle::PositionHole;
    return true;
}

void TYangkaImage::Resize()
{
    Width = m_minRad * m_colCount + MarginLeft + MarginRight;
    Height = m_minRad * m_rowCount + MarginTop + MarginBottom;
}

void TYangkaImage::ShowCardRow(const TDynamicByteArray &row)
{
    for (int c = 0; c < m_colCount; ++c)
        for (int r = 0; r < m_rowCount; ++r) {
            if (Cells[c][r] >= Needle::LastNeedleCode)
                continue;
            const qsizetype n = qsizetype(c) * m_rowCount + r;
            const bool up = n / 8 < row.size() && (row[n / 8] >> (7 - n % 8)) & 1;
            Cells[c][r] = up ? Needle::Up : Needle::Down;
        }
    Changed(-1, -1);
}

void TYangkaImage::Assign(const TYangkaImage &other)
{
    if (&other == this)
        return;
    Width = other.Width;
    Height = other.Height;
    m_startFlag = other.m_startFlag;
    SetMinRad(other.m_minRad);
    m_style = other.m_style;
    m_rowCount = other.m_rowCount;
    m_colCount = other.m_colCount;
    MarginLeft = other.MarginLeft;
    MarginRight = other.MarginRight;
    MarginTop = other.MarginTop;
    MarginBottom = other.MarginBottom;
    HoleDiameter = other.HoleDiameter;
    BackColor = other.BackColor;
    LacingHoleColor = other.LacingHoleColor;
    HoleColor = other.HoleColor;
    NeedleColor = other.NeedleColor;
    Holes = other.Holes.copy();
    TiQianSuo = other.TiQianSuo;
    Multiple = other.Multiple;
    Orient = other.Orient;
    Rules = other.Rules;
    CardFileName = other.CardFileName;
    TMultiByteArray copy(other.Cells.size());
    for (qsizetype c = 0; c < copy.size(); ++c)
        copy[c] = other.Cells[c].copy();
    Cells = copy;
    Changed(-1, -1);
}
