// Joining whole pictures and linking two scans: the column interleave and the row join of
// four 2,000 x 10,000 pictures (one palette shared, or four palettes of their own) against
// a plain copy of the 8,000 x 10,000 result; linking two 3,000 x 4,000 pictures by hand and
// along guide lines turned by 3 degrees against turning the second picture by 3 degrees
// and copying a picture of the result's size. The counter peak_MB gives the most memory a
// run added.
#include "editor/picturejoin.h"
#include "benchsetup.h"
#include "core/palette/palettejoin.h"
#include "core/picture/imageproc.h"
#include "editor/picturemerge.h"
#include "peakmemory.h"
#include "ratioreport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double MB = 1024.0 * 1024.0;
constexpr double Degree = std::numbers::pi / 180;

// A picture of runs of 4 cells of pseudo-random colour, the colours drawn from 200 entries of
// a palette that differs with the seed (or not, for pictures of one palette).
QImage runsPicture(int w, int h, std::uint32_t seed, int paletteSeed)
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[std::size_t(i)] = TPaletteEntry { std::uint8_t(i + paletteSeed * 17), std::uint8_t(255 - i),
            std::uint8_t(i * 7 + paletteSeed), 0 };
    QImage p = NewPicture(w, h, pal);
    for (int y = 0; y < h; ++y) {
        std::uint8_t *row = p.scanLine(y);
        for (int x = 0; x < w; x += 4) {
            seed = seed * 1664525u + 1013904223u;
            std::fill_n(row + x, std::min(4, w - x), std::uint8_t((seed >> 24) % 200));
        }
    }
    return p;
}

QList<QImage> fourPictures(bool ownPalettes)
{
    QList<QImage> out;
    for (int i = 0; i < 4; ++i)
        out << runsPicture(2000, 10000, 77u + std::uint32_t(i), ownPalettes ? i : 0);
    return out;
}

template <class F> void measure(benchmark::State &state, long long cells, F work)
{
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        QImage result;
        if (!work(result))
            state.SkipWithError("refused");
        benchmark::DoNotOptimize(result.constBits());
        peak = std::max(peak, memory.Added());
    }
    state.SetItemsProcessed(state.iterations() * cells);
    state.counters["peak_MB"] = double(peak) / MB;
}

void BM_Interleave(benchmark::State &state, bool ownPalettes)
{
    const QList<QImage> four = fourPictures(ownPalettes);
    measure(state, 8000LL * 10000, [&](QImage &r) { return MergeLayerPictures(four, r); });
}
BENCHMARK_CAPTURE(BM_Interleave, one_palette, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Interleave, four_palettes, true)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JoinInARow(benchmark::State &state, bool ownPalettes)
{
    const QList<QImage> four = fourPictures(ownPalettes);
    measure(state, 8000LL * 10000, [&](QImage &r) { return DirectMergePictures(four, true, r); });
}
BENCHMARK_CAPTURE(BM_JoinInARow, one_palette, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_JoinInARow, four_palettes, true)->Unit(benchmark::kMillisecond)->UseRealTime();

// The anchor of the joins: a copy of an 8,000 x 10,000 picture into fresh memory.
void BM_CopyJoinResult(benchmark::State &state)
{
    const QImage big = runsPicture(8000, 10000, 5, 0);
    measure(state, 8000LL * 10000, [&](QImage &r) {
        r = big.copy();
        return !r.isNull();
    });
}
BENCHMARK(BM_CopyJoinResult)->Unit(benchmark::kMillisecond)->UseRealTime();

// Two scans of 3,000 x 4,000 with palettes of their own.
const QImage &scanA()
{
    static const QImage a = runsPicture(3000, 4000, 11, 1);
    return a;
}
const QImage &scanB()
{
    static const QImage b = runsPicture(3000, 4000, 12, 2);
    return b;
}

void BM_LinkByHand(benchmark::State &state)
{
    measure(state, 6000LL * 4000, [](QImage &r) { return UnitePicturePalettes(scanA(), scanB(), 1, 10, r); });
}
BENCHMARK(BM_LinkByHand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LinkAlongLines(benchmark::State &state)
{
    // A's line runs down its column 2,990; B's runs down column 10 turned by 3 degrees.
    const TPoint top = TurnedCell({ 10, 100 }, scanB().size(), 0),
                 bottom = TurnedCell({ 10, 3900 }, scanB().size(), 0);
    const double tilt = 3 * Degree;
    const double c = std::cos(tilt), s = std::sin(tilt);
    const TPoint bottomTilted { top.X + int(std::lround((bottom.Y - top.Y) * s)),
        top.Y + int(std::lround((bottom.Y - top.Y) * c)) };
    const std::vector<TPoint> points { { 2990, 100 }, { 2990, 3900 }, top, bottomTilted };
    measure(state, 6000LL * 4200, [&](QImage &r) { return AutoLinkByLines(scanA(), scanB(), 1, points, r); });
}
BENCHMARK(BM_LinkAlongLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// The anchor of the links: the second picture turned by 3 degrees, and a copy of a picture
// of the result's size.
void BM_TurnAndCopy(benchmark::State &state)
{
    const QImage result = runsPicture(6000, 4200, 9, 0);
    measure(state, 6000LL * 4200, [&](QImage &r) {
        QImage turned;
        if (!RotateAboutCentre(turned, scanB(), 0, 3 * Degree))
            return false;
        benchmark::DoNotOptimize(turned.constBits());
        r = result.copy();
        return !r.isNull();
    });
}
BENCHMARK(BM_TurnAndCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunWithRatios(argc, argv,
        {
            { "BM_Interleave/one_palette", "BM_CopyJoinResult" },
            { "BM_Interleave/four_palettes", "BM_CopyJoinResult" },
            { "BM_JoinInARow/one_palette", "BM_CopyJoinResult" },
            { "BM_JoinInARow/four_palettes", "BM_CopyJoinResult" },
            { "BM_LinkByHand", "BM_TurnAndCopy" },
            { "BM_LinkAlongLines", "BM_TurnAndCopy" },
        });
}
