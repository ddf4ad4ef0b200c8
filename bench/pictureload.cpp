// Loading large true-colour JPEG, PNG and 24-bit BMP files as 8-bit pictures, each
// against Qt's plain decode of the same file (the ratio is printed after the table).
#include "core/decode/pictureload.h"
#include "core/decode/pictureconvert.h"
#include "core/palette/palette.h"
#include "core/picture/bmpfile.h"
#include "peakmemory.h"
#include "ratioreport.h"
#include "shell/pictureformats.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <string>

namespace {

// A 6000 x 4000 photograph-like picture: smooth gradients with some texture, so that
// it uses many colour cells.
const QImage &photo()
{
    static const QImage img = [] {
        QImage p(6000, 4000, QImage::Format_RGB32);
        std::uint32_t seed = 7;
        for (int y = 0; y < p.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(p.scanLine(y));
            for (int x = 0; x < p.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int noise = int(seed >> 28);
                row[x] = qRgb((x * 255 / 6000 + noise) & 0xFF, (y * 255 / 4000 + noise) & 0xFF,
                    ((x + y) * 255 / 10000) & 0xFF);
            }
        }
        return p;
    }();
    return img;
}

QTemporaryDir &dir()
{
    static QTemporaryDir d;
    return d;
}

// The photograph written once in a format: "jpeg" (quality 90), "png" or "bmp" (24 bits).
QString photoFile(const char *format)
{
    static std::map<std::string, QString> files;
    auto it = files.find(format);
    if (it != files.end())
        return it->second;
    const QString path = dir().filePath(QStringLiteral("photo.") + QString::fromLatin1(format));
    QImageWriter writer(path, format);
    if (qstrcmp(format, "jpeg") == 0)
        writer.setQuality(90);
    if (!writer.write(photo()))
        std::abort();
    files.emplace(format, path);
    return path;
}

const QString &jpegFile()
{
    static const QString name = photoFile("jpeg");
    return name;
}

// Peak memory a step added, in MB, beside the decoded picture's and the 8-bit result's
// sizes, so that the counters show "peak <= decoded + result" at a glance.
void SetMemoryCounters(benchmark::State &state, long long peakAdded)
{
    constexpr double mb = 1024.0 * 1024.0;
    state.counters["peak_MB"] = double(peakAdded) / mb;
    state.counters["decoded_plus_8bit_MB"] = (6000.0 * 4000.0 * 4 + 6000.0 * 4000.0) / mb;
}

// The anchor: Qt's own decode of the file, nothing else.
void BM_Decode(benchmark::State &state, const char *format)
{
    const QString name = photoFile(format);
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        QImageReader reader(name, format);
        QImage img;
        if (!reader.read(&img))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(img.constBits());
        peak = std::max(peak, memory.Added());
    }
    state.SetItemsProcessed(state.iterations() * 6000LL * 4000LL);
    SetMemoryCounters(state, peak);
}
BENCHMARK_CAPTURE(BM_Decode, jpeg, "jpeg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Decode, png, "png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Decode, bmp24, "bmp")->Unit(benchmark::kMillisecond)->UseRealTime();

// The loader: file to 8-bit picture with white and black.
void BM_LoadAs8Bit(benchmark::State &state, const char *format)
{
    const QString name = photoFile(format);
    long long peak = 0;
    for (auto _ : state) {
        const bench::TPeakMemory memory;
        QImage img;
        if (!LoadPictureAs8Bit(name, img))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(img.constBits());
        peak = std::max(peak, memory.Added());
    }
    state.SetItemsProcessed(state.iterations() * 6000LL * 4000LL);
    SetMemoryCounters(state, peak);
}
BENCHMARK_CAPTURE(BM_LoadAs8Bit, jpeg, "jpeg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LoadAs8Bit, png, "png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LoadAs8Bit, bmp24, "bmp")->Unit(benchmark::kMillisecond)->UseRealTime();

// The conversion step alone, on the decoded picture.
void BM_ConvertDecodedTo8Bit(benchmark::State &state)
{
    QImage decoded;
    QImageReader(jpegFile(), "jpeg").read(&decoded);
    for (auto _ : state) {
        QImage img;
        ConvertPictureTo8Bit(decoded, img);
        EnsureBlackAndWhite(img);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 6000LL * 4000LL);
}
BENCHMARK(BM_ConvertDecodedTo8Bit)->Unit(benchmark::kMillisecond)->UseRealTime();

// The loader's path for the decoded picture: both steps in one pass over the pixels.
void BM_ConvertDecodedWithBlackAndWhite(benchmark::State &state)
{
    QImage decoded;
    QImageReader(jpegFile(), "jpeg").read(&decoded);
    for (auto _ : state) {
        QImage img;
        ConvertPictureTo8BitWithBlackAndWhite(decoded, img);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 6000LL * 4000LL);
}
BENCHMARK(BM_ConvertDecodedWithBlackAndWhite)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 6000 x 4000 8-bit bitmap whose palette lacks white and black: read by our own
// reader, indexes kept, white and black put in.
void BM_LoadBmp8(benchmark::State &state)
{
    static const QString name = [] {
        QImage img(6000, 4000, QImage::Format_Indexed8);
        TPalette256 pal;
        for (int i = 0; i < 256; ++i)
            pal[i] = { std::uint8_t(i), 10, 20, 0 };
        SetBitmapPalette(img, pal);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.scanLine(y)[x] = std::uint8_t(x ^ y);
        if (!SaveBmp8File(img, dir().filePath("big.bmp")))
            std::abort();
        return dir().filePath("big.bmp");
    }();
    for (auto _ : state) {
        QImage img;
        if (!LoadPictureAs8Bit(name, img))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 6000LL * 4000LL);
}
BENCHMARK(BM_LoadBmp8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    RegisterPictureFormats();
    return bench::RunWithRatios(argc, argv,
        { { "BM_LoadAs8Bit/bmp24", "BM_Decode/bmp24" }, { "BM_LoadAs8Bit/png", "BM_Decode/png" },
            { "BM_LoadAs8Bit/jpeg", "BM_Decode/jpeg" } });
}
