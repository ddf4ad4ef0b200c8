#include "shell/gridsettings.h"

#include "core/base/error.h"
#include "core/base/messages.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/document.h"
#include "shell/newpattern.h"

#include <algorithm>

TGridSettings GridSettingsStartValues(TDocument &document)
{
    const TPatternGrid &grid = document.Grid();
    TGridSettings v;
    v.Warps = grid.ColCount();
    v.Wefts = grid.RowCount();
    v.ColCompart = grid.Grid().DefaultColCompart;
    v.RowCompart = grid.Grid().DefaultRowCompart;
    // A project of the first file version keeps no piece layout: its count reads 0, which
    // the dialog would refuse on OK although the user changed something else.
    v.LayerCount = std::max(1, grid.RepeatDisplayValues()[2]);
    v.WarpDensity = grid.WarpDensity();
    v.WeftDensity = grid.WeftDensity();
    v.CompartLineColor = grid.CompartLineColor();
    v.GridLineColor = grid.LineColor();
    v.WarpRepeat = document.Record().WarpRepeat;
    v.WeftRepeat = document.Record().WeftRepeat;
    return v;
}

bool CheckGridSettings(const TGridSettings &values, QString *error)
{
    TNewPatternValues v;
    v.Warps = values.Warps;
    v.Wefts = values.Wefts;
    v.LayerCount = values.LayerCount;
    v.ColCount = values.ColCompart;
    v.RowCount = values.RowCompart;
    v.WarpDensity = values.WarpDensity;
    v.WeftDensity = values.WeftDensity;
    return CheckNewPatternValues(v, error);
}

namespace {
// The record made afresh from the dialog's values and the grid's picture.
void freshRecord(TDocument &document, const TGridSettings &values)
{
    TPatternGrid &grid = document.Grid();
    TMesh &record = document.Record();
    record.Warps = values.Warps;
    record.Wefts = values.Wefts;
    record.WarpRepeat = values.WarpRepeat;
    record.WeftRepeat = values.WeftRepeat;
    record.WarpDensity = values.WarpDensity;
    record.WeftDensity = values.WeftDensity;
    record.Picture = grid.Picture().isNull() ? nullptr : &grid.Picture();
    record.Colors = TColorArray();
    if (record.Picture)
        GetUsedColorsByFrequency(grid.Picture(), grid.Palette(), record.Colors);
    InitPickRowTables(record);
    InitWeaveSlots(record);
    document.CreateSampleCard();
    InitLayerRowTable(record);
    document.SetCaption(QStringLiteral("Untitled*"));
}
} // namespace

bool ApplyGridSettings(
    TDocument &document, const TGridSettings &start, const TGridSettings &values, QString *error)
{
    if (!CheckGridSettings(values, error))
        return false;
    TPatternGrid &grid = document.Grid();
    const bool sizeChanged = values.Warps != start.Warps || values.Wefts != start.Wefts;
    const bool densityChanged
        = values.WarpDensity != grid.WarpDensity() || values.WeftDensity != grid.WeftDensity();
    // 1-2: one step holds the change: a settings step for densities alone, the resize's
    // whole-picture step otherwise (its settings are brought up to date below).
    if (sizeChanged) {
        grid.SetRepeatView(false);
        if (!grid.ResizePicture(values.Warps, values.Wefts, values.Stretch ? 1 : 0)) {
            const QString why = grid.LastUndoError();
            return Fail(error, why.isEmpty() ? GetUiMessage(UiKey::String::InputDateError) : why);
        }
    } else if (densityChanged) {
        grid.UndoStore().SaveStateStep();
    }
    // 3
    document.SetDensities(values.WeftDensity, values.WarpDensity);
    document.SetCompartIntervals(values.ColCompart, values.RowCompart);
    document.SetLineColors(values.CompartLineColor, values.GridLineColor);
    // 4
    if (sizeChanged || values.WarpDensity != start.WarpDensity || values.WeftDensity != start.WeftDensity)
        grid.UndoStore().UpdateTopState();
    // 5
    grid.SetZoom(grid.ZoomLevel());
    std::array<std::int32_t, 4> pieces = grid.RepeatDisplayValues();
    pieces[2] = values.LayerCount;
    grid.SetRepeatDisplayValues(pieces);
    document.Record().LayerCount = values.LayerCount;
    SendRefreshView(1);
    WriteGrossOption(StartSettings().GrossOption);
    // 6
    if (values.WarpRepeat > 0 && values.WeftRepeat > 0) {
        const bool startFilled = start.WarpRepeat != 0 && start.WeftRepeat != 0;
        const bool same
            = !sizeChanged && values.WarpRepeat == start.WarpRepeat && values.WeftRepeat == start.WeftRepeat;
        if (startFilled && !same)
            document.GrowPickTables(false, values.WeftRepeat - start.WeftRepeat);
        else if (!startFilled)
            freshRecord(document, values);
    } else {
        document.Record().Picture = nullptr;
    }
    // 7
    SendChildState(1);
    return true;
}
