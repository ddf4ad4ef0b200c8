#include "card/cardmaking.h"

#include "core/base/error.h"
#include "core/settings/inifile.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <QDir>

bool OneRowSampleCard(int hooks, int warps, bool shiftToRight, TYangkaImage &card, QString *error)
{
    if (hooks < 1 || hooks > 65535 || warps < 0 || hooks < warps)
        return Fail(error, GetUiMessage(UiKey::String::HooksError));
    TYangkaImage out;
    out.SetRowCount(1);
    out.SetColCount(hooks);
    out.ClearAll();
    for (int col = 0; col < warps; ++col)
        out.Cells[col][0] = Needle::Jacquard;
    out.Holes = TPosArray();
    out.SetStartFlag(shiftToRight ? 1 : 0);
    card.Assign(out);
    return true;
}

int PreviewScanStart(QPoint point, QSize size)
{
    const int midX = size.width() / 2;
    const int midY = size.height() / 2;
    if (point.x() == midX || point.y() == midY)
        return 0;
    const bool left = point.x() < midX;
    const bool upper = point.y() < midY;
    if (left)
        return upper ? 2 : 0;
    return upper ? 3 : 1;
}

namespace {
const QString kSection = QStringLiteral("样卡设置");
const QString kKey = QStringLiteral("读图顺序");
} // namespace

QString VizIniPath()
{
    return QDir(Folders().SettingsDir).filePath(QStringLiteral("VIZ.ini"));
}

int ReadScanStartSetting()
{
    const int corner = TIniFile(VizIniPath()).ReadInteger(kSection, kKey, 0);
    return corner >= 0 && corner <= 3 ? corner : 0;
}

bool WriteScanStartSetting(int corner)
{
    return TIniFile(VizIniPath()).WriteInteger(kSection, kKey, corner);
}
