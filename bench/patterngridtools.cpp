// Drawing on a 5120 x 65,535 pattern with the grid's tools, each committed and recorded
// as one undo step: a free-hand stroke of 10,000 cells (also on a 5120 x 1000 pattern: a
// stroke must cost what the stroke costs, not what the pattern costs), a flood fill of a
// 5120 x 6300 area (also in a 5120 x 6300 picture), the colour change over the whole
// picture, and a spray burst of 80 points below zoom level 9. Each tool works in the
// steady state: the same grid round after round, its buffers in use. The anchors are one
// copy of the cells the fill covers into fresh memory, and into a kept buffer the cells
// of the fill and of the whole picture (the steady state), so the ratios after the table
// say how many such copies a tool costs. The counter step_bytes is the memory the
// newest step keeps.
//
// The picture repair window's three runs (clear mottle, repair, clear thorns; argument 0 to
// 2) on a 5120 x 6300 picture with about 10 % fore-colour cells, each with its undo step,
// beside the bare procedure on the same picture: the ratio says what the recording adds.
#include "benchsetup.h"
#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "editor/picturerepair.h"
#include "ratioreport.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstring>
#include <memory>

namespace {

using Ev = TPatternGrid::TCellEvent;

std::vector<std::pair<std::string, std::string>> g_ratios;

TPalette256 benchPalette()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2), 0 };
    return pal;
}

// A w x h grid of index 1 with a row of index 2 under the first 6300 rows, so that the
// fill from the top stops there.
std::unique_ptr<TPatternGrid> makeGrid(int w, int h)
{
    StartSettings().MaxUndoCount = 4;
    StartSettings().MaxBakDataSize = 1e9;
    auto g = std::make_unique<TPatternGrid>();
    QImage img = NewPicture(w, h, benchPalette());
    img.fill(1);
    if (h > 6300)
        std::memset(img.scanLine(6300), 2, w);
    g->SetClientSize(1920, 1080);
    g->SetPicture(img);
    g->ReadPaletteFromPicture();
    g->RebuildDisplayBitmap();
    g->ResetRepeatSize();
    g->SetZoom(9);
    return g;
}

TPatternGrid &bigGrid()
{
    static std::unique_ptr<TPatternGrid> g = makeGrid(5120, 65535);
    return *g;
}

TPatternGrid &areaGrid()
{
    static std::unique_ptr<TPatternGrid> g = makeGrid(5120, 6300);
    return *g;
}

// The packed cells of the newest step (none in a build whose steps keep no packed cells)
// and its cell entries, as the memory the step keeps.
template <class TStep> double stepBytes(const TStep &step)
{
    double bytes = double(step.Data.size()) * 6;
    if constexpr (requires { step.Packed; })
        bytes += step.Packed ? double(step.Packed->PackedBytes()) : 0.0;
    return bytes;
}

// The stroke: 10,000 cells, one cell per move.
void BM_FreeLineStroke(benchmark::State &state)
{
    static std::unique_ptr<TPatternGrid> small;
    if (state.range(1) != 65535 && !small)
        small = makeGrid(int(state.range(0)), int(state.range(1)));
    TPatternGrid &g = state.range(1) == 65535 ? bigGrid() : *small;
    g.SetDrawTool(TToolId::FreeLine);
    int fore = 3;
    for (auto _ : state) {
        g.SetForeColorIndex(fore);
        fore = fore == 3 ? 4 : 3;
        // Back and forth along rows 100 to 140, so that both patterns hold every cell.
        TPoint p { 100, 100 };
        int dx = 1;
        g.MouseDown(Ev { p });
        for (int i = 1; i < 10000; ++i) {
            if ((p.X == 4099 && dx > 0) || (p.X == 100 && dx < 0)) {
                if ((p.Y - 100) % 20 == 19)
                    dx = -dx;
                p.Y += 1;
            } else {
                p.X += dx;
            }
            g.MouseMove(Ev { p }, true);
        }
        g.MouseUp(Ev { p });
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

// The flood fill of the 5120 x 6300 area above the stop row, in the 5120 x 65,535 picture
// (no argument) and in a 5120 x 6300 picture (argument 6300).
void BM_FloodFillArea(benchmark::State &state)
{
    TPatternGrid &g = state.range(0) == 6300 ? areaGrid() : bigGrid();
    g.SetDrawTool(TToolId::FillColor);
    for (auto _ : state) {
        // Each fill turns the area into the other index, so every round fills it whole.
        const int now = g.Picture().constScanLine(0)[0];
        g.SetForeColorIndex(now == 1 ? 5 : 1);
        g.MouseDown(Ev { { 10, 10 } });
        g.MouseUp(Ev { { 10, 10 } });
    }
    if (const TUndoData *top = g.UndoStore().GetTopStep())
        state.counters["step_bytes"] = stepBytes(*top);
    state.SetItemsProcessed(state.iterations() * 5120LL * 6300);
}

// ChangeColor over the whole picture: every cell of the pressed index takes the fore index.
void BM_ChangeColorWholePicture(benchmark::State &state)
{
    TPatternGrid &g = bigGrid();
    g.SetDrawTool(TToolId::ChangeColor);
    for (auto _ : state) {
        const int now = g.Picture().constScanLine(7000)[0];
        g.SetForeColorIndex(now == 1 ? 6 : 1);
        g.MouseDown(Ev { { 10, 7000 } });
        g.MouseUp(Ev { { 10, 7000 } });
    }
    if (const TUndoData *top = g.UndoStore().GetTopStep())
        state.counters["step_bytes"] = stepBytes(*top);
    state.SetItemsProcessed(state.iterations() * 5120LL * 65535);
}

// One burst of 80 points of radius 25 while the view shows the picture reduced (level 4).
void BM_SprayBurstReduced(benchmark::State &state)
{
    TPatternGrid &g = bigGrid();
    g.SetZoom(4);
    g.SetSprayOption({ 25, 80 });
    g.SetRandomSeed(7);
    g.SetDrawTool(TToolId::Sprayer);
    g.SetForeColorIndex(8);
    g.MouseDown(Ev { { 2000, 30000 } });
    for (auto _ : state)
        g.ToolTimerTick();
    g.MouseUp(Ev { { 2000, 30000 } });
    g.SetZoom(9);
    state.SetItemsProcessed(state.iterations() * 80);
}

// The anchor: one copy of the 5120 x 6300 cells into fresh memory.
void BM_CopyFillArea(benchmark::State &state)
{
    const QImage &src = bigGrid().Picture();
    for (auto _ : state) {
        QImage copy(5120, 6300, QImage::Format_Indexed8);
        for (int y = 0; y < 6300; ++y)
            std::memcpy(copy.scanLine(y), src.constScanLine(y), 5120);
        benchmark::DoNotOptimize(copy.bits());
    }
}

// The steady anchors: one copy of the fill's cells, and of the whole 5120 x 65,535
// picture, into a buffer copied into before.
void BM_CopyKept(benchmark::State &state)
{
    const QImage &src = bigGrid().Picture();
    const int h = int(state.range(0));
    QImage kept(5120, h, QImage::Format_Indexed8);
    kept.fill(0);
    for (auto _ : state) {
        for (int y = 0; y < h; ++y)
            std::memcpy(kept.scanLine(y), src.constScanLine(y), 5120);
        benchmark::DoNotOptimize(kept.constBits());
        benchmark::ClobberMemory();
    }
}

// 5120 x 6300 cells of index 1 with about one in ten of index 3 (the fore colour), the
// same every time.
QImage speckledPicture()
{
    QImage img = NewPicture(5120, 6300, benchPalette());
    std::uint32_t seed = 12345;
    for (int y = 0; y < img.height(); ++y) {
        std::uint8_t *row = img.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            seed = seed * 1664525U + 1013904223U;
            row[x] = (seed >> 24) < 26 ? 3 : 1;
        }
    }
    return img;
}

TPatternGrid &repairGrid()
{
    static std::unique_ptr<TPatternGrid> g = [] {
        std::unique_ptr<TPatternGrid> grid = makeGrid(5120, 6300);
        grid->SetPicture(speckledPicture());
        grid->RebuildDisplayBitmap();
        grid->SetForeColorIndex(3);
        grid->SetBackColorIndex(1);
        return grid;
    }();
    return *g;
}

// A run of the window: the procedure on the grid's picture and its undo step; the undo
// that gives the picture back for the next round is not timed.
void BM_RepairRun(benchmark::State &state)
{
    TPatternGrid &g = repairGrid();
    const auto function = TRepairFunction(state.range(0));
    for (auto _ : state) {
        RunPictureRepair(g, function, 2);
        state.PauseTiming();
        if (g.UndoStore().UndoCount() > 0)
            g.Undo();
        state.ResumeTiming();
    }
}

// The anchor: the bare procedure on a copy of the same picture, recording nothing.
void BM_RepairBare(benchmark::State &state)
{
    const QImage source = speckledPicture();
    const TColor fore = repairGrid().GetForeColor(), back = repairGrid().GetBackColor();
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = source.copy();
        TLineArray cells;
        state.ResumeTiming();
        switch (TRepairFunction(state.range(0))) {
        case TRepairFunction::ClearMottle:
            ClearMottle(picture, fore, back, cells, 2);
            break;
        case TRepairFunction::Repair:
            RepairPicture(picture, fore, 2, &cells);
            break;
        case TRepairFunction::ClearThorn:
            ClearThorns(picture, back, fore, cells);
            break;
        }
        benchmark::DoNotOptimize(picture.constBits());
        state.PauseTiming();
        picture = QImage();
        cells = TLineArray();
        state.ResumeTiming();
    }
}

void registerAll()
{
    benchmark::RegisterBenchmark("BM_FreeLineStroke", BM_FreeLineStroke)
        ->Args({ 5120, 1000 })
        ->Args({ 5120, 65535 })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_FloodFillArea", BM_FloodFillArea)
        ->Arg(65535)
        ->Arg(6300)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CopyKept", BM_CopyKept)
        ->Arg(6300)
        ->Arg(65535)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ChangeColorWholePicture", BM_ChangeColorWholePicture)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SprayBurstReduced", BM_SprayBurstReduced)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_CopyFillArea", BM_CopyFillArea)->Unit(benchmark::kMillisecond);
    g_ratios.push_back({ "BM_FloodFillArea/65535", "BM_CopyFillArea" });
    g_ratios.push_back({ "BM_FloodFillArea/65535", "BM_CopyKept/6300" });
    g_ratios.push_back({ "BM_FloodFillArea/6300", "BM_CopyKept/6300" });
    g_ratios.push_back({ "BM_ChangeColorWholePicture", "BM_CopyKept/65535" });
    g_ratios.push_back({ "BM_ChangeColorWholePicture", "BM_CopyFillArea" });
    g_ratios.push_back({ "BM_FreeLineStroke/5120/65535", "BM_FreeLineStroke/5120/1000" });
    for (int function = 0; function < 3; ++function) {
        const std::string arg = std::string("/").append(std::to_string(function));
        benchmark::RegisterBenchmark("BM_RepairRun", BM_RepairRun)
            ->Arg(function)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_RepairBare", BM_RepairBare)
            ->Arg(function)
            ->Unit(benchmark::kMillisecond);
        g_ratios.push_back({ "BM_RepairRun" + arg, "BM_RepairBare" + arg });
    }
}

} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    registerAll();
    return bench::RunWithRatios(argc, argv, g_ratios);
}
