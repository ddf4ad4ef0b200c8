// The pattern grid's side of its undo store: settings snapshots, replaying whole pictures,
// palettes and shifts, and the notifications the grid sends to the main window.
#include "editor/patterngrid.h"

#include "core/base/messages.h"

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

void TPatternGrid::RestoreSettings(const TParam &settings, bool)
{
    setPenIndexes(settings.ForeIndex, settings.BackIndex);
    m_weftDensity = settings.WeftDensity;
    m_warpDensity = settings.WarpDensity;
    m_repeatInfo = settings.Repeat;
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

void TPatternGrid::ShiftPictureVert(int count)
{
    m_picture = shifted(m_refBitmap.isNull() ? m_picture : m_refBitmap, count, true);
    m_refBitmap = m_picture;
    RebuildReducedView();
    Repaint();
}

void TPatternGrid::ShiftPictureHorz(int count)
{
    m_picture = shifted(m_refBitmap.isNull() ? m_picture : m_refBitmap, count, false);
    m_refBitmap = m_picture;
    RebuildReducedView();
    Repaint();
}

// ---- Recording ------------------------------------------------------------------------

// A step that cannot be written (disk full) leaves the change in place, unrecorded; the
// document is marked modified either way.
void TPatternGrid::recordWholePictureStep()
{
    m_lastUndoError.clear();
    if (!m_undoStore->SaveImageStep(&m_lastUndoError))
        m_modified = true;
}

void TPatternGrid::recordPaletteStep()
{
    m_lastUndoError.clear();
    m_undoStore->SaveLayerStep(&m_lastUndoError);
    m_modified = true;
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

// Undo and redo counts; the edit and repeat states follow the selection and repeat view.
void TPatternGrid::NotifyMainWindow()
{
    if (m_ownsPicture && m_undoStore)
        SendUndoState(m_undoStore->UndoCount(), m_undoStore->RedoCount());
}

void TPatternGrid::NotifyRefreshView(int mode)
{
    if (m_ownsPicture)
        SendRefreshView(mode);
}

void TPatternGrid::NotifyPatternSize(int cols, int rows)
{
    if (m_ownsPicture)
        SendPatternSize(cols, rows);
}

void TPatternGrid::NotifyPenWidth()
{
    if (m_ownsPicture)
        SendPenWidth();
}
