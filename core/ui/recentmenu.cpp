#include "core/ui/recentmenu.h"

#include "core/settings/recentfiles.h"

#include <QAction>
#include <QMenu>

namespace {
// Marks the actions this routine created, so that a rebuild removes exactly those.
constexpr const char *kRecentMark = "dorwenRecentEntry";

void removeOldEntries(QMenu *menu)
{
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (action->property(kRecentMark).toBool()) {
            menu->removeAction(action);
            action->deleteLater();
        }
    }
}
} // namespace

QString RefreshRecentMenu(const QString &fileName, QMenu *menu, const QString &section, bool noAdd,
    const std::function<void(const QString &)> &onClick, int position)
{
    if (!noAdd)
        AddToRecentList(fileName, section);
    const QStringList list = ReadRecentList(section);
    if (!menu)
        return list.value(0);
    removeOldEntries(menu);

    const QList<QAction *> actions = menu->actions();
    QAction *before = (position >= 0 && position < actions.size()) ? actions[position] : nullptr;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString path = list[i];
        auto *action = new QAction(QStringLiteral("&") + QString::number(i + 1) + QLatin1Char(' ')
                + RecentDisplayPath(path).replace(QLatin1Char('&'), QStringLiteral("&&")),
            menu);
        action->setData(path);
        action->setProperty(kRecentMark, true);
        if (onClick)
            QObject::connect(action, &QAction::triggered, menu, [onClick, path] { onClick(path); });
        menu->insertAction(before, action);
    }
    if (!list.isEmpty()) {
        auto *separator = new QAction(menu);
        separator->setSeparator(true);
        separator->setProperty(kRecentMark, true);
        menu->insertAction(before, separator);
    }
    return list.value(0);
}
