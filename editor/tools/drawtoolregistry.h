#pragma once
// The drawing-tool classes by name, and the class each tool number creates.
// The grid creates its tool from the class name of the tool number, and the undo store
// copies a tool by creating the same class and assigning it. The fourteen classes are
// registered in this order: TDrawObject, TCustomPoint, TCustomLine, TCurveLine,
// TRectangleLine, TFreeLine, TBreakLine, TCircleLine, TFullLine, TBeeLine, TDefineArea,
// TRevise, TConcentricCircle, TConcentricRectangle.

#include "core/base/toolid.h"
#include "editor/tools/drawobject.h"

#include <QString>
#include <QStringList>

#include <memory>

// The registered class names, in registration order.
QStringList RegisteredDrawObjectClasses();
// A new object of the named class; null for a name that is not registered.
std::unique_ptr<TDrawObject> CreateDrawObjectOfClass(const QString &className);
// The class the grid creates for a tool number; empty for tools without a drawing object.
QString DrawObjectClassForTool(TToolId id);
