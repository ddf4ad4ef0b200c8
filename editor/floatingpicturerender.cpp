// Rendering a floating picture: stretch, turn and view reduction, each only when it
// changes something, the picture and its mask in one pass.
#include "editor/floatingpicture.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/picture/imageproc.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;

TPalette256 maskPalette()
{
    TPalette256 pal;
    pal.fill(WhiteQuad);
    pal[0] = BlackQuad;
    return pal;
}

// Both pictures to w x h by dropping or repeating lines; a null mask stays null.
bool resize(QImage &image, QImage &mask, int w, int h)
{
    if (image.width() == w && image.height() == h)
        return true;
    TPalette256 pal;
    GetBitmapPalette(image, pal);
    QImage newImage, newMask;
    if (!ResamplePicture(newImage, image, w, h, pal, true))
        return false;
    if (!mask.isNull() && !ResamplePicture(newMask, mask, w, h, maskPalette(), true))
        return false;
    image = newImage;
    mask = newMask;
    return true;
}

// The angle as RotatePictureByAngle turns: counter-clockwise as stored by -angle, in [0, 2pi).
double storedTurn(double angle)
{
    double a = std::fmod(-angle, 2 * Pi);
    if (a < 0)
        a += 2 * Pi;
    return a;
}

// Quarter and half turns and no turn: exact, and no corner is left uncovered.
bool isExactTurn(double a)
{
    constexpr double tolerance = 0.0001;
    for (double t : { 0.0, Pi / 2, Pi, 3 * Pi / 2, 2 * Pi })
        if (std::fabs(a - t) <= tolerance)
            return true;
    return false;
}

// The cells p of one destination row whose back-mapped source cell lies inside the source:
// one interval, since both source coordinates move monotonically along the row. Found
// from the straight-line solution widened by two cells, then narrowed by the exact test.
struct TRowMap {
    double Sx0 = 0, Sy0 = 0, C = 0, S = 0;
    int W = 0, H = 0;
    bool inside(int p) const
    {
        const double fx = std::floor(Sx0 + p * C), fy = std::floor(Sy0 + p * S);
        return fx >= 0 && fx < W && fy >= 0 && fy < H;
    }
};

void rowSpan(const TRowMap &m, int dw, int &lo, int &hi)
{
    const double x1 = -m.Sx0 / m.C, x2 = (m.W - m.Sx0) / m.C;
    const double y1 = -m.Sy0 / m.S, y2 = (m.H - m.Sy0) / m.S;
    const double from = std::max(std::min(x1, x2), std::min(y1, y2));
    const double to = std::min(std::max(x1, x2), std::max(y1, y2));
    const auto clampCell = [dw](double v) { return int(std::clamp(v, 0.0, double(dw))); };
    lo = clampCell(std::floor(from) - 2);
    hi = std::max(lo, clampCell(std::ceil(to) + 3));
    while (lo < hi && !m.inside(lo))
        ++lo;
    while (hi > lo && !m.inside(hi - 1))
        --hi;
}

// Cells a row band must have before another thread pays for itself.
constexpr qint64 CellsPerBand = qint64(1) << 21;

// Runs work(firstRow, endRow) on bands of rows, one per CellsPerBand cells, at most one per
// core and 8; band 0 in the calling thread. A thread that cannot be started leaves its band
// to the calling thread.
template <class Work> void runBands(int width, int height, const Work &work)
{
    const qint64 cores = std::max(1u, std::thread::hardware_concurrency());
    const int bands = int(std::clamp<qint64>(
        qint64(width) * height / CellsPerBand, 1, std::min({ cores, qint64(8), qint64(height) })));
    auto start = [&](int b) { return int(qint64(height) * b / bands); };
    std::vector<std::thread> threads;
    std::vector<int> leftOver;
    for (int b = 1; b < bands; ++b) {
        try {
            threads.emplace_back([&work, &start, b] { work(start(b), start(b + 1)); });
        } catch (const std::system_error &) {
            leftOver.push_back(b);
        }
    }
    work(0, start(1));
    for (int b : leftOver)
        work(start(b), start(b + 1));
    for (std::thread &t : threads)
        t.join();
}

// Where a turn reads and writes: row addresses are taken before any thread starts, so that
// no thread touches the pictures' sharing.
struct TTurnPlanes {
    const std::uint8_t *Src = nullptr, *SrcMask = nullptr;
    qsizetype SrcStride = 0, MaskStride = 0;
    std::uint8_t *Out = nullptr, *OutMask = nullptr;
    qsizetype OutStride = 0, OutMaskStride = 0;
};

// The free-angle turn of RotateAboutCentre (the same cell centres mapped back with the same
// arithmetic, so the same cells), writing the mask beside the picture, for rows [q0, q1).
// The rows' spans come first; the cells are then gathered in strips of columns, so that
// the source lines one strip reads stay in the cache from row to row.
void turnRows(const TTurnPlanes &t, int w, int h, int dw, int dh, double a, std::uint8_t back, int q0, int q1)
{
    const double c = std::cos(a), s = std::sin(a);
    const auto rowMap = [&](int q) {
        const double dy = q + 0.5 - double(dh) / 2;
        return TRowMap { (0.5 - double(dw) / 2) * c - dy * s + w / 2.0,
            (0.5 - double(dw) / 2) * s + dy * c + h / 2.0, c, s, w, h };
    };
    std::vector<std::pair<int, int>> spans(std::size_t(q1 - q0), { 0, 0 });
    for (int q = q0; q < q1; ++q) {
        auto &[lo, hi] = spans[std::size_t(q - q0)];
        rowSpan(rowMap(q), dw, lo, hi);
        std::uint8_t *row = t.Out + q * t.OutStride;
        std::uint8_t *mrow = t.OutMask + q * t.OutMaskStride;
        std::memset(row, back, std::size_t(lo));
        std::memset(row + hi, back, std::size_t(dw - hi));
        std::memset(mrow, 0, std::size_t(lo));
        std::memset(mrow + hi, 0, std::size_t(dw - hi));
        if (!t.SrcMask)
            std::memset(mrow + lo, 1, std::size_t(hi - lo));
    }
    constexpr int strip = 256;
    for (int p0 = 0; p0 < dw; p0 += strip)
        for (int q = q0; q < q1; ++q) {
            const int lo = std::max(spans[std::size_t(q - q0)].first, p0);
            const int hi = std::min(spans[std::size_t(q - q0)].second, p0 + strip);
            if (lo >= hi)
                continue;
            const TRowMap m = rowMap(q);
            std::uint8_t *row = t.Out + q * t.OutStride;
            for (int p = lo; p < hi; ++p)
                row[p] = t.Src[qsizetype(m.Sy0 + p * s) * t.SrcStride + qsizetype(m.Sx0 + p * c)];
            if (t.SrcMask) {
                std::uint8_t *mrow = t.OutMask + q * t.OutMaskStride;
                for (int p = lo; p < hi; ++p)
                    mrow[p] = t.SrcMask[qsizetype(m.Sy0 + p * s) * t.MaskStride + qsizetype(m.Sx0 + p * c)];
            }
        }
}

void turnFree(
    const QImage &src, const QImage &srcMask, double a, std::uint8_t back, QImage &out, QImage &outMask)
{
    TTurnPlanes t;
    t.Src = src.constBits();
    t.SrcStride = src.bytesPerLine();
    if (!srcMask.isNull()) {
        t.SrcMask = srcMask.constBits();
        t.MaskStride = srcMask.bytesPerLine();
    }
    t.Out = out.bits();
    t.OutStride = out.bytesPerLine();
    t.OutMask = outMask.bits();
    t.OutMaskStride = outMask.bytesPerLine();
    const int w = src.width(), h = src.height(), dw = out.width(), dh = out.height();
    runBands(dw, dh, [&](int q0, int q1) { turnRows(t, w, h, dw, dh, a, back, q0, q1); });
}

bool turn(QImage &image, QImage &mask, double angle, std::uint8_t back)
{
    const double a = storedTurn(angle);
    if (isExactTurn(a)) {
        QImage turned, turnedMask;
        if (!RotatePictureByAngle(turned, image, 0, angle))
            return false;
        if (!mask.isNull() && !RotatePictureByAngle(turnedMask, mask, 0, angle))
            return false;
        image = turned;
        mask = turnedMask;
        return true;
    }
    qint64 dw = 0, dh = 0;
    TurnedPictureSize(image.width(), image.height(), angle, dw, dh);
    QImage out(int(dw), int(dh), QImage::Format_Indexed8);
    // Every cell of both is written by the turn.
    QImage outMask(int(dw), int(dh), QImage::Format_Indexed8);
    if (out.isNull() || outMask.isNull())
        return false;
    out.setColorTable(image.colorTable());
    SetBitmapPalette(outMask, maskPalette());
    turnFree(image, mask, a, back, out, outMask);
    image = out;
    mask = outMask;
    return true;
}

int scaledSide(int side, double scale)
{
    return int(std::clamp<std::int64_t>(Trunc(side * scale), 1, MaxPictureSide));
}

} // namespace

bool RenderFloatingPicture(const QImage &companion, const QImage &companionMask, int frameWidth,
    int frameHeight, double angle, std::uint8_t backIndex, double horzScale, double vertScale, QImage &image,
    QImage &mask, QString *error)
{
    if (companion.isNull() || companion.format() != QImage::Format_Indexed8 || frameWidth < 1
        || frameHeight < 1)
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    if (frameWidth > MaxPictureSide || frameHeight > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::FloatTurnTooLarge).arg(frameWidth).arg(frameHeight));
    if (!CheckPictureBudget(frameWidth, frameHeight, 2, error)
        || !CheckTurnedPictureSize(frameWidth, frameHeight, angle, error))
        return false;
    QImage outImage = companion, outMask = companionMask;
    const auto tooLarge = [&](qint64 w, qint64 h) {
        return Fail(error, GetUiMessage(UiKey::String::FloatTurnTooLarge).arg(w).arg(h));
    };
    if (!resize(outImage, outMask, frameWidth, frameHeight) || !turn(outImage, outMask, angle, backIndex))
        return tooLarge(frameWidth, frameHeight);
    const int w = scaledSide(outImage.width(), horzScale), h = scaledSide(outImage.height(), vertScale);
    if (!CheckPictureBudget(w, h, 2, error))
        return false;
    if (!resize(outImage, outMask, w, h))
        return tooLarge(w, h);
    image = outImage;
    mask = outMask;
    return true;
}

bool TBmp::renderScaled(double horz, double vert, QImage &image, QImage &mask, QString *error) const
{
    const std::uint8_t back = std::uint8_t(m_keyIndex >= 0 ? m_keyIndex : 0);
    return RenderFloatingPicture(m_companion, m_companionMask, m_selRect.Right - m_selRect.Left + 1,
        m_selRect.Bottom - m_selRect.Top + 1, m_angle, back, horz, vert, image, mask, error);
}

bool TBmp::UpdateTransformedImage(QString *error)
{
    if (m_companion.isNull())
        return true;
    GetBitmapPalette(m_companion, m_palette);
    return renderScaled(m_horzScale, m_vertScale, m_image, m_imageMask, error);
}

bool TBmp::SetHorzScale(double value, QString *error)
{
    if (value == m_horzScale)
        return true;
    const double old = m_horzScale;
    m_horzScale = value;
    if (UpdateTransformedImage(error))
        return true;
    m_horzScale = old;
    return false;
}

bool TBmp::SetVertScale(double value, QString *error)
{
    if (value == m_vertScale)
        return true;
    const double old = m_vertScale;
    m_vertScale = value;
    if (UpdateTransformedImage(error))
        return true;
    m_vertScale = old;
    return false;
}

bool TBmp::opaqueLookup(std::array<bool, 256> &opaque) const
{
    bool any = false;
    for (int i = 0; i < 256; ++i) {
        opaque[std::size_t(i)] = !m_transparentColors[std::size_t(i)];
        any = any || !opaque[std::size_t(i)];
    }
    // The key index marks cells that are not part of the piece: never drawn or stamped.
    if (m_keyIndex >= 0 && m_keyIndex < 256) {
        opaque[std::size_t(m_keyIndex)] = false;
        any = true;
    }
    return any;
}

void TBmp::SetViewMapping(int x, int y)
{
    m_viewportOrigin = { x, y };
}
