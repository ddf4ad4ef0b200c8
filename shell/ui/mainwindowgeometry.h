#pragma once
// TMainWindowGeometry: the main window's commands on a pattern's geometry: its size, the
// grid settings, turning by an angle, the insert/delete warps-and-wefts window and the
// repeat layout. The insert/delete window follows the active document and takes the cells
// clicked on the pattern.

#include <QObject>

class TFrmEditGross;
class TMDIChild;
class TMainForm;

class TMainWindowGeometry : public QObject {
    Q_OBJECT
public:
    // Gives ActSetPicSize, ActSetGrid, ActRotateRandom, ActEditGross and ActMergePic their
    // commands.
    explicit TMainWindowGeometry(TMainForm &form);

    // The open texts again, after a language switch.
    void ApplyTexts();

private:
    void setPicSize(TMDIChild &child);
    void setGrid(TMDIChild &child);
    void rotate(TMDIChild &child);
    void showEditGross(TMDIChild &child);
    void mergePicture(TMDIChild &child);
    TFrmEditGross *editGrossWindow() const;
    // The window follows a grid whose size or cells changed; the row tables keep the rows
    // that remain.
    void followChange(TMDIChild &child, int oldHeight);

    TMainForm &m_form;
};
