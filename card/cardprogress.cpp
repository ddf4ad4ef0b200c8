#include "card/cardprogress.h"

#include <QCoreApplication>

void TCardProgress::Report(int message, int count, int current) const
{
    if (Callback)
        Callback(message, count, current);
    if (!Target)
        return;
    // The total and the last card always go out; the cards between only once the last
    // event is EventInterval old.
    const bool always = message != WM_CARDPROGRESS || current >= count;
    if (!always && m_lastEvent.isValid() && !m_lastEvent.hasExpired(EventInterval))
        return;
    m_lastEvent.start();
    TCardProgressEvent event(message, count, current);
    QCoreApplication::sendEvent(Target, &event);
    QCoreApplication::processEvents();
}
