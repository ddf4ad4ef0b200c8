// Filling the library browsers, as the main window does at every start: the weave browser
// with 500 weave files and the pattern browser with 100 project files of 2,000 x 10,000
// cells (hard links of one file, so that the benchmark does not need 2 GB of disk; each
// is read on its own all the same). The thumbnails of projects come from the project's
// preview picture, those of weaves from the weave file.
#include "benchsetup.h"
#include "card/projectfile.h"
#include "editor/patterngrid.h"
#include "shell/ui/browseview.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

constexpr int Width = 2000, Height = 10000, Projects = 100, Weaves = 500;

void writeProject(const QString &file)
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = TPaletteEntry { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0 };
    QImage p = NewPicture(Width, Height, pal);
    for (int y = 0; y < p.height(); ++y) {
        std::uint8_t *row = p.scanLine(y);
        for (int x = 0; x < p.width(); ++x)
            row[x] = std::uint8_t((x / 50 + y / 50) & 7);
    }
    TPatternGrid grid;
    grid.SetPicture(p);
    grid.ReadPaletteFromPicture();
    TMesh mesh;
    mesh.WeftRepeat = 1;
    TColorArray colours(8);
    for (int i = 0; i < 8; ++i)
        colours[i] = TColor(i * 0x202020);
    InitNewDocument(mesh, &grid.Picture(), 120.0, 60.0, 1, colours);
    grid.SetMesh(mesh);
    grid.WriteProjectFile(file);
}

// Fills a browser of the library's column size with the folder, as the library frame
// does on opening it; the number of thumbnails it shows.
qsizetype thumbnailCount(TBrowseMode mode, const QString &folder)
{
    TBrowseAll browse;
    browse.SetMode(mode);
    browse.SetMargin(4);
    browse.SetThumbSize(102, 102);
    browse.resize(130, 600);
    browse.SetFolder(folder);
    return browse.Thumbnails().size();
}

void BM_FillPatternBrowser(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString first = dir.filePath("p000.ovy");
    writeProject(first);
    for (int i = 1; i < Projects; ++i)
        ::link(QFile::encodeName(first).constData(),
            QFile::encodeName(dir.filePath(QStringLiteral("p%1.ovy").arg(i, 3, 10, QLatin1Char('0'))))
                .constData());
    for (auto _ : state)
        if (thumbnailCount(TBrowseMode::Patterns, dir.path()) != Projects)
            state.SkipWithError("not every project has its thumbnail");
    state.counters["file_MB"] = double(QFile(first).size()) / 1e6;
}
BENCHMARK(BM_FillPatternBrowser)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_FillWeaveBrowser(benchmark::State &state)
{
    QTemporaryDir dir;
    for (int i = 0; i < Weaves; ++i) {
        const int size = 4 + i % 29;
        TWeaveArray cells = MakeWeaveArray(size, size, 0);
        for (int j = 0; j < size; ++j)
            cells[(j * 3) % size][j] = 1;
        WriteWeaveFile(dir.filePath(QStringLiteral("w%1.ovw").arg(i, 3, 10, QLatin1Char('0'))), cells);
    }
    for (auto _ : state)
        if (thumbnailCount(TBrowseMode::Weaves, dir.path()) != Weaves)
            state.SkipWithError("not every weave has its thumbnail");
}
BENCHMARK(BM_FillWeaveBrowser)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
