#include "core/palette/regions.h"

#include "core/base/progress.h"
#include "core/picture/imageproc.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int MaxSide = 65535;

bool usable(const QImage &bmp)
{
    return !bmp.isNull() && bmp.format() == QImage::Format_Indexed8;
}

bool boxOf(const QRegion &rgn, const QImage &bmp, TRect &box)
{
    if (!usable(bmp))
        return false;
    box = ClampedRegionBox(rgn, bmp.width(), bmp.height());
    return box.Width() > 0 && box.Height() > 0;
}

QImage pictureWithPaletteOf(const QImage &like, int width, int height)
{
    TPalette256 palette;
    GetBitmapPalette(like, palette);
    return NewPicture(width, height, palette);
}

// A copy of Src without the marked columns.
QImage withoutColumns(const QImage &src, const std::vector<bool> &drop, int dropped)
{
    QImage out = pictureWithPaletteOf(src, src.width() - dropped, src.height());
    // The columns kept, worked out once: each row is then one gather.
    std::vector<int> keep;
    keep.reserve(std::size_t(out.width()));
    for (int x = 0; x < src.width(); ++x)
        if (x >= int(drop.size()) || !drop[x])
            keep.push_back(x);
    const int kept = int(keep.size());
    for (int y = 0; y < src.height(); ++y) {
        const std::uint8_t *from = src.constScanLine(y);
        std::uint8_t *to = out.scanLine(y);
        for (int k = 0; k < kept; ++k)
            to[k] = from[keep[std::size_t(k)]];
    }
    return out;
}

} // namespace

TRect ClampedRegionBox(const QRegion &rgn, int width, int height)
{
    if (rgn.isEmpty())
        return {};
    const QRect r = rgn.boundingRect();
    const long long right = static_cast<long long>(r.x()) + r.width();
    const long long bottom = static_cast<long long>(r.y()) + r.height();
    TRect box { std::max(r.x(), 0), std::max(r.y(), 0), int(std::min<long long>(right, width)),
        int(std::min<long long>(bottom, height)) };
    if (box.Right <= box.Left || box.Bottom <= box.Top)
        return {};
    return box;
}

bool CopyRegionBoxToBitmap(const QImage &src, QImage &dest, const QRegion &rgn)
{
    TRect box;
    if (!boxOf(rgn, src, box))
        return false;
    QImage out = pictureWithPaletteOf(src, box.Width(), box.Height());
    for (int y = 0; y < box.Height(); ++y)
        std::memcpy(out.scanLine(y), src.constScanLine(box.Top + y) + box.Left, std::size_t(box.Width()));
    dest = out;
    return true;
}

bool StretchRegionBoxToBitmap(const QImage &src, const QRegion &rgn, QImage &dest, int width, int height)
{
    TRect box;
    if (width < 1 || height < 1 || width > MaxSide || height > MaxSide || !boxOf(rgn, src, box))
        return false;
    QImage out = pictureWithPaletteOf(src, width, height);
    // The lines are picked as resampling a whole picture picks them, so that a stretched
    // selection and a stretched picture show the same cells.
    std::vector<int> fromCol(width);
    for (int x = 0; x < width; ++x)
        fromCol[x] = box.Left + ResampleSourceLine(x, box.Width(), width);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *from = src.constScanLine(box.Top + ResampleSourceLine(y, box.Height(), height));
        std::uint8_t *to = out.scanLine(y);
        for (int x = 0; x < width; ++x)
            to[x] = from[fromCol[x]];
    }
    dest = out;
    return true;
}

int RemoveBlankColumnsInRegion(QImage &testBmp, QImage &bmp, const QRegion &rgn)
{
    TRect box;
    if (!usable(bmp) || !boxOf(rgn, testBmp, box))
        return 0;
    // Removing a column changes no other column, so every blank column is found first and
    // all are removed together.
    const int end = std::min({ box.Right, testBmp.width(), bmp.width() });
    std::vector<bool> drop(end, false);
    int dropped = 0, last = -1;
    for (int c = box.Left; c < end; ++c) {
        if (!IsColumnUniform(testBmp, c))
            continue;
        drop[c] = true;
        ++dropped;
        last = c;
    }
    // A picture keeps at least one column. Columns go from the left, so when every column
    // is blank the last one is the column left standing.
    if (dropped > 0 && dropped >= std::min(testBmp.width(), bmp.width())) {
        drop[last] = false;
        --dropped;
    }
    if (dropped == 0)
        return 0;
    testBmp = withoutColumns(testBmp, drop, dropped);
    bmp = withoutColumns(bmp, drop, dropped);
    return dropped;
}

bool RemoveAlternateColumns(
    const QImage &src, QImage &dest, const TPalette256 &palette, const QRegion &rgn, int parity)
{
    TRect box;
    if (!boxOf(rgn, src, box))
        return false;
    std::vector<bool> drop(box.Right, false);
    int dropped = 0;
    ShowProgressGauge();
    TProgressSteps progress(box.Width());
    for (int c = box.Left; c < box.Right; ++c) {
        if ((c + 1) % 2 == parity) {
            drop[c] = true;
            ++dropped;
        }
        progress.step(c - box.Left + 1);
    }
    progress.finish();
    if (dropped >= src.width())
        return false;
    QImage out = withoutColumns(src, drop, dropped);
    SetBitmapPalette(out, palette);
    dest = out;
    return true;
}
