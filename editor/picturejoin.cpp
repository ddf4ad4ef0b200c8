#include "editor/picturejoin.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/base/rowchunks.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "editor/picturemerge.h"

#include <algorithm>

namespace {

bool inside(const TRect &r, TPoint p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

} // namespace

bool DirectMergePictures(const QList<QImage> &pictures, bool horizontal, QImage &result, QString *error)
{
    if (pictures.size() < 2)
        return Fail(error, GetUiMessage(UiKey::String::MergeAtLeastTwoPictures));
    long long along = 0, across = 0;
    for (const QImage &p : pictures) {
        if (p.isNull() || p.format() != QImage::Format_Indexed8)
            return Fail(error, GetUiMessage(UiKey::String::JoinNotPicture));
        along += horizontal ? p.width() : p.height();
        across = std::max<long long>(across, horizontal ? p.height() : p.width());
    }
    const long long w = horizontal ? along : across, h = horizontal ? across : along;
    if (w > MaxPictureSide || h > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::JoinTooLarge).arg(w).arg(h).arg(MaxPictureSide));

    // One palette: the shared one when nothing is padded or it holds black for the padding;
    // otherwise the exact union of the used colours, with black for the padding.
    bool padded = false;
    for (const QImage &p : pictures)
        padded = padded || (horizontal ? p.height() : p.width()) != across;
    TPalette256 first, other;
    GetBitmapPalette(pictures.front(), first);
    bool shared = true;
    for (qsizetype i = 1; i < pictures.size() && shared; ++i) {
        GetBitmapPalette(pictures[i], other);
        shared = other == first;
    }
    const TPaletteEntry black {};
    const bool hasBlack = std::any_of(first.begin(), first.end(),
        [](const TPaletteEntry &e) { return e.Red == 0 && e.Green == 0 && e.Blue == 0; });
    TUnitedColors united;
    if (shared && (hasBlack || !padded))
        united.Palette = first;
    else
        UnitePictureColors(pictures, united, padded);
    const std::uint8_t pad
        = std::uint8_t(NearestColorIndex(united.Palette.data(), 256, black.Red, black.Green, black.Blue));

    // Every cell is written once below (a picture's cells or the padding), so the picture is
    // not cleared first: on large joins a clearing pass costs as much as the join.
    QImage out(int(w), int(h), QImage::Format_Indexed8);
    if (out.isNull())
        return Fail(error, GetUiMessage(UiKey::String::JoinTooLarge).arg(w).arg(h).arg(MaxPictureSide));
    SetBitmapPalette(out, united.Palette);
    // Each picture's cells (through its map when the colours were united), then black up to
    // the span it stands in.
    const bool mapped = !united.Maps.empty();
    const auto putRow = [&](std::uint8_t *to, qsizetype i, int y, int span) {
        const QImage &p = pictures[i];
        const int width = p.width();
        int filled = 0;
        if (y < p.height()) {
            const std::uint8_t *in = p.constScanLine(y);
            if (mapped) {
                // A local copy: the compiler then knows that the writes never change it.
                const TIndexMap map = united.Maps[std::size_t(i)];
                for (int x = 0; x < width; ++x)
                    to[x] = map[in[x]];
            } else {
                std::copy_n(in, width, to);
            }
            filled = width;
        }
        std::fill(to + filled, to + span, pad);
    };
    // Row by row through the result, so that each row is written from its start to its end;
    // rows are independent and go to several threads, their addresses taken from the
    // result's cells first.
    std::uint8_t *bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const int threads = RowChunkThreads(w, h);
    if (horizontal) {
        RunRowChunks(int(h), threads, [&](int first, int end) {
            for (int y = first; y < end; ++y) {
                std::uint8_t *to = bits + y * stride;
                for (qsizetype i = 0; i < pictures.size(); ++i) {
                    putRow(to, i, y, pictures[i].width());
                    to += pictures[i].width();
                }
            }
        });
    } else {
        int top = 0;
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            RunRowChunks(pictures[i].height(), threads, [&](int first, int end) {
                for (int y = first; y < end; ++y)
                    putRow(bits + (top + y) * stride, i, y, int(w));
            });
            top += pictures[i].height();
        }
    }
    result = out;
    return true;
}

QSize PicturePreviewSize(QSize size)
{
    if (size.isEmpty())
        return QSize();
    const double s = std::max(size.width() / 131.0, size.height() / 161.0);
    return QSize(int(std::max<std::int64_t>(1, Round(size.width() / s))),
        int(std::max<std::int64_t>(1, Round(size.height() / s))));
}

QImage PicturePreviewImage(const QImage &picture)
{
    const QSize size = PicturePreviewSize(picture.size());
    if (size.isEmpty())
        return QImage();
    // A large picture is first thinned to a few times the preview, so that the smooth
    // scaling never makes a full-colour copy of the whole picture.
    QImage source = picture;
    if (picture.width() > 4 * size.width() || picture.height() > 4 * size.height())
        source = picture.scaled(std::min(picture.width(), 4 * size.width()),
            std::min(picture.height(), 4 * size.height()), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return source.convertToFormat(QImage::Format_RGB32)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

TGuideLines::TGuideLines()
{
    m_line.SetAutoClear(true);
}

void TGuideLines::SetPictures(const TRect &rectA, const TRect &rectB)
{
    m_rectA = rectA;
    m_rectB = rectB;
    m_hasPictures = true;
    m_points.clear();
    m_line.Clear();
    m_dragging = false;
}

void TGuideLines::Reset()
{
    m_hasPictures = false;
    m_points.clear();
    m_line.Clear();
    m_dragging = false;
}

int TGuideLines::pictureOf(TPoint cell) const
{
    if (inside(m_rectA, cell))
        return 0;
    if (inside(m_rectB, cell))
        return 1;
    return -1;
}

bool TGuideLines::Press(TPoint cell)
{
    if (!m_hasPictures || m_points.size() >= 4)
        return false;
    if (m_line.GetPointCount() == 2 && m_line.HitVertex(cell, true)) {
        m_dragging = true;
        m_newLine = false;
        return true;
    }
    if (pictureOf(cell) < 0)
        return false;
    m_line.Clear();
    m_line.AddPoint(cell);
    m_line.AddPoint(cell);
    m_dragging = true;
    m_newLine = true;
    return true;
}

void TGuideLines::Move(TPoint cell)
{
    if (!m_dragging)
        return;
    if (m_newLine)
        m_line.AddPoint(cell); // with two vertices the second follows the pointer
    else
        m_line.MoveToPoint(cell);
}

void TGuideLines::Release()
{
    m_dragging = false;
}

std::vector<TPoint> TGuideLines::LinePoints() const
{
    std::vector<TPoint> points;
    m_line.GetPoints(points);
    return points;
}

TGuideLines::TAccept TGuideLines::Accept()
{
    const std::vector<TPoint> line = LinePoints();
    if (line.size() != 2 || m_points.size() >= 4)
        return TAccept::NoLine;
    const int picture = pictureOf(line[0]);
    if (picture < 0 || pictureOf(line[1]) != picture)
        return TAccept::AcrossPictures;
    if (m_points.size() == 2 && pictureOf(m_points[0]) == picture)
        return TAccept::SamePicture;
    m_points.push_back(line[0]);
    m_points.push_back(line[1]);
    m_line.Clear();
    m_dragging = false;
    return TAccept::Accepted;
}

void TGuideLines::DropLine()
{
    m_line.Clear();
    m_dragging = false;
}

bool TGuideLines::ReDefine()
{
    if (!CanReDefine())
        return false;
    const TPoint end = m_points.back();
    m_points.pop_back();
    const TPoint start = m_points.back();
    m_points.pop_back();
    m_line.Clear();
    m_line.AddPoint(start);
    m_line.AddPoint(end);
    return true;
}

std::vector<TPoint> TGuideLines::PicturePoints() const
{
    if (m_points.size() != 4)
        return {};
    const bool aFirst = pictureOf(m_points[0]) == 0;
    const auto local = [&](TPoint p) {
        const TRect &r = pictureOf(p) == 0 ? m_rectA : m_rectB;
        return TPoint { p.X - r.Left, p.Y - r.Top };
    };
    const std::size_t a = aFirst ? 0 : 2, b = aFirst ? 2 : 0;
    return { local(m_points[a]), local(m_points[a + 1]), local(m_points[b]), local(m_points[b + 1]) };
}
