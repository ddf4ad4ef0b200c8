// The cell lists of the drawing tools at their largest: a free line of 10,000 points with a
// 9 x 9 pen, a 5,000 x 5,000 filled ellipse, and an ellipse and a rectangle of that size
// with a wide pen. Each runs at several sizes; cells per second staying level as the size
// grows shows the cost is linear in the cells produced.
#include "editor/tools/ellipsetool.h"
#include "editor/tools/freehandtool.h"
#include "editor/tools/rectangletool.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include <malloc.h>

// Arg: number of points; a random walk of up to 5 cells a step, so that each point adds a
// short line, stamped with the 9 x 9 pen.
static void BM_FreeLinePen9(benchmark::State &state)
{
    const int count = int(state.range(0));
    std::vector<TPoint> walk;
    std::uint32_t seed = 12345;
    TPoint p { 5000, 5000 };
    for (int i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        p.X += int((seed >> 8) % 11) - 5;
        p.Y += int((seed >> 20) % 11) - 5;
        walk.push_back(p);
    }
    std::size_t cells = 0;
    const auto draw = [&] {
        TFreeLine line;
        line.SetHorzWidth(9);
        line.SetVertWidth(9);
        for (const TPoint &q : walk)
            line.AddPoint(q);
        return line.Cells();
    };
    draw(); // a first run outside the timing, so that with --warm the memory is there
    for (auto _ : state) {
        const TCellList path = draw();
        cells = path.size();
        benchmark::DoNotOptimize(path.data());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations() * cells));
    state.counters["cells"] = double(cells);
}
BENCHMARK(BM_FreeLinePen9)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Args: side in cells, pen extent, brush (0 solid = filled, 1 clear = outline).
template <class TTool> static void shapeCells(benchmark::State &state)
{
    const int side = int(state.range(0)), pen = int(state.range(1));
    TTool tool;
    tool.SetPenStyle(0, 0, pen, pen, 1, TBrushStyle(state.range(2)), TPenStyle::Solid, TPenMode::Copy);
    tool.AddPoint({ 0, 0 });
    tool.AddPoint({ side - 1, side - 1 });
    std::size_t cells = 0;
    tool.Cells(); // a first run outside the timing, so that with --warm the memory is there
    for (auto _ : state) {
        const TCellList path = tool.Cells();
        cells = path.size();
        benchmark::DoNotOptimize(path.data());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations() * cells));
    state.counters["cells"] = double(cells);
}

static void BM_EllipseCells(benchmark::State &state)
{
    shapeCells<TCircleLine>(state);
}
BENCHMARK(BM_EllipseCells)
    ->Args({ 1250, 1, 0 })
    ->Args({ 2500, 1, 0 })
    ->Args({ 5000, 1, 0 }) // filled
    ->Args({ 1250, 16, 1 })
    ->Args({ 2500, 16, 1 })
    ->Args({ 5000, 16, 1 }) // outline, 16 x 16 pen
    ->Unit(benchmark::kMillisecond);

static void BM_RectangleCells(benchmark::State &state)
{
    shapeCells<TRectangleLine>(state);
}
BENCHMARK(BM_RectangleCells)
    ->Args({ 1250, 100, 1 })
    ->Args({ 2500, 100, 1 })
    ->Args({ 5000, 100, 1 }) // a 100-cell pen
    ->Args({ 1250, 1000, 1 })
    ->Args({ 2500, 1000, 1 }) // pens wider than half the rectangle fill it
    ->Unit(benchmark::kMillisecond);

// The cell lists run to hundreds of megabytes. Left to itself the allocator hands such
// blocks back to the system after each run and the next run pays a page fault for every
// page again, which on a virtual machine costs more than the rasterising; with --warm the
// memory is kept, so the figures show the work per cell.
int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--warm") == 0) {
            mallopt(M_MMAP_MAX, 0);
            mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            break;
        }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
