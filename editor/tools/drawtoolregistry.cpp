#include "editor/tools/drawtoolregistry.h"

#include "editor/tools/areatool.h"
#include "editor/tools/bandtool.h"
#include "editor/tools/concentrictool.h"
#include "editor/tools/curvetool.h"
#include "editor/tools/ellipsetool.h"
#include "editor/tools/freehandtool.h"
#include "editor/tools/polylinetool.h"
#include "editor/tools/rectangletool.h"
#include "editor/tools/straightlinetool.h"
#include "editor/tools/tooltable.h"

#include <utility>
#include <vector>

namespace {

using TFactory = std::unique_ptr<TDrawObject> (*)();

template <class T> std::unique_ptr<TDrawObject> make()
{
    return std::make_unique<T>();
}

// The class table, filled once, in registration order.
const std::vector<std::pair<QString, TFactory>> &registry()
{
    static const std::vector<std::pair<QString, TFactory>> classes {
        { QStringLiteral("TDrawObject"), &make<TDrawObject> },
        { QStringLiteral("TCustomPoint"), &make<TCustomPoint> },
        { QStringLiteral("TCustomLine"), &make<TCustomLine> },
        { QStringLiteral("TCurveLine"), &make<TCurveLine> },
        { QStringLiteral("TRectangleLine"), &make<TRectangleLine> },
        { QStringLiteral("TFreeLine"), &make<TFreeLine> },
        { QStringLiteral("TBreakLine"), &make<TBreakLine> },
        { QStringLiteral("TCircleLine"), &make<TCircleLine> },
        { QStringLiteral("TFullLine"), &make<TFullLine> },
        { QStringLiteral("TBeeLine"), &make<TBeeLine> },
        { QStringLiteral("TDefineArea"), &make<TDefineArea> },
        { QStringLiteral("TRevise"), &make<TRevise> },
        { QStringLiteral("TConcentricCircle"), &make<TConcentricCircle> },
        { QStringLiteral("TConcentricRectangle"), &make<TConcentricRectangle> },
    };
    return classes;
}

} // namespace

QStringList RegisteredDrawObjectClasses()
{
    QStringList names;
    for (const auto &c : registry())
        names << c.first;
    return names;
}

std::unique_ptr<TDrawObject> CreateDrawObjectOfClass(const QString &className)
{
    for (const auto &c : registry())
        if (c.first == className)
            return c.second();
    return nullptr;
}

QString DrawObjectClassForTool(TToolId id)
{
    return QString::fromLatin1(ToolRow(id).DrawObjectClass);
}
