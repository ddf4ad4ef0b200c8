#pragma once
// TCardProgress: progress of a card (纹板) computation.
// Progress of a card computation. A window that asks for a card receives two events,
// sent synchronously: WM_CARDCOUNT once before the first card (the number of cards) and
// WM_CARDPROGRESS before each card (the number of cards and the card now being built,
// from 1). Between cards pending events are processed so that the window repaints and
// its Cancel button works. A caller without a window passes a callback instead.

#include <QEvent>
#include <QObject>

#include <functional>

constexpr int WM_CARDPROGRESS = 3025;
constexpr int WM_CARDCOUNT = 3026;

class TCardProgressEvent : public QEvent {
public:
    TCardProgressEvent(int type, int count, int current)
        : QEvent(QEvent::Type(type)), Count(count), Current(current)
    {
    }
    const int Count;   // number of cards
    const int Current; // WM_CARDPROGRESS: the card being built, from 1; WM_CARDCOUNT: 0
};

struct TCardProgress {
    // Receives the events; pending events are processed after each progress event.
    QObject *Target = nullptr;
    // Called with (message, count, current) for callers without a window.
    std::function<void(int message, int count, int current)> Callback;
    // Polled after each progress report; true stops the computation, which then leaves
    // no card behind.
    std::function<bool()> Cancelled;

    void Report(int message, int count, int current) const;
    bool IsCancelled() const { return Cancelled && Cancelled(); }
};
