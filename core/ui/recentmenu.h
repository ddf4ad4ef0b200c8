#pragma once
// The recent-file entries of a window's File menu, from a list of "Zedariva.ini".

#include <QString>

#include <functional>

class QMenu;

// Unless noAdd, adds fileName to the list of section. Then replaces the menu's recent
// entries: "&1 path", "&2 path", ... inserted at position (entry 0 first), each action
// holding its full path as data and calling onClick with it, followed by one separator
// when the list is not empty. Returns the most recent path, empty when the list is empty.
QString RefreshRecentMenu(const QString &fileName, QMenu *menu, const QString &section, bool noAdd,
    const std::function<void(const QString &)> &onClick, int position);
