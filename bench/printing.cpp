// Printing: one page at zoom 24 of the largest pattern beside one of a 512 x 512 pattern (a
// page costs what the page holds, not the pattern), and fitting the largest pattern to the
// paper beside one plain copy of its cells, with the memory the fitted copy adds.
#include "benchsetup.h"
#include "peakmemory.h"
#include "ratioreport.h"

#include "editor/patterngrid.h"
#include "shell/printlayout.h"

#include <QPainter>

#include <cstring>
#include <vector>

namespace {

const QImage &bigPattern()
{
    static const QImage picture = bench::BigPattern();
    return picture;
}

const QImage &smallPattern()
{
    static const QImage picture = bigPattern().copy(0, 0, 512, 512);
    return picture;
}

// The layout of a pattern at zoom 24 on the page without a printer, 20 mm margins.
TPrintLayout layoutAtZoom24(const QImage &picture)
{
    TPatternGrid grid;
    grid.SetPicture(picture.copy(0, 0, 8, 8));
    grid.SetZoom(24);
    TPrintSource source;
    source.Picture = &picture;
    source.CellWidth = grid.DefaultColWidth() + grid.GridLineWidth();
    source.CellHeight = grid.DefaultRowHeight() + grid.GridLineWidth();
    source.WarpDensity = 100;
    source.WeftDensity = 100;
    TPrintLayout layout;
    layout.SetSource(source);
    layout.SetMargins(TPageOption {}, 96);
    return layout;
}

// A sheet as the preview paints it: furniture, the page and its labels.
void renderSheet(benchmark::State &state, const QImage &picture)
{
    const TPrintLayout layout = layoutAtZoom24(picture);
    QImage sheet(layout.ControlSize(), QImage::Format_RGB32);
    const int page = layout.PageCount() / 2;
    for (auto _ : state) {
        QPainter painter(&sheet);
        DrawPageFurniture(painter, sheet.size(), 96,
            QRect(layout.LeftPx(), layout.TopPx(), sheet.width() - layout.LeftPx() - layout.RightPx(),
                sheet.height() - layout.TopPx() - layout.BottomPx()));
        layout.DrawPage(painter, page, true);
        painter.end();
        benchmark::DoNotOptimize(sheet.constBits());
    }
    state.counters["pages"] = layout.PageCount();
}

void BM_RenderPageOfBigPattern(benchmark::State &state)
{
    renderSheet(state, bigPattern());
}
BENCHMARK(BM_RenderPageOfBigPattern)->Unit(benchmark::kMillisecond);

void BM_RenderPageOf512Pattern(benchmark::State &state)
{
    renderSheet(state, smallPattern());
}
BENCHMARK(BM_RenderPageOf512Pattern)->Unit(benchmark::kMillisecond);

void BM_FitBigPatternToPaper(benchmark::State &state)
{
    double added = 0;
    for (auto _ : state) {
        TPrintLayout layout = layoutAtZoom24(bigPattern());
        const bench::TPeakMemory peak;
        layout.SetFitToPaper(true);
        added = double(peak.Added());
        benchmark::DoNotOptimize(layout.FittedCopy().constBits());
    }
    state.counters["added_MB"] = added / 1e6;
}
BENCHMARK(BM_FitBigPatternToPaper)->Unit(benchmark::kMillisecond);

// The anchor: one plain copy of the big pattern's cells into memory already in use.
void BM_CopyBigPattern(benchmark::State &state)
{
    const QImage &picture = bigPattern();
    std::vector<uchar> copy(std::size_t(picture.width()) * picture.height(), 1);
    for (auto _ : state) {
        for (int y = 0; y < picture.height(); ++y)
            std::memcpy(
                copy.data() + std::size_t(y) * picture.width(), picture.constScanLine(y), picture.width());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyBigPattern)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunWithRatios(argc, argv,
        { { "BM_RenderPageOfBigPattern", "BM_RenderPageOf512Pattern" },
            { "BM_FitBigPatternToPaper", "BM_CopyBigPattern" } });
}
