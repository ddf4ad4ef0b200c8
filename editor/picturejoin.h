#pragma once
// Joining whole pictures (图象合并), their small previews, and the guide lines drawn over two
// scans of one design before they are linked (自动拼接).

#include "core/base/geometry.h"
#include "core/palette/palettejoin.h"
#include "editor/tools/straightlinetool.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <vector>

// The pictures joined in list order, side by side (Horizontal) or one under another, each
// made as high (wide) as the highest (widest) with black cells below (right of) it. One
// palette of exact colours as UnitePictureColors gives it with black kept; pictures of one
// palette that holds black keep their indexes. False with a message, nothing allocated, for
// fewer than two pictures, one that is not 8-bit, or a result over 65535 on a side.
bool DirectMergePictures(
    const QList<QImage> &pictures, bool horizontal, QImage &result, QString *error = nullptr);

// The size a picture is previewed at in a 131 x 161 box: scaled by
// s = max(width / 131, height / 161) to Round(width / s) x Round(height / s), at least 1.
QSize PicturePreviewSize(QSize size);
// The picture scaled smoothly to PicturePreviewSize, ready to draw.
QImage PicturePreviewImage(const QImage &picture);

// The guide lines over two pictures arranged for linking: a line is drawn with a straight
// line (TBeeLine) inside one of the two picture rectangles, accepted two points at a time,
// at most two lines, the second on the other picture than the first.
class TGuideLines {
public:
    enum class TAccept { Accepted, NoLine, AcrossPictures, SamePicture };

    TGuideLines();
    // The places of the two pictures in the arrangement (right and bottom exclusive);
    // clears every line.
    void SetPictures(const TRect &rectA, const TRect &rectB);
    void Reset();
    bool HasPictures() const { return m_hasPictures; }

    // The pointer pressed, moved with the button held, released (cells of the arrangement).
    // A press takes an end of the line being drawn when it hits one, or starts a new line
    // inside a picture; nothing happens with four points or outside both pictures.
    bool Press(TPoint cell);
    void Move(TPoint cell);
    void Release();
    // Space or Enter: the line being drawn joins the points, when both its ends lie in one
    // picture, and the first line's picture is not taken again.
    TAccept Accept();
    // Delete: the line being drawn goes.
    void DropLine();
    // The last accepted line becomes the line being drawn again (nothing while one is drawn).
    bool ReDefine();

    bool Drawing() const { return m_line.GetPointCount() > 0; }
    // The ends of the line being drawn (none, or two).
    std::vector<TPoint> LinePoints() const;
    const std::vector<TPoint> &Points() const { return m_points; }
    bool CanReDefine() const { return !Drawing() && !m_points.empty(); }
    bool CanMerge() const { return m_points.size() == 4; }
    // The four points for AutoLinkByLines: A's line first, each in its picture's cells.
    std::vector<TPoint> PicturePoints() const;

private:
    int pictureOf(TPoint cell) const; // 0 A, 1 B, -1 neither

    TBeeLine m_line;
    bool m_hasPictures = false;
    bool m_dragging = false;
    bool m_newLine = false;
    TRect m_rectA, m_rectB;
    std::vector<TPoint> m_points;
};
