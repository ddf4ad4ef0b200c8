#include "editor/warpweftedit.h"

#include "core/base/error.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <algorithm>

void SuggestWarpWeftEdit(TModiGrossOption &edit, const TRect &box)
{
    const int first = edit.IsWeft ? box.Top : box.Left;
    edit.StartPos = edit.IsDelete ? std::max(1, first + 1) : std::max(0, first);
    edit.OffSet = edit.IsWeft ? box.Bottom - box.Top : box.Right - box.Left;
}

int WarpWeftClickStart(const TModiGrossOption &edit, int col, int row)
{
    return (edit.IsWeft ? row : col) + (edit.IsDelete ? 1 : 0);
}

bool CheckWarpWeftEdit(const TModiGrossOption &edit, int cols, int rows, QString *error)
{
    const qint64 lines = edit.IsWeft ? rows : cols;
    const qint64 start = edit.StartPos;
    const qint64 count = edit.OffSet;
    const bool valid = count >= 1
        && (edit.IsDelete ? start >= 1 && start + count - 1 <= lines
                          : start >= 0 && start <= lines && lines + count <= MaxPictureSide);
    if (!valid)
        return Fail(error, GetUiMessage(UiKey::String::InputDateError));
    return true;
}

bool ApplyWarpWeftEdit(TPatternGrid &grid, const TModiGrossOption &edit, QString *error)
{
    if (!CheckWarpWeftEdit(edit, grid.Picture().width(), grid.Picture().height(), error))
        return false;
    // The grid refuses what its picture procedures refuse (every line deleted) and a step
    // it cannot write.
    if (!grid.InsertDeleteLines(edit.IsDelete ? 1 : 0, edit.StartPos, edit.OffSet, edit.IsWeft, true)) {
        const QString why = grid.LastUndoError();
        return Fail(error, why.isEmpty() ? GetUiMessage(UiKey::String::InputDateError) : why);
    }
    return true;
}
