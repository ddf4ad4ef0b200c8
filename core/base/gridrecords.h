#pragma once
// TRepeatPic and TParam: the repeat-layout and grid-state records exchanged by the pattern
// grid, the picture procedures and the undo store, with the arrays they are made of.

#include "core/base/document.h"
#include "core/base/geometry.h"
#include "core/base/toolid.h"

#include <QImage>

#include <cstdint>
#include <vector>

#pragma pack(push, 1)
// A point found by the multi-needle outline.
struct TMultiSketchPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::uint8_t Value = 0;
};
#pragma pack(pop)
static_assert(sizeof(TMultiSketchPoint) == 9);

using TBmpArray = std::vector<QImage>;
using TRectArray = TDynArray<TRect>;
using TLineArray = TDynArray<TPoint>;
using TPicOffSetArray = TDynArray<std::int32_t>;
using TMultiSketchArray = TDynArray<TMultiSketchPoint>;

// Repeat-layout parameters handed from the repeat composer to the grid.
struct TRepeatPic {
    std::int32_t UnitWidth = 0;
    std::int32_t UnitHeight = 0;
    std::int32_t HorzCount = 0;
    std::int32_t VertCount = 0;
    TRotateArray Rotate;
    TPicOffSetArray Offsets;
    std::int32_t Value1 = 0;
    std::int32_t Value2 = 0;
    std::uint8_t Flags[3] = { 0, 0, 0 }; // grid display flags
};

// The grid-state snapshot an undo step takes before and after a change.
struct TParam {
    TToolId ToolId = TToolId::DefineRectangle;
    double WeftDensity = 0;
    double WarpDensity = 0;
    std::int32_t HorzWidth = 1;
    std::int32_t VertWidth = 1;
    std::int32_t ForeIndex = 0;
    std::int32_t BackIndex = 0;
    TRepeatPic Repeat;
};
