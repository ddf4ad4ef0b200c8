#include "core/decode/magickdecode.h"

#include "core/picture/picturelimits.h"

#include <Magick++.h>

#include <QCoreApplication>

#include <cstdio>
#include <mutex>

void InitMagick()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        // Hostile headers must not make the library allocate huge pictures.
        MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, MaxPictureSide);
        MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, MaxPictureSide);
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, 128LL * 1024 * 1024);
    });
}

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool DecodeWithMagick(const QByteArray &bytes, const char *format, QImage &picture, int &bits, QString *error)
{
    InitMagick();
    if (bytes.isEmpty())
        return fail(error, QCoreApplication::translate("Picture", "The file is empty."));
    // The format is forced: the library must not pick another reader from the content
    // (a PostScript file named .pcx must never reach the PostScript interpreter).
    MagickLib::ImageInfo *info = MagickLib::CloneImageInfo(nullptr);
    std::snprintf(info->filename, sizeof info->filename, "%s:", format);
    std::snprintf(info->magick, sizeof info->magick, "%s", format);
    info->affirm = MagickTrue;
    MagickLib::ExceptionInfo exception;
    MagickLib::GetExceptionInfo(&exception);
    MagickLib::Image *raw = MagickLib::BlobToImage(info, bytes.constData(), size_t(bytes.size()), &exception);
    MagickLib::DestroyImageInfo(info);
    const bool warned = exception.severity != MagickLib::UndefinedException;
    const QString reason = QString::fromLocal8Bit(exception.reason ? exception.reason : "");
    MagickLib::DestroyExceptionInfo(&exception);
    if (!raw || warned) {
        if (raw)
            MagickLib::DestroyImageList(raw);
        // A warning means damaged data that the library patched over.
        return fail(error, QCoreApplication::translate("Picture", "The picture is damaged or not a %1 file (%2).")
                               .arg(QLatin1String(format), reason));
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
        if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide)
            return fail(error, QCoreApplication::translate("Picture", "The picture has no usable size."));
        const Magick::PixelPacket *pixels = image.getConstPixels(0, 0, unsigned(width), unsigned(height));
        if (!pixels)
            return fail(error, QCoreApplication::translate("Picture", "The picture cannot be decoded."));
        const unsigned mapSize = image.classType() == Magick::PseudoClass ? image.colorMapSize() : 0;
        const Magick::IndexPacket *indexes = mapSize > 0 && mapSize <= 256 ? image.getConstIndexes() : nullptr;
        if (indexes) {
            QImage out(int(width), int(height), QImage::Format_Indexed8);
            if (out.isNull())
                return fail(error, QCoreApplication::translate("Picture", "Not enough memory for the picture."));
            QList<QRgb> table(256, qRgb(0, 0, 0));
            for (unsigned i = 0; i < mapSize; ++i) {
                const Magick::Color c = image.colorMap(i);
                table[int(i)] = qRgb(ScaleQuantumToChar(c.redQuantum()),
                                     ScaleQuantumToChar(c.greenQuantum()),
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
            picture = out;
            bits = 8;
            return true;
        }
        QImage out(int(width), int(height), QImage::Format_RGB32);
        if (out.isNull())
            return fail(error, QCoreApplication::translate("Picture", "Not enough memory for the picture."));
        for (qint64 y = 0; y < height; ++y) {
            auto *d = reinterpret_cast<QRgb *>(out.scanLine(int(y)));
            for (qint64 x = 0; x < width; ++x) {
                const Magick::PixelPacket &p = pixels[y * width + x];
                d[x] = qRgb(ScaleQuantumToChar(p.red), ScaleQuantumToChar(p.green),
                            ScaleQuantumToChar(p.blue));
            }
        }
        picture = out;
        bits = 24;
        return true;
    } catch (const std::exception &e) {
        return fail(error, QCoreApplication::translate("Picture", "The picture cannot be decoded: %1")
                               .arg(QString::fromLocal8Bit(e.what())));
    }
}
