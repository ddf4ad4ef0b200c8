#include "core/ui/toolwindowkeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

bool HandleToolWindowKey(QWidget &window, QAbstractButton &ok, const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Escape:
        window.close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ok.click();
        return true;
    default:
        return false;
    }
}
