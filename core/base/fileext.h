#pragma once
// The program's own file extensions. The row number is the format code used by saving,
// by the card-format lookup and by the file-type association.

#include <QString>

#include <array>

constexpr int FileExtensionCount = 13;
extern const std::array<const char *, FileExtensionCount> FileExtensions; // ".BMP" ...
extern const std::array<const char *, FileExtensionCount> FileTypeDescription; // UTF-8
extern const std::array<const char *, FileExtensionCount> FileTypeIconIndex; // "0" ...
// The name of a row's file type in the chosen language (FileTypeDescription is the
// original Chinese name); empty for a row out of range.
QString FileTypeName(int row);

// The row of an extension given with or without its dot, in any letter case; -1 when
// the extension is not one of the program's own. A full file name is accepted too.
int FileExtensionRow(const QString &extOrFileName);
