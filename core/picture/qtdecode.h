#pragma once
// Decoding a picture with Qt's own image readers, held to the program's picture limits.

#include "core/picture/picturecells.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QIODevice;

// Decodes with the Qt image reader of format ("BMP", "JPEG", ...), held to the memory
// budget; a file cut short is refused. The picture is in the form Qt reads it.
bool DecodeWithQt(const QByteArray &bytes, const char *format, QImage &picture, QString *error = nullptr);

// The same from a random-access device (a file is read as the reader goes, never copied
// whole into memory). With `cells`, a 32-bit picture is decoded into cells of the
// program's own; cells is left empty when the reader made a picture of its own.
bool DecodeWithQt(QIODevice &device, const char *format, QImage &picture, QString *error = nullptr,
    TPictureCells *cells = nullptr);
