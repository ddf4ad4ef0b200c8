#pragma once
// The program's own 8-bit clipboard picture ("CF_256Bitmap"): a whole 8-bit bitmap file
// (file header, info header, 256-entry colour table, rows) in one block. The block comes
// from the clipboard and may be anything: it is validated completely before use.

#include <QByteArray>
#include <QImage>
#include <QString>

// The MIME type under which one of the program's clipboard formats travels
// ("CF_256Bitmap" -> "application/x-dorwen-cad-CF_256Bitmap").
QString ClipboardMimeType(const char *format);

// The picture in a "CF_256Bitmap" block; false with a message (bmp untouched) when the
// block is not a sound 8-bit bitmap.
bool DecodeClipboardPicture(const QByteArray &block, QImage &bmp, QString *error = nullptr);

// True when the clipboard holds a "CF_256Bitmap" block that decodes; bmp then holds
// its picture. Otherwise bmp is untouched.
bool PastePictureFromClipboard(QImage &bmp);

// True when the clipboard holds something a grid can paste: a picture, or one of the
// program's own formats ("CF_WORD", "CF_BMP", "CF_256Bitmap"). False without a GUI
// application (nothing to ask).
bool ClipboardHoldsPicture();
