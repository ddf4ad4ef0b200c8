#pragma once
// The temporary files of whole-picture and palette undo steps. Pictures are written and
// read back index-exact (indexes and colour table as they were, nothing added); palettes
// in the palette-file layout. A reader refuses a missing, truncated or damaged file with
// a message and leaves its output untouched.

#include "core/palette/palette.h"

#include <QImage>
#include <QString>

// The file form of a picture: its colour table and its cells packed (see undopack.h). The
// decoder refuses bytes that are not exactly such a file and leaves picture untouched.
QByteArray EncodeUndoPicture(const QImage &picture);
bool DecodeUndoPicture(const QByteArray &bytes, QImage &picture);
bool WriteUndoPicture(const QImage &picture, const QString &fileName, QString *error);
// reuse, when given, is a picture nobody else holds: when it has the file's size its cells
// are taken for the picture read (no fresh picture-sized buffer) and it is left null.
bool ReadUndoPicture(const QString &fileName, QImage &picture, QString *error, QImage *reuse = nullptr);
bool WriteUndoPalette(const TPalette256 &palette, const QString &fileName, QString *error);
bool ReadUndoPalette(const QString &fileName, TPalette256 &palette, QString *error);
