// The floating text's state: its font and measures, the frame and its handles, the end of
// a drag, and the "CF_WORD" block it travels in.
#include "editor/insertword.h"

#include "core/base/error.h"
#include "core/base/numutils.h"
#include "core/picture/clipboardpicture.h"
#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
// The text dialog's sizes are points; the pattern's cells are pixels at 96 an inch.
constexpr double PixelsPerPoint = 96.0 / 72.0;
constexpr int DefaultPixelSize = 16; // 12 points

bool haveGui()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

int pixelSizeOf(const QFont &font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    if (font.pointSizeF() > 0)
        return std::max(1, int(Round(font.pointSizeF() * PixelsPerPoint)));
    return DefaultPixelSize;
}

// Tenths of a degree, counter-clockwise, as the font record keeps a turn.
std::int32_t escapementOf(double angle)
{
    return std::int32_t(Trunc(-angle / Pi * 180.0 * 10.0));
}

} // namespace

int WordEmForLineHeight(const QFont &base, double lineHeight)
{
    // Line heights grow in proportion to the em; one measure at a large size gives the
    // ratio without the rounding of small sizes.
    QFont f = base;
    f.setPixelSize(100);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    f.setStretch(100);
    const double ratio = QFontMetricsF(f).height() / 100.0;
    if (!(ratio > 0))
        return std::max(1, int(Round(lineHeight)));
    return int(std::clamp<std::int64_t>(Round(lineHeight / ratio), 1, 0x7FFF));
}

QFont WordDrawFont(const QFont &base, double lineHeight, double charWidth, double spacing)
{
    QFont f = base;
    f.setPixelSize(WordEmForLineHeight(base, lineHeight));
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    f.setStretch(100);
    const double natural = QFontMetricsF(f).averageCharWidth();
    const std::int64_t stretch = natural > 0 ? Round(100.0 * charWidth / natural) : 100;
    f.setStretch(int(std::clamp<std::int64_t>(stretch, 1, 4000)));
    f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    // A cell is text or not: no smoothed edges in other colours.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setKerning(false);
    return f;
}

TInsertWord::TInsertWord()
{
    m_font = QFont(DefaultFamily());
    m_font.setPixelSize(DefaultPixelSize);
}

QString TInsertWord::DefaultFamily()
{
    const QString simSun = QStringLiteral("宋体");
    if (QFontDatabase::families().contains(simSun))
        return simSun;
    return QFontInfo(QFont(simSun)).family();
}

int TInsertWord::FontPointSize() const
{
    return std::max(1, int(Round(WordEmForLineHeight(m_font, m_textHeight) / PixelsPerPoint)));
}

void TInsertWord::FireRelease()
{
    if (m_onRelease)
        m_onRelease(*this);
}

void TInsertWord::SetFont(const QFont &font)
{
    QFont f = font;
    f.setPixelSize(pixelSizeOf(font));
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    f.setStretch(100);
    m_font = f;
    Measure();
}

void TInsertWord::SetFontColor(TColor color, int index)
{
    m_fontColor = color;
    m_colorIndex = index >= 0 && index <= 255 ? index : -1;
}

void TInsertWord::SetText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    Measure();
}

void TInsertWord::SetAngle(double angle)
{
    if (angle < 0)
        angle += 2 * Pi;
    else if (angle >= 2 * Pi)
        angle -= 2 * Pi;
    m_angle = angle;
    calcHandles();
    calcRotated();
}

void TInsertWord::SetCharSpacing(int spacing)
{
    m_charSpacing = spacing;
    Measure();
}

void TInsertWord::SetPosition(TPoint p)
{
    const int dx = p.X - m_position.X, dy = p.Y - m_position.Y;
    OffsetRectBy(m_frame, dx, dy);
    OffsetRectBy(m_textBox, dx, dy);
    OffsetRectBy(m_cornerBox, dx, dy);
    OffsetPointBy(m_centre, dx, dy);
    for (TPoint &h : m_handles)
        OffsetPointBy(h, dx, dy);
    for (TPoint &h : m_rotated)
        OffsetPointBy(h, dx, dy);
    m_position = p;
}

void TInsertWord::SetFrame(const TRect &frame)
{
    m_frame = frame;
    calcHandles();
    calcRotated();
}

void TInsertWord::SetShowHandles(std::uint8_t value)
{
    const bool ending = m_showHandles == 0 && value != 0;
    if (ending && value == 1
        && (m_dragMode == TWordDragMode::Resize || m_dragMode == TWordDragMode::Rotate)) {
        if (m_dragMode == TWordDragMode::Resize) {
            // The frame as the handles left it, unturned about the middle of its diagonal.
            m_centre = { (m_rotated[2].X + m_rotated[6].X) / 2, (m_rotated[2].Y + m_rotated[6].Y) / 2 };
            m_frame = cornersTurnedBack(m_centre);
            SetAngle(m_angle);
        }
        std::array<TPoint, 4> corners {};
        RotateRectCorners(m_frame, m_centre, corners, m_angle);
        GetPointsBounds(corners.data(), int(corners.size()), m_textBox);
        m_textHeight = std::max(1, m_frame.Bottom - m_frame.Top + 1);
        m_averageCharWidth = m_charWidth;
        m_position = m_rotated[0];
    }
    if (ending)
        m_dragMode = TWordDragMode::None;
    m_showHandles = value;
}

void TInsertWord::SetActive(bool value)
{
    const bool wasActive = m_active;
    m_active = value;
    if (wasActive && !value) {
        m_dragMode = TWordDragMode::None;
        if (m_onStateChange)
            m_onStateChange(*this);
    }
}

void TInsertWord::Measure()
{
    QFont f = m_font;
    f.setLetterSpacing(QFont::AbsoluteSpacing, m_charSpacing);
    // Whole cells of the exact measures: the line height gives back the same em size.
    const QFontMetricsF fm(f);
    m_extent = QSize(int(std::max<std::int64_t>(1, Round(fm.horizontalAdvance(m_text)))),
        int(std::max<std::int64_t>(1, Round(fm.height()))));
    m_textWidth = m_extent.width();
    m_textHeight = m_extent.height();
    m_averageCharWidth = std::max(1, QFontMetrics(m_font).averageCharWidth());
    m_charWidth = m_averageCharWidth;
}

void TInsertWord::SetFirstFrame()
{
    m_position = { 0, 0 };
    m_textBox = { 0, 0, m_extent.width() - 1, m_extent.height() - 1 };
    m_frame = m_textBox;
    m_cornerBox = m_frame;
    m_centre = { (m_frame.Left + m_frame.Right) / 2, (m_frame.Top + m_frame.Bottom) / 2 };
    SetAngle(m_angle);
}

void TInsertWord::Rebuild()
{
    m_cornerBox = cornersTurnedBack(m_centre);
    m_textHeight = std::max(1, m_cornerBox.Bottom - m_cornerBox.Top + 1);
    m_charWidth = std::max(1, m_charWidth);
    m_position = m_rotated[0];
    // The text box holds the turned frame wherever the text was put.
    m_textBox = rotatedCornerBounds();
}

void TInsertWord::calcHandles()
{
    const TRect &f = m_frame;
    const int mx = (f.Left + f.Right) / 2, my = (f.Top + f.Bottom) / 2;
    m_handles = { { { f.Left, f.Top }, { mx, f.Top }, { f.Right, f.Top }, { f.Right, my },
        { f.Right, f.Bottom }, { mx, f.Bottom }, { f.Left, f.Bottom }, { f.Left, my },
        { f.Right + RotationHandleOffset, my } } };
}

void TInsertWord::calcRotated()
{
    const double c = std::cos(m_angle), s = std::sin(m_angle);
    for (std::size_t i = 0; i < m_handles.size(); ++i)
        RotatePointSinCos(m_handles[i], m_centre, m_rotated[i], c, s);
}

TRect TInsertWord::cornersTurnedBack(TPoint centre) const
{
    std::array<TPoint, 4> corners {};
    const double c = std::cos(-m_angle), s = std::sin(-m_angle);
    for (std::size_t i = 0; i < corners.size(); ++i)
        RotatePointSinCos(m_rotated[2 * i], centre, corners[i], c, s);
    TRect box;
    GetPointsBounds(corners.data(), int(corners.size()), box);
    return box;
}

TRect TInsertWord::rotatedCornerBounds() const
{
    const std::array<TPoint, 4> corners { m_rotated[0], m_rotated[2], m_rotated[4], m_rotated[6] };
    TRect box;
    GetPointsBounds(corners.data(), int(corners.size()), box);
    return box;
}

TWordBlock TInsertWord::ToBlock() const
{
    TWordBlock b;
    b.Text = m_text;
    TLogFontRecord &f = b.Font;
    // The font as the text is drawn: its line height and character width.
    f.Height = m_textHeight;
    f.Width = m_charWidth;
    f.Escapement = escapementOf(m_angle);
    f.Orientation = f.Escapement;
    f.Weight = m_font.bold() ? 700 : 400;
    f.Italic = m_font.italic() ? 1 : 0;
    f.Underline = m_font.underline() ? 1 : 0;
    f.StrikeOut = m_font.strikeOut() ? 1 : 0;
    f.FaceName = m_font.family();
    b.FontColor = m_fontColor;
    b.Position = m_position;
    b.TextHeight = m_textHeight;
    b.TextWidth = m_textWidth;
    b.Angle = float(m_angle);
    b.TextBox = m_textBox;
    b.Frame = m_frame;
    b.Centre = m_centre;
    b.CharSpacing = m_charSpacing;
    return b;
}

void TInsertWord::FromBlock(const TWordBlock &b)
{
    QFont font(b.Font.FaceName);
    font.setBold(b.Font.Weight >= 700);
    font.setItalic(b.Font.Italic != 0);
    font.setUnderline(b.Font.Underline != 0);
    font.setStrikeOut(b.Font.StrikeOut != 0);
    // A negative height is the em, a positive one the line.
    const int em = b.Font.Height < 0 ? -b.Font.Height
        : b.Font.Height > 0          ? WordEmForLineHeight(font, b.Font.Height)
                                     : DefaultPixelSize;
    font.setPixelSize(std::max(1, em));
    m_font = font;
    m_text = b.Text;
    m_charSpacing = b.CharSpacing;
    Measure();
    m_textHeight = b.TextHeight;
    m_textWidth = b.TextWidth;
    if (b.Font.Width > 0)
        m_charWidth = b.Font.Width;
    m_averageCharWidth = m_charWidth;
    m_frame = b.Frame;
    m_textBox = b.TextBox;
    m_centre = b.Centre;
    SetAngle(b.Angle);
    m_cornerBox = m_frame;
    m_position = b.Position;
    SetFontColor(b.FontColor, -1);
    m_dragMode = TWordDragMode::None;
    m_handleIndex = -1;
}

bool TInsertWord::CopyToClipboard(QString *error)
{
    QByteArray bytes;
    QString why;
    if (!EncodeWordBlock(ToBlock(), bytes, &why))
        return Fail(error, GetUiMessage(UiKey::String::WordCopyRefused).arg(why));
    if (!haveGui())
        return Fail(error, GetUiMessage(UiKey::String::WordBlockMissing));
    auto *data = new QMimeData;
    data->setData(ClipboardMimeType(CF_WORD), bytes);
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool TInsertWord::PasteFromClipboard(QString *error)
{
    const QString type = ClipboardMimeType(CF_WORD);
    const QMimeData *data = haveGui() ? QGuiApplication::clipboard()->mimeData() : nullptr;
    if (!data || !data->hasFormat(type))
        return Fail(error, GetUiMessage(UiKey::String::WordBlockMissing));
    TWordBlock b;
    if (!DecodeWordBlock(data->data(type), b, error))
        return false;
    FromBlock(b);
    return true;
}

QFont InsertWordFont(const TInsertWordValues &v)
{
    QFont font(v.Family.isEmpty() ? TInsertWord::DefaultFamily() : v.Family);
    font.setPointSize(std::max(1, std::abs(v.Size)));
    font.setBold(v.Bold);
    font.setItalic(v.Italic);
    font.setUnderline(v.Underline);
    font.setStrikeOut(v.StrikeOut);
    return font;
}

QString InsertWordFirstLine(const QString &text)
{
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    return end < 0 ? text : text.left(end);
}

double InsertWordAngle(int degrees)
{
    return (degrees % 360) * Pi / 180.0;
}

TInsertWordValues InsertWordValuesOf(const TInsertWord &w)
{
    TInsertWordValues v;
    v.Family = w.Font().family();
    v.Size = w.FontPointSize();
    v.Spacing = w.CharSpacing();
    v.Angle = int(Round(w.Angle() * 180.0 / Pi));
    v.Bold = w.Font().bold();
    v.Italic = w.Font().italic();
    v.Underline = w.Font().underline();
    v.StrikeOut = w.Font().strikeOut();
    v.Text = w.Text();
    v.X = w.Position().X;
    v.Y = w.Position().Y;
    return v;
}
