// Scanning SANE's test backend's largest page (200 x 200 mm in colour at 600 dpi: 4,724 x
// 4,724 pixels) into a document's 8-bit picture, against writing and loading the same
// picture as a bitmap, the road a scan takes after it is read (the ratio is printed after
// the table). The backend's own time to make and hand over the page is measured apart.
#include "core/decode/pictureload.h"
#include "ratioreport.h"
#include "shell/pictureformats.h"
#include "shell/scanner.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sane/sane.h>

#include <vector>

namespace {
QTemporaryDir &dir()
{
    static QTemporaryDir d;
    return d;
}

// The test backend as the only scanner, set to its largest colour page.
void SetUpTestBackend()
{
    QFile dll(dir().filePath("dll.conf"));
    QFile options(dir().filePath("test.conf"));
    if (!dll.open(QIODevice::WriteOnly) || !options.open(QIODevice::WriteOnly))
        std::abort();
    dll.write("test\n");
    options.write("number_of_devices 1\nmode Color\ndepth 8\nresolution 600\ntl_x 0.0\ntl_y 0.0\n"
                  "br_x 200.0\nbr_y 200.0\ntest-picture \"Color pattern\"\n");
    qputenv("SANE_CONFIG_DIR", QFile::encodeName(dir().path()));
}

QString scanFile()
{
    return dir().filePath("scan.bmp");
}

bool scanPage(QImage &picture)
{
    TScanSession session;
    return session.Open(QStringLiteral("test:0")) && session.Acquire(picture, {}) == TScanResult::Done;
}

// The backend alone: the page made and read in the same pieces, the bytes dropped.
void BM_BackendReadOnly(benchmark::State &state)
{
    std::vector<SANE_Byte> buffer(TScanSession::ReadChunk);
    long long pageBytes = 0;
    for (auto _ : state) {
        SANE_Int version = 0;
        SANE_Handle handle = nullptr;
        if (sane_init(&version, nullptr) != SANE_STATUS_GOOD
            || sane_open("test:0", &handle) != SANE_STATUS_GOOD || sane_start(handle) != SANE_STATUS_GOOD) {
            state.SkipWithError("the test backend did not start");
            break;
        }
        SANE_Int length = 0;
        long long bytes = 0;
        while (sane_read(handle, buffer.data(), SANE_Int(buffer.size()), &length) == SANE_STATUS_GOOD)
            bytes += length;
        sane_cancel(handle);
        sane_close(handle);
        sane_exit();
        pageBytes = bytes;
    }
    // The whole page came: 4,724 x 4,724 pixels of three bytes.
    state.counters["page_MB"] = double(pageBytes) / (1024.0 * 1024.0);
    state.SetItemsProcessed(state.iterations() * 4724LL * 4724LL);
}
BENCHMARK(BM_BackendReadOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// The command's whole road: scan, the bitmap in the temporary folder, the document's load.
void BM_ScanIntoDocument(benchmark::State &state)
{
    for (auto _ : state) {
        QImage picture, loaded;
        if (!scanPage(picture) || !WriteScanBitmap(picture, scanFile())
            || !LoadPictureAs8Bit(scanFile(), loaded)) {
            state.SkipWithError("scan failed");
            break;
        }
        QFile::remove(scanFile());
        benchmark::DoNotOptimize(loaded.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 4724LL * 4724LL);
}
BENCHMARK(BM_ScanIntoDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

// The anchor: the same picture written as the same bitmap and loaded into a document.
void BM_WriteAndLoadBitmap(benchmark::State &state)
{
    QImage picture;
    if (!scanPage(picture)) {
        state.SkipWithError("scan failed");
        return;
    }
    for (auto _ : state) {
        QImage loaded;
        if (!WriteScanBitmap(picture, scanFile()) || !LoadPictureAs8Bit(scanFile(), loaded)) {
            state.SkipWithError("bitmap failed");
            break;
        }
        QFile::remove(scanFile());
        benchmark::DoNotOptimize(loaded.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 4724LL * 4724LL);
}
BENCHMARK(BM_WriteAndLoadBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    SetUpTestBackend();
    QCoreApplication app(argc, argv);
    RegisterPictureFormats();
    return bench::RunWithRatios(argc, argv,
        { { "BM_ScanIntoDocument", "BM_WriteAndLoadBitmap" },
            { "BM_BackendReadOnly", "BM_WriteAndLoadBitmap" } });
}
