// The floating picture's state: taking a picture, its frame, activation, shape and colours,
// and its flips and turns.
#include "editor/floatingpicture.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/decode/pictureconvert.h"
#include "core/decode/pictureload.h"
#include "core/picture/clipboardpicture.h"
#include "core/picture/imageproc.h"
#include "core/settings/uitexts.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double TwoPi = 2 * std::numbers::pi;
} // namespace

TBmp::TBmp()
{
    m_palette.fill(BlackQuad);
}

bool TBmp::Assign(const QImage &source, QString *error)
{
    if (source.isNull() || source.width() < 1 || source.height() < 1)
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    if (source.width() > MaxPictureSide || source.height() > MaxPictureSide)
        return Fail(
            error, GetUiMessage(UiKey::String::FloatTurnTooLarge).arg(source.width()).arg(source.height()));
    QImage picture;
    if (source.format() == QImage::Format_Indexed8) {
        picture = source;
        if (picture.colorCount() != 256) {
            TPalette256 pal;
            GetBitmapPalette(source, pal);
            SetBitmapPalette(picture, pal);
        }
    } else {
        ConvertPictureTo8Bit(source, picture);
    }
    if (picture.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    m_companion = picture;
    m_companionMask = QImage();
    m_image = picture;
    m_imageMask = QImage();
    m_region = QRegion();
    GetBitmapPalette(picture, m_palette);
    m_position = { 0, 0 };
    m_selRect = { 0, 0, picture.width() - 1, picture.height() - 1 };
    m_bounds = m_selRect;
    m_centre = { (m_selRect.Left + m_selRect.Right) / 2, (m_selRect.Top + m_selRect.Bottom) / 2 };
    return true;
}

bool TBmp::LoadFromFile(const QString &fileName, QString *error)
{
    QImage picture;
    return LoadPictureAs8Bit(fileName, picture, error) && Assign(picture, error);
}

bool TBmp::ResetBounds(QString *error)
{
    QImage picture;
    if (!PastePictureFromClipboard(picture))
        return Fail(error, GetUiMessage(UiKey::String::FloatNoClipboardPicture));
    const TFrameState before = frameState();
    const QImage oldCompanion = m_companion, oldMask = m_companionMask;
    m_companion = picture;
    m_companionMask = QImage();
    GetBitmapPalette(picture, m_palette);
    m_bounds = { 0, 0, picture.width() - 1, picture.height() - 1 };
    m_position = { 0, 0 };
    // The frame follows the new picture, so that it is rendered at its own size.
    m_selRect = m_bounds;
    m_centre = { m_selRect.Right / 2, m_selRect.Bottom / 2 };
    if (!UpdateTransformedImage(error)) {
        m_companion = oldCompanion;
        m_companionMask = oldMask;
        restoreFrame(before);
        GetBitmapPalette(m_companion, m_palette);
        return false;
    }
    UpdateColorKey();
    return true;
}

// --- Frame ------------------------------------------------------------------------------

void TBmp::CalcHandlePoints()
{
    const TRect &r = m_selRect;
    const std::int32_t midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
    m_handlePoints = { { { r.Left, r.Top }, { midX, r.Top }, { r.Right, r.Top }, { r.Right, midY },
        { r.Right, r.Bottom }, { midX, r.Bottom }, { r.Left, r.Bottom }, { r.Left, midY },
        { r.Right + 20, midY } } };
}

void TBmp::SetAngle(double angle)
{
    if (angle < 0)
        angle += TwoPi;
    else if (angle >= TwoPi)
        angle -= TwoPi;
    m_angle = angle;
    CalcHandlePoints();
    const double c = std::cos(m_angle), s = std::sin(m_angle);
    for (std::size_t i = 0; i < m_handlePoints.size(); ++i) {
        const double dx = m_handlePoints[i].X - m_centre.X, dy = m_handlePoints[i].Y - m_centre.Y;
        m_framePoints[i] = { std::int32_t(Trunc(m_centre.X + dx * c - dy * s + 0.5)),
            std::int32_t(Trunc(m_centre.Y + dx * s + dy * c + 0.5)) };
    }
}

void TBmp::SetBounds(const TRect &r)
{
    m_bounds = r;
    m_position = { r.Left, r.Top };
}

TRect TBmp::turnedBounds() const
{
    std::array<TPoint, 4> corners {};
    RotateRectCorners(m_selRect, m_centre, corners, m_angle);
    TRect r;
    GetPointsBounds(corners.data(), int(corners.size()), r);
    return r;
}

void TBmp::UpdateFrame(TPoint topLeft)
{
    const int dx = topLeft.X - m_selRect.Left, dy = topLeft.Y - m_selRect.Top;
    OffsetRectBy(m_selRect, dx, dy);
    OffsetPointBy(m_centre, dx, dy);
    SetAngle(m_angle);
    SetBounds(turnedBounds());
}

TBmp::TFrameState TBmp::frameState() const
{
    return { m_angle, m_centre, m_position, m_selRect, m_bounds, m_handlePoints, m_framePoints };
}

void TBmp::restoreFrame(const TFrameState &s)
{
    m_angle = s.Angle;
    m_centre = s.Centre;
    m_position = s.Position;
    m_selRect = s.SelRect;
    m_bounds = s.Bounds;
    m_handlePoints = s.HandlePoints;
    m_framePoints = s.FramePoints;
}

// --- Activation ---------------------------------------------------------------------------

void TBmp::SetShowFrame(bool value)
{
    // A drag ends when the frame comes back: the piece takes what the drag made of it.
    if (!m_showFrame && value && m_dragMode != TFloatDragMode::None) {
        ApplyDrag();
        m_dragMode = TFloatDragMode::None;
    }
    m_showFrame = value;
}

void TBmp::SetActive(bool value)
{
    if (m_active && !value) {
        m_active = false;
        m_dragMode = TFloatDragMode::None;
        if (m_onDeactivate)
            m_onDeactivate(*this);
    } else if (!m_active && value) {
        if (m_onActivate)
            m_onActivate(*this);
    }
    m_active = value;
}

void TBmp::fireHandleChange(int index)
{
    if (m_onHandleChange)
        m_onHandleChange(*this, index);
}

// --- Shape and colours ----------------------------------------------------------------------

bool TBmp::UpdateRegion(const QRegion &rgn, QString *error)
{
    if (m_companion.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    const QRect box = rgn.boundingRect();
    const QRegion whole(0, 0, m_companion.width(), m_companion.height());
    const QRegion outside = rgn.translated(-box.topLeft()).xored(whole).intersected(whole);
    QImage mask;
    if (!outside.isEmpty()) {
        mask = NewOpaqueMask(m_companion.width(), m_companion.height());
        if (mask.isNull())
            return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
        FillRegionWithIndex(mask, outside, 0);
    }
    const QImage oldCompanion = m_companion, oldMask = m_companionMask;
    const TPalette256 oldPalette = m_palette;
    const int oldKey = m_keyIndex;
    const TColor oldKeyColor = m_keyColor;
    m_companionMask = mask;
    UpdateColorKey();
    if (m_keyIndex >= 0 && !outside.isEmpty()) {
        m_companion = m_companion.copy();
        FillRegionWithIndex(m_companion, outside, std::uint8_t(m_keyIndex));
    }
    if (!UpdateTransformedImage(error)) {
        m_companion = oldCompanion;
        m_companionMask = oldMask;
        m_palette = oldPalette;
        m_keyIndex = oldKey;
        m_keyColor = oldKeyColor;
        return false;
    }
    m_region = outside;
    if (m_keyIndex >= 0) {
        m_transparentColors.reset();
        m_transparentColors.set(std::size_t(m_keyIndex));
    }
    return true;
}

void TBmp::UpdateColorKey()
{
    if (m_companion.isNull())
        return;
    m_keyIndex = AllocFreePaletteColor(m_companion, m_keyColor, m_palette);
    SetBitmapPalette(m_companion, m_palette);
    if (!m_image.isNull())
        SetBitmapPalette(m_image, m_palette);
}

void TBmp::ApplyTransparentColors()
{
    if (m_keyIndex < 0 || m_image.isNull())
        return;
    // Only colours other than the key itself change anything.
    TColorSet others = m_transparentColors;
    others.reset(std::size_t(m_keyIndex));
    if (others.none())
        return;
    std::array<std::uint8_t, 256> map {};
    for (int i = 0; i < 256; ++i)
        map[std::size_t(i)] = others[std::size_t(i)] ? std::uint8_t(m_keyIndex) : std::uint8_t(i);
    for (int y = 0; y < m_image.height(); ++y) {
        std::uint8_t *row = m_image.scanLine(y);
        for (int x = 0; x < m_image.width(); ++x)
            row[x] = map[row[x]];
    }
}

void TBmp::SetTransparentColors(const TColorSet &colors)
{
    if (colors == m_transparentColors)
        return;
    m_transparentColors = colors;
    ApplyTransparentColors();
}

void TBmp::AddTransparentColor(std::uint8_t index)
{
    m_transparentColors.set(index);
    ApplyTransparentColors();
}

void TBmp::RemoveTransparentColor(std::uint8_t index)
{
    if (int(index) != m_keyIndex)
        m_transparentColors.reset(index);
    UpdateTransformedImage();
    ApplyTransparentColors();
}

void TBmp::IncludeKeptColor(std::uint8_t index)
{
    m_keptColors.set(index);
}

void TBmp::UpdateTransparentFromUsage()
{
    TColorCounts counts {};
    CountColorUse(m_image, counts);
    TColorSet used;
    for (const TColorCount &c : counts)
        if (c.Count > 0 && c.Index >= 0 && c.Index < 256 && !m_keptColors[std::size_t(c.Index)])
            used.set(std::size_t(c.Index));
    SetTransparentColors(used);
}

bool TBmp::UpdateKeptColorSet(QString *error)
{
    if (m_image.isNull() || m_companion.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    TPalette256 palette;
    GetBitmapPalette(m_image, palette);
    // The companion takes the new palette cell by cell and the picture is rendered from it,
    // so that the frame keeps describing the untransformed picture.
    QImage companion;
    BuildDisplayBitmap(companion, m_companion, palette);
    if (companion.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    const QImage oldCompanion = m_companion;
    const int oldKey = m_keyIndex;
    const TColor oldKeyColor = m_keyColor;
    m_companion = companion;
    // A cell may now take the key's entry: the key moves to an entry the piece leaves free.
    UpdateColorKey();
    if (!UpdateTransformedImage(error)) {
        m_companion = oldCompanion;
        m_keyIndex = oldKey;
        m_keyColor = oldKeyColor;
        GetBitmapPalette(m_companion, m_palette);
        return false;
    }
    if (m_colorFilter) {
        m_keptColors.reset();
        const TLogPalette hpal = PaletteToHPalette(m_palette);
        for (qsizetype i = 0; i < m_keptColorValues.size(); ++i)
            m_keptColors.set(std::size_t(NearestColorIndex(hpal, ColorToEntry(m_keptColorValues[i]))));
        UpdateTransparentFromUsage();
    }
    return true;
}

bool TBmp::MapToPalette(const TPalette256 &palette, QString *error)
{
    if (m_image.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    const QImage old = m_image;
    SetBitmapPalette(m_image, palette);
    if (UpdateKeptColorSet(error))
        return true;
    m_image = old;
    return false;
}

// --- Flips and turns ------------------------------------------------------------------------

namespace {
using TFlip = void (*)(QImage &, const TRect &);

// The region's cells mirrored across a w x h box, left to right or top to bottom.
QRegion mirrored(const QRegion &region, int w, int h, bool leftRight)
{
    QRegion out;
    for (const QRect &r : region)
        out += leftRight ? QRect(w - 1 - r.right(), r.top(), r.width(), r.height())
                         : QRect(r.left(), h - 1 - r.bottom(), r.width(), r.height());
    return out;
}

bool flipBoth(QImage &picture, QImage &mask, TFlip flip)
{
    QImage p = picture.copy(), m = mask.isNull() ? QImage() : mask.copy();
    if (p.isNull() || (!mask.isNull() && m.isNull()))
        return false;
    flip(p, { 0, 0, p.width(), p.height() });
    if (!m.isNull())
        flip(m, { 0, 0, m.width(), m.height() });
    picture = p;
    mask = m;
    return true;
}
} // namespace

bool TBmp::FlipHorizontal(QString *error)
{
    const QImage oldCompanion = m_companion, oldMask = m_companionMask;
    if (!flipBoth(m_companion, m_companionMask, FlipRectLeftRight))
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    if (UpdateTransformedImage(error)) {
        m_region = mirrored(m_region, m_companion.width(), m_companion.height(), true);
        ApplyTransparentColors();
        return true;
    }
    m_companion = oldCompanion;
    m_companionMask = oldMask;
    return false;
}

bool TBmp::FlipVertical(QString *error)
{
    const QImage oldCompanion = m_companion, oldMask = m_companionMask;
    if (!flipBoth(m_companion, m_companionMask, FlipRectTopBottom))
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    if (UpdateTransformedImage(error)) {
        m_region = mirrored(m_region, m_companion.width(), m_companion.height(), false);
        ApplyTransparentColors();
        return true;
    }
    m_companion = oldCompanion;
    m_companionMask = oldMask;
    return false;
}

bool TBmp::TurnBy(double delta, QString *error)
{
    m_dragOrigin = frameState();
    m_hasDragOrigin = true;
    const TFloatDragMode mode = m_dragMode;
    m_dragMode = TFloatDragMode::Rotate;
    SetAngle(m_angle + delta);
    const bool ok = ApplyDrag(error);
    m_dragMode = mode;
    return ok;
}
