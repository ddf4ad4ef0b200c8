// The picked-weave and picked-pattern tools.
#include "editor/pickedtools.h"

#include "core/base/error.h"
#include "core/decode/pictureload.h"
#include "core/palette/palettejoin.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/weavetiling.h"

#include <QRegion>

#include <algorithm>

namespace {
// The selection's box clamped to the picture, or the whole picture; right and bottom
// exclusive.
TRect floatArea(const TPatternGrid &grid, const QImage &picture)
{
    TRect all { 0, 0, picture.width(), picture.height() };
    const QRegion selection = grid.SelectionRegion();
    if (selection.isEmpty())
        return all;
    const QRect box = selection.boundingRect();
    return TRect { std::max(box.left(), 0), std::max(box.top(), 0), std::min(box.right() + 1, all.Right),
        std::min(box.bottom() + 1, all.Bottom) };
}
} // namespace

int TPatternGrid::AddMarkerColorToPalette(int reserved)
{
    TColorCounts counts;
    CountColorUse(m_picture, counts);
    if (reserved >= 0 && reserved <= 255)
        counts[std::size_t(reserved)].Count = std::max(counts[std::size_t(reserved)].Count, 1);
    const int index = FindFirstUnusedEntry(counts);
    if (index < 0)
        return -1;
    TPalette256 palette = m_palette;
    PickUnusedColor(index, palette, counts);
    DropFloatingObjects();
    changePaletteAsStep(palette);
    return index;
}

bool TilePickedWeave(TPatternGrid &grid, const TWeaveArray &weave, TPoint cell, bool anchorAtCell,
    TFloatMarking &marking, QString *error)
{
    marking = TFloatMarking();
    if (IsTileWeaveEmpty(weave))
        return Fail(error, GetUiMessage(UiKey::String::TileNoWeaveChosen));
    const int black = grid.AddBlackToPalette();
    if (black < 0)
        return Fail(error, GetUiMessage(UiKey::String::TileNoEntryForBlack));
    QImage &picture = grid.Picture();
    const TTileWeaveParam &param = grid.TileWeaveParam();
    TFloatScan scan;
    scan.ColorIndex = grid.ForeIndex();
    scan.Margins = TileMargins(param);
    scan.Weave = weave;
    if (anchorAtCell)
        scan.Origin = { cell.X, picture.height() - 1 - cell.Y };
    TLineArray cells;
    FindLongFloats(picture, grid.Palette(), scan, param.FloatLength, cells);
    for (const TPoint &p : cells)
        picture.scanLine(p.Y)[p.X] = std::uint8_t(black);
    // Recorded before the floats are marked: the marker is never part of a step.
    grid.RecordUndoStep(cells);

    if (param.ChangeColorHint && param.FloatLength > 1) {
        const int found = param.FindHigh ? grid.ForeIndex() : black;
        const TRect area = floatArea(grid, picture);
        TFloatsArray runs;
        for (int length = 1; length < param.FloatLength; ++length)
            FindFloatRunsEdgeRule(picture, found, length, runs, false, area);
        if (!runs.isEmpty()) {
            // Black may have no cell yet when nothing was tiled: the marker never takes its entry.
            const int marker = grid.AddMarkerColorToPalette(black);
            if (marker < 0) {
                marking.Notice = GetUiMessage(UiKey::String::TileNoEntryForMarker);
            } else {
                for (const TFloatRun &r : runs)
                    for (int y = r.Start; y <= r.End; ++y)
                        picture.scanLine(y)[r.Line] = std::uint8_t(marker);
                marking.Floats = runs;
                marking.MarkerIndex = marker;
                marking.KeepIndex = grid.ForeIndex();
                marking.OtherIndex = black;
                marking.FoundIndex = found;
            }
        }
    }
    grid.RebuildReducedView();
    grid.Repaint();
    return true;
}

bool ProcessAreaFromPictureFile(QImage &picture, TPalette256 &palette, const QString &fileName, int foreIndex,
    const TTilePatternParam &param, TPoint anchor, QString *error)
{
    QImage loaded;
    if (!LoadPictureAs8Bit(fileName, loaded, error))
        return false;
    if (picture.isNull() || foreIndex < 0 || foreIndex > 255)
        return true;
    // The cells are chosen on the pattern as it is, before the palettes are joined.
    TFloatScan scan;
    scan.ColorIndex = foreIndex;
    scan.Margins = TileMargins(param);
    scan.Weave = MakeWeaveArray(1, 1, 1);
    TLineArray cells;
    FindLongFloats(picture, palette, scan, param.FloatLength, cells);

    QImage joined = picture.copy();
    MergeTwoPicturePalettes(joined, loaded);
    const int lw = loaded.width(), lh = loaded.height(), ph = joined.height();
    for (const TPoint &p : cells) {
        const int lx = int((static_cast<long long>(p.X) + anchor.X) % lw + lw) % lw;
        const long long down = (static_cast<long long>(ph) - 1 - p.Y + anchor.Y) % lh;
        const int ly = lh - 1 - int((down + lh) % lh);
        joined.scanLine(p.Y)[p.X] = loaded.constScanLine(ly)[lx];
    }
    picture = joined;
    GetBitmapPalette(picture, palette);
    return true;
}

bool TilePickedPattern(
    TPatternGrid &grid, const QString &fileName, TPoint cell, bool anchorAtCell, QString *error)
{
    grid.DropFloatingObjects();
    QImage picture = grid.Picture().copy();
    TPalette256 palette = grid.Palette();
    const TPoint anchor = anchorAtCell ? cell : TPoint {};
    if (!ProcessAreaFromPictureFile(
            picture, palette, fileName, grid.ForeIndex(), grid.TilePatternParam(), anchor, error))
        return false;
    // The palette first: RefBitmap is rebuilt with it after the whole-picture step.
    grid.SetPalette(palette);
    grid.SetPictureAndRefresh(picture, true);
    grid.SetTextColorIndex(grid.TextIndex());
    return true;
}
