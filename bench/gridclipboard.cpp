// The clipboard of the pattern grid on a 5120 x 65,535 pattern: copying a 2,688 x 20,000
// selection, pasting it as a floating piece and dropping it (the stamp and its step),
// against one plain copy of the piece's cells; a shift of a 100 x 100 selection by an arrow
// key on that pattern, against the same shift on a 400 x 400 pattern (the box's cost, not
// the picture's); and painting a 1920 x 1080 view with that piece floating, against the
// same view without it (within 1.5 times).
#include "editor/patterngrid.h"

#include "benchsetup.h"
#include "ratioreport.h"

#include "editor/gridclipboard.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QMimeData>

#include <cstring>
#include <memory>

namespace {

constexpr int PieceWidth = 2688, PieceHeight = 20000;

const QImage &bigPattern()
{
    static const QImage img = bench::BigPattern();
    return img;
}

struct TBenchClipboard : TGridClipboard {
    std::unique_ptr<QMimeData> Data;
    const QMimeData *MimeData() const override { return Data.get(); }
    void SetMimeData(QMimeData *data) override { Data.reset(data); }
};

void setUp(TPatternGrid &grid, const QImage &picture, TBenchClipboard &clipboard)
{
    grid.SetClipboard(&clipboard);
    grid.SetClientSize(1920, 1080);
    grid.SetPicture(picture);
    grid.ReadPaletteFromPicture();
    grid.RebuildDisplayBitmap();
    grid.SetZoom(TPatternGrid::BaseZoomLevel);
    grid.UndoStore().MaxCount = 4;
}

void BM_CopyPasteDrop(benchmark::State &state)
{
    TBenchClipboard clipboard;
    TPatternGrid grid;
    setUp(grid, bigPattern(), clipboard);
    for (auto _ : state) {
        grid.SetSelectionRegion(QRegion(0, 0, PieceWidth, PieceHeight));
        if (!grid.Copy() || !grid.PasteFromClipboard({ 1000, 30000 }, true))
            state.SkipWithError("copy or paste refused");
        grid.DropFloatingObjects();
        benchmark::DoNotOptimize(grid.Picture().constBits());
    }
}

// The anchor: one plain copy of the piece's cells.
void BM_CopyPieceCells(benchmark::State &state)
{
    const QImage source = bigPattern().copy(0, 0, PieceWidth, PieceHeight);
    QImage target = source.copy();
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), std::size_t(source.sizeInBytes()));
        benchmark::DoNotOptimize(target.constBits());
    }
}

// Arg: the side of a square pattern (0: the 5120 x 65,535 one). One arrow-key shift of a
// 100 x 100 selection, recorded.
void BM_ArrowShift(benchmark::State &state)
{
    TBenchClipboard clipboard;
    TPatternGrid grid;
    const QImage small = bigPattern().copy(0, 0, 400, 400);
    setUp(grid, state.range(0) == 0 ? bigPattern() : small, clipboard);
    grid.UndoStore().MaxCount = 100;
    grid.SetSelectionRegion(QRegion(150, 150, 100, 100));
    grid.SetMoveWarp(true);
    for (auto _ : state) {
        grid.HandleArrowKey(Qt::Key_Left, false);
        benchmark::DoNotOptimize(grid.Picture().constBits());
    }
}

// Arg 1: the piece floats in the middle of the view; 0: the same view without it.
void BM_PaintView(benchmark::State &state)
{
    TBenchClipboard clipboard;
    TPatternGrid grid;
    setUp(grid, bigPattern(), clipboard);
    grid.SetLeftCol(1000);
    grid.SetTopRow(30000);
    if (state.range(0) == 1) {
        grid.SetSelectionRegion(QRegion(0, 0, PieceWidth, PieceHeight));
        if (!grid.Copy() || !grid.PasteFromClipboard({ 1000, 29500 }, true))
            state.SkipWithError("copy or paste refused");
    }
    QImage buffer;
    for (auto _ : state) {
        grid.Paint(buffer);
        benchmark::DoNotOptimize(buffer.constBits());
    }
}

} // namespace

BENCHMARK(BM_CopyPasteDrop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyPieceCells)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArrowShift)->Arg(0)->Arg(400)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PaintView)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunWithRatios(argc, argv,
        { { "BM_CopyPasteDrop", "BM_CopyPieceCells" }, { "BM_ArrowShift/0", "BM_ArrowShift/400" },
            { "BM_PaintView/1", "BM_PaintView/0" } });
}
