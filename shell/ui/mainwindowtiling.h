#pragma once
// TMainWindowTiling: the main window's tiling commands: the tile-weave window, the
// tile-pattern dialog, the colour-change hint and the float-length box, and the picked-weave
// and picked-pattern tools of each document.

#include <QObject>

class TMDIChild;
class TMainForm;

class TMainWindowTiling : public QObject {
    Q_OBJECT
public:
    // Builds the float-length bar and gives the tiling actions their commands.
    explicit TMainWindowTiling(TMainForm &form);

    // The texts the action table has no key for, the float box's label and the open
    // tile-weave window, at start and after a language switch.
    void ApplyTexts();
    // A weave picked in the library while the tile-weave window works on that document is
    // the one its OK tiles.
    void GiveTileWindowPickedWeave(TMDIChild &child);
    // The picked-weave and picked-pattern tools of a new document: their refusals are shown,
    // and the floats the weave tool marks open the float query on this document.
    void ConnectPickedTools(TMDIChild *child);

private:
    TMainForm &m_form;
};
