#include "core/picture/qtdecode.h"

#include "core/base/error.h"
#include "core/picture/picturecomplete.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

bool DecodeWithQt(
    QIODevice &device, const char *format, QImage &picture, QString *error, TPictureCells *cells)
{
    // Large photographs exceed Qt's default limit: it is set to the memory budget, which
    // then also holds for a reader that gives no size before it decodes.
    QImageReader::setAllocationLimit(int(PictureMemoryBudget >> 20));
    const qint64 start = device.pos();
    QImageReader reader(&device, format);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > MaxPictureSide || size.height() > MaxPictureSide))
        return Fail(error, GetUiMessage(UiKey::String::PictureSideOver).arg(MaxPictureSide));
    if (size.isValid()) {
        // The bytes a cell takes in the form the reader decodes to (true colour when it
        // does not tell).
        const QImage::Format decoded = reader.imageFormat();
        const int bitsPerCell
            = decoded == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(decoded).bitsPerPixel();
        if (!CheckPictureBudget(size.width(), size.height(), std::max(1, (bitsPerCell + 7) / 8), error))
            return false;
    }
    // Qt gives a picture of a cut bitmap or JPEG without an error.
    // Judged from the start of the picture; the reader goes on from where it stopped.
    const qint64 readerPos = device.pos();
    const bool complete
        = device.isSequential() || (device.seek(start) && CheckPictureComplete(format, device, error));
    if (!device.isSequential())
        device.seek(readerPos);
    if (!complete)
        return false;
    QImage image;
    // Qt's readers fill a picture of the right size and format that they are given.
    if (cells && size.isValid() && !size.isEmpty() && reader.imageFormat() == QImage::Format_RGB32)
        image = NewPictureOverCells(size, QImage::Format_RGB32, *cells);
    const bool read = reader.read(&image);
    if (cells && *cells && image.constBits() != cells->get())
        cells->reset(); // the reader made a picture of its own
    if (!read)
        return Fail(error, GetUiMessage(UiKey::String::PictureUndecodableWhy).arg(reader.errorString()));
    picture = image;
    return true;
}

bool DecodeWithQt(const QByteArray &bytes, const char *format, QImage &picture, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DecodeWithQt(buffer, format, picture, error);
}
