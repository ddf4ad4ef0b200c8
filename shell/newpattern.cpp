#include "shell/newpattern.h"

#include "core/base/error.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

TNewPatternValues NewPatternStartValues(const TGrossOption &defaults, const QSize &clipboardSize)
{
    TNewPatternValues v;
    const bool fromClipboard = clipboardSize.isValid() && !clipboardSize.isEmpty();
    v.Warps = fromClipboard ? clipboardSize.width() : defaults.Warp;
    v.Wefts = fromClipboard ? clipboardSize.height() : defaults.Weft;
    v.WarpDensity = defaults.WarpDensity;
    v.WeftDensity = defaults.WeftDensity;
    v.CompartLineColor = defaults.CompartLineColor;
    v.GridLineColor = defaults.GridLineColor;
    v.ColCount = defaults.GridColCount;
    v.RowCount = defaults.GridRowCount;
    v.SpaceCount = defaults.SpaceCount;
    return v;
}

bool CheckNewPatternValues(const TNewPatternValues &values, QString *error)
{
    if (values.Warps < 1 || values.Warps > MaxPictureSide || values.Wefts < 1
        || values.Wefts > MaxPictureSide)
        return Fail(error,
            GetUiMessage(UiKey::String::NewPatternSizeRange)
                .arg(MaxPictureSide)
                .arg(values.Warps)
                .arg(values.Wefts));
    if (!(values.WarpDensity > 0) || !(values.WeftDensity > 0))
        return Fail(error, GetUiMessage(UiKey::String::NewPatternDensityRange));
    if (values.LayerCount < 1 || values.LayerCount > MaxNewPatternLayers)
        return Fail(error, GetUiMessage(UiKey::String::NewPatternLayerRange).arg(MaxNewPatternLayers));
    if (values.ColCount < 1 || values.RowCount < 1)
        return Fail(error, GetUiMessage(UiKey::String::NewPatternCompartRange));
    return true;
}
