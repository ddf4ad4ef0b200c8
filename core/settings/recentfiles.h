#pragma once
// Recent-file lists. The main window's list lives in section "RecentFile" of "Config.Ini";
// the weave design window, the sample-card editor and the card viewer keep theirs in
// "Zedariva.ini" in the settings folder (sections "WeaveRecentFile", "CardFormRecentFile",
// "WenBanRecentFile"). A list is stored as keys RecentFile0, RecentFile1, ... holding full
// paths, most recent first. Adding a file moves it to the top when it is listed (paths
// compare case-sensitively) and otherwise pushes the oldest entry out once the limit is
// reached. Every call opens and closes its ini file; adding a file is one read-modify-write
// of the file under its lock, however long the list.

#include <QString>
#include <QStringList>

inline constexpr const char *WeaveRecentSection = "WeaveRecentFile";
inline constexpr const char *CardFormRecentSection = "CardFormRecentFile";
inline constexpr const char *WenBanRecentSection = "WenBanRecentFile";

// The path of "Zedariva.ini".
QString RecentIniPath();

// The main window's list. A name that is empty or only blanks is ignored.
void AddRecentFile(const QString &fileName);
// At most MaxRecentFile paths (held to 1..10).
QStringList ReadRecentFileList();
// The most recent path, empty when the list is empty.
QString ReadMostRecentFile();

// The lists of "Zedariva.ini", limited by [Const] MaxRecent (default 8, at least 1).
void AddToRecentList(const QString &fileName, const QString &section);
// The same with a limit of the caller's (held to at least 1).
void AddToRecentList(const QString &fileName, const QString &section, int limit);
QStringList ReadRecentList(const QString &section);

// The path as a menu shows it: the whole path up to maxLength characters; a longer one as
// "//" followed by the part of its last maxLength characters after the first "/" among
// them (all of them when there is none).
QString RecentDisplayPath(const QString &path, int maxLength = 40);
