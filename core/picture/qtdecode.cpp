#include "core/picture/qtdecode.h"

#include "core/base/error.h"
#include "core/picture/picturecomplete.h"
#include "core/picture/picturelimits.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>

#include <algorithm>

bool DecodeWithQt(const QByteArray &bytes, const char *format, QImage &picture, QString *error)
{
    // Large photographs exceed Qt's default limit: it is set to the memory budget, which
    // then also holds for a reader that gives no size before it decodes.
    QImageReader::setAllocationLimit(int(PictureMemoryBudget >> 20));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > MaxPictureSide || size.height() > MaxPictureSide))
        return Fail(error, QCoreApplication::translate("Picture", "The picture is larger than %1 cells on a side.")
                               .arg(MaxPictureSide));
    if (size.isValid()) {
        // The bytes a cell takes in the form the reader decodes to (true colour when it
        // does not tell).
        const QImage::Format decoded = reader.imageFormat();
        const int bitsPerCell = decoded == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(decoded).bitsPerPixel();
        if (!CheckPictureBudget(size.width(), size.height(), std::max(1, (bitsPerCell + 7) / 8), error))
            return false;
    }
    // Qt gives a picture of a cut bitmap or JPEG without an error.
    if (!CheckPictureComplete(format, bytes, error))
        return false;
    QImage image;
    if (!reader.read(&image))
        return Fail(error, QCoreApplication::translate("Picture", "The picture cannot be decoded: %1")
                               .arg(reader.errorString()));
    picture = image;
    return true;
}
