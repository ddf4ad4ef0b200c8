#pragma once
// The frame the window manager draws around a top-level window (title bar and borders).
// A window not shown yet has no frame, and moving it places its inside: to put the whole
// window somewhere, title bar included, its frame is taken as large as that of a window
// already framed alike (the main window).

#include <QMargins>
#include <QPoint>

class QWidget;

// The frame of window as it stands: nothing for a window not shown or not framed.
QMargins WindowFrameMargins(const QWidget *window);
// Moves the window so that its frame, as large as margins, has its top-left at frameTopLeft.
void MoveFrameTo(QWidget *window, QPoint frameTopLeft, const QMargins &margins);
