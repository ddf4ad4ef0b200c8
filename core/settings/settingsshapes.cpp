// Settings store: the numeric-shape, paste, copy-area, cursor and spray dialogs.
#include "core/settings/settings.h"
#include "core/settings/settingsgroup.h"

#include <algorithm>

namespace {
const auto circleFields = [](auto &r, auto f) {
    f("LeftBottomX", r.LeftBottomX);
    f("LeftBottomY", r.LeftBottomY);
    f("RightTopX", r.RightTopX);
    f("RightTopY", r.RightTopY);
    f("CenterPointX", r.CenterPointX);
    f("CenterPointY", r.CenterPointY);
    f("Radius", r.Radius);
    f("Width", r.Width);
    f("Height", r.Height);
    f("IsSetWidthAndHeight", r.IsSetWidthAndHeight);
    f("IsFilled", r.IsFilled);
    f("IsSetOutRectangle", r.IsSetOutRectangle);
    f("IsDefineArea", r.IsDefineArea);
};

const auto rectangleFields = [](auto &r, auto f) {
    f("LeftBottomX", r.LeftBottomX);
    f("LeftBottomY", r.LeftBottomY);
    f("RightTopX", r.RightTopX);
    f("RightTopY", r.RightTopY);
    f("Width", r.Width);
    f("Height", r.Height);
    f("IsSetWidthAndHeight", r.IsSetWidthAndHeight);
    f("IsFilled", r.IsFilled);
    f("IsDefineArea", r.IsDefineArea);
};

const auto beeLineFields = [](auto &r, auto f) {
    f("OnePointX", r.OnePointX);
    f("OnePointY", r.OnePointY);
    f("TwoPointX", r.TwoPointX);
    f("TwoPointY", r.TwoPointY);
};

const auto pasteFields = [](auto &r, auto f) {
    f("LeftTopX", r.LeftTopX);
    f("LeftTopY", r.LeftTopY);
};

const auto copyAreaFields = [](auto &r, auto f) {
    f("LeftBottomX", r.LeftBottomX);
    f("LeftBottomY", r.LeftBottomY);
    f("Width", r.Width);
    f("Height", r.Height);
};

const auto cursorFields = [](auto &r, auto f) {
    f("NoCursor", r.NoCursor);
    f("LargeCursor", r.LargeCursor);
    f("SmallCursor", r.SmallCursor);
    f("CursorSize", r.CursorSize);
};

const auto sprayFields = [](auto &r, auto f) {
    f("Radius", r.Radius);
    f("PointCount", r.PointCount);
};

} // namespace

void ReadCircleInfo(TCircleInfo &info)
{
    ReadSettingsRecord("CircleInfo", info, circleFields);
}
void WriteCircleInfo(const TCircleInfo &info)
{
    WriteSettingsRecord("CircleInfo", info, circleFields);
}
void ReadRectangleInfo(TRectangleInfo &info)
{
    ReadSettingsRecord("RectangleInfo", info, rectangleFields);
}
void WriteRectangleInfo(const TRectangleInfo &info)
{
    WriteSettingsRecord("RectangleInfo", info, rectangleFields);
}
void ReadBeeLineInfo(TBeeLineInfo &info)
{
    ReadSettingsRecord("BeeLineInfo", info, beeLineFields);
}
void WriteBeeLineInfo(const TBeeLineInfo &info)
{
    WriteSettingsRecord("BeeLineInfo", info, beeLineFields);
}
void ReadPasteInfo(TPasteInfo &info)
{
    ReadSettingsRecord("PasteInfo", info, pasteFields);
}
void WritePasteInfo(const TPasteInfo &info)
{
    WriteSettingsRecord("PasteInfo", info, pasteFields);
}
void ReadCopyAreaInfo(TCopyAreaInfo &info)
{
    ReadSettingsRecord("CopyArea", info, copyAreaFields);
}
void WriteCopyAreaInfo(const TCopyAreaInfo &info)
{
    WriteSettingsRecord("CopyArea", info, copyAreaFields);
}
void ReadCursorStyle(TCursorStyleOption &option)
{
    ReadSettingsRecord("CursorStyle", option, cursorFields);
}
void WriteCursorStyle(const TCursorStyleOption &option)
{
    WriteSettingsRecord("CursorStyle", option, cursorFields);
}
void ReadSprayOption(TSprayOption &option)
{
    ReadSettingsRecord("SprayOption", option, sprayFields);
    // A hand-edited file may hold any number: the tool sprays what the dialog could give.
    option.PointCount = std::clamp(option.PointCount, 1, TSprayOption::MaxPointCount);
    option.Radius = std::clamp(option.Radius, 1, TSprayOption::MaxRadius);
}
void WriteSprayOption(const TSprayOption &option)
{
    WriteSettingsRecord("SprayOption", option, sprayFields);
}
