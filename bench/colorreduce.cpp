// Colour reduction and float scans on a pattern of the largest common size; the colour
// reduction window's opening and OK and the colour statistics, each against its anchor.
#include "benchsetup.h"
#include "ratioreport.h"

#include "core/palette/colorreduce.h"
#include "core/palette/floatscan.h"
#include "core/palette/palette.h"
#include "editor/colorpercent.h"
#include "editor/colorreduction.h"
#include "editor/patterngrid.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {

constexpr int Width = 5120, Height = 6300;

TPalette256 spreadPalette()
{
    TPalette256 pal;
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), std::uint8_t((i * 37) & 0xFF), std::uint8_t((i * 91) & 0xFF), 0 };
    return pal;
}

// 256 colours in blocks of 5 columns by 8 rows, each block a random colour, so that the
// picture has column runs and row runs as a scanned design does.
const QImage &bigPicture()
{
    static const QImage img = [] {
        QImage out = NewPicture(Width, Height, spreadPalette());
        std::uint32_t seed = 12345;
        std::vector<std::uint8_t> blockRow(Width / 5 + 1);
        for (int y = 0; y < Height; ++y) {
            if (y % 8 == 0)
                for (auto &v : blockRow) {
                    seed = seed * 1664525u + 1013904223u;
                    v = std::uint8_t(seed >> 24);
                }
            std::uint8_t *row = out.scanLine(y);
            for (int x = 0; x < Width; ++x)
                row[x] = blockRow[x / 5];
        }
        return out;
    }();
    return img;
}

// Sort, group around 16 heads, build the map and apply it.
void reduceTo16(QImage &bmp)
{
    TPalettePairs pairs, map;
    TPalette256 palette;
    const int used = SortPictureColors(bmp, pairs, palette);
    int count = 16, maxLen = 0;
    TTwoPaletteArray groups;
    BuildColorGroups(pairs, count, used, groups, maxLen, 90);
    PaletteToPairs(palette, map);
    BuildColorMapFromGroups(map, groups, pairs);
    ApplyColorReduction(bmp, map, palette, count, pairs);
}

void BM_ReduceColorsTo16(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QImage bmp = bigPicture().copy();
        state.ResumeTiming();
        reduceTo16(bmp);
        benchmark::DoNotOptimize(bmp.constBits());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_ReduceColorsTo16)->Unit(benchmark::kMillisecond);

TFloatScan tilingScan()
{
    TFloatScan scan;
    scan.ColorIndex = bigPicture().constScanLine(0)[0];
    scan.Margins.Left = scan.Margins.Top = true;
    scan.Margins.LeftLength = scan.Margins.TopLength = 2;
    scan.Weave = MakeWeaveArray(8, 8);
    for (int i = 0; i < 8; ++i)
        scan.Weave[i][(i * 3) % 8] = 1; // an 8-end satin
    return scan;
}

void BM_FindLongFloats(benchmark::State &state)
{
    const QImage &bmp = bigPicture();
    const TPalette256 pal = spreadPalette();
    const TFloatScan scan = tilingScan();
    for (auto _ : state) {
        TLineArray cells;
        FindLongFloats(bmp, pal, scan, 4, cells);
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_FindLongFloats)->Unit(benchmark::kMillisecond);

// The worst case of the column walks: one colour everywhere, every column one run.
void BM_FindLongFloatsOneColour(benchmark::State &state)
{
    const TPalette256 pal = spreadPalette();
    QImage bmp = NewPicture(Width, Height, pal);
    TFloatScan scan = tilingScan();
    scan.ColorIndex = 0;
    for (auto _ : state) {
        TLineArray cells;
        FindLongFloats(bmp, pal, scan, 4, cells);
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_FindLongFloatsOneColour)->Unit(benchmark::kMillisecond);

void BM_FindFloatsOfLengths(benchmark::State &state)
{
    const QImage &bmp = bigPicture();
    const TPalette256 pal = spreadPalette();
    const TFloatScan scan = tilingScan();
    const TIntegerArray lengths { 3, 5, 8 };
    for (auto _ : state) {
        TLineArray cells;
        FindFloatsOfLengths(bmp, pal, scan, lengths, cells);
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_FindFloatsOfLengths)->Unit(benchmark::kMillisecond);

void BM_FindFloatRunsAlongRows(benchmark::State &state)
{
    const QImage &bmp = bigPicture();
    const int index = bmp.constScanLine(0)[0];
    for (auto _ : state) {
        TFloatsArray runs;
        FindFloatRuns(bmp, index, 5, true, runs);
        benchmark::DoNotOptimize(runs.data());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_FindFloatRunsAlongRows)->Unit(benchmark::kMillisecond);

void BM_FindFloatRunsDownColumns(benchmark::State &state)
{
    const QImage &bmp = bigPicture();
    const int index = bmp.constScanLine(0)[0];
    for (auto _ : state) {
        TFloatsArray runs;
        FindFloatRunsNeighbourRule(bmp, index, 8, runs, true);
        benchmark::DoNotOptimize(runs.data());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_FindFloatRunsDownColumns)->Unit(benchmark::kMillisecond);

// --- The windows' work on a grid -----------------------------------------------------------

const QImage &hugePattern()
{
    static const QImage img = bench::BigPattern();
    return img;
}

// The anchor of the opening and the statistics: the plain count of the largest pattern.
void BM_CountColorUseBig(benchmark::State &state)
{
    TColorCounts counts;
    for (auto _ : state)
        benchmark::DoNotOptimize(CountColorUse(hugePattern(), counts));
    state.SetItemsProcessed(state.iterations() * hugePattern().width() * hugePattern().height());
}
BENCHMARK(BM_CountColorUseBig)->Unit(benchmark::kMillisecond);

// The reduction window's opening on a grid: the colours counted and sorted, the groups formed.
void BM_ReductionOpen(benchmark::State &state)
{
    TPatternGrid g;
    g.SetPicture(hugePattern()); // shares the cells: only read
    g.ReadPaletteFromPicture();
    TColorReduction model;
    for (auto _ : state) {
        model.SetGrid(nullptr);
        model.SetGrid(&g);
        benchmark::DoNotOptimize(model.UsedCount());
    }
    state.SetItemsProcessed(state.iterations() * hugePattern().width() * hugePattern().height());
}
BENCHMARK(BM_ReductionOpen)->Unit(benchmark::kMillisecond);

void BM_ColorStatistics(benchmark::State &state)
{
    TColorPercentTable table;
    for (auto _ : state) {
        table.Count(hugePattern());
        table.SortByCount();
        benchmark::DoNotOptimize(table.Rows().data());
    }
    state.SetItemsProcessed(state.iterations() * hugePattern().width() * hugePattern().height());
}
BENCHMARK(BM_ColorStatistics)->Unit(benchmark::kMillisecond);

void prepareGrid(TPatternGrid &g)
{
    StartSettings().MaxUndoCount = 4;
    StartSettings().MaxBakDataSize = 1e9;
    g.SetClientSize(1920, 1080);
    g.SetPicture(bigPicture().copy());
    g.ReadPaletteFromPicture();
    g.RebuildDisplayBitmap();
    g.SetZoom(9);
}

// The grid's picture afresh, as the commands' benchmark does before each run.
void showPicture(TPatternGrid &g)
{
    g.UndoStore().Clear();
    g.SetPicture(bigPicture().copy());
    g.SetPalette(spreadPalette());
    g.RebuildDisplayBitmap();
    g.Picture().bits();
}

// The anchor of OK: a whole-picture command with its step on the same grid.
void BM_ClearPictureStep(benchmark::State &state)
{
    TPatternGrid g;
    prepareGrid(g);
    for (auto _ : state) {
        state.PauseTiming();
        showPicture(g);
        state.ResumeTiming();
        g.ClearPicture();
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_ClearPictureStep)->Unit(benchmark::kMillisecond);

// OK from 256 to 16 colours with its undo step (the colours read when the window opened).
void BM_ReduceColorOk(benchmark::State &state)
{
    TPatternGrid g;
    prepareGrid(g);
    TColorReduction model;
    for (auto _ : state) {
        state.PauseTiming();
        showPicture(g);
        model.SetGrid(nullptr);
        model.SetGrid(&g);
        model.SetColorCount(16);
        state.ResumeTiming();
        if (model.Apply({}) != TReduceApply::Applied)
            state.SkipWithError("OK refused");
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_ReduceColorOk)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    hugePattern(); // made before any timing
    bigPicture();
    return bench::RunWithRatios(argc, argv,
        { { "BM_ReductionOpen", "BM_CountColorUseBig" }, { "BM_ColorStatistics", "BM_CountColorUseBig" },
            { "BM_ReduceColorOk", "BM_ClearPictureStep" } });
}
