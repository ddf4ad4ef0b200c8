#include "core/base/filename.h"

QString StripFileExt(const QString &fileName)
{
    qsizetype start = 0;
    for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
        const QChar c = fileName[i];
        if (c == u'/' || c == u'\\' || c == u':') {
            start = i + 1;
            break;
        }
    }
    QString name = fileName.mid(start);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return name;
}
