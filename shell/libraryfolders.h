#pragma once
// TBrowseMode: the folders behind the weave (组织) and pattern (花样) libraries and the
// file explorer.
// A library is a folder of files: a weave library a subfolder of the weave folder holding
// weave files, a pattern library a subfolder of the pattern-library folder holding project
// files and bitmaps. These routines list, create and delete them without any window.

#include <QString>
#include <QStringList>

// What a thumbnail list shows; the mode fixes its file masks.
enum class TBrowseMode {
    Weaves = 0, // *.ovw
    Bitmaps = 1, // *.bmp
    Patterns = 2, // *.ovy and *.bmp (a bitmap added to a library must show in it)
    Explorer = 3, // the pictures, projects and card files the program opens
};

// The file masks of a mode, each extension once ("*.ovw", ...), in listing order.
QStringList BrowseMasks(TBrowseMode mode);

// The names of the subfolders of root, sorted by name ("." and ".." never listed); empty
// when root is not a folder.
QStringList ListLibraryNames(const QString &root);

// The files of folder that match the mode's masks (letter case of the extension ignored),
// as full paths: mask by mask in mask order, each mask's files sorted by name, every file
// once. An empty list when folder is not a folder.
QStringList ListBrowseFiles(const QString &folder, TBrowseMode mode);

// The default library among names: for weaves "general" with any letter case, for patterns
// exactly "常用花样". Empty when there is none.
QString DefaultLibraryName(const QStringList &names, TBrowseMode mode);

// A new library folder root/name. Refuses a name that is empty, "." or "..", holds a "/"
// or names a folder that exists already (exists: true then), and fails with a message
// when the folder cannot be made. On success path is the new folder's path. mode chooses
// the message for an existing name (weave or pattern library).
bool CreateLibraryFolder(const QString &root, const QString &name, TBrowseMode mode, QString &path,
    bool *exists = nullptr, QString *error = nullptr);

// Deletes the listed files of a library and then the folder itself when nothing else is
// left in it (files of other kinds and subfolders stay, and with them the folder). Only
// listed files directly inside folder are deleted. Fails with a message, deleting
// nothing, when the folder does not exist any more.
bool DeleteLibraryFolder(const QString &folder, const QStringList &listedFiles, QString *error = nullptr);

// Copies a file into a library folder under its own name; an existing file of that name
// is reported and left alone. On success copy is the new file's path.
bool CopyFileIntoLibrary(
    const QString &fileName, const QString &folder, QString &copy, QString *error = nullptr);

// The starter weave library "General": plain weave, the 2/1 and 3/1 twills and the 5- and
// 8-end satins, written with the weave writer into weaveDir/General. Existing files are
// left as they are.
bool InstallStarterWeaveLibrary(const QString &weaveDir, QString *error = nullptr);
// The file names (without folder) of the starter weaves.
QStringList StarterWeaveNames();
