#pragma once
// The shared file module: every file the program saves and every file a reader opens goes
// through here (the ini and language files read through their own class).
//
// Saving writes each file to a temporary file in the target's folder and renames it over
// the target only when every byte was written and the file closed without error, so a
// full disk or a failed write never leaves an empty or half file: the old file stays as it
// was and the caller gets the reason. A save of several files (the part files of a card)
// replaces all of them or none.
//
// Reading opens regular files only (never a FIFO, device or folder; a FIFO cannot make
// the open wait) and reads at most what the reader's format can hold.

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QFile;

// ---- Saving ---------------------------------------------------------------------------

// Writes bytes to fileName through a temporary file in the same folder; the target keeps
// its permissions, and a symbolic link is followed to the file it names.
bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error = nullptr);

// A streamed save: produce hands the new content to sink piece by piece, in order, and
// returns false when it cannot make it (having said why in error) or when sink refused a
// piece (the write failed: the message then names the file and the reason). The file goes
// through the same temporary file and rename as WriteFileAtomically, so a large file needs
// no buffer of its whole content.
using TFileSink = std::function<bool(const char *data, qint64 size)>;
using TFileContent = std::function<bool(const TFileSink &sink, QString *error)>;
bool WriteFileStreamed(const QString &fileName, const TFileContent &produce, QString *error = nullptr);

struct TFileToSave {
    QString FileName;
    QByteArray Bytes;
    // The file is taken away with the set instead (a part the new set no longer has); it
    // is kept aside like an old file and put back when the save fails. A missing file is
    // nothing to remove.
    bool Remove = false;
    // When set, the file's content is made by it piece by piece instead of taken from
    // Bytes, so that a large file of the set needs no buffer of its whole content.
    TFileContent Content = {};
};
// Writes every file, then puts them in place; when anything fails, every target is left
// as it was before (the old files are kept aside until the last one is in place).
bool WriteFilesAtomically(const std::vector<TFileToSave> &files, QString *error = nullptr);

// A save's temporary file is ".dorwen-cad-save-<pid>-<random>" in the target's folder,
// locked while its process writes it. One left by a process that was killed mid-way is
// removed by the next save into that folder (and by RemoveStaleSaveFiles): one whose
// process is gone and whose lock nobody holds. A live process's file is never touched,
// nor the old file a killed save of a set had put aside (".dorwen-cad-old-*"), which may
// be the only copy of it.
void RemoveStaleSaveFiles(const QString &folder);

// The steps of a save, for tests that stop a save at each of them.
enum class TSaveStep {
    TempCreated, // the temporary file exists, empty
    HalfWritten, // half of the new content is written
    TempClosed, // the new content is complete in the temporary file
    OldMovedAside, // a set: an old file waits aside under a temporary name
    FilePlaced, // a new file has replaced its target
};
using TSaveStepHook = void (*)(TSaveStep step);
// Called at each step of every save; null (the default) for none.
void SetSaveStepHook(TSaveStepHook hook);

// ---- Reading --------------------------------------------------------------------------

// The largest picture file read into memory: every picture format can hold more than the
// program keeps of a picture, so this is the pictures' memory budget for the file's bytes.
constexpr qint64 MaxPictureFileSize = qint64(1) << 30;

// Opens fileName for reading when it is a regular file of at most maxBytes bytes; fails
// with a message otherwise (missing, a folder, FIFO or device, too large, no access, or a
// name whose bytes are not UTF-8 and cannot be found).
bool OpenFileForReading(QFile &file, const QString &fileName, qint64 maxBytes, QString *error = nullptr);
// OpenFileForReading, then the whole file.
bool ReadWholeFile(const QString &fileName, qint64 maxBytes, QByteArray &bytes, QString *error = nullptr);
// The first maxBytes bytes (fewer when the file is shorter); the rest of a longer file is
// not read.
bool ReadFileStart(const QString &fileName, qint64 maxBytes, QByteArray &bytes, QString *error = nullptr);
