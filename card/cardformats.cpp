#include "card/cardformats.h"

bool IsControllerCardExtension(const QString &ext)
{
    static const char *const kExts[] = {".EP", ".JC5", ".QS", ".WB", ".GRD", ".UPT", ".DAT", ".P32"};
    for (const char *e : kExts)
        if (ext.compare(QLatin1String(e), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool ReadControllerCard(TWenBanIO &io, const QByteArray &bytes)
{
    Q_UNUSED(bytes);
    io.ErrorText = QStringLiteral("The card format %1 cannot be read yet.").arg(io.Extension);
    return false;
}
