// The floating picture on a 2,688 x 20,000-cell piece: a turn to 30 degrees (against one
// plain copy of the turned picture's cells), the release of a move (which must not depend
// on the piece's size), a 1:1 stamp (against one plain copy of the piece's cells) and the
// drawing onto a 1,920 x 1,080-cell view (which costs the view, not the piece), each with
// the peak memory it adds.
#include "benchsetup.h"
#include "peakmemory.h"
#include "ratioreport.h"

#include "editor/floatingpicture.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <numbers>
#include <optional>

namespace {

constexpr int PieceWidth = 2688, PieceHeight = 20000;
constexpr double Turn30 = std::numbers::pi / 6;

// Runs of 4 cells of pseudo-random colours 1 to 250 on a grey palette (the same every time).
QImage piecePicture(int w, int h)
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[std::size_t(i)] = { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    QImage img = NewPicture(w, h, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        std::uint8_t *row = img.scanLine(y);
        for (int x = 0; x < w; x += 4) {
            seed = seed * 1664525u + 1013904223u;
            std::memset(row + x, 1 + int((seed >> 24) % 250u), std::size_t(std::min(4, w - x)));
        }
    }
    return img;
}

void setPeak(benchmark::State &state, long long peak)
{
    state.counters["peak_MB"] = double(peak) / (1024.0 * 1024.0);
}

// A piece as the grid makes one: taken from a picture, keyed, at (0, 0).
void makePiece(TBmp &bmp, const QImage &picture)
{
    bmp.Assign(picture);
    bmp.UpdateColorKey();
    bmp.SetAngle(0);
    bmp.UpdateTransformedImage();
}

void BM_TurnTo30(benchmark::State &state)
{
    const QImage picture = piecePicture(PieceWidth, PieceHeight);
    long long peak = 0;
    std::optional<TBmp> bmp;
    for (auto _ : state) {
        state.PauseTiming();
        bmp.emplace();
        makePiece(*bmp, picture);
        state.ResumeTiming();
        const bench::TPeakMemory memory;
        if (!bmp->TurnBy(Turn30))
            state.SkipWithError("turn refused");
        peak = std::max(peak, memory.Added());
        benchmark::DoNotOptimize(bmp->Image().constBits());
        state.PauseTiming();
        state.counters["turned_cells"] = double(bmp->Image().width()) * bmp->Image().height();
        bmp.reset();
        state.ResumeTiming();
    }
    setPeak(state, peak);
}

// The anchor of the turn: one plain copy of as many cells as the turned picture has.
void BM_CopyTurnedCells(benchmark::State &state)
{
    qint64 w = 0, h = 0;
    TurnedPictureSize(PieceWidth, PieceHeight, Turn30, w, h);
    const QImage source = piecePicture(int(w), int(h));
    for (auto _ : state) {
        QImage copy = source.copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
}

// Args: the piece's height. A move's release takes no time that grows with the piece.
void BM_MoveRelease(benchmark::State &state)
{
    TBmp bmp;
    makePiece(bmp, piecePicture(PieceWidth, int(state.range(0))));
    bmp.TurnBy(Turn30);
    const TPoint inside = bmp.Centre();
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        bmp.SelectAt(inside);
        bmp.DragHandleTo(1, 0, { inside.X + 1, inside.Y });
        bmp.SetShowFrame(true);
        peak = std::max(peak, memory.Added());
        state.PauseTiming();
        bmp.UpdateFrame({ bmp.SelRect().Left - 1, bmp.SelRect().Top });
        state.ResumeTiming();
    }
    setPeak(state, peak);
}

void BM_Stamp(benchmark::State &state)
{
    TBmp bmp;
    makePiece(bmp, piecePicture(PieceWidth, PieceHeight));
    QImage pattern = NewPicture(PieceWidth, PieceHeight, bmp.Palette());
    bmp.SetPictureCanvas(&pattern);
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        if (!bmp.StampOntoPicture())
            state.SkipWithError("stamp refused");
        peak = std::max(peak, memory.Added());
        benchmark::DoNotOptimize(pattern.constBits());
    }
    setPeak(state, peak);
}

// The anchor of the stamp: one plain copy of the piece's cells into a picture there is.
void BM_CopyPieceCells(benchmark::State &state)
{
    const QImage source = piecePicture(PieceWidth, PieceHeight);
    QImage target = source.copy();
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), std::size_t(source.sizeInBytes()));
        benchmark::DoNotOptimize(target.constBits());
    }
}

// Args: the piece's height. The turned piece drawn onto a full HD view of cells.
void BM_DrawWithFrame(benchmark::State &state)
{
    TBmp bmp;
    makePiece(bmp, piecePicture(PieceWidth, int(state.range(0))));
    bmp.TurnBy(Turn30);
    QImage view(1920, 1080, QImage::Format_RGB32);
    view.fill(0xFFFFFFFF);
    bmp.SetFrameCanvas(&view);
    const TRect b = bmp.Bounds();
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        bmp.SetViewMapping(-(b.Left + b.Right) / 2 + 960, -(b.Top + b.Bottom) / 2 + 540);
        bmp.DrawWithFrame();
        peak = std::max(peak, memory.Added());
        benchmark::DoNotOptimize(view.constBits());
    }
    setPeak(state, peak);
}

} // namespace

BENCHMARK(BM_TurnTo30)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CopyTurnedCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveRelease)->Arg(2000)->Arg(PieceHeight)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stamp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPieceCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawWithFrame)->Arg(2000)->Arg(PieceHeight)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunWithRatios(argc, argv,
        { { "BM_TurnTo30", "BM_CopyTurnedCells" }, { "BM_Stamp", "BM_CopyPieceCells" },
            { "BM_MoveRelease/20000", "BM_MoveRelease/2000" },
            { "BM_DrawWithFrame/20000", "BM_DrawWithFrame/2000" } });
}
