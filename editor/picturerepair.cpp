#include "editor/picturerepair.h"

#include "core/picture/imageproc.h"
#include "editor/patterngrid.h"

#include <algorithm>

void RunPictureRepair(TPatternGrid &grid, TRepairFunction function, int distance)
{
    QImage &picture = grid.Picture();
    if (picture.isNull())
        return;
    distance = std::clamp(distance, MinRepairDistance, MaxRepairDistance);
    TLineArray cells;
    switch (function) {
    case TRepairFunction::ClearMottle:
        ClearMottle(picture, grid.GetForeColor(), grid.GetBackColor(), cells, distance);
        grid.Repaint();
        grid.RecordUndoStep(cells);
        break;
    case TRepairFunction::Repair:
        RepairPicture(picture, grid.GetForeColor(), distance, &cells);
        grid.Repaint();
        grid.RecordPictureRectStep();
        break;
    case TRepairFunction::ClearThorn:
        ClearThorns(picture, grid.GetBackColor(), grid.GetForeColor(), cells);
        grid.Repaint();
        grid.RecordUndoStep(cells);
        break;
    }
    grid.RebuildReducedView();
    grid.Repaint();
}
