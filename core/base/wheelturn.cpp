#include "core/base/wheelturn.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

TWheelStep TWheelTurn::Take(int deltaX, int deltaY, Qt::KeyboardModifiers modifiers, int linesPerNotch)
{
    TWheelStep step;
    int delta = 0;
    if (modifiers & Qt::ControlModifier) {
        step.Action = TWheelAction::Zoom;
        delta = deltaY != 0 ? deltaY : deltaX;
    } else if (modifiers & Qt::ShiftModifier) {
        // Some systems turn a Shift+wheel into a sideways turn themselves.
        step.Action = TWheelAction::ScrollCols;
        delta = deltaY != 0 ? deltaY : deltaX;
    } else if (std::abs(qint64(deltaX)) > std::abs(qint64(deltaY))) {
        step.Action = TWheelAction::ScrollCols;
        delta = deltaX;
    } else {
        step.Action = TWheelAction::ScrollRows;
        delta = deltaY;
    }
    if (step.Action != m_last)
        m_rest = 0;
    m_last = step.Action;
    // A notch zooms one level; it scrolls `lines` rows or columns. The rest is kept in
    // notch units times lines, so that no part of a turn is lost to rounding; the sum is
    // kept in a wider type, since a damaged event may carry any delta.
    const int lines = step.Action == TWheelAction::Zoom ? 1 : std::clamp(linesPerNotch, 1, Notch);
    const qint64 total = qint64(m_rest) + qint64(delta) * lines;
    const qint64 units = total / Notch;
    m_rest = int(total - units * Notch);
    const qint64 bounded = std::clamp<qint64>(units, -(1 << 24), 1 << 24);
    // Turned away from the user: towards the start when scrolling, in when zooming.
    step.Steps = int(step.Action == TWheelAction::Zoom ? bounded : -bounded);
    if (step.Steps == 0)
        step.Action = TWheelAction::None;
    return step;
}

int ZoomedPoint(int pos, int oldStart, int oldExtent, int newStart, int newExtent)
{
    if (oldExtent <= 0 || newExtent <= 0)
        return newStart;
    const qint64 offset = qint64(pos) - oldStart;
    const qint64 scaled = offset * newExtent / oldExtent;
    return int(std::clamp<qint64>(newStart + scaled, INT_MIN, INT_MAX));
}

int ScrollKeepingPoint(qint64 point, int pointer, int maximum)
{
    return int(std::clamp<qint64>(point - pointer, 0, std::max(0, maximum)));
}
