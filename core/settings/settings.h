#pragma once
// The settings store ("Config.Ini").
// The settings store: every persistent setting lives in "Config.Ini" (ConfigIniPath).
// There is one reading and one writing routine per section, and per key of section
// "Main". Each routine opens the file, reads or writes its keys in a fixed order and closes
// it again, so a value written by one dialog is seen by the next reader at once; a routine
// parses the file once for all its keys, and a writer of several keys replaces the file
// once. A missing file or key gives the default; failed writes are not reported. Values
// that would do harm (a zero backup limit, a flash without pause) are bounded when read.
//
// The records' member initialisers are the defaults the readers give for missing keys.

#include "core/base/document.h"

#include <array>
#include <cstdint>

class TIniFile;

// ---- Records saved as a whole (fields in the order the program keeps them). ----

struct TCircleInfo {
    std::int32_t LeftBottomX = 1, LeftBottomY = 1, RightTopX = 7, RightTopY = 7;
    std::int32_t CenterPointX = 3, CenterPointY = 3;
    bool IsSetWidthAndHeight = false, IsFilled = false, IsSetOutRectangle = true;
    std::int32_t Width = 8, Height = 8, Radius = 4;
    bool IsDefineArea = false;
    bool operator==(const TCircleInfo &) const = default;
};

struct TRectangleInfo {
    std::int32_t LeftBottomX = 1, LeftBottomY = 1, RightTopX = 1, RightTopY = 1;
    bool IsSetWidthAndHeight = false, IsFilled = false;
    std::int32_t Width = 8, Height = 8;
    bool IsDefineArea = false;
    bool operator==(const TRectangleInfo &) const = default;
};

struct TBeeLineInfo {
    std::int32_t OnePointX = 1, OnePointY = 1, TwoPointX = 7, TwoPointY = 7;
    bool operator==(const TBeeLineInfo &) const = default;
};

struct TPasteInfo {
    std::int32_t LeftTopX = 1, LeftTopY = 1;
    bool operator==(const TPasteInfo &) const = default;
};

struct TCopyAreaInfo {
    std::int32_t LeftBottomX = 1, LeftBottomY = 1, Width = 8, Height = 8;
    bool operator==(const TCopyAreaInfo &) const = default;
};

// Page margins in millimetres. ReadPageOption holds each to 0..100: a negative margin
// reads as the default 20, a larger one as 100.
struct TPageOption {
    double LeftMargin = 20.0, RightMargin = 20.0, TopMargin = 20.0, BottomMargin = 20.0;
    bool operator==(const TPageOption &) const = default;
};

// Tiling options: each Is...Left flag leaves an untiled margin of the matching length on
// that side. FloatLength and ChangeColorHint are written but never read back: the readers
// reset them to 0 and false.
struct TTilePatternParam {
    std::int32_t TopLength = 1;
    bool IsTopLeft = false;
    std::int32_t BottomLength = 1;
    bool IsBottomLeft = false;
    std::int32_t LeftLength = 1;
    bool IsLeftLeft = false;
    std::int32_t RightLength = 1;
    bool IsRightLeft = false;
    std::int32_t FloatLength = 0;
    bool ChangeColorHint = false;
    bool operator==(const TTilePatternParam &) const = default;
};

struct TTileWeaveParam : TTilePatternParam {
    bool FindHigh = true;
    bool operator==(const TTileWeaveParam &) const = default;
};

struct TCursorStyleOption {
    std::int32_t CursorSize = 1;
    bool LargeCursor = false, SmallCursor = false, NoCursor = true;
    bool operator==(const TCursorStyleOption &) const = default;
};

struct TSprayOption {
    // The most the spray dialog offers, and what the settings file is held to.
    static constexpr std::int32_t MaxPointCount = 900;
    static constexpr std::int32_t MaxRadius = 500;
    std::int32_t Radius = 25, PointCount = 80;
    bool operator==(const TSprayOption &) const = default;
};

// New-pattern and grid defaults.
struct TGrossOption {
    std::int32_t Weft = 200, Warp = 200;
    double WeftDensity = 60.0, WarpDensity = 120.0;
    double Reserved = 0.0; // kept in the record only; the file does not hold it
    TColor CompartLineColor = 0, GridLineColor = 0xC0C0C0;
    bool ExistLine = false;
    std::int32_t GridRowCount = 8, GridColCount = 8, SpaceCount = 12;
    bool operator==(const TGrossOption &) const = default;
};

// The last choice of the warp/weft insert-delete window.
struct TModiGrossOption {
    bool IsDelete = false, IsWeft = false;
    std::int32_t StartPos = 1, OffSet = 1;
    bool operator==(const TModiGrossOption &) const = default;
};

struct TBordureOption {
    bool LeftBordure = true, RightBordure = true, TopBordure = true, BottomBordure = true;
    std::int32_t LeftLength = 1, RightLength = 1, TopLength = 1, BottomLength = 1;
    bool IsOutBordure = true;
    std::int32_t BordureWeftWidth = 1, BordureWarpWidth = 1;
    bool operator==(const TBordureOption &) const = default;
};

struct TRotateOption {
    double RotateAngle = 0.0;
    bool IsReverse = false;
    bool operator==(const TRotateOption &) const = default;
};

using TNeedleMasks = std::array<std::uint32_t, 16>;
using TColorTable = std::array<TColor, 17>;

// ---- Section "Main". ----
// Hook count, 1..65,535; a value below 1 reads as the default 128, a larger one as 65,535.
std::int32_t ReadDefaultWarps();
void WriteDefaultWarps(std::int32_t value);
// Megabytes, 1..1,048,576 (below 1: the default 100; above: clamped), on read and before
// it is written. Both also set the global MaxBakDataSize.
std::int32_t ReadMaxBakDataSize();
void WriteMaxBakDataSize(std::int32_t value);
bool ReadRemoveOddWarp();
void WriteRemoveOddWarp(bool value);
std::int32_t ReadColorLeft();
void WriteColorLeft(std::int32_t value);
// Milliseconds, 50..5000 (below 50: the default 500; above: clamped), on read and before
// it is written. Both also set the global FlashFrequence.
std::int32_t ReadFlashFrequence();
void WriteFlashFrequence(std::int32_t value);
// Seconds, 1..60 (below 1: the default 5; above: clamped), on read and before it is
// written. Both also set the global FlashTime.
std::int32_t ReadFlashTime();
void WriteFlashTime(std::int32_t value);
// Held to 1..256 when read and before it is written; kept in AutoReduceColorCount.
std::int32_t ReadAutoReduceColorCount();
void WriteAutoReduceColorCount(std::int32_t value);
// Held to 1..10 when read and before it is written.
std::int32_t ReadMaxRecentFile();
// The same through an object already open on ConfigIniPath, so that a recent-list
// operation reads the file once.
std::int32_t ReadMaxRecentFile(const TIniFile &config);
void WriteMaxRecentFile(std::int32_t value);
bool ReadAutoOpenRecentFile();
void WriteAutoOpenRecentFile(bool value);
// Held to 1..999 when read and before it is written; kept in MaxUndoCount.
std::int32_t ReadMaxUndoCount();
void WriteMaxUndoCount(std::int32_t value);

// ---- Tables. ----
// Section "Pick" or "WeftDens": the needle count (held to 1..16) is the result; a mask
// that is not an integer takes its default 1 shl i, the others are kept.
std::int32_t ReadNeedleTable(TNeedleMasks &masks, const QString &section);
void WriteNeedleTable(const TNeedleMasks &masks, std::int32_t count, const QString &section);
// Section "ColorTable": seventeen colours as signed decimals; a value that is not an
// integer takes its built-in colour, the others are kept.
void ReadColorTable(TColorTable &colors, const QString &section);
void WriteColorTable(const TColorTable &colors, const QString &section);
// The built-in colour list.
const TColorTable &DefaultColorTable();

// ---- Groups. ----
void ReadCircleInfo(TCircleInfo &info);
void WriteCircleInfo(const TCircleInfo &info);
void ReadRectangleInfo(TRectangleInfo &info);
void WriteRectangleInfo(const TRectangleInfo &info);
void ReadBeeLineInfo(TBeeLineInfo &info);
void WriteBeeLineInfo(const TBeeLineInfo &info);
void ReadPasteInfo(TPasteInfo &info);
void WritePasteInfo(const TPasteInfo &info);
void ReadCopyAreaInfo(TCopyAreaInfo &info);
void WriteCopyAreaInfo(const TCopyAreaInfo &info);
void ReadCursorStyle(TCursorStyleOption &option);
void WriteCursorStyle(const TCursorStyleOption &option);
void ReadSprayOption(TSprayOption &option);
void WriteSprayOption(const TSprayOption &option);
void ReadPageOption(TPageOption &option);
void WritePageOption(const TPageOption &option);
void ReadTilePatternParam(TTilePatternParam &param);
void WriteTilePatternParam(const TTilePatternParam &param);
void ReadTileWeaveParam(TTileWeaveParam &param);
void WriteTileWeaveParam(const TTileWeaveParam &param);
void ReadGrossOption(TGrossOption &option);
void WriteGrossOption(const TGrossOption &option);
void ReadModiGrossOption(TModiGrossOption &option);
void WriteModiGrossOption(const TModiGrossOption &option);
void ReadBordureOption(TBordureOption &option);
void WriteBordureOption(const TBordureOption &option);
void ReadRotateOption(TRotateOption &option);
void WriteRotateOption(const TRotateOption &option);
void ReadCheckOption(bool &protectColor);
void WriteCheckOption(bool protectColor);

// ---- The language choice: a position in the sorted listing of language files. ----
std::int32_t ReadLanguageIndex();
void WriteLanguageIndex(std::int32_t index);

// ---- Start-up. ----
// The settings the main window reads when it is created: GrossOption, PageOption,
// MaxUndoCount, AutoReduceColorCount, PickTable, WeftDensTable and ColorTable.
void ReadMainWindowSettings();
