// Weave tiling over a large area: the scan alone and the whole tiling through the grid
// (black looked up, cells painted, one cell step recorded).
#include "editor/weavetiling.h"
#include "benchsetup.h"
#include "core/palette/floatscan.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {
constexpr int Width = 2688;
constexpr int Height = 20000;

TPalette256 greyPalette()
{
    TPalette256 p {};
    for (int i = 0; i < 256; ++i)
        p[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    return p;
}

// One colour (index 7) over the whole area.
const QImage &oneColourArea()
{
    static const QImage picture = [] {
        QImage img = NewPicture(Width, Height, greyPalette());
        img.fill(7);
        return img;
    }();
    return picture;
}

TWeaveArray satin8()
{
    TWeaveArray w = MakeWeaveArray(8, 8);
    for (int i = 0; i < 8; ++i)
        w[i][(i * 3) % 8] = 1;
    return w;
}

TTileWeaveParam allMargins()
{
    TTileWeaveParam p;
    p.IsLeftLeft = p.IsRightLeft = p.IsTopLeft = p.IsBottomLeft = true;
    p.LeftLength = p.RightLength = p.TopLength = p.BottomLength = 3;
    p.FloatLength = 20;
    return p;
}

// The scan of the area's one colour with every margin kept and the satin weave.
TFloatScan oneColourScan()
{
    TFloatScan scan;
    scan.ColorIndex = 7;
    scan.Margins = TileMargins(allMargins());
    scan.Weave = satin8();
    return scan;
}

void BM_TileScanOneColourArea(benchmark::State &state)
{
    const QImage &bmp = oneColourArea();
    const TPalette256 pal = greyPalette();
    const TFloatScan scan = oneColourScan();
    for (auto _ : state) {
        TLineArray cells;
        FindLongFloats(bmp, pal, scan, 20, cells);
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_TileScanOneColourArea)->Unit(benchmark::kMillisecond);

// The same area with the float rule "equal to" and the lengths 3, 5, 20.
void BM_TileScanOneColourAreaEqualTo(benchmark::State &state)
{
    const QImage &bmp = oneColourArea();
    const TPalette256 pal = greyPalette();
    const TFloatScan scan = oneColourScan();
    const TIntegerArray lengths { 3, 5, 20 };
    for (auto _ : state) {
        TLineArray cells;
        FindFloatsOfLengths(bmp, pal, scan, lengths, cells);
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_TileScanOneColourAreaEqualTo)->Unit(benchmark::kMillisecond);

// The tile-weave window's OK on a document of that area: scan, paint, one cell step.
void BM_TileWeaveOverOneColour(benchmark::State &state)
{
    TTileColorList colours;
    AddTileColor(colours, greyPalette(), 7);
    for (auto _ : state) {
        state.PauseTiming();
        TPatternGrid grid;
        grid.SetPicture(oneColourArea().copy());
        grid.ReadPaletteFromPicture();
        grid.RebuildDisplayBitmap();
        state.ResumeTiming();
        TileWeaveOverColors(grid, satin8(), colours, allMargins(), TTileFloatRule::LessThan);
        benchmark::DoNotOptimize(grid.Picture().constBits());
    }
    state.SetItemsProcessed(state.iterations() * Width * Height);
}
BENCHMARK(BM_TileWeaveOverOneColour)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
