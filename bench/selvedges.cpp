// Borders, warp removal, selvedges and the crepe burst on a 5120 x 6300 picture and on one of a
// quarter of the cells: items per second stay level when an operation is linear in the cells.
// Each runs bare (the picture routine alone) and on a grid with its undo step. The anchors
// are one copy of the picture into a kept buffer and one into fresh memory; the ratios after
// the table say how many such copies an operation costs. The crepe burst (99 points) runs on
// the large picture and on a 64 x 64 one: its cost must not depend on the picture.
#include "editor/selvedges.h"
#include "benchsetup.h"
#include "core/palette/regions.h"
#include "core/settings/sharedstate.h"
#include "editor/borders.h"
#include "editor/crepe.h"
#include "editor/patterngrid.h"
#include "editor/warpremoval.h"
#include "ratioreport.h"

#include <benchmark/benchmark.h>

#include <QRegion>

#include <cstring>
#include <map>

namespace {

TPalette256 benchPalette()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    return pal;
}

// Runs of 1 to 8 cells of four indexes (0 ground, 1 areas, 2 and 3 others), so that the
// border walks start often and meet other colours, as on a reduced pattern.
const QImage &picture(int w, int h)
{
    static std::map<std::pair<int, int>, QImage> made;
    QImage &img = made[{ w, h }];
    if (img.isNull()) {
        img = NewPicture(w, h, benchPalette());
        std::uint32_t seed = 12345;
        for (int y = 0; y < h; ++y) {
            std::uint8_t *row = img.scanLine(y);
            for (int x = 0; x < w;) {
                seed = seed * 1664525u + 1013904223u;
                const int run = 1 + int((seed >> 8) & 7);
                for (int i = 0; i < run && x < w; ++i)
                    row[x++] = std::uint8_t((seed >> 24) & 3);
            }
        }
    }
    return img;
}

void prepareGrid(TPatternGrid &g, const QImage &img)
{
    StartSettings().MaxUndoCount = 4;
    StartSettings().MaxBakDataSize = 1e9;
    g.SetClientSize(1920, 1080);
    g.SetPicture(img.copy());
    g.ReadPaletteFromPicture();
    g.RebuildDisplayBitmap();
    g.SetZoom(9);
}

void showPicture(TPatternGrid &g, const QImage &img)
{
    g.UndoStore().Clear();
    g.SetPicture(img.copy());
    g.RebuildDisplayBitmap();
    g.ResetRepeatSize();
    g.ClearSelectionRegion();
    g.Picture().bits();
}

TBordureOption allSides3()
{
    TBordureOption o;
    o.LeftLength = o.RightLength = o.TopLength = o.BottomLength = 3;
    return o;
}

TClothSide side100(int color)
{
    TClothSide s;
    s.ColorIndex = color;
    s.Warps = 100;
    s.Weave = MakeWeaveArray(4, 4);
    for (int i = 0; i < 4; ++i)
        s.Weave[i][i] = 1;
    return s;
}

constexpr TBordureColors kColors { 1, 0, 5 };

void BM_BordureBare(benchmark::State &state)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    QImage out = img.copy();
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(out.bits(), img.constBits(), std::size_t(img.sizeInBytes()));
        state.ResumeTiming();
        benchmark::DoNotOptimize(ApplyBordure(img, out, allSides3(), kColors));
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

void BM_RemoveWarpBare(benchmark::State &state)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    const TPalette256 pal = benchPalette();
    for (auto _ : state) {
        QImage out;
        RemoveAlternateColumns(img, out, pal, QRegion(0, 0, img.width(), img.height()), 1);
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

void BM_ClothSidesBare(benchmark::State &state)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    const TPalette256 pal = benchPalette();
    for (auto _ : state) {
        QImage out;
        JoinClothSides(img, pal, side100(2), side100(3), 0, out);
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

using TCommand = std::function<bool(TPatternGrid &)>;

void runOnGrid(benchmark::State &state, const TCommand &command)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    TPatternGrid g;
    prepareGrid(g, img);
    for (auto _ : state) {
        state.PauseTiming();
        showPicture(g, img);
        state.ResumeTiming();
        if (!command(g))
            state.SkipWithError("the command refused");
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

// One burst of 99 points in a 99 x 99 box with run limits of 99: the most a burst reads.
void BM_CrepeBurst(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    QImage img = NewPicture(w, h, benchPalette());
    img.fill(0);
    TCrepeBurst burst;
    burst.Color = 1;
    burst.Option = { 99, 99, 99, 99, 99 };
    std::mt19937 random(1);
    std::vector<TPoint> cells;
    for (auto _ : state) {
        burst.Center = { int(random() % std::uint32_t(w)), int(random() % std::uint32_t(h)) };
        cells.clear();
        CrepeBurst(img, burst, random, cells);
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetItemsProcessed(state.iterations() * 99);
}

void BM_CopyPicture(benchmark::State &state)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    QImage kept(img.width(), img.height(), QImage::Format_Indexed8);
    kept.fill(0);
    for (auto _ : state) {
        std::memcpy(kept.bits(), img.constBits(), std::size_t(img.sizeInBytes()));
        benchmark::DoNotOptimize(kept.constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

void BM_CopyFreshPicture(benchmark::State &state)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QImage fresh(img.width(), img.height(), QImage::Format_Indexed8);
        std::memcpy(fresh.bits(), img.constBits(), std::size_t(img.sizeInBytes()));
        benchmark::DoNotOptimize(fresh.constBits());
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

std::vector<std::pair<std::string, std::string>> g_ratios;

void registerAll()
{
    const char *sizes[] = { "/2560/3150", "/5120/6300" };
    const std::vector<std::pair<const char *, void (*)(benchmark::State &)>> bare {
        { "BM_BordureBare", BM_BordureBare },
        { "BM_RemoveWarpBare", BM_RemoveWarpBare },
        { "BM_ClothSidesBare", BM_ClothSidesBare },
    };
    for (const auto &[name, fn] : bare) {
        benchmark::RegisterBenchmark(name, fn)
            ->Args({ 2560, 3150 })
            ->Args({ 5120, 6300 })
            ->Unit(benchmark::kMillisecond);
        for (const char *size : sizes)
            g_ratios.push_back({ std::string(name) + size, std::string("BM_CopyPicture") + size });
    }
    const std::vector<std::pair<const char *, TCommand>> commands {
        { "Bordure",
            [](TPatternGrid &g) {
                ApplyBordureToGrid(g, allSides3(), kColors);
                return true;
            } },
        { "RemoveWarp",
            [](TPatternGrid &g) { return RemoveAlternateWarps(g, QRegion(), TRemoveWarpParity::Odd); } },
        { "ClothSides", [](TPatternGrid &g) { return AddClothSides(g, side100(2), side100(3)); } },
    };
    for (const auto &[name, command] : commands) {
        benchmark::RegisterBenchmark((std::string("BM_Grid/") + name).c_str(),
            [command](benchmark::State &s) { runOnGrid(s, command); })
            ->Args({ 2560, 3150 })
            ->Args({ 5120, 6300 })
            ->Unit(benchmark::kMillisecond);
        for (const char *size : sizes)
            g_ratios.push_back(
                { std::string("BM_Grid/") + name + size, std::string("BM_CopyFreshPicture") + size });
    }
    benchmark::RegisterBenchmark("BM_CrepeBurst", BM_CrepeBurst)
        ->Args({ 64, 64 })
        ->Args({ 5120, 6300 })
        ->Unit(benchmark::kMicrosecond);
    g_ratios.push_back({ "BM_CrepeBurst/5120/6300", "BM_CrepeBurst/64/64" });
    for (auto fn : { std::make_pair("BM_CopyPicture", BM_CopyPicture),
             std::make_pair("BM_CopyFreshPicture", BM_CopyFreshPicture) })
        benchmark::RegisterBenchmark(fn.first, fn.second)
            ->Args({ 2560, 3150 })
            ->Args({ 5120, 6300 })
            ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    registerAll();
    return bench::RunWithRatios(argc, argv, g_ratios);
}
