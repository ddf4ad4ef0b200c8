// The weave model on the largest weave its dialogs make (1,500 x 1,500): one edit with its
// undo snapshot against one plain copy of the cells, and another weave tiled over it.
#include "ratioreport.h"
#include "weave/weave.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Side = 1500;

TWeaveArray twill(int side)
{
    TWeaveArray cells = MakeWeaveArray(side, side);
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j)
            cells[i][j] = (i + j) % 4 == 0 ? 1 : 0;
    return cells;
}

// The anchor: one copy of the weave on storage of its own.
void BM_CopyWeave(benchmark::State &state)
{
    const TWeaveArray cells = twill(Side);
    for (auto _ : state) {
        TWeaveArray copy;
        CopyWeaveArray(cells, copy);
        benchmark::DoNotOptimize(copy[Side - 1][Side - 1]);
    }
}
BENCHMARK(BM_CopyWeave)->Unit(benchmark::kMillisecond);

// A cell toggled in a weave whose ring is full: the oldest snapshot goes, the new one is
// taken, the events fire.
void BM_EditWithSnapshot(benchmark::State &state)
{
    TWeave weave;
    weave.SetUndoEnabled(true);
    weave.SetCells(twill(Side), false);
    weave.ResetUndo(true);
    int changes = 0;
    weave.OnChange = [&changes](TWeave *) { ++changes; };
    int k = 0;
    for (auto _ : state)
        weave.ToggleCell(k++ % Side, Side / 2);
    benchmark::DoNotOptimize(changes);
}
BENCHMARK(BM_EditWithSnapshot)->Unit(benchmark::kMillisecond);

// An 8 x 8 weave tiled over the whole weave, snapshot included.
void BM_CombineTileOver(benchmark::State &state)
{
    TWeave weave;
    weave.SetUndoEnabled(true);
    weave.SetCells(twill(Side), false);
    weave.ResetUndo(true);
    const TWeaveArray small = twill(8);
    for (auto _ : state)
        weave.Combine(small, CombineTileAll);
    benchmark::DoNotOptimize(weave.GetCell(Side - 1, 0));
}
BENCHMARK(BM_CombineTileOver)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::RunWithRatios(
        argc, argv, { { "BM_EditWithSnapshot", "BM_CopyWeave" }, { "BM_CombineTileOver", "BM_CopyWeave" } });
}
