// Picture procedures on large patterns: quarter and free rotation, 2x resampling, and
// gap repair at its largest distance. Each runs at two sizes, so that the time per cell
// shows the work grows with the number of cells, not faster.
#include "core/picture/imageproc.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <numbers>

static QImage randomPicture(int w, int h, int colours)
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    QImage img = NewPicture(w, h, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        std::uint8_t *row = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = std::uint8_t((seed >> 24) % unsigned(colours));
        }
    }
    return img;
}

// Args: width, height.
static void BM_RotateQuarter(benchmark::State &state)
{
    const QImage src = randomPicture(int(state.range(0)), int(state.range(1)), 256);
    QImage dest;
    for (auto _ : state)
        benchmark::DoNotOptimize(RotatePictureQuarter(dest, src, 90.0));
    state.SetItemsProcessed(state.iterations() * src.width() * src.height());
}
BENCHMARK(BM_RotateQuarter)->Args({ 2560, 3150 })->Args({ 5120, 6300 })->Unit(benchmark::kMillisecond);

static void BM_RotateFree30(benchmark::State &state)
{
    const QImage src = randomPicture(int(state.range(0)), int(state.range(1)), 256);
    QImage dest;
    for (auto _ : state)
        benchmark::DoNotOptimize(RotateAboutCentre(dest, src, 0, std::numbers::pi / 6));
    state.SetItemsProcessed(state.iterations() * dest.width() * dest.height());
}
BENCHMARK(BM_RotateFree30)->Args({ 2560, 3150 })->Args({ 5120, 6300 })->Unit(benchmark::kMillisecond);

static void BM_Resample2x(benchmark::State &state)
{
    const QImage src = randomPicture(int(state.range(0)), int(state.range(1)), 256);
    TPalette256 pal {};
    QImage dest;
    for (auto _ : state)
        benchmark::DoNotOptimize(ResamplePicture(dest, src, src.width() * 2, src.height() * 2, pal, true));
    state.SetItemsProcessed(state.iterations() * src.width() * src.height() * 4);
}
BENCHMARK(BM_Resample2x)->Args({ 2560, 3150 })->Args({ 5120, 6300 })->Unit(benchmark::kMillisecond);

// Args: side, share of the repaired colour in percent. At distance 99 a cell of the colour
// looks up to 98 cells away in 8 directions.
static void BM_RepairPicture99(benchmark::State &state)
{
    const int side = int(state.range(0));
    const QImage base = randomPicture(side, side, int(100 / state.range(1)));
    for (auto _ : state) {
        QImage img = base.copy();
        RepairPicture(img, 0x02000000, 99);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_RepairPicture99)
    ->Args({ 500, 2 })
    ->Args({ 1000, 2 })
    ->Args({ 1000, 20 })
    ->Args({ 1000, 100 })
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
