// The floating picture on the clipboard: its "CF_BMP" block and shape entry, and making the
// piece anew from them.
#include "editor/floatingpicture.h"

#include "core/base/error.h"
#include "core/picture/clipboardpicture.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

namespace {

bool haveGui()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

// The shape of a block that came without one: the cells of the key colour are outside,
// when the key colour is in the palette and some cell has it. Null when every cell is in.
QImage shapeFromKey(const QImage &companion, TColor keyColor)
{
    TPalette256 pal;
    GetBitmapPalette(companion, pal);
    const int key = FindPaletteColorIndex(keyColor, pal);
    if (key < 0)
        return {};
    QImage mask;
    for (int y = 0; y < companion.height(); ++y) {
        const std::uint8_t *row = companion.constScanLine(y);
        for (int x = 0; x < companion.width(); ++x) {
            if (row[x] != key)
                continue;
            if (mask.isNull())
                mask = NewOpaqueMask(companion.width(), companion.height());
            if (mask.isNull())
                return {};
            mask.scanLine(y)[x] = 0;
        }
    }
    return mask;
}

} // namespace

void TBmp::WriteBlock(QByteArray &block, QByteArray &shape)
{
    TFloatingBlock b;
    b.Companion = m_companion;
    b.HandlePoints = m_handlePoints;
    b.Angle = m_angle;
    b.Position = m_position;
    b.Centre = m_centre;
    b.SelRect = m_selRect;
    b.Bounds = m_bounds;
    b.KeyColor = m_keyColor;
    b.ColorFilter = m_colorFilter;
    // The kept colours travel with their colour values, so that another palette finds them.
    m_keptColorValues = TColorArray();
    std::vector<TColor> values;
    for (int i = 0; i < 256; ++i)
        if (m_keptColors[std::size_t(i)]) {
            b.KeptIndexes.push_back(std::uint8_t(i));
            values.push_back(GetPaletteColor(m_palette, i));
        }
    m_keptColorValues.setLength(qsizetype(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
        m_keptColorValues[qsizetype(i)] = values[i];
    b.KeptColors = values;
    block = EncodeFloatingBlock(b);
    shape = m_companionMask.isNull() ? QByteArray() : EncodeFloatingShape(m_companionMask);
}

bool TBmp::ReadBlock(const QByteArray &bytes, const QByteArray *shape, QString *error)
{
    TFloatingBlock b;
    if (!DecodeFloatingBlock(bytes, b, error))
        return false;
    QImage mask;
    if (shape) {
        if (!DecodeFloatingShape(*shape, b.Companion.size(), mask, error))
            return false;
    } else {
        mask = shapeFromKey(b.Companion, b.KeyColor);
    }
    m_companion = b.Companion;
    m_companionMask = mask;
    m_handlePoints = b.HandlePoints;
    m_angle = b.Angle;
    m_position = b.Position;
    m_centre = b.Centre;
    m_selRect = b.SelRect;
    m_bounds = b.Bounds;
    m_clipKeyColor = b.KeyColor;
    m_colorFilter = b.ColorFilter;
    m_keptColors.reset();
    for (std::uint8_t i : b.KeptIndexes)
        m_keptColors.set(i);
    m_keptColorValues.setLength(qsizetype(b.KeptColors.size()));
    for (std::size_t i = 0; i < b.KeptColors.size(); ++i)
        m_keptColorValues[qsizetype(i)] = b.KeptColors[i];
    GetBitmapPalette(m_companion, m_palette);
    SetBitmapPalette(m_companion, m_palette);
    return true;
}

bool TBmp::RebuildAll(QString *error)
{
    if (m_companion.isNull())
        return Fail(error, GetUiMessage(UiKey::String::FloatPictureEmpty));
    GetBitmapPalette(m_companion, m_palette);
    SetAngle(m_angle);
    SetBounds(turnedBounds());
    // The key colour of the block is the key again only where no cell of the piece shows
    // it: with a full palette it may name a colour of the piece, which must stay opaque.
    int key = FindPaletteColorIndex(m_clipKeyColor, m_palette);
    if (key >= 0) {
        for (int y = 0; y < m_companion.height() && key >= 0; ++y) {
            const std::uint8_t *row = m_companion.constScanLine(y);
            const std::uint8_t *in = m_companionMask.isNull() ? nullptr : m_companionMask.constScanLine(y);
            for (int x = 0; x < m_companion.width(); ++x)
                if (row[x] == key && (!in || in[x])) {
                    key = -1;
                    break;
                }
        }
    }
    if (key >= 0) {
        m_keyIndex = key;
        m_keyColor = m_clipKeyColor;
    } else {
        UpdateColorKey();
    }
    if (!UpdateTransformedImage(error))
        return false;
    if (m_keyIndex >= 0)
        AddTransparentColor(std::uint8_t(m_keyIndex));
    return true;
}

bool TBmp::CopyToClipboard()
{
    if (!haveGui() || m_companion.isNull())
        return false;
    QByteArray block, shape;
    WriteBlock(block, shape);
    if (block.isEmpty())
        return false;
    auto *data = new QMimeData;
    data->setData(ClipboardMimeType(CF_BMP), block);
    if (!shape.isEmpty())
        data->setData(ClipboardMimeType(CF_BMP_Shape), shape);
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool TBmp::PasteFromClipboard(QString *error)
{
    const QMimeData *data = haveGui() ? QGuiApplication::clipboard()->mimeData() : nullptr;
    const QString type = ClipboardMimeType(CF_BMP);
    if (!data || !data->hasFormat(type))
        return Fail(error, GetUiMessage(UiKey::String::FloatBlockMissing));
    const QString shapeType = ClipboardMimeType(CF_BMP_Shape);
    const QByteArray shape = data->hasFormat(shapeType) ? data->data(shapeType) : QByteArray();
    return ReadBlock(data->data(type), data->hasFormat(shapeType) ? &shape : nullptr, error);
}
