// Writing and reading a pattern project file (.OVY) of 3,000 x 30,000 cells with four weft
// entries: the time of each, and the memory each needs beyond what the process held
// before it (the peak resident size, reset before every run), to be compared with the
// 90 MB of the picture itself.
#include "card/projectfile.h"
#include "core/picture/bmpfile.h"
#include "editor/patterngrid.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr int Width = 3000, Height = 30000, Entries = 4;

// Resident and peak resident size of the process in bytes (/proc/self/status).
qint64 statusBytes(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stoll(line.substr(key.size())) * 1024;
    return 0;
}

// Makes the peak resident size start again from the resident size now.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

QImage pattern()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = TPaletteEntry { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0 };
    QImage p = NewPicture(Width, Height, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < p.height(); ++y) {
        std::uint8_t *row = p.scanLine(y);
        for (int x = 0; x < p.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = std::uint8_t((seed >> 24) & 7);
        }
    }
    return p;
}

// A grid holding the document: eight colours, four weft entries, 8 x 8 weaves.
void setUp(TPatternGrid &grid)
{
    grid.SetPicture(pattern());
    grid.ReadPaletteFromPicture();
    TMesh mesh;
    mesh.WeftRepeat = Entries;
    TColorArray colours(8);
    for (int i = 0; i < 8; ++i)
        colours[i] = TColor(i * 0x202020);
    InitNewDocument(mesh, &grid.Picture(), 120.0, 60.0, 1, colours);
    for (TWeaveArray &w : mesh.ColorWeaves)
        w = MakeWeaveArray(8, 8, 1);
    grid.SetMesh(mesh);
}

void BM_WriteProject(benchmark::State &state)
{
    TPatternGrid grid;
    setUp(grid);
    QTemporaryDir dir;
    const QString file = dir.filePath("big.ovy");
    double extra = 0;
    for (auto _ : state) {
        const qint64 before = statusBytes("VmRSS");
        resetPeak();
        QString error;
        if (!grid.WriteProjectFile(file, &error))
            state.SkipWithError(error.toUtf8().constData());
        extra = double(statusBytes("VmHWM") - before);
    }
    state.counters["extra_MB"] = extra / 1e6;
    state.counters["file_MB"] = double(QFile(file).size()) / 1e6;
}
BENCHMARK(BM_WriteProject)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadProject(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("big.ovy");
    {
        TPatternGrid grid;
        setUp(grid);
        if (!grid.WriteProjectFile(file))
            state.SkipWithError("cannot write the project");
    }
    double extra = 0;
    for (auto _ : state) {
        const qint64 before = statusBytes("VmRSS");
        resetPeak();
        TProjectRecord record;
        QString error;
        if (!LoadProjectFile(file, record, &error))
            state.SkipWithError(error.toUtf8().constData());
        // What stays is the record; the file's bytes are gone.
        extra = double(statusBytes("VmHWM") - before);
        benchmark::DoNotOptimize(record.Picture.constBits());
    }
    state.counters["extra_MB"] = extra / 1e6;
}
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond)->Iterations(3);

// The anchor: one copy of the picture's cells into fresh memory, the least a reader or
// writer does; on a shared machine the ratio to it is the figure to compare.
void BM_CopyPicture(benchmark::State &state)
{
    const QImage picture = pattern();
    for (auto _ : state) {
        QByteArray copy(qsizetype(Width) * Height, Qt::Uninitialized);
        for (int y = 0; y < Height; ++y)
            std::memcpy(copy.data() + qsizetype(y) * Width, picture.constScanLine(y), Width);
        benchmark::DoNotOptimize(copy.constData());
    }
}
BENCHMARK(BM_CopyPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

// With DORWEN_BENCH_OUTPUT naming a folder, the project and the picture as BMP are written
// there once, so that two builds can be compared byte for byte.
void writeOutputs()
{
    const QString dir = qEnvironmentVariable("DORWEN_BENCH_OUTPUT");
    if (dir.isEmpty())
        return;
    TPatternGrid grid;
    setUp(grid);
    QString error;
    if (!grid.WriteProjectFile(dir + "/project.ovy", &error)
        || !SaveBmp8File(grid.Picture(), dir + "/picture.bmp", &error))
        std::fprintf(stderr, "%s\n", qPrintable(error));
}

} // namespace

int main(int argc, char **argv)
{
    writeOutputs();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
