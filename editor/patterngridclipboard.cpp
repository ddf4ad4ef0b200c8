// The selection's commands and the clipboard of the pattern grid: selecting everything,
// filling, outlining and shifting the selection, copying and cutting it as a floating
// picture, and pasting what the clipboard holds as one.
#include "editor/patterngrid.h"

#include "core/base/error.h"
#include "core/palette/palettejoin.h"
#include "core/palette/regions.h"
#include "core/picture/clipboardpicture.h"
#include "core/picture/floatingblock.h"
#include "core/picture/imageproc.h"
#include "core/picture/picturelimits.h"
#include "core/picture/wordblock.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/floatingpicture.h"
#include "editor/gridclipboard.h"
#include "editor/insertword.h"
#include "editor/palettechoice.h"
#include "editor/tools/customline.h"

#include <QCoreApplication>
#include <QMimeData>

#include <algorithm>
#include <array>
#include <functional>

namespace {

// The box of a non-empty area, inclusive, or false.
bool inclusiveBox(const TRect &exclusive, TRect &box)
{
    if (exclusive.Right <= exclusive.Left || exclusive.Bottom <= exclusive.Top)
        return false;
    box = { exclusive.Left, exclusive.Top, exclusive.Right - 1, exclusive.Bottom - 1 };
    return true;
}

// One column left (or right) cyclically over the rows top .. bottom - 1 of the columns
// left .. right - 1.
void shiftRowsInBox(QImage &picture, const TRect &box, bool left)
{
    const int n = box.Right - box.Left;
    if (n < 2)
        return;
    for (int y = box.Top; y < box.Bottom; ++y) {
        std::uint8_t *row = picture.scanLine(y) + box.Left;
        if (left)
            std::rotate(row, row + 1, row + n);
        else
            std::rotate(row, row + n - 1, row + n);
    }
}

TPatternGrid::TPasteStep stopped(QString *error, const QString &message)
{
    Fail(error, message);
    return TPatternGrid::TPasteStep::Stopped;
}

} // namespace

// --- Selection -----------------------------------------------------------------------------

void TPatternGrid::ClearRegion()
{
    CancelRegionObject();
    Repaint();
}

void TPatternGrid::CancelRegionObject()
{
    const bool had = !m_selectionRegion.isEmpty();
    ClearSelectionRegion();
    if (had)
        NotifyEditState();
}

void TPatternGrid::SelectAll()
{
    DropFloatingObjects();
    if (m_picture.isNull())
        return;
    CreateDrawObject(m_regionObject, TToolId::DefineRectangle, true);
    if (m_regionObject) {
        m_regionObject->AddPoint({ 0, 0 });
        m_regionObject->AddPoint({ m_picture.width() - 1, m_picture.height() - 1 });
        m_regionObject->SetMode(TDrawMode::Ready);
    }
    m_selectionRegion = QRegion(0, 0, m_picture.width(), m_picture.height());
    Repaint();
    NotifyEditState();
}

void TPatternGrid::FillRegion(std::uint8_t index)
{
    TRect box;
    if (m_picture.isNull()
        || !inclusiveBox(ClampedRegionBox(m_selectionRegion, m_picture.width(), m_picture.height()), box))
        return;
    FillRegionWithIndex(m_picture, m_selectionRegion, index);
    NotifyRefreshView(1);
    RecordRectUndoStep(box, false, false);
    RebuildReducedView();
    Repaint();
}

// The outline is the selection's own edge: every selected cell with a side on a cell that
// is not selected (or on the picture's edge).
void TPatternGrid::PaintRegionBorder()
{
    TRect area;
    if (m_picture.isNull()
        || !inclusiveBox(ClampedRegionBox(m_selectionRegion, m_picture.width(), m_picture.height()), area))
        return;
    const int w = area.Right - area.Left + 1, h = area.Bottom - area.Top + 1;
    // The selected cells of the box, with a frame of unselected cells round them.
    std::vector<std::uint8_t> in(std::size_t(w + 2) * std::size_t(h + 2), 0);
    for (const QRect &r : m_selectionRegion) {
        const QRect c = r.intersected(QRect(area.Left, area.Top, w, h));
        for (int y = c.top(); y <= c.bottom(); ++y)
            std::fill_n(in.begin() + std::ptrdiff_t(std::size_t(y - area.Top + 1) * std::size_t(w + 2))
                    + (c.left() - area.Left + 1),
                c.width(), 1);
    }
    const auto at
        = [&in, w](int x, int y) { return in[std::size_t(y + 1) * std::size_t(w + 2) + std::size_t(x + 1)]; };
    for (int y = 0; y < h; ++y) {
        std::uint8_t *row = m_picture.scanLine(area.Top + y) + area.Left;
        for (int x = 0; x < w; ++x)
            if (at(x, y) && (!at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1)))
                row[x] = m_foreIndex;
    }
    RecordRectUndoStep(area, false, false);
    RebuildReducedView();
    Repaint();
}

bool TPatternGrid::MoveRegionContent(int code)
{
    if (m_picture.isNull() || code < -3 || code > 3 || code == 0)
        return false;
    TRect box = ClampedRegionBox(m_selectionRegion, m_picture.width(), m_picture.height());
    if (box.Right <= box.Left || box.Bottom <= box.Top)
        return false;
    if (code == 3 || code == -3) {
        // Down or up over the whole height of the picture in the box's columns.
        box.Top = 0;
        box.Bottom = m_picture.height();
        code /= 3;
    }
    if (code == 1 || code == -1)
        MoveRegionPixels(m_picture, box, code);
    else
        shiftRowsInBox(m_picture, box, code == 2);
    // Only the box changed: its cells are the step, whatever the rules say, as a
    // whole-picture step would keep them.
    RecordRectUndoStep({ box.Left, box.Top, box.Right - 1, box.Bottom - 1 }, true, true);
    RebuildReducedView();
    Repaint();
    return true;
}

void TPatternGrid::ClearColorsInSelection(const std::vector<std::uint8_t> &indexes)
{
    if (m_picture.isNull())
        return;
    TRect box = ClampedRegionBox(m_selectionRegion, m_picture.width(), m_picture.height());
    if (box.Right <= box.Left || box.Bottom <= box.Top)
        box = { 0, 0, m_picture.width(), m_picture.height() };
    // Cells are compared by colour: every entry showing a listed colour is cleared.
    std::array<bool, 256> clear {};
    for (std::uint8_t i : indexes) {
        const TColor c = GetPaletteColor(m_palette, i);
        for (int j = 0; j < 256; ++j)
            if (GetPaletteColor(m_palette, j) == c)
                clear[std::size_t(j)] = true;
    }
    for (int y = box.Top; y < box.Bottom; ++y) {
        std::uint8_t *row = m_picture.scanLine(y);
        for (int x = box.Left; x < box.Right; ++x)
            if (clear[row[x]])
                row[x] = m_backIndex;
    }
}

// --- Clipboard -----------------------------------------------------------------------------

TGridClipboard &TPatternGrid::Clipboard() const
{
    return m_clipboard ? *m_clipboard : SystemGridClipboard();
}

QByteArray TPatternGrid::ClipboardOwnerToken() const
{
    // A window handle of another time may name a newer window: the process and the grid's
    // own number name this grid alone.
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(m_gridId);
}

bool TPatternGrid::ClipboardHasPiece() const
{
    const QMimeData *data = Clipboard().MimeData();
    if (!data)
        return false;
    return data->hasImage() || data->hasFormat(ClipboardMimeType(CF_BMP))
        || data->hasFormat(ClipboardMimeType(CF_WORD)) || data->hasFormat(ClipboardMimeType(CF_256Bitmap));
}

void TPatternGrid::writeFloatingToClipboard(TBmp &piece)
{
    QByteArray block, shape;
    piece.WriteBlock(block, shape);
    if (block.isEmpty())
        return;
    auto *data = new QMimeData;
    data->setData(ClipboardMimeType(CF_BMP), block);
    if (!shape.isEmpty())
        data->setData(ClipboardMimeType(CF_BMP_Shape), shape);
    data->setData(ClipboardMimeType(CF_Owner), ClipboardOwnerToken());
    Clipboard().SetMimeData(data);
}

bool TPatternGrid::Copy(const std::vector<std::uint8_t> &colors, bool withColor)
{
    checkFloatingObjects();
    if (!m_picture.isNull() && !m_selectionRegion.isEmpty()) {
        const QRegion inside
            = m_selectionRegion.intersected(QRect(0, 0, m_picture.width(), m_picture.height()));
        QImage box;
        TBmp piece;
        if (!inside.isEmpty() && CopyRegionBoxToBitmap(m_picture, box, inside) && piece.Assign(box)
            && piece.UpdateRegion(inside)) {
            const QRect r = inside.boundingRect();
            piece.UpdateFrame({ r.x(), r.y() });
            if (withColor) {
                piece.SetColorFilter(true);
                for (std::uint8_t c : colors)
                    piece.IncludeKeptColor(c);
                piece.UpdateTransparentFromUsage();
            }
            writeFloatingToClipboard(piece);
            NotifyEditState();
            return true;
        }
    }
    if (m_floatingText) {
        // A text GBK cannot hold is not copied: the person is told why.
        QByteArray block;
        QString why;
        if (!EncodeWordBlock(m_floatingText->ToBlock(), block, &why)) {
            ReportPickedTool(nullptr, GetUiMessage(UiKey::String::WordCopyRefused).arg(why));
            return false;
        }
        auto *data = new QMimeData;
        data->setData(ClipboardMimeType(CF_WORD), block);
        data->setData(ClipboardMimeType(CF_Owner), ClipboardOwnerToken());
        Clipboard().SetMimeData(data);
        NotifyEditState();
        return true;
    }
    if (m_floatingBitmap) {
        writeFloatingToClipboard(*m_floatingBitmap);
        NotifyEditState();
        return true;
    }
    return false;
}

bool TPatternGrid::Cut()
{
    if (!Copy())
        return false;
    TRect box;
    if (!m_picture.isNull()
        && inclusiveBox(ClampedRegionBox(m_selectionRegion, m_picture.width(), m_picture.height()), box)) {
        FillRegionWithIndex(m_picture, m_selectionRegion, std::uint8_t(m_backIndex));
        RecordRectUndoStep(box, false, false);
        RebuildReducedView();
    }
    Repaint();
    NotifyEditState();
    return true;
}

TPoint TPatternGrid::defaultPastePos() const
{
    // The piece's corner at the middle of the view, in picture cells.
    const bool reduced = m_zoomLevel < BaseZoomLevel;
    const int col = LeftCol() + PaintColCount() / 2, row = TopRow() + PaintRowCount() / 2;
    return { reduced ? ReducedSourceCol(col) : col, reduced ? ReducedSourceRow(row) : row };
}

bool TPatternGrid::askPastePalette(const QMimeData &data, QString *)
{
    if (data.data(ClipboardMimeType(CF_Owner)) == ClipboardOwnerToken()) {
        m_pasteMode = 0;
        return true;
    }
    TPaletteChoice choice = TPaletteChoice::Combine;
    if (m_paletteAsker && !m_paletteAsker->AskPaletteChoice(TPaletteChoiceKind::Paste, choice))
        return false;
    m_pasteMode = std::uint8_t(choice);
    return true;
}

// The piece and the document meet on one palette as PasteMode says; a document palette
// that changes is one whole-picture step.
bool TPatternGrid::joinPastedPalette(TBmp &piece, QString *error)
{
    if (m_pasteMode < 3 || m_pasteMode > 5)
        return true;
    DropFloatingObjects();
    if (m_pasteMode == 4)
        return piece.MapToPalette(m_palette, error);
    QImage document = m_picture;
    if (m_pasteMode == 3) {
        QImage companion = piece.Companion();
        MergeTwoPicturePalettes(document, companion);
        TPalette256 joint;
        GetBitmapPalette(companion, joint);
        if (!piece.MapToPalette(joint, error))
            return false;
    } else {
        AdoptPalette(piece.Companion(), document);
    }
    TPalette256 now;
    GetBitmapPalette(document, now);
    if (now == m_palette && document == m_picture)
        return true;
    m_picture = document;
    ReadPaletteFromPicture();
    notifyPalette();
    SaveImageUndoStep(error);
    RebuildDisplayBitmap();
    ApplyPalette(true);
    return true;
}

TPatternGrid::TPasteStep TPatternGrid::pasteFloatingBlock(
    const QMimeData &data, TPoint pos, bool atPos, QString *error)
{
    const QString type = ClipboardMimeType(CF_BMP);
    if (!data.hasFormat(type))
        return TPasteStep::Absent;
    auto piece = std::make_unique<TBmp>();
    const QString shapeType = ClipboardMimeType(CF_BMP_Shape);
    const QByteArray shape = data.data(shapeType);
    // A block that does not read counts as absent: the next format is tried.
    if (!piece->ReadBlock(data.data(type), data.hasFormat(shapeType) ? &shape : nullptr)
        || !piece->RebuildAll())
        return TPasteStep::Absent;
    if (!askPastePalette(data, error))
        return TPasteStep::Stopped;
    if (!joinPastedPalette(*piece, error))
        return TPasteStep::Stopped;
    if (m_pasteMode == 3 || m_pasteMode == 4)
        piece->UpdateColorKey();
    if (atPos)
        CancelRegionObject();
    AttachFloatingBitmap(std::move(piece), atPos ? pos : defaultPastePos());
    return TPasteStep::Pasted;
}

TPatternGrid::TPasteStep TPatternGrid::pastePlainImage(const QMimeData &data, QString *error)
{
    if (!data.hasImage())
        return TPasteStep::Absent;
    const QImage image = qvariant_cast<QImage>(data.imageData());
    if (image.isNull())
        return TPasteStep::Absent;
    if (image.width() > MaxPictureSide || image.height() > MaxPictureSide)
        return stopped(
            error, GetUiMessage(UiKey::String::PasteImageTooLarge).arg(image.width()).arg(image.height()));
    if (!CheckPictureBudget(image.width(), image.height(), 1, error))
        return TPasteStep::Stopped;
    auto piece = std::make_unique<TBmp>();
    if (!piece->Assign(image, error))
        return TPasteStep::Absent;
    m_pasteMode = 3;
    if (!joinPastedPalette(*piece, error))
        return TPasteStep::Stopped;
    piece->UpdateColorKey();
    if (!piece->UpdateTransformedImage(error))
        return TPasteStep::Stopped;
    const QRect r = m_selectionRegion.boundingRect();
    const TPoint at = m_selectionRegion.isEmpty() ? TPoint { LeftCol(), TopRow() } : TPoint { r.x(), r.y() };
    TBmp *shown = piece.get();
    AttachFloatingBitmap(std::move(piece), at);
    if (m_floatingBitmap == shown)
        writeFloatingToClipboard(*shown);
    return TPasteStep::Pasted;
}

TPatternGrid::TPasteStep TPatternGrid::paste256Bitmap(
    const QMimeData &data, TPoint pos, bool atPos, QString *error)
{
    const QString type = ClipboardMimeType(CF_256Bitmap);
    QImage picture;
    if (!data.hasFormat(type) || !DecodeClipboardPicture(data.data(type), picture))
        return TPasteStep::Absent;
    auto piece = std::make_unique<TBmp>();
    if (!piece->Assign(picture, error))
        return TPasteStep::Absent;
    if (!askPastePalette(data, error))
        return TPasteStep::Stopped;
    if (!m_selectionRegion.isEmpty())
        piece->UpdateRegion(m_selectionRegion);
    if (!joinPastedPalette(*piece, error))
        return TPasteStep::Stopped;
    piece->UpdateColorKey();
    if (!piece->UpdateTransformedImage(error))
        return TPasteStep::Stopped;
    if (atPos)
        CancelRegionObject();
    TBmp *shown = piece.get();
    AttachFloatingBitmap(std::move(piece), atPos ? pos : defaultPastePos());
    if (m_floatingBitmap == shown)
        writeFloatingToClipboard(*shown);
    return TPasteStep::Pasted;
}

TPatternGrid::TPasteStep TPatternGrid::pasteFloatingText(
    const QMimeData &data, TPoint pos, bool atPos, QString *error)
{
    const QString type = ClipboardMimeType(CF_WORD);
    if (!data.hasFormat(type))
        return TPasteStep::Absent;
    TWordBlock block;
    if (!DecodeWordBlock(data.data(type), block, error))
        return TPasteStep::Absent;
    auto text = std::make_unique<TInsertWord>();
    text->FromBlock(block);
    if (atPos)
        text->SetPosition(pos);
    AttachFloatingText(std::move(text));
    return TPasteStep::Pasted;
}

bool TPatternGrid::PasteFromClipboard(TPoint pos, bool atPos, QString *error)
{
    if (m_picture.isNull())
        return Fail(error, GetUiMessage(UiKey::String::NothingToPaste));
    const QMimeData *data = Clipboard().MimeData();
    if (!data)
        return Fail(error, GetUiMessage(UiKey::String::NothingToPaste));
    // The clipboard may change under a modal question: the formats are read from a copy.
    QMimeData held;
    for (const QString &format : data->formats())
        held.setData(format, data->data(format));
    if (data->hasImage())
        held.setImageData(data->imageData());
    // The formats in their order; a block that does not read counts as absent.
    const std::array<std::function<TPasteStep(QString *)>, 4> formats { {
        [&](QString *e) { return pasteFloatingBlock(held, pos, atPos, e); },
        [&](QString *e) { return pastePlainImage(held, e); },
        [&](QString *e) { return paste256Bitmap(held, pos, atPos, e); },
        [&](QString *e) { return pasteFloatingText(held, pos, atPos, e); },
    } };
    TPasteStep step = TPasteStep::Absent;
    for (const auto &format : formats)
        if ((step = format(error)) != TPasteStep::Absent)
            break;
    if (step == TPasteStep::Absent)
        return Fail(error, GetUiMessage(UiKey::String::NothingToPaste));
    if (step == TPasteStep::Stopped)
        return false;
    if (!atPos)
        SetDrawTool(TToolId::Move);
    CancelRegionObject();
    Repaint();
    NotifyEditState();
    return true;
}
