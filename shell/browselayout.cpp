#include "shell/browselayout.h"

#include "core/base/numutils.h"

#include <algorithm>

int TBrowseLayout::Columns(int browserWidth) const
{
    const int step = ThumbWidth + Spacing;
    return step > 0 ? std::max(1, browserWidth / step) : 1;
}

int TBrowseLayout::Rows(int count, int columns)
{
    return (count - 1) / std::max(1, columns) + 1;
}

QPoint TBrowseLayout::ThumbnailPosition(int index, int columns, int scrollPosition) const
{
    columns = std::max(1, columns);
    const int c = index % columns;
    const int r = index / columns;
    return QPoint((c + 1) * Spacing + c * ThumbWidth, (r + 1) * Spacing + r * ThumbHeight - scrollPosition);
}

int TBrowseLayout::ScrollMaximum(int count, int browserWidth, int browserHeight) const
{
    const int rows = Rows(count, Columns(browserWidth));
    // 64-bit: a folder of many files times a tall thumbnail must not overflow.
    const qint64 needed = qint64(rows) * (ThumbHeight + Spacing) - browserHeight;
    return int(std::min<qint64>(std::max<qint64>(0, needed), 1 << 30)) + 3;
}

QRect ThumbnailPictureRect(QSize thumbSize, QSize pictureSize, int margin, int captionHeight)
{
    const QSize imageSize = thumbSize + QSize(2, 2);
    const int roomW = thumbSize.width() - 2 * margin;
    const int roomH = thumbSize.height() - captionHeight - 2 * margin;
    if (pictureSize.isEmpty() || roomW <= 0 || roomH <= 0)
        return QRect();
    const double scale = std::max(double(pictureSize.width()) / roomW, double(pictureSize.height()) / roomH);
    const int w = int(std::max<std::int64_t>(1, Round(pictureSize.width() / scale)));
    const int h = int(std::max<std::int64_t>(1, Round(pictureSize.height() / scale)));
    const int left = int(Round((imageSize.width() - w) / 2.0));
    const int top = int(Round((imageSize.height() - captionHeight - h) / 2.0));
    return QRect(left, top, w, h);
}

QRect PreviewPictureRect(QSize boxSize, QSize pictureSize)
{
    if (pictureSize.isEmpty() || boxSize.isEmpty())
        return QRect();
    QSize shown = pictureSize;
    if (pictureSize.width() > boxSize.width() || pictureSize.height() > boxSize.height()) {
        const double ratio = std::max(
            double(pictureSize.width()) / boxSize.width(), double(pictureSize.height()) / boxSize.height());
        shown = QSize(int(std::max<std::int64_t>(1, Round(pictureSize.width() / ratio))),
            int(std::max<std::int64_t>(1, Round(pictureSize.height() / ratio))));
    }
    return QRect(
        QPoint((boxSize.width() - shown.width()) / 2, (boxSize.height() - shown.height()) / 2), shown);
}
