#include "core/base/cursors.h"

#include <QGuiApplication>
#include <QHash>
#include <QPixmap>

namespace {
struct CursorDef {
    int id;
    const char *resource;
    int hotX, hotY;
};

constexpr CursorDef kCursors[] = {
    { crDefineArea, "DefineArea", 8, 8 },
    { crOnDefineArea, "OnDefineArea", 8, 8 },
    { crCutArea, "CutArea", 8, 8 },
    { crCanMoveArea, "CanMoveArea", 0, 0 },
    { crMovingArea, "MovingArea", 16, 16 },
    { crAbsorbColor, "AbsorbColor", 1, 30 },
    { crFillColor, "FillColor", 28, 27 },
    { crBeeLine, "BeeLine", 6, 6 },
    { crSpray, "Spray", 3, 3 },
    { crHandFinger, "HandFinger", 11, 2 },
    { crHandClose, "HandClose", 16, 16 },
    { crHandOpen, "HandOpen", 16, 16 },
    { crLasso, "Lasso", 8, 30 },
    { crPolygon, "Polygon", 5, 5 },
    { crMagicStick, "MagicStick", 2, 29 },
    { crInsertWord, "InsertWord", 16, 16 },
    { crHorzCut, "HorzCut", 16, 16 },
    { crVertCut, "VertCut", 16, 16 },
    { crRotate, "Rotate", 16, 16 },
    { crHandOpen2, "HandOpen", 16, 16 },
};

QHash<int, QCursor> &table()
{
    static QHash<int, QCursor> t;
    return t;
}
} // namespace

void RegisterCursors()
{
    if (!qGuiApp)
        return;
    for (const CursorDef &c : kCursors) {
        QPixmap pm(QStringLiteral(":/cursors/%1.png").arg(QLatin1String(c.resource)));
        if (!pm.isNull())
            table().insert(c.id, QCursor(pm, c.hotX, c.hotY));
    }
}

bool IsCursorRegistered(int id)
{
    return table().contains(id);
}

QCursor AppCursor(int id)
{
    return table().value(id, QCursor(Qt::ArrowCursor));
}

const char *CursorResourceName(int id)
{
    for (const CursorDef &c : kCursors)
        if (c.id == id)
            return c.resource;
    return "";
}
