#pragma once
// Decoding a picture with Qt's own image readers, held to the program's picture limits.

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes with the Qt image reader of format ("BMP", "JPEG", ...), held to the memory
// budget; a file cut short is refused. The picture is in the form Qt reads it.
bool DecodeWithQt(const QByteArray &bytes, const char *format, QImage &picture, QString *error = nullptr);
