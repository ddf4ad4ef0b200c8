#include "shell/thumbnails.h"

#include "card/fmt_pictures.h"
#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/decode/pictureload.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace {
const QColor kWeaveGround(255, 255, 0);
const QColor kWeavePoint(0, 0, 255);

// The project file holds at most a 65535 x 65535 picture with its tables; the reader
// takes the whole file, so the budget of a picture file bounds it.
constexpr qint64 kMaxThumbnailFile = MaxPictureFileSize;

const char *qtFormat(const QString &suffix)
{
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return "JPEG";
    if (suffix == QLatin1String("png"))
        return "PNG";
    if (suffix == QLatin1String("bmp"))
        return "BMP";
    return nullptr;
}

// Decodes with Qt, scaled down while decoding when the picture is larger than the box.
bool decodeScaled(QIODevice &device, const char *format, QSize box, TThumbnail &thumbnail, QString *error)
{
    QImageReader::setAllocationLimit(int(PictureMemoryBudget >> 20));
    QImageReader reader(&device, format);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return Fail(error, GetUiMessage(QStringLiteral("PictureUndecodableWhy")).arg(reader.errorString()));
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        return Fail(error, GetUiMessage(QStringLiteral("PictureSideOver")).arg(MaxPictureSide));
    if (!box.isEmpty() && (size.width() > box.width() || size.height() > box.height()))
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return Fail(error, GetUiMessage(QStringLiteral("PictureUndecodableWhy")).arg(reader.errorString()));
    thumbnail.Picture = image;
    thumbnail.FileSize = size;
    return true;
}

bool weaveThumbnail(
    const TWeaveArray &cells, const QString &fileName, QSize box, TThumbnail &thumbnail, QString *error)
{
    const int warps = WeaveWarps(cells);
    const int wefts = warps > 0 ? WeaveWefts(cells) : 0;
    if (warps <= 0 || wefts <= 0)
        return Fail(error, GetUiMessage(QStringLiteral("WeaveFileEmpty")).arg(fileName));
    // Without a room of its own, one repeat of the weave, at most 64 cells a side.
    const QSize area
        = box.isEmpty() ? QSize(std::min(warps, 64), std::min(wefts, 64)) * WeaveThumbnailCellSize : box;
    thumbnail.Picture = DrawWeaveThumbnail(cells, area);
    thumbnail.FileSize = QSize(warps, wefts);
    thumbnail.IsWeave = true;
    thumbnail.Hint = WeaveThumbnailHint(QFileInfo(fileName).fileName(), warps, wefts);
    thumbnail.Text = QFileInfo(fileName).fileName();
    return true;
}

void finishPicture(const QString &fileName, TThumbnail &thumbnail)
{
    thumbnail.Text = QFileInfo(fileName).fileName() + PictureSizeCaption(thumbnail.FileSize);
    thumbnail.Hint = fileName;
}
} // namespace

QImage DrawWeaveThumbnail(const TWeaveArray &cells, QSize area)
{
    const int warps = WeaveWarps(cells);
    const int wefts = warps > 0 ? WeaveWefts(cells) : 0;
    if (warps <= 0 || wefts <= 0 || area.isEmpty())
        return QImage();
    QImage image(area, QImage::Format_RGB32);
    image.fill(kWeaveGround);
    const int step = WeaveThumbnailCellSize;
    const int columns = (area.width() + step - 1) / step;
    const int rows = (area.height() + step - 1) / step;
    QPainter p(&image);
    for (int y = 0; y < rows; ++y) {
        // Row y counts from the bottom of the drawing.
        const int top = area.height() - (y + 1) * step;
        const int weft = wefts - 1 - (y % wefts);
        for (int x = 0; x < columns; ++x) {
            const auto &warp = cells[x % warps];
            if (weft < warp.length() && warp[weft] == 1)
                p.fillRect(x * step, top, step, step, kWeavePoint);
        }
    }
    p.setPen(Qt::black);
    for (int x = 0; x <= columns; ++x)
        p.drawLine(x * step, 0, x * step, area.height() - 1);
    for (int y = 0; y <= rows; ++y)
        p.drawLine(0, area.height() - 1 - y * step, area.width() - 1, area.height() - 1 - y * step);
    return image;
}

QString WeaveThumbnailHint(const QString &fileName, int warps, int wefts)
{
    return GetUiMessage(QStringLiteral("WeaveHintFileName")).arg(fileName) + QLatin1Char('\n')
        + GetUiMessage(QStringLiteral("WeaveHintSize")).arg(warps).arg(wefts);
}

QString PictureSizeCaption(QSize size)
{
    // The leading blank is the caption's own: a language file would lose it.
    return QLatin1Char(' ')
        + GetUiMessage(QStringLiteral("PictureSizeCaption")).arg(size.width()).arg(size.height());
}

bool ThumbnailFromBytes(
    const QString &fileName, const QByteArray &bytes, QSize box, TThumbnail &thumbnail, QString *error)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    TThumbnail made;
    if (suffix == QLatin1String("ovw")) {
        TWeaveArray cells;
        if (!ReadWeaveBytes(bytes, cells, error) || !weaveThumbnail(cells, fileName, box, made, error))
            return false;
    } else if (suffix == QLatin1String("ovy")) {
        QImage picture;
        if (!ReadProjectPreview(bytes, picture, error))
            return false;
        made.Picture = picture;
        made.FileSize = picture.size();
        finishPicture(fileName, made);
    } else if (const char *format = qtFormat(suffix)) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        if (!decodeScaled(buffer, format, box, made, error))
            return false;
        finishPicture(fileName, made);
    } else {
        return Fail(error, GetUiMessage(QStringLiteral("PictureUndecodableWhy")).arg(fileName));
    }
    thumbnail = made;
    return true;
}

bool ReadThumbnail(const QString &fileName, QSize box, TThumbnail &thumbnail, QString *error)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("ovw") || suffix == QLatin1String("ovy")) {
        QByteArray bytes;
        const qint64 bound = suffix == QLatin1String("ovw") ? MaxWeaveFileSize : kMaxThumbnailFile;
        if (!ReadWholeFile(fileName, bound, bytes, error))
            return false;
        return ThumbnailFromBytes(fileName, bytes, box, thumbnail, error);
    }
    if (const char *format = qtFormat(suffix)) {
        // Read as the decoder goes: a large picture is never held whole as bytes.
        QFile file;
        if (!OpenFileForReading(file, fileName, MaxPictureFileSize, error))
            return false;
        TThumbnail made;
        if (!decodeScaled(file, format, box, made, error))
            return false;
        finishPicture(fileName, made);
        thumbnail = made;
        return true;
    }
    // Every other kind (PCX, card files, ...) through the picture loader.
    QImage picture;
    if (!LoadPictureAs8Bit(fileName, picture, error))
        return false;
    TThumbnail made;
    made.Picture = picture;
    made.FileSize = picture.size();
    finishPicture(fileName, made);
    thumbnail = made;
    return true;
}
