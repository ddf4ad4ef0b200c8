#include "editor/numericshapes.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/tools/customline.h"
#include "editor/tools/tooltable.h"

#include <algorithm>
#include <cstdlib>

namespace {
using T = TToolId;

// Typed values are within 1 .. 65,535, so the sums below stay far inside 32 bits; the
// clamp keeps a settings file's wild value from overflowing them.
std::int32_t typed(std::int32_t value)
{
    return std::clamp(value, -MaxNumericShapeValue, MaxNumericShapeValue);
}
} // namespace

TCellPair BeeLineCells(const TBeeLineInfo &info, int height)
{
    return { { typed(info.OnePointX) - 1, height - typed(info.OnePointY) },
        { typed(info.TwoPointX) - 1, height - typed(info.TwoPointY) } };
}

TCellPair RectangleCells(std::int32_t leftX, std::int32_t leftY, std::int32_t rightX, std::int32_t rightY,
    bool widthAndHeight, std::int32_t width, std::int32_t height, int pictureHeight)
{
    leftX = typed(leftX);
    leftY = typed(leftY);
    rightX = typed(rightX);
    rightY = typed(rightY);
    std::int32_t left = 0, top = 0, w = 0, h = 0;
    if (widthAndHeight) {
        w = std::max(1, typed(width));
        h = std::max(1, typed(height));
        left = leftX - 1;
        top = pictureHeight - leftY - h + 1;
    } else {
        // Either corner may come first: the distance between them, not its sign, is the size.
        w = std::abs(rightX - leftX) + 1;
        h = std::abs(rightY - leftY) + 1;
        left = std::min(rightX, leftX) - 1;
        top = pictureHeight - std::min(rightY, leftY) - h + 1;
    }
    return { { left, top }, { left + w - 1, top + h - 1 } };
}

TCellPair RectangleCells(const TRectangleInfo &info, int pictureHeight)
{
    return RectangleCells(info.LeftBottomX, info.LeftBottomY, info.RightTopX, info.RightTopY,
        info.IsSetWidthAndHeight, info.Width, info.Height, pictureHeight);
}

TCellPair CircleCells(const TCircleInfo &info, int pictureHeight)
{
    if (info.IsSetOutRectangle)
        return RectangleCells(info.LeftBottomX, info.LeftBottomY, info.RightTopX, info.RightTopY,
            info.IsSetWidthAndHeight, info.Width, info.Height, pictureHeight);
    const TPoint centre { typed(info.CenterPointX) - 1, pictureHeight - typed(info.CenterPointY) };
    const std::int32_t r = std::max(0, typed(info.Radius));
    return { { centre.X - r, centre.Y - r }, { centre.X + r, centre.Y + r } };
}

TToolId RectangleToolOf(const TRectangleInfo &info)
{
    if (info.IsDefineArea)
        return T::DefineRectangle;
    return info.IsFilled ? T::FilledRectangle : T::Rectangle;
}

TToolId CircleToolOf(const TCircleInfo &info)
{
    if (info.IsDefineArea)
        return T::DefineCircle;
    return info.IsFilled ? T::FilledCircle : T::Circle;
}

bool CopyAreaCells(const TCopyAreaInfo &info, int width, int height, QRect &area, QString *error)
{
    const QRect typedArea(typed(info.LeftBottomX) - 1, typed(info.LeftBottomY) - 1,
        std::max(0, typed(info.Width)), std::max(0, typed(info.Height)));
    const QRect clipped = typedArea.intersected(QRect(0, 0, std::max(0, width), std::max(0, height)));
    if (clipped.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::NumericCopyOutside));
    area = clipped;
    return true;
}

bool PasteToCell(const TPasteInfo &info, int width, int height, TPoint &cell, QString *error)
{
    const TPoint at { typed(info.LeftTopX) - 1, typed(info.LeftTopY) - 1 };
    if (at.X < 0 || at.Y < 0 || at.X >= width || at.Y >= height)
        return Fail(error, GetUiMessage(UiKey::String::NumericPasteOutside));
    cell = at;
    return true;
}

void PlaceNumericShape(TPatternGrid &grid, TToolId tool, const TCellPair &cells)
{
    // The tool without an object first, so that choosing the shape's tool makes a fresh
    // object even when that tool is the current one.
    grid.SetDrawTool(T::NoTool);
    grid.SetDrawTool(tool);
    const bool selection = ToolRow(tool).MakesSelection;
    std::unique_ptr<TCustomLine> &slot = selection ? grid.RegionObjectSlot() : grid.DrawObjectSlot();
    // A selection tool keeps the selection's object when its class fits: start afresh.
    if (selection)
        grid.CreateDrawObject(slot, tool, true);
    if (!slot)
        return;
    TCustomLine &shape = *slot;
    shape.Clear();
    // Grid objects hold picture cells at the scale 1 (painting alone maps them onto the
    // view), so the corners go in unchanged.
    shape.AddPoint(cells.First);
    shape.AddPoint(cells.Second);
    shape.SetMode(TDrawMode::Selected);
    if (selection)
        grid.SetSelectionRegion(shape.CreateRegion().ToRegion());
    grid.Repaint();
}

bool CopyNumericArea(TPatternGrid &grid, const QRect &area, QString *error)
{
    if (area.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::NumericCopyOutside));
    PlaceNumericShape(
        grid, T::DefineRectangle, { { area.left(), area.top() }, { area.right(), area.bottom() } });
    if (!grid.Copy())
        return Fail(error, GetUiMessage(UiKey::String::NumericCopyOutside));
    return true;
}

bool PasteNumericAt(TPatternGrid &grid, TPoint cell, QString *error)
{
    return grid.PasteFromClipboard(cell, true, error);
}

void PlaceBeeLine(TPatternGrid &grid, const TBeeLineInfo &info)
{
    PlaceNumericShape(grid, T::BeeLine, BeeLineCells(info, grid.Picture().height()));
}

void PlaceRectangle(TPatternGrid &grid, const TRectangleInfo &info)
{
    PlaceNumericShape(grid, RectangleToolOf(info), RectangleCells(info, grid.Picture().height()));
}

void PlaceCircle(TPatternGrid &grid, const TCircleInfo &info)
{
    PlaceNumericShape(grid, CircleToolOf(info), CircleCells(info, grid.Picture().height()));
}
