// Zoom arithmetic of the pattern grid: cell sizes per level, grid lines, the reduced view
// below one pixel per cell and the cell counts it shows.
#include "editor/patterngrid.h"

#include "core/base/numutils.h"
#include "core/picture/imageproc.h"
#include "core/picture/picturelimits.h"
#include "editor/tools/rectangletool.h"

#include <algorithm>
#include <cmath>

namespace {
// The densities only set the cell aspect when both are positive finite numbers; anything
// else (0, negative, not a number) counts as square cells, so nothing divides by zero.
bool densitiesUsable(double warp, double weft)
{
    return warp > 0.0 && weft > 0.0 && std::isfinite(warp) && std::isfinite(weft);
}

// The largest count of a reduced view's side: an extreme density ratio (a damaged
// document) still gives a view that can be laid out and scrolled.
constexpr std::int64_t MaxReducedCount = std::int64_t(16) * MaxPictureSide;
} // namespace

void TPatternGrid::calcCellSize()
{
    const int level = m_zoomLevel;
    const int g = m_grid.GridLineWidth;
    m_grid.DefaultColWidth = std::max(1, level - 9 + 1 - g);
    if (level < BaseZoomLevel || !densitiesUsable(m_warpDensity, m_weftDensity)) {
        m_grid.DefaultRowHeight = 1;
        return;
    }
    // Pitch times warp density first, then the division: a ratio that is a half lands
    // exactly on the half and rounds to even.
    const double pitch = double(m_grid.DefaultColWidth + g) * m_warpDensity / m_weftDensity;
    // The row height of an extreme ratio is kept to what a screen can show.
    const std::int64_t h = Round(std::min(pitch, 65536.0)) - g;
    m_grid.DefaultRowHeight = int(std::max<std::int64_t>(1, h));
}

void TPatternGrid::SetGridLineWidth(int value)
{
    if (m_zoomLevel <= BaseZoomLevel && m_grid.GridLineWidth == 0)
        return;
    m_grid.GridLineWidth = std::max(0, value);
    calcCellSize();
    NotifyRefreshView(0);
    layoutChanged();
    Repaint();
}

double TPatternGrid::CalcReducedScaleX()
{
    m_scaleX = m_zoomLevel >= BaseZoomLevel ? 1.0 : double((m_zoomLevel & 127) + 1) / 10.0;
    return m_scaleX;
}

double TPatternGrid::CalcReducedScaleY()
{
    const double x = m_zoomLevel >= BaseZoomLevel ? 1.0 : double((m_zoomLevel & 127) + 1) / 10.0;
    if (m_zoomLevel >= BaseZoomLevel)
        m_scaleY = 1.0;
    else if (!densitiesUsable(m_warpDensity, m_weftDensity))
        m_scaleY = x;
    else
        m_scaleY = x * m_warpDensity / m_weftDensity;
    return m_scaleY;
}

void TPatternGrid::applyZoomCounts()
{
    const QImage &picture = shownPicture();
    const int w = picture.isNull() ? 0 : picture.width();
    const int h = picture.isNull() ? 0 : picture.height();
    if (m_zoomLevel >= BaseZoomLevel) {
        m_grid.SetCountsDirect(w, h);
        m_reducedCols.clear();
        m_reducedRows.clear();
        return;
    }
    // Width x (level + 1) / 10 and height x that x warp / weft, truncated. Both are worked
    // out from the level's tenths rather than from the rounded factors, so that 90 cells
    // at 0.7 give 63, not 62.
    const int tenths = (m_zoomLevel & 127) + 1;
    const std::int64_t cols = std::int64_t(w) * tenths / 10;
    const std::int64_t rows = densitiesUsable(m_warpDensity, m_weftDensity)
        ? Trunc(double(h) * tenths * m_warpDensity / (10.0 * m_weftDensity))
        : std::int64_t(h) * tenths / 10;
    // At least one cell of a non-empty picture stays in view.
    auto fit = [](int side, std::int64_t count) {
        return side == 0 ? 0 : int(std::clamp<std::int64_t>(count, 1, MaxReducedCount));
    };
    m_grid.SetCountsDirect(fit(w, cols), fit(h, rows));
    RebuildReducedView();
}

void TPatternGrid::RebuildReducedView()
{
    if (m_zoomLevel >= BaseZoomLevel) {
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
    const int cols = w == 0 ? 0 : ColCount(), rows = h == 0 ? 0 : RowCount();
    m_reducedCols.resize(cols);
    m_reducedRows.resize(rows);
    // The picture resampled as ResamplePicture stretches it: rows and columns are dropped
    // or repeated, colours never blended.
    for (int x = 0; x < cols; ++x)
        m_reducedCols[x] = ResampleSourceLine(x, w, cols);
    for (int y = 0; y < rows; ++y)
        m_reducedRows[y] = ResampleSourceLine(y, h, rows);
}

int TPatternGrid::ReducedSourceCol(int x) const
{
    if (m_zoomLevel >= BaseZoomLevel || x < 0 || x >= int(m_reducedCols.size()))
        return x;
    return m_reducedCols[x];
}

int TPatternGrid::ReducedSourceRow(int y) const
{
    if (m_zoomLevel >= BaseZoomLevel || y < 0 || y >= int(m_reducedRows.size()))
        return y;
    return m_reducedRows[y];
}

QImage TPatternGrid::ReducedBitmap() const
{
    if (m_zoomLevel >= BaseZoomLevel || m_picture.isNull() || ColCount() == 0 || RowCount() == 0)
        return {};
    QImage out(ColCount(), RowCount(), QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    SetBitmapPalette(out, m_palette);
    // Cells whose picture cell is missing (a picture changed behind the grid's back) stay 0.
    const int w = m_picture.width(), h = m_picture.height();
    out.fill(0);
    for (int y = 0; y < RowCount(); ++y) {
        const int sy = ReducedSourceRow(y);
        if (sy < 0 || sy >= h)
            continue;
        const uchar *src = m_picture.constScanLine(sy);
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < ColCount(); ++x) {
            const int sx = ReducedSourceCol(x);
            if (sx >= 0 && sx < w)
                dst[x] = src[sx];
        }
    }
    return out;
}

void TPatternGrid::applyZoomLevel(int level)
{
    level = std::clamp(level, 0, MaxZoomLevel);
    m_prevZoomLevel = m_zoomLevel;
    m_zoomLevel = std::uint8_t(level);
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
    // The unit outline is painted in the view's cells, so it follows the view's scale.
    m_repeatFrameObject->SetScaleX(m_scaleX);
    m_repeatFrameObject->SetScaleY(m_scaleY);
    // Every piece the store keeps shows at the view's scale, so that one taken up again by
    // undo or redo needs nothing more.
    applyScalesToFloatingPictures();
    applyZoomCounts();
}

void TPatternGrid::SetZoom(int level)
{
    applyZoomLevel(level);
    NotifyRefreshView(0);
    layoutChanged();
    Repaint();
    if (m_ownsPicture) {
        NotifyMainWindow();
        notifyZoom();
        NotifyPatternSize(m_picture.width(), m_picture.height());
    }
    TopLeftChanged();
}

// A zoom step changes how the cells are shown and nothing of the document: the undo,
// edit, repeat and merge states stay as they were, so only the zoom state and the cell
// size go to the main window. Above all the clipboard is not asked whether it holds a
// picture: on X11 each such question is a round trip to the server, and to the program
// that owns the clipboard, which would cost more than painting the view.
void TPatternGrid::ZoomTo(int level)
{
    applyZoomLevel(level);
    layoutChanged();
    if (m_ownsPicture) {
        notifyZoom();
        NotifyPatternSize(m_picture.width(), m_picture.height());
    }
    // The navigator's frame follows and the view is painted once.
    TopLeftChanged();
}

void TPatternGrid::ZoomIn()
{
    ZoomTo(std::min(MaxZoomLevel, m_zoomLevel + 3));
}

void TPatternGrid::ZoomOut()
{
    ZoomTo(std::max(int(BaseZoomLevel), m_zoomLevel - 3));
}
