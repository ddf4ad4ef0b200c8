#include "core/decode/pictureconvert.h"

#include "core/base/progress.h"
#include "core/base/rowchunks.h"
#include "core/palette/palette.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>
#include <vector>

namespace {

struct TCellCount {
    int Key = 0;
    qint64 Count = 0;
};

constexpr int CellCount = 4096;
using TCellTotals = std::array<qint64, CellCount>;
using TCellIndexes = std::array<std::uint8_t, CellCount>;

// Pixels a row band must have before another thread pays for itself.
constexpr qint64 PixelsPerBand = qint64(1) << 20;

// The colour a cell key stands for: each nibble times 16 plus 7.
TPaletteEntry cellColor(int key)
{
    return { std::uint8_t(((key >> 8) & 0xF) * 16 + 7), std::uint8_t(((key >> 4) & 0xF) * 16 + 7),
        std::uint8_t((key & 0xF) * 16 + 7), 0 };
}

// Red bits 20-23, green bits 12-15 and blue bits 4-7 of 0xAARRGGBB.
inline std::uint32_t cellKey(QRgb c)
{
    return ((c >> 12) & 0xF00) | ((c >> 8) & 0xF0) | ((c >> 4) & 0xF);
}

bool sameRgb(const TPaletteEntry &a, const TPaletteEntry &b)
{
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

// Row bands for a picture: one per PixelsPerBand pixels, at most one per core and 8.
int bandCount(qint64 width, qint64 height)
{
    const qint64 cores = std::max(1u, std::thread::hardware_concurrency());
    return int(std::clamp<qint64>(width * height / PixelsPerBand, 1, std::min({ cores, qint64(8), height })));
}

// Runs work(firstRow, endRow, band) on `bands` bands of rows, band 0 in the calling
// thread (which alone may report progress). A thread that cannot be started leaves its
// band to the calling thread.
template <class Work> void runBands(int height, int bands, const Work &work)
{
    auto start = [&](int b) { return int(qint64(height) * b / bands); };
    std::vector<std::thread> threads;
    std::vector<int> leftOver;
    for (int b = 1; b < bands; ++b) {
        try {
            threads.emplace_back([&work, &start, b] { work(start(b), start(b + 1), b); });
        } catch (const std::system_error &) {
            leftOver.push_back(b);
        }
    }
    work(0, start(1), 0);
    for (int b : leftOver)
        work(start(b), start(b + 1), b);
    for (std::thread &t : threads)
        t.join();
}

// Adds the pixels of rows first..end-1 to totals, per cell key. Four tables, one per
// pixel position modulo 4, keep runs of one colour from waiting on the same counter;
// they are folded into totals before any counter could overflow.
void countRows(const QImage &rgb, int first, int end, TCellTotals &totals)
{
    const int width = rgb.width();
    std::vector<std::uint32_t> counts(4 * CellCount, 0);
    std::uint32_t *c0 = counts.data(), *c1 = c0 + CellCount, *c2 = c1 + CellCount, *c3 = c2 + CellCount;
    auto fold = [&] {
        for (int k = 0; k < CellCount; ++k) {
            totals[k] += qint64(c0[k]) + c1[k] + c2[k] + c3[k];
            c0[k] = c1[k] = c2[k] = c3[k] = 0;
        }
    };
    qint64 sinceFold = 0;
    for (int y = first; y < end; ++y) {
        if (sinceFold + width > qint64(UINT32_MAX)) {
            fold();
            sinceFold = 0;
        }
        sinceFold += width;
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        int x = 0;
        for (; x + 4 <= width; x += 4) {
            ++c0[cellKey(row[x])];
            ++c1[cellKey(row[x + 1])];
            ++c2[cellKey(row[x + 2])];
            ++c3[cellKey(row[x + 3])];
        }
        for (; x < width; ++x)
            ++c0[cellKey(row[x])];
    }
    fold();
}

// The pixel count of every cell of a 32-bit picture.
TCellTotals countCells(const QImage &rgb)
{
    const int bands = bandCount(rgb.width(), rgb.height());
    std::vector<TCellTotals> perBand(bands);
    for (TCellTotals &t : perBand)
        t.fill(0);
    runBands(rgb.height(), bands,
        [&](int first, int end, int band) { countRows(rgb, first, end, perBand[band]); });
    TCellTotals totals = perBand[0];
    for (int b = 1; b < bands; ++b)
        for (int k = 0; k < CellCount; ++k)
            totals[k] += perBand[b][k];
    return totals;
}

// The palette of the most frequent cells and the index of every used cell.
void buildCellPalette(const TCellTotals &totals, TPalette256 &palette, TCellIndexes &indexOf)
{
    // A table of 4097 items; the used cells move, in key order, to the front and the
    // rest become (0, 0).
    std::vector<TCellCount> items(CellCount + 1);
    int n = 0;
    for (int k = 0; k < CellCount; ++k)
        if (totals[k] > 0)
            items[n++] = { k, totals[k] };
    // Most frequent first; equal counts keep key order.
    std::stable_sort(items.begin(), items.begin() + n,
        [](const TCellCount &a, const TCellCount &b) { return a.Count > b.Count; });
    for (int i = 0; i < 256; ++i)
        palette[i] = cellColor(items[i].Key);
    indexOf.fill(0);
    for (int i = 0; i < n && i < 256; ++i)
        indexOf[items[i].Key] = std::uint8_t(i);
    for (int i = 256; i < n; ++i) {
        const TPaletteEntry c = cellColor(items[i].Key);
        indexOf[items[i].Key] = std::uint8_t(NearestColorIndex(palette.data(), 256, c.Red, c.Green, c.Blue));
    }
}

// Writes the index of every pixel's cell into out, band by band; the calling thread's
// band steps the progress gauge.
void mapCells(const QImage &rgb, const TCellIndexes &indexOf, QImage &out)
{
    const int width = rgb.width(), height = rgb.height();
    // Row addresses are taken here, so that no thread touches the pictures' sharing.
    std::uint8_t *destBits = out.bits();
    const qsizetype destStride = out.bytesPerLine();
    const int bands = bandCount(width, height);
    ShowProgressGauge();
    runBands(height, bands, [&](int first, int end, int band) {
        TProgressSteps progress(end - first);
        for (int y = first; y < end; ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
            std::uint8_t *d = destBits + y * destStride;
            for (int x = 0; x < width; ++x)
                d[x] = indexOf[cellKey(row[x])];
            if (band == 0)
                progress.step(y + 1 - first);
        }
        if (band == 0)
            progress.finish();
    });
}

// mapCells for cells that are their own destination: 32-bit source rows of srcStride
// bytes and 8-bit rows of destStride (at most srcStride) bytes from the same address.
// An 8-bit row only covers source rows up to its own, so rows go in waves: the first
// few rows in order on one thread, then, while the picture's rows are read, each wave
// takes the rows whose 8-bit rows cover only source rows that earlier waves have read,
// about three times as many rows as were done before it, in bands on several threads.
void mapCellsInPlace(std::uint8_t *cells, int width, int height, qsizetype srcStride, qsizetype destStride,
    const TCellIndexes &indexOf)
{
    auto mapRow = [&](int y) {
        const auto *row = reinterpret_cast<const QRgb *>(cells + y * srcStride);
        std::uint8_t *d = cells + y * destStride;
        // Cell x is written after pixel x is read, and over pixels up to x only.
        for (int x = 0; x < width; ++x)
            d[x] = indexOf[cellKey(row[x])];
    };
    auto mapRows = [&](int first, int end) {
        for (int y = first; y < end; ++y)
            mapRow(y);
    };
    ShowProgressGauge();
    TProgressSteps progress(height);
    const int bands = bandCount(width, height);
    int done = bands > 1 ? std::max(1, height / 64) : height;
    mapRows(0, done);
    progress.step(done);
    while (done < height) {
        // The last 8-bit row of the wave ends before the source row `done` begins.
        const qint64 fits = (qint64(done) * srcStride - width) / destStride + 1;
        const int end = int(std::clamp<qint64>(fits, done + 1, height));
        const int rows = end - done;
        // Within a wave the order does not matter; last row first, so that a wave too
        // large could not go unnoticed.
        runBands(rows, std::min(bands, rows), [&](int first, int last, int) {
            for (int y = done + last - 1; y >= done + first; --y)
                mapRow(y);
        });
        done = end;
        progress.step(done);
    }
    progress.finish();
}

// The palette with pure white and black ensured, and where each old entry's cells go.
// False when the palette already holds both.
bool blackAndWhiteMap(const TPalette256 &old, TPalette256 &palette, std::array<std::uint8_t, 256> &map)
{
    const bool hasWhite = PaletteHasColor(old, WhiteQuad);
    const bool hasBlack = PaletteHasColor(old, BlackQuad);
    if (hasWhite && hasBlack)
        return false;
    palette = old;
    if (!hasWhite)
        palette[255] = WhiteQuad;
    if (!hasBlack) {
        if (sameRgb(palette[255], WhiteQuad))
            palette[254] = BlackQuad;
        else
            palette[255] = BlackQuad;
    }
    // Only the cells of overwritten entries move; the others keep their index, so
    // duplicate entries survive.
    for (int i = 0; i < 256; ++i)
        map[i] = sameRgb(old[i], palette[i])
            ? std::uint8_t(i)
            : std::uint8_t(NearestColorIndex(palette.data(), 256, old[i].Red, old[i].Green, old[i].Blue));
    return true;
}

// The palette of a 32-bit picture and the entry of each cell key, with white and black
// ensured when blackAndWhite is set.
void cellPalette(const QImage &rgb, bool blackAndWhite, TPalette256 &palette, TCellIndexes &indexOf)
{
    buildCellPalette(countCells(rgb), palette, indexOf);
    if (blackAndWhite) {
        // The cells' final entries, composed before the one pass over the pixels.
        TPalette256 ensured;
        std::array<std::uint8_t, 256> map;
        if (blackAndWhiteMap(palette, ensured, map)) {
            for (std::uint8_t &index : indexOf)
                index = map[index];
            palette = ensured;
        }
    }
}

// The 8-bit picture of src, with white and black ensured when blackAndWhite is set.
void convertTo8Bit(const QImage &src, QImage &dest, bool blackAndWhite)
{
    if (src.isNull() || src.width() < 1 || src.height() < 1 || src.format() == QImage::Format_Indexed8)
        return;
    const QImage rgb = src.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return;
    TPalette256 palette;
    TCellIndexes indexOf;
    cellPalette(rgb, blackAndWhite, palette, indexOf);
    QImage out(rgb.width(), rgb.height(), QImage::Format_Indexed8);
    if (out.isNull())
        return;
    SetBitmapPalette(out, palette);
    mapCells(rgb, indexOf, out);
    dest = out;
}

} // namespace

void ConvertPictureTo8Bit(const QImage &src, QImage &dest)
{
    convertTo8Bit(src, dest, false);
}

void ConvertPictureTo8BitWithBlackAndWhite(const QImage &src, QImage &dest)
{
    convertTo8Bit(src, dest, true);
}

void ConvertPictureTo8BitInPlace(QImage &src, TPictureCells &cells, QImage &dest)
{
    const int width = src.width(), height = src.height();
    if (!cells || src.isNull() || width < 1 || height < 1 || src.format() != QImage::Format_RGB32
        || src.constBits() != cells.get() || src.bytesPerLine() != qsizetype(width) * 4 || !src.isDetached())
        return;
    TPalette256 palette;
    TCellIndexes indexOf;
    cellPalette(src, true, palette, indexOf);
    const qsizetype destStride = (qsizetype(width) + 3) & ~qsizetype(3); // as QImage lays out 8-bit rows
    mapCellsInPlace(cells.get(), width, height, src.bytesPerLine(), destStride, indexOf);
    src = QImage();
    // Shrinking gives the rest back to the system, mostly without moving the cells.
    uchar *bits
        = static_cast<uchar *>(std::realloc(cells.get(), std::size_t(destStride) * std::size_t(height)));
    if (bits)
        (void)cells.release();
    else
        bits = cells.release();
    QImage out(
        bits, width, height, destStride, QImage::Format_Indexed8, [](void *p) { std::free(p); }, bits);
    if (out.isNull()) {
        std::free(bits);
        return;
    }
    SetBitmapPalette(out, palette);
    dest = out;
}

void EnsureBlackAndWhite(QImage &bmp)
{
    if (bmp.format() != QImage::Format_Indexed8)
        return;
    TPalette256 old, palette;
    GetBitmapPalette(bmp, old);
    std::array<std::uint8_t, 256> map;
    if (!blackAndWhiteMap(old, palette, map)) {
        if (bmp.colorCount() != 256)
            SetBitmapPalette(bmp, old); // a short table is filled up with black
        return;
    }
    bool moves = false;
    for (int i = 0; i < 256; ++i)
        moves = moves || map[i] != i;
    SetBitmapPalette(bmp, palette);
    if (!moves)
        return;
    const int width = bmp.width(), height = bmp.height();
    std::uint8_t *bits = bmp.bits();
    const qsizetype stride = bmp.bytesPerLine();
    RunRowChunks(height, bandCount(width, height), [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            std::uint8_t *row = bits + y * stride;
            for (int x = 0; x < width; ++x)
                row[x] = map[row[x]];
        }
    });
}
