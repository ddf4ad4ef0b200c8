#pragma once
// A stand-in main window for the grid tests: it records every notification the grid
// sends while it is installed as the notification target.

#include "core/base/messages.h"
#include "core/settings/sharedstate.h"

#include <QObject>

#include <array>
#include <vector>

struct Recorder : QObject {
    std::vector<std::array<qintptr, 3>> got;
    bool event(QEvent *e) override
    {
        if (!TMessageEvent::IsNotification(e->type()))
            return QObject::event(e);
        const auto *m = static_cast<TMessageEvent *>(e);
        got.push_back({ m->Message(), m->WParam, m->LParam });
        return true;
    }
    bool Has(int message, qintptr w, qintptr l) const
    {
        for (const auto &g : got)
            if (g[0] == message && g[1] == w && g[2] == l)
                return true;
        return false;
    }
};

// Installs a Recorder as the main window for its lifetime.
struct MainWindowStandIn {
    Recorder recorder;
    MainWindowStandIn() { Hooks().MainFormHandle = &recorder; }
    ~MainWindowStandIn() { Hooks().MainFormHandle = nullptr; }
};
