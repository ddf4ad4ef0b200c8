#pragma once
// PCX pictures: the writer of 8-bit pictures (a 128-byte header, run-length encoded rows
// of exactly the picture's width, a 12 marker and the 256-colour palette) and a reader
// for the same kind of file (one plane of 8 bits with a 256-colour palette at the end),
// which keeps colour indexes exactly. Other kinds of PCX file are left to the general
// image library.

#include <QByteArray>
#include <QImage>
#include <QString>

// The file's bytes; empty when the picture is not 8-bit or a side is outside 1..65535.
QByteArray EncodePcx(const QImage &bmp);
// Writes the file through a temporary file; False (and no partial file) on failure.
bool SavePictureAsPcx(const QImage &bmp, const QString &fileName, QString *error = nullptr);

// True when the header announces the kind of file DecodePcx8 reads.
bool IsPcx8(const QByteArray &bytes);
bool DecodePcx8(const QByteArray &bytes, QImage &picture, QString *error = nullptr);
