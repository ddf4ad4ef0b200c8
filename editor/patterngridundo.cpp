// The pattern grid's side of its undo store: settings snapshots, replaying whole pictures,
// palettes and shifts, and the notifications the grid sends to the main window.
#include "editor/patterngrid.h"

#include "core/base/error.h"
#include "core/base/messages.h"
#include "core/picture/clipboardpicture.h"

#include <QImage>

#include <algorithm>
#include <cstring>
#include <vector>

TParam TPatternGrid::CurrentSettings() const
{
    TParam p;
    p.ToolId = m_toolId;
    p.WeftDensity = m_weftDensity;
    p.WarpDensity = m_warpDensity;
    p.ForeIndex = m_foreIndex;
    p.BackIndex = m_backIndex;
    p.Repeat = m_repeatInfo;
    return p;
}

void TPatternGrid::RestoreSettings(const TParam &settings, bool applyRepeatView)
{
    setPenIndexes(settings.ForeIndex, settings.BackIndex);
    m_weftDensity = settings.WeftDensity;
    m_warpDensity = settings.WarpDensity;
    if (!applyRepeatView) {
        // A whole-picture step brought its own picture: the flags are only stored.
        m_repeatInfo = settings.Repeat;
        clearRepeatFrame();
        SetRepeatDisplay(m_repeatInfo.Flags[2] != 0);
        return;
    }
    // The layout first, with the view as it is now; then the view switched to the step's
    // state through the switch itself, recording nothing while the store replays.
    const std::uint8_t shown = m_repeatInfo.Flags[1];
    m_repeatInfo = settings.Repeat;
    m_repeatInfo.Flags[1] = shown;
    const std::uint8_t mode = m_undoMode;
    m_undoMode = UndoModeSuspended;
    SetRepeatView(settings.Repeat.Flags[1] != 0);
    m_undoMode = mode;
    SetRepeatDisplay(m_repeatInfo.Flags[2] != 0);
}

void TPatternGrid::ReplacePicture(const QImage &picture)
{
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return;
    takeLoadedPicture(picture);
}

void TPatternGrid::ReplacePalette(const TPalette256 &palette)
{
    const int first = FirstPaletteDifference(palette, m_displayPalette);
    m_palette = palette;
    m_displayPalette = palette;
    if (first >= 0 && first == m_textIndex)
        m_foreColor = GetForeColor();
    if (first >= 0 && first == m_backIndex)
        m_backColor = GetBackColor();
    PaletteToPairs(m_palette, m_paletteItems);
    ApplyPalette(true);
    // The palette bar shows the document's palette: it follows the replayed one.
    notifyPalette();
}

namespace {
// Cyclic shift: rows (columns) count .. n-1 come first.
QImage shifted(const QImage &src, int count, bool rows)
{
    QImage out = src.copy();
    const int w = src.width(), h = src.height();
    if (rows) {
        if (count <= 0 || count >= h)
            return out;
        for (int y = 0; y < h; ++y)
            std::memcpy(out.scanLine(y), src.constScanLine((y + count) % h), w);
    } else {
        if (count <= 0 || count >= w)
            return out;
        for (int y = 0; y < h; ++y) {
            const uchar *s = src.constScanLine(y);
            uchar *d = out.scanLine(y);
            std::memcpy(d, s + count, w - count);
            std::memcpy(d + (w - count), s, count);
        }
    }
    return out;
}
} // namespace

// The command and its replay in one: the store replays with recording suspended, so the
// shift step is recorded only when the user shifts. A count outside 1 .. side - 1 moves
// nothing and records nothing.
void TPatternGrid::shiftPicture(int count, bool rows)
{
    SetRepeatView(false);
    const QImage &src = m_refBitmap.isNull() ? m_picture : m_refBitmap;
    const int side = rows ? src.height() : src.width();
    if (src.isNull() || count <= 0 || count >= side)
        return;
    m_picture = shifted(src, count, rows);
    m_refBitmap = m_picture;
    ++m_wholePictureChanges;
    RebuildReducedView();
    Repaint();
    m_undoStore->SaveShiftStep(count, rows ? TUndoKind::ShiftVert : TUndoKind::ShiftHorz);
}

void TPatternGrid::ShiftPictureVert(int count)
{
    shiftPicture(count, true);
}

void TPatternGrid::ShiftPictureHorz(int count)
{
    shiftPicture(count, false);
}

// ---- Recording ------------------------------------------------------------------------
// Thin wrappers over the undo store: the grid's operations and every other subsystem record
// through these, so that there is one path into the store.

void TPatternGrid::RecordUndoStep(const TLineArray &points)
{
    m_changedCells = points;
    if (points.isEmpty())
        return;
    // Tools and strokes may list cells beyond an edge: the clipped collector skips them.
    m_undoStore->SaveClippedRegionStep();
}

void TPatternGrid::RecordRectUndoStep(const TRect &r, bool ignoreRules, bool ignoreRegion)
{
    m_undoStore->SaveAreaStep(r, ignoreRules, ignoreRegion);
}

void TPatternGrid::RecordPictureRectStep()
{
    if (m_picture.isNull())
        return;
    RecordRectUndoStep(TRect { 0, 0, m_picture.width() - 1, m_picture.height() - 1 }, false, false);
}

// A step that cannot be written (disk full) leaves the change in place, unrecorded; the
// document is marked modified either way.
bool TPatternGrid::SaveImageUndoStep(QString *error)
{
    m_lastUndoError.clear();
    if (m_undoStore->SaveImageStep(&m_lastUndoError))
        return true;
    m_modified = true;
    return Fail(error, m_lastUndoError);
}

bool TPatternGrid::SaveWholePictureUndoStep(QString *error)
{
    m_lastUndoError.clear();
    if (m_undoStore->SaveWholePictureStep(&m_lastUndoError))
        return true;
    return Fail(error, m_lastUndoError);
}

bool TPatternGrid::SaveLayerUndoStep(QString *error)
{
    m_lastUndoError.clear();
    const bool ok = m_undoStore->SaveLayerStep(&m_lastUndoError);
    m_modified = true;
    Repaint();
    return ok || Fail(error, m_lastUndoError);
}

bool TPatternGrid::Undo(QString *error)
{
    const bool ok = m_undoStore->Undo(error);
    Repaint();
    return ok;
}

bool TPatternGrid::Redo(QString *error)
{
    const bool ok = m_undoStore->Redo(error);
    Repaint();
    return ok;
}

void TPatternGrid::ApplyStepPixels()
{
    const TUndoData *top = m_undoStore->GetTopStep();
    if (!top || top->Kind == TUndoKind::Image || top->Kind == TUndoKind::Palette)
        return;
    if (top->Packed) {
        // RefBitmap took the step's new cells when it was recorded: the box follows it.
        const QRect box(top->PackedAt, QSize(top->Packed->Width, top->Packed->Height));
        for (int y = box.top(); y <= box.bottom(); ++y)
            std::memcpy(m_picture.scanLine(y) + box.left(), m_refBitmap.constScanLine(y) + box.left(),
                std::size_t(box.width()));
    } else if (!top->Data.isEmpty()) {
        ApplyUndoPixels(m_picture, m_refBitmap, *top, true, false);
    } else {
        return;
    }
    RebuildReducedView();
}

// ---- Notifications to the main window ----------------------------------------------
// A grid that does not own its picture (a navigator) tells the main window nothing.

void TPatternGrid::notifyPalette()
{
    if (m_ownsPicture)
        SendPaletteFromChild();
}

void TPatternGrid::notifyZoom()
{
    SendZoomState(m_statusWnd, m_zoomLevel);
}

// Undo and redo counts and the repeat state; the edit state follows the selection.
void TPatternGrid::NotifyMainWindow()
{
    if (!m_ownsPicture || !m_undoStore)
        return;
    NotifyEditState();
    NotifyUndoState();
    SendZoomState(m_statusWnd, m_zoomLevel);
    SendRepeatState(RepeatState());
    SendPatternMergeState();
}

void TPatternGrid::NotifyUndoState()
{
    if (m_ownsPicture && m_undoStore)
        SendUndoState(m_undoStore->UndoCount(), m_undoStore->RedoCount());
}

void TPatternGrid::NotifyEditState()
{
    if (!m_ownsPicture)
        return;
    checkFloatingObjects();
    const bool selection = !m_selectionRegion.isEmpty();
    const bool copyable = selection || m_floatingBitmap || m_floatingText;
    SendEditState((copyable ? 1 : 0) + (ClipboardHasPiece() ? 2 : 0), selection ? 1 : 0);
}

void TPatternGrid::NotifyRefreshView(int mode)
{
    if (m_ownsPicture)
        SendRefreshView(mode);
}

void TPatternGrid::NotifyPatternSize(int cols, int rows)
{
    // A grid without a picture yet (a document being opened) has no size to show: the
    // status bar keeps the size of the document on screen.
    if (m_ownsPicture && !m_picture.isNull())
        SendPatternSize(cols, rows);
}

void TPatternGrid::NotifyPenWidth()
{
    if (m_ownsPicture)
        SendPenWidth();
}
