// Painting the weave design window's grid: a 1,500 x 1,500 weave in a 1280 x 800 view at
// cell sizes 1, 14 and 40, painted where it stands and scrolled by one screen. Every paint
// should stay under 16 ms. The anchor is the same view's pixels filled and drawn onto a
// surface of its size: what any paint of that view costs at least.
#include "benchsetup.h"
#include "ratioreport.h"
#include "weave/ui/weavegrid.h"
#include "weave/weavearray.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int kSide = 1500;
const QSize kView(1280, 800);

// A weave with no stretch of like cells long enough for a paint to take a short cut.
const TWeaveArray &bigWeave()
{
    static const TWeaveArray cells = [] {
        TWeaveArray c = MakeWeaveArray(kSide, kSide);
        std::uint32_t seed = 777;
        for (int i = 0; i < kSide; ++i)
            for (int j = 0; j < kSide; ++j) {
                seed = seed * 1664525u + 1013904223u;
                c[i][j] = std::uint8_t(seed >> 31);
            }
        return c;
    }();
    return cells;
}

struct TView {
    TWeaveGrid grid;
    explicit TView(int cellSize)
    {
        grid.resize(kView);
        grid.SetWeave(&bigWeave());
        grid.SetCellSize(cellSize);
        grid.show();
        QCoreApplication::processEvents();
        // In the middle of the weave, where a view is full of cells.
        grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum() / 2);
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
    }
};

void BM_PaintWeave(benchmark::State &state)
{
    TView view(int(state.range(0)));
    for (auto _ : state) {
        QImage image = view.grid.Render();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ScrollWeave(benchmark::State &state)
{
    TView view(int(state.range(0)));
    QScrollBar *bar = view.grid.verticalScrollBar();
    bar->setValue(0);
    for (auto _ : state) {
        int next = bar->value() + bar->pageStep();
        if (next > bar->maximum())
            next = 0;
        bar->setValue(next);
        QImage image = view.grid.Render();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The anchor: a view-sized image filled and drawn onto a view-sized surface.
void BM_Anchor_FillAndBlit(benchmark::State &state)
{
    QImage screen(kView, QImage::Format_RGB32);
    for (auto _ : state) {
        QImage image(kView, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&screen);
        p.drawImage(0, 0, image);
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}

void cellSizes(benchmark::internal::Benchmark *b)
{
    for (int size : { 1, 14, 40 })
        b->Arg(size);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_PaintWeave)->Apply(cellSizes);
BENCHMARK(BM_ScrollWeave)->Apply(cellSizes);
BENCHMARK(BM_Anchor_FillAndBlit)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    bench::UseOffscreenUnlessChosen();
    bench::TPrivateHome home;
    QApplication app(argc, argv);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char *name : { "BM_PaintWeave", "BM_ScrollWeave" })
        for (const char *size : { "1", "14", "40" })
            pairs.emplace_back(std::string(name) + "/" + size, "BM_Anchor_FillAndBlit");
    return bench::RunWithRatios(argc, argv, pairs);
}
