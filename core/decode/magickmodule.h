#pragma once
// The GraphicsMagick module: every call into the library lives in a module of its own
// (core/decode/magick/), opened with the first picture that needs it, so that the library
// and the many libraries it brings are not loaded when the program starts. The decoder
// (magickdecode) finds the module, looks up these two entries and words the messages.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

struct TMagickOutcome {
    enum TKind {
        Decoded, // Picture and Bits hold it
        Incomplete, // the completeness check refused the file (its message is given)
        Damaged, // the library refused the file or warned about it: Reason
        OverLimits, // the library refused the picture for its size: Declared, when readable
        NoSize, // no picture, or sides beyond the limit
        Undecodable, // no pixels
        UndecodableWhy, // the library failed while the pixels were copied: Reason
        NoMemory, // no room for the picture
    };
    TKind Kind = Undecodable;
    QString Reason;
    QSize Declared;
    int PixelBytes = 0; // bytes the library keeps per pixel, for the budget's message
    QImage Picture;
    int Bits = 0;
};

// Starts the library once.
using TMagickInit = void (*)();
// Decodes bytes as the library's format `format`; complete() is asked once the library has
// read the file and before the picture is taken from it.
using TMagickDecode = void (*)(const QByteArray &bytes, const char *format,
    const std::function<bool()> &complete, TMagickOutcome &outcome);

inline constexpr const char *MagickInitEntry = "DorwenMagickInit";
inline constexpr const char *MagickDecodeEntry = "DorwenMagickDecode";
