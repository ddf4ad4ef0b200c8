#include "core/picture/wordblock.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/base/filetext.h"
#include "core/picture/blockfields.h"
#include "core/settings/uitexts.h"

#include <cmath>
#include <cstring>

namespace {

constexpr qint64 FaceNameSize = 32;
constexpr std::int32_t MaxWordSize = 65535;

void putI32(QByteArray &out, std::int32_t v)
{
    PutU32le(out, std::uint32_t(v));
}

// The GBK form of a face name cut to 31 bytes at a character, so that the NUL fits.
bool faceNameBytes(const QString &name, QByteArray &bytes, QString *error)
{
    QString cut = name;
    QByteArray gbk;
    if (!EncodeFileText(cut, gbk, error))
        return false;
    while (gbk.size() > FaceNameSize - 1) {
        cut.chop(cut.size() >= 2 && cut.at(cut.size() - 1).isLowSurrogate() ? 2 : 1);
        if (!EncodeFileText(cut, gbk, error))
            return false;
    }
    bytes = gbk;
    return true;
}

bool inRange(std::int32_t v, std::int32_t limit)
{
    return v >= -limit && v <= limit;
}

bool pointSound(const TPoint &p)
{
    return inRange(p.X, MaxWordCoordinate) && inRange(p.Y, MaxWordCoordinate);
}

// Every corner within reach and each side 1 to 65,535 cells.
bool rectSound(const TRect &r)
{
    if (!pointSound({ r.Left, r.Top }) || !pointSound({ r.Right, r.Bottom }))
        return false;
    const qint64 w = qint64(r.Right) - r.Left + 1, h = qint64(r.Bottom) - r.Top + 1;
    return w >= 1 && w <= MaxWordSize && h >= 1 && h <= MaxWordSize;
}

bool readFont(TByteReader &in, TLogFontRecord &f, QString *error)
{
    f.Height = in.i32le();
    f.Width = in.i32le();
    f.Escapement = in.i32le();
    f.Orientation = in.i32le();
    f.Weight = in.i32le();
    f.Italic = in.u8();
    f.Underline = in.u8();
    f.StrikeOut = in.u8();
    f.CharSet = in.u8();
    f.OutPrecision = in.u8();
    f.ClipPrecision = in.u8();
    f.Quality = in.u8();
    f.PitchAndFamily = in.u8();
    const char *face = reinterpret_cast<const char *>(in.take(FaceNameSize));
    const char *end = static_cast<const char *>(std::memchr(face, 0, std::size_t(FaceNameSize)));
    if (!end)
        return Fail(error, GetUiMessage(UiKey::String::WordBlockBadFont));
    if (!inRange(f.Height, MaxWordSize) || f.Width < 0 || f.Width > MaxWordSize)
        return Fail(error, GetUiMessage(UiKey::String::WordBlockBadFont));
    f.FaceName = DecodeFileText(QByteArray(face, end - face));
    return true;
}

} // namespace

bool EncodeWordBlock(const TWordBlock &b, QByteArray &bytes, QString *error)
{
    QByteArray text, face;
    if (!EncodeFileText(b.Text, text, error))
        return false;
    if (text.isEmpty() || text.size() > MaxWordTextBytes)
        return Fail(error, GetUiMessage(UiKey::String::WordBlockBadText));
    if (!faceNameBytes(b.Font.FaceName, face, error))
        return false;
    QByteArray out;
    out.reserve(WordBlockFixedSize + text.size());
    putI32(out, std::int32_t(text.size()));
    out.append(text);
    const TLogFontRecord &f = b.Font;
    for (std::int32_t v : { f.Height, f.Width, f.Escapement, f.Orientation, f.Weight })
        putI32(out, v);
    for (std::uint8_t v : { f.Italic, f.Underline, f.StrikeOut, f.CharSet, f.OutPrecision, f.ClipPrecision,
             f.Quality, f.PitchAndFamily })
        out.append(char(v));
    face.resize(FaceNameSize, '\0');
    out.append(face);
    putI32(out, b.FontColor);
    PutPointLE(out, b.Position);
    putI32(out, b.TextHeight);
    putI32(out, b.TextWidth);
    std::uint32_t angle = 0;
    std::memcpy(&angle, &b.Angle, sizeof angle);
    PutU32le(out, angle);
    PutRectLE(out, b.TextBox);
    PutRectLE(out, b.Frame);
    PutPointLE(out, b.Centre);
    putI32(out, b.CharSpacing);
    bytes = out;
    return true;
}

bool DecodeWordBlock(const QByteArray &bytes, TWordBlock &block, QString *error)
{
    TByteReader in(bytes);
    const std::int32_t length = in.i32le();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::WordBlockCut));
    if (length < 1 || length > MaxWordTextBytes)
        return Fail(error, GetUiMessage(UiKey::String::WordBlockBadText));
    if (!in.has(WordBlockFixedSize - 4 + length))
        return Fail(error, GetUiMessage(UiKey::String::WordBlockCut));
    TWordBlock b;
    const std::uint8_t *text = in.take(length);
    b.Text = DecodeFileText(QByteArray(reinterpret_cast<const char *>(text), length));
    if (!readFont(in, b.Font, error))
        return false;
    b.FontColor = in.i32le();
    b.Position = ReadPointLE(in);
    b.TextHeight = in.i32le();
    b.TextWidth = in.i32le();
    const std::uint32_t angle = in.u32le();
    std::memcpy(&b.Angle, &angle, sizeof angle);
    b.TextBox = ReadRectLE(in);
    b.Frame = ReadRectLE(in);
    b.Centre = ReadPointLE(in);
    b.CharSpacing = in.i32le();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::WordBlockCut));
    if (b.TextHeight < 1 || b.TextHeight > MaxWordSize || b.TextWidth < 1 || b.TextWidth > MaxWordSize)
        return Fail(error, GetUiMessage(UiKey::String::WordBlockBadSize));
    if (!std::isfinite(b.Angle))
        return Fail(error, GetUiMessage(UiKey::String::WordBlockBadAngle));
    if (!pointSound(b.Position) || !pointSound(b.Centre) || !rectSound(b.TextBox) || !rectSound(b.Frame))
        return Fail(error, GetUiMessage(UiKey::String::WordBlockBadFrame));
    if (!inRange(b.CharSpacing, MaxWordSize))
        return Fail(error, GetUiMessage(UiKey::String::WordBlockBadSpacing));
    block = std::move(b);
    return true;
}
