#pragma once
// Pictures that open through the card (纹板) container.
// Pictures that open through the card container without being cards: the XY picture
// (8-bit with its own palette), the WV picture (1 bit per pixel, rows mirrored) and the
// picture embedded in a pattern project file (.OVY). Each reader checks the sizes against
// the bytes there before it allocates; on failure it returns false with a message and
// leaves the picture unchanged.

#include <QByteArray>
#include <QImage>
#include <QString>

// XY: width = byte 0 x 256 + byte 780, height = byte 1 x 256 + byte 781; a 256-entry
// palette at offset 8 (red, green, blue, 6-bit values times 4); one palette index per
// pixel from offset 800, rows from the top.
bool ReadXYPicture(const QByteArray &bytes, QImage &picture, QString *error = nullptr);

// WV: u16 width and u16 height at offset 0; from offset 32 width div 8 bytes per row,
// rows from the top, each row stored mirrored (bytes in reverse order, bits reversed);
// colour 0 white, 1 black.
bool ReadWVPicture(const QByteArray &bytes, QImage &picture, QString *error = nullptr);

// The pattern picture of a project file: the header (or, for the headerless legacy
// layout, the row tables and colour list) is skipped to the embedded bitmap, which is
// read like a BMP file.
bool ReadProjectPreview(const QByteArray &bytes, QImage &picture, QString *error = nullptr);
