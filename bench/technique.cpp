// The technique menu's area operations on a 5120 x 6300 pattern, each with its undo step:
// the automatic binding points down the columns and along the rows, and the multi-needle
// outline. Anchor: one plain pass that reads every cell; the ratios say how far each stays
// from a pass over the picture.
#include "benchsetup.h"
#include "core/undo/undo.h"
#include "editor/bindingpoints.h"
#include "editor/cellstep.h"
#include "editor/outlines.h"
#include "editor/patterngrid.h"
#include "ratioreport.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int Width = 5120;
constexpr int Height = 6300;

// Squares of 23 x 23 cells in three colours (1, 2, 3) chosen pseudo-randomly (the same every
// time): floats of some tens of cells both ways, and squares that 2 x 2 blocks straddle.
const QImage &squares()
{
    static const QImage picture = [] {
        TPalette256 pal {};
        for (int i = 0; i < 256; ++i)
            pal[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
        QImage img = NewPicture(Width, Height, pal);
        std::uint32_t seed = 12345;
        std::vector<std::uint8_t> colours(std::size_t(Width / 23 + 1));
        for (int y = 0; y < Height; ++y) {
            if (y % 23 == 0)
                for (std::uint8_t &c : colours) {
                    seed = seed * 1664525u + 1013904223u;
                    c = std::uint8_t(1 + (seed >> 24) % 3);
                }
            std::uint8_t *row = img.scanLine(y);
            for (int x = 0; x < Width; ++x)
                row[x] = colours[std::size_t(x / 23)];
        }
        return img;
    }();
    return picture;
}

// The binding's points and the outline's cells recorded as the step their runs make, alone.
void BM_RecordStep(benchmark::State &state)
{
    TPatternGrid grid;
    TPalette256 pal {};
    GetBitmapPalette(squares(), pal);
    TLineArray points;
    AutoBindingPoints(
        squares(), pal, PlainColor(pal[1]), TBindingStyle::Single, TBindingWay::Warp, 16, points);
    for (auto _ : state) {
        state.PauseTiming();
        grid.UndoStore().Clear(); // every run records into an empty store
        grid.SetPicture(squares().copy());
        grid.ReadPaletteFromPicture();
        grid.RebuildDisplayBitmap();
        state.ResumeTiming();
        PaintCellsAsStep(grid, points, 0);
    }
    state.counters["cells"] = double(points.size());
    state.counters["MB"] = UndoDataSizeMB();
}
BENCHMARK(BM_RecordStep)->Unit(benchmark::kMillisecond);

// The same cells recorded as a list entry each instead, for comparison (MB: what the store
// keeps of the step).
void BM_RecordList(benchmark::State &state)
{
    TPatternGrid grid;
    TPalette256 pal {};
    GetBitmapPalette(squares(), pal);
    TLineArray points;
    AutoBindingPoints(
        squares(), pal, PlainColor(pal[1]), TBindingStyle::Single, TBindingWay::Warp, 16, points);
    for (auto _ : state) {
        state.PauseTiming();
        grid.UndoStore().Clear(); // every run records into an empty store
        grid.SetPicture(squares().copy());
        grid.ReadPaletteFromPicture();
        grid.RebuildDisplayBitmap();
        state.ResumeTiming();
        QImage &picture = grid.Picture();
        for (const TPoint &c : points)
            picture.scanLine(c.Y)[c.X] = 0;
        grid.RecordUndoStep(points);
    }
    state.counters["cells"] = double(points.size());
    state.counters["MB"] = UndoDataSizeMB();
}
BENCHMARK(BM_RecordList)->Unit(benchmark::kMillisecond);

void prepare(TPatternGrid &grid)
{
    grid.UndoStore().Clear(); // every run records into an empty store
    grid.SetPicture(squares().copy());
    grid.ReadPaletteFromPicture();
    grid.RebuildDisplayBitmap();
    grid.SetForeColorIndex(1);
    grid.SetBackColorIndex(0);
}

// The anchor: every cell read once (the cells of index 1 counted).
void BM_PlainPass(benchmark::State &state)
{
    const QImage &img = squares();
    for (auto _ : state) {
        long long n = 0;
        for (int y = 0; y < Height; ++y) {
            const std::uint8_t *row = img.constScanLine(y);
            for (int x = 0; x < Width; ++x)
                n += row[x] == 1;
        }
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

// The automatic binding dialog's OK: runs of colour 1 longer than 16 bound in index 0.
void BM_AutoBinding(benchmark::State &state)
{
    const TBindingWay way = state.range(0) == 0 ? TBindingWay::Warp : TBindingWay::Weft;
    TPatternGrid grid;
    for (auto _ : state) {
        state.PauseTiming();
        prepare(grid);
        state.ResumeTiming();
        RunAutoBinding(grid, grid.GetForeColor(), 0, TBindingStyle::Single, way, 16);
        benchmark::DoNotOptimize(grid.Picture().constBits());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_AutoBinding)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The scans alone, without painting and recording.
void BM_AutoBindingScan(benchmark::State &state)
{
    const TBindingWay way = state.range(0) == 0 ? TBindingWay::Warp : TBindingWay::Weft;
    const QImage &img = squares();
    TPalette256 pal {};
    GetBitmapPalette(img, pal);
    for (auto _ : state) {
        TLineArray points;
        AutoBindingPoints(img, pal, PlainColor(pal[1]), TBindingStyle::Single, way, 16, points);
        benchmark::DoNotOptimize(points.data());
        state.counters["cells"] = double(points.size());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_AutoBindingScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MultiSketchScan(benchmark::State &state)
{
    for (auto _ : state) {
        TMultiSketchArray points;
        MultiSketchPoints(squares(), 1, 2, 2, points);
        benchmark::DoNotOptimize(points.data());
        state.counters["cells"] = double(points.size());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_MultiSketchScan)->Unit(benchmark::kMillisecond);

// The multi-needle window's OK with blocks of 2 needles by 2 shuttles.
void BM_MultiSketch(benchmark::State &state)
{
    TPatternGrid grid;
    for (auto _ : state) {
        state.PauseTiming();
        prepare(grid);
        state.ResumeTiming();
        RunMultiSketch(grid, 2, 2);
        benchmark::DoNotOptimize(grid.Picture().constBits());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_MultiSketch)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    squares(); // made once, outside every timing
    return bench::RunWithRatios(argc, argv,
        { { "BM_AutoBinding/0", "BM_PlainPass" }, { "BM_AutoBinding/1", "BM_PlainPass" },
            { "BM_MultiSketch", "BM_PlainPass" } });
}
