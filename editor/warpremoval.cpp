#include "editor/warpremoval.h"

#include "core/base/error.h"
#include "core/palette/regions.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <QRegion>

bool RemoveAlternateWarps(TPatternGrid &grid, const QRegion &area, TRemoveWarpParity parity, QString *error)
{
    const QImage &picture = grid.Picture();
    if (picture.isNull())
        return false;
    const int w = picture.width();
    const QRegion region = area.isEmpty() ? QRegion(0, 0, w, picture.height()) : area;
    const TRect box = ClampedRegionBox(region, w, picture.height());
    if (box.Right <= box.Left || box.Bottom <= box.Top)
        return Fail(error, GetUiMessage(UiKey::String::RemoveWarpNoArea));
    // Column c is warp c + 1: count the warps of the parity in the box.
    int removed = 0;
    for (int c = box.Left; c < box.Right; ++c)
        removed += ((c + 1) % 2) == int(parity) ? 1 : 0;
    if (removed >= w)
        return Fail(error, GetUiMessage(UiKey::String::RemoveWarpNothingLeft));
    const TPalette256 palette = grid.Palette();
    const bool ok = grid.RunWholePictureCommand([&](QImage &current) {
        QImage narrower;
        if (!RemoveAlternateColumns(current, narrower, palette, region, int(parity)))
            return false;
        current = narrower;
        return true;
    });
    if (!ok)
        return Fail(error, grid.LastUndoError());
    grid.SetModified();
    grid.NotifyPatternSize(grid.ColCount(), grid.RowCount());
    return true;
}
