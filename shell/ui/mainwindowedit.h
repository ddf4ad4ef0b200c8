#pragma once
// TMainWindowEdit: the main window's clipboard and selection commands (copy and cut by
// colour, paste, select all, cancel, fill, outline) and the needle move, with the
// selected-colours window they open and the palette question a paste may ask.

#include "editor/ui/setpalettedialog.h"

#include <QObject>
#include <QPointer>

class TFrmSelectedColor;
class TMDIChild;
class TMainForm;

class TMainWindowEdit : public QObject {
    Q_OBJECT
public:
    // Gives ActCopy, ActCut, ActPaste, ActSelectAll, ActCancelSelected, ActFilledRGN,
    // ActPaintBorder and ActMoveWarp their commands; lives as a child of the window.
    explicit TMainWindowEdit(TMainForm &form);
    // The selected-colours window while it is open (null otherwise).
    TFrmSelectedColor *SelectedColorWindow() const;

private:
    void openSelectedColor(TMDIChild &child, int mode);
    void paste(TMDIChild &child);
    void toggleMoveWarp(TMDIChild &child);
    void follow(TMDIChild *child);

    TMainForm &m_form;
    TDialogPaletteChoice m_paletteQuestion;
    QPointer<TFrmSelectedColor> m_selectedColor;
};
