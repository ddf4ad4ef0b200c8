// Whole-picture and palette files of the undo store.
#include "core/undo/undofiles.h"

#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/picture/bmpfile.h"
#include "core/settings/uitexts.h"

#include <cstring>

namespace {

QString unreadable(const QString &fileName, const QString &why)
{
    return GetUiMessage(UiKey::String::UndoFileUnreadable).arg(fileName, why);
}

} // namespace

bool WriteUndoPicture(const QImage &picture, const QString &fileName, QString *error)
{
    if (fileName.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::UndoNoTempFolder));
    return SaveBmp8File(picture, fileName, error);
}

bool ReadUndoPicture(const QString &fileName, QImage &picture, QString *error)
{
    QString why;
    QImage img;
    if (!LoadBmp8File(fileName, img, &why))
        return Fail(error, unreadable(fileName, why));
    picture = img;
    return true;
}

bool WriteUndoPalette(const TPalette256 &palette, const QString &fileName, QString *error)
{
    if (fileName.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::UndoNoTempFolder));
    return WriteFileAtomically(fileName, EncodePaletteFile(palette), error);
}

bool ReadUndoPalette(const QString &fileName, TPalette256 &palette, QString *error)
{
    QByteArray bytes;
    QString why;
    if (!ReadWholeFile(fileName, PaletteFileSize, bytes, &why))
        return Fail(error, unreadable(fileName, why));
    // A palette file has a fixed size and header; anything else is damaged.
    const QByteArray header = EncodePaletteFile(TPalette256 {}).left(PaletteHeaderSize);
    if (bytes.size() != PaletteFileSize || !bytes.startsWith(header))
        return Fail(error, unreadable(fileName, GetUiMessage(UiKey::String::UndoNotPaletteFile)));
    std::memcpy(palette.data(), bytes.constData() + PaletteHeaderSize, 1024);
    return true;
}
