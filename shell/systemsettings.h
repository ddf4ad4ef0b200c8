#pragma once
// The system settings without their window: the seven settings of section "Main" the
// dialog edits with their bounds, the file types it offers to associate, and what its OK
// does with them.

#include "shell/filetypes.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

struct TSystemSettingValues {
    std::int32_t MaxUndoCount = 1;
    std::int32_t MaxBakDataSize = 1; // megabytes
    std::int32_t MaxRecentFile = 1;
    std::int32_t FlashFrequence = 50; // milliseconds
    std::int32_t FlashTime = 1; // seconds
    std::int32_t AutoReduceColorCount = 1;
    bool AutoOpenRecentFile = false;
};

// The range each setting takes (the settings store holds them to these too).
struct TSettingRange {
    std::int32_t Min;
    std::int32_t Max;
};
inline constexpr TSettingRange MaxUndoCountRange { 1, 999 };
inline constexpr TSettingRange MaxBakDataSizeRange { 1, 1024 * 1024 };
inline constexpr TSettingRange MaxRecentFileRange { 1, 10 };
inline constexpr TSettingRange FlashFrequenceRange { 50, 5000 };
inline constexpr TSettingRange FlashTimeRange { 1, 60 };
inline constexpr TSettingRange AutoReduceColorCountRange { 1, 256 };

// The settings as stored (each within its range).
TSystemSettingValues ReadSystemSettings();
// Writes the seven settings in the dialog's order.
void WriteSystemSettings(const TSystemSettingValues &values);

// The file types the dialog offers, by extension with its dot.
QStringList AssociableFileTypes();

// The backup size shown: megabytes with two decimals.
QString FormatBackupSize(double megabytes);

struct TFileTypeChange {
    QString Extension;
    bool Register = false;
};
// The rows whose check changed since the dialog opened: only those are acted on, so that
// OK never touches an association the user left alone.
QList<TFileTypeChange> ChangedFileTypes(
    const QStringList &extensions, const QList<bool> &before, const QList<bool> &after);
// Registers or unregisters each; every change is tried, and the failures come back as one
// message (false).
bool ApplyFileTypeChanges(
    const QList<TFileTypeChange> &changes, const TFileTypeRoots &roots, QString *error = nullptr);
