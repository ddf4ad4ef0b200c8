#pragma once
// The bytes a file name has on disk. Qt carries names as text and turns them into bytes as
// UTF-8, so a name whose bytes are not UTF-8 (a GBK name copied from Windows) reaches the
// program either with replacement characters (from a folder listing, the command line or a
// dropped file) or as the GBK text decoded from a file field. Neither encodes back to the
// bytes on disk; LocalFileName finds them.

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bytes of fileName for the system calls. A name that exists as UTF-8 is taken as it
// is. Otherwise each folder and the file itself are looked up in their parent folder: an
// entry that shows as this text (the same replacement characters, or the same text when
// read as GBK) is taken when it is the only one. What cannot be found is kept as UTF-8.
QByteArray LocalFileName(const QString &fileName);

// The text of a file name given as bytes (the command line, a hand-over): each folder and
// the file itself read as UTF-8 when valid, otherwise as GBK, so that LocalFileName finds
// the same bytes again.
QString FileNameFromLocal(const QByteArray &bytes);

// True when fileName (through LocalFileName) is a regular file or a link to one.
bool IsExistingFile(const QString &fileName);

// Every entry of folder (found through LocalFileName), each named as FileNameFromLocal
// names it: regular files (and links to them), or with folders the folders instead ("."
// and ".." never), sorted by name. Qt's folder listings leave out names that are not
// UTF-8, and cannot open a folder whose own name is not.
QStringList ListFolderEntries(const QString &folder, bool folders = false);

// True when the name holds replacement characters: bytes that were not UTF-8 were lost
// when it became text, so it names no file that can be made or found again as such.
bool HasLostNameBytes(const QString &fileName);

// The message for a name with lost bytes: it is not valid UTF-8 and how to rename it.
QString NotUtf8NameMessage(const QString &fileName);
