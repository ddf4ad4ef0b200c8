#pragma once
// The calculator command: the first desktop calculator found on the PATH, started on its own.

#include <QString>
#include <QStringList>

// The calculators looked for, in order.
QStringList DesktopCalculators();
// The full path of the first of them on the PATH; empty when there is none.
QString FindDesktopCalculator();
// Starts it detached (it outlives this program). False with a message when there is none
// or it cannot be started.
bool StartDesktopCalculator(QString *error = nullptr);
