#include "core/palette/palettejoin.h"

#include "core/base/curves.h"
#include "core/base/error.h"
#include "core/base/geometry.h"
#include "core/base/numutils.h"
#include "core/palette/colorreduce.h"
#include "core/picture/imageproc.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int JoinColours = 254; // entries left for picture colours beside black and white

// The used colours of one picture, most used first.
struct TUsedColours {
    std::vector<TPaletteItem> items;
    std::vector<std::int64_t> counts;
    int size() const { return int(items.size()); }
};

TUsedColours usedColours(const QImage &bmp)
{
    TUsedColours out;
    if (bmp.isNull() || bmp.format() != QImage::Format_Indexed8)
        return out;
    TPalettePairs pairs;
    TColorCounts counts;
    const int n = CountSortedColorPairs(bmp, pairs, counts);
    for (int i = 0; i < n; ++i) {
        out.items.push_back(pairs[i]);
        out.counts.push_back(counts[i].Count);
    }
    return out;
}

// Colours of Fewer that Other also has are dropped from Fewer; their counts go to Other.
void mergeDuplicates(TUsedColours &fewer, TUsedColours &other)
{
    if (other.size() == 0)
        return;
    TPalettePairs otherPairs {};
    for (int i = 0; i < other.size(); ++i)
        otherPairs[i] = other.items[i];
    const TLogPalette hpal = CreatePaletteHandle(otherPairs, other.size());
    TUsedColours kept;
    for (int i = 0; i < fewer.size(); ++i) {
        const TPaletteEntry &c = fewer.items[i].Color;
        const int e = NearestColorIndex(hpal, c) % other.size();
        if (ColorsWithinTolerance(other.items[e].Color, c, 0)) {
            other.counts[e] += fewer.counts[i];
        } else {
            kept.items.push_back(fewer.items[i]);
            kept.counts.push_back(fewer.counts[i]);
        }
    }
    fewer = std::move(kept);
}

// Sorted again, largest first, by the same selection sort as the first ordering
// (SortColorCountsDesc): each position takes the first of the remaining colours with the
// largest count, exchanged with the colour standing there. Equal counts therefore need not
// keep their order, and which colours survive a cut at 254 follows from that.
void sortByCount(TUsedColours &list)
{
    const int n = list.size();
    for (int i = 0; i + 1 < n; ++i) {
        int best = i;
        for (int j = i + 1; j < n; ++j)
            if (list.counts[j] > list.counts[best])
                best = j;
        std::swap(list.items[i], list.items[best]);
        std::swap(list.counts[i], list.counts[best]);
    }
}

void copyInto(QImage &dest, const QImage &src, const TRect &rect)
{
    if (src.isNull() || src.format() != QImage::Format_Indexed8)
        return;
    const int w = std::min({ rect.Width(), src.width(), dest.width() - rect.Left });
    const int h = std::min({ rect.Height(), src.height(), dest.height() - rect.Top });
    const int sx = std::max(0, -rect.Left), sy = std::max(0, -rect.Top);
    for (int y = sy; y < h; ++y) {
        const std::uint8_t *from = src.constScanLine(y);
        std::uint8_t *to = dest.scanLine(rect.Top + y);
        for (int x = sx; x < w; ++x)
            to[rect.Left + x] = from[x];
    }
}

} // namespace

void ChooseJoinColours(const std::vector<std::int64_t> &countsA, const std::vector<std::int64_t> &countsB,
    int &keepA, int &keepB)
{
    const int nA = int(countsA.size()), nB = int(countsB.size());
    keepA = 0;
    keepB = 0;
    // With one list empty the other keeps what fits (the merge below would keep nothing).
    if (nA == 0 || nB == 0) {
        keepA = std::min(nA, JoinColours);
        keepB = std::min(nB, JoinColours);
        return;
    }
    // Walks B's colours in order; j counts the colours of A at least as frequent as B's
    // colour i, so i + j + 1 is the rank of B's colour among both lists.
    for (int i = 0; i < nB; ++i) {
        for (int j = 0; j < nA; ++j) {
            if (countsB[i] > countsA[j]) {
                if (i + j + 1 <= JoinColours) {
                    keepB = i + 1;
                    break;
                }
                keepA = std::min(JoinColours - keepB, nA);
                return;
            }
            if (j == nA - 1 && nA <= JoinColours) {
                keepA = nA;
                keepB = std::min(JoinColours - nA, nB);
                return;
            }
            if (i + j + 1 >= JoinColours) {
                keepA = std::min(JoinColours - keepB, nA);
                return;
            }
        }
    }
    keepA = std::min(JoinColours - keepB, nA);
}

void JointPalette(const QImage &a, const QImage &b, TPalettePairs &pairs, int &count, TPalette256 &palette)
{
    TUsedColours listA = usedColours(a), listB = usedColours(b);
    if (listA.size() <= listB.size())
        mergeDuplicates(listA, listB);
    else
        mergeDuplicates(listB, listA);

    int keepA = listA.size(), keepB = listB.size();
    if (keepA + keepB > JoinColours) {
        sortByCount(listA);
        sortByCount(listB);
        ChooseJoinColours(listA.counts, listB.counts, keepA, keepB);
    }

    TPalettePairs joined {};
    int k = 0;
    for (int i = 0; i < keepA; ++i)
        joined[k++] = listA.items[i];
    for (int i = 0; i < keepB; ++i)
        joined[k++] = listB.items[i];
    BuildReducedPalette(joined, k, palette);
    PaletteToPairs(palette, pairs);
    count = k + 2;
}

void MergeTwoPicturePalettes(QImage &a, QImage &b)
{
    if (a.format() != QImage::Format_Indexed8 || b.format() != QImage::Format_Indexed8)
        return;
    TPalettePairs pairs, map;
    TPalette256 palette;
    int count = 0;
    JointPalette(a, b, pairs, count, palette);
    const TLogPalette hpal = PaletteToHPalette(palette);
    PaletteToPairs(palette, map);
    RemapToHPalette(hpal, a, palette, map);
    RemapToHPalette(hpal, b, palette, map);
}

bool ComposeJoin(QImage &dest, const TPalette256 &palette, const TRect &sizeRect, const QImage &b,
    const QImage &a, const TRect &rectA, const TRect &rectB)
{
    const int w = sizeRect.Width(), h = sizeRect.Height();
    if (w < 1 || h < 1 || w > 65535 || h > 65535)
        return false;
    QImage out = NewPicture(w, h, palette);
    if (out.isNull())
        return false;
    copyInto(out, a, rectA);
    copyInto(out, b, rectB);
    dest = out;
    return true;
}

bool MergePalettesForLink(QImage &a, QImage &b, int direction, QImage &dest, TRect &rectA, TRect &rectB)
{
    if (a.isNull() || b.isNull() || a.format() != QImage::Format_Indexed8
        || b.format() != QImage::Format_Indexed8)
        return false;
    const TPictureLayout layout
        = direction == 1 ? LayoutLeftRight(a.size(), b.size()) : LayoutTopBottom(a.size(), b.size());
    if (layout.Bounds.Width() > 65535 || layout.Bounds.Height() > 65535)
        return false;
    QImage joinedA = a, joinedB = b; // the callers' pictures change only on success
    MergeTwoPicturePalettes(joinedA, joinedB);
    TPalette256 palette;
    GetBitmapPalette(joinedA, palette);
    if (!ComposeJoin(dest, palette, layout.Bounds, joinedB, joinedA, layout.RectA, layout.RectB))
        return false;
    a = joinedA;
    b = joinedB;
    rectA = layout.RectA;
    rectB = layout.RectB;
    return true;
}

namespace {

bool isPicture8(const QImage &img)
{
    return !img.isNull() && img.format() == QImage::Format_Indexed8;
}

bool refuseSize(long long width, long long height, QString *error)
{
    if (width >= 1 && height >= 1 && width <= MaxPictureSide && height <= MaxPictureSide)
        return false;
    Fail(error, GetUiMessage(UiKey::String::JoinTooLarge).arg(width).arg(height).arg(MaxPictureSide));
    return true;
}

bool refuseNot8Bit(const QImage &a, const QImage &b, QString *error)
{
    if (isPicture8(a) && isPicture8(b))
        return false;
    Fail(error, GetUiMessage(UiKey::String::JoinNotPicture));
    return true;
}

// Copies of A and B with one palette of their used colours. Two pictures of one palette
// keep it and their indexes: joining scans of one design must not move a single colour.
void jointCopies(const QImage &a, const QImage &b, QImage &ja, QImage &jb, TPalette256 &palette)
{
    if (a.colorTable() == b.colorTable()) {
        ja = a;
        jb = b;
    } else {
        ja = a.copy();
        jb = b.copy();
        MergeTwoPicturePalettes(ja, jb);
    }
    GetBitmapPalette(ja, palette);
}

// The arrangement of the manual joins, A cut at the seam by Offset (held inside A).
bool seamLayout(
    const QImage &a, const QImage &b, int direction, int offset, TPictureLayout &layout, QString *error)
{
    if (refuseNot8Bit(a, b, error))
        return false;
    const int along = direction == 1 ? a.width() : a.height();
    const int cut = std::clamp(offset, 0, along - 1);
    layout = direction == 1 ? LayoutLeftRightOffset(a.size(), 0, cut, b.size(), 0, 0)
                            : LayoutTopBottomOffset(a.size(), 0, cut, b.size(), 0, 0);
    return !refuseSize(layout.Bounds.Width(), layout.Bounds.Height(), error);
}

// Copies the cells of Src inside From (right and bottom exclusive) to Dest at (X, Y).
void copyBlock(QImage &dest, const QImage &src, const TRect &from, int x, int y)
{
    const int w = from.Width();
    if (w <= 0)
        return;
    for (int r = from.Top; r < from.Bottom; ++r) {
        const std::uint8_t *in = src.constScanLine(r) + from.Left;
        std::copy_n(in, w, dest.scanLine(y + r - from.Top) + x);
    }
}

bool insidePicture(const QImage &img, TPoint p)
{
    return p.X >= 0 && p.Y >= 0 && p.X < img.width() && p.Y < img.height();
}

// The side of a picture turned by Angle, as RotateAboutCentre makes it.
QSize turnedSize(QSize size, double angle)
{
    const double c = std::fabs(std::cos(angle)), s = std::fabs(std::sin(angle));
    const auto side = [](double v) { return std::max<std::int64_t>(1, Round(v)); };
    const std::int64_t w = side(size.width() * c + size.height() * s);
    const std::int64_t h = side(size.width() * s + size.height() * c);
    if (w > MaxPictureSide || h > MaxPictureSide)
        return QSize(int(std::min<std::int64_t>(w, MaxPictureSide + 1)),
            int(std::min<std::int64_t>(h, MaxPictureSide + 1)));
    return QSize(int(w), int(h));
}

// The two points of a line in the order of the seam: left to right for a top-bottom
// join, top to bottom for a left-right one.
TGuideLine alongSeam(int direction, TGuideLine line)
{
    const auto key
        = [direction](TPoint p) { return direction == 1 ? std::pair(p.Y, p.X) : std::pair(p.X, p.Y); };
    if (key(line[1]) < key(line[0]))
        std::swap(line[0], line[1]);
    return line;
}

} // namespace

bool UnitePicturePalettes(
    const QImage &a, const QImage &b, int direction, int offset, QImage &dest, QString *error)
{
    TPictureLayout layout;
    if (!seamLayout(a, b, direction, offset, layout, error))
        return false;
    QImage ja, jb;
    TPalette256 palette;
    jointCopies(a, b, ja, jb, palette);
    return ComposeJoin(dest, palette, layout.Bounds, jb, ja, layout.RectA, layout.RectB)
        || Fail(error,
            GetUiMessage(UiKey::String::JoinTooLarge)
                .arg(layout.Bounds.Width())
                .arg(layout.Bounds.Height())
                .arg(MaxPictureSide));
}

bool UnitePalettesByChoice(
    const QImage &a, const QImage &b, int direction, int offset, bool keepA, QImage &dest, QString *error)
{
    TPictureLayout layout;
    if (!seamLayout(a, b, direction, offset, layout, error))
        return false;
    QImage ja = a, jb = b;
    if (keepA) {
        jb = b.copy();
        AdoptPalette(a, jb);
    } else {
        ja = a.copy();
        AdoptPalette(b, ja);
    }
    TPalette256 palette;
    GetBitmapPalette(keepA ? a : b, palette);
    return ComposeJoin(dest, palette, layout.Bounds, jb, ja, layout.RectA, layout.RectB)
        || Fail(error,
            GetUiMessage(UiKey::String::JoinTooLarge)
                .arg(layout.Bounds.Width())
                .arg(layout.Bounds.Height())
                .arg(MaxPictureSide));
}

bool JoinPicturesAlongLines(const QImage &a, const QImage &b, int direction, const TGuideLine &lineA,
    const TGuideLine &lineB, QImage &dest, QString *error)
{
    if (refuseNot8Bit(a, b, error))
        return false;
    const TPoint pa = lineA[0], pb = lineB[0];
    if (!insidePicture(a, pa) || !insidePicture(b, pb))
        return Fail(error, GetUiMessage(UiKey::String::TwoPoitnNotInOneRect));
    // Across the seam A gives what lies before its point, B what lies from its point on;
    // along the seam B is shifted by Shift so that the points meet.
    const bool leftRight = direction == 1;
    const long long keptA = leftRight ? pa.X : pa.Y;
    const long long keptB = leftRight ? b.width() - pb.X : b.height() - pb.Y;
    const long long shift = leftRight ? pa.Y - pb.Y : pa.X - pb.X;
    const long long lengthA = leftRight ? a.height() : a.width();
    const long long lengthB = leftRight ? b.height() : b.width();
    const long long startA = std::max(0LL, -shift), startB = std::max(0LL, shift);
    const long long across = keptA + keptB;
    const long long along = std::max(startA + lengthA, startB + lengthB);
    if (refuseSize(leftRight ? across : along, leftRight ? along : across, error))
        return false;

    QImage ja, jb;
    TPalette256 palette;
    jointCopies(a, b, ja, jb, palette);
    QImage out = leftRight ? NewPicture(int(across), int(along), palette)
                           : NewPicture(int(along), int(across), palette);
    if (out.isNull())
        return Fail(error,
            GetUiMessage(UiKey::String::JoinTooLarge).arg(out.width()).arg(out.height()).arg(MaxPictureSide));
    if (leftRight) {
        copyBlock(out, ja, TRect { 0, 0, pa.X, a.height() }, 0, int(startA));
        copyBlock(out, jb, TRect { pb.X, 0, b.width(), b.height() }, int(keptA), int(startB));
    } else {
        copyBlock(out, ja, TRect { 0, 0, a.width(), pa.Y }, int(startA), 0);
        copyBlock(out, jb, TRect { 0, pb.Y, b.width(), b.height() }, int(startB), int(keptA));
    }
    dest = out;
    return true;
}

double GuideLinesTurn(int direction, TGuideLine lineA, TGuideLine lineB)
{
    lineA = alongSeam(direction, lineA);
    lineB = alongSeam(direction, lineB);
    const auto ex = [](TPoint p) { return PointEx(p.X, p.Y); };
    // A turn of RotateAboutCentre by t takes a direction at angle d to d - t, so B's line
    // runs as A's does after a turn by the angle from A's line to B's.
    double turn = AngleFromA2B(ex(lineA[0]), ex(lineA[1]), ex(lineB[0]), ex(lineB[1]));
    // Lines have no sense: the smaller of the two turns that make them parallel.
    constexpr double quarter = std::numbers::pi / 2;
    if (turn > quarter)
        turn -= 2 * quarter;
    else if (turn < -quarter)
        turn += 2 * quarter;
    return turn;
}

TPoint TurnedCell(TPoint cell, QSize size, double angle)
{
    // The cell's centre, turned about the picture's centre as RotateAboutCentre turns it,
    // in the turned picture (which grows about the same centre).
    const QSize turned = turnedSize(size, angle);
    const double c = std::cos(angle), s = std::sin(angle);
    const double rx = cell.X + 0.5 - size.width() / 2.0;
    const double ry = cell.Y + 0.5 - size.height() / 2.0;
    const double x = rx * c + ry * s + turned.width() / 2.0;
    const double y = -rx * s + ry * c + turned.height() / 2.0;
    return TPoint { std::int32_t(std::floor(x)), std::int32_t(std::floor(y)) };
}

bool AutoLinkByLines(const QImage &a, const QImage &b, int direction, const std::vector<TPoint> &points,
    QImage &dest, QString *error)
{
    if (points.size() != 4)
        return false;
    if (refuseNot8Bit(a, b, error))
        return false;
    const TGuideLine lineA = alongSeam(direction, { points[0], points[1] });
    TGuideLine lineB = alongSeam(direction, { points[2], points[3] });
    const double turn = GuideLinesTurn(direction, lineA, lineB);
    // Lines already parallel leave B as it is, to the cell.
    const bool still = std::fabs(turn) < 1e-9;
    const QSize turned = still ? b.size() : turnedSize(b.size(), turn);
    if (refuseSize(turned.width(), turned.height(), error))
        return false;
    QImage turnedB;
    if (still)
        turnedB = b;
    else if (!RotateAboutCentre(turnedB, b, 0, turn))
        return Fail(error,
            GetUiMessage(UiKey::String::JoinTooLarge)
                .arg(turned.width())
                .arg(turned.height())
                .arg(MaxPictureSide));
    else
        for (TPoint &p : lineB)
            p = TurnedCell(p, b.size(), turn);
    return JoinPicturesAlongLines(a, turnedB, direction, lineA, alongSeam(direction, lineB), dest, error);
}
