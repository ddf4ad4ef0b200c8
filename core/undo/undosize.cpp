// The list of all undo stores of the process and the backup-size check over them.
#include "core/undo/undo.h"

#include "core/settings/sharedstate.h"

#include <algorithm>

namespace {
std::vector<TUndo *> &stores()
{
    static std::vector<TUndo *> list;
    return list;
}
} // namespace

void RegisterUndoStore(TUndo *store)
{
    stores().push_back(store);
}

void UnregisterUndoStore(TUndo *store)
{
    auto &list = stores();
    list.erase(std::remove(list.begin(), list.end(), store), list.end());
}

const std::vector<TUndo *> &UndoObjects()
{
    return stores();
}

double UndoDataSizeMB()
{
    std::size_t bytes = 0;
    for (const TUndo *store : stores())
        bytes += store->CellEntryCount() * sizeof(TBmpData) + store->PackedByteCount();
    return double(bytes) / 1024.0 / 1024.0;
}

QString UndoSizeWarningText()
{
    return QStringLiteral(
        "备份的数据已经超过设定的最大值\r\n请保存图片并清空备份数据，否则可能引起操作速度变慢！");
}

QString UndoSizeWarningCaption()
{
    return QStringLiteral("备份数据提示");
}

bool CheckUndoDataSize()
{
    RunState().UndoDataSize = UndoDataSizeMB();
    if (RunState().UndoDataSize <= StartSettings().MaxBakDataSize)
        return false;
    if (Hooks().UndoSizeWarning)
        Hooks().UndoSizeWarning(UndoSizeWarningText(), UndoSizeWarningCaption());
    return true;
}
