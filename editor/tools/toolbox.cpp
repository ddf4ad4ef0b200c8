#include "editor/tools/toolbox.h"

#include "editor/tools/gridtool.h"
#include "editor/tools/tooltable.h"

TGridToolBox::TGridToolBox(TPatternGrid &grid)
    : m_grid(grid)
{
}

TGridToolBox::~TGridToolBox() = default;

TGridTool *TGridToolBox::Tool(TToolId id)
{
    const std::size_t i = ToolIdValue(id);
    if (i >= m_tools.size())
        return nullptr;
    if (!m_tools[i])
        m_tools[i] = MakeGridTool(m_grid, id);
    return m_tools[i].get();
}
