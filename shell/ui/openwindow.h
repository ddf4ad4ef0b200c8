#pragma once
// A tool window a main-window part keeps while it is open: one that closed waits to be
// deleted and counts as none.

#include <QPointer>

template <class T> T *OpenWindow(const QPointer<T> &window)
{
    return window && window->isVisible() ? window.data() : nullptr;
}
