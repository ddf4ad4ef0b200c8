// Writing a large card (5120 needles, 6300 cards) in every controller format, and reading
// it back where the format has a reader. The DAT/P32 controllers hold fewer needles and
// cards: they write the largest card each variant holds.
#include "card/cardformats.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

TWenBanIO MakeCard(int cards, int rowCount, int colCount, int jacquard)
{
    TWenBanIO io;
    const int len = (rowCount * colCount + 7) / 8;
    io.Card = TMultiByteArray(cards);
    std::uint32_t seed = 12345;
    for (int r = 0; r < cards; ++r) {
        io.Card[r] = TDynamicByteArray(len);
        for (std::uint8_t &b : io.Card[r]) {
            seed = seed * 1664525u + 1013904223u;
            b = std::uint8_t(seed >> 24);
        }
    }
    io.CardCount = std::uint16_t(cards);
    io.RowCount = std::uint16_t(rowCount);
    io.ColCount = std::uint16_t(colCount);
    io.JacquardCount = std::uint16_t(jacquard);
    return io;
}

const TWenBanIO &BigCard()
{
    static const TWenBanIO io = MakeCard(6300, 8, 640, 5120);
    return io;
}

QTemporaryDir &Dir()
{
    static QTemporaryDir dir;
    return dir;
}

void RunWrite(benchmark::State &state, const TWenBanIO &io, const QString &path, int filterIndex)
{
    QString err;
    for (auto _ : state)
        if (!WriteControllerCard(io, path, filterIndex, &err))
            state.SkipWithError(err.toUtf8().constData());
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
    state.counters["cards"] = io.CardCount;
    state.counters["needles"] = double(io.RowCount) * io.ColCount;
}

// filterIndex as in the save dialogs: 2 selects JC5 variant A, 3 variant B.
void BM_Write(benchmark::State &state, const char *name, int filterIndex)
{
    RunWrite(state, BigCard(), Dir().filePath(QString::fromLatin1(name)), filterIndex);
}

// The largest card a DAT/P32 controller variant holds, with all its needles.
void BM_WriteDat(benchmark::State &state, const char *name, int variant)
{
    const int needles = variant == DatVBJ128 ? 128 : variant == DatPEJ320 ? 320 : 160;
    const TWenBanIO io = MakeCard(DatCardCapacity(variant), 8, needles / 8, needles);
    RunWrite(state, io, Dir().filePath(QString::fromLatin1(name)), variant + 4);
}

void BM_Read(benchmark::State &state, const char *name, int filterIndex)
{
    const QString path = Dir().filePath(QStringLiteral("read_") + QString::fromLatin1(name));
    QString err;
    if (!WriteControllerCard(BigCard(), path, filterIndex, &err)) {
        state.SkipWithError(err.toUtf8().constData());
        return;
    }
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    for (auto _ : state) {
        TWenBanIO io;
        io.FileName = path;
        io.Extension = QLatin1Char('.') + path.section(QLatin1Char('.'), -1).toUpper();
        QString error;
        if (!ReadControllerCard(io, bytes, &error))
            state.SkipWithError(error.toUtf8().constData());
        benchmark::DoNotOptimize(io.Card.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK_CAPTURE(BM_Write, EP, "big.EP", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, JC5_A, "big.JC5", 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, JC5_B, "big.JC5", 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, JC4, "big.JC4", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, QS, "big.QS", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, UPT, "big.UPT", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, WB, "big.WB", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, GRD, "big.GRD", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_WriteDat, DAT_VBJ128_full, "full0.DAT", DatVBJ128)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WriteDat, DAT_CEJ160_full, "full1.DAT", DatCEJ160)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WriteDat, DAT_PEJ160_full, "full2.DAT", DatPEJ160)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WriteDat, P32_PEJ320_full, "full3.P32", DatPEJ320)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// The big card itself is refused by every DAT/P32 variant.
BENCHMARK_CAPTURE(BM_Write, DAT_big_refused, "big.DAT", 4)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_CAPTURE(BM_Read, EP, "big.EP", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Read, JC5, "big.JC5", 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Read, QS, "big.QS", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Read, UPT, "big.UPT", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Read, WB, "big.WB", 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Read, GRD, "big.GRD", 1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
