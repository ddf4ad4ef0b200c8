#pragma once
// Whether a picture file holds every row its header announces.
//
// A picture file that was cut short is refused, never loaded with rows missing: the
// document keeps the picture it had, so nothing is lost, while a picture with rows
// made up by a decoder would quietly become a wrong pattern. Our own readers refuse such
// files themselves; the readers of Qt (bitmaps, JPEG, TIFF) and of GraphicsMagick (PCX)
// give a picture for some of them without any error, so the file's own structure is
// followed here before their picture is taken.

#include <QByteArray>
#include <QIODevice>
#include <QString>

// format is the decoder's name of the format ("BMP", "JPEG", "TIFF", "PCX"; any letter
// case). False with a message when the file ends before the data of its last row; true
// for other formats and for files whose structure cannot be followed this far (their
// decoder judges those).
bool CheckPictureComplete(const char *format, const QByteArray &bytes, QString *error = nullptr);

// The same for the rest of a random-access device, from its position, which is kept. The
// device is read for the check (the whole file only for coded formats); a sequential
// device is left to its decoder.
bool CheckPictureComplete(const char *format, QIODevice &device, QString *error = nullptr);
