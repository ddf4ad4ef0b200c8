#pragma once
// The tool table: one row per tool id, the one place that says what each tool is. The grid's
// dispatch, its drawing-object set-up, the cursor, the undo store's shape copies and the
// main window's tool actions all read it. A row without a factory is a tool whose grid side
// is not built: choosing it makes no tool, and a click with it does nothing.

#include "core/base/toolid.h"

#include <memory>

class TGridTool;
class TPatternGrid;

// How the drawing object of a tool paints: outline only, filled solid, single cells (the
// binding points), or as its class does by default.
enum class TToolPen : std::uint8_t { Default, Outline, Solid, Cells };

struct TToolRow {
    using TFactory = std::unique_ptr<TGridTool> (*)(TPatternGrid &grid, TToolId id);

    TToolId Id;
    const char *ActionName; // null: no action chooses the tool
    const char *CaptionSection;
    const char *CaptionKey;
    int Cursor; // a TCursorId, 0 for the arrow
    const char *DrawObjectClass; // empty: the tool has no drawing object
    bool RecreatedOnChoice; // a new drawing object when the tool is chosen
    bool UsesSelectionObject; // draws into the selection's object
    bool MakesSelection; // its shape is the selection
    bool KeepsShapeCopy; // undo steps keep its pending shape
    TToolPen Pen;
    bool FillsArea; // the shape commits its area, not only its outline
    bool ShowsMarker; // vertex markers are drawn
    TFactory Factory; // null: not built
};

// The row of id; ids outside the table give the row of NoTool.
const TToolRow &ToolRow(TToolId id);
// A new tool for id, or null when it is not built.
std::unique_ptr<TGridTool> MakeGridTool(TPatternGrid &grid, TToolId id);
