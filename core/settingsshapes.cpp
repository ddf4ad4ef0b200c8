// Settings store: the numeric-shape, paste, copy-area, cursor and spray dialogs.
#include "core/settings.h"
#include "core/settingsgroup.h"

namespace {
template <class R, class F>
void circleFields(R &r, F f)
{
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
}

template <class R, class F>
void rectangleFields(R &r, F f)
{
    f("LeftBottomX", r.LeftBottomX);
    f("LeftBottomY", r.LeftBottomY);
    f("RightTopX", r.RightTopX);
    f("RightTopY", r.RightTopY);
    f("Width", r.Width);
    f("Height", r.Height);
    f("IsSetWidthAndHeight", r.IsSetWidthAndHeight);
    f("IsFilled", r.IsFilled);
    f("IsDefineArea", r.IsDefineArea);
}

template <class R, class F>
void beeLineFields(R &r, F f)
{
    f("OnePointX", r.OnePointX);
    f("OnePointY", r.OnePointY);
    f("TwoPointX", r.TwoPointX);
    f("TwoPointY", r.TwoPointY);
}

template <class R, class F>
void pasteFields(R &r, F f)
{
    f("LeftTopX", r.LeftTopX);
    f("LeftTopY", r.LeftTopY);
}

template <class R, class F>
void copyAreaFields(R &r, F f)
{
    f("LeftBottomX", r.LeftBottomX);
    f("LeftBottomY", r.LeftBottomY);
    f("Width", r.Width);
    f("Height", r.Height);
}

template <class R, class F>
void cursorFields(R &r, F f)
{
    f("NoCursor", r.NoCursor);
    f("LargeCursor", r.LargeCursor);
    f("SmallCursor", r.SmallCursor);
    f("CursorSize", r.CursorSize);
}

template <class R, class F>
void sprayFields(R &r, F f)
{
    f("Radius", r.Radius);
    f("PointCount", r.PointCount);
}

#define DORWEN_VISIT(fn) [](auto &r, auto f) { fn(r, f); }
} // namespace

void ReadCircleInfo(TCircleInfo &info) { ReadSettingsRecord("CircleInfo", info, DORWEN_VISIT(circleFields)); }
void WriteCircleInfo(const TCircleInfo &info) { WriteSettingsRecord("CircleInfo", info, DORWEN_VISIT(circleFields)); }
void ReadRectangleInfo(TRectangleInfo &info) { ReadSettingsRecord("RectangleInfo", info, DORWEN_VISIT(rectangleFields)); }
void WriteRectangleInfo(const TRectangleInfo &info)
{
    WriteSettingsRecord("RectangleInfo", info, DORWEN_VISIT(rectangleFields));
}
void ReadBeeLineInfo(TBeeLineInfo &info) { ReadSettingsRecord("BeeLineInfo", info, DORWEN_VISIT(beeLineFields)); }
void WriteBeeLineInfo(const TBeeLineInfo &info) { WriteSettingsRecord("BeeLineInfo", info, DORWEN_VISIT(beeLineFields)); }
void ReadPasteInfo(TPasteInfo &info) { ReadSettingsRecord("PasteInfo", info, DORWEN_VISIT(pasteFields)); }
void WritePasteInfo(const TPasteInfo &info) { WriteSettingsRecord("PasteInfo", info, DORWEN_VISIT(pasteFields)); }
void ReadCopyAreaInfo(TCopyAreaInfo &info) { ReadSettingsRecord("CopyArea", info, DORWEN_VISIT(copyAreaFields)); }
void WriteCopyAreaInfo(const TCopyAreaInfo &info) { WriteSettingsRecord("CopyArea", info, DORWEN_VISIT(copyAreaFields)); }
void ReadCursorStyle(TCursorStyleOption &option) { ReadSettingsRecord("CursorStyle", option, DORWEN_VISIT(cursorFields)); }
void WriteCursorStyle(const TCursorStyleOption &option)
{
    WriteSettingsRecord("CursorStyle", option, DORWEN_VISIT(cursorFields));
}
void ReadSprayOption(TSprayOption &option) { ReadSettingsRecord("SprayOption", option, DORWEN_VISIT(sprayFields)); }
void WriteSprayOption(const TSprayOption &option) { WriteSettingsRecord("SprayOption", option, DORWEN_VISIT(sprayFields)); }
