// Zoom arithmetic of the pattern grid: cell sizes per level, grid lines, the reduced view
// below one pixel per cell and the cell counts it shows.
#include "editor/patterngrid.h"

#include "core/numutils.h"

#include <algorithm>
#include <cmath>

namespace {
// A density ratio is only meaningful when both densities are positive numbers; anything
// else (0, negative, not a number) counts as square cells.
double densityRatio(double warp, double weft)
{
    if (!(warp > 0.0) || !(weft > 0.0) || !std::isfinite(warp) || !std::isfinite(weft))
        return 1.0;
    return warp / weft;
}
} // namespace

void TPatternGrid::calcCellSize()
{
    const int level = ZoomLevel;
    const int g = m_grid.GridLineWidth;
    m_grid.DefaultColWidth = std::max(1, level - 9 + 1 - g);
    if (level < BaseZoomLevel || !(m_weftDensity > 0.0) || !(m_warpDensity > 0.0)) {
        m_grid.DefaultRowHeight = 1;
        return;
    }
    const double pitch = double(m_grid.DefaultColWidth + g) * densityRatio(m_warpDensity, m_weftDensity);
    // The row height of an extreme ratio is kept to what a screen can show.
    const std::int64_t h = Round(std::min(pitch, 65536.0)) - g;
    m_grid.DefaultRowHeight = int(std::max<std::int64_t>(1, h));
}

void TPatternGrid::SetGridLineWidth(int value)
{
    if (ZoomLevel <= BaseZoomLevel && m_grid.GridLineWidth == 0)
        return;
    m_grid.GridLineWidth = std::max(0, value);
    calcCellSize();
    NotifyRefreshView(0);
    layoutChanged();
    Repaint();
}

double TPatternGrid::CalcReducedScaleX()
{
    ScaleX = ZoomLevel >= BaseZoomLevel ? 1.0 : double((ZoomLevel & 127) + 1) / 10.0;
    return ScaleX;
}

double TPatternGrid::CalcReducedScaleY()
{
    const double x = ZoomLevel >= BaseZoomLevel ? 1.0 : double((ZoomLevel & 127) + 1) / 10.0;
    ScaleY = ZoomLevel >= BaseZoomLevel ? 1.0 : x * densityRatio(m_warpDensity, m_weftDensity);
    return ScaleY;
}

void TPatternGrid::applyZoomCounts()
{
    const int w = m_picture.isNull() ? 0 : m_picture.width();
    const int h = m_picture.isNull() ? 0 : m_picture.height();
    if (ZoomLevel >= BaseZoomLevel) {
        m_grid.SetCountsDirect(w, h);
        m_reducedCols.clear();
        m_reducedRows.clear();
        return;
    }
    // At least one cell of a non-empty picture stays in view.
    const int cols = w == 0 ? 0 : int(std::max<std::int64_t>(1, Trunc(w * ScaleX)));
    const int rows = h == 0 ? 0 : int(std::max<std::int64_t>(1, Trunc(h * ScaleY)));
    m_grid.SetCountsDirect(cols, rows);
    RebuildReducedView();
}

void TPatternGrid::RebuildReducedView()
{
    if (ZoomLevel >= BaseZoomLevel) {
        m_reducedCols.clear();
        m_reducedRows.clear();
        return;
    }
    buildReducedMaps();
}

void TPatternGrid::buildReducedMaps()
{
    const int w = m_picture.isNull() ? 0 : m_picture.width();
    const int h = m_picture.isNull() ? 0 : m_picture.height();
    const int cols = ColCount(), rows = RowCount();
    m_reducedCols.resize(cols);
    m_reducedRows.resize(rows);
    // Nearest neighbour: reduced cell i shows picture cell i * size / count, which drops
    // or repeats rows and columns and never blends colours.
    for (int x = 0; x < cols; ++x)
        m_reducedCols[x] = int(std::int64_t(x) * w / cols);
    for (int y = 0; y < rows; ++y)
        m_reducedRows[y] = int(std::int64_t(y) * h / rows);
}

int TPatternGrid::ReducedSourceCol(int x) const
{
    if (ZoomLevel >= BaseZoomLevel || x < 0 || x >= int(m_reducedCols.size()))
        return x;
    return m_reducedCols[x];
}

int TPatternGrid::ReducedSourceRow(int y) const
{
    if (ZoomLevel >= BaseZoomLevel || y < 0 || y >= int(m_reducedRows.size()))
        return y;
    return m_reducedRows[y];
}

QImage TPatternGrid::ReducedBitmap() const
{
    if (ZoomLevel >= BaseZoomLevel || m_picture.isNull() || ColCount() == 0 || RowCount() == 0)
        return {};
    QImage out(ColCount(), RowCount(), QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    SetBitmapPalette(out, m_palette);
    for (int y = 0; y < RowCount(); ++y) {
        const uchar *src = m_picture.constScanLine(m_reducedRows[y]);
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < ColCount(); ++x)
            dst[x] = src[m_reducedCols[x]];
    }
    return out;
}

void TPatternGrid::SetZoom(int level)
{
    level = std::clamp(level, 0, MaxZoomLevel);
    PrevZoomLevel = ZoomLevel;
    ZoomLevel = std::uint8_t(level);
    m_grid.GridLineWidth = 0;
    calcCellSize();
    if (level <= BaseZoomLevel) {
        m_grid.GridLineWidth = 0;
    } else if (m_grid.DefaultRowHeight > 1 && m_grid.DefaultColWidth > 1) {
        // A level whose cells would be 1 pixel in either direction keeps no grid lines.
        m_grid.GridLineWidth = 1;
        calcCellSize();
    }
    CalcReducedScaleX();
    CalcReducedScaleY();
    applyZoomCounts();
    NotifyRefreshView(0);
    layoutChanged();
    Repaint();
    if (OwnsPicture) {
        NotifyMainWindow();
        notifyZoom();
        NotifyPatternSize(m_picture.width(), m_picture.height());
    }
    TopLeftChanged();
}

void TPatternGrid::ZoomIn()
{
    SetZoom(std::min(MaxZoomLevel, ZoomLevel + 3));
}

void TPatternGrid::ZoomOut()
{
    SetZoom(std::max(int(BaseZoomLevel), ZoomLevel - 3));
}
