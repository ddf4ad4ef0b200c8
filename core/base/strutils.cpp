#include "core/base/strutils.h"

QStringList SplitString(const QString &text, const QString &separator)
{
    if (separator.isEmpty())
        return { text };
    return text.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

bool StrToIntArray(const QString &text, TIntegerArray &values)
{
    const QStringList pieces = SplitString(text, QStringLiteral(","));
    TIntegerArray out(pieces.size());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString p = pieces[i].trimmed();
        if (p.isEmpty())
            continue;
        bool ok = false;
        out[i] = p.toInt(&ok, 10);
        if (!ok)
            return false;
    }
    values = out;
    return true;
}
