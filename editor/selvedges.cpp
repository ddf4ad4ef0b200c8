#include "editor/selvedges.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <cstring>

namespace {
constexpr int MaxPatternWidth = 65535;

bool hasWeave(const TWeaveArray &weave)
{
    return !weave.isEmpty() && !weave[0].isEmpty();
}
} // namespace

QImage BuildClothSideStrip(const TClothSide &side, int height, const TPalette256 &palette, int blackIndex)
{
    if (side.Warps <= 0 || height <= 0 || side.ColorIndex < 0 || side.ColorIndex > 255)
        return QImage();
    QImage strip = NewPicture(side.Warps, height, palette);
    strip.fill(uint(side.ColorIndex));
    if (!hasWeave(side.Weave) || blackIndex < 0 || blackIndex > 255)
        return strip;
    // The strip is one colour, so every cell on a weave point is tiled: cell (x, y) falls on
    // weave cell [x mod W][H - 1 - ((height - 1 - y) mod H)], the weave anchored at the
    // strip's bottom-left cell as the tiling scan anchors it.
    const int ww = int(side.Weave.size()), wh = int(side.Weave[0].size());
    for (int y = 0; y < height; ++y) {
        const int weft = wh - 1 - (height - 1 - y) % wh;
        uchar *row = strip.scanLine(y);
        for (int x = 0; x < side.Warps; ++x) {
            const TDynamicByteArray &warp = side.Weave[x % ww];
            if (weft < warp.size() && warp[weft] == 1)
                row[x] = uchar(blackIndex);
        }
    }
    return strip;
}

bool CheckClothSides(const TClothSide &left, const TClothSide &right, int patternWidth, QString *error)
{
    for (const TClothSide *side : { &left, &right }) {
        if (side->Warps < 0)
            return Fail(error, GetUiMessage(UiKey::String::ClothSideBadWarps));
        if (side->Warps > 0 && (side->ColorIndex < 0 || side->ColorIndex > 255))
            return Fail(error,
                GetUiMessage(UiKey::String::ClothSideNoColor)
                    .arg(GetUiMessage(side == &left ? UiKey::String::Left_Side : UiKey::String::Right_Side)));
    }
    const qint64 width = qint64(patternWidth) + left.Warps + right.Warps;
    if (width > MaxPatternWidth)
        return Fail(error, GetUiMessage(UiKey::String::ClothSideTooWide).arg(width).arg(MaxPatternWidth));
    return true;
}

bool JoinClothSides(const QImage &picture, const TPalette256 &palette, const TClothSide &left,
    const TClothSide &right, int blackIndex, QImage &out, QString *error)
{
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return false;
    if (!CheckClothSides(left, right, picture.width(), error))
        return false;
    const int h = picture.height();
    const QImage leftStrip = BuildClothSideStrip(left, h, palette, blackIndex);
    const QImage rightStrip = BuildClothSideStrip(right, h, palette, blackIndex);
    const int lw = leftStrip.isNull() ? 0 : leftStrip.width();
    const int rw = rightStrip.isNull() ? 0 : rightStrip.width();
    const int w = picture.width();
    QImage joined = NewPicture(lw + w + rw, h, palette);
    for (int y = 0; y < h; ++y) {
        uchar *row = joined.scanLine(y);
        if (lw > 0)
            std::memcpy(row, leftStrip.constScanLine(y), std::size_t(lw));
        std::memcpy(row + lw, picture.constScanLine(y), std::size_t(w));
        if (rw > 0)
            std::memcpy(row + lw + w, rightStrip.constScanLine(y), std::size_t(rw));
    }
    out = joined;
    return true;
}

bool AddClothSides(TPatternGrid &grid, const TClothSide &left, const TClothSide &right, QString *error)
{
    const QImage &picture = grid.Picture();
    if (picture.isNull())
        return false;
    if (!CheckClothSides(left, right, picture.width(), error))
        return false;
    if (left.Warps == 0 && right.Warps == 0)
        return true;
    int black = -1;
    if (hasWeave(left.Weave) || hasWeave(right.Weave)) {
        black = grid.AddBlackToPalette();
        if (black < 0)
            return Fail(error, GetUiMessage(UiKey::String::TileNoEntryForBlack));
    }
    const TPalette256 palette = grid.Palette();
    QString joinError;
    const bool ok = grid.RunWholePictureCommand([&](QImage &current) {
        QImage joined;
        if (!JoinClothSides(current, palette, left, right, black, joined, &joinError))
            return false;
        current = joined;
        return true;
    });
    if (!ok)
        return Fail(error, joinError.isEmpty() ? grid.LastUndoError() : joinError);
    grid.SetModified();
    grid.NotifyPatternSize(grid.ColCount(), grid.RowCount());
    return true;
}
