#include "core/base/fileext.h"

#include "core/settings/uitexts.h"

#include <QFileInfo>

const std::array<const char *, FileExtensionCount> FileExtensions
    = { ".BMP", ".PCX", ".EP", ".JC5", ".QS", ".OVWB", ".OVW", ".OVYK", ".XY", ".WB", ".WV", ".OVY", ".GRD" };

const std::array<const char *, FileExtensionCount> FileTypeDescription
    = { "图象文件", "图象文件", "Bonas纹板文件", "Staubli纹板文件", "常熟纹板文件", "纹板文件", "组织文件",
          "样卡文件", "浙大小样文件", "浙大纹板文件", "浙大组织文件", "意匠文件", "万国纹板文件" };

const std::array<const char *, FileExtensionCount> FileTypeIconIndex
    = { "0", "0", "6", "8", "10", "3", "2", "5", "13", "11", "12", "4", "7" };

QString FileTypeName(int row)
{
    // One per row of FileExtensions; the two picture rows share a name.
    static const TUiKey names[FileExtensionCount] = { UiKey::FileTypes::Picture, UiKey::FileTypes::Picture,
        UiKey::FileTypes::Bonas_Card, UiKey::FileTypes::Staubli_Card, UiKey::FileTypes::Changshu_Card,
        UiKey::FileTypes::Card, UiKey::FileTypes::Weave, UiKey::FileTypes::Sample_Card,
        UiKey::FileTypes::Zheda_Sample, UiKey::FileTypes::Zheda_Card, UiKey::FileTypes::Zheda_Weave,
        UiKey::FileTypes::Pattern, UiKey::FileTypes::Wanguo_Card };
    return row >= 0 && row < FileExtensionCount ? GetUiString(names[row]) : QString();
}

int FileExtensionRow(const QString &extOrFileName)
{
    QString ext = extOrFileName;
    if (ext.contains(QLatin1Char('/')) || ext.lastIndexOf(QLatin1Char('.')) > 0)
        ext = QFileInfo(ext).suffix();
    if (!ext.startsWith(QLatin1Char('.')))
        ext.prepend(QLatin1Char('.'));
    for (int i = 0; i < FileExtensionCount; ++i)
        if (ext.compare(QLatin1String(FileExtensions[i]), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
