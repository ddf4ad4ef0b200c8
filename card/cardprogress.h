#pragma once
// TCardProgress: progress of a card (纹板) computation.
// Progress of a card computation. A window that asks for a card receives two events,
// sent synchronously: WM_CARDCOUNT once before the first card (the number of cards) and
// WM_CARDPROGRESS before a card (the number of cards and the card now being built, from
// 1), after which pending events are processed so that the window repaints and its Cancel
// button works. Processing events costs far more than building a card, so WM_CARDPROGRESS
// comes at most every 50 ms, and always for the last card. A caller without a window
// passes a callback instead, which is called before every card.

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>

#include <functional>

constexpr int WM_CARDPROGRESS = 3025;
constexpr int WM_CARDCOUNT = 3026;

class TCardProgressEvent : public QEvent {
public:
    TCardProgressEvent(int type, int count, int current)
        : QEvent(QEvent::Type(type))
        , Count(count)
        , Current(current)
    {
    }
    const int Count; // number of cards
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

    // The shortest time between two WM_CARDPROGRESS events to Target.
    static constexpr qint64 EventInterval = 50; // ms

    void Report(int message, int count, int current) const;
    bool IsCancelled() const { return Cancelled && Cancelled(); }

private:
    mutable QElapsedTimer m_lastEvent; // since the last event sent to Target
};
