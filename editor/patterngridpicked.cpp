// The weave and the pattern the library browsers hand to a grid: the picked-weave and
// picked-pattern tools keep them.
#include "editor/patterngrid.h"

#include "editor/tools/pickedgridtools.h"
#include "editor/tools/toolbox.h"

void TPatternGrid::SelectTableTool(const TWeaveArray &weave, const QString &fileName)
{
    m_tools->As<TPickedWeaveTool>(TToolId::PickedWeave).Pick(weave, fileName);
    SetDrawTool(TToolId::PickedWeave);
}

void TPatternGrid::SelectStringTool(const QImage &pattern, const QString &fileName)
{
    m_tools->As<TPickedPatternTool>(TToolId::PickedPattern).Pick(pattern, fileName);
    SetDrawTool(TToolId::PickedPattern);
}

const TWeaveArray &TPatternGrid::PickedWeave() const
{
    return m_tools->As<TPickedWeaveTool>(TToolId::PickedWeave).Weave();
}

const QString &TPatternGrid::PickedWeaveFile() const
{
    return m_tools->As<TPickedWeaveTool>(TToolId::PickedWeave).FileName();
}

const QImage &TPatternGrid::PickedPattern() const
{
    return m_tools->As<TPickedPatternTool>(TToolId::PickedPattern).Pattern();
}

const QString &TPatternGrid::PickedPatternFile() const
{
    return m_tools->As<TPickedPatternTool>(TToolId::PickedPattern).FileName();
}

void TPatternGrid::ReportPickedTool(const TFloatMarking *marking, const QString &message)
{
    if (m_pickedToolReport && (marking || !message.isEmpty()))
        m_pickedToolReport(marking, message);
}
