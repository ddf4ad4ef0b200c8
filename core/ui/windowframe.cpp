#include "core/ui/windowframe.h"

#include <QWidget>

QMargins WindowFrameMargins(const QWidget *window)
{
    if (!window || !window->isVisible())
        return {};
    const QRect inside = window->geometry(), frame = window->frameGeometry();
    return { inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
        frame.bottom() - inside.bottom() };
}

void MoveFrameTo(QWidget *window, QPoint frameTopLeft, const QMargins &margins)
{
    window->move(frameTopLeft + QPoint(margins.left(), margins.top()));
}
