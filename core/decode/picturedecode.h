#pragma once
// TPictureClass: what reads one kind of picture file.
// The picture classes: what reads one kind of picture file. The picture-format list
// (filled by the application at start-up) maps file extensions to these classes; the
// loader asks it through Hooks().PictureClassLookup.

#include "core/picture/lowbitpicture.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>

#include <functional>

enum class TPictureDecoder {
    None, // listed for the open dialogs, but no reader here: loading fails
    Bitmap, // BMP: 8-bit uncompressed files by our own reader, others by Qt
    Qt, // a Qt image reader; Format names it ("PNG", "JPEG", "TIFF", ...)
    Magick, // GraphicsMagick; Format names it ("TGA", "SGI", "EPS", ...)
    Pcx, // 8-bit PCX by our own reader, other PCX kinds by GraphicsMagick
    Photoshop, // our own PSD reader
    Eps, // Encapsulated PostScript, drawn by Ghostscript under a time limit
    Custom, // the class's own Read routine (the program's own file formats)
};

// A decoded picture as the file declared it: Bits is the file's pixel depth (1, 2, 4,
// 8, or more for true colour). Image is Format_Mono (1 bit), Format_Indexed8 (2, 4 and
// 8 bits, grey pictures with a grey palette; always 256 colour-table entries) or
// Format_RGB32 (true colour).
// LowBit holds the packed rows when the reader had them (pictures below 8 bits whose
// file was read by our own reader).
struct TLoadedPicture {
    QImage Image;
    int Bits = 0;
    TLowBitPicture LowBit;
};

// Reads a file of the program's own formats into a picture; false with a message when
// it cannot. bytes holds the whole file.
using TPictureReader = std::function<bool(
    const QString &fileName, const QByteArray &bytes, TLoadedPicture &picture, QString *error)>;

struct TPictureClass {
    QString Name; // shown in messages
    TPictureDecoder Decoder = TPictureDecoder::None;
    const char *Format = ""; // the Qt or GraphicsMagick format name
    TPictureReader Read; // for Custom
};

// The class of bitmaps (".bmp", ".dib", ".rle"): our own readers for uncompressed
// palette bitmaps, Qt for the rest.
const TPictureClass &BitmapPictureClass();

// Whether the class's decoder reads the file as it goes (the Qt image readers, and the
// bitmap class for what it leaves to them), so that the file need not be copied into
// memory first.
bool DecodesFromDevice(const TPictureClass &cls);

// Decodes an open file by class: DecodesFromDevice classes read it as they go, others
// get its bytes read whole. The same results and messages as DecodePicture. With
// trueColourTo8Bit, a true-colour picture comes back as ConvertPictureTo8BitWithBlack-
// AndWhite makes it (Bits still tells the file's depth), converted where it was decoded
// when it can be.
bool DecodePictureFromDevice(const TPictureClass &cls, const QString &fileName, QIODevice &device,
    TLoadedPicture &out, QString *error = nullptr, bool trueColourTo8Bit = false);

// Decodes a whole file's bytes by class. On failure returns false with a message and
// leaves out unchanged.
bool DecodePicture(const TPictureClass &cls, const QString &fileName, const QByteArray &bytes,
    TLoadedPicture &out, QString *error = nullptr);
