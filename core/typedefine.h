#pragma once
// Arrays and records exchanged by the picture procedures, the pattern grid and the undo store.

#include "core/maintypes.h"
#include "core/toolid.h"
#include "core/undokind.h"

#include <QImage>
#include <QString>

#include <bitset>
#include <cstdint>
#include <vector>

// A cell or pixel position.
struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPoint &) const = default;
};

// A rectangle with the platform's convention: Right and Bottom are exclusive unless a
// routine says otherwise.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    bool operator==(const TRect &) const = default;
};

// One 4-byte palette entry in palette order.
struct TPaletteEntry {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Flags = 0;
    bool operator==(const TPaletteEntry &) const = default;
};
static_assert(sizeof(TPaletteEntry) == 4);

struct TPaletteItem {
    std::int32_t Index = 0;
    TPaletteEntry Color;
    bool operator==(const TPaletteItem &) const = default;
};

#pragma pack(push, 1)
// One changed cell of an undo step.
struct TBmpData {
    std::uint16_t X = 0;
    std::uint16_t Y = 0;
    std::uint8_t OldIndex = 0;
    std::uint8_t NewIndex = 0;
};
// A point found by the multi-needle outline.
struct TMultiSketchPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::uint8_t Value = 0;
};
#pragma pack(pop)
static_assert(sizeof(TBmpData) == 6);
static_assert(sizeof(TMultiSketchPoint) == 9);

struct TWordPoint {
    std::uint16_t X = 0;
    std::uint16_t Y = 0;
    bool operator==(const TWordPoint &) const = default;
};

using TBmpArray = std::vector<QImage>;
using TRectArray = TDynArray<TRect>;
using TBmpDataArray = TDynArray<TBmpData>;
using TLineArray = TDynArray<TPoint>;
// Accepted cells while an undo step is built; grows one cell at a time.
using TILineArray = std::vector<TWordPoint>;
using TOnePaletteArray = TDynArray<TPaletteItem>;
using TTwoPaletteArray = TDynArray<TOnePaletteArray>;
using TRotateArray = TDynArray<TDynArray<std::int8_t>>;
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
    std::uint8_t Flags[3] = {0, 0, 0}; // grid display flags
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

// A set of colour indexes, one bit per index (protected colours, transparent colours).
using TColorSet = std::bitset<256>;

// Something an undo step keeps alive and frees with it: a floating picture, a floating
// text, or a copy of the grid's drawing object. The store only owns and moves these; the
// grid knows their classes.
class TUndoObject {
public:
    virtual ~TUndoObject() = default;
};

// One undo step. Cell steps fill Data; whole-picture (Image) and palette (Palette) steps
// name their two temporary files; shift steps (ShiftVert, ShiftHorz) keep Count. Every
// step has the grid settings after and before the change.
struct TUndoData {
    TBmpDataArray Data;                  // changed cells, in recording order
    TUndoKind Kind = TUndoKind::Image;
    std::int32_t Reserved = 0;           // always 0
    TUndoObject *ShapeCopy = nullptr;    // drawing-object copy; owned by the store's shape lists
    QString BeforeFile;                  // state before the change (Image, Palette)
    QString AfterFile;                   // state after the change (Image, Palette)
    std::int32_t StepNo = 0;             // number used in the temporary file names
    TParam After;
    TParam Before;
    std::int32_t Count = 0;              // shift count of ShiftVert and ShiftHorz
};
