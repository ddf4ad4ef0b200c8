#include "shell/calculator.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <QProcess>
#include <QStandardPaths>

QStringList DesktopCalculators()
{
    return { QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
        QStringLiteral("qalculate-qt"), QStringLiteral("qalculate-gtk"), QStringLiteral("mate-calc"),
        QStringLiteral("xcalc") };
}

QString FindDesktopCalculator()
{
    for (const QString &name : DesktopCalculators())
        if (const QString path = QStandardPaths::findExecutable(name); !path.isEmpty())
            return path;
    return QString();
}

bool StartDesktopCalculator(QString *error)
{
    const QString path = FindDesktopCalculator();
    if (path.isEmpty() || !QProcess::startDetached(path, {}))
        return Fail(error, GetUiMessage(UiKey::String::CalculatorCannotStart).arg(path));
    return true;
}
