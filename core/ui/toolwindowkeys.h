#pragma once
// The keys of a tool window that stands in for a dialog. A tool window has no default
// button of its own: Enter does what the dialog's default button would, and Escape closes.

#include <functional>

class QAbstractButton;
class QKeyEvent;
class QWidget;

// True when the key was Enter, Return or Escape and has been handled: Enter runs accept.
bool HandleToolWindowKey(QWidget &window, const QKeyEvent &event, const std::function<void()> &accept);
// The same with Enter pressing ok.
bool HandleToolWindowKey(QWidget &window, QAbstractButton &ok, const QKeyEvent &event);
