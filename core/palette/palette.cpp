#include "core/palette/palette.h"

#include <algorithm>

static bool sameRgb(const TPaletteEntry &a, const TPaletteEntry &b)
{
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

// --- Colour values ---------------------------------------------------------------------

TColor PlainColor(const TPaletteEntry &e)
{
    return TColor(e.Red) | (TColor(e.Green) << 8) | (TColor(e.Blue) << 16);
}

TColor PaletteIndexToColor(const TPalette256 &pal, int index)
{
    return 0x02000000 | PlainColor(pal[index & 0xFF]);
}

TColor GetPaletteColor(const TPalette256 &pal, int index)
{
    return PaletteIndexToColor(pal, index);
}
TColor EntryColor(const TPalette256 &pal, int index)
{
    return PaletteIndexToColor(pal, index);
}
TColor PairColor(const TPalettePairs &pairs, int i)
{
    return 0x02000000 | PlainColor(pairs[i & 0xFF].Color);
}

QColor ToQColor(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor FromQColor(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

TPaletteEntry ColorToEntry(TColor color)
{
    return { std::uint8_t(color & 0xFF), std::uint8_t((color >> 8) & 0xFF),
        std::uint8_t((color >> 16) & 0xFF), 0 };
}

// --- Nearest colour ----------------------------------------------------------------------

int NearestColorIndex(const TPaletteEntry *entries, int count, int red, int green, int blue)
{
    int best = 0;
    int bestDist = INT32_MAX;
    for (int i = 0; i < count; ++i) {
        const int dr = entries[i].Red - red, dg = entries[i].Green - green, db = entries[i].Blue - blue;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}

// --- Conversion and the logical palette ---------------------------------------------------

void GetBitmapPalette(const QImage &bmp, TPalette256 &palette)
{
    const QList<QRgb> table = bmp.colorTable();
    for (int i = 0; i < 256; ++i) {
        if (i < table.size())
            palette[i] = { std::uint8_t(qRed(table[i])), std::uint8_t(qGreen(table[i])),
                std::uint8_t(qBlue(table[i])), 0 };
        else
            palette[i] = { 0, 0, 0, 0 };
    }
}

void SetBitmapPalette(QImage &bmp, const TPalette256 &palette)
{
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = qRgb(palette[i].Red, palette[i].Green, palette[i].Blue);
    bmp.setColorTable(table);
}

void GetGraphicPalette(const QImage &graphic, TPalette256 &palette)
{
    GetBitmapPalette(graphic, palette);
}

void SwapPaletteRB(TPalette256 &palette)
{
    for (auto &e : palette) {
        std::swap(e.Red, e.Blue);
        e.Flags = 0;
    }
}

TLogPalette CreatePaletteHandle(const TPalettePairs &pairs, int count)
{
    TLogPalette out;
    count = std::clamp(count, 1, 256);
    for (int i = 0; i < 256; ++i) {
        out[i] = pairs[i % count].Color;
        out[i].Flags = 0;
    }
    return out;
}

TLogPalette PaletteToHPalette(const TPalette256 &palette)
{
    TPalettePairs pairs;
    PaletteToPairs(palette, pairs);
    return CreatePaletteHandle(pairs, 256);
}

void PaletteToPairs(const TPalette256 &palette, TPalettePairs &pairs)
{
    for (int i = 0; i < 256; ++i)
        pairs[i] = { i, palette[i] };
}

void PairsToPalette(TPalette256 &palette, const TPalettePairs &pairs)
{
    for (const auto &p : pairs)
        if (p.Index >= 0 && p.Index < 256)
            palette[p.Index] = p.Color;
}

void SetPairColor(const TPalette256 &palette, int index, TPalettePairs &pairs)
{
    if (index < 0 || index > 255)
        return;
    for (auto &p : pairs)
        if (p.Index == index) {
            p.Color = palette[index];
            return;
        }
}

void MoveColorEntry(TPalettePairs &pairs, int from, int to)
{
    if (from < 0 || to > 256 || from >= to - 1)
        return;
    std::rotate(pairs.begin() + from, pairs.begin() + from + 1, pairs.begin() + to);
}

bool ColorsWithinTolerance(const TPaletteEntry &a, const TPaletteEntry &b, int tolerance)
{
    return std::abs(a.Red - b.Red) <= tolerance && std::abs(a.Green - b.Green) <= tolerance
        && std::abs(a.Blue - b.Blue) <= tolerance;
}

bool PaletteHasColor(const TPalette256 &palette, const TPaletteEntry &color)
{
    return std::any_of(
        palette.begin(), palette.end(), [&](const TPaletteEntry &e) { return sameRgb(e, color); });
}

bool PairsHaveColor(const TPalettePairs &pairs, const TPaletteEntry &color)
{
    return std::any_of(
        pairs.begin(), pairs.end(), [&](const TPaletteItem &p) { return sameRgb(p.Color, color); });
}

bool PaletteHasBlackAndWhite(const TPalette256 &palette)
{
    return PaletteHasColor(palette, WhiteQuad) && PaletteHasColor(palette, BlackQuad);
}

bool PairsHaveBlack(const TPalettePairs &pairs)
{
    return PairsHaveColor(pairs, BlackQuad);
}
bool PairsHaveWhite(const TPalettePairs &pairs)
{
    return PairsHaveColor(pairs, WhiteQuad);
}

int FindPaletteColorIndex(TColor color, const TPalette256 &palette)
{
    if (color < 0)
        return -1;
    const TPaletteEntry c = ColorToEntry(color);
    for (int i = 0; i < 256; ++i)
        if (sameRgb(palette[i], c))
            return i;
    return -1;
}

int FirstPaletteDifference(const TPalette256 &a, const TPalette256 &b)
{
    for (int i = 0; i < 256; ++i)
        if (!sameRgb(a[i], b[i]))
            return i;
    return 0;
}

// --- Maps and remapping ------------------------------------------------------------------

void RemapPixels(QImage &bmp, const TPalettePairs &map)
{
    std::uint8_t lut[256];
    for (int i = 0; i < 256; ++i)
        lut[i] = std::uint8_t(map[i].Index & 0xFF);
    const int w = bmp.width();
    for (int y = 0, h = bmp.height(); y < h; ++y) {
        std::uint8_t *row = bmp.scanLine(y);
        for (int x = 0; x < w; ++x)
            row[x] = lut[row[x]];
    }
}

void BuildNearestMap(const TLogPalette &hpal, const TPalette256 &palette, TPalettePairs &map)
{
    for (int i = 0; i < 256; ++i)
        map[i].Index = NearestColorIndex(hpal, palette[i]);
}

void MapPaletteToPicture(const QImage &a, const QImage &b, TPalettePairs &map)
{
    TPalette256 pa, pb;
    GetBitmapPalette(a, pa);
    GetBitmapPalette(b, pb);
    BuildNearestMap(PaletteToHPalette(pa), pb, map);
}

void RemapToHPalette(const TLogPalette &hpal, QImage &bmp, const TPalette256 &palette, TPalettePairs &map)
{
    TPalette256 current;
    GetBitmapPalette(bmp, current);
    BuildNearestMap(hpal, current, map);
    SetBitmapPalette(bmp, palette);
    RemapPixels(bmp, map);
}

void AdoptPalette(const QImage &a, QImage &b)
{
    TPalettePairs map;
    PaletteToPairs(TPalette256 {}, map);
    MapPaletteToPicture(a, b, map);
    TPalette256 pa;
    GetBitmapPalette(a, pa);
    SetBitmapPalette(b, pa);
    RemapPixels(b, map);
}

// --- Display copies ----------------------------------------------------------------------

void BuildDisplayBitmap(QImage &dest, const QImage &src, const TPalette256 &palette)
{
    if (src.format() != QImage::Format_Indexed8) {
        // A picture without a colour table: every pixel takes its nearest palette entry.
        const QImage rgb = src.convertToFormat(QImage::Format_RGB32);
        dest = QImage(src.size(), QImage::Format_Indexed8);
        SetBitmapPalette(dest, palette);
        const TLogPalette hpal = PaletteToHPalette(palette);
        for (int y = 0, h = rgb.height(); y < h; ++y) {
            const QRgb *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
            std::uint8_t *out = dest.scanLine(y);
            QRgb last = 0;
            std::uint8_t lastIndex = 0;
            for (int x = 0, w = rgb.width(); x < w; ++x) {
                if (x == 0 || in[x] != last) {
                    last = in[x];
                    lastIndex = std::uint8_t(
                        NearestColorIndex(hpal.data(), 256, qRed(last), qGreen(last), qBlue(last)));
                }
                out[x] = lastIndex;
            }
        }
        return;
    }
    dest = src.copy();
    TPalette256 own;
    GetBitmapPalette(src, own);
    bool same = true;
    for (int i = 0; i < 256 && same; ++i)
        same = sameRgb(own[i], palette[i]);
    SetBitmapPalette(dest, palette);
    if (!same) {
        TPalettePairs map;
        PaletteToPairs(palette, map);
        BuildNearestMap(PaletteToHPalette(palette), own, map);
        RemapPixels(dest, map);
    }
}

void CopyPictureWithOwnPalette(const QImage &src, QImage &dest)
{
    TPalette256 own;
    GetBitmapPalette(src, own);
    BuildDisplayBitmap(dest, src, own);
}

QImage NewPicture(int width, int height, const TPalette256 &palette)
{
    QImage img(width, height, QImage::Format_Indexed8);
    if (img.isNull())
        return img;
    SetBitmapPalette(img, palette);
    img.fill(0);
    return img;
}
