// The point window's modes and the multi-layer merge on the largest pattern the editor
// takes (5120 x 65,535). The marking runs each include their undo steps; each iteration
// starts from the same picture (the steps are undone, untimed). The anchor of the marking
// is the column scan for isolated runs alone on the same picture; that of the merge a plain
// copy of the merged picture. The counter peak_MB gives the most memory a run added.
#include "editor/pointmarking.h"
#include "benchsetup.h"
#include "core/palette/floatscan.h"
#include "editor/patterngrid.h"
#include "editor/picturemerge.h"
#include "peakmemory.h"
#include "ratioreport.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int Fore = 7; // the colour whose runs are treated
constexpr int Other = 8; // what the rest of each run of four of Fore becomes
constexpr double MB = 1024.0 * 1024.0;

// Made once: the picture alone is 320 MB.
const QImage &bigPattern()
{
    static const QImage img = bench::BigPattern();
    return img;
}

// The big pattern with every run of four cells of Fore cut to its first cell, so that Fore
// stands in isolated single cells (about one cell in a thousand), and without index 255,
// so that the palette has an entry free for a marker colour.
const QImage &markingPicture()
{
    static const QImage img = [] {
        QImage p = bigPattern().copy();
        for (int y = 0; y < p.height(); ++y) {
            std::uint8_t *row = p.scanLine(y);
            for (int x = 0; x < p.width(); ++x) {
                if (row[x] == 255)
                    row[x] = 0;
                if (row[x] == Fore && x % 4 != 0)
                    row[x] = Other;
            }
        }
        return p;
    }();
    return img;
}

TPatternGrid &markingGrid()
{
    static TPatternGrid *grid = [] {
        auto *g = new TPatternGrid;
        g->SetClientSize(800, 600);
        g->SetPicture(markingPicture());
        g->ReadPaletteFromPicture();
        g->RebuildDisplayBitmap();
        g->SetZoom(TPatternGrid::BaseZoomLevel);
        g->SetForeColorIndex(Fore);
        g->SetBackColorIndex(0);
        g->Picture().bits(); // own cells, so that the first run does not pay for a copy
        return g;
    }();
    return *grid;
}

void BM_FindFloatRunsDownColumns(benchmark::State &state)
{
    const QImage &bmp = markingPicture();
    for (auto _ : state) {
        TFloatsArray runs;
        FindFloatRunsNeighbourRule(bmp, Fore, 1, runs, true);
        benchmark::DoNotOptimize(runs.data());
    }
    state.SetItemsProcessed(state.iterations() * bmp.width() * qint64(bmp.height()));
}
BENCHMARK(BM_FindFloatRunsDownColumns)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MarkPoints(benchmark::State &state, TMarkPointOptions options)
{
    TPatternGrid &g = markingGrid();
    StartSettings().MaxUndoCount = 4;
    long long peak = 0;
    TMarkPointReport report;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        if (!MarkPoints(g, options, &report))
            state.SkipWithError("refused");
        peak = std::max(peak, memory.Added());
        state.PauseTiming();
        while (g.UndoStore().UndoCount() > 0)
            g.Undo();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * g.ColCount() * qint64(g.RowCount()));
    state.counters["runs"] = report.Runs;
    state.counters["cells"] = report.ChangedCells;
    state.counters["peak_MB"] = double(peak) / MB;
}

TMarkPointOptions options(TMarkPointMode mode, int n, int m = 1)
{
    TMarkPointOptions o;
    o.Mode = mode;
    o.PointCount = n;
    o.FillPointCount = m;
    o.AddWay = TAddPointWay::Automatic;
    o.AddWarps = TAddPointWarps::AllWarps;
    return o;
}
BENCHMARK_CAPTURE(BM_MarkPoints, DelSinglePoint, options(TMarkPointMode::DelSinglePoint, 1))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_MarkPoints, SearchIsolatedPoint, options(TMarkPointMode::SearchIsolatedPoint, 2))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_MarkPoints, AddPointAutomatic, options(TMarkPointMode::AddPoint, 1, 2))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Four 1280 x 65,535 layers cut from the big pattern, with one palette or with a palette
// each (every layer's colours differ from the others' in blue).
QList<QImage> layers(bool ownPalettes)
{
    const QImage &big = bigPattern();
    QList<QImage> out;
    for (int i = 0; i < 4; ++i) {
        QImage layer = big.copy(i * 1280, 0, 1280, big.height());
        if (ownPalettes) {
            TPalette256 pal;
            GetBitmapPalette(layer, pal);
            for (TPaletteEntry &e : pal)
                e.Blue = std::uint8_t(e.Blue + 1 + i);
            SetBitmapPalette(layer, pal);
        }
        out.append(layer);
    }
    return out;
}

void BM_MergeLayers(benchmark::State &state, bool ownPalettes)
{
    const QList<QImage> four = layers(ownPalettes);
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        QImage merged;
        if (!MergeLayerPictures(four, merged))
            state.SkipWithError("refused");
        benchmark::DoNotOptimize(merged.constBits());
        peak = std::max(peak, memory.Added());
    }
    state.SetItemsProcessed(state.iterations() * 5120LL * 65535LL);
    state.counters["peak_MB"] = double(peak) / MB;
}
BENCHMARK_CAPTURE(BM_MergeLayers, shared_palette, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_MergeLayers, four_palettes, true)->Unit(benchmark::kMillisecond)->UseRealTime();

// The anchor: a copy of a picture of the merged size into fresh memory.
void BM_CopyMergedPicture(benchmark::State &state)
{
    const QImage &big = bigPattern();
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        QImage copy = big.copy();
        benchmark::DoNotOptimize(copy.constBits());
        peak = std::max(peak, memory.Added());
    }
    state.SetItemsProcessed(state.iterations() * 5120LL * 65535LL);
    state.counters["peak_MB"] = double(peak) / MB;
}
BENCHMARK(BM_CopyMergedPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunWithRatios(argc, argv,
        {
            { "BM_MarkPoints/DelSinglePoint", "BM_FindFloatRunsDownColumns" },
            { "BM_MarkPoints/SearchIsolatedPoint", "BM_FindFloatRunsDownColumns" },
            { "BM_MarkPoints/AddPointAutomatic", "BM_FindFloatRunsDownColumns" },
            { "BM_MergeLayers/shared_palette", "BM_CopyMergedPicture" },
            { "BM_MergeLayers/four_palettes", "BM_CopyMergedPicture" },
        });
}
