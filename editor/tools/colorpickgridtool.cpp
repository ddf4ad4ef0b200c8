#include "editor/tools/colorpickgridtool.h"

#include "core/base/messages.h"

void PickColorAt(const TPatternGrid &grid, TPoint cell, TColorPickKind kind)
{
    const int index = grid.Picture().constScanLine(cell.Y)[cell.X];
    TColorPickInfo info;
    info.Value = std::int32_t(PlainColor(grid.Palette()[index]));
    info.Index = index;
    info.Kind = int(kind);
    SendColorPicked(TColor(info.Value), info);
}

void TColorPickTool::Press(const TCellEvent &e)
{
    PickColorAt(m_grid, e.Cell,
        e.Button == TPatternGrid::TMouseButton::Left ? TColorPickKind::Fore : TColorPickKind::Back);
}
