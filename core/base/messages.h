#pragma once
// TMessageEvent: the notification messages to the main window.
// Notification messages to the main window. Documents, grids, the undo store and dialogs
// never call the main window directly: each state change is reported by one of the senders
// below as a custom event with the message's fixed number (WM_USER + offset), sent
// synchronously with QCoreApplication::sendEvent to MainFormHandle; the handler has run
// when the sender returns. With no main window a sender does nothing.

#include "core/base/document.h"

#include <QEvent>
#include <QString>

#include <cstdint>

class QObject;

inline constexpr int WM_USER = 1024;
inline constexpr int WM_SHOWCURSORPOS = WM_USER + 101;
inline constexpr int WM_SHOWCOLORINDEX = WM_USER + 102;
inline constexpr int WM_COLORPICKED = WM_USER + 103;
inline constexpr int WM_UNDOSTATE = WM_USER + 104;
inline constexpr int WM_EDITSTATE = WM_USER + 105;
inline constexpr int WM_ZOOMSTATE = WM_USER + 106;
inline constexpr int WM_SYNCACTIVECHILD = WM_USER + 107;
inline constexpr int WM_SHOWPATTERNSIZE = WM_USER + 108;
inline constexpr int WM_SYNCPALETTE = WM_USER + 109;
inline constexpr int WM_REFRESHVIEW = WM_USER + 110;
inline constexpr int WM_REPEATSTATE = WM_USER + 111;
inline constexpr int WM_REPEATRESET = WM_USER + 112; // handled, never sent
inline constexpr int WM_WEAVEFILESAVED = WM_USER + 113;
inline constexpr int WM_PENWIDTH = WM_USER + 114;
inline constexpr int WM_TOOLCHANGED = WM_USER + 115;
inline constexpr int WM_ENABLEMAINFORM = WM_USER + 116;
inline constexpr int WM_PATTERNMERGESTATE = WM_USER + 117;
inline constexpr int WM_EDITGROSSPOS = WM_USER + 118;

// The record passed with WM_COLORPICKED. Kind 1 to 4 tells where the pick came from
// (4 a right click on the palette bar locks the choice to the background, 3 a left click
// unlocks it).
struct TColorPickInfo {
    std::int32_t Value = 0; // the colour
    std::int32_t Index = 0; // the palette index
    std::int32_t Kind = 0;
};

// One notification. WParam and LParam carry the message's two values; for WM_COLORPICKED
// LParam is the address of a TColorPickInfo and for WM_WEAVEFILESAVED WParam is the address
// of the file name (a QString), both valid only while the event is handled.
class TMessageEvent : public QEvent {
public:
    TMessageEvent(int message, qintptr wParam, qintptr lParam)
        : QEvent(QEvent::Type(message))
        , WParam(wParam)
        , LParam(lParam)
    {
    }
    int Message() const { return int(type()); }
    const TColorPickInfo *ColorPickInfo() const
    {
        return Message() == WM_COLORPICKED ? reinterpret_cast<const TColorPickInfo *>(LParam) : nullptr;
    }
    const QString *FileName() const
    {
        return Message() == WM_WEAVEFILESAVED ? reinterpret_cast<const QString *>(WParam) : nullptr;
    }
    // True for the message numbers above.
    static bool IsNotification(QEvent::Type type)
    {
        return type >= WM_SHOWCURSORPOS && type <= WM_EDITGROSSPOS;
    }

    const qintptr WParam;
    const qintptr LParam;
};

// Sends a message to target (nothing without a target); the senders below use it.
void SendNotification(QObject *target, int message, qintptr wParam = 0, qintptr lParam = 0);

// The cell under the pointer, numbered as the grid shows it.
void SendCursorPos(int x, int y);
void SendColorIndex(int index);
void SendColorPicked(TColor value, const TColorPickInfo &info);
void SendUndoState(int undoCount, int redoCount);
// flags bit 0: something can be copied; bit 1: something can be pasted. cutState 1:
// something can be cut.
void SendEditState(int flags, int cutState);
// Sent to the window the grid was given, not to the main window.
void SendZoomState(QObject *window, int level);
// 1: a document window opened or its document was replaced; 0: one is closing.
void SendChildState(int state);
void SendPatternSize(int cols, int rows);
// The shared palette changed (colour reduction): the active grid takes it.
void SendPaletteToChild();
// A document's palette changed: the palette bar takes it.
void SendPaletteFromChild();
// 0: only the visible part moved; other values: the picture changed.
void SendRefreshView(int mode);
void SendRepeatState(int flags);
void SendWeaveFileSaved(const QString &fileName);
// HorzWidth and VertWidth.
void SendPenWidth();
void SendToolChanged();
// 1 enables the main window, any other value disables it.
void SendEnableMainForm(int enable);
void SendPatternMergeState();
// The clicked cell: column, then row.
void SendGrossPos(int col, int row);
