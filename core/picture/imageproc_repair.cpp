// The three repair operations: clearing thorns, closing gaps and clearing mottle.

#include "core/base/progress.h"
#include "core/picture/imageproc_internal.h"

#include <algorithm>
#include <bit>
#include <vector>

using namespace imageproc;

namespace {

// Colour classes: two indexes are one colour when their red, green and blue are equal.
struct ColourClasses {
    std::array<std::uint8_t, 256> cls {};
    explicit ColourClasses(const TPalette256 &pal)
    {
        for (int i = 0; i < 256; ++i) {
            int j = 0;
            while (pal[j].Red != pal[i].Red || pal[j].Green != pal[i].Green || pal[j].Blue != pal[i].Blue)
                ++j;
            cls[i] = std::uint8_t(j);
        }
    }
    bool same(std::uint8_t a, std::uint8_t b) const { return cls[a] == cls[b]; }
};

// The 8-bit picture as seen by a repair: cell access with the palette's colour tests.
// Writers detach the picture (bits()) before making the view, so that the view reads the
// cells they write.
struct RepairView {
    const std::uint8_t *base;
    qsizetype stride;
    int w, h;
    TPalette256 pal;

    explicit RepairView(const QImage &b)
        : base(b.constBits())
        , stride(b.bytesPerLine())
        , w(b.width())
        , h(b.height())
    {
        GetBitmapPalette(b, pal);
    }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    std::uint8_t at(int x, int y) const { return base[qsizetype(y) * stride + x]; }
};

bool isMottleIn(const RepairView &view, const ColourClasses &classes, const std::array<bool, 256> &isB,
    int px, int py, int maxSize)
{
    if (!view.inside(px, py))
        return false;
    const std::uint8_t own = view.at(px, py);
    if (isB[own])
        return false;
    int countB = 0;
    for (int y = py - 1; y <= py + 1; ++y)
        for (int x = px - 1; x <= px + 1; ++x)
            if (view.inside(x, y) && isB[view.at(x, y)])
                ++countB;
    if (countB < 2)
        return false;
    int longest = 0;
    for (int d = 0; d < 8; ++d) {
        int run = 0;
        for (int step = 1; step <= 6; ++step) {
            const int x = px + step * DirX[d], y = py + step * DirY[d];
            if (!view.inside(x, y))
                break; // every further step along the ray is outside too
            if (!classes.same(view.at(x, y), own))
                break;
            ++run;
        }
        longest = std::max(longest, run);
    }
    return longest <= maxSize;
}

} // namespace

void ClearThorns(QImage &Bmp, TColor ColorB, TColor ColorA, TLineArray &Points)
{
    if (!IsPicture8(Bmp))
        return;
    std::uint8_t *bits = Bmp.bits();
    const RepairView view(Bmp);
    const auto isA = IndexesShowing(view.pal, ColorA);
    const auto isB = IndexesShowing(view.pal, ColorB);
    const std::uint8_t indexB = std::uint8_t(IndexOfColor(view.pal, ColorB));
    std::vector<TPoint> changed;
    ShowProgressGauge();
    TProgressSteps progress(view.h);
    for (int y = 0; y < view.h; ++y) {
        std::uint8_t *row = bits + qsizetype(y) * view.stride;
        for (int x = 0; x < view.w; ++x) {
            if (!isA[row[x]])
                continue;
            int count = 0;
            for (int d = 0; d < 8; d += 2) { // right, up, left, down
                const int nx = x + DirX[d], ny = y + DirY[d];
                if (view.inside(nx, ny) && isB[view.at(nx, ny)])
                    ++count;
            }
            if (count == 3) {
                row[x] = indexB;
                changed.push_back({ x, y });
            }
        }
        progress.step(y + 1);
    }
    progress.finish();
    AppendPoints(Points, changed);
}

bool IsMottle(const QImage &Bmp, TColor ColorB, const TPoint &P, int MaxSize)
{
    if (!IsPicture8(Bmp))
        return false;
    TPalette256 pal;
    GetBitmapPalette(Bmp, pal);
    const ColourClasses classes(pal);
    const RepairView view(Bmp);
    return isMottleIn(view, classes, IndexesShowing(pal, ColorB), P.X, P.Y, MaxSize);
}

void ClearMottle(QImage &Bmp, TColor ColorA, TColor ColorB, TLineArray &Points, int MaxSize)
{
    if (!IsPicture8(Bmp))
        return;
    std::uint8_t *bits = Bmp.bits();
    const RepairView view(Bmp);
    const ColourClasses classes(view.pal);
    const auto isA = IndexesShowing(view.pal, ColorA);
    const auto isB = IndexesShowing(view.pal, ColorB);
    const std::uint8_t indexB = std::uint8_t(IndexOfColor(view.pal, ColorB));
    std::vector<TPoint> changed;
    ShowProgressGauge();
    TProgressSteps progress(view.h);
    for (int y = 0; y < view.h; ++y) {
        for (int x = 0; x < view.w; ++x) {
            if (isA[view.at(x, y)] && isMottleIn(view, classes, isB, x, y, MaxSize)) {
                bits[qsizetype(y) * view.stride + x] = indexB;
                changed.push_back({ x, y });
            }
        }
        progress.step(y + 1);
    }
    progress.finish();
    AppendPoints(Points, changed);
}
