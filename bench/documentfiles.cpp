// Opening a 60 MB 8-bit bitmap as a document and saving the document as a bitmap and as
// a project, each against an anchor measured in the same run: Qt's own decode of the same
// file for the open, and a plain write of the same bytes into a new file of the same folder
// (with and without fdatasync) for the saves. Every iteration makes its files afresh.
#include "benchsetup.h"
#include "core/picture/bmpfile.h"
#include "core/picture/picturelimits.h"
#include "ratioreport.h"
#include "shell/document.h"
#include "shell/projectcard.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int Width = 6000, Height = 10000; // 60 MB of cells

// Runs of 1 to 8 cells of one index: a pattern rather than noise.
QImage pattern()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2), 0 };
    QImage img = NewPicture(Width, Height, pal);
    std::uint32_t seed = 4711;
    for (int y = 0; y < Height; ++y) {
        std::uint8_t *row = img.scanLine(y);
        for (int x = 0; x < Width;) {
            seed = seed * 1664525u + 1013904223u;
            const int run = 1 + int((seed >> 8) & 7);
            for (int i = 0; i < run && x < Width; ++i)
                row[x++] = std::uint8_t(seed >> 24);
        }
    }
    return img;
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

const QString &bmpFile()
{
    static const QString name = [] {
        const QString path = folder().filePath(QStringLiteral("big.bmp"));
        if (!SaveBmp8File(pattern(), path))
            std::abort();
        return path;
    }();
    return name;
}

QByteArray fileBytes(const QString &name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

// A document window's grid and document, as File > Open makes them.
struct TOpenDocument {
    TPatternGrid Grid;
    TDocument Document { Grid };
};

std::unique_ptr<TOpenDocument> openDocument(QString *error)
{
    auto doc = std::make_unique<TOpenDocument>();
    doc->Grid.SetClientSize(1920, 1080);
    if (!doc->Grid.LoadPictureFile(bmpFile(), error))
        return nullptr;
    return doc;
}

void BM_QtDecodeBmp8(benchmark::State &state)
{
    const QString &name = bmpFile();
    // The budget the program's own decoders hold, rather than Qt's default of 128 MB.
    QImageReader::setAllocationLimit(int(PictureMemoryBudget >> 20));
    for (auto _ : state) {
        QImage img;
        if (!QImageReader(name, "bmp").read(&img))
            state.SkipWithError("Qt could not decode the file");
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetBytesProcessed(state.iterations() * QFile(name).size());
}

void BM_OpenBmp8Document(benchmark::State &state)
{
    const QString &name = bmpFile();
    for (auto _ : state) {
        QString error;
        std::unique_ptr<TOpenDocument> doc = openDocument(&error);
        if (!doc)
            state.SkipWithError(error.toUtf8().constData());
        state.PauseTiming(); // closing is measured elsewhere
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFile(name).size());
}

// The anchor of a save: the same bytes written into a new file, optionally made durable.
void writeAnchor(benchmark::State &state, const QString &savedAs, bool sync)
{
    QString error;
    std::unique_ptr<TOpenDocument> doc = openDocument(&error);
    if (!doc || !doc->Grid.SaveToFile(savedAs, nullptr, &error)) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    const QByteArray bytes = fileBytes(savedAs);
    const QByteArray target = QFile::encodeName(folder().filePath(QStringLiteral("anchor.bin")));
    for (auto _ : state) {
        ::unlink(target.constData());
        const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool ok = fd >= 0 && ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
        if (sync)
            ok = ok && ::fdatasync(fd) == 0;
        ok = fd >= 0 && ::close(fd) == 0 && ok;
        if (!ok)
            state.SkipWithError("the anchor file could not be written");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_WriteBmpBytes(benchmark::State &state)
{
    writeAnchor(state, folder().filePath(QStringLiteral("anchor.bmp")), false);
}

void BM_WriteSyncBmpBytes(benchmark::State &state)
{
    writeAnchor(state, folder().filePath(QStringLiteral("anchor.bmp")), true);
}

void BM_WriteProjectBytes(benchmark::State &state)
{
    writeAnchor(state, folder().filePath(QStringLiteral("anchor.ovy")), false);
}

void BM_WriteSyncProjectBytes(benchmark::State &state)
{
    writeAnchor(state, folder().filePath(QStringLiteral("anchor.ovy")), true);
}

void BM_SaveAsBmp(benchmark::State &state)
{
    QString error;
    std::unique_ptr<TOpenDocument> doc = openDocument(&error);
    if (!doc) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    const QString name = folder().filePath(QStringLiteral("saved.bmp"));
    for (auto _ : state) {
        if (!doc->Grid.SaveToFile(name, nullptr, &error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.SetBytesProcessed(state.iterations() * QFile(name).size());
}

// As File > Save As > project: the project file with its sample card beside it.
void BM_SaveAsProject(benchmark::State &state)
{
    QString error;
    std::unique_ptr<TOpenDocument> doc = openDocument(&error);
    if (!doc) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    doc->Document.InitDocument();
    const QString name = folder().filePath(QStringLiteral("saved.ovy"));
    for (auto _ : state) {
        QStringList warnings;
        if (!SaveProjectDocument(doc->Document, name, &warnings, &error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.SetBytesProcessed(state.iterations() * QFile(name).size());
}

} // namespace

BENCHMARK(BM_QtDecodeBmp8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenBmp8Document)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBmpBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteSyncBmpBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveAsBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteProjectBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteSyncProjectBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveAsProject)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunWithRatios(argc, argv,
        { { "BM_OpenBmp8Document", "BM_QtDecodeBmp8" }, { "BM_SaveAsBmp", "BM_WriteSyncBmpBytes" },
            { "BM_SaveAsBmp", "BM_WriteBmpBytes" }, { "BM_SaveAsProject", "BM_WriteSyncProjectBytes" },
            { "BM_SaveAsProject", "BM_WriteProjectBytes" } });
}
