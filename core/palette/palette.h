#pragma once
// TPaletteEntry: palettes of 8-bit pictures.
// The palette record of every 8-bit picture, its conversions, colour counting and
// ordering, free entries, nearest-colour maps and remapping, display copies and the
// palette file. Pictures are QImage::Format_Indexed8; a cell's value is its colour index.

#include "core/base/document.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <array>
#include <bitset>
#include <cstdint>

// One 4-byte palette entry in palette order.
struct TPaletteEntry {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Flags = 0;
    bool operator==(const TPaletteEntry &) const = default;
};
static_assert(sizeof(TPaletteEntry) == 4);

struct TPaletteItem {
    std::int32_t Index = 0;
    TPaletteEntry Color;
    bool operator==(const TPaletteItem &) const = default;
};
static_assert(sizeof(TPaletteEntry) == 4);

using TOnePaletteArray = TDynArray<TPaletteItem>;
using TTwoPaletteArray = TDynArray<TOnePaletteArray>;

// A set of colour indexes, one bit per index (protected colours, transparent colours).
using TColorSet = std::bitset<256>;

// 256 entries in palette order: red, green, blue, flag.
using TPalette256 = std::array<TPaletteEntry, 256>;
// A pair list: a display order, or a colour map (item v's Index is the new index of v).
using TPalettePairs = std::array<TPaletteItem, 256>;

struct TColorCount {
    std::int32_t Index = 0;
    std::int32_t Count = 0;
};
using TColorCounts = std::array<TColorCount, 256>;

// A logical palette: 256 entries of red, green, blue, flags. Stands in for the
// platform's palette handle; nearest-colour searches run over it.
using TLogPalette = std::array<TPaletteEntry, 256>;

// The two fixed colours.
inline constexpr TPaletteEntry WhiteQuad { 255, 255, 255, 0 };
inline constexpr TPaletteEntry BlackQuad { 0, 0, 0, 0 };

// Size of a palette file and of the built-in palette resource.
constexpr int PaletteFileSize = 1106;
constexpr int PaletteHeaderSize = 82;

// --- Colour values -------------------------------------------------------------------
TColor PlainColor(const TPaletteEntry &e); // red in the low byte
TColor PaletteIndexToColor(const TPalette256 &pal, int index); // palette-relative (0x02 high byte)
TColor GetPaletteColor(const TPalette256 &pal, int index);
TColor EntryColor(const TPalette256 &pal, int index);
TColor PairColor(const TPalettePairs &pairs, int i);
TPaletteEntry ColorToEntry(TColor color); // flag 0
// A colour value (red in the low byte) as Qt's colour and back.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor &color);

// --- Nearest colour: the one shared routine ---------------------------------------------
// The entry with the smallest sum of squared red, green and blue differences; the lowest
// index among equals. Count entries are searched (1 to 256).
int NearestColorIndex(const TPaletteEntry *entries, int count, int red, int green, int blue);
inline int NearestColorIndex(const TLogPalette &pal, const TPaletteEntry &c)
{
    return NearestColorIndex(pal.data(), 256, c.Red, c.Green, c.Blue);
}

// --- Conversion and the logical palette ----------------------------------------------
void GetBitmapPalette(const QImage &bmp, TPalette256 &palette);
void SetBitmapPalette(QImage &bmp, const TPalette256 &palette);
void GetGraphicPalette(const QImage &graphic, TPalette256 &palette);
// Exchanges bytes 0 and 2 of every entry and sets byte 3 to 0.
void SwapPaletteRB(TPalette256 &palette);
TLogPalette CreatePaletteHandle(const TPalettePairs &pairs, int count);
TLogPalette PaletteToHPalette(const TPalette256 &palette);
void PaletteToPairs(const TPalette256 &palette, TPalettePairs &pairs);
void PairsToPalette(TPalette256 &palette, const TPalettePairs &pairs);
void SetPairColor(const TPalette256 &palette, int index, TPalettePairs &pairs);
void MoveColorEntry(TPalettePairs &pairs, int from, int to);

bool ColorsWithinTolerance(const TPaletteEntry &a, const TPaletteEntry &b, int tolerance);
bool PaletteHasColor(const TPalette256 &palette, const TPaletteEntry &color);
bool PairsHaveColor(const TPalettePairs &pairs, const TPaletteEntry &color);
bool PaletteHasBlackAndWhite(const TPalette256 &palette);
bool PairsHaveBlack(const TPalettePairs &pairs);
bool PairsHaveWhite(const TPalettePairs &pairs);
int FindPaletteColorIndex(TColor color, const TPalette256 &palette);
int FirstPaletteDifference(const TPalette256 &a, const TPalette256 &b);

// --- Counting and ordering the colours of a picture ------------------------------------
int CountColorUse(const QImage &bmp, TColorCounts &counts);
void SortColorCountsDesc(TColorCounts &counts);
int UsedColorPairs(TPalettePairs &pairs, const TPalette256 &palette, const TColorCounts &sortedCounts);
int SortPictureColors(const QImage &bmp, TPalettePairs &pairs, TPalette256 &palette);
int CountSortedColorPairs(const QImage &bmp, TPalettePairs &pairs, TColorCounts &counts);
void GetUsedColorsByFrequency(const QImage &bmp, const TPalette256 &palette, TColorArray &colors);
// Inclusive bounds of the cells of one index; (0, 0, 0, 0) when there is none.
void GetColorIndexBounds(const QImage &bmp, int index, TRect &r);
bool IsColumnUniform(const QImage &bmp, int col);

// --- Free entries -----------------------------------------------------------------
int FindFirstUnusedEntry(const TColorCounts &counts);
TColor PickUnusedColor(int index, TPalette256 &palette, const TColorCounts &counts);
int AllocFreePaletteColor(const QImage &bmp, TColor &newColor, TPalette256 &palette);

// --- Maps and remapping -------------------------------------------------------------
void RemapPixels(QImage &bmp, const TPalettePairs &map);
void BuildNearestMap(const TLogPalette &hpal, const TPalette256 &palette, TPalettePairs &map);
void MapPaletteToPicture(const QImage &a, const QImage &b, TPalettePairs &map);
void RemapToHPalette(const TLogPalette &hpal, QImage &bmp, const TPalette256 &palette, TPalettePairs &map);
void AdoptPalette(const QImage &a, QImage &b);

// --- Display copies -----------------------------------------------------------------
// Dest becomes an 8-bit copy of Src with Palette as its colour table. Cells keep their
// values when Palette equals Src's table; otherwise (and for a picture without a colour
// table) each cell takes the entry nearest its colour.
void BuildDisplayBitmap(QImage &dest, const QImage &src, const TPalette256 &palette);
void CopyPictureWithOwnPalette(const QImage &src, QImage &dest);

// --- New pictures -------------------------------------------------------------------
// An 8-bit picture of the given size with all cells 0 and the palette as its colour table.
QImage NewPicture(int width, int height, const TPalette256 &palette);

// --- Palette files ------------------------------------------------------------------
QByteArray EncodePaletteFile(const TPalette256 &palette);
bool SavePaletteFile(const TPalette256 &palette, const QString &fileName);
bool LoadPaletteFile(TPalette256 &palette, const QString &fileName);
bool LoadPaletteResource(TPalette256 &palette);
