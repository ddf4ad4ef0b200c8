#include "shell/thumbnails.h"

#include "card/fmt_pictures.h"
#include "card/projectfile.h"
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
#include <cstdlib>
#include <limits>

namespace {
const QColor kWeaveGround(255, 255, 0);
const QColor kWeavePoint(0, 0, 255);

// A project file is read no larger than the budget of a picture file: its picture is
// taken row by row, but a picture of another kind than 8 bits is read with the whole file.
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
        return Fail(error, GetUiMessage(UiKey::String::PictureUndecodableWhy).arg(reader.errorString()));
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::PictureSideOver).arg(MaxPictureSide));
    if (!box.isEmpty() && (size.width() > box.width() || size.height() > box.height()))
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return Fail(error, GetUiMessage(UiKey::String::PictureUndecodableWhy).arg(reader.errorString()));
    thumbnail.Picture = image;
    thumbnail.FileSize = size;
    return true;
}

// The caption and hint; a picture read whole (by a reader that cannot scale while it
// decodes) is kept no larger than the room, so that a folder of large pictures does not
// keep them all.
void finishPicture(const QString &fileName, TThumbnail &thumbnail, QSize box = QSize())
{
    if (!box.isEmpty()
        && (thumbnail.Picture.width() > box.width() || thumbnail.Picture.height() > box.height()))
        thumbnail.Picture = thumbnail.Picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    thumbnail.Text = QFileInfo(fileName).fileName() + PictureSizeCaption(thumbnail.FileSize);
    thumbnail.Hint = fileName;
}

quint32 u32At(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
        | quint32(quint8(b[at + 3])) << 24;
}

// How a project thumbnail was read.
enum class TSampled { Read, NotBmp8, Failed };

// An uncompressed 8-bit bitmap at the device's position, of which `available` bytes are
// there, read no larger than box: only the rows and columns the thumbnail shows are taken
// from the device (a project of 2,000 x 10,000 cells costs a hundred rows, not 20 MB).
// NotBmp8 for any other kind of bitmap (the caller reads it another way); Failed, with a
// message, for a bitmap of this kind that is damaged or cut short.
TSampled readBmp8Sampled(
    QIODevice &device, qint64 available, QSize box, TThumbnail &thumbnail, QString *error)
{
    const qint64 start = device.pos();
    const QByteArray head = device.read(54);
    if (head.size() < 54 || head[0] != 'B' || head[1] != 'M')
        return TSampled::NotBmp8;
    const quint32 pixelOffset = u32At(head, 10);
    const quint32 infoSize = u32At(head, 14);
    const qint32 width = qint32(u32At(head, 18));
    const qint32 rawHeight = qint32(u32At(head, 22));
    const int bits = quint8(head[28]) | quint8(head[29]) << 8;
    const quint32 compression = u32At(head, 30);
    const quint32 colorsUsed = u32At(head, 46);
    if (infoSize < 40 || bits != 8 || compression != 0)
        return TSampled::NotBmp8;
    const auto damaged = [&] {
        Fail(error, GetUiMessage(UiKey::String::PatternFilePictureUnreadable).arg(QString()));
        return TSampled::Failed;
    };
    if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<qint32>::min()
        || width > MaxPictureSide || std::abs(rawHeight) > MaxPictureSide || colorsUsed > 256
        || infoSize > 1024)
        return damaged();
    const int height = std::abs(rawHeight);
    const qint64 stride = (qint64(width) + 3) / 4 * 4;
    const qint64 tableAt = 14 + qint64(infoSize);
    const int colors = colorsUsed == 0 ? 256 : int(colorsUsed);
    if (tableAt + 4 * colors > pixelOffset || qint64(pixelOffset) + stride * height > available)
        return damaged();
    if (!device.seek(start + tableAt))
        return damaged();
    const QByteArray table = device.read(4 * colors);
    if (table.size() != 4 * colors)
        return damaged();
    QList<QRgb> palette(256, qRgb(0, 0, 0));
    for (int i = 0; i < colors; ++i)
        palette[i] = qRgb(quint8(table[4 * i + 2]), quint8(table[4 * i + 1]), quint8(table[4 * i]));
    const QSize full(width, height);
    const QSize shown = box.isEmpty() || (width <= box.width() && height <= box.height())
        ? full
        : full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QImage picture(shown, QImage::Format_Indexed8);
    if (picture.isNull())
        return damaged();
    picture.setColorTable(palette);
    QByteArray row(stride, Qt::Uninitialized);
    for (int y = 0; y < shown.height(); ++y) {
        const qint64 sourceRow = qint64(y) * height / shown.height(); // from the top
        const qint64 stored = rawHeight > 0 ? height - 1 - sourceRow : sourceRow;
        if (!device.seek(start + pixelOffset + stored * stride) || device.read(row.data(), stride) != stride)
            return damaged();
        std::uint8_t *line = picture.scanLine(y);
        for (int x = 0; x < shown.width(); ++x)
            line[x] = quint8(row[qsizetype(qint64(x) * width / shown.width())]);
    }
    thumbnail.Picture = picture;
    thumbnail.FileSize = full;
    return TSampled::Read;
}

// The picture of a project file, its rows taken as the thumbnail needs them when it is an
// 8-bit bitmap (as every project this program writes holds); other pictures are read whole
// through the preview reader.
bool projectThumbnail(
    QIODevice &device, const QString &fileName, QSize box, TThumbnail &thumbnail, QString *error)
{
    const qint64 size = device.size();
    // The headers before the picture; the layout without them is found in the whole file.
    constexpr qint64 kHeadBytes = 1 << 16;
    device.seek(0);
    const QByteArray head = device.read(std::min(size, kHeadBytes));
    qint64 offset = -1;
    TThumbnail made;
    if (ProjectPictureOffset(head, offset) && offset >= 0 && offset < size && device.seek(offset)) {
        switch (readBmp8Sampled(device, size - offset, box, made, error)) {
        case TSampled::Read:
            finishPicture(fileName, made);
            thumbnail = made;
            return true;
        case TSampled::Failed:
            return false;
        case TSampled::NotBmp8:
            break;
        }
    }
    device.seek(0);
    const QByteArray bytes = device.read(size);
    if (bytes.size() != size)
        return Fail(error, GetUiMessage(UiKey::String::PatternFileNoPicture));
    QImage picture;
    if (!ReadProjectPreview(bytes, picture, error))
        return false;
    made.Picture = picture;
    made.FileSize = picture.size();
    finishPicture(fileName, made, box);
    thumbnail = made;
    return true;
}

bool weaveThumbnail(
    const TWeaveArray &cells, const QString &fileName, QSize box, TThumbnail &thumbnail, QString *error)
{
    const int warps = WeaveWarps(cells);
    const int wefts = warps > 0 ? WeaveWefts(cells) : 0;
    if (warps <= 0 || wefts <= 0)
        return Fail(error, GetUiMessage(UiKey::String::WeaveFileEmpty).arg(fileName));
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
    return GetUiMessage(UiKey::String::WeaveHintFileName).arg(fileName) + QLatin1Char('\n')
        + GetUiMessage(UiKey::String::WeaveHintSize).arg(warps).arg(wefts);
}

QString PictureSizeCaption(QSize size)
{
    // The leading blank is the caption's own: a language file would lose it.
    return QLatin1Char(' ')
        + GetUiMessage(UiKey::String::PictureSizeCaption).arg(size.width()).arg(size.height());
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
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        if (!projectThumbnail(buffer, fileName, box, made, error))
            return false;
    } else if (const char *format = qtFormat(suffix)) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        if (!decodeScaled(buffer, format, box, made, error))
            return false;
        finishPicture(fileName, made);
    } else {
        return Fail(error, GetUiMessage(UiKey::String::PictureUndecodableWhy).arg(fileName));
    }
    thumbnail = made;
    return true;
}

bool ReadThumbnail(const QString &fileName, QSize box, TThumbnail &thumbnail, QString *error)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("ovw")) {
        QByteArray bytes;
        if (!ReadWholeFile(fileName, MaxWeaveFileSize, bytes, error))
            return false;
        return ThumbnailFromBytes(fileName, bytes, box, thumbnail, error);
    }
    if (suffix == QLatin1String("ovy")) {
        // Read as the thumbnail needs it: a large project is never held whole.
        QFile file;
        if (!OpenFileForReading(file, fileName, kMaxThumbnailFile, error))
            return false;
        TThumbnail made;
        if (!projectThumbnail(file, fileName, box, made, error))
            return false;
        thumbnail = made;
        return true;
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
    finishPicture(fileName, made, box);
    thumbnail = made;
    return true;
}
