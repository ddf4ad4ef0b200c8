#pragma once
// The temporary files of whole-picture and palette undo steps. Pictures are written and
// read back index-exact (indexes and colour table as they were, nothing added); palettes
// in the palette-file layout. A reader refuses a missing, truncated or damaged file with
// a message and leaves its output untouched.

#include "core/palette/palette.h"
#include "core/undo/undopack.h"

#include <QImage>
#include <QList>
#include <QString>

#include <cstddef>

// The file form of a picture: its colour table and its cells packed (see undopack.h). The
// decoder refuses bytes that are not exactly such a file and leaves picture untouched.
QByteArray EncodeUndoPicture(const QImage &picture);
bool DecodeUndoPicture(const QByteArray &bytes, QImage &picture);
bool WriteUndoPicture(const QImage &picture, const QString &fileName, QString *error);
// reuse, when given, is a picture nobody else holds: when it has the file's size its cells
// are taken for the picture read (no fresh picture-sized buffer) and it is left null.
bool ReadUndoPicture(const QString &fileName, QImage &picture, QString *error, QImage *reuse = nullptr);

// A picture kept in the packed form of its file, in memory: its colour table and its cells.
struct TPackedPicture {
    QList<QRgb> Table;
    TPackedPlane Cells;
    std::size_t PackedBytes() const { return Cells.PackedBytes() + std::size_t(Table.size()) * 4; }
};
// False when a band of the picture could not be packed (no memory).
bool PackUndoPicture(const QImage &picture, TPackedPicture &packed);
// The picture back, into reuse's cells as ReadUndoPicture does; false (picture untouched)
// when a band is damaged.
bool UnpackUndoPicture(const TPackedPicture &packed, QImage &picture, QImage *reuse = nullptr);
// The file of an already packed picture, the same bytes WriteUndoPicture writes.
bool WritePackedUndoPicture(const TPackedPicture &packed, const QString &fileName, QString *error);

bool WriteUndoPalette(const TPalette256 &palette, const QString &fileName, QString *error);
bool ReadUndoPalette(const QString &fileName, TPalette256 &palette, QString *error);
