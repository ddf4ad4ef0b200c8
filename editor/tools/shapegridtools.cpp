#include "editor/tools/shapegridtools.h"

#include "editor/tools/shapeediting.h"

void TTwoPointShapeTool::Press(const TCellEvent &e)
{
    ShapeEditing::Press(m_grid, m_id, m_grid.DrawObjectSlot(), e, false);
}

void TTwoPointShapeTool::Move(const TCellEvent &e)
{
    ShapeEditing::Move(m_grid, m_id, *m_grid.DrawObjectSlot(), e);
}

void TTwoPointShapeTool::Release(const TCellEvent &)
{
    ShapeEditing::Release(*m_grid.DrawObjectSlot());
}
