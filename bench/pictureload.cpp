// Loading a large true-colour JPEG as an 8-bit picture, against decoding it alone.
#include "core/picture/bmpfile.h"
#include "core/palette/palette.h"
#include "core/decode/pictureconvert.h"
#include "core/decode/pictureload.h"
#include "shell/pictureformats.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

namespace {

// A 6000 x 4000 photograph-like picture: smooth gradients with some texture, so that
// it uses many colour cells.
const QString &jpegFile()
{
    static QTemporaryDir dir;
    static const QString name = [] {
        const QString path = dir.filePath("big.jpg");
        QImage img(6000, 4000, QImage::Format_RGB32);
        std::uint32_t seed = 7;
        for (int y = 0; y < img.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int noise = int(seed >> 28);
                row[x] = qRgb((x * 255 / 6000 + noise) & 0xFF, (y * 255 / 4000 + noise) & 0xFF,
                              ((x + y) * 255 / 10000) & 0xFF);
            }
        }
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        if (!writer.write(img))
            std::abort();
        return path;
    }();
    return name;
}

void BM_DecodeJpeg(benchmark::State &state)
{
    const QString &name = jpegFile();
    for (auto _ : state) {
        QImageReader reader(name, "jpeg");
        QImage img;
        if (!reader.read(&img))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 6000LL * 4000LL);
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadJpegAs8Bit(benchmark::State &state)
{
    const QString &name = jpegFile();
    for (auto _ : state) {
        QImage img;
        if (!LoadPictureAs8Bit(name, img))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 6000LL * 4000LL);
}
BENCHMARK(BM_LoadJpegAs8Bit)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    static QTemporaryDir dir;
    static const QString name = [] {
        QImage img(6000, 4000, QImage::Format_Indexed8);
        TPalette256 pal;
        for (int i = 0; i < 256; ++i)
            pal[i] = {std::uint8_t(i), 10, 20, 0};
        SetBitmapPalette(img, pal);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.scanLine(y)[x] = std::uint8_t(x ^ y);
        if (!SaveBmp8File(img, dir.filePath("big.bmp")))
            std::abort();
        return dir.filePath("big.bmp");
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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
