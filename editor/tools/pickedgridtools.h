#pragma once
// The picked-weave and picked-pattern tools: each keeps the pick the library browser handed
// to the grid (a copy, with the name of its file) and tiles it into the cells of the fore
// colour at a press; the left button anchors at the bottom-left cell, the right button at
// the pressed cell (editor/pickedtools.h does the tiling).

#include "editor/tools/gridtool.h"

#include <QImage>
#include <QString>

class TPickedWeaveTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    // An empty weave drops the pick; the tool then refuses to tile.
    void Pick(const TWeaveArray &weave, const QString &fileName);
    const TWeaveArray &Weave() const { return m_weave; }
    const QString &FileName() const { return m_fileName; }

private:
    TWeaveArray m_weave;
    QString m_fileName;
};

class TPickedPatternTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    // A null picture drops the pick.
    void Pick(const QImage &pattern, const QString &fileName);
    const QImage &Pattern() const { return m_pattern; }
    const QString &FileName() const { return m_fileName; }

private:
    QImage m_pattern;
    QString m_fileName;
};
