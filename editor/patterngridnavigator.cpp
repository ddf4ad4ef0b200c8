// The link between a document's grid and the navigator: a second grid that shows the same
// picture at one pixel per cell with a frame around the cells the document shows.
#include "editor/patterngrid.h"

#include "core/base/messages.h"

#include <algorithm>

void TPatternGrid::ShowPictureOf(const TPatternGrid *source)
{
    m_pictureSource = source;
    // The navigator's own copies would keep the old picture alive (and shared).
    m_picture = QImage();
    m_refBitmap = QImage();
    m_ownsPicture = false;
    m_navigatorFrame = TRect {};
    SetZoom(BaseZoomLevel);
    layoutChanged();
    Repaint();
}

TRect TPatternGrid::GetVisibleCellRect() const
{
    const TGridDrawInfo info = m_grid.CalcDrawInfo();
    return TRect { LeftCol(), TopRow(), info.Horz.LastFullVisibleCell, info.Vert.LastFullVisibleCell };
}

void TPatternGrid::SetVisibleCellRect(const TRect &r)
{
    // A rectangle dragged against the far edge shows that edge whole, however many cells
    // fit; elsewhere the rectangle's first cells come first.
    const int left = r.Right >= ColCount() ? m_grid.MaxLeftCol() : (r.Left == 1 ? 0 : r.Left);
    const int top = r.Bottom >= RowCount() ? m_grid.MaxTopRow() : (r.Top == 1 ? 0 : r.Top);
    SetLeftCol(std::clamp(left, 0, std::max(0, m_grid.MaxLeftCol())));
    SetTopRow(std::clamp(top, 0, std::max(0, m_grid.MaxTopRow())));
}

void TPatternGrid::NotifyViewChanged()
{
    NotifyRefreshView(0);
}
