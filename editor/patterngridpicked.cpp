// The weave and the pattern the library browsers hand to a grid.
#include "editor/patterngrid.h"

#include "weave/weavearray.h"

void TPatternGrid::SelectTableTool(const TWeaveArray &weave, const QString &fileName)
{
    // A copy of its own: the browser's weave may change or go while the grid keeps it.
    m_pickedWeave = TWeaveArray();
    CopyWeaveArray(weave, m_pickedWeave);
    m_pickedWeaveFile = weave.isEmpty() ? QString() : fileName;
    SetDrawTool(TToolId::PickedWeave);
}

void TPatternGrid::SelectStringTool(const QImage &pattern, const QString &fileName)
{
    m_pickedPattern = pattern.isNull() ? QImage() : pattern.copy();
    m_pickedPatternFile = pattern.isNull() ? QString() : fileName;
    SetDrawTool(TToolId::PickedPattern);
}
