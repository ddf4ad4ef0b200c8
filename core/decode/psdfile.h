#pragma once
// The reader of Photoshop pictures: the flattened (merged) image of a version-1 file in
// bitmap, grey, indexed or RGB mode at 1 (bitmap) or 8 bits per channel, stored raw or
// PackBits-compressed. Layers and resources are skipped.
//
// Results: bitmap mode gives QImage::Format_Mono (white 0, black 1) with Bits 1; grey and
// indexed modes give Format_Indexed8 (a grey palette, or the file's 256-colour table with
// the indexes as stored) with Bits 8; RGB mode gives Format_RGB32 with Bits 24.

#include <QByteArray>
#include <QImage>
#include <QString>

bool DecodePsd(const QByteArray &bytes, QImage &picture, int &bits, QString *error = nullptr);
