// Every call into GraphicsMagick, built as a module that the picture decoder opens with
// the first picture that needs the library (see core/decode/magickmodule.h).
#include "core/decode/magickmodule.h"
#include "core/picture/picturelimits.h"

#include <Magick++.h>
#include <tiffio.h>

#include <cstdio>
#include <mutex>

namespace {

// The library keeps each pixel of a picture it reads in a pixel packet: the memory
// budget in pixels.
constexpr qint64 bytesPerPixel = qint64(sizeof(MagickLib::PixelPacket));
constexpr qint64 budgetPixels = PictureMemoryBudget / bytesPerPixel;

// The library's TIFF coder installs process-wide libtiff message handlers that only work
// while the library itself reads a TIFF; Qt's TIFF reader uses the same libtiff and would
// call them on a damaged file, and the library then aborts the program. The handlers that
// were in place before the library was first used are put back after every use of it.
struct TTiffHandlers {
    TIFFErrorHandler Error = nullptr;
    TIFFErrorHandler Warning = nullptr;
    TIFFErrorHandlerExt ErrorExt = nullptr;
    TIFFErrorHandlerExt WarningExt = nullptr;
};

TTiffHandlers currentTiffHandlers()
{
    TTiffHandlers h;
    h.Error = TIFFSetErrorHandler(nullptr);
    h.Warning = TIFFSetWarningHandler(nullptr);
    h.ErrorExt = TIFFSetErrorHandlerExt(nullptr);
    h.WarningExt = TIFFSetWarningHandlerExt(nullptr);
    TIFFSetErrorHandler(h.Error);
    TIFFSetWarningHandler(h.Warning);
    TIFFSetErrorHandlerExt(h.ErrorExt);
    TIFFSetWarningHandlerExt(h.WarningExt);
    return h;
}

const TTiffHandlers &originalTiffHandlers()
{
    static const TTiffHandlers handlers = currentTiffHandlers();
    return handlers;
}

// Puts the original handlers back when it goes.
struct TTiffHandlersRestored {
    TTiffHandlersRestored() { originalTiffHandlers(); }
    ~TTiffHandlersRestored()
    {
        const TTiffHandlers &h = originalTiffHandlers();
        TIFFSetErrorHandler(h.Error);
        TIFFSetWarningHandler(h.Warning);
        TIFFSetErrorHandlerExt(h.ErrorExt);
        TIFFSetWarningHandlerExt(h.WarningExt);
    }
};

} // namespace

extern "C" void DorwenMagickInit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const TTiffHandlersRestored tiffHandlers;
        Magick::InitializeMagick(nullptr);
        // Hostile headers must not make the library allocate huge pictures: its coders
        // check these limits before they allocate.
        MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, MaxPictureSide);
        MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, MaxPictureSide);
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, budgetPixels);
    });
}

namespace {

// The library's limits are process-wide and are lifted for a moment below: one picture
// at a time.
std::mutex magickMutex;

MagickLib::ImageInfo *newImageInfo(const char *format)
{
    // The format is forced: the library must not pick another reader from the content
    // (a PostScript file named .pcx must never reach the PostScript interpreter).
    MagickLib::ImageInfo *info = MagickLib::CloneImageInfo(nullptr);
    std::snprintf(info->filename, sizeof info->filename, "%s:", format);
    std::snprintf(info->magick, sizeof info->magick, "%s", format);
    info->affirm = MagickTrue;
    return info;
}

// The size the file's header declares, for the message of a picture that the library
// refused for its limits: its coders check them before they honour a ping, so the pixel
// limit is lifted (to the side limits alone) while the header is read.
QSize declaredSize(const QByteArray &bytes, const char *format)
{
    MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, qint64(MaxPictureSide) * MaxPictureSide);
    MagickLib::ImageInfo *info = newImageInfo(format);
    info->subimage = 0; // some coders stop after the header only when asked for one picture
    info->subrange = 1;
    MagickLib::ExceptionInfo exception;
    MagickLib::GetExceptionInfo(&exception);
    MagickLib::Image *pinged = MagickLib::PingBlob(info, bytes.constData(), size_t(bytes.size()), &exception);
    MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, budgetPixels);
    QSize size;
    if (pinged) {
        size = QSize(int(pinged->columns), int(pinged->rows));
        MagickLib::DestroyImageList(pinged);
    }
    MagickLib::DestroyImageInfo(info);
    MagickLib::DestroyExceptionInfo(&exception);
    return size;
}

} // namespace

extern "C" void DorwenMagickDecode(const QByteArray &bytes, const char *format,
    const std::function<bool()> &complete, TMagickOutcome &outcome)
{
    using K = TMagickOutcome;
    DorwenMagickInit();
    outcome = TMagickOutcome();
    outcome.PixelBytes = int(bytesPerPixel);
    std::lock_guard<std::mutex> lock(magickMutex);
    const TTiffHandlersRestored tiffHandlers;
    MagickLib::ImageInfo *info = newImageInfo(format);
    MagickLib::ExceptionInfo exception;
    MagickLib::GetExceptionInfo(&exception);
    MagickLib::Image *raw = MagickLib::BlobToImage(info, bytes.constData(), size_t(bytes.size()), &exception);
    MagickLib::DestroyImageInfo(info);
    // A warning, given or kept with the picture, means damaged or missing data that the
    // library patched over: refused like an error.
    MagickLib::ExceptionType severity = exception.severity;
    if (raw && raw->exception.severity > severity)
        severity = raw->exception.severity;
    outcome.Reason = QString::fromLocal8Bit(exception.reason ? exception.reason
            : raw && raw->exception.reason                   ? raw->exception.reason
                                                             : "");
    MagickLib::DestroyExceptionInfo(&exception);
    if (!raw || severity != MagickLib::UndefinedException) {
        if (raw)
            MagickLib::DestroyImageList(raw);
        outcome.Kind = K::Damaged;
        if (severity == MagickLib::ResourceLimitError) {
            outcome.Kind = K::OverLimits;
            outcome.Declared = declaredSize(bytes, format);
        }
        return;
    }
    outcome.Reason.clear();
    // The library reads some cut files without a word (PCX rows past the end are made up).
    if (!complete()) {
        MagickLib::DestroyImageList(raw);
        outcome.Kind = K::Incomplete;
        return;
    }
    if (raw->next) { // only the first picture of a multi-picture file
        MagickLib::Image *rest = raw->next;
        raw->next = nullptr;
        rest->previous = nullptr;
        MagickLib::DestroyImageList(rest);
    }
    try {
        Magick::Image image(raw);
        const qint64 width = image.columns(), height = image.rows();
        if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide) {
            outcome.Kind = K::NoSize;
            return;
        }
        const Magick::PixelPacket *pixels = image.getConstPixels(0, 0, unsigned(width), unsigned(height));
        if (!pixels) {
            outcome.Kind = K::Undecodable;
            return;
        }
        const unsigned mapSize = image.classType() == Magick::PseudoClass ? image.colorMapSize() : 0;
        const Magick::IndexPacket *indexes
            = mapSize > 0 && mapSize <= 256 ? image.getConstIndexes() : nullptr;
        if (indexes) {
            QImage out(int(width), int(height), QImage::Format_Indexed8);
            if (out.isNull()) {
                outcome.Kind = K::NoMemory;
                return;
            }
            QList<QRgb> table(256, qRgb(0, 0, 0));
            for (unsigned i = 0; i < mapSize; ++i) {
                const Magick::Color c = image.colorMap(i);
                table[int(i)] = qRgb(ScaleQuantumToChar(c.redQuantum()), ScaleQuantumToChar(c.greenQuantum()),
                    ScaleQuantumToChar(c.blueQuantum()));
            }
            out.setColorTable(table);
            for (qint64 y = 0; y < height; ++y) {
                std::uint8_t *d = out.scanLine(int(y));
                for (qint64 x = 0; x < width; ++x) {
                    const unsigned v = indexes[y * width + x];
                    d[x] = std::uint8_t(v < mapSize ? v : 0);
                }
            }
            outcome.Picture = out;
            outcome.Bits = 8;
            outcome.Kind = K::Decoded;
            return;
        }
        QImage out(int(width), int(height), QImage::Format_RGB32);
        if (out.isNull()) {
            outcome.Kind = K::NoMemory;
            return;
        }
        for (qint64 y = 0; y < height; ++y) {
            auto *d = reinterpret_cast<QRgb *>(out.scanLine(int(y)));
            for (qint64 x = 0; x < width; ++x) {
                const Magick::PixelPacket &p = pixels[y * width + x];
                d[x] = qRgb(
                    ScaleQuantumToChar(p.red), ScaleQuantumToChar(p.green), ScaleQuantumToChar(p.blue));
            }
        }
        outcome.Picture = out;
        outcome.Bits = 24;
        outcome.Kind = K::Decoded;
    } catch (const std::exception &e) {
        outcome.Kind = K::UndecodableWhy;
        outcome.Reason = QString::fromLocal8Bit(e.what());
    }
}
