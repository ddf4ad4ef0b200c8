#include "editor/tools/gridtool.h"

#include "editor/tools/tooltable.h"

int TGridTool::Cursor() const
{
    return ToolRow(m_id).Cursor;
}
