#pragma once
// TThumbnail: the thumbnail pictures of the library browsers and the file explorer.
// What a thumbnail shows of a file, chosen by its extension: a weave file (.ovw) is drawn
// cell by cell, a project file (.ovy) shows the picture of its preview, any other file is
// read as a picture (large JPEG, PNG and BMP pictures are decoded scaled down to the
// thumbnail, so that a folder of big pictures does not cost their full size). No window
// is needed.

#include "core/base/document.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

struct TThumbnail {
    QImage Picture; // what is drawn (any format)
    QSize FileSize; // the picture's size as the file holds it (warps by wefts for a weave)
    bool IsWeave = false;
    QString Text; // the caption
    QString Hint; // the tool tip
};

// The drawing of a weave for a thumbnail: area pixels, 10 pixels a cell, repeated over
// the area on a yellow ground. Drawing column x and row y (rows counted from the bottom)
// show cell [x mod warps][wefts - 1 - (y mod wefts)], blue when it is 1 (a weave point);
// black one-pixel lines separate the cells. An empty weave gives a null picture.
QImage DrawWeaveThumbnail(const TWeaveArray &cells, QSize area);
constexpr int WeaveThumbnailCellSize = 10;

// "文件名: " + file name + line break + "组织大小: (" + warps + "*" + wefts + ")".
QString WeaveThumbnailHint(const QString &fileName, int warps, int wefts);
// " (" + warps + "针×" + wefts + "纬)".
QString PictureSizeCaption(QSize size);

// The thumbnail of a file. box is the room the picture gets (the thumbnail less its
// margins and caption): a weave is drawn to fill it, a large picture is decoded no larger
// than needed for it. A weave file of no warps or no wefts is unreadable (there would be
// nothing to draw). Fails with a message when the file cannot be read.
bool ReadThumbnail(const QString &fileName, QSize box, TThumbnail &thumbnail, QString *error = nullptr);

// The same from the file's bytes, for the formats read here (weave, project, and the
// pictures Qt decodes: BMP, PNG, JPEG); other extensions fail. For tests and fuzzing.
bool ThumbnailFromBytes(const QString &fileName, const QByteArray &bytes, QSize box, TThumbnail &thumbnail,
    QString *error = nullptr);
