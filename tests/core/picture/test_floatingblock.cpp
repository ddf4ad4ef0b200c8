// The floating picture's clipboard block and shape entry: exact bytes, round trips, and
// every damaged or hostile block refused with a message and nothing changed.
#include "core/picture/bmpfile.h"
#include "core/picture/floatingblock.h"
#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace {

TFloatingBlock sampleBlock()
{
    TFloatingBlock b;
    b.Companion = MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }, GreyPalette());
    for (int i = 0; i < 9; ++i)
        b.HandlePoints[std::size_t(i)] = { 10 + i, -20 - i };
    b.Angle = std::numbers::pi / 6;
    b.Position = { 7, 8 };
    b.Centre = { 11, 9 };
    b.SelRect = { 10, 8, 12, 9 };
    b.Bounds = { 9, 7, 13, 10 };
    b.KeyColor = 0x00ABCDEF;
    b.ColorFilter = true;
    b.KeptIndexes = { 3, 7 };
    b.KeptColors = { 0x02030303, 0x02070707 };
    return b;
}

qint64 bmpLength(const QByteArray &block)
{
    qint64 length = 0;
    EXPECT_TRUE(BmpImageLength(block, length));
    return length;
}

void putI32(QByteArray &out, qint64 at, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
}

void putDouble(QByteArray &out, qint64 at, double v)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out[at + i] = char((bits >> (8 * i)) & 0xFF);
}

// Offsets of the fixed fields after the bitmap.
constexpr qint64 AngleAt = 72, SelRectAt = 72 + 8 + 8 + 8, KeyAt = SelRectAt + 32, FilterAt = KeyAt + 4,
                 KeptCountAt = FilterAt + 1;

} // namespace

TEST(FloatingBlock, TailForKeptColorsIsExact)
{
    const TFloatingBlock b = sampleBlock();
    const QByteArray block = EncodeFloatingBlock(b);
    const qint64 at = bmpLength(block);
    ASSERT_EQ(block.left(at), EncodeBmp8(b.Companion));
    // Filter byte, n, the indexes ascending, m, the colours.
    EXPECT_EQ(block.mid(at + FilterAt), Hex("01 02 00 00 00 03 07 02 00 00 00 03 03 03 02 07 07 07 02"));
    EXPECT_EQ(block.mid(at + KeyAt, 4), Hex("EF CD AB 00"));
    EXPECT_EQ(block.mid(at, 8), Hex("0A 00 00 00 EC FF FF FF"));
    EXPECT_EQ(block.mid(at + SelRectAt, 16), Hex("0A 00 00 00 08 00 00 00 0C 00 00 00 09 00 00 00"));
}

TEST(FloatingBlock, RoundTripKeepsEveryField)
{
    const TFloatingBlock b = sampleBlock();
    TFloatingBlock r;
    QString error;
    ASSERT_TRUE(DecodeFloatingBlock(EncodeFloatingBlock(b), r, &error)) << error.toStdString();
    EXPECT_EQ(PictureRows(r.Companion), PictureRows(b.Companion));
    EXPECT_EQ(r.Companion.colorTable(), b.Companion.colorTable());
    EXPECT_EQ(r.HandlePoints, b.HandlePoints);
    EXPECT_EQ(r.Angle, b.Angle);
    EXPECT_EQ(r.Position, b.Position);
    EXPECT_EQ(r.Centre, b.Centre);
    EXPECT_EQ(r.SelRect, b.SelRect);
    EXPECT_EQ(r.Bounds, b.Bounds);
    EXPECT_EQ(r.KeyColor, b.KeyColor);
    EXPECT_EQ(r.ColorFilter, b.ColorFilter);
    EXPECT_EQ(r.KeptIndexes, b.KeptIndexes);
    EXPECT_EQ(r.KeptColors, b.KeptColors);
    EXPECT_EQ(EncodeFloatingBlock(r), EncodeFloatingBlock(b));
}

TEST(FloatingBlock, DamagedBlocksAreRefusedAndChangeNothing)
{
    const QByteArray good = EncodeFloatingBlock(sampleBlock());
    const qint64 at = bmpLength(good);
    struct Case {
        const char *name;
        std::function<void(QByteArray &)> spoil;
    };
    const std::vector<Case> cases = {
        { "bitmap cut", [&](QByteArray &b) { b.truncate(at - 1); } },
        { "bitmap not 8-bit", [](QByteArray &b) { b[28] = 24; } },
        { "fixed fields cut", [&](QByteArray &b) { b.truncate(at + KeptCountAt - 1); } },
        { "kept count missing", [&](QByteArray &b) { b.truncate(at + KeptCountAt + 2); } },
        { "kept indexes cut", [&](QByteArray &b) { b.truncate(at + KeptCountAt + 5); } },
        { "kept colours cut", [&](QByteArray &b) { b.chop(1); } },
        { "angle not a number",
            [&](QByteArray &b) { putDouble(b, at + AngleAt, std::numeric_limits<double>::quiet_NaN()); } },
        { "angle infinite",
            [&](QByteArray &b) { putDouble(b, at + AngleAt, std::numeric_limits<double>::infinity()); } },
        { "frame empty", [&](QByteArray &b) { putI32(b, at + SelRectAt + 8, 9); } },
        { "frame wider than a pattern", [&](QByteArray &b) { putI32(b, at + SelRectAt + 8, 10 + 65535); } },
        { "frame point out of reach", [&](QByteArray &b) { putI32(b, at + SelRectAt, -131071); } },
        { "handle point out of reach", [&](QByteArray &b) { putI32(b, at, 131071); } },
        { "turned frame too large",
            [&](QByteArray &b) {
                putI32(b, at + SelRectAt, 0);
                putI32(b, at + SelRectAt + 4, 0);
                putI32(b, at + SelRectAt + 8, 60000);
                putI32(b, at + SelRectAt + 12, 60000);
            } },
        { "filter byte 2", [&](QByteArray &b) { b[at + FilterAt] = 2; } },
        { "kept count negative", [&](QByteArray &b) { putI32(b, at + KeptCountAt, -1); } },
        { "kept count over 256", [&](QByteArray &b) { putI32(b, at + KeptCountAt, 257); } },
        { "colour count over 256", [&](QByteArray &b) { putI32(b, at + KeptCountAt + 6, 257); } },
        { "colour count negative", [&](QByteArray &b) { putI32(b, at + KeptCountAt + 6, -5); } },
        { "empty", [](QByteArray &b) { b.clear(); } },
    };
    for (const Case &c : cases) {
        QByteArray bad = good;
        c.spoil(bad);
        TFloatingBlock r = sampleBlock();
        r.Angle = 1.5;
        QString error;
        EXPECT_FALSE(DecodeFloatingBlock(bad, r, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(r.Angle, 1.5) << c.name;
        EXPECT_EQ(r.KeptIndexes.size(), 2u) << c.name;
    }
}

TEST(FloatingBlock, OversizedBlockIsRefusedBeforeReading)
{
    QByteArray huge;
    huge.resize((qint64(1) << 30) + 4096);
    TFloatingBlock r;
    QString error;
    EXPECT_FALSE(DecodeFloatingBlock(huge, r, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(r.Companion.isNull());
}

TEST(FloatingBlock, ShapeEntryRoundTripsAndRefusesOtherValuesOrSizes)
{
    QImage mask = NewOpaqueMask(3, 2);
    mask.scanLine(1)[2] = 0;
    const QByteArray bytes = EncodeFloatingShape(mask);
    QImage read;
    ASSERT_TRUE(DecodeFloatingShape(bytes, QSize(3, 2), read));
    EXPECT_EQ(PictureRows(read), (std::vector<std::vector<int>> { { 1, 1, 1 }, { 1, 1, 0 } }));

    QImage other;
    QString error;
    EXPECT_FALSE(DecodeFloatingShape(bytes, QSize(2, 3), other, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(other.isNull());
    QImage two = mask.copy();
    two.scanLine(0)[0] = 2;
    EXPECT_FALSE(DecodeFloatingShape(EncodeFloatingShape(two), QSize(3, 2), other, &error));
    EXPECT_FALSE(DecodeFloatingShape(bytes.left(bytes.size() - 1), QSize(3, 2), other, &error));
    EXPECT_TRUE(other.isNull());
}

// The size the reader checks is the size the picture turns to.
TEST(FloatingBlock, TurnedSizeIsTheTurnedPicturesSize)
{
    const QImage picture = MakePicture({ { 1, 2, 3, 4, 5 }, { 6, 7, 8, 9, 10 } }, GreyPalette());
    const double pi = std::numbers::pi;
    for (double angle : { 0.0, pi / 6, pi / 2, 1.0, pi, 4.0, 3 * pi / 2, 2 * pi - 0.01, -0.3 }) {
        QImage turned;
        ASSERT_TRUE(RotatePictureByAngle(turned, picture, 0, angle));
        qint64 w = 0, h = 0;
        TurnedPictureSize(5, 2, angle, w, h);
        EXPECT_EQ(QSize(int(w), int(h)), turned.size()) << angle;
    }
    QString error;
    EXPECT_TRUE(CheckTurnedPictureSize(65535, 1, 0, &error));
    EXPECT_FALSE(CheckTurnedPictureSize(65535, 1000, pi / 6, &error));
    EXPECT_FALSE(error.isEmpty());
}
