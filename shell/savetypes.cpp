#include "shell/savetypes.h"

#include "core/base/fileext.h"

#include <QFileInfo>

namespace {
struct TSaveTypeRow {
    const char *Extension;
    int ExtensionRow; // the row of the program's extension table, for the description
};
// In the dialog's order. The mixed letter case is the one the files have always been
// written with; reading compares extensions without regard to case.
const TSaveTypeRow kTypes[SaveFileTypeCount] = {
    { ".BMP", 0 },
    { ".Ovy", 11 },
    { ".PCX", 1 },
    { ".EP", 2 },
    { ".JC5", 3 },
    { ".QS", 4 },
    { ".Ovwb", 5 },
    { ".Ovw", 6 },
};

const TSaveTypeRow &row(TSaveFileType type)
{
    const int i = int(type) - 1;
    return kTypes[i >= 0 && i < SaveFileTypeCount ? i : 0];
}
} // namespace

QString SaveTypeExtension(TSaveFileType type)
{
    return QLatin1String(row(type).Extension);
}

QString SaveTypeFileName(const QString &chosen, TSaveFileType type)
{
    const QFileInfo info(chosen);
    QString base = info.fileName();
    // Only an extension after the first character counts: ".bmp" alone is a name.
    const int dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    const QString folder = chosen.left(chosen.size() - info.fileName().size());
    return folder + base + SaveTypeExtension(type);
}

bool SaveTypeOfFileName(const QString &fileName, TSaveFileType &type)
{
    const QString suffix = QFileInfo(fileName).suffix();
    for (int i = 0; i < SaveFileTypeCount; ++i)
        if (!suffix.isEmpty()
            && suffix.compare(QLatin1String(kTypes[i].Extension + 1), Qt::CaseInsensitive) == 0) {
            type = TSaveFileType(i + 1);
            return true;
        }
    return false;
}

bool SaveTypeKeepsDocument(TSaveFileType type)
{
    return type == TSaveFileType::Bitmap || type == TSaveFileType::Project;
}

QStringList SaveTypeFilters()
{
    QStringList filters;
    for (const TSaveTypeRow &t : kTypes)
        // Both letter cases: the file system compares names with case.
        filters << QStringLiteral("%1 (*%2 *%3)")
                       .arg(FileTypeName(t.ExtensionRow), QString::fromLatin1(t.Extension).toLower(),
                           QString::fromLatin1(t.Extension).toUpper());
    return filters;
}

TSaveFileType SaveTypeOfFilter(const QString &filter)
{
    const QStringList filters = SaveTypeFilters();
    const int i = filters.indexOf(filter);
    return i < 0 ? TSaveFileType::Bitmap : TSaveFileType(i + 1);
}
