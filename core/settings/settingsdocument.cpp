// Settings store: the document-wide groups (grid, page, tiling, borders, rotation,
// insert/delete, protected colours) and the shared records they fill.
#include "core/settings/settings.h"
#include "core/settings/settingsgroup.h"

namespace {
const auto pageFields = [](auto &r, auto f) {
    f("LeftMargin", r.LeftMargin);
    f("TopMargin", r.TopMargin);
    f("RightMargin", r.RightMargin);
    f("BottomMargin", r.BottomMargin);
};

// The eight keys the tiling readers read back.
const auto tileMarginFields = [](auto &r, auto f) {
    f("IsLeftLeft", r.IsLeftLeft);
    f("IsRightLeft", r.IsRightLeft);
    f("IsTopLeft", r.IsTopLeft);
    f("IsBottomLeft", r.IsBottomLeft);
    f("LeftLength", r.LeftLength);
    f("RightLength", r.RightLength);
    f("TopLength", r.TopLength);
    f("BottomLength", r.BottomLength);
};

const auto grossFields = [](auto &r, auto f) {
    f("Warp", r.Warp);
    f("Weft", r.Weft);
    f("WarpDensity", r.WarpDensity);
    f("WeftDensity", r.WeftDensity);
    f("CompartLineColor", r.CompartLineColor);
    f("GridLineColor", r.GridLineColor);
    f("ExistLine", r.ExistLine);
    f("GridRowCount", r.GridRowCount);
    f("GridColCount", r.GridColCount);
    f("SpaceCount", r.SpaceCount);
};

const auto modiGrossFields = [](auto &r, auto f) {
    f("IsDelete", r.IsDelete);
    f("IsWeft", r.IsWeft);
    f("StartPos", r.StartPos);
    f("OffSet", r.OffSet);
};

const auto bordureFields = [](auto &r, auto f) {
    f("LeftBordure", r.LeftBordure);
    f("RightBordure", r.RightBordure);
    f("TopBordure", r.TopBordure);
    f("BottomBordure", r.BottomBordure);
    f("LeftLength", r.LeftLength);
    f("RightLength", r.RightLength);
    f("TopLength", r.TopLength);
    f("BottomLength", r.BottomLength);
    f("IsOutBordure", r.IsOutBordure);
    f("BordureWeftWidth", r.BordureWeftWidth);
    f("BordureWarpWidth", r.BordureWarpWidth);
};

const auto rotateFields = [](auto &r, auto f) {
    f("RotateAngle", r.RotateAngle);
    f("IsReverse", r.IsReverse);
};

// A negative margin is no choice anyone made and takes the default; one of more than
// 100 mm is clamped to 100, leaving a printable area on an A4 page.
void holdMargin(double &margin, double def)
{
    if (margin < 0.0)
        margin = def;
    margin = std::min(margin, 100.0);
}

} // namespace

void ReadPageOption(TPageOption &option)
{
    ReadSettingsRecord("PageOption", option, pageFields);
    const TPageOption defaults;
    holdMargin(option.LeftMargin, defaults.LeftMargin);
    holdMargin(option.TopMargin, defaults.TopMargin);
    holdMargin(option.RightMargin, defaults.RightMargin);
    holdMargin(option.BottomMargin, defaults.BottomMargin);
}
void WritePageOption(const TPageOption &option)
{
    WriteSettingsRecord("PageOption", option, pageFields);
}

// FloatLength and ChangeColorHint are not read back: the record's defaults (0, false) stay.
void ReadTilePatternParam(TTilePatternParam &param)
{
    ReadSettingsRecord("TilePatternParam", param, tileMarginFields);
}
void WriteTilePatternParam(const TTilePatternParam &param)
{
    WriteSettingsRecord("TilePatternParam", param, [](const auto &r, auto f) {
        tileMarginFields(r, f);
        f("FloatLength", r.FloatLength);
    });
}

void ReadTileWeaveParam(TTileWeaveParam &param)
{
    ReadSettingsRecord("TileWeaveParam", param, [](auto &r, auto f) {
        tileMarginFields(r, f);
        f("FindHigh", r.FindHigh);
    });
}
void WriteTileWeaveParam(const TTileWeaveParam &param)
{
    WriteSettingsRecord("TileWeaveParam", param, [](const auto &r, auto f) {
        tileMarginFields(r, f);
        f("FloatLength", r.FloatLength);
        f("ChangeColorHint", r.ChangeColorHint);
        f("FindHigh", r.FindHigh);
    });
}

// The record's Reserved field is not in the file and keeps its value.
void ReadGrossOption(TGrossOption &option)
{
    const double reserved = option.Reserved;
    ReadSettingsRecord("GrossOption", option, grossFields);
    option.Reserved = reserved;
}
void WriteGrossOption(const TGrossOption &option)
{
    WriteSettingsRecord("GrossOption", option, grossFields);
}

void ReadModiGrossOption(TModiGrossOption &option)
{
    ReadSettingsRecord("ModiGrossOption", option, modiGrossFields);
}
void WriteModiGrossOption(const TModiGrossOption &option)
{
    WriteSettingsRecord("ModiGrossOption", option, modiGrossFields);
}

void ReadBordureOption(TBordureOption &option)
{
    ReadSettingsRecord("BordureOption", option, bordureFields);
}
void WriteBordureOption(const TBordureOption &option)
{
    WriteSettingsRecord("BordureOption", option, bordureFields);
}

void ReadRotateOption(TRotateOption &option)
{
    ReadSettingsRecord("RotateOption", option, rotateFields);
}
void WriteRotateOption(const TRotateOption &option)
{
    WriteSettingsRecord("RotateOption", option, rotateFields);
}

void ReadCheckOption(bool &protectColor)
{
    protectColor = TSettingsSection("CheckOption").readBool("ProtectColor", true);
}
void WriteCheckOption(bool protectColor)
{
    TSettingsSection("CheckOption").write("ProtectColor", protectColor);
}
