// The floating text's clipboard block: exact bytes, round trips, and every damaged or
// hostile block refused with a message and nothing changed.
#include "core/picture/wordblock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>

namespace {

TWordBlock sampleBlock(const QString &text = QStringLiteral("AB"))
{
    TWordBlock b;
    b.Text = text;
    b.Font.Height = 23;
    b.Font.Width = 9;
    b.Font.Escapement = -300;
    b.Font.Orientation = -300;
    b.Font.Weight = 700;
    b.Font.Underline = 1;
    b.Font.FaceName = QStringLiteral("Noto Sans CJK SC");
    b.FontColor = 0x00123456;
    b.Position = { 7, -8 };
    b.TextHeight = 23;
    b.TextWidth = 30;
    b.Angle = 0.5f;
    b.TextBox = { 1, -9, 40, 20 };
    b.Frame = { 5, -3, 34, 19 };
    b.Centre = { 19, 8 };
    b.CharSpacing = -2;
    return b;
}

QByteArray encoded(const TWordBlock &b)
{
    QByteArray bytes;
    EXPECT_TRUE(EncodeWordBlock(b, bytes));
    return bytes;
}

std::int32_t i32At(const QByteArray &bytes, qint64 at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | std::uint8_t(bytes[at + i]);
    return std::int32_t(v);
}

void putI32(QByteArray &out, qint64 at, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
}

void putFloat(QByteArray &out, qint64 at, float v)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    putI32(out, at, std::int32_t(bits));
}

// Offsets in a block whose text is two bytes long.
constexpr qint64 FontAt = 6, FaceAt = FontAt + 28, ColorAt = 66, PositionAt = 70, HeightAt = 78, WidthAt = 82,
                 AngleAt = 86, TextBoxAt = 90, FrameAt = 106, CentreAt = 122, SpacingAt = 130;

} // namespace

TEST(WordBlock, BytesOfATwoLetterText)
{
    const TWordBlock b = sampleBlock();
    const QByteArray bytes = encoded(b);
    ASSERT_EQ(bytes.size(), 134);
    EXPECT_EQ(bytes.left(6),
        QByteArray("\x02\x00\x00\x00"
                   "AB",
            6));
    EXPECT_EQ(i32At(bytes, FontAt), 23);
    EXPECT_EQ(i32At(bytes, FontAt + 4), 9);
    EXPECT_EQ(i32At(bytes, FontAt + 8), -300);
    EXPECT_EQ(i32At(bytes, FontAt + 16), 700);
    // Italic, underline, strike-out, character set, three precisions and pitch as bytes.
    EXPECT_EQ(bytes.mid(FontAt + 20, 8), QByteArray("\x00\x01\x00\x01\x00\x00\x00\x00", 8));
    EXPECT_EQ(bytes.mid(FaceAt, 17), QByteArray("Noto Sans CJK SC\0", 17));
    EXPECT_EQ(bytes.mid(FaceAt + 16, 16), QByteArray(16, '\0'));
    EXPECT_EQ(i32At(bytes, ColorAt), 0x00123456);
    EXPECT_EQ(i32At(bytes, PositionAt), 7);
    EXPECT_EQ(i32At(bytes, PositionAt + 4), -8);
    EXPECT_EQ(i32At(bytes, HeightAt), 23);
    EXPECT_EQ(i32At(bytes, WidthAt), 30);
    float angle = 0;
    const std::uint32_t bits = std::uint32_t(i32At(bytes, AngleAt));
    std::memcpy(&angle, &bits, sizeof angle);
    EXPECT_EQ(angle, 0.5f);
    EXPECT_EQ(i32At(bytes, TextBoxAt + 4), -9);
    EXPECT_EQ(i32At(bytes, FrameAt + 12), 19);
    EXPECT_EQ(i32At(bytes, CentreAt), 19);
    EXPECT_EQ(i32At(bytes, SpacingAt), -2);
}

TEST(WordBlock, RoundTripKeepsEveryField)
{
    for (const QString &text : { QStringLiteral("AB"), QStringLiteral("AB 花样"), QStringLiteral(" x ") }) {
        const TWordBlock b = sampleBlock(text);
        const QByteArray bytes = encoded(b);
        TWordBlock read;
        QString error;
        ASSERT_TRUE(DecodeWordBlock(bytes, read, &error)) << error.toStdString();
        EXPECT_EQ(read, b) << text.toStdString();
    }
    // The text travels as GBK: two bytes a Chinese character.
    const QByteArray bytes = encoded(sampleBlock(QStringLiteral("花样")));
    EXPECT_EQ(bytes.size(), 132 + 4);
    EXPECT_EQ(bytes.mid(4, 4), QByteArray("\xBB\xA8\xD1\xF9", 4));
    // A Chinese face name too, and bytes after the block (a padded clipboard block) are ignored.
    TWordBlock b = sampleBlock();
    b.Font.FaceName = QStringLiteral("宋体");
    TWordBlock read;
    ASSERT_TRUE(DecodeWordBlock(encoded(b) + QByteArray(1000, '\x7F'), read));
    EXPECT_EQ(read, b);
}

TEST(WordBlock, WriterRefusesWhatCannotTravel)
{
    QByteArray bytes("kept");
    QString error;
    EXPECT_FALSE(EncodeWordBlock(sampleBlock(QString::fromUtf8("A\xF0\x9F\x98\x80")), bytes, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(EncodeWordBlock(sampleBlock(QString()), bytes, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(EncodeWordBlock(sampleBlock(QString(MaxWordTextBytes + 1, QLatin1Char('x'))), bytes));
    EXPECT_EQ(bytes, QByteArray("kept"));
    // A face name too long for its field is cut at a whole character, leaving room for the NUL.
    TWordBlock b = sampleBlock();
    b.Font.FaceName = QString(40, QChar(0x82B1)); // 花: two bytes each
    ASSERT_TRUE(EncodeWordBlock(b, bytes));
    EXPECT_EQ(bytes.mid(FaceAt, 32), QByteArray("\xBB\xA8", 2).repeated(15) + QByteArray(2, '\0'));
    TWordBlock read;
    ASSERT_TRUE(DecodeWordBlock(bytes, read));
    EXPECT_EQ(read.Font.FaceName, QString(15, QChar(0x82B1)));
}

TEST(WordBlock, ReaderRefusesDamagedBlocks)
{
    const QByteArray good = encoded(sampleBlock());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char *name;
        std::function<void(QByteArray &)> damage;
    };
    const std::vector<Case> cases {
        { "text length 1,000,000 in 140 bytes",
            [](QByteArray &b) {
                b.resize(140);
                putI32(b, 0, 1000000);
            } },
        { "text length 0", [](QByteArray &b) { putI32(b, 0, 0); } },
        { "negative text length", [](QByteArray &b) { putI32(b, 0, -2); } },
        { "text longer than a block may carry",
            [](QByteArray &b) {
                putI32(b, 0, int(MaxWordTextBytes + 1));
                b.append(QByteArray(MaxWordTextBytes, 'x'));
            } },
        { "face name without its NUL", [](QByteArray &b) { b.replace(FaceAt, 32, QByteArray(32, 'F')); } },
        { "font height beyond a pattern", [](QByteArray &b) { putI32(b, FontAt, -65536); } },
        { "negative font width", [](QByteArray &b) { putI32(b, FontAt + 4, -1); } },
        { "text height 0", [](QByteArray &b) { putI32(b, HeightAt, 0); } },
        { "text height 65,536", [](QByteArray &b) { putI32(b, HeightAt, 65536); } },
        { "text width 0", [](QByteArray &b) { putI32(b, WidthAt, 0); } },
        { "angle not a number", [nan](QByteArray &b) { putFloat(b, AngleAt, nan); } },
        { "angle infinite", [inf](QByteArray &b) { putFloat(b, AngleAt, -inf); } },
        { "frame turned inside out", [](QByteArray &b) { putI32(b, FrameAt + 8, -4); } },
        { "frame wider than a pattern",
            [](QByteArray &b) {
                putI32(b, FrameAt, -65535);
                putI32(b, FrameAt + 8, 1);
            } },
        { "text box taller than a pattern",
            [](QByteArray &b) {
                putI32(b, TextBoxAt + 4, 0);
                putI32(b, TextBoxAt + 12, 65535);
            } },
        { "position out of reach", [](QByteArray &b) { putI32(b, PositionAt, 131071); } },
        { "centre out of reach", [](QByteArray &b) { putI32(b, CentreAt + 4, -131071); } },
        { "frame corner out of reach",
            [](QByteArray &b) {
                putI32(b, FrameAt, 131071);
                putI32(b, FrameAt + 8, 131072);
            } },
        { "spacing beyond a pattern", [](QByteArray &b) { putI32(b, SpacingAt, 65536); } },
        { "negative spacing beyond a pattern", [](QByteArray &b) { putI32(b, SpacingAt, -65536); } },
    };
    const TWordBlock before = sampleBlock(QStringLiteral("before"));
    for (const Case &c : cases) {
        QByteArray bytes = good;
        c.damage(bytes);
        TWordBlock block = before;
        QString error;
        EXPECT_FALSE(DecodeWordBlock(bytes, block, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(block, before) << c.name;
    }
    // The limits themselves are taken.
    QByteArray edge = good;
    putI32(edge, HeightAt, 65535);
    putI32(edge, SpacingAt, -65535);
    putI32(edge, PositionAt, -131070);
    TWordBlock block;
    EXPECT_TRUE(DecodeWordBlock(edge, block));
    EXPECT_EQ(block.CharSpacing, -65535);
}

TEST(WordBlock, EveryCutIsRefused)
{
    const QByteArray good = encoded(sampleBlock(QStringLiteral("AB 花样")));
    const TWordBlock before = sampleBlock(QStringLiteral("before"));
    for (qsizetype n = 0; n < good.size(); ++n) {
        TWordBlock block = before;
        QString error;
        EXPECT_FALSE(DecodeWordBlock(good.left(n), block, &error)) << n;
        EXPECT_FALSE(error.isEmpty()) << n;
        EXPECT_EQ(block, before) << n;
    }
}
