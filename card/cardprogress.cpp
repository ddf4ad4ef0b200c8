#include "card/cardprogress.h"

#include <QCoreApplication>

void TCardProgress::Report(int message, int count, int current) const
{
    if (Callback)
        Callback(message, count, current);
    if (Target) {
        TCardProgressEvent event(message, count, current);
        QCoreApplication::sendEvent(Target, &event);
        QCoreApplication::processEvents();
    }
}
