#include "editor/tools/cutgridtools.h"

void TCutTool::Press(const TCellEvent &e)
{
    const TRepeatPic &repeat = m_grid.RepeatInfo();
    if (m_id == TToolId::HorzCut) {
        if (e.Cell.Y > 0 && e.Cell.Y <= repeat.UnitHeight - 1)
            m_grid.ShiftPictureVert(e.Cell.Y);
    } else if (e.Cell.X > 0 && e.Cell.X <= repeat.UnitWidth - 1) {
        m_grid.ShiftPictureHorz(e.Cell.X);
    }
    m_grid.NotifyMainWindow();
}
