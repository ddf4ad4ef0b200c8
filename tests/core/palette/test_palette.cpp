#include "core/palette/palette.h"
#include "testutil.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {
TPalette256 numberedPalette()
{
    TPalette256 p;
    for (int i = 0; i < 256; ++i)
        p[i] = { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), std::uint8_t(i ^ 0x5A) };
    return p;
}
} // namespace

TEST(PaletteFile, ExactBytesAndRoundTripWithFlags)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pal");
    const TPalette256 pal = numberedPalette();
    ASSERT_TRUE(SavePaletteFile(pal, path));

    const QByteArray bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 1106);
    EXPECT_EQ(bytes[0], char(26));
    EXPECT_EQ(bytes.mid(1, 26), QByteArray("Tirlomax Color File Header"));
    EXPECT_EQ(bytes.mid(27, 38), QByteArray(38, '\0'));
    EXPECT_EQ(bytes[65], char(4));
    EXPECT_EQ(bytes.mid(66, 4), QByteArray("1.00"));
    EXPECT_EQ(bytes.mid(70, 12), QByteArray(12, '\0'));
    EXPECT_EQ(bytes.mid(82, 4), Hex("00 FF 00 5A"));
    EXPECT_EQ(bytes.mid(82 + 4 * 255, 4), Hex("FF 00 F9 A5"));

    TPalette256 back {};
    ASSERT_TRUE(LoadPaletteFile(back, path));
    EXPECT_EQ(back, pal);
}

TEST(PaletteFile, ShortFileKeepsTheRestAndMissingFileFails)
{
    QTemporaryDir dir;
    const TPalette256 pal = numberedPalette();
    QByteArray bytes = EncodePaletteFile(pal).left(82 + 4 * 3 + 2); // three entries and a half
    ASSERT_TRUE(WriteAll(dir.filePath("short.pal"), bytes));
    TPalette256 back = GreyPalette();
    EXPECT_TRUE(LoadPaletteFile(back, dir.filePath("short.pal")));
    EXPECT_EQ(back[2], pal[2]);
    EXPECT_EQ(back[3].Red, pal[3].Red);
    EXPECT_EQ(back[3].Blue, 3) << "bytes past the end keep their values";
    EXPECT_EQ(back[4], GreyPalette()[4]);

    TPalette256 untouched = GreyPalette();
    EXPECT_FALSE(LoadPaletteFile(untouched, dir.filePath("missing.pal")));
    EXPECT_EQ(untouched, GreyPalette());
    EXPECT_FALSE(SavePaletteFile(pal, dir.filePath("no/such/folder/x.pal")));
}

TEST(PaletteFile, BuiltInDefaultPalette)
{
    TPalette256 pal {};
    ASSERT_TRUE(LoadPaletteResource(pal));
    EXPECT_EQ(pal[0], (TPaletteEntry { 0, 0, 0, 0 }));
    EXPECT_EQ(pal[8], (TPaletteEntry { 255, 255, 255, 0 }));
    const TPaletteEntry last[10] = { { 255, 251, 240, 0 }, { 160, 160, 164, 0 }, { 128, 128, 128, 0 },
        { 255, 0, 0, 0 }, { 0, 255, 0, 0 }, { 255, 255, 0, 0 }, { 0, 0, 255, 0 }, { 255, 0, 255, 0 },
        { 0, 255, 255, 0 }, { 255, 255, 255, 0 } };
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(pal[246 + i], last[i]) << 246 + i;
    std::set<std::uint32_t> distinct;
    for (const auto &e : pal)
        distinct.insert(PlainColor(e));
    EXPECT_EQ(distinct.size(), 253u);
}

TEST(Palette, SortColorCountsTiesKeepTheLowerIndexFirst)
{
    TColorCounts counts;
    for (int i = 0; i < 256; ++i)
        counts[i] = { i, 0 };
    counts[0].Count = 5;
    counts[1].Count = 9;
    counts[2].Count = 9;
    SortColorCountsDesc(counts);
    EXPECT_EQ(counts[0].Index, 1);
    EXPECT_EQ(counts[1].Index, 2);
    EXPECT_EQ(counts[2].Index, 0);
}

TEST(Palette, CountAndSortPictureColours)
{
    const QImage img = MakePicture({ { 3, 3, 7 }, { 7, 7, 1 } });
    TColorCounts counts;
    EXPECT_EQ(CountColorUse(img, counts), 3);
    EXPECT_EQ(counts[7].Count, 3);
    EXPECT_EQ(counts[3].Count, 2);

    TPalettePairs pairs;
    TPalette256 pal;
    EXPECT_EQ(SortPictureColors(img, pairs, pal), 3);
    EXPECT_EQ(pairs[0].Index, 7);
    EXPECT_EQ(pairs[1].Index, 3);
    EXPECT_EQ(pairs[2].Index, 1);
    EXPECT_EQ(pal[7], (TPaletteEntry { 7, 7, 7, 0 }));
    EXPECT_EQ(pal[200], (TPaletteEntry { 0, 0, 0, 0 })) << "unused entries become black";

    TColorArray colors;
    GetUsedColorsByFrequency(img, numberedPalette(), colors);
    ASSERT_EQ(colors.length(), 3);
    EXPECT_EQ(colors[0], PlainColor(numberedPalette()[7]));
}

TEST(Palette, PickUnusedColor)
{
    TPalette256 pal {};
    TColorCounts counts;
    for (int i = 0; i < 256; ++i)
        counts[i] = { i, 0 };
    // Used entries with red 0..200, green 126 and 127 only, blue 0 only.
    for (int i = 0; i <= 200; ++i) {
        pal[i] = { std::uint8_t(i), std::uint8_t(126 + (i % 2)), 0, 0 };
        counts[i].Count = 1;
    }
    const TColor c = PickUnusedColor(230, pal, counts);
    EXPECT_EQ(pal[230], (TPaletteEntry { 201, 128, 126, 0 }));
    EXPECT_EQ(c, 0x02000000 | (126 << 16) | (128 << 8) | 201);

    TPalette256 before = pal;
    EXPECT_EQ(PickUnusedColor(-1, pal, counts), 0);
    EXPECT_EQ(pal, before);

    // A channel with every value above 125 taken falls back downwards.
    for (int i = 0; i < 130; ++i) {
        pal[i] = { std::uint8_t(126 + i), 0, 0, 0 };
        counts[i].Count = 1;
    }
    for (int i = 130; i < 256; ++i)
        counts[i].Count = 0;
    PickUnusedColor(200, pal, counts);
    EXPECT_EQ(pal[200].Red, 125);
}

TEST(Palette, AllocFreePaletteColorOnFullPicture)
{
    QImage img = NewPicture(16, 16, GreyPalette());
    for (int i = 0; i < 256; ++i)
        img.scanLine(i / 16)[i % 16] = std::uint8_t(i);
    TColor newColor = 0;
    TPalette256 pal;
    EXPECT_EQ(AllocFreePaletteColor(img, newColor, pal), -1);
    EXPECT_EQ(newColor, 0);

    img.scanLine(0)[5] = 0; // index 5 is now free
    EXPECT_EQ(AllocFreePaletteColor(img, newColor, pal), 5);
    EXPECT_NE(newColor, 0);
    TPalette256 own;
    GetBitmapPalette(img, own);
    EXPECT_EQ(own[5], (TPaletteEntry { 5, 5, 5, 0 })) << "the picture's own table is not changed";
}

TEST(Palette, ColorIndexBounds)
{
    QImage img = NewPicture(10, 10, GreyPalette());
    img.scanLine(7)[4] = 9;
    TRect r;
    GetColorIndexBounds(img, 9, r);
    EXPECT_EQ(r, (TRect { 4, 7, 4, 7 }));
    GetColorIndexBounds(img, 42, r);
    EXPECT_EQ(r, (TRect { 0, 0, 0, 0 }));
}

TEST(Palette, FindColorIndexAndDuplicates)
{
    TPalette256 pal = GreyPalette();
    pal[3] = { 10, 20, 30, 0 };
    pal[9] = { 10, 20, 30, 0 };
    EXPECT_EQ(FindPaletteColorIndex(0x1E140A, pal), 3);
    EXPECT_EQ(FindPaletteColorIndex(0x02000000 | 0x1E140A, pal), 3)
        << "palette-relative values compare by RGB";
    EXPECT_EQ(FindPaletteColorIndex(TColor(0x80000005), pal), -1) << "system colours are never found";
    EXPECT_EQ(FindPaletteColorIndex(0x010203, pal), -1);
    EXPECT_EQ(FirstPaletteDifference(pal, pal), 0);
    TPalette256 other = pal;
    other[77].Green ^= 1;
    EXPECT_EQ(FirstPaletteDifference(pal, other), 77);
}

TEST(Palette, NearestColourTakesTheLowestIndexAmongEquals)
{
    TPalette256 pal {};
    pal[0] = { 0, 0, 0, 0 };
    pal[1] = { 10, 0, 0, 0 };
    pal[2] = { 0, 10, 0, 0 }; // equally far from (5, 5, 0) as entry 1
    pal[3] = { 10, 0, 0, 0 }; // duplicate of 1
    const TLogPalette hpal = PaletteToHPalette(pal);
    EXPECT_EQ(NearestColorIndex(hpal, { 5, 5, 0, 0 }), 0) << "black: 50, entries 1 and 2: 50 each";
    EXPECT_EQ(NearestColorIndex(hpal, { 6, 5, 0, 0 }), 1);
    EXPECT_EQ(NearestColorIndex(hpal, { 10, 0, 0, 0 }), 1) << "an exact colour maps to its first entry";

    // Duplicate colours merge into the first through a map.
    QImage a = NewPicture(1, 1, pal);
    QImage b = MakePicture({ { 3, 1, 2 } }, pal);
    AdoptPalette(a, b);
    EXPECT_EQ(PictureRows(b), (std::vector<std::vector<int>> { { 1, 1, 2 } }));
}

TEST(Palette, RemapAndDisplayCopies)
{
    QImage img = MakePicture({ { 0, 1, 2 } });
    TPalettePairs map;
    for (int i = 0; i < 256; ++i)
        map[i].Index = 255 - i;
    RemapPixels(img, map);
    EXPECT_EQ(PictureRows(img), (std::vector<std::vector<int>> { { 255, 254, 253 } }));

    QImage copy;
    CopyPictureWithOwnPalette(img, copy);
    EXPECT_EQ(PictureRows(copy), PictureRows(img));
    EXPECT_EQ(copy.colorTable(), img.colorTable());
}

TEST(Palette, PairsAndMoves)
{
    TPalettePairs pairs;
    PaletteToPairs(GreyPalette(), pairs);
    MoveColorEntry(pairs, 2, 6);
    const int order[] = { 0, 1, 3, 4, 5, 2, 6 };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(pairs[i].Index, order[i]);
    TPalette256 pal = GreyPalette();
    pal[4] = { 1, 2, 3, 0 };
    SetPairColor(pal, 4, pairs);
    EXPECT_EQ(pairs[3].Color, (TPaletteEntry { 1, 2, 3, 0 }));
    EXPECT_TRUE(ColorsWithinTolerance({ 10, 10, 10, 0 }, { 12, 8, 10, 0 }, 2));
    EXPECT_FALSE(ColorsWithinTolerance({ 10, 10, 10, 0 }, { 13, 10, 10, 0 }, 2));
    EXPECT_TRUE(PaletteHasBlackAndWhite(GreyPalette()));
}

TEST(Palette, IsColumnUniformComparesColours)
{
    TPalette256 pal = GreyPalette();
    pal[5] = pal[6];
    EXPECT_TRUE(IsColumnUniform(MakePicture({ { 5, 0 }, { 6, 1 } }, pal), 0));
    EXPECT_FALSE(IsColumnUniform(MakePicture({ { 5, 0 }, { 6, 1 } }, pal), 1));
    EXPECT_TRUE(IsColumnUniform(MakePicture({ { 5, 0 } }, pal), 1));
}

namespace {
// Black at 0, white at 1, a dark grey at 2, black everywhere else.
TPalette256 threeColourPalette()
{
    TPalette256 p {};
    p[1] = { 255, 255, 255, 0 };
    p[2] = { 90, 90, 90, 0 };
    return p;
}
} // namespace

TEST(Palette, DisplayCopyMatchesColoursOfAnotherTable)
{
    // Grey 100 is 300 from the dark grey, 30000 from black: it takes entry 2.
    const TPalette256 pal = threeColourPalette();
    QImage dest(7, 7, QImage::Format_RGB32);
    BuildDisplayBitmap(dest, MakePicture({ { 0, 100, 255 } }), pal);
    EXPECT_EQ(dest.format(), QImage::Format_Indexed8);
    EXPECT_EQ(PictureRows(dest), (std::vector<std::vector<int>> { { 0, 2, 1 } }));
    TPalette256 table;
    GetBitmapPalette(dest, table);
    EXPECT_EQ(table, pal);

    // A picture without a colour table is matched pixel by pixel.
    QImage rgb(3, 2, QImage::Format_RGB32);
    const QRgb px[] = { qRgb(0, 0, 0), qRgb(100, 100, 100), qRgb(255, 255, 255) };
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            rgb.setPixel(x, y, px[(x + y) % 3]);
    BuildDisplayBitmap(dest, rgb, pal);
    EXPECT_EQ(PictureRows(dest), (std::vector<std::vector<int>> { { 0, 2, 1 }, { 2, 1, 0 } }));
}

TEST(Palette, MapsOntoAnotherPalette)
{
    const TPalette256 pal = threeColourPalette();
    const QImage a = NewPicture(1, 1, pal);
    QImage b = MakePicture({ { 0, 100, 255 } });
    TPalettePairs map;
    MapPaletteToPicture(a, b, map);
    EXPECT_EQ(map[0].Index, 0);
    EXPECT_EQ(map[100].Index, 2);
    EXPECT_EQ(map[255].Index, 1);
    EXPECT_EQ(map[200].Index, 1) << "grey 200: white 9075, dark grey 36300";

    RemapToHPalette(PaletteToHPalette(pal), b, pal, map);
    EXPECT_EQ(PictureRows(b), (std::vector<std::vector<int>> { { 0, 2, 1 } }));
    TPalette256 table;
    GetBitmapPalette(b, table);
    EXPECT_EQ(table, pal);
}

TEST(Palette, SortedPairsFollowTheSelectionSortExchanges)
{
    // Counts 1 at index 1, 2 at 3, 3 at 7. The exchanges of the selection sort leave the
    // unused indexes 2, 4, 5, 6, 0, 8, ... behind the used ones (0 was exchanged with 7).
    const TPalette256 pal = numberedPalette();
    const QImage img = MakePicture({ { 3, 3, 7 }, { 7, 7, 1 } }, pal);
    TPalettePairs pairs;
    TColorCounts counts;
    EXPECT_EQ(CountSortedColorPairs(img, pairs, counts), 3);
    const int order[] = { 7, 3, 1, 2, 4, 5, 6, 0, 8 };
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(pairs[i].Index, order[i]) << i;
    EXPECT_EQ(pairs[1].Color, (TPaletteEntry { 3, 252, 21, 0 })) << "colours come from the colour table";
    EXPECT_EQ(pairs[3].Color, (TPaletteEntry { 0, 0, 0, 0 })) << "unused colours are black";
    EXPECT_EQ(counts[0].Count, 3);
    EXPECT_EQ(counts[7].Index, 0);
    EXPECT_EQ(counts[7].Count, 0);
}

TEST(Palette, LogicalPaletteAndByteOrder)
{
    TPalettePairs pairs;
    PaletteToPairs(numberedPalette(), pairs);
    const TLogPalette hpal = CreatePaletteHandle(pairs, 3);
    EXPECT_EQ(hpal[4], (TPaletteEntry { 1, 254, 7, 0 })) << "entry 4 repeats pair 1 with flag 0";
    EXPECT_EQ(hpal[255], (TPaletteEntry { 0, 255, 0, 0 }));

    TPalette256 pal = numberedPalette();
    SwapPaletteRB(pal);
    EXPECT_EQ(pal[3], (TPaletteEntry { 21, 252, 3, 0 }));
}

TEST(PaletteFile, TruncatedHeaderAndOversizedFile)
{
    QTemporaryDir dir;
    const TPalette256 pal = numberedPalette();
    const QByteArray full = EncodePaletteFile(pal);
    for (int size : { 0, 40, 82 }) {
        ASSERT_TRUE(WriteAll(dir.filePath("t.pal"), full.left(size)));
        TPalette256 back = GreyPalette();
        EXPECT_TRUE(LoadPaletteFile(back, dir.filePath("t.pal"))) << size;
        EXPECT_EQ(back, GreyPalette()) << size;
    }
    ASSERT_TRUE(WriteAll(dir.filePath("long.pal"), full + QByteArray(50, '\x7f')));
    TPalette256 back = GreyPalette();
    EXPECT_TRUE(LoadPaletteFile(back, dir.filePath("long.pal")));
    EXPECT_EQ(back, pal);

    back = GreyPalette();
    EXPECT_FALSE(LoadPaletteFile(back, dir.path())) << "a folder is not a palette file";
    EXPECT_EQ(back, GreyPalette());
}
