#pragma once
// TMainWindowTechnique: the main window's point window (找或补点) and multi-layer merge
// (多造合并) commands.

#include <QObject>

class TMainForm;

class TMainWindowTechnique : public QObject {
    Q_OBJECT
public:
    // Gives ActMarkPoint and ActPatternMerge their commands; the point window follows the
    // document in front and hides when the last one closes.
    explicit TMainWindowTechnique(TMainForm &form);

private:
    void showMarkPointWindow();
    void mergeLayers();

    TMainForm &m_form;
};
