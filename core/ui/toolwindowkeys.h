#pragma once
// The keys of a tool window that stands in for a dialog. A tool window has no default
// button of its own: Enter presses its OK as a dialog's would, and Escape closes it.

class QAbstractButton;
class QKeyEvent;
class QWidget;

// True when the key was Enter, Return or Escape and has been handled.
bool HandleToolWindowKey(QWidget &window, QAbstractButton &ok, const QKeyEvent &event);
