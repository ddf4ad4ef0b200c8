#pragma once
// Loading picture files. Every picture that enters the program comes through here and
// becomes an 8-bit palette picture (Format_Indexed8, 256 colour-table entries).
// A failed load returns false with a message and leaves the caller's picture as it was.

#include "core/decode/picturedecode.h"

#include <QImage>
#include <QString>

// Reads any picture file known to the picture-format list, chosen by the file's
// extension (".BMP" in any letter case is always read as a bitmap). Fails when the
// extension is unknown, the file cannot be read or decoded, or the picture is empty.
bool LoadPictureFromFile(const QString &fileName, TLoadedPicture &picture, QString *error = nullptr);

// LoadPictureFromFile, then by the file's depth: true colour goes through
// ConvertPictureTo8Bit and EnsureBlackAndWhite; 8-bit pictures keep their indexes and
// colour table and get EnsureBlackAndWhite; 1-, 2- and 4-bit pictures go through
// ConvertLowBitTo8Bit.
bool LoadPictureAs8Bit(const QString &fileName, QImage &bmp, QString *error = nullptr);
