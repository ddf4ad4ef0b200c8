#include "core/base/messages.h"

#include "core/settings/sharedstate.h"

#include <QCoreApplication>

void SendNotification(QObject *target, int message, qintptr wParam, qintptr lParam)
{
    if (!target)
        return;
    TMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
}

namespace {
void toMain(int message, qintptr wParam = 0, qintptr lParam = 0)
{
    SendNotification(Hooks().MainFormHandle, message, wParam, lParam);
}
} // namespace

void SendCursorPos(int x, int y)
{
    toMain(WM_SHOWCURSORPOS, x, y);
}
void SendColorIndex(int index)
{
    toMain(WM_SHOWCOLORINDEX, index);
}

void SendColorPicked(TColor value, const TColorPickInfo &info)
{
    // The handler gets its own copy that lives until the send returns.
    TColorPickInfo copy = info;
    toMain(WM_COLORPICKED, value, reinterpret_cast<qintptr>(&copy));
}

void SendUndoState(int undoCount, int redoCount)
{
    toMain(WM_UNDOSTATE, undoCount, redoCount);
}
void SendEditState(int flags, int cutState)
{
    toMain(WM_EDITSTATE, flags, cutState);
}
void SendZoomState(QObject *window, int level)
{
    SendNotification(window, WM_ZOOMSTATE, level);
}
void SendChildState(int state)
{
    toMain(WM_SYNCACTIVECHILD, state);
}
void SendPatternSize(int cols, int rows)
{
    toMain(WM_SHOWPATTERNSIZE, cols, rows);
}
void SendPaletteToChild()
{
    toMain(WM_SYNCPALETTE, 1);
}
void SendPaletteFromChild()
{
    toMain(WM_SYNCPALETTE, 0);
}
void SendRefreshView(int mode)
{
    toMain(WM_REFRESHVIEW, mode);
}
void SendRepeatState(int flags)
{
    toMain(WM_REPEATSTATE, flags);
}

void SendWeaveFileSaved(const QString &fileName)
{
    const QString copy = fileName;
    toMain(WM_WEAVEFILESAVED, reinterpret_cast<qintptr>(&copy));
}

void SendPenWidth()
{
    toMain(WM_PENWIDTH, RunState().HorzWidth, RunState().VertWidth);
}
void SendToolChanged()
{
    toMain(WM_TOOLCHANGED);
}
void SendEnableMainForm(int enable)
{
    toMain(WM_ENABLEMAINFORM, enable);
}
void SendPatternMergeState()
{
    toMain(WM_PATTERNMERGESTATE, 2);
}
void SendGrossPos(int col, int row)
{
    toMain(WM_EDITGROSSPOS, col, row);
}
