#include "core/magickdecode.h"

#include "core/picturelimits.h"

#include <Magick++.h>

#include <QCoreApplication>

#include <mutex>

namespace {

void initMagick()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        // Hostile headers must not make the library allocate huge pictures.
        MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, MaxPictureSide);
        MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, MaxPictureSide);
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, 400LL * 1000 * 1000);
    });
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool DecodeWithMagick(const QByteArray &bytes, const char *format, QImage &picture, int &bits, QString *error)
{
    initMagick();
    if (bytes.isEmpty())
        return fail(error, QCoreApplication::translate("Picture", "The file is empty."));
    try {
        Magick::Image image;
        image.quiet(false); // warnings (damaged data) are thrown and fail the load
        const Magick::Blob blob(bytes.constData(), size_t(bytes.size()));
        image.read(blob, Magick::Geometry(), std::string(format));
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
    } catch (const Magick::Warning &) {
        return fail(error, QCoreApplication::translate("Picture", "The picture is damaged."));
    } catch (const std::exception &e) {
        return fail(error, QCoreApplication::translate("Picture", "The picture cannot be decoded: %1")
                               .arg(QString::fromLocal8Bit(e.what())));
    }
}
