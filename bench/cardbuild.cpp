// Card computation on a pattern of 640 columns x 6300 rows with WarpRepeat 8, on a sample
// card of 5120 jacquard needles plus technical needles (6300 cards): with the default
// (solid) colour weaves and with 5 x 5 satin colour weaves, on a card whose jacquard
// needles follow one another and on one where a technical needle splits them every 15
// needles. The anchor is a memcpy of the needle map (one byte per jacquard needle and
// card, 32 MB).
#include "card/cardbuild.h"
#include "weave/weavefile.h"

#include "core/palette/palette.h"
#include "ratioreport.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstring>
#include <vector>

namespace {

constexpr int Cards = 6300;
constexpr int JacquardNeedles = 5120;

enum TWeaves { DefaultWeaves, SatinWeaves };
enum TLayout { ContiguousNeedles, SplitNeedles };

struct TBenchDoc {
    QImage Picture;
    TMesh Mesh;
    TYangkaImage Card;
};

const std::uint8_t TechCodes[] = { Needle::HealdRod, Needle::Selvedge, Needle::Shuttle, Needle::HealdFrame,
    Needle::WasteSelvedge, Needle::WeftDensity, Needle::StopMotion, Needle::LacingHole };

// 16 rows. Contiguous: 320 columns of jacquard needles, then 10 columns of technical
// needles. Split: 15 jacquard needles and one technical needle in every column.
TMultiByteArray MakeSampleCells(TLayout layout)
{
    if (layout == ContiguousNeedles) {
        TMultiByteArray cells = MakeWeaveArray(330, 16, Needle::Jacquard);
        for (int c = 320; c < 330; ++c)
            for (int r = 0; r < 16; ++r)
                cells[c][r] = TechCodes[(c * 16 + r) % 8];
        return cells;
    }
    const int columns = (JacquardNeedles + 14) / 15;
    TMultiByteArray cells = MakeWeaveArray(columns, 16, Needle::Jacquard);
    int jacquard = 0;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < 16; ++r) {
            if (r < 15 && jacquard < JacquardNeedles)
                ++jacquard;
            else
                cells[c][r] = TechCodes[(c * 16 + r) % 8];
        }
    return cells;
}

// Four colours, one of them near-black; cells drawn in runs so that the rows look like a
// design rather than noise.
void MakeDocument(TBenchDoc &doc, TWeaves weaves, TLayout layout)
{
    TPalette256 pal {};
    pal[0] = { 0, 0, 0, 0 };
    pal[1] = { 255, 255, 255, 0 };
    pal[2] = { 200, 30, 30, 0 };
    pal[3] = { 30, 30, 200, 0 };
    doc.Picture = NewPicture(640, Cards, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < doc.Picture.height(); ++y) {
        std::uint8_t *row = doc.Picture.scanLine(y);
        for (int x = 0; x < doc.Picture.width(); ++x) {
            if (x % 8 == 0)
                seed = seed * 1664525u + 1013904223u;
            row[x] = std::uint8_t((seed >> 24) & 3);
        }
    }
    InitNewDocument(doc.Mesh, &doc.Picture, 0, 0, 1, TColorArray { 0x000000, 0xFFFFFF, 0x1E1EC8, 0xC81E1E });
    doc.Mesh.WarpRepeat = 8;
    PrepareCardDocument(doc.Mesh);
    // Technical weaves: a 2 x 2 twill for each kind.
    for (int k = 0; k < 3; ++k) {
        TWeaveArray w = MakeWeaveArray(2, 2);
        w[0][0] = w[1][1] = 1;
        doc.Mesh.TechWeaves[k] = w;
    }
    if (weaves == SatinWeaves) {
        // 5 x 5 satins, shifted from slot to slot: no weft row is one value across.
        for (int s = 0; s < doc.Mesh.ColorWeaves.length(); ++s) {
            TWeaveArray w = MakeWeaveArray(5, 5);
            for (int i = 0; i < 5; ++i)
                w[i][(i * 2 + s) % 5] = 1;
            doc.Mesh.ColorWeaves[s] = w;
        }
    }
    doc.Card.SetCells(MakeSampleCells(layout));
}

void BM_BuildCard(benchmark::State &state, TWeaves weaves, TLayout layout)
{
    TBenchDoc doc;
    MakeDocument(doc, weaves, layout);
    for (auto _ : state) {
        TMultiByteArray card;
        TCardBuildResult result;
        if (!BuildCardData(doc.Mesh, doc.Card, ScanBottomLeft, card, result)) {
            state.SkipWithError(result.Error.toUtf8().constData());
            break;
        }
        benchmark::DoNotOptimize(card.data());
    }
    state.SetItemsProcessed(state.iterations() * Cards);
    state.SetBytesProcessed(state.iterations() * Cards * std::int64_t(JacquardNeedles));
}

// The anchor: copying one byte per jacquard needle and card.
void BM_MemcpyNeedleMap(benchmark::State &state)
{
    const std::size_t size = std::size_t(Cards) * JacquardNeedles;
    std::vector<std::uint8_t> from(size, 1), to(size, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(size));
}

// With DORWEN_BENCH_OUTPUT naming a folder, the cards, colour weaves and sample cards of the
// four documents are written there once, so that two builds can be compared byte for byte.
void WriteOutputs()
{
    const QString dir = qEnvironmentVariable("DORWEN_BENCH_OUTPUT");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    const struct {
        const char *Name;
        TWeaves Weaves;
        TLayout Layout;
    } cases[] = { { "default", DefaultWeaves, ContiguousNeedles },
        { "satin", SatinWeaves, ContiguousNeedles }, { "split_default", DefaultWeaves, SplitNeedles },
        { "split_satin", SatinWeaves, SplitNeedles } };
    for (const auto &c : cases) {
        TBenchDoc doc;
        MakeDocument(doc, c.Weaves, c.Layout);
        TMultiByteArray card;
        TCardBuildResult result;
        if (!BuildCardData(doc.Mesh, doc.Card, ScanBottomLeft, card, result))
            std::fprintf(stderr, "card %s: %s\n", c.Name, qPrintable(result.Error));
        QByteArray bytes;
        for (const TDynamicByteArray &row : card)
            bytes.append(reinterpret_cast<const char *>(row.data()), row.size());
        QFile f(dir + "/card_" + c.Name + ".bin");
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        doc.Card.SaveToFile(dir + "/sample_" + c.Name + ".yk");
        for (int s = 0; s < doc.Mesh.ColorWeaves.length(); ++s)
            WriteWeaveFile(
                dir + "/weave_" + c.Name + "_" + QString::number(s) + ".wv", doc.Mesh.ColorWeaves[s]);
    }
}

} // namespace

BENCHMARK(BM_MemcpyNeedleMap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_BuildCard, default_weaves, DefaultWeaves, ContiguousNeedles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_BuildCard, satin_weaves, SatinWeaves, ContiguousNeedles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_BuildCard, split_needles_default_weaves, DefaultWeaves, SplitNeedles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_BuildCard, split_needles_satin_weaves, SatinWeaves, SplitNeedles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char **argv)
{
    WriteOutputs();
    return bench::RunWithRatios(argc, argv,
        { { "BM_BuildCard/default_weaves", "BM_MemcpyNeedleMap" },
            { "BM_BuildCard/satin_weaves", "BM_MemcpyNeedleMap" },
            { "BM_BuildCard/split_needles_default_weaves", "BM_MemcpyNeedleMap" },
            { "BM_BuildCard/split_needles_satin_weaves", "BM_MemcpyNeedleMap" } });
}
