// Whole-picture and palette files of the undo store.
#include "core/undo/undofiles.h"

#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/picture/bmpfile.h"
#include "core/settings/uitexts.h"
#include "core/undo/undopack.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <utility>

#include <cstring>

namespace {

QString unreadable(const QString &fileName, const QString &why)
{
    return GetUiMessage(UiKey::String::UndoFileUnreadable).arg(fileName, why);
}

// The file of a picture: the tag, the number of colour-table entries, the entries (each a
// 32-bit ARGB value, little-endian), then the packed cells.
constexpr char PictureTag[4] = { 'D', 'W', 'U', 'P' };

} // namespace

namespace {

// The file of a packed picture handed to sink piece by piece: the colour table, then the
// cells band by band, so that no buffer of the whole file is made.
bool writePacked(const TPackedPicture &packed, const TFileSink &sink)
{
    const QList<QRgb> &table = packed.Table;
    QByteArray head(8 + 4 * table.size(), Qt::Uninitialized);
    std::memcpy(head.data(), PictureTag, 4);
    qToLittleEndian(std::uint32_t(table.size()), head.data() + 4);
    for (qsizetype i = 0; i < table.size(); ++i)
        qToLittleEndian(std::uint32_t(table[i]), head.data() + 8 + 4 * i);
    return sink(head.constData(), head.size()) && WritePackedPlane(packed.Cells, sink);
}

bool writePicture(const QImage &picture, const TFileSink &sink)
{
    TPackedPicture packed;
    return PackUndoPicture(picture, packed) && writePacked(packed, sink);
}

// The cells of plane into a picture of its size with table, into reuse's cells when they
// fit and nobody else holds them.
bool unpackInto(const TPackedPlane &plane, const QList<QRgb> &table, QImage &picture, QImage *reuse)
{
    QImage img;
    if (reuse && reuse->size() == QSize(plane.Width, plane.Height)
        && reuse->format() == QImage::Format_Indexed8 && reuse->isDetached())
        img = std::exchange(*reuse, QImage());
    else
        img = QImage(plane.Width, plane.Height, QImage::Format_Indexed8);
    if (img.isNull())
        return false;
    img.setColorTable(table);
    std::uint8_t *bits = img.bits();
    const qsizetype stride = img.bytesPerLine();
    const bool ok = UnpackPlane(plane, [&](int firstRow, int rows, const std::uint8_t *cells) {
        for (int r = 0; r < rows; ++r)
            std::memcpy(
                bits + (firstRow + r) * stride, cells + qsizetype(r) * plane.Width, std::size_t(plane.Width));
    });
    if (!ok)
        return false;
    picture = img;
    return true;
}

// Reads the file form from in (a file or a buffer) up to its end, into reuse's cells when
// they fit and nobody else holds them.
bool readPicture(QIODevice &in, QImage &picture, QImage *reuse = nullptr)
{
    char head[8];
    if (in.read(head, 8) != 8 || std::memcmp(head, PictureTag, 4) != 0)
        return false;
    const std::uint32_t colours = qFromLittleEndian<std::uint32_t>(head + 4);
    if (colours > 256)
        return false;
    QByteArray tableBytes(4 * qsizetype(colours), Qt::Uninitialized);
    if (in.read(tableBytes.data(), tableBytes.size()) != tableBytes.size())
        return false;
    TPackedPlane plane;
    if (!ReadPackedPlane(in, plane))
        return false;
    QList<QRgb> table(colours);
    for (std::uint32_t i = 0; i < colours; ++i)
        table[i] = qFromLittleEndian<std::uint32_t>(tableBytes.constData() + 4 * i);
    return unpackInto(plane, table, picture, reuse);
}

} // namespace

QByteArray EncodeUndoPicture(const QImage &picture)
{
    QByteArray out;
    writePicture(picture, [&out](const char *data, qint64 size) {
        out.append(data, qsizetype(size));
        return true;
    });
    return out;
}

bool DecodeUndoPicture(const QByteArray &bytes, QImage &picture)
{
    QBuffer in;
    in.setData(bytes);
    return in.open(QIODevice::ReadOnly) && readPicture(in, picture);
}

bool WriteUndoPicture(const QImage &picture, const QString &fileName, QString *error)
{
    if (fileName.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::UndoNoTempFolder));
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return Fail(error, GetUiMessage(UiKey::String::UndoStepDamaged));
    return WriteFileStreamed(
        fileName,
        [&](const TFileSink &sink, QString *why) {
            return writePicture(picture, sink) || Fail(why, GetUiMessage(UiKey::String::UndoStepDamaged));
        },
        error);
}

bool ReadUndoPicture(const QString &fileName, QImage &picture, QString *error, QImage *reuse)
{
    QString why;
    QFile file;
    if (!OpenFileForReading(file, fileName, MaxPictureFileSize, &why))
        return Fail(error, unreadable(fileName, why));
    if (!readPicture(file, picture, reuse))
        return Fail(error, unreadable(fileName, GetUiMessage(UiKey::String::UndoNotPictureFile)));
    return true;
}

bool PackUndoPicture(const QImage &picture, TPackedPicture &packed)
{
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return false;
    TPackedPicture out;
    out.Table = picture.colorTable();
    out.Cells = PackPlane(picture, nullptr, picture.rect());
    if (std::any_of(
            out.Cells.Bands.begin(), out.Cells.Bands.end(), [](const QByteArray &b) { return b.isEmpty(); }))
        return false;
    packed = std::move(out);
    return true;
}

bool UnpackUndoPicture(const TPackedPicture &packed, QImage &picture, QImage *reuse)
{
    return unpackInto(packed.Cells, packed.Table, picture, reuse);
}

bool WritePackedUndoPicture(const TPackedPicture &packed, const QString &fileName, QString *error)
{
    if (fileName.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::UndoNoTempFolder));
    return WriteFileStreamed(
        fileName,
        [&](const TFileSink &sink, QString *why) {
            return writePacked(packed, sink) || Fail(why, GetUiMessage(UiKey::String::UndoStepDamaged));
        },
        error);
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
