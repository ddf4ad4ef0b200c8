#pragma once
// TMainWindowPalette: the main window's palette bar and colour flash. The bar's picks and
// edits reach the active document, the document's palette and colours come back to it, the
// protect command marks colours, and the flash command blinks a colour of the document.

#include "shell/mainstatus.h"

#include <QObject>
#include <QPointer>

class QTimer;
class TFramPalette;
class TMDIChild;
class TMainForm;

class TMainWindowPalette : public QObject {
    Q_OBJECT
public:
    // Gives the flash command; the bar itself is built by SetupBar.
    explicit TMainWindowPalette(TMainForm &form);

    // The palette bar (null until SetupBar ran) and the two creation steps that build it and
    // show its start swatches (colour 255 in front, colour 0 behind).
    TFramPalette *Bar() const { return m_bar; }
    void SetupBar();
    void ShowSwatches();
    // toDocument: the bar's palette goes into the document as one undoable step; else the
    // document's palette and marked colours come to the bar.
    void Synced(TMDIChild &child, bool toDocument);
    // A colour pick moves the bar's front or back swatch as its effect says.
    void FollowPick(const TMainStatusModel::TColorPickEffect &effect, int index);
    // The protect button and action show whether the front colour is protected.
    void UpdateProtectState();

private:
    void startFlash(TMDIChild &child);
    void flashTick();

    TMainForm &m_form;
    TFramPalette *m_bar = nullptr;
    QTimer *m_flashTimer = nullptr; // the ticks of a colour flash
    QPointer<TMDIChild> m_flashChild; // the document whose colour flashes
};
