#pragma once
// Decoding through GraphicsMagick, for the formats that Qt has no reader for or reads
// without their colour indexes (PCX kinds other than 8-bit, GIF, Targa, SGI, Photo-CD,
// Dr. Halo, Alias/Wavefront, WMF). The library stays inside this unit.
//
// A palette picture of at most 256 colours comes back as Format_Indexed8 with the
// file's indexes and colour map (Bits 8); anything else as Format_RGB32 (Bits 24).
// A picture beyond the memory budget is refused with its size, a damaged or cut file
// with a message.

#include <QByteArray>
#include <QImage>
#include <QString>

// Starts the library once (also for code that uses it directly, such as tests).
void InitMagick();

// format is the library's name of the format ("PCX", "TGA", "SGI", ...); it is forced,
// whatever the content looks like.
bool DecodeWithMagick(
    const QByteArray &bytes, const char *format, QImage &picture, int &bits, QString *error = nullptr);
