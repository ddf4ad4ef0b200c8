#pragma once
// TFrmTechTileWeave: the assign-weaves (指定组织) window.
// A tool window beside the pattern with one grid row per layer: in colour mode a column per
// colour and warp repeat, painted in the colour, in technical mode a column per technical
// needle kind (棒刀针, 边针, 综框针). Each cell shows the weave of its slot. A right click
// makes a cell the copy source, a left click pastes it; a double click opens the window's
// own file explorer, whose pick is read into the selected cell. Every edit goes straight
// into the document's record. OK turns the colour weaves into one new document per layer
// (built by the main window from the pictures this window hands over).

#include "shell/ui/explorerwindow.h"
#include "weave/ui/weavedesignwindow.h"
#include "weave/weaveslots.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

class QAction;
class QPushButton;
class QToolBar;
class TIDrawGrid;
class TMDIChild;

class TFrmTechTileWeave : public QWidget {
    Q_OBJECT
public:
    // Works on child's record and picture; closes itself when child goes.
    TFrmTechTileWeave(QWidget *owner, TMDIChild &child);
    ~TFrmTechTileWeave() override;

    TWeaveAssignment &Assignment() { return *m_assignment; }
    TMDIChild *Child() const { return m_child; }
    TIDrawGrid *DrawGridWeave() const { return m_grid; }
    // The window's actions by name (ActColorWeave, ActBaseWeave, ActZoomIn, ActZoomOut,
    // ActShiftLeft, ActShiftRight, ActShiftUp, ActShiftDown, ActClear), or null.
    QAction *Action(const char *name) const;
    QPushButton *OkButton() const { return m_ok; }
    QPushButton *CancelButton() const { return m_cancel; }
    // The explorer and the weave design window this window opened (null before the first
    // double click, and the first Ctrl double click).
    TFrmExplorer *Explorer() const { return m_explorer; }
    TfrmWeaveDesign *DesignWindow() const { return m_design; }

    // The mouse on a layer cell, as the grid reports it.
    void CellPressed(int col, int row, Qt::MouseButton button);
    void CellDoubleClicked(int col, int row, Qt::KeyboardModifiers modifiers);
    // Reads a weave file into the selected cell's slot (the explorer's pick).
    bool LoadIntoSelected(const QString &fileName);
    // The layer pictures of the document, one per layer; empty with a message shown when
    // they cannot be made.
    QList<QImage> BuildLayers();
    void ApplyLanguage();

    // What the main window gives: how messages are shown and how the layer pictures become
    // documents.
    std::function<void(const QString &text)> ShowMessage;
    std::function<void(const QList<QImage> &layers, const QString &baseName)> MakeLayerDocuments;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addAction(QToolBar *bar, const char *name, const char *icon);
    void setMode(TAssignMode mode);
    void rebuildGrid();
    void updateZoomActions();
    void slotEdited();
    void shiftSelected(TShiftDirection direction);
    void clearSelected();
    void paintCell(int col, int row, const QRect &rect);
    void accept();

    QPointer<TMDIChild> m_child;
    TMesh *m_mesh = nullptr;
    std::unique_ptr<TWeaveAssignment> m_assignment;
    TIDrawGrid *m_grid = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPointer<TFrmExplorer> m_explorer;
    QPointer<TfrmWeaveDesign> m_design;
    QList<QAction *> m_actions;
};
