// Conversions into 8-bit pictures: true colour by colour cells, 1-, 2- and 4-bit unpacking,
// and the white and black entries.
#include "core/decode/pictureconvert.h"
#include "core/picture/lowbitpicture.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>

namespace {

QRgb cellRgb(int key)
{
    return qRgb(((key >> 8) & 15) * 16 + 7, ((key >> 4) & 15) * 16 + 7, (key & 15) * 16 + 7);
}

TPaletteEntry entry(QRgb c)
{
    return { std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c)), 0 };
}

} // namespace

TEST(ConvertPictureTo8Bit, ThreeColoursInOrderOfFrequency)
{
    // 1 pixel of red-ish, 3 of blue-ish, 2 of green-ish (none white or black); the
    // low bits of each channel do not matter.
    QImage src(3, 2, QImage::Format_RGB32);
    const QRgb a = qRgb(200, 30, 40), b = qRgb(20, 40, 210), c = qRgb(50, 180, 60);
    const QRgb px[2][3] = { { a, b, c }, { b, qRgb(25, 35, 215), c } };
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            src.setPixel(x, y, px[y][x]);
    QImage dest;
    ConvertPictureTo8Bit(src, dest);
    ASSERT_EQ(dest.format(), QImage::Format_Indexed8);
    const QList<QRgb> t = dest.colorTable();
    ASSERT_EQ(t.size(), 256);
    EXPECT_EQ(t[0], qRgb(16 + 7, 32 + 7, 208 + 7));
    EXPECT_EQ(t[1], qRgb(48 + 7, 176 + 7, 48 + 7));
    EXPECT_EQ(t[2], qRgb(192 + 7, 16 + 7, 32 + 7));
    for (int i = 3; i < 256; ++i)
        EXPECT_EQ(t[i], qRgb(7, 7, 7)) << i;
    EXPECT_EQ(PictureRows(dest), (std::vector<std::vector<int>> { { 2, 0, 1 }, { 0, 0, 1 } }));

    EnsureBlackAndWhite(dest);
    EXPECT_EQ(dest.colorTable()[254], qRgb(0, 0, 0));
    EXPECT_EQ(dest.colorTable()[255], qRgb(255, 255, 255));
    EXPECT_EQ(dest.colorTable()[253], qRgb(7, 7, 7));
    EXPECT_EQ(PictureRows(dest), (std::vector<std::vector<int>> { { 2, 0, 1 }, { 0, 0, 1 } }));

    // Already 8-bit or empty: Dest is left alone.
    QImage untouched = MakePicture({ { 4 } });
    ConvertPictureTo8Bit(MakePicture({ { 1, 2 } }), untouched);
    ConvertPictureTo8Bit(QImage(), untouched);
    EXPECT_EQ(PictureRows(untouched), (std::vector<std::vector<int>> { { 4 } }));
}

TEST(ConvertPictureTo8Bit, PureWhitePicture)
{
    // All pixels pure white: one cell, standing for (247, 247, 247); then pure white goes
    // into 255 and black into 254, and the cells keep entry 0.
    QImage src(5, 3, QImage::Format_RGB32);
    src.fill(qRgb(255, 255, 255));
    QImage dest;
    ConvertPictureTo8Bit(src, dest);
    EnsureBlackAndWhite(dest);
    ASSERT_EQ(dest.format(), QImage::Format_Indexed8);
    EXPECT_EQ(dest.colorTable()[0], qRgb(247, 247, 247));
    EXPECT_EQ(dest.colorTable()[1], qRgb(7, 7, 7));
    EXPECT_EQ(dest.colorTable()[254], qRgb(0, 0, 0));
    EXPECT_EQ(dest.colorTable()[255], qRgb(255, 255, 255));
    EXPECT_EQ(PictureRows(dest), std::vector<std::vector<int>>(3, std::vector<int>(5, 0)));
}

TEST(ConvertPictureTo8Bit, ThreeHundredCellsKeepTheMostFrequent)
{
    // Cell j (0..299) has 300 - j pixels, so the order of frequency is j; keys are spread
    // over the colour cube and never white or black.
    std::vector<int> keys;
    for (int j = 0; j < 300; ++j)
        keys.push_back((j * 1237 + 5) % 4096);
    std::vector<QRgb> pixels;
    for (int j = 0; j < 300; ++j)
        for (int k = 0; k < 300 - j; ++k)
            pixels.push_back(cellRgb(keys[j]));
    const int width = 301, height = int(pixels.size() / width) + 1;
    pixels.resize(size_t(width) * height, cellRgb(keys[0]));
    QImage src(width, height, QImage::Format_RGB32);
    for (int i = 0; i < int(pixels.size()); ++i)
        src.setPixel(i % width, i / width, pixels[i]);

    QImage dest;
    ConvertPictureTo8Bit(src, dest);
    ASSERT_EQ(dest.format(), QImage::Format_Indexed8);
    TPalette256 before;
    GetBitmapPalette(dest, before);
    for (int j = 0; j < 256; ++j)
        EXPECT_EQ(dest.colorTable()[j], cellRgb(keys[j])) << j;
    std::map<int, int> indexOfKey;
    for (int j = 0; j < 300; ++j) {
        const TPaletteEntry c = entry(cellRgb(keys[j]));
        indexOfKey[keys[j]] = j < 256 ? j : NearestColorIndex(before.data(), 256, c.Red, c.Green, c.Blue);
    }
    for (int i = 0; i < int(pixels.size()); ++i)
        ASSERT_EQ(dest.pixelIndex(i % width, i / width),
            indexOfKey[(qRed(pixels[i]) >> 4 << 8) | (qGreen(pixels[i]) >> 4 << 4) | (qBlue(pixels[i]) >> 4)])
            << i;

    // White goes into 255, black into 254; their cells move to the nearest remaining colour.
    const QImage converted = dest;
    EnsureBlackAndWhite(dest);
    TPalette256 after;
    GetBitmapPalette(dest, after);
    EXPECT_EQ(after[255], WhiteQuad);
    EXPECT_EQ(after[254], BlackQuad);
    for (int i = 0; i < 254; ++i)
        EXPECT_EQ(after[i], before[i]);
    for (int y = 0; y < dest.height(); ++y)
        for (int x = 0; x < dest.width(); ++x) {
            const int old = converted.pixelIndex(x, y);
            const int expected = old < 254
                ? old
                : NearestColorIndex(after.data(), 256, before[old].Red, before[old].Green, before[old].Blue);
            ASSERT_EQ(dest.pixelIndex(x, y), expected);
        }
}

TEST(EnsureBlackAndWhite, WhiteAtTwelveAndPureWhite)
{
    // White at 12, no black: black goes into 255 and the cells of 255 move to their
    // nearest remaining colour (dark grey 7); cells of duplicate entries keep their index.
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(40 + i / 2), 100, 100, 0 };
    pal[7] = { 20, 20, 20, 0 };
    pal[12] = WhiteQuad;
    pal[13] = pal[7];
    pal[255] = { 15, 15, 15, 0 };
    QImage pic = MakePicture({ { 255, 12, 7, 13 } }, pal);
    EnsureBlackAndWhite(pic);
    EXPECT_EQ(pic.colorTable()[255], qRgb(0, 0, 0));
    EXPECT_EQ(pic.colorTable()[12], qRgb(255, 255, 255));
    EXPECT_EQ(pic.colorTable()[254], qRgb(167, 100, 100));
    EXPECT_EQ(PictureRows(pic), (std::vector<std::vector<int>> { { 7, 12, 7, 13 } }));

    // White already at 255 and no black: black goes into 254.
    pal[12] = { 1, 2, 3, 0 };
    pal[255] = WhiteQuad;
    pal[254] = { 250, 250, 250, 0 };
    pic = MakePicture({ { 254, 255, 0 } }, pal);
    EnsureBlackAndWhite(pic);
    EXPECT_EQ(pic.colorTable()[254], qRgb(0, 0, 0));
    EXPECT_EQ(PictureRows(pic), (std::vector<std::vector<int>> { { 255, 255, 0 } }));

    // A pure white picture whose palette is white but for a grey entry 255: black
    // replaces the grey, and the white cells keep their indexes.
    TPalette256 white {};
    white.fill(WhiteQuad);
    white[255] = { 128, 128, 128, 0 };
    pic = MakePicture({ { 0, 0 }, { 5, 0 } }, white);
    EnsureBlackAndWhite(pic);
    EXPECT_EQ(pic.colorTable()[255], qRgb(0, 0, 0));
    EXPECT_EQ(PictureRows(pic), (std::vector<std::vector<int>> { { 0, 0 }, { 5, 0 } }));

    // Both present: nothing changes.
    QImage grey = MakePicture({ { 3, 3, 200 } });
    EnsureBlackAndWhite(grey);
    EXPECT_EQ(grey.colorTable(), MakePicture({ { 0 } }).colorTable());
    EXPECT_EQ(PictureRows(grey), (std::vector<std::vector<int>> { { 3, 3, 200 } }));
}

TEST(ConvertLowBitTo8Bit, UnpacksOneTwoAndFourBits)
{
    TLowBitPicture one;
    one.Width = 10;
    one.Height = 2;
    one.Bits = 1;
    one.BytesPerLine = 4; // padded lines
    one.Rows = Hex("A5 C0 FF FF  01 40 00 00");
    one.Colors = { qRgb(1, 2, 3), qRgb(250, 251, 252) };
    QImage out;
    ConvertLowBitTo8Bit(one, out);
    ASSERT_EQ(out.format(), QImage::Format_Indexed8);
    EXPECT_EQ(PictureRows(out),
        (std::vector<std::vector<int>> {
            { 1, 0, 1, 0, 0, 1, 0, 1, 1, 1 }, { 0, 0, 0, 0, 0, 0, 0, 1, 0, 1 } }));
    ASSERT_EQ(out.colorTable().size(), 256);
    EXPECT_EQ(out.colorTable()[1], qRgb(250, 251, 252));
    EXPECT_EQ(out.colorTable()[2], qRgb(0, 0, 0));
    EXPECT_EQ(out.colorTable()[255], qRgb(0, 0, 0));

    TLowBitPicture four;
    four.Width = 3;
    four.Height = 1;
    four.Bits = 4;
    four.BytesPerLine = 2;
    four.Rows = Hex("F3 A7");
    for (int i = 0; i < 16; ++i)
        four.Colors.append(qRgb(i * 10, 0, 0));
    ConvertLowBitTo8Bit(four, out);
    EXPECT_EQ(PictureRows(out), (std::vector<std::vector<int>> { { 15, 3, 10 } }));
    EXPECT_EQ(out.colorTable()[15], qRgb(150, 0, 0));
    EXPECT_EQ(out.colorTable()[16], qRgb(0, 0, 0));

    TLowBitPicture two;
    two.Width = 5;
    two.Height = 1;
    two.Bits = 2;
    two.BytesPerLine = 2;
    two.Rows = Hex("1B 80");
    two.Colors = { qRgb(9, 9, 9), qRgb(8, 8, 8), qRgb(7, 7, 7), qRgb(6, 6, 6) };
    ConvertLowBitTo8Bit(two, out);
    EXPECT_EQ(PictureRows(out), (std::vector<std::vector<int>> { { 0, 1, 2, 3, 2 } }));

    // Rows shorter than the size claims: all black and no cells copied.
    four.Rows = Hex("F3");
    ConvertLowBitTo8Bit(four, out);
    EXPECT_EQ(PictureRows(out), (std::vector<std::vector<int>> { { 0, 0, 0 } }));
    EXPECT_EQ(out.colorTable()[15], qRgb(0, 0, 0));
}

TEST(PackLowBitPicture, PacksWhatDecodersHandOver)
{
    QImage mono(10, 1, QImage::Format_MonoLSB);
    mono.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    mono.fill(0);
    mono.setPixel(0, 0, 1);
    mono.setPixel(9, 0, 1);
    TLowBitPicture packed;
    ASSERT_TRUE(PackLowBitPicture(mono, 1, packed));
    EXPECT_EQ(packed.Rows, Hex("80 40"));
    QImage out;
    ConvertLowBitTo8Bit(packed, out);
    EXPECT_EQ(PictureRows(out), (std::vector<std::vector<int>> { { 1, 0, 0, 0, 0, 0, 0, 0, 0, 1 } }));

    ASSERT_TRUE(PackLowBitPicture(MakePicture({ { 15, 3, 10 } }), 4, packed));
    EXPECT_EQ(packed.Rows, Hex("F3 A0"));
    // An index that does not fit the declared depth.
    EXPECT_FALSE(PackLowBitPicture(MakePicture({ { 16 } }), 4, packed));
    EXPECT_FALSE(PackLowBitPicture(QImage(1, 1, QImage::Format_RGB32), 4, packed));
}

namespace {

// The conversion done the plain way: count every cell, order the used cells by count
// (equal counts in key order), take the first 256 as the palette and map every pixel.
QImage referenceConvert(const QImage &src)
{
    const QImage rgb = src.convertToFormat(QImage::Format_RGB32);
    std::vector<std::pair<int, qint64>> items(4096);
    for (int k = 0; k < 4096; ++k)
        items[k] = { k, 0 };
    auto key = [](QRgb c) { return (qRed(c) >> 4 << 8) | (qGreen(c) >> 4 << 4) | (qBlue(c) >> 4); };
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            ++items[key(rgb.pixel(x, y))].second;
    std::vector<std::pair<int, qint64>> used;
    for (const auto &item : items)
        if (item.second > 0)
            used.push_back(item);
    std::stable_sort(
        used.begin(), used.end(), [](const auto &a, const auto &b) { return a.second > b.second; });
    TPalette256 pal;
    for (int i = 0; i < 256; ++i)
        pal[i] = entry(cellRgb(i < int(used.size()) ? used[i].first : 0));
    std::vector<int> indexOf(4096, -1);
    for (int i = 0; i < int(used.size()); ++i) {
        const TPaletteEntry c = entry(cellRgb(used[i].first));
        indexOf[used[i].first] = i < 256 ? i : NearestColorIndex(pal.data(), 256, c.Red, c.Green, c.Blue);
    }
    QImage out(rgb.size(), QImage::Format_Indexed8);
    SetBitmapPalette(out, pal);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            out.setPixel(x, y, uint(indexOf[key(rgb.pixel(x, y))]));
    return out;
}

// White into 255 and black into 254 or 255, the cells of overwritten entries to their
// nearest colour, the plain way.
void referenceEnsure(QImage &pic)
{
    TPalette256 old, pal;
    GetBitmapPalette(pic, old);
    pal = old;
    const bool white = PaletteHasColor(old, WhiteQuad), black = PaletteHasColor(old, BlackQuad);
    if (!white)
        pal[255] = WhiteQuad;
    if (!black)
        pal[qRgb(pal[255].Red, pal[255].Green, pal[255].Blue) == qRgb(255, 255, 255) ? 254 : 255] = BlackQuad;
    SetBitmapPalette(pic, pal);
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const TPaletteEntry o = old[pic.pixelIndex(x, y)], n = pal[pic.pixelIndex(x, y)];
            if (o.Red != n.Red || o.Green != n.Green || o.Blue != n.Blue)
                pic.setPixel(x, y, uint(NearestColorIndex(pal.data(), 256, o.Red, o.Green, o.Blue)));
        }
}

} // namespace

TEST(ConvertPictureTo8Bit, MatchesThePlainConversionOnRandomPictures)
{
    std::mt19937 random(2026);
    struct Shape {
        int width, height, colours; // colours: how many distinct pixel values (0: any)
        QImage::Format format;
    };
    // Large enough for several bands of rows, odd widths, few colours (unused entries),
    // a few hundred (nearest colours), and any colour (every cell, many equal counts).
    const Shape shapes[] = {
        { 1531, 1403, 0, QImage::Format_RGB32 },
        { 1031, 2100, 300, QImage::Format_ARGB32 },
        { 2999, 700, 5, QImage::Format_RGB32 },
        { 7, 3, 0, QImage::Format_RGB888 },
        { 1, 1, 1, QImage::Format_RGB32 },
        { 513, 9, 40, QImage::Format_RGB32 },
    };
    for (const Shape &s : shapes) {
        std::vector<QRgb> colours;
        for (int i = 0; i < s.colours; ++i)
            colours.push_back(qRgba(random() & 0xFF, random() & 0xFF, random() & 0xFF, random() & 0xFF));
        QImage src(s.width, s.height, QImage::Format_ARGB32);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                // Skewed choice, so that the counts differ.
                const std::uint32_t r = random();
                src.setPixel(x, y,
                    s.colours ? colours[(r % s.colours) * (r >> 24) / 256]
                              : qRgba(r, r >> 8, r >> 16, r >> 24));
            }
        src = src.convertToFormat(s.format);
        const QImage expected = referenceConvert(src);
        QImage dest;
        ConvertPictureTo8Bit(src, dest);
        ASSERT_EQ(dest.colorTable(), expected.colorTable()) << s.width;
        ASSERT_TRUE(dest == expected) << s.width;

        QImage ensured = expected;
        referenceEnsure(ensured);
        EnsureBlackAndWhite(dest);
        ASSERT_EQ(dest.colorTable(), ensured.colorTable()) << s.width;
        ASSERT_TRUE(dest == ensured) << s.width;
        QImage fused;
        ConvertPictureTo8BitWithBlackAndWhite(src, fused);
        ASSERT_EQ(fused.colorTable(), ensured.colorTable()) << s.width;
        ASSERT_TRUE(fused == ensured) << s.width;

        // The same written over the picture's own cells, as the loader does it.
        TPictureCells cells;
        QImage own = NewPictureOverCells(src.size(), QImage::Format_RGB32, cells);
        ASSERT_FALSE(own.isNull());
        const QImage rgb = src.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < s.height; ++y)
            std::memcpy(own.scanLine(y), rgb.constScanLine(y), std::size_t(s.width) * 4);
        QImage inPlace;
        ConvertPictureTo8BitInPlace(own, cells, inPlace);
        EXPECT_TRUE(own.isNull());
        EXPECT_FALSE(cells) << "the memory went to the result";
        ASSERT_EQ(inPlace.colorTable(), ensured.colorTable()) << s.width;
        ASSERT_TRUE(inPlace == ensured) << s.width;
        EXPECT_EQ(inPlace.bytesPerLine(), ensured.bytesPerLine());
    }
}

TEST(ConvertPictureTo8Bit, InPlaceOnlyOverCellsItAloneHolds)
{
    // Pictures the conversion cannot write over are left as they were, with their cells.
    struct Case {
        const char *name;
        QImage::Format format;
        bool shared, otherCells;
    };
    const Case cases[] = {
        { "shared with another picture", QImage::Format_RGB32, true, false },
        { "not 32-bit RGB", QImage::Format_ARGB32, false, false },
        { "over other cells", QImage::Format_RGB32, false, true },
    };
    for (const Case &c : cases) {
        TPictureCells cells;
        QImage own = NewPictureOverCells(QSize(5, 3), c.format, cells);
        own.fill(qRgb(10, 20, 30));
        const QImage copy = c.shared ? own : QImage();
        if (c.otherCells)
            own = own.copy(); // cells of Qt's own
        QImage dest = MakePicture({ { 9 } });
        ConvertPictureTo8BitInPlace(own, cells, dest);
        EXPECT_TRUE(cells) << c.name;
        EXPECT_FALSE(own.isNull()) << c.name;
        EXPECT_EQ(own.pixel(4, 2) & 0xFFFFFF, qRgb(10, 20, 30) & 0xFFFFFF) << c.name;
        EXPECT_EQ(PictureRows(dest), (std::vector<std::vector<int>> { { 9 } })) << c.name;
    }
}

// A picture large enough to be remapped on several threads, with a row count that is no
// multiple of the rows handed out at a time: every cell takes the index a one-row picture
// of all 256 indexes (remapped on one thread) gives it.
TEST(EnsureBlackAndWhite, LargePictureOnSeveralThreadsMatchesOneRow)
{
    TPalette256 pal;
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), 10, 20, 0 };
    QImage all = NewPicture(256, 1, pal);
    for (int i = 0; i < 256; ++i)
        all.scanLine(0)[i] = std::uint8_t(i);
    EnsureBlackAndWhite(all);

    QImage big = NewPicture(2100, 1601, pal);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.scanLine(y)[x] = std::uint8_t(x ^ (y * 7));
    const QImage original = big.copy();
    EnsureBlackAndWhite(big);
    EXPECT_EQ(big.colorTable(), all.colorTable());
    int wrong = 0;
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            wrong += big.constScanLine(y)[x] != all.constScanLine(0)[original.constScanLine(y)[x]];
    EXPECT_EQ(wrong, 0);
    // Something did move, or the case would show nothing.
    int moved = 0;
    for (int i = 0; i < 256; ++i)
        moved += all.constScanLine(0)[i] != i;
    EXPECT_GT(moved, 0);
}
