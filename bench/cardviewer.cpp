// Painting the card viewer: a 1280 x 800 window on a card of 65,535 cards x 2,816 needles,
// at the start, the middle and the end of the card, as the electronic card (zoom 2) and as
// cards on the sample-card layout. Only the visible cards are painted, so every paint
// should stay under 16 ms whatever the card's size.
#include "benchsetup.h"
#include "card/ui/cardviewerwindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>

namespace {

struct BigCard {
    TMultiByteArray card;
    TYangkaImage sample;
    BigCard()
    {
        sample.SetColCount(352);
        sample.SetRowCount(8); // 2,816 needles
        card = TMultiByteArray(65535);
        std::uint32_t seed = 99;
        for (auto &row : card) {
            row = TDynamicByteArray(352);
            for (auto &b : row) {
                seed = seed * 1664525u + 1013904223u;
                b = std::uint8_t(seed >> 24);
            }
        }
    }
};

const BigCard &bigCard()
{
    static const BigCard c;
    return c;
}

// range(0): 1 electronic, 0 sample-card layout; range(1): position in percent.
void BM_PaintViewer(benchmark::State &state)
{
    TFrmWenBan viewer;
    viewer.resize(1280, 800);
    viewer.LoadCard(bigCard().card, state.range(0) != 0, bigCard().sample);
    viewer.show();
    QScrollBar *vert = viewer.VertScroll();
    vert->setValue(int(qint64(vert->maximum()) * state.range(1) / 100));
    QWidget *canvas = viewer.Canvas();
    QImage target(canvas->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        canvas->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["first card"] = viewer.FirstCard() + 1;
}

} // namespace

BENCHMARK(BM_PaintViewer)->ArgsProduct({ { 1, 0 }, { 0, 50, 100 } })->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
