// Painting the pattern grid: a 1920 x 1080 view of a 5120 x 65,535 pattern at the zoom
// levels of the reduced view, of one pixel per cell and of enlarged cells, and scrolling
// it by one screen, and the view with the outline of a repeat unit as large as the pattern.
// Every paint should stay under 8 ms.
#include "editor/patterngrid.h"

#include "benchsetup.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

namespace {

// The pattern is made once and shared by all runs (it takes 335 MB).
const QImage &bigPattern()
{
    static const QImage img = bench::BigPattern();
    return img;
}

// A grid of the default densities (warp 120, weft 60) showing the pattern in a
// 1920 x 1080 client area, scrolled to the middle of the pattern.
void setUp(TPatternGrid &grid, int level)
{
    grid.SetWarpDensity(120.0);
    grid.SetWeftDensity(60.0);
    grid.SetClientSize(1920, 1080);
    grid.SetPicture(bigPattern());
    grid.ReadPaletteFromPicture();
    grid.SetZoom(level);
    grid.SetLeftCol(grid.ColCount() / 2);
    grid.SetTopRow(grid.RowCount() / 2);
}

void BM_PaintView(benchmark::State &state)
{
    TPatternGrid grid;
    setUp(grid, int(state.range(0)));
    QImage buffer;
    for (auto _ : state) {
        grid.Paint(buffer);
        benchmark::DoNotOptimize(buffer.constBits());
    }
    state.counters["cells"] = double(grid.PaintColCount()) * grid.PaintRowCount();
}

// The same with the outline of one repeat unit shown, the unit being the whole pattern:
// the longest outline there can be, mostly out of view.
void BM_PaintViewWithUnitOutline(benchmark::State &state)
{
    TPatternGrid grid;
    setUp(grid, int(state.range(0)));
    grid.ResetRepeatSize();
    grid.SetRepeatDisplayOn(true);
    grid.SetRepeatDisplay(true);
    QImage buffer;
    for (auto _ : state) {
        grid.Paint(buffer);
        benchmark::DoNotOptimize(buffer.constBits());
    }
}

// The whole of a window's paint: the grid painted into its buffer and the buffer drawn
// onto a screen-sized raster surface, as the view's paint event does.
void BM_PaintAndBlit(benchmark::State &state)
{
    TPatternGrid grid;
    setUp(grid, int(state.range(0)));
    QImage buffer;
    QImage screen(1920, 1080, QImage::Format_RGB32);
    screen.fill(0);
    for (auto _ : state) {
        grid.Paint(buffer);
        QPainter p(&screen);
        p.drawImage(0, 0, buffer);
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}

void BM_ScrollOneScreen(benchmark::State &state)
{
    TPatternGrid grid;
    setUp(grid, int(state.range(0)));
    grid.SetTopRow(0);
    QImage buffer;
    grid.Paint(buffer);
    const int page = grid.Grid().VisibleRowCount();
    for (auto _ : state) {
        int next = grid.TopRow() + page;
        if (next > grid.Grid().MaxTopRow())
            next = 0;
        grid.SetTopRow(next);
        grid.Paint(buffer);
        benchmark::DoNotOptimize(buffer.constBits());
    }
}

} // namespace

// The zoom levels of the reduced view, of one pixel per cell and of enlarged cells.
void zoomLevels(benchmark::internal::Benchmark *b)
{
    for (int level : { 1, 8, 9, 10, 12, 24 })
        b->Arg(level);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_PaintView)->Apply(zoomLevels);
BENCHMARK(BM_PaintViewWithUnitOutline)->Apply(zoomLevels);
BENCHMARK(BM_PaintAndBlit)->Apply(zoomLevels);
BENCHMARK(BM_ScrollOneScreen)->Apply(zoomLevels);

BENCHMARK_MAIN();
