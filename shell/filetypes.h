#pragma once
// File-type association: which of the program's file types open in it from the desktop.
// The association is kept the freedesktop way, per user and only in the program's own
// entries: a shared-mime-info package "dorwen-cad.xml" in $XDG_DATA_HOME/mime/packages
// naming each type and its glob, a per-user desktop file "dorwen-cad.desktop" in
// $XDG_DATA_HOME/applications whose Exec line starts this program, and the desktop file as
// the type's default in $XDG_CONFIG_HOME/mimeapps.list. Entries of other programs are never
// changed or taken away.

#include <QString>

// Where the association is kept and what it names; tests give their own.
struct TFileTypeRoots {
    QString DataHome; // $XDG_DATA_HOME (ends without "/")
    QString ConfigHome; // $XDG_CONFIG_HOME
    QString ProgramPath; // the program the desktop file starts
    // The program that rebuilds the MIME cache of DataHome/mime; empty: not run.
    QString UpdateMimeDatabase = QStringLiteral("update-mime-database");
};
// The running user's folders (the XDG variables, or their defaults under $HOME) and this
// program's own path.
TFileTypeRoots DefaultFileTypeRoots();

// The desktop file the association names, and the MIME type of a file extension row.
inline constexpr const char *DesktopFileName = "dorwen-cad.desktop";
// "application/x-dorwen-" and the extension in small letters; empty for an extension
// without a row in the file-extension table.
QString FileTypeMimeType(const QString &extension);

// The Exec line of a desktop file that starts program with the file: the path quoted by
// the desktop-entry rules (a path with blanks, quotes, "$" or "%" still starts it), then %f.
QString DesktopExecLine(const QString &program);

// True when the extension (".QS", any letter case) has a row in the file-extension table,
// our package holds its type with its glob and mimeapps.list names our desktop file as the
// type's default.
bool IsFileTypeRegistered(const QString &extension, const TFileTypeRoots &roots = DefaultFileTypeRoots());

// Registers (or with reg false unregisters) the extension; nothing for one without a row.
// Registering writes the type into our package, writes our desktop file naming every type
// our package holds, puts it first among the type's defaults and rebuilds the MIME cache.
// Unregistering takes out only our own entries: the type from our package (the package and
// the desktop file go when no type is left), our desktop file from the type's defaults
// (another program's default stays). False with a message when a file cannot be written or
// the MIME cache cannot be rebuilt.
bool RegisterFileType(const QString &extension, bool reg,
    const TFileTypeRoots &roots = DefaultFileTypeRoots(), QString *error = nullptr);
