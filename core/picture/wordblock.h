#pragma once
// TWordBlock: the floating text's clipboard block ("CF_WORD").
// The block carries a floating text between documents and program instances, in the form
// the Windows programs that share the clipboard format write it (little-endian, no header):
// the text's byte length L (32 bits) and its L bytes (GBK, no terminator); the 60-byte
// logical-font record (height, width, escapement, orientation and weight as 32-bit
// integers; italic, underline, strike-out, character set, output precision, clip
// precision, quality and pitch-and-family as bytes; the 32-byte face name, GBK, NUL
// terminated); the font colour (32 bits); the text position (two 32-bit integers); the
// text height and text width (32 bits each); the angle (IEEE single, radians); the text box
// and the frame (four 32-bit integers each: Left, Top, Right, Bottom inclusive); the
// rotation centre (two 32-bit integers) and the character spacing (32 bits): 132 + L bytes.
//
// The block comes from any process: the reader checks every field before use and fails
// with a message, leaving the caller's record untouched.
#include "core/base/document.h"
#include "core/base/geometry.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The font description as the Windows programs lay it out.
struct TLogFontRecord {
    std::int32_t Height = 0; // pixels; negative: the em height, positive: the line height
    std::int32_t Width = 0; // 0: the font's own
    std::int32_t Escapement = 0; // tenths of a degree, counter-clockwise
    std::int32_t Orientation = 0;
    std::int32_t Weight = 400; // 700 and above: bold
    std::uint8_t Italic = 0;
    std::uint8_t Underline = 0;
    std::uint8_t StrikeOut = 0;
    std::uint8_t CharSet = 1; // the default character set
    std::uint8_t OutPrecision = 0;
    std::uint8_t ClipPrecision = 0;
    std::uint8_t Quality = 0;
    std::uint8_t PitchAndFamily = 0;
    QString FaceName;
    bool operator==(const TLogFontRecord &) const = default;
};

struct TWordBlock {
    QString Text;
    TLogFontRecord Font;
    TColor FontColor = 0;
    TPoint Position;
    std::int32_t TextHeight = 0;
    std::int32_t TextWidth = 0;
    float Angle = 0;
    TRect TextBox; // Right and Bottom inclusive
    TRect Frame; // Right and Bottom inclusive
    TPoint Centre;
    std::int32_t CharSpacing = 0;
    bool operator==(const TWordBlock &) const = default;
};

// The fixed part of a block: everything but the text's bytes.
constexpr qint64 WordBlockFixedSize = 132;
// The longest text a block may carry, in bytes.
constexpr qint64 MaxWordTextBytes = 65535;
// The largest distance of a frame or text point from cell (0, 0) a block may hold: twice
// the largest pattern side.
constexpr std::int32_t MaxWordCoordinate = 131070;

// The bytes of the block. False with a message (bytes untouched) when the text or the face
// name has a character GBK cannot encode, or the text is empty or longer than
// MaxWordTextBytes; a face name longer than 31 bytes is cut at a character.
bool EncodeWordBlock(const TWordBlock &block, QByteArray &bytes, QString *error = nullptr);
// Reads a block: 132 + L bytes with L from 1 to MaxWordTextBytes (bytes after them are
// ignored), a face name NUL-terminated within its 32 bytes, a font height and width within
// +-65,535 and 0 to 65,535, a text height and width of 1 to 65,535, a finite angle, a text
// box and frame of 1 to 65,535 cells a side, every point within +-MaxWordCoordinate and a
// spacing within +-65,535. False with a message otherwise; block is then unchanged.
bool DecodeWordBlock(const QByteArray &bytes, TWordBlock &block, QString *error = nullptr);
