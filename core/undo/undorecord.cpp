// Collecting changed cells under the editing rules, building cell steps, replaying them
// and freeing steps.
#include "core/undo/undorecord.h"

#include "core/picture/picturelimits.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {

// Largest position a step entry can hold (16-bit X and Y).
constexpr int kMaxCoord = MaxPictureSide;

bool insidePicture(const QImage &img, int x, int y)
{
    return x >= 0 && y >= 0 && x < img.width() && y < img.height() && x <= kMaxCoord && y <= kMaxCoord;
}

bool samePictureSize(const QImage &a, const QImage &b)
{
    return a.format() == QImage::Format_Indexed8 && b.format() == QImage::Format_Indexed8
        && a.size() == b.size();
}

// Decides one cell: true when accepted, false when a rule put it back.
bool acceptCell(QImage &picture, const QImage &refBitmap, const TUndoRules &rules, int x, int y,
    bool ignoreRegion, bool ignoreRules)
{
    if (ignoreRules)
        return true;
    const std::uint8_t old = refBitmap.constScanLine(y)[x];
    // Column plus row counted from the bottom.
    const bool evenSum = ((picture.height() + x - 1 - y) & 1) == 0;
    const bool forbidden = rules.Protected.test(old) || (rules.SinglePoint && evenSum)
        || (rules.DoublePoint && !evenSum)
        || (!ignoreRegion && rules.Region && !rules.Region->contains(QPoint(x, y)));
    if (forbidden) {
        picture.scanLine(y)[x] = old;
        return false;
    }
    return true;
}

void collectList(QImage &picture, const QImage &refBitmap, const TUndoRules &rules, TILineArray &accepted,
    const TLineArray &cells, bool ignoreRegion, bool ignoreRules)
{
    if (!samePictureSize(picture, refBitmap))
        return;
    picture.bits(); // detach once, so that the row pointers below stay valid
    accepted.reserve(accepted.size() + cells.size());
    for (const TPoint &p : cells) {
        if (!insidePicture(picture, p.X, p.Y))
            continue;
        if (acceptCell(picture, refBitmap, rules, p.X, p.Y, ignoreRegion, ignoreRules))
            accepted.push_back({ std::uint16_t(p.X), std::uint16_t(p.Y) });
    }
}

int positiveMod(long long a, long long m)
{
    const long long r = a % m;
    return int(r < 0 ? r + m : r);
}

// Element i of a layout array, 0 when the array is shorter.
int offsetAt(const TPicOffSetArray &offsets, int i)
{
    return i >= 0 && i < offsets.length() ? offsets[i] : 0;
}

int flipAt(const TRotateArray &flips, int row, int col)
{
    if (row < 0 || row >= flips.length())
        return 0;
    const auto &line = flips[row];
    return col >= 0 && col < line.length() ? positiveMod(line[col], 4) : 0;
}

// The picture cells already listed by the repeat copies: one bit per cell when the copies
// may cover much of the picture, a hash set when they are few, so that a small edit of a
// large picture neither allocates nor clears a bit per cell. A set entry costs some 40
// bytes, so the set is used only where it stays smaller than the bits.
class TListedCells {
public:
    TListedCells(std::size_t cellCount, std::size_t expected)
        : m_useBits(expected >= cellCount / 512)
    {
        if (m_useBits)
            m_bits.assign(cellCount, false);
        else
            m_set.reserve(expected);
    }
    // True when key was not listed before.
    bool Insert(std::size_t key)
    {
        if (!m_useBits)
            return m_set.insert(key).second;
        if (m_bits[key])
            return false;
        m_bits[key] = true;
        return true;
    }

private:
    bool m_useBits;
    std::vector<bool> m_bits;
    std::unordered_set<std::size_t> m_set;
};

} // namespace

void CollectListedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
    TILineArray &accepted, const TLineArray &cells, bool ignoreRegion, bool ignoreRules)
{
    collectList(picture, refBitmap, rules, accepted, cells, ignoreRegion, ignoreRules);
}

void CollectClippedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
    TILineArray &accepted, const TLineArray &cells, bool ignoreRegion, bool ignoreRules)
{
    collectList(picture, refBitmap, rules, accepted, cells, ignoreRegion, ignoreRules);
}

void CollectChangedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
    TILineArray &accepted, const TRect &r, bool ignoreRegion, bool ignoreRules)
{
    if (!samePictureSize(picture, refBitmap))
        return;
    picture.bits(); // detach once, so that the row pointers below stay valid
    const int left = std::max(r.Left, 0);
    const int top = std::max(r.Top, 0);
    const int right = std::min({ r.Right, picture.width() - 1, kMaxCoord });
    const int bottom = std::min({ r.Bottom, picture.height() - 1, kMaxCoord });
    for (int y = top; y <= bottom; ++y) {
        const std::uint8_t *pic = picture.constScanLine(y);
        const std::uint8_t *ref = refBitmap.constScanLine(y);
        for (int x = left; x <= right; ++x) {
            if (pic[x] == ref[x])
                continue;
            if (acceptCell(picture, refBitmap, rules, x, y, ignoreRegion, ignoreRules))
                accepted.push_back({ std::uint16_t(x), std::uint16_t(y) });
        }
    }
}

void PropagateRepeats(QImage &picture, const TRepeatPic &rep, TILineArray &accepted)
{
    if (!rep.Flags[0] || !rep.Flags[1])
        return;
    const int W = picture.width();
    const int H = picture.height();
    const int Wu = rep.UnitWidth;
    const int Hu = rep.UnitHeight;
    const int Cx = rep.HorzCount;
    const int Cy = rep.VertCount;
    // A layout without a unit or without repeats has nothing to copy into.
    if (W <= 0 || H <= 0 || Wu <= 0 || Hu <= 0 || Cx <= 0 || Cy <= 0)
        return;
    const bool columnsStepped = rep.Value1 == 3;

    // Every target is listed once, so the picture bounds the list.
    const std::size_t cellCount = std::size_t(W) * std::size_t(H);
    const std::size_t copies = std::size_t(Cx) * std::size_t(Cy);
    const std::size_t expected = accepted.size() > cellCount / copies ? cellCount : accepted.size() * copies;
    TILineArray out;
    out.reserve(expected);
    TListedCells listed(cellCount, expected);
    for (const TWordPoint &p : accepted) {
        const int x = p.X;
        const int y = p.Y;
        if (x >= W || y >= H)
            continue;
        int r, c, ux, uy;
        if (!columnsStepped) {
            // Undo the row's sideways step, around the picture's width.
            r = y / Hu;
            const int z = positiveMod((long long)x - offsetAt(rep.Offsets, r), W);
            c = (z / Wu) % Cx;
            ux = z % Wu;
            uy = y % Hu;
        } else {
            c = x / Wu;
            const int z = positiveMod((long long)y - offsetAt(rep.Offsets, c), H);
            r = (z / Hu) % Cy;
            ux = x % Wu;
            uy = z % Hu;
        }
        const int s = flipAt(rep.Rotate, r, c);
        const std::uint8_t value = picture.constScanLine(y)[x];
        for (int r2 = 0; r2 < Cy; ++r2) {
            for (int c2 = 0; c2 < Cx; ++c2) {
                const int t = flipAt(rep.Rotate, r2, c2);
                const int d = (t - s + 4) % 4;
                bool flipH = false, flipV = false;
                if (d == 2) {
                    flipH = true;
                } else if (d == 1 || d == 3) {
                    // The flip that turns code s into code t.
                    flipV = true;
                    flipH = (d == 1) == ((s & 1) == 1);
                }
                const int ux2 = flipH ? Wu - 1 - ux : ux;
                const int uy2 = flipV ? Hu - 1 - uy : uy;
                long long tx, ty;
                if (!columnsStepped) {
                    tx = positiveMod((long long)Wu * c2 + ux2 + offsetAt(rep.Offsets, r2), W);
                    ty = (long long)r2 * Hu + uy2;
                } else {
                    tx = (long long)c2 * Wu + ux2;
                    ty = positiveMod((long long)Hu * r2 + uy2 + offsetAt(rep.Offsets, c2), H);
                }
                if (tx >= W || ty >= H || tx > kMaxCoord || ty > kMaxCoord)
                    continue;
                const std::size_t key = std::size_t(ty) * std::size_t(W) + std::size_t(tx);
                picture.scanLine(int(ty))[tx] = value;
                if (!listed.Insert(key))
                    continue;
                out.push_back({ std::uint16_t(tx), std::uint16_t(ty) });
            }
        }
    }
    accepted = std::move(out);
}

TUndoStep BuildUndoPixels(const QImage &picture, const QImage &refBitmap, const TILineArray &accepted)
{
    TUndoStep step(new TUndoData);
    step->Kind = TUndoKind::Cells;
    if (!samePictureSize(picture, refBitmap) || accepted.empty())
        return step;
    const uchar *pic = picture.constBits();
    const uchar *ref = refBitmap.constBits();
    const qsizetype picStride = picture.bytesPerLine();
    const qsizetype refStride = refBitmap.bytesPerLine();
    TBmpDataArray data(qsizetype(accepted.size()));
    qsizetype n = 0;
    for (const TWordPoint &p : accepted) {
        if (!insidePicture(picture, p.X, p.Y))
            continue;
        TBmpData &e = data[n++];
        e.X = p.X;
        e.Y = p.Y;
        e.OldIndex = ref[p.Y * refStride + p.X];
        e.NewIndex = pic[p.Y * picStride + p.X];
    }
    if (n != data.size())
        data.setLength(n);
    step->Data = data;
    return step;
}

namespace {
// Writes the entries of one side into one 8-bit picture, skipping cells outside it.
void writeEntries(QImage &img, const TUndoData &step, bool undoing)
{
    if (img.format() != QImage::Format_Indexed8 || img.isNull())
        return;
    uchar *bits = img.bits();
    const qsizetype stride = img.bytesPerLine();
    const int w = img.width();
    const int h = img.height();
    for (const TBmpData &e : step.Data) {
        if (e.X < w && e.Y < h)
            bits[e.Y * stride + e.X] = undoing ? e.OldIndex : e.NewIndex;
    }
}
} // namespace

void ApplyUndoPixels(
    QImage &picture, QImage &refBitmap, const TUndoData &step, bool writePicture, bool undoing)
{
    writeEntries(refBitmap, step, undoing);
    if (writePicture)
        writeEntries(picture, step, undoing);
}

int AddLinePoint(const TPoint &p, TLineArray &points)
{
    const qsizetype n = points.size();
    points.setLength(n + 1);
    points[n] = p;
    return int(n);
}

int AddWordPoint(std::uint16_t x, std::uint16_t y, TILineArray &points)
{
    points.push_back({ x, y });
    return int(points.size() - 1);
}

void FreeUndoRecord(TUndoData *step)
{
    if (!step)
        return;
    if (step->Kind == TUndoKind::Image || step->Kind == TUndoKind::Palette) {
        if (!step->AfterFile.isEmpty())
            QFile::remove(step->AfterFile);
        if (!step->BeforeFile.isEmpty())
            QFile::remove(step->BeforeFile);
    }
    delete step;
}

void TUndoRecordDeleter::operator()(TUndoData *step) const
{
    FreeUndoRecord(step);
}

void FreeUndoList(TUndoStepList &list)
{
    while (!list.empty())
        list.pop_back();
}

namespace {
// The first and last column in [left, right] where the rows differ; false when none does.
bool differingSpan(
    const std::uint8_t *pic, const std::uint8_t *ref, int left, int right, int &first, int &last)
{
    if (std::memcmp(pic + left, ref + left, std::size_t(right - left + 1)) == 0)
        return false;
    first = left;
    while (pic[first] == ref[first])
        ++first;
    last = right;
    while (pic[last] == ref[last])
        --last;
    return true;
}
} // namespace

TUndoStep BuildPackedStep(QImage &picture, QImage &refBitmap, const TUndoRules &rules, const TRect &r,
    bool ignoreRegion, bool ignoreRules, bool &changed)
{
    changed = false;
    if (!samePictureSize(picture, refBitmap))
        return {};
    const int left = std::max(r.Left, 0);
    const int top = std::max(r.Top, 0);
    const int right = std::min({ r.Right, picture.width() - 1, kMaxCoord });
    const int bottom = std::min({ r.Bottom, picture.height() - 1, kMaxCoord });
    if (left > right || top > bottom)
        return {};
    picture.bits(); // detach once, so that the row pointers below stay valid
    const bool rulesApply = !ignoreRules
        && (rules.Protected.any() || rules.SinglePoint || rules.DoublePoint
            || (!ignoreRegion && rules.Region));
    // The rules first, then the box of the cells that still differ.
    QRect changedBox;
    for (int y = top; y <= bottom; ++y) {
        const std::uint8_t *pic = picture.constScanLine(y);
        const std::uint8_t *ref = refBitmap.constScanLine(y);
        int first = 0, last = 0;
        if (!differingSpan(pic, ref, left, right, first, last))
            continue;
        if (rulesApply) {
            for (int x = first; x <= last; ++x)
                if (pic[x] != ref[x])
                    acceptCell(picture, refBitmap, rules, x, y, ignoreRegion, false);
            if (!differingSpan(pic, ref, first, last, first, last))
                continue;
        }
        changedBox |= QRect(QPoint(first, y), QPoint(last, y));
    }
    TUndoStep step(new TUndoData);
    step->Kind = TUndoKind::Cells;
    if (changedBox.isEmpty())
        return step;
    auto plane = std::make_shared<TPackedPlane>(PackPlane(picture, &refBitmap, changedBox));
    for (const QByteArray &band : plane->Bands)
        if (band.isEmpty())
            return {};
    step->Packed = std::move(plane);
    step->PackedAt = changedBox.topLeft();
    changed = true;
    // RefBitmap takes the box's cells.
    const std::size_t w = std::size_t(changedBox.width());
    for (int y = changedBox.top(); y <= changedBox.bottom(); ++y)
        std::memcpy(
            refBitmap.scanLine(y) + changedBox.left(), picture.constScanLine(y) + changedBox.left(), w);
    return step;
}
