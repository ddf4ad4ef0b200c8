#pragma once
// TFrmRepairPic: the picture repair (除杂点) window.
// A tool window on top of the main window that cleans the picture of one document: clear
// mottle, repair gaps or clear thorns, with the run length, each run one undo step. It
// reaches the picture through its grid at every run and closes with its document.

#include "editor/picturerepair.h"

#include <QPointer>
#include <QWidget>

class QAction;
class QButtonGroup;
class QSpinBox;
class TPatternGrid;

class TFrmRepairPic : public QWidget {
    Q_OBJECT
public:
    // gridOwner is the document whose closing closes the window.
    TFrmRepairPic(TPatternGrid *grid, QObject *gridOwner, QWidget *parent = nullptr);

    TPatternGrid *Grid() const;
    TRepairFunction Function() const;
    void SetFunction(TRepairFunction function);
    int Distance() const;
    void SetDistance(int distance);
    // 开始: the chosen function on the grid's picture; false without a document.
    bool Start();

Q_SIGNALS:
    // The grid's picture changed.
    void applied();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool run(TRepairFunction function);

    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_gridOwner;
    bool m_hasOwner = false;
    QButtonGroup *m_function = nullptr; // RgpFunction
    QSpinBox *m_distance = nullptr; // RdtDistance
};
