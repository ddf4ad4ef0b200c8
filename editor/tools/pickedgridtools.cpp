#include "editor/tools/pickedgridtools.h"

#include "editor/pickedtools.h"
#include "weave/weavearray.h"

void TPickedWeaveTool::Pick(const TWeaveArray &weave, const QString &fileName)
{
    // A copy of its own: the browser's weave may change or go while the tool keeps it.
    m_weave = TWeaveArray();
    CopyWeaveArray(weave, m_weave);
    m_fileName = weave.isEmpty() ? QString() : fileName;
}

void TPickedWeaveTool::Press(const TCellEvent &e)
{
    QString message;
    TFloatMarking marking;
    if (TilePickedWeave(
            m_grid, m_weave, e.Cell, e.Button == TPatternGrid::TMouseButton::Right, marking, &message))
        message = marking.Notice;
    m_grid.ReportPickedTool(marking.Floats.isEmpty() ? nullptr : &marking, message);
}

void TPickedPatternTool::Pick(const QImage &pattern, const QString &fileName)
{
    m_pattern = pattern.isNull() ? QImage() : pattern.copy();
    m_fileName = pattern.isNull() ? QString() : fileName;
}

void TPickedPatternTool::Press(const TCellEvent &e)
{
    QString message;
    if (TilePickedPattern(
            m_grid, m_fileName, e.Cell, e.Button == TPatternGrid::TMouseButton::Right, &message))
        message.clear();
    m_grid.ReportPickedTool(nullptr, message);
}
