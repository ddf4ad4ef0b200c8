#include "editor/patterngrid.h"

#include "core/picture/picturelimits.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "editor/tools/customline.h"
#include "editor/tools/rectangletool.h"
#include "editor/tools/toolbox.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

// The picture resized to width x height, keeping the top-left cells; added cells take
// fill. A null picture comes back as a new picture of that size.
QImage resizedPicture(const QImage &src, int width, int height, std::uint8_t fill, const TPalette256 &palette)
{
    QImage out(width, height, QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    SetBitmapPalette(out, palette);
    out.fill(fill);
    if (src.isNull() || src.format() != QImage::Format_Indexed8)
        return out;
    const int w = std::min(width, src.width());
    const int h = std::min(height, src.height());
    for (int y = 0; y < h; ++y)
        std::memcpy(out.scanLine(y), src.constScanLine(y), w);
    return out;
}

} // namespace

TPatternGrid::TPatternGrid()
{
    if (!LoadPaletteResource(m_palette))
        for (int i = 0; i < 256; ++i)
            m_palette[i] = TPaletteEntry { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0 };
    m_displayPalette = m_palette;
    PaletteToPairs(m_palette, m_paletteItems);
    m_statusWnd = Hooks().MainFormHandle;
    m_weftDensity = StartSettings().GrossOption.WeftDensity;
    m_warpDensity = StartSettings().GrossOption.WarpDensity;
    m_repeatInfo.UnitWidth = m_grid.ClientWidth;
    m_repeatInfo.UnitHeight = m_grid.ClientHeight;
    m_repeatInfo.HorzCount = 1;
    m_repeatInfo.VertCount = 1;
    m_repeatInfo.Value1 = 1;
    setPenIndexes(0, 0);
    m_grid.SetCountsDirect(0, 0);
    // The unit outline is drawn as a selection is (locked: dotted, no vertex markers),
    // over the cells of the view image.
    m_repeatFrameObject = std::make_unique<TRectangleLine>();
    m_repeatFrameObject->SetLocked(true);
    m_repeatFrameObject->SetPreviewCanvas(&m_viewBitmap);
    m_undoStore = std::make_unique<TUndo>(*this);
    static std::atomic<std::uint64_t> gridCount { 0 };
    m_gridId = ++gridCount;
    initTools();
}

TPatternGrid::~TPatternGrid() = default;

// ---- Layout ---------------------------------------------------------------------------

void TPatternGrid::layoutChanged()
{
    if (m_viewport)
        m_viewport->LayoutChanged();
}

void TPatternGrid::Repaint()
{
    if (m_viewport)
        m_viewport->Repaint();
}

void TPatternGrid::SetColCount(int value)
{
    value = std::clamp(value, 1, MaxPictureSide);
    if (!m_picture.isNull() && value == m_picture.width())
        return;
    m_picture = resizedPicture(m_picture, value, std::max(1, m_picture.height()), m_backIndex, m_palette);
    m_refBitmap = m_refBitmap.isNull()
        ? m_picture
        : resizedPicture(m_refBitmap, value, m_picture.height(), m_backIndex, m_palette);
    // The counts follow the picture at the current zoom (below level 9 the reduced view).
    applyZoomCounts();
    ApplyPalette(true);
    layoutChanged();
}

void TPatternGrid::SetRowCount(int value)
{
    value = std::clamp(value, 1, MaxPictureSide);
    if (!m_picture.isNull() && value == m_picture.height())
        return;
    m_picture = resizedPicture(m_picture, std::max(1, m_picture.width()), value, m_backIndex, m_palette);
    m_refBitmap = m_refBitmap.isNull()
        ? m_picture
        : resizedPicture(m_refBitmap, m_picture.width(), value, m_backIndex, m_palette);
    applyZoomCounts();
    ApplyPalette(true);
    layoutChanged();
}

void TPatternGrid::SetLeftCol(int value)
{
    if (m_grid.SetLeftCol(value))
        TopLeftChanged();
}

void TPatternGrid::SetTopRow(int value)
{
    if (m_grid.SetTopRow(value))
        TopLeftChanged();
}

void TPatternGrid::SetClientSize(int width, int height)
{
    const int left = LeftCol(), top = TopRow();
    m_grid.SetClientSize(width, height);
    if (left != LeftCol() || top != TopRow())
        TopLeftChanged();
}

void TPatternGrid::SetLineColor(TColor value)
{
    m_grid.SetLineColor(value);
    Repaint();
}

void TPatternGrid::SetCompartLineColor(TColor value)
{
    m_grid.SetCompartLineColor(value);
    Repaint();
}

void TPatternGrid::SetNavigatorFrame(const TRect &frame)
{
    m_navigatorFrame = frame;
    Repaint();
}

void TPatternGrid::TopLeftChanged()
{
    NotifyRefreshView(0);
    Repaint();
}

// ---- Picture --------------------------------------------------------------------------

void TPatternGrid::SetPicture(const QImage &bitmap)
{
    m_picture = bitmap;
    // The counts (and below level 9 the reduced view) follow the new picture at once, so
    // that no cell of the grid lies outside it.
    applyZoomCounts();
}

void TPatternGrid::SetPictureAndRefresh(const QImage &bitmap, bool saveUndo)
{
    SetPicture(bitmap);
    RefreshView();
    if (saveUndo)
        SaveImageUndoStep();
    else
        m_modified = true;
    notifyPalette();
    RebuildDisplayBitmap();
}

namespace {
// True when the picture's own colour table is the palette, so that the display copy is a
// plain copy of the cells.
bool tableIsPalette(const QImage &picture, const TPalette256 &palette)
{
    TPalette256 own;
    GetBitmapPalette(picture, own);
    for (int i = 0; i < 256; ++i)
        if (own[i].Red != palette[i].Red || own[i].Green != palette[i].Green
            || own[i].Blue != palette[i].Blue)
            return false;
    return true;
}
} // namespace

// RefBitmap keeps its buffer when the size stays: the cells are copied into memory the
// process already uses instead of a fresh picture-sized allocation per edit.
void TPatternGrid::RebuildDisplayBitmap()
{
    if (m_picture.isNull()) {
        m_refBitmap = QImage();
        return;
    }
    const bool reuse = m_refBitmap.size() == m_picture.size()
        && m_refBitmap.format() == QImage::Format_Indexed8 && m_picture.format() == QImage::Format_Indexed8
        && m_refBitmap.constBits() != m_picture.constBits() && tableIsPalette(m_picture, m_palette);
    if (!reuse) {
        BuildDisplayBitmap(m_refBitmap, m_picture, m_palette);
        return;
    }
    const std::size_t w = std::size_t(m_picture.width());
    for (int y = 0, h = m_picture.height(); y < h; ++y)
        std::memcpy(m_refBitmap.scanLine(y), m_picture.constScanLine(y), w);
    SetBitmapPalette(m_refBitmap, m_palette);
}

// A picture of a new size was made fresh by its command: RefBitmap shares it instead of
// taking a second fresh copy, as nothing can reuse the buffer of the old size. The first
// write into either picture separates them (the one written gets its own cells).
bool TPatternGrid::shareRefWithPicture()
{
    if (m_picture.isNull() || m_picture.format() != QImage::Format_Indexed8
        || !tableIsPalette(m_picture, m_palette))
        return false;
    m_refBitmap = m_picture;
    return true;
}

void TPatternGrid::rebuildRefAfterResize()
{
    if (m_refBitmap.size() == m_picture.size() || !shareRefWithPicture())
        RebuildDisplayBitmap();
}

bool TPatternGrid::RefreshView()
{
    NotifyRefreshView(1);
    SetZoom(m_zoomLevel);
    layoutChanged();
    NotifyRefreshView(1);
    return true;
}

void TPatternGrid::takeLoadedPicture(const QImage &picture)
{
    ++m_wholePictureChanges;
    m_picture = picture;
    GetBitmapPalette(m_picture, m_palette);
    SetPalette(m_palette);
    // A loaded or replayed picture of another size is new: RefBitmap shares it.
    rebuildRefAfterResize();
    // The counts follow the zoom level, so that a reduced view stays consistent.
    applyZoomCounts();
    // The pens take their colours from the new palette.
    setPenIndexes(0, 0);
    notifyPalette();
    ResetRepeatSize();
    if (m_ownsPicture)
        NotifyPatternSize(m_repeatInfo.UnitWidth, m_repeatInfo.UnitHeight);
    NotifyRefreshView(1);
    layoutChanged();
    Repaint();
}

void TPatternGrid::ResetRepeatSize()
{
    m_repeatInfo.UnitWidth = m_picture.width();
    m_repeatInfo.UnitHeight = m_picture.height();
    m_repeatInfo.HorzCount = 1;
    m_repeatInfo.VertCount = 1;
    m_repeatInfo.Flags[0] = m_repeatInfo.Flags[1] = m_repeatInfo.Flags[2] = 0;
    clearRepeatFrame();
}

void TPatternGrid::UpdateRepeatSize()
{
    m_repeatInfo.UnitWidth = m_picture.width();
    m_repeatInfo.UnitHeight = m_picture.height();
}

// ---- Palette and colours -----------------------------------------------------------

void TPatternGrid::SetPalette(const TPalette256 &palette)
{
    m_palette = palette;
    PaletteToPairs(m_palette, m_paletteItems);
    m_displayPalette = palette;
}

void TPatternGrid::SetPaletteFromHandle(const TLogPalette &handle, TPalette256 &palette)
{
    for (int i = 0; i < 256; ++i)
        palette[i] = handle[i];
    PaletteToPairs(palette, m_paletteItems);
    m_displayPalette = palette;
}

void TPatternGrid::ReadPaletteFromPicture()
{
    GetBitmapPalette(m_picture, m_palette);
    PaletteToPairs(m_palette, m_paletteItems);
    m_displayPalette = m_palette;
    notifyPalette();
}

bool TPatternGrid::ApplyPalette(bool repaint)
{
    bool ok = m_picture.format() == QImage::Format_Indexed8;
    if (ok)
        SetBitmapPalette(m_picture, m_palette);
    const bool refOk = m_refBitmap.format() == QImage::Format_Indexed8;
    if (refOk)
        SetBitmapPalette(m_refBitmap, m_palette);
    ok = ok && refOk;
    if (repaint && ok)
        Repaint();
    return ok;
}

void TPatternGrid::setPenIndexes(int fore, int back)
{
    m_foreIndex = std::uint8_t(std::clamp(fore, 0, 255));
    m_backIndex = std::uint8_t(std::clamp(back, 0, 255));
    m_foreColor = GetForeColor();
    m_backColor = GetBackColor();
}

TColor TPatternGrid::GetForeColor() const
{
    return PlainColor(m_palette[m_foreIndex]);
}
TColor TPatternGrid::GetBackColor() const
{
    return PlainColor(m_palette[m_backIndex]);
}

void TPatternGrid::SetBackColorIndex(int index)
{
    if (index < 0 || index > 255 || index == m_backIndex)
        return;
    m_backIndex = std::uint8_t(index);
    m_backColor = GetBackColor();
    ApplyColorsToTools();
}

void TPatternGrid::SetForeColorIndex(int index)
{
    if (index < 0 || index > 255 || index == m_foreIndex)
        return;
    m_foreIndex = std::uint8_t(index);
    m_foreColor = GetForeColor();
    m_textIndex = m_foreIndex;
    ApplyColorsToTools();
}

void TPatternGrid::SetTextColorIndex(int index)
{
    if (index < 0 || index > 255)
        return;
    Repaint();
    m_textIndex = std::uint8_t(index);
    SetForeColorIndex(index);
    // The same index may show another colour now (an edited palette entry).
    m_foreColor = GetForeColor();
    ApplyColorsToTools();
}

void TPatternGrid::IncludeColorIndex(int index)
{
    if (index >= 0 && index <= 255)
        m_colorSet.set(index);
}

void TPatternGrid::ExcludeColorIndex(int index)
{
    if (index >= 0 && index <= 255)
        m_colorSet.reset(index);
}

int TPatternGrid::AddBlackToPalette()
{
    // A piece still floating is stamped with the palette it was made for.
    ReleaseFloatingObjects();
    const TPaletteEntry black { 0, 0, 0, 0 };
    if (PaletteHasColor(m_palette, black))
        return NearestColorIndex(m_palette.data(), 256, 0, 0, 0);
    TColorCounts counts;
    const int index = firstUnusedEntry(counts);
    if (index < 0)
        return -1;
    TPalette256 palette = m_palette;
    palette[index] = black;
    changePaletteAsStep(palette);
    return index;
}

int TPatternGrid::firstUnusedEntry(TColorCounts &counts) const
{
    CountColorUse(m_picture, counts);
    return FindFirstUnusedEntry(counts);
}

void TPatternGrid::changePaletteAsStep(const TPalette256 &palette)
{
    // The display copy keeps the palette before the change until the palette step has
    // been recorded, so that the step can undo it.
    const TPalette256 before = m_displayPalette;
    m_palette = palette;
    PaletteToPairs(m_palette, m_paletteItems);
    ApplyPalette(true);
    notifyPalette();
    m_displayPalette = before;
    SaveLayerUndoStep();
    m_displayPalette = m_palette;
}

void TPatternGrid::GetBackColorEntry(std::uint8_t &index)
{
    const int i = AddBlackToPalette();
    if (i >= 0)
        index = std::uint8_t(i);
}
