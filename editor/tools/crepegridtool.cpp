#include "editor/tools/crepegridtool.h"

#include "editor/crepe.h"

#include <vector>

namespace {
// The index painted: the first palette entry holding the fore colour (the index a picture
// read from a file uses), the fore index when no entry holds it any more.
std::uint8_t crepeColor(const TPatternGrid &grid)
{
    const TPaletteEntry fore = ColorToEntry(grid.ForeColor());
    const TPalette256 &palette = grid.Palette();
    for (int i = 0; i < 256; ++i)
        if (palette[i].Red == fore.Red && palette[i].Green == fore.Green && palette[i].Blue == fore.Blue)
            return std::uint8_t(i);
    return std::uint8_t(grid.ForeIndex());
}
} // namespace

void TCrepeTool::Press(const TCellEvent &e)
{
    m_buttonDown = true;
    burst(e.Cell);
}

void TCrepeTool::Move(const TCellEvent &e)
{
    if (m_buttonDown)
        burst(e.Cell);
}

void TCrepeTool::Release(const TCellEvent &)
{
    m_buttonDown = false;
}

void TCrepeTool::burst(TPoint cell)
{
    QImage &picture = m_grid.Picture();
    if (picture.isNull())
        return;
    TCrepeBurst b;
    b.Center = cell;
    b.Color = crepeColor(m_grid);
    b.Option = m_grid.CrepeWeaveOption();
    b.Protected = m_grid.ColorSet();
    b.Selection = m_grid.SelectionRegion();
    std::vector<TPoint> cells;
    CrepeBurst(picture, b, m_random, cells);
    TLineArray step(qsizetype(cells.size()));
    std::copy(cells.begin(), cells.end(), step.begin());
    m_grid.Repaint();
    m_grid.RecordUndoStep(step);
    m_grid.RebuildReducedView();
    m_grid.NotifyMainWindow();
}
