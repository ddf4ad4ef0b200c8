#pragma once
// TBrowseLayout: the arithmetic of the thumbnail lists (library browsers, explorer).
// The thumbnail lists lay their thumbnails out in columns and rows; these routines do the
// arithmetic without any window, so that it can be checked on its own. All divisions
// truncate; a size computed from a ratio rounds halves to even.

#include <QPoint>
#include <QRect>
#include <QSize>

struct TBrowseLayout {
    int ThumbWidth = 120; // W
    int ThumbHeight = 120; // H
    int Spacing = 3; // S
    int Margin = 3; // a thumbnail's picture is fitted into the thumbnail less twice this

    // The larger of 1 and width div (W + S); the width includes the scroll bar.
    int Columns(int browserWidth) const;
    // (count - 1) div columns + 1 (1 for an empty list, as the original arithmetic gives).
    static int Rows(int count, int columns);
    // The top-left corner of thumbnail index in the list scrolled to scrollPosition.
    QPoint ThumbnailPosition(int index, int columns, int scrollPosition) const;
    // The scroll bar's maximum: the larger of 0 and rows x (H + S) - height, plus 3. The
    // scroll bar is enabled only when this is not 3.
    int ScrollMaximum(int count, int browserWidth, int browserHeight) const;
    static bool ScrollEnabled(int scrollMaximum) { return scrollMaximum != 3; }
};

// Where a picture of pictureSize goes in the image of a thumbnail of thumbSize (the image
// is one pixel larger on every side, for the border) whose bottom captionHeight pixels
// hold the caption: scaled (small pictures are enlarged) by the larger of width /
// (thumb width - 2 x margin) and height / (thumb height - caption - 2 x margin), rounded,
// and centred in the image above the caption. An empty picture or a thumbnail with no
// room gives an empty rectangle.
QRect ThumbnailPictureRect(QSize thumbSize, QSize pictureSize, int margin, int captionHeight);

// Where the open dialog's preview draws a picture in a box: at its own size when it fits,
// else scaled down by the larger ratio of its sides; centred either way.
QRect PreviewPictureRect(QSize boxSize, QSize pictureSize);
