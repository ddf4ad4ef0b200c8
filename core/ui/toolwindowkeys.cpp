#include "core/ui/toolwindowkeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

bool HandleToolWindowKey(QWidget &window, const QKeyEvent &event, const std::function<void()> &accept)
{
    switch (event.key()) {
    case Qt::Key_Escape:
        window.close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return true;
    default:
        return false;
    }
}

bool HandleToolWindowKey(QWidget &window, QAbstractButton &ok, const QKeyEvent &event)
{
    return HandleToolWindowKey(window, event, [&ok] { ok.click(); });
}
