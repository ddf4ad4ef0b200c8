// Palette procedures on a pattern of the largest common size.
#include "core/palette/palette.h"

#include <benchmark/benchmark.h>

#include <QImage>

static QImage bigPicture()
{
    TPalette256 pal {};
    QImage img = NewPicture(5120, 6300, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < img.height(); ++y) {
        std::uint8_t *row = img.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = std::uint8_t(seed >> 24);
        }
    }
    return img;
}

static void BM_CountColorUse(benchmark::State &state)
{
    const QImage img = bigPicture();
    TColorCounts counts;
    for (auto _ : state)
        benchmark::DoNotOptimize(CountColorUse(img, counts));
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}
BENCHMARK(BM_CountColorUse)->Unit(benchmark::kMillisecond);

static void BM_RemapPixels(benchmark::State &state)
{
    QImage img = bigPicture();
    TPalettePairs map;
    for (int i = 0; i < 256; ++i)
        map[i].Index = 255 - i;
    for (auto _ : state) {
        RemapPixels(img, map);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}
BENCHMARK(BM_RemapPixels)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
