// Loading the pattern picture from a file and saving it by extension.
#include "editor/patterngrid.h"

#include "card/picturetocard.h"
#include "core/base/error.h"
#include "core/base/fileext.h"
#include "core/decode/pictureload.h"
#include "core/picture/bmpfile.h"
#include "core/picture/pcxfile.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <QFileInfo>

bool TPatternGrid::LoadPictureFile(const QString &fileName, QString *error)
{
    QImage loaded;
    QString why;
    if (!LoadPictureAs8Bit(fileName, loaded, &why) || loaded.isNull())
        return Fail(
            error, why.isEmpty() ? GetUiMessage(UiKey::String::PatternPictureUnreadable).arg(fileName) : why);
    if (loaded.format() != QImage::Format_Indexed8)
        return Fail(error, GetUiMessage(UiKey::String::PatternPictureNot8Bit).arg(fileName));
    if (loaded.width() < 1 || loaded.height() < 1 || loaded.width() > MaxPictureSide
        || loaded.height() > MaxPictureSide) {
        return Fail(error,
            GetUiMessage(UiKey::String::PatternPictureSize)
                .arg(fileName)
                .arg(loaded.width())
                .arg(loaded.height())
                .arg(MaxPictureSide));
    }
    takeLoadedPicture(loaded);
    return true;
}

bool TPatternGrid::SaveToFile(const QString &fileName, QStringList *warnings, QString *error)
{
    if (m_picture.isNull())
        return Fail(error, GetUiMessage(UiKey::String::PatternNoPicture));
    // What is saved is what the screen shows: a floating piece is stamped first (one step).
    DropFloatingObjects();
    Repaint();
    // A file holds one repeat unit: the tiled view is never written.
    if (!SetRepeatView(false, error))
        return false;
    switch (FileExtensionRow(fileName)) {
    case 0: // ".BMP"
        return SaveBmp8File(m_picture, fileName, error);
    case 1: // ".PCX"
        return SavePictureAsPcx(m_picture, fileName, error);
    case 2: // ".EP", ".JC5", ".QS", ".OVWB": a card; ".OVW": a weave
    case 3:
    case 4:
    case 5:
    case 6:
        // Cells of the back colour are the lowered points.
        return SaveCardByExtension(m_picture, GetBackColor(), fileName, warnings, error);
    case 11: // ".OVY": the whole document
        return WriteProjectFile(fileName, error);
    default:
        return Fail(
            error, GetUiMessage(UiKey::String::PatternSaveTypeRefused).arg(QFileInfo(fileName).suffix()));
    }
}
