#include "shell/systemsettings.h"

#include "core/base/error.h"
#include "core/settings/settings.h"

TSystemSettingValues ReadSystemSettings()
{
    TSystemSettingValues v;
    v.MaxUndoCount = ReadMaxUndoCount();
    v.MaxBakDataSize = ReadMaxBakDataSize();
    v.MaxRecentFile = ReadMaxRecentFile();
    v.FlashFrequence = ReadFlashFrequence();
    v.FlashTime = ReadFlashTime();
    v.AutoReduceColorCount = ReadAutoReduceColorCount();
    v.AutoOpenRecentFile = ReadAutoOpenRecentFile();
    return v;
}

void WriteSystemSettings(const TSystemSettingValues &values)
{
    WriteMaxUndoCount(values.MaxUndoCount);
    WriteAutoOpenRecentFile(values.AutoOpenRecentFile);
    WriteAutoReduceColorCount(values.AutoReduceColorCount);
    WriteMaxRecentFile(values.MaxRecentFile);
    WriteFlashFrequence(values.FlashFrequence);
    WriteFlashTime(values.FlashTime);
    WriteMaxBakDataSize(values.MaxBakDataSize);
}

QStringList AssociableFileTypes()
{
    return { QStringLiteral(".EP"), QStringLiteral(".JC5"), QStringLiteral(".QS") };
}

QString FormatBackupSize(double megabytes)
{
    return QString::number(megabytes, 'f', 2);
}

QList<TFileTypeChange> ChangedFileTypes(
    const QStringList &extensions, const QList<bool> &before, const QList<bool> &after)
{
    QList<TFileTypeChange> changes;
    for (qsizetype i = 0; i < extensions.size() && i < before.size() && i < after.size(); ++i)
        if (before[i] != after[i])
            changes.append({ extensions[i], after[i] });
    return changes;
}

bool ApplyFileTypeChanges(const QList<TFileTypeChange> &changes, const TFileTypeRoots &roots, QString *error)
{
    QStringList failures;
    for (const TFileTypeChange &change : changes) {
        QString why;
        if (!RegisterFileType(change.Extension, change.Register, roots, &why))
            failures.append(why);
    }
    failures.removeDuplicates();
    return failures.isEmpty() || Fail(error, failures.join(QLatin1Char('\n')));
}
