#pragma once
// TMainWindowSelvedges: the main window's selvedge, warp-removal, crepe-ground and border
// commands, and what their windows hear from it: picked colours, library weaves and the
// document in front.

#include <QObject>
#include <QPointer>

class TFrmAddClothSide;
class TFrmBordure;
class TFrmRemovewarp;
class TMDIChild;
class TMainForm;

class TMainWindowSelvedges : public QObject {
    Q_OBJECT
public:
    // Gives ActAddClothSide, ActRemoveWarp, ActCrepeWeave and ActBaoBian their commands.
    explicit TMainWindowSelvedges(TMainForm &form);

private:
    void addClothSide(TMDIChild &child);
    void removeWarp(TMDIChild &child);
    void crepeWeave(TMDIChild &child);
    void bordure(TMDIChild &child);
    template <class T> void showGridWindow(QPointer<T> &slot, TMDIChild &child);
    // The windows that follow the document in front.
    void follow(TMDIChild *child);
    void colorPicked(int index);
    void weavePicked(const QString &fileName);
    // The colour-pick tool (14) the selvedge and border windows start with.
    void chooseColorPickTool();

    TMainForm &m_form;
    bool m_browserConnected = false;
    // The open windows; a window that closed (and waits to be deleted) counts as none.
    QPointer<TFrmAddClothSide> m_clothSide;
    QPointer<TFrmRemovewarp> m_removeWarp;
    QPointer<TFrmBordure> m_bordure;
};
