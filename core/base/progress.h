#pragma once
// TProgressSteps: the shared progress display of long operations.
// The shared progress display of long operations. Logic code reports here; the main
// window binds the handlers to its status-bar gauge. With nothing bound, reports do nothing.

#include <cstdint>
#include <functional>

// Long operations call this first; it runs Hooks().ProgressGaugeShow, which the main window
// binds to put the gauge over the last status-bar panel, at 0, shown.
void ShowProgressGauge();
// Reports the percentage done (0..100) through Hooks().ProgressEvent; the gauge hides at 100.
void ReportProgress(int percent);
// Reports step `done` of `total` (for example one step per row) as a percentage; only
// changes of the percentage are passed on.
class TProgressSteps {
public:
    explicit TProgressSteps(long long total);
    void step(long long done);
    void finish();

private:
    long long m_total;
    int m_last = -1;
};
