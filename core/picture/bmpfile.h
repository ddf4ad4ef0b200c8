#pragma once
// The one index-exact reader and writer of 8-bit BMP files. The writer produces what
// Windows writes for an 8-bit bitmap: a 14-byte file header, a 40-byte info header,
// a 256-entry colour table (blue, green, red, 0) and the rows bottom-up, each padded
// with zeros to a multiple of 4 bytes. The reader takes uncompressed 8-bit files with
// an info header of 40 bytes or more, bottom-up or top-down; colour indexes and the
// colour table come back exactly as stored (order, duplicate and unused entries), the
// table filled up to 256 entries with black. A second reader gives uncompressed 1-, 2-
// and 4-bit bitmaps as stored.
//
// Pictures are QImage::Format_Indexed8 with 256 colour-table entries. A failed read
// leaves the caller's picture untouched; a failed save leaves no file behind.

#include "core/picture/lowbitpicture.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>

#include <QString>
#include <functional>

// The file's bytes; empty when the picture is not an 8-bit picture of at least 1 x 1.
QByteArray EncodeBmp8(const QImage &picture);
// Appends the file's bytes to out (so that a file holding a bitmap among other fields needs
// no second copy of it); false, appending nothing, when EncodeBmp8 would give nothing.
bool AppendBmp8(QByteArray &out, const QImage &picture);
// The same bytes handed to sink in pieces of about a megabyte (a streamed save); false when
// the picture cannot be written as such a file or sink refused a piece.
bool WriteBmp8(const QImage &picture, const std::function<bool(const char *, qint64)> &sink);
// The length of the bitmap file image at the start of bytes, for files that hold a bitmap
// followed by other fields: the end of its pixel data, worked out from its headers (any
// bit depth; compressed bitmaps by their image size), which must equal the file size the
// header gives and lie within bytes. False with a message otherwise.
bool BmpImageLength(const QByteArray &bytes, qint64 &length, QString *error = nullptr);
// BmpImageLength, then DecodeBmp8 on that image alone; consumed is its length.
bool DecodeBmp8Image(const QByteArray &bytes, QImage &picture, qint64 &consumed, QString *error = nullptr);
// DecodeBmp8Image from a device, the rows read one at a time straight into the picture,
// so that a bitmap inside a large file needs no copy of the file: available is the number
// of bytes of the device from its position. The device then stands after the pixel data.
bool ReadBmp8Image(
    QIODevice &device, qint64 available, QImage &picture, qint64 &consumed, QString *error = nullptr);
// True when the header announces the kind of file DecodeBmp8 reads (an uncompressed 8-bit
// bitmap with an info header of 40 bytes or more), whether or not the rest is sound.
bool IsBmp8(const QByteArray &bytes);
bool DecodeBmp8(const QByteArray &bytes, QImage &picture, QString *error = nullptr);
// Uncompressed bitmaps of 1, 2 or 4 bits per pixel, as stored (packed rows, top row
// first, and the file's colour table).
bool DecodeBmpLowBit(const QByteArray &bytes, TLowBitPicture &picture, QString *error = nullptr);
bool SaveBmp8File(const QImage &picture, const QString &fileName, QString *error = nullptr);
bool LoadBmp8File(const QString &fileName, QImage &picture, QString *error = nullptr);
