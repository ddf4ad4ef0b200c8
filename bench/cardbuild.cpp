// Card computation on a pattern of 640 columns x 6300 rows with WarpRepeat 8, on a sample
// card of 5120 jacquard needles plus technical needles (6300 cards).
#include "card/cardbuild.h"

#include "core/palette/palette.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {

struct TBenchDoc {
    QImage Picture;
    TMesh Mesh;
    TYangkaImage Card;
};

// Four colours, one of them near-black; cells drawn in runs so that the rows look like a
// design rather than noise.
void MakeDocument(TBenchDoc &doc, bool plainWeaves)
{
    TPalette256 pal{};
    pal[0] = {0, 0, 0, 0};
    pal[1] = {255, 255, 255, 0};
    pal[2] = {200, 30, 30, 0};
    pal[3] = {30, 30, 200, 0};
    doc.Picture = NewPicture(640, 6300, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < doc.Picture.height(); ++y) {
        std::uint8_t *row = doc.Picture.scanLine(y);
        for (int x = 0; x < doc.Picture.width(); ++x) {
            if (x % 8 == 0)
                seed = seed * 1664525u + 1013904223u;
            row[x] = std::uint8_t((seed >> 24) & 3);
        }
    }
    InitNewDocument(doc.Mesh, &doc.Picture, 0, 0, 1, TColorArray{0x000000, 0xFFFFFF, 0x1E1EC8, 0xC81E1E});
    doc.Mesh.WarpRepeat = 8;
    PrepareCardDocument(doc.Mesh);
    // Technical weaves: a 2 x 2 twill for each kind.
    for (int k = 0; k < 3; ++k) {
        TWeaveArray w = MakeWeaveArray(2, 2);
        w[0][0] = w[1][1] = 1;
        doc.Mesh.TechWeaves[k] = w;
    }
    if (!plainWeaves) {
        // Satin-like colour weaves: rows that are not all one value take the slow path.
        for (int s = 0; s < doc.Mesh.ColorWeaves.length(); ++s) {
            TWeaveArray w = MakeWeaveArray(5, 5);
            for (int i = 0; i < 5; ++i)
                w[i][(i * 2 + s) % 5] = 1;
            doc.Mesh.ColorWeaves[s] = w;
        }
    }
    // 16 rows x 330 columns: 320 columns of jacquard needles, then technical needles.
    TMultiByteArray cells = MakeWeaveArray(330, 16, Needle::Jacquard);
    const std::uint8_t tech[] = {Needle::HealdRod, Needle::Selvedge, Needle::Shuttle, Needle::HealdFrame,
                                 Needle::WasteSelvedge, Needle::WeftDensity, Needle::StopMotion, Needle::LacingHole};
    for (int c = 320; c < 330; ++c)
        for (int r = 0; r < 16; ++r)
            cells[c][r] = tech[(c * 16 + r) % 8];
    doc.Card.SetCells(cells);
}

void BM_BuildCard(benchmark::State &state)
{
    TBenchDoc doc;
    MakeDocument(doc, state.range(0) == 0);
    for (auto _ : state) {
        TMultiByteArray card;
        TCardBuildResult result;
        if (!BuildCardData(doc.Mesh, doc.Card, ScanBottomLeft, card, result)) {
            state.SkipWithError(result.Error.toUtf8().constData());
            break;
        }
        benchmark::DoNotOptimize(card.data());
    }
    state.SetItemsProcessed(state.iterations() * 6300);
    state.SetLabel(state.range(0) == 0 ? "default colour weaves" : "5 x 5 satin colour weaves");
}

} // namespace

BENCHMARK(BM_BuildCard)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
