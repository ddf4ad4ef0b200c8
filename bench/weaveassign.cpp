// The layer documents of the assign-weaves window and the picture converted into weaves.
// Anchors in the same run: one float scan of one colour per layer (the layer build's aim
// is within three times that), the same pictures by one scan per colour in turn (what the
// shared passes replace), and a plain copy of the picture for the conversion.
#include "benchsetup.h"
#include "core/palette/floatscan.h"
#include "peakmemory.h"
#include "ratioreport.h"
#include "weave/layerbuild.h"
#include "weave/shadingconversion.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

namespace {
constexpr double MB = 1024.0 * 1024.0;
constexpr int LayerWidth = 2688;
constexpr int LayerHeight = 20000;
constexpr int LayerColours = 16;

TWeaveArray satin(int n, int step)
{
    TWeaveArray w = MakeWeaveArray(n, n);
    for (int i = 0; i < n; ++i)
        w[i][(i * step) % n] = 1;
    return w;
}

TFloatMargins margins()
{
    TFloatMargins m;
    m.Left = m.Right = m.Top = m.Bottom = true;
    m.LeftLength = m.RightLength = m.TopLength = m.BottomLength = 2;
    return m;
}

// 16 colours (indexes 10 .. 25) in blocks of 6 x 40 cells of pseudo-random colour, so that
// columns hold long floats and rows change colour often.
struct TLayerCase {
    QImage Picture;
    TPalette256 Palette {};
    TMesh Mesh;
};

const TLayerCase &layerCase()
{
    static const TLayerCase c = [] {
        TLayerCase out;
        for (int i = 0; i < 256; ++i)
            out.Palette[std::size_t(i)] = TPaletteEntry { std::uint8_t(i), std::uint8_t(255 - i), 90, 0 };
        out.Palette[0] = BlackQuad;
        out.Picture = NewPicture(LayerWidth, LayerHeight, out.Palette);
        std::uint32_t seed = 777;
        for (int by = 0; by < LayerHeight; by += 40)
            for (int bx = 0; bx < LayerWidth; bx += 6) {
                seed = seed * 1664525u + 1013904223u;
                const std::uint8_t colour = std::uint8_t(10 + (seed >> 24) % LayerColours);
                for (int y = by; y < std::min(by + 40, LayerHeight); ++y)
                    std::memset(
                        out.Picture.scanLine(y) + bx, colour, std::size_t(std::min(6, LayerWidth - bx)));
            }
        out.Mesh.LayerCount = 2;
        out.Mesh.Colors.setLength(LayerColours);
        for (int k = 0; k < LayerColours; ++k)
            out.Mesh.Colors[k] = PlainColor(out.Palette[std::size_t(10 + k)]);
        out.Mesh.ColorWeaves.setLength(2 * LayerColours);
        for (int s = 0; s < 2 * LayerColours; ++s)
            out.Mesh.ColorWeaves[s] = s % 2 ? satin(8, 3) : satin(5, 2);
        return out;
    }();
    return c;
}

constexpr int FloatLength = 7;

void BM_LayerBuild(benchmark::State &state)
{
    const TLayerCase &c = layerCase();
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        QList<QImage> layers;
        if (!BuildLayerPictures(c.Mesh, c.Picture, c.Palette, margins(), FloatLength, layers))
            state.SkipWithError("refused");
        benchmark::DoNotOptimize(layers.first().constBits());
        peak = std::max(peak, memory.Added());
    }
    state.counters["peak_MB"] = double(peak) / MB;
    state.counters["picture_MB"] = double(LayerWidth) * LayerHeight / MB;
}
BENCHMARK(BM_LayerBuild)->Unit(benchmark::kMillisecond)->Iterations(3);

// The anchor: one float scan of one colour per layer, with the same margins and float
// length.
void BM_FindLongFloatsPerLayer(benchmark::State &state)
{
    const TLayerCase &c = layerCase();
    TFloatScan scan;
    scan.ColorIndex = 10;
    scan.Margins = margins();
    scan.Weave = satin(8, 3);
    for (auto _ : state)
        for (int layer = 0; layer < 2; ++layer) {
            TLineArray cells;
            FindLongFloats(c.Picture, c.Palette, scan, FloatLength, cells);
            benchmark::DoNotOptimize(cells.data());
        }
}
BENCHMARK(BM_FindLongFloatsPerLayer)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the shared passes replace: one scan per colour in turn, painting before the next.
void BM_LayerBuildOneScanPerColour(benchmark::State &state)
{
    const TLayerCase &c = layerCase();
    for (auto _ : state)
        for (int layer = 0; layer < 2; ++layer) {
            QImage out = c.Picture.copy();
            for (int k = 0; k < LayerColours; ++k) {
                TFloatScan scan;
                scan.ColorIndex = 10 + k;
                scan.Margins = margins();
                scan.Weave = c.Mesh.ColorWeaves[layer * LayerColours + k];
                TLineArray cells;
                FindLongFloats(out, c.Palette, scan, FloatLength, cells);
                for (const TPoint &p : cells)
                    out.scanLine(p.Y)[p.X] = 0;
            }
            benchmark::DoNotOptimize(out.constBits());
        }
}
BENCHMARK(BM_LayerBuildOneScanPerColour)->Unit(benchmark::kMillisecond)->Iterations(1);

// A 2,000 x 10,000 picture of 256 colours in runs of 4 cells.
const QImage &conversionPicture()
{
    static const QImage picture = [] {
        TPalette256 pal {};
        for (int i = 0; i < 256; ++i)
            pal[std::size_t(i)]
                = TPaletteEntry { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0 };
        QImage p = NewPicture(2000, 10000, pal);
        std::uint32_t seed = 12345;
        for (int y = 0; y < p.height(); ++y) {
            std::uint8_t *row = p.scanLine(y);
            for (int x = 0; x < p.width(); x += 4) {
                seed = seed * 1664525u + 1013904223u;
                std::memset(row + x, int(seed >> 24), 4);
            }
        }
        return p;
    }();
    return picture;
}

void BM_ConvertToWeave(benchmark::State &state)
{
    const QImage &picture = conversionPicture();
    const TClrIndex colours = CountPictureColors(picture);
    const TWeaveArray base = satin(64, 1); // a 64 x 64 twill
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        QImage result;
        if (!ConvertToWeave(picture, colours, base, result))
            state.SkipWithError("refused");
        benchmark::DoNotOptimize(result.constBits());
        peak = std::max(peak, memory.Added());
    }
    state.counters["peak_MB"] = double(peak) / MB;
    state.counters["colours"] = double(colours.size());
}
BENCHMARK(BM_ConvertToWeave)->Unit(benchmark::kMillisecond);

void BM_CopyConversionPicture(benchmark::State &state)
{
    const QImage &picture = conversionPicture();
    for (auto _ : state) {
        QImage copy = picture.copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(BM_CopyConversionPicture)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunWithRatios(argc, argv,
        { { "BM_LayerBuild", "BM_FindLongFloatsPerLayer" },
            { "BM_LayerBuildOneScanPerColour", "BM_FindLongFloatsPerLayer" },
            { "BM_ConvertToWeave", "BM_CopyConversionPicture" } });
}
