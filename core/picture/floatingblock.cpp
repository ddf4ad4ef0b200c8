#include "core/picture/floatingblock.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/base/numutils.h"
#include "core/picture/blockfields.h"
#include "core/picture/bmpfile.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

// The fixed fields after the bitmap, and the longest tail the two lists can add.
constexpr qint64 FixedTailSize = 72 + 8 + 8 + 8 + 16 + 16 + 4 + 1 + 4;
constexpr qint64 LongestTail = FixedTailSize + 256 + 4 + 4 * 256;

double readDouble(TByteReader &in)
{
    const std::uint32_t lo = in.u32le();
    const std::uint64_t bits = (std::uint64_t(in.u32le()) << 32) | lo;
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

bool inRange(std::int32_t v)
{
    return v >= -MaxFloatingCoordinate && v <= MaxFloatingCoordinate;
}

bool pointInRange(const TPoint &p)
{
    return inRange(p.X) && inRange(p.Y);
}

bool rectInRange(const TRect &r)
{
    return inRange(r.Left) && inRange(r.Top) && inRange(r.Right) && inRange(r.Bottom);
}

// Every point of the frame within reach, and the frame itself 1 to 65,535 cells a side.
bool frameSound(const TFloatingBlock &b)
{
    for (const TPoint &p : b.HandlePoints)
        if (!pointInRange(p))
            return false;
    if (!pointInRange(b.Position) || !pointInRange(b.Centre) || !rectInRange(b.SelRect)
        || !rectInRange(b.Bounds))
        return false;
    const qint64 w = qint64(b.SelRect.Right) - b.SelRect.Left + 1;
    const qint64 h = qint64(b.SelRect.Bottom) - b.SelRect.Top + 1;
    return w >= 1 && w <= MaxPictureSide && h >= 1 && h <= MaxPictureSide;
}

bool readKeptLists(TByteReader &in, TFloatingBlock &b, QString *error)
{
    const std::int32_t n = in.i32le();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockCut));
    if (n < 0 || n > 256)
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockBadKept));
    const std::uint8_t *indexes = in.take(n);
    const std::int32_t m = in.i32le();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockCut));
    if (m < 0 || m > 256)
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockBadKept));
    if (!in.has(qint64(m) * 4))
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockCut));
    b.KeptIndexes.assign(indexes, indexes + n);
    b.KeptColors.resize(std::size_t(m));
    for (TColor &c : b.KeptColors)
        c = TColor(in.u32le());
    return true;
}

} // namespace

QByteArray EncodeFloatingBlock(const TFloatingBlock &b)
{
    QByteArray out;
    if (!AppendBmp8(out, b.Companion))
        return {};
    for (const TPoint &p : b.HandlePoints)
        PutPointLE(out, p);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &b.Angle, sizeof bits);
    PutU32le(out, std::uint32_t(bits));
    PutU32le(out, std::uint32_t(bits >> 32));
    PutPointLE(out, b.Position);
    PutPointLE(out, b.Centre);
    PutRectLE(out, b.SelRect);
    PutRectLE(out, b.Bounds);
    PutU32le(out, std::uint32_t(b.KeyColor));
    out.append(char(b.ColorFilter ? 1 : 0));
    PutU32le(out, std::uint32_t(b.KeptIndexes.size()));
    for (std::uint8_t i : b.KeptIndexes)
        out.append(char(i));
    PutU32le(out, std::uint32_t(b.KeptColors.size()));
    for (TColor c : b.KeptColors)
        PutU32le(out, std::uint32_t(c));
    return out;
}

bool DecodeFloatingBlock(const QByteArray &bytes, TFloatingBlock &block, QString *error)
{
    if (bytes.size() > MaxPictureFileSize + LongestTail)
        return Fail(error, GetUiMessage(UiKey::String::ClipboardPictureTooLarge));
    TFloatingBlock b;
    qint64 consumed = 0;
    if (!DecodeBmp8Image(bytes, b.Companion, consumed, error))
        return false;
    if (b.Companion.width() > MaxPictureSide || b.Companion.height() > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::ClipboardPictureTooLarge));
    TByteReader in(bytes, consumed);
    if (!in.has(FixedTailSize))
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockCut));
    for (TPoint &p : b.HandlePoints)
        p = ReadPointLE(in);
    b.Angle = readDouble(in);
    b.Position = ReadPointLE(in);
    b.Centre = ReadPointLE(in);
    b.SelRect = ReadRectLE(in);
    b.Bounds = ReadRectLE(in);
    b.KeyColor = TColor(in.u32le());
    const std::uint8_t filter = in.u8();
    if (!std::isfinite(b.Angle))
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockBadAngle));
    if (!frameSound(b))
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockBadFrame));
    if (!CheckTurnedPictureSize(qint64(b.SelRect.Right) - b.SelRect.Left + 1,
            qint64(b.SelRect.Bottom) - b.SelRect.Top + 1, b.Angle, error))
        return false;
    if (filter > 1)
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockBadFilter));
    b.ColorFilter = filter == 1;
    if (!readKeptLists(in, b, error))
        return false;
    block = std::move(b);
    return true;
}

QImage NewOpaqueMask(int width, int height)
{
    QImage mask(width, height, QImage::Format_Indexed8);
    if (mask.isNull())
        return mask;
    QList<QRgb> table(256, qRgb(255, 255, 255));
    table[0] = qRgb(0, 0, 0);
    mask.setColorTable(table);
    mask.fill(1);
    return mask;
}

QByteArray EncodeFloatingShape(const QImage &mask)
{
    return EncodeBmp8(mask);
}

bool DecodeFloatingShape(const QByteArray &bytes, QSize size, QImage &mask, QString *error)
{
    if (bytes.size() > MaxPictureFileSize)
        return Fail(error, GetUiMessage(UiKey::String::ClipboardPictureTooLarge));
    QImage read;
    if (!DecodeBmp8(bytes, read, error))
        return false;
    if (read.size() != size)
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockBadShape));
    for (int y = 0; y < read.height(); ++y) {
        const std::uint8_t *row = read.constScanLine(y);
        for (int x = 0; x < read.width(); ++x)
            if (row[x] > 1)
                return Fail(error, GetUiMessage(UiKey::String::FloatBlockBadShape));
    }
    mask = read;
    return true;
}

void TurnedPictureSize(qint64 width, qint64 height, double angle, qint64 &turnedWidth, qint64 &turnedHeight)
{
    // The sizes RotatePictureByAngle gives: it turns by -angle counter-clockwise, quarter
    // and half turns exactly, any other angle into the span of the turned outline.
    constexpr double pi = std::numbers::pi;
    constexpr double tolerance = 0.0001;
    double a = std::fmod(-angle, 2 * pi);
    if (a < 0)
        a += 2 * pi;
    const auto near = [](double x, double y) { return std::fabs(x - y) <= tolerance; };
    turnedWidth = width;
    turnedHeight = height;
    if (near(a, pi / 2) || near(a, 3 * pi / 2)) {
        turnedWidth = height;
        turnedHeight = width;
    } else if (!near(a, 0) && !near(a, pi) && !near(a, 2 * pi)) {
        const double c = std::fabs(std::cos(a)), s = std::fabs(std::sin(a));
        turnedWidth = std::max<qint64>(1, Round(double(width) * c + double(height) * s));
        turnedHeight = std::max<qint64>(1, Round(double(width) * s + double(height) * c));
    }
}

bool CheckTurnedPictureSize(qint64 width, qint64 height, double angle, QString *error)
{
    qint64 w = 0, h = 0;
    TurnedPictureSize(width, height, angle, w, h);
    if (w > MaxPictureSide || h > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::FloatTurnTooLarge).arg(w).arg(h));
    // The picture and its mask, one byte a cell each.
    return CheckPictureBudget(w, h, 2, error);
}
