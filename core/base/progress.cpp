#include "core/base/progress.h"

#include "core/settings/sharedstate.h"

#include <algorithm>

void ShowProgressGauge()
{
    if (Hooks().ProgressGaugeShow)
        Hooks().ProgressGaugeShow();
}

void ReportProgress(int percent)
{
    if (Hooks().ProgressEvent)
        Hooks().ProgressEvent(std::uint8_t(std::clamp(percent, 0, 100)));
}

TProgressSteps::TProgressSteps(long long total)
    : m_total(std::max(total, 1LL))
{
}

void TProgressSteps::step(long long done)
{
    const int percent = int(std::clamp(done * 100 / m_total, 0LL, 100LL));
    if (percent != m_last) {
        m_last = percent;
        ReportProgress(percent);
    }
}

void TProgressSteps::finish()
{
    step(m_total);
}
